#include "interaction/control_setting.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "interaction/dg_calls.h"
#include "platform/dialog_operations.h"

namespace lunvik {

namespace {

int32_t rounded(double value) {
  if (!std::isfinite(value)) return 0;
  double r = std::round(value);
  if (r > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (r < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return int32_t(r);
}

std::string realText(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

// The whole text as a number; false when it is not one.
bool readReal(const CadString& text, double& out) {
  const char* s = text.c_str();
  char* end = nullptr;
  double v = std::strtod(s, &end);
  if (end == s) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0' || !std::isfinite(v)) return false;
  out = v;
  return true;
}

}  // namespace

int32_t StringSetting::integer() const { return rounded(std::trunc(std::strtod(text_.c_str(), nullptr))); }

double StringSetting::real() const {
  double v = std::strtod(text_.c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}

void StringSetting::setInteger(int32_t value) { text_ = std::to_string(value); }
void StringSetting::setReal(double value) { text_ = realText(value); }

CadString IntegerSetting::text() const { return std::to_string(value_); }
void IntegerSetting::setReal(double value) { value_ = rounded(value); }
void IntegerSetting::setText(const CadString& text) {
  double v = 0;
  if (readReal(text, v)) value_ = rounded(v);
}

int32_t RealSetting::integer() const { return rounded(value_); }
CadString RealSetting::text() const { return realText(value_); }
void RealSetting::setText(const CadString& text) {
  double v = 0;
  if (readReal(text, v)) value_ = v;
}

namespace {

// The host's text of a number of kind; the standard form without a host.
CadString hostNumberText(double value, int32_t kind, double fallback) {
  char buffer[128];
  buffer[0] = '\0';
  int32_t n = dgCall(&platform::HostFunctionTable::DGNumberToText, int32_t(-1), value, kind, buffer,
                     int32_t(sizeof buffer));
  if (n < 0 || n >= int32_t(sizeof buffer)) return realText(fallback);
  return CadString(buffer);
}

// Reads text as the host reads a number of kind; false when it does not read.
bool hostNumber(const CadString& text, int32_t kind, double& out) {
  auto read = host().operation(&platform::HostFunctionTable::DGTextToNumber);
  if (!read) return false;
  double v = 0;
  if (!read(text.c_str(), kind, &v) || !std::isfinite(v)) return false;
  out = v;
  return true;
}

}  // namespace

CadString LengthSetting::text() const { return hostNumberText(real(), platform::kDGNumberLength, real()); }

void LengthSetting::setText(const CadString& text) {
  double v = 0;
  if (hostNumber(text, platform::kDGNumberLength, v)) setReal(v);
  else RealSetting::setText(text);
}

CadString AngleSetting::text() const {
  return hostNumberText(real(), platform::kDGNumberAngle, real() * 180.0 / 3.14159265358979323846);
}

void AngleSetting::setText(const CadString& text) {
  double v = 0;
  if (hostNumber(text, platform::kDGNumberAngle, v)) setReal(v);
  else if (readReal(text, v)) setReal(v * 3.14159265358979323846 / 180.0);
}

void MenuSetting::setReal(double value) { value_ = rounded(value); }

}  // namespace lunvik
