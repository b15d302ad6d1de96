// Conversions between a library part's parameter definitions and the parameters an element
// stores.
#pragma once

#include <cstdint>

#include "host/library/part_file.h"
#include "host/model/project_model.h"

namespace standin {

// The element parameter at index that holds definition's value (its first number or text for
// a single value, all cells for an array).
StoredParameter storedParameter(const PartParameter& definition, int16_t index);
// The definition form of an element parameter (an array of no size reads as 1 x 1).
PartParameter partParameter(const StoredParameter& stored);

}  // namespace standin
