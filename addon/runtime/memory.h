// Memory handles of the host's root library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/host_types.h"

namespace lunvik {

// Allocates a handle of size bytes through the host; null on failure or without a host.
platform::GSHandle newHandle(std::size_t size);
// A new handle holding a copy of the bytes; null on failure.
platform::GSHandle newHandle(const void* data, std::size_t size);
// Frees a handle (null is ignored).
void disposeHandle(platform::GSHandle handle);
// The size of a handle's block in bytes (0 for null).
std::size_t handleSize(platform::GSHandle handle);
// Resizes a handle's block; false on failure (the block is unchanged).
bool setHandleSize(platform::GSHandle handle, std::size_t size);

// Owns a handle and frees it when destroyed.
class HandleOwner {
 public:
  explicit HandleOwner(platform::GSHandle handle = nullptr) : handle_(handle) {}
  HandleOwner(const HandleOwner&) = delete;
  HandleOwner& operator=(const HandleOwner&) = delete;
  ~HandleOwner() { disposeHandle(handle_); }
  platform::GSHandle get() const { return handle_; }
  // Gives up ownership.
  platform::GSHandle release() { platform::GSHandle h = handle_; handle_ = nullptr; return h; }
  void reset(platform::GSHandle handle = nullptr) { disposeHandle(handle_); handle_ = handle; }

 private:
  platform::GSHandle handle_;
};

}  // namespace lunvik
