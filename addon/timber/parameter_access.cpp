#include "timber/parameter_access.h"

#include <algorithm>
#include <cmath>

#include "model/parameter.h"

namespace varnholt {

using lunvik::CadString;
using lunvik::Parameter;
using lunvik::ParameterList;

namespace {

bool inside(const Parameter& p, int32_t row, int32_t column) {
  if (row < 0 || column < 0 || column >= p.columns()) return false;
  if (!p.isArray()) return row == 0 && column == 0;
  return std::size_t(row) * std::size_t(p.columns()) + std::size_t(column) < p.valueCount();
}

bool isNumberKind(const Parameter& p) {
  return dynamic_cast<const lunvik::RealParameter*>(&p) || dynamic_cast<const lunvik::IntegerParameter*>(&p) ||
         dynamic_cast<const lunvik::LongParameter*>(&p) || dynamic_cast<const lunvik::BooleanParameter*>(&p);
}

bool numberAt(const Parameter& p, int32_t row, int32_t column, double& value) {
  if (!inside(p, row, column)) return false;
  if (auto* r = dynamic_cast<const lunvik::RealParameter*>(&p)) {
    // A value that is no number reads as missing: nothing derived from it is trusted.
    double v = r->get(row, column);
    if (!std::isfinite(v)) return false;
    value = v;
    return true;
  }
  if (auto* i = dynamic_cast<const lunvik::IntegerParameter*>(&p)) {
    value = i->get(row, column);
    return true;
  }
  if (auto* l = dynamic_cast<const lunvik::LongParameter*>(&p)) {
    value = l->get(row, column);
    return true;
  }
  if (auto* b = dynamic_cast<const lunvik::BooleanParameter*>(&p)) {
    value = b->get(row, column) ? 1.0 : 0.0;
    return true;
  }
  return false;
}

bool setNumberAt(Parameter& p, int32_t row, int32_t column, double value) {
  if (!inside(p, row, column) || !std::isfinite(value)) return false;
  if (auto* r = dynamic_cast<lunvik::RealParameter*>(&p)) {
    r->set(value, row, column);
    return true;
  }
  if (auto* i = dynamic_cast<lunvik::IntegerParameter*>(&p)) {
    if (std::fabs(value) > 32767.0) return false;
    i->set(short(std::lround(value)), row, column);
    return true;
  }
  if (auto* l = dynamic_cast<lunvik::LongParameter*>(&p)) {
    if (std::fabs(value) > 2147483647.0) return false;
    l->set(int32_t(std::lround(value)), row, column);
    return true;
  }
  if (auto* b = dynamic_cast<lunvik::BooleanParameter*>(&p)) {
    b->set(value != 0.0, row, column);
    return true;
  }
  return false;
}

}  // namespace

bool readNumber(const ParameterList& list, const char* name, double& value) { return readCell(list, name, 0, 0, value); }

bool readInteger(const ParameterList& list, const char* name, int32_t& value) {
  double v = 0;
  if (!readNumber(list, name, v)) return false;
  // A real beyond the 32-bit range stands for the nearest value that has one.
  v = std::max(-2147483648.0, std::min(2147483647.0, std::round(v)));
  value = int32_t(v);
  return true;
}

bool readBoolean(const ParameterList& list, const char* name, bool& value) {
  double v = 0;
  if (!readNumber(list, name, v)) return false;
  value = v != 0.0;
  return true;
}

bool readText(const ParameterList& list, const char* name, CadString& value) {
  auto* p = dynamic_cast<const lunvik::StringParameter*>(list.parameter(CadString(name)));
  if (!p || !inside(*p, 0, 0)) return false;
  value = p->get(0, 0);
  return true;
}

bool readCell(const ParameterList& list, const char* name, int32_t row, int32_t column, double& value) {
  const Parameter* p = list.parameter(CadString(name));
  return p && numberAt(*p, row, column, value);
}

bool parameterShape(const ParameterList& list, const char* name, int32_t& rows, int32_t& columns) {
  const Parameter* p = list.parameter(CadString(name));
  if (!p) return false;
  columns = p->columns();
  rows = p->isArray() ? int32_t(std::min<std::size_t>(p->valueCount() / std::size_t(columns), 2147483647u)) : 1;
  return true;
}

bool numberShape(const ParameterList& list, const char* name, int32_t& rows, int32_t& columns) {
  const Parameter* p = list.parameter(CadString(name));
  return p && isNumberKind(*p) && parameterShape(list, name, rows, columns);
}

bool writeNumber(ParameterList& list, const char* name, double value) { return writeCell(list, name, 0, 0, value); }

bool writeText(ParameterList& list, const char* name, const CadString& value) {
  return writeTextCell(list, name, 0, value);
}

bool writeCell(ParameterList& list, const char* name, int32_t row, int32_t column, double value) {
  Parameter* p = list.parameter(CadString(name));
  return p && setNumberAt(*p, row, column, value);
}

bool writeTextCell(ParameterList& list, const char* name, int32_t row, const CadString& value) {
  auto* p = dynamic_cast<lunvik::StringParameter*>(list.parameter(CadString(name)));
  if (!p || !inside(*p, row, 0)) return false;
  p->set(value, row, 0);
  return true;
}

}  // namespace varnholt
