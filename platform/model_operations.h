// The host operations of the model: databases, elements, memos, selection, groups, storeys,
// layers, attributes and 3D bodies. Part of the host function table (host_table.h).
#pragma once

#include <cstdint>

#include "platform/host_types.h"

namespace platform {

// X(name, return type, parameter list), as in host_table.h.
#define HOST_MODEL_OPERATIONS(X)

}  // namespace platform
