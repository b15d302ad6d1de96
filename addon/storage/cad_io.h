// The common base of the framework's byte streams (memory buffers and files).
#pragma once

#include <cstddef>
#include <string>

#include "runtime/cad_string.h"

namespace lunvik {

// A byte stream. A stream that cannot read or cannot write answers false for that direction.
class CadIO {
 public:
  CadIO() = default;
  CadIO(const CadIO&) = delete;
  CadIO& operator=(const CadIO&) = delete;
  virtual ~CadIO();

  // Reads at most size bytes into buffer; got receives the count (0 at the end). False on error.
  virtual bool read(void* buffer, std::size_t size, std::size_t& got);
  // Writes size bytes; false on error.
  virtual bool write(const void* data, std::size_t size);
  // Appends every byte left in the stream to text; false on error (text then holds what was
  // read before the error).
  virtual bool readAll(std::string& text);

  // When the rest of the stream lies in memory: points data and size at it and moves the
  // stream to its end, so it can be read in place. False (nothing moved) otherwise.
  virtual bool takeRest(const char*& data, std::size_t& size);

  // Writes the bytes of text.
  bool writeText(const CadString& text) { return write(text.c_str(), text.size()); }
};

}  // namespace lunvik
