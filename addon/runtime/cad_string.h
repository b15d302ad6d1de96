// The framework's string: a heap byte string in the system code page.
#pragma once

#include <cstddef>
#include <string>

namespace lunvik {

// A null-terminated byte string, empty by default. Letter-case and character operations go
// through the host's character functions when the host table is present.
class CadString {
 public:
  CadString() = default;
  CadString(const char* text) : text_(text ? text : "") {}  // NOLINT: implicit by design
  CadString(const char* text, std::size_t length) : text_(text ? std::string(text, length) : std::string()) {}
  CadString(const std::string& text) : text_(text) {}  // NOLINT
  CadString(std::string&& text) : text_(std::move(text)) {}  // NOLINT

  // The bytes, null-terminated.
  const char* c_str() const { return text_.c_str(); }
  // The underlying standard string.
  const std::string& str() const { return text_; }
  std::string& str() { return text_; }
  // The number of bytes.
  std::size_t length() const { return text_.size(); }
  std::size_t size() const { return text_.size(); }
  bool empty() const { return text_.empty(); }
  void clear() { text_.clear(); }
  char operator[](std::size_t i) const { return text_[i]; }

  CadString& operator+=(const CadString& other) { text_ += other.text_; return *this; }
  CadString& operator+=(const char* other) { text_ += other ? other : ""; return *this; }
  CadString& operator+=(char c) { text_ += c; return *this; }
  friend CadString operator+(CadString a, const CadString& b) { a += b; return a; }

  friend bool operator==(const CadString& a, const CadString& b) { return a.text_ == b.text_; }
  friend bool operator!=(const CadString& a, const CadString& b) { return a.text_ != b.text_; }
  friend bool operator<(const CadString& a, const CadString& b) { return a.text_ < b.text_; }

  // Compares with the host's text comparison, letter case ignored: <0, 0 or >0.
  int compareNoCase(const CadString& other) const;
  // True when both texts are equal with letter case ignored.
  bool equalsNoCase(const CadString& other) const { return compareNoCase(other) == 0; }
  // The text in upper case.
  CadString upper() const;
  // The text in lower case.
  CadString lower() const;
  // The number of characters, multi-byte characters counted once.
  std::size_t characterCount() const;
  // The first at most maxBytes bytes, never splitting a multi-byte character.
  CadString truncated(std::size_t maxBytes) const;
  // True when the text holds a character other than space, tab, CR and LF.
  bool hasVisibleText() const;

 private:
  std::string text_;
};

}  // namespace lunvik
