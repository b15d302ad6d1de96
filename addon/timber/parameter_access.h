// Typed reads and writes of a placed part's GDL parameters by name. A read answers false,
// leaving its output alone, when the parameter is missing or of another kind; a write answers
// false, changing nothing, in the same cases and for a cell outside an array.
#pragma once

#include <cstdint>

#include "model/parameter_list.h"
#include "runtime/cad_string.h"

namespace varnholt {

// A number of a scalar parameter (real, length, angle, integer, pen, boolean...). A real that
// is no number (NaN, infinite) reads as missing.
bool readNumber(const lunvik::ParameterList& list, const char* name, double& value);
// A number rounded to a whole one, clamped to the 32-bit range.
bool readInteger(const lunvik::ParameterList& list, const char* name, int32_t& value);
bool readBoolean(const lunvik::ParameterList& list, const char* name, bool& value);
bool readText(const lunvik::ParameterList& list, const char* name, lunvik::CadString& value);
// Cell (row, column) of a number array (a scalar holds cell (0, 0)).
bool readCell(const lunvik::ParameterList& list, const char* name, int32_t row, int32_t column, double& value);
// The shape of a parameter: rows and columns (a scalar 1 x 1); false when missing.
bool parameterShape(const lunvik::ParameterList& list, const char* name, int32_t& rows, int32_t& columns);
// The same for a parameter of a number kind only; false for a text or any other kind.
bool numberShape(const lunvik::ParameterList& list, const char* name, int32_t& rows, int32_t& columns);

// Writes a number; integers are rounded and booleans take value != 0.
bool writeNumber(lunvik::ParameterList& list, const char* name, double value);
bool writeText(lunvik::ParameterList& list, const char* name, const lunvik::CadString& value);
// Writes cell (row, column) of a number array; the array does not grow.
bool writeCell(lunvik::ParameterList& list, const char* name, int32_t row, int32_t column, double value);
// Writes a text cell of a text array; the array does not grow.
bool writeTextCell(lunvik::ParameterList& list, const char* name, int32_t row, const lunvik::CadString& value);

}  // namespace varnholt
