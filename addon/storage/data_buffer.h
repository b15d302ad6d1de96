// Byte streams over memory: DataBufferIn reads a block, DataBufferOut collects written bytes.
#pragma once

#include <cstddef>
#include <string>

#include "platform/host_types.h"
#include "storage/cad_io.h"

namespace lunvik {

// Reads from a memory block it does not own; the block must outlive the stream.
class DataBufferIn : public CadIO {
 public:
  // Reads size bytes at data (null reads as empty).
  DataBufferIn(const void* data, std::size_t size);
  // Reads the block of a host memory handle (null reads as empty).
  explicit DataBufferIn(platform::GSHandle handle);
  // Reads the bytes of text.
  explicit DataBufferIn(const std::string& text) : DataBufferIn(text.data(), text.size()) {}
  DataBufferIn(std::string&&) = delete;  // the text must outlive the stream

  bool read(void* buffer, std::size_t size, std::size_t& got) override;
  bool readAll(std::string& text) override;
  bool takeRest(const char*& data, std::size_t& size) override;

  // The bytes not read yet.
  std::size_t remaining() const { return size_ - position_; }
  // The read position from the start of the block.
  std::size_t position() const { return position_; }
  // The next unread byte.
  const char* current() const { return data_ + position_; }

 private:
  const char* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// Collects written bytes in a growing block that the caller takes over.
class DataBufferOut : public CadIO {
 public:
  DataBufferOut() = default;

  bool write(const void* data, std::size_t size) override;

  // The bytes written so far.
  const std::string& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }
  // Hands over the bytes; the buffer is empty afterwards.
  std::string takeBytes();
  // Hands over the bytes as text; the buffer is empty afterwards.
  CadString takeText();
  // A new host memory handle holding the bytes, owned by the caller; the buffer is empty
  // afterwards. Null, and the buffer unchanged, when the host gives no memory.
  platform::GSHandle takeHandle();

 private:
  std::string bytes_;
};

}  // namespace lunvik
