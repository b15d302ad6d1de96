// The text forms of shipped values: ShippingText<T> says how a value of type T is written,
// read and reset. The framework gives them for bool, double, short and CadString; an
// enumeration gets one by deriving ShippingText<E> from ShippingEnumText<E, Names>.
#pragma once

#include <cstddef>
#include <string>

#include "runtime/cad_string.h"

namespace lunvik {

// Appends the standard stream's default text of value: at most 6 significant digits, no
// trailing zeros, exponent form (two exponent digits at least) for very large or small values.
void appendDouble(std::string& out, double value);
// The standard stream's default text of value.
CadString formatDouble(double value);

// Reads a number from text the way the standard stream does: white space skipped, then the
// longest prefix of the form [sign] digits [. digits] [e [sign] digits]; what follows is
// ignored. A number beyond the range of double gives the largest double of its sign, one
// below it zero. False, and value untouched, when the text starts with no number.
bool scanDouble(const char* text, std::size_t size, double& value);
// The same, but false (value untouched) also when the number lies beyond the range of double.
bool scanFiniteDouble(const char* text, std::size_t size, double& value);
// Reads a decimal integer the same way: white space, [sign] digits. False, value untouched,
// when there are no digits or the number does not fit in 64 bits.
bool scanInteger(const char* text, std::size_t size, long long& value);

// True when text equals word: the same bytes or equal under the host's text comparison.
bool sameWord(const CadString& text, const char* word);

template <typename T>
struct ShippingText;

// "true" or "false"; reads "true"/"1" and "false"/"0", anything else fails.
template <>
struct ShippingText<bool> {
  static bool toText(bool& value, CadString& out);
  static bool fromText(const CadString& text, bool& value);
  static void reset(bool& value) { value = false; }
};

// Six significant digits. Reads a text that starts with a finite number as scanDouble does (an
// empty text reads as 0); a text that starts with none (a word, "nan", "inf") or with a number
// beyond the range of double fails the read.
template <>
struct ShippingText<double> {
  static bool toText(double& value, CadString& out);
  static bool fromText(const CadString& text, double& value);
  static void reset(double& value) { value = 0.0; }
};

// The decimal of the value taken as an unsigned 16-bit number (-1 is written 65535). Reads a
// decimal integer from -32768 to 65535 and keeps its low 16 bits, so every written text reads
// back to its value; text that is no such integer reads as 0 and does not fail the read.
template <>
struct ShippingText<short> {
  static bool toText(short& value, CadString& out);
  static bool fromText(const CadString& text, short& value);
  static void reset(short& value) { value = 0; }
};

// The text unchanged.
template <>
struct ShippingText<CadString> {
  static bool toText(CadString& value, CadString& out) {
    out = value;
    return true;
  }
  static bool fromText(const CadString& text, CadString& value) {
    value = text;
    return true;
  }
  static void reset(CadString& value) { value.clear(); }
};

// Writes names[value] after clamping the stored value into 0..count-1 (the stored value is
// changed too).
bool enumToText(int& value, const char* const* names, int count, CadString& out);
// Sets value to fallback, then takes the index of the name text equals, else a decimal
// 0..count-1; anything else leaves fallback. Never fails.
bool enumFromText(const CadString& text, const char* const* names, int count, int fallback,
                  int& value);

// The text form of an enumeration with the values 0..count-1. Names supplies
// `static constexpr const char* names[]`, `static constexpr int count` and
// `static constexpr int fallback` (the value taken before matching).
template <typename E, typename Names>
struct ShippingEnumText {
  static bool toText(E& value, CadString& out) {
    int v = static_cast<int>(value);
    bool ok = enumToText(v, Names::names, Names::count, out);
    value = static_cast<E>(v);
    return ok;
  }
  static bool fromText(const CadString& text, E& value) {
    int v = 0;
    bool ok = enumFromText(text, Names::names, Names::count, Names::fallback, v);
    value = static_cast<E>(v);
    return ok;
  }
  static void reset(E& value) { value = static_cast<E>(0); }
};

}  // namespace lunvik
