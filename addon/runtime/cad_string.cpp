#include "runtime/cad_string.h"

#include <cctype>

#include "runtime/host_interface.h"

namespace lunvik {

namespace {

int asciiCompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int ca = std::tolower(static_cast<unsigned char>(*a));
    int cb = std::tolower(static_cast<unsigned char>(*b));
    if (ca != cb || ca == 0) return ca - cb;
  }
}

}  // namespace

int CadString::compareNoCase(const CadString& other) const {
  if (auto compare = host().operation(&platform::HostFunctionTable::CHCompareTexts))
    return compare(c_str(), other.c_str(), 1, 0);
  return asciiCompareNoCase(c_str(), other.c_str());
}

CadString CadString::upper() const {
  CadString result(*this);
  if (auto transform = host().operation(&platform::HostFunctionTable::CHTransformCase)) {
    transform(&result.text_[0], 1);
  } else {
    for (char& c : result.text_) c = char(std::toupper(static_cast<unsigned char>(c)));
  }
  return result;
}

CadString CadString::lower() const {
  CadString result(*this);
  if (auto transform = host().operation(&platform::HostFunctionTable::CHTransformCase)) {
    transform(&result.text_[0], 2);
  } else {
    for (char& c : result.text_) c = char(std::tolower(static_cast<unsigned char>(c)));
  }
  return result;
}

namespace {

// Bytes of the character at p; one byte when the host offers no character functions.
std::size_t characterBytes(const char* p) {
  if (auto bytes = host().operation(&platform::HostFunctionTable::CHCharBytes)) {
    int n = bytes(p);
    return n > 0 ? std::size_t(n) : 1;
  }
  return 1;
}

}  // namespace

std::size_t CadString::characterCount() const {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text_.size(); ++count) i += characterBytes(text_.c_str() + i);
  return count;
}

CadString CadString::truncated(std::size_t maxBytes) const {
  if (text_.size() <= maxBytes) return *this;
  std::size_t end = 0;
  while (end < text_.size()) {
    std::size_t next = end + characterBytes(text_.c_str() + end);
    if (next > maxBytes) break;
    end = next;
  }
  return CadString(text_.substr(0, end));
}

bool CadString::hasVisibleText() const {
  return text_.find_first_not_of(" \t\r\n") != std::string::npos;
}

}  // namespace lunvik
