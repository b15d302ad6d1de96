// The root library's memory handles.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "platform/host_types.h"

namespace standin {

// Handles: a pointer to a block's pointer, so that a block can move when it is resized.
class MemoryManager {
 public:
  MemoryManager() = default;
  ~MemoryManager();
  MemoryManager(const MemoryManager&) = delete;
  MemoryManager& operator=(const MemoryManager&) = delete;

  // A new zeroed block of size bytes; null when size is negative or memory runs out.
  platform::GSHandle newHandle(int64_t size);
  // Frees a handle; null and unknown handles are ignored.
  void dispose(platform::GSHandle handle);
  // The block's size; 0 for null or unknown handles.
  int64_t size(platform::GSHandle handle) const;
  // Resizes the block, keeping its bytes and zeroing new ones.
  platform::GSErr resize(platform::GSHandle handle, int64_t size);
  // True when handle is a live handle of this manager.
  bool owns(platform::GSHandle handle) const { return blocks_.count(handle) != 0; }
  // The number of live handles (tests check that the add-on frees what it takes).
  std::size_t liveHandles() const { return blocks_.size(); }

 private:
  struct Block {
    char* data = nullptr;
    int64_t size = 0;
  };
  std::unordered_map<platform::GSHandle, Block*> blocks_;
};

}  // namespace standin
