#include "host/core/memory_manager.h"

#include <cstdlib>
#include <cstring>

namespace standin {

MemoryManager::~MemoryManager() {
  for (auto& entry : blocks_) {
    std::free(entry.second->data);
    delete entry.second;
  }
}

platform::GSHandle MemoryManager::newHandle(int64_t size) {
  if (size < 0) return nullptr;
  // One byte more than asked, so that an empty block still has an address.
  char* data = static_cast<char*>(std::calloc(std::size_t(size) + 1, 1));
  if (!data) return nullptr;
  auto* block = new Block{data, size};
  auto handle = reinterpret_cast<platform::GSHandle>(&block->data);
  blocks_[handle] = block;
  return handle;
}

void MemoryManager::dispose(platform::GSHandle handle) {
  auto it = blocks_.find(handle);
  if (it == blocks_.end()) return;
  std::free(it->second->data);
  delete it->second;
  blocks_.erase(it);
}

int64_t MemoryManager::size(platform::GSHandle handle) const {
  auto it = blocks_.find(handle);
  return it == blocks_.end() ? 0 : it->second->size;
}

platform::GSErr MemoryManager::resize(platform::GSHandle handle, int64_t size) {
  auto it = blocks_.find(handle);
  if (it == blocks_.end()) return platform::kErrBadParameter;
  if (size < 0) return platform::kErrBadParameter;
  Block* block = it->second;
  char* data = static_cast<char*>(std::realloc(block->data, std::size_t(size) + 1));
  if (!data) return platform::kErrMemory;
  if (size > block->size) std::memset(data + block->size, 0, std::size_t(size - block->size) + 1);
  block->data = data;
  block->size = size;
  return platform::kNoError;
}

}  // namespace standin
