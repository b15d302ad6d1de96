#include "storage/data_buffer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "runtime/memory.h"

namespace lunvik {

DataBufferIn::DataBufferIn(const void* data, std::size_t size)
    : data_(static_cast<const char*>(data)), size_(data ? size : 0) {}

DataBufferIn::DataBufferIn(platform::GSHandle handle)
    : data_(handle ? *handle : nullptr), size_(handle && *handle ? handleSize(handle) : 0) {}

bool DataBufferIn::read(void* buffer, std::size_t size, std::size_t& got) {
  got = std::min(size, remaining());
  if (got) std::memcpy(buffer, data_ + position_, got);
  position_ += got;
  return true;
}

bool DataBufferIn::readAll(std::string& text) {
  if (remaining()) text.append(data_ + position_, remaining());
  position_ = size_;
  return true;
}

bool DataBufferIn::takeRest(const char*& data, std::size_t& size) {
  data = data_ ? data_ + position_ : "";
  size = remaining();
  position_ = size_;
  return true;
}

bool DataBufferOut::write(const void* data, std::size_t size) {
  if (size == 0) return true;
  if (!data) return false;
  bytes_.append(static_cast<const char*>(data), size);
  return true;
}

std::string DataBufferOut::takeBytes() {
  std::string bytes = std::move(bytes_);
  bytes_.clear();
  return bytes;
}

CadString DataBufferOut::takeText() { return CadString(takeBytes()); }

platform::GSHandle DataBufferOut::takeHandle() {
  platform::GSHandle handle = newHandle(bytes_.data(), bytes_.size());
  if (handle) bytes_.clear();
  return handle;
}

}  // namespace lunvik
