// Part parameters built by hand for the stand-in host's body generators: one number, or an
// array of rows and columns.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/library/part_file.h"
#include "platform/parameter_records.h"

namespace testing_support {

// A parameter holding one number.
inline standin::PartParameter number(const std::string& name, double value, int32_t type = platform::kParamLength) {
  standin::PartParameter p;
  p.name = name;
  p.typeID = type;
  p.numbers = {value};
  return p;
}

// An array parameter of rows by columns, its values row by row.
inline standin::PartParameter array(const std::string& name, int rows, int columns, std::vector<double> values,
                                    int32_t type = platform::kParamLength) {
  standin::PartParameter p;
  p.name = name;
  p.typeID = type;
  p.isArray = true;
  p.rows = rows;
  p.columns = columns;
  p.numbers = std::move(values);
  return p;
}

}  // namespace testing_support
