#include "storage/shipping_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

namespace lunvik {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void appendDouble(std::string& out, double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  out.append(buffer, result.ptr);
}

CadString formatDouble(double value) {
  std::string text;
  appendDouble(text, value);
  return CadString(std::move(text));
}

namespace {

// scanDouble, telling also whether the number lay beyond the range of double and where it ended.
bool scanNumber(const char* text, std::size_t size, double& value, bool& overflow, const char*& stop) {
  overflow = false;
  const char* p = text;
  const char* end = text + size;
  while (p < end && isSpace(*p)) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  const char* start = p;  // from_chars takes no plus sign; the minus is applied afterwards
  const char* intStart = p;
  while (p < end && isDigit(*p)) ++p;
  std::size_t intDigits = std::size_t(p - intStart);
  std::size_t fracDigits = 0;
  const char* fracStart = p;
  if (p < end && *p == '.') {
    fracStart = ++p;
    while (p < end && isDigit(*p)) ++p;
    fracDigits = std::size_t(p - fracStart);
  }
  if (intDigits == 0 && fracDigits == 0) return false;
  const char* mantissaEnd = p;
  long long exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    bool expNegative = false;
    if (q < end && (*q == '+' || *q == '-')) expNegative = *q++ == '-';
    if (q < end && isDigit(*q)) {
      while (q < end && isDigit(*q)) {
        if (exponent < 100000) exponent = exponent * 10 + (*q - '0');
        ++q;
      }
      if (expNegative) exponent = -exponent;
      p = q;
    }
  }
  double result = 0.0;
  auto parsed = std::from_chars(start, p, result, std::chars_format::general);
  if (parsed.ec == std::errc::result_out_of_range) {
    // Decide between overflow and underflow from the position of the first significant digit.
    long long magnitude = 0;
    const char* q = intStart;
    while (q < intStart + intDigits && *q == '0') ++q;
    if (q < intStart + intDigits) {
      magnitude = (long long)(intStart + intDigits - q) - 1;
    } else {
      q = fracStart;
      while (q < mantissaEnd && *q == '0') ++q;
      magnitude = -(long long)(q - fracStart) - 1;
    }
    overflow = magnitude + exponent > 0;
    result = overflow ? std::numeric_limits<double>::max() : 0.0;
  } else if (parsed.ec != std::errc()) {
    return false;
  }
  value = negative ? -result : result;
  stop = p;
  return true;
}

}  // namespace

bool scanDouble(const char* text, std::size_t size, double& value) {
  bool overflow = false;
  const char* stop = text;
  return scanNumber(text, size, value, overflow, stop);
}

bool scanFiniteDouble(const char* text, std::size_t size, double& value) {
  double parsed = 0.0;
  bool overflow = false;
  const char* stop = text;
  if (!scanNumber(text, size, parsed, overflow, stop) || overflow || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool scanInteger(const char* text, std::size_t size, long long& value) {
  const char* p = text;
  const char* end = text + size;
  while (p < end && isSpace(*p)) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (p == end || !isDigit(*p)) return false;
  unsigned long long magnitude = 0;
  constexpr unsigned long long kLimit = 1ULL << 63;  // |LLONG_MIN|
  for (; p < end && isDigit(*p); ++p) {
    unsigned digit = unsigned(*p - '0');
    if (magnitude > (kLimit - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  if (!negative && magnitude == kLimit) return false;
  value = negative ? (magnitude == kLimit ? std::numeric_limits<long long>::min()
                                          : -(long long)magnitude)
                   : (long long)magnitude;
  return true;
}

bool sameWord(const CadString& text, const char* word) {
  const std::size_t length = std::strlen(word);
  if (length == text.size() && std::memcmp(text.c_str(), word, length) == 0) return true;
  if (std::memchr(text.c_str(), '\0', text.size())) return false;
  return text.equalsNoCase(CadString(word));
}

bool ShippingText<bool>::toText(bool& value, CadString& out) {
  out = value ? "true" : "false";
  return true;
}

bool ShippingText<bool>::fromText(const CadString& text, bool& value) {
  static const char* const kWords[] = {"true", "1", "false", "0"};
  // The exact words first: the texts the writer wrote never need the host's comparison.
  for (int exact = 1; exact >= 0; --exact) {
    for (int i = 0; i < 4; ++i) {
      if (exact ? text == kWords[i] : sameWord(text, kWords[i])) {
        value = i < 2;
        return true;
      }
    }
  }
  return false;
}

bool ShippingText<double>::toText(double& value, CadString& out) {
  out.clear();
  appendDouble(out.str(), value);
  return true;
}

bool ShippingText<double>::fromText(const CadString& text, double& value) {
  const char* p = text.c_str();
  const char* end = p + text.size();
  while (p < end && isSpace(*p)) ++p;
  if (p == end) {
    value = 0.0;
    return true;
  }
  // A value that is no number, or none the writer could have written (NaN, an infinity, one
  // beyond the range of double), fails the read rather than passing as 0 or as a clamped value,
  // as the standard stream's reading fails.
  return scanFiniteDouble(text.c_str(), text.size(), value);
}

bool ShippingText<short>::toText(short& value, CadString& out) {
  char buffer[8];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, unsigned(uint16_t(value)));
  out = CadString(buffer, std::size_t(result.ptr - buffer));
  return true;
}

bool ShippingText<short>::fromText(const CadString& text, short& value) {
  long long parsed = 0;
  if (scanInteger(text.c_str(), text.size(), parsed) && parsed >= -32768 && parsed <= 65535)
    value = short(uint16_t(parsed & 0xFFFF));
  else
    value = 0;
  return true;
}

bool enumToText(int& value, const char* const* names, int count, CadString& out) {
  if (count <= 0) return false;
  if (value < 0) value = 0;
  if (value > count - 1) value = count - 1;
  out = names[value];
  return true;
}

bool enumFromText(const CadString& text, const char* const* names, int count, int fallback,
                  int& value) {
  value = fallback;
  for (int exact = 1; exact >= 0; --exact) {
    for (int i = 0; i < count; ++i) {
      if (exact ? text == names[i] : sameWord(text, names[i])) {
        value = i;
        return true;
      }
    }
  }
  long long number = 0;
  if (scanInteger(text.c_str(), text.size(), number) && number >= 0 && number < count)
    value = int(number);
  return true;
}

}  // namespace lunvik
