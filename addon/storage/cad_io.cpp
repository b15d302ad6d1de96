#include "storage/cad_io.h"

namespace lunvik {

CadIO::~CadIO() = default;

bool CadIO::read(void*, std::size_t, std::size_t& got) {
  got = 0;
  return false;
}

bool CadIO::write(const void*, std::size_t) { return false; }

bool CadIO::takeRest(const char*&, std::size_t&) { return false; }

bool CadIO::readAll(std::string& text) {
  char block[16384];
  for (;;) {
    std::size_t got = 0;
    if (!read(block, sizeof block, got)) return false;
    if (got == 0) return true;
    text.append(block, got);
  }
}

}  // namespace lunvik
