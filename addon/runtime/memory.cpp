#include "runtime/memory.h"

#include <cstring>

#include "runtime/host_interface.h"

namespace lunvik {

using platform::HostFunctionTable;

platform::GSHandle newHandle(std::size_t size) {
  auto fn = host().operation(&HostFunctionTable::MemNewHandle);
  return fn ? fn(int64_t(size)) : nullptr;
}

platform::GSHandle newHandle(const void* data, std::size_t size) {
  platform::GSHandle handle = newHandle(size);
  if (handle && size) std::memcpy(*handle, data, size);
  return handle;
}

void disposeHandle(platform::GSHandle handle) {
  if (!handle) return;
  if (auto fn = host().operation(&HostFunctionTable::MemDisposeHandle)) fn(handle);
}

std::size_t handleSize(platform::GSHandle handle) {
  if (!handle) return 0;
  auto fn = host().operation(&HostFunctionTable::MemGetHandleSize);
  return fn ? std::size_t(fn(handle)) : 0;
}

bool setHandleSize(platform::GSHandle handle, std::size_t size) {
  if (!handle) return false;
  auto fn = host().operation(&HostFunctionTable::MemSetHandleSize);
  return fn && fn(handle, int64_t(size)) == platform::kNoError;
}

}  // namespace lunvik
