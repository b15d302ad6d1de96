// Parameter values of the stand-in host's elements: the values the host's tools are given and
// the values read back from an element.
#pragma once

#include <gtest/gtest.h>

#include <strings.h>

#include <string>

#include "host/model/project_model.h"

namespace testing_support {

// A number value for the host's tools.
inline standin::ParameterValue numberValue(const char* name, double value) {
  return standin::ParameterValue::ofNumber(name, value);
}

// A text value for the host's tools.
inline standin::ParameterValue textValue(const char* name, const char* value) {
  return standin::ParameterValue::ofText(name, value);
}

// The number an element's parameter holds; a test failure when it has no such parameter.
inline double storedValue(const standin::HostElement& e, const char* name) {
  for (const standin::StoredParameter& p : e.parameters)
    if (strcasecmp(p.record.name, name) == 0) return p.record.value.real;
  ADD_FAILURE() << "no parameter " << name;
  return 0;
}

}  // namespace testing_support
