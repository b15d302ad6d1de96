// Helpers of the schedule tests: parameter lists built from name/value pairs and records with
// given sizes.
#pragma once

#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "model/parameter_list.h"
#include "platform/parameter_records.h"
#include "runtime/memory.h"

namespace schedule_test {

// A parameter: a number (kind kParamReal unless given) or a text.
struct Param {
  std::string name;
  std::variant<double, std::string> value;
  int32_t kind = 0;
  Param(std::string n, double v, int32_t k = platform::kParamReal) : name(std::move(n)), value(v), kind(k) {}
  Param(std::string n, const char* v) : name(std::move(n)), value(std::string(v)), kind(platform::kParamString) {}
};

// A parameter list read from host records of params.
inline lunvik::ParameterList parameters(const std::vector<Param>& params) {
  std::vector<platform::HostParameterRecord> records(params.size());
  for (std::size_t i = 0; i < params.size(); ++i) {
    platform::HostParameterRecord& r = records[i];
    std::memset(&r, 0, sizeof r);
    r.typeID = params[i].kind;
    r.index = int16_t(i + 1);
    std::strncpy(r.name, params[i].name.c_str(), sizeof r.name - 1);
    if (const double* number = std::get_if<double>(&params[i].value)) {
      r.value.real = *number;
    } else {
      const std::string& text = std::get<std::string>(params[i].value);
      for (std::size_t c = 0; c < text.size() && c < 255; ++c) r.value.text[c] = uint8_t(text[c]);
    }
  }
  lunvik::ParameterList list;
  platform::GSHandle handle = lunvik::newHandle(records.data(), records.size() * sizeof(platform::HostParameterRecord));
  list.readHandle(handle);
  lunvik::disposeHandle(handle);
  return list;
}

}  // namespace schedule_test
