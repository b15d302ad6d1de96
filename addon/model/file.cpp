#include "model/file.h"

namespace lunvik {

CadString File::name() const {
  std::string p = path().str();
  while (p.size() > 1 && (p.back() == '/' || p.back() == '\\')) p.pop_back();
  std::size_t at = p.find_last_of("/\\");
  return CadString(at == std::string::npos ? p : p.substr(at + 1));
}

CadString File::extension() const {
  std::string n = name().str();
  std::size_t dot = n.rfind('.');
  return dot == std::string::npos || dot == 0 ? CadString() : CadString(n.substr(dot + 1));
}

CadString File::url() const {
  std::string p = path().str();
  for (char& c : p)
    if (c == '\\') c = '/';
  std::string out = "file://";
  if (p.empty() || p[0] != '/') out += '/';
  for (char c : p) {
    auto u = static_cast<unsigned char>(c);
    if (u == ' ' || u == '%' || u == '#' || u == '?' || u >= 0x80) {
      static const char kHex[] = "0123456789ABCDEF";
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  return CadString(out);
}

}  // namespace lunvik
