// The host operations of the 3D model: an element's bodies, their components, and the
// element's quantities. Part of the host function table (host_table.h).
#pragma once

#include <cstdint>

#include "platform/body_records.h"
#include "platform/host_types.h"

namespace platform {

// X(name, return type, parameter list), as in host_table.h.
#define HOST_BODY_OPERATIONS(X)                                                                 \
  /* the range of the element's bodies in the 3D model; kErrBadIndex when it has none */       \
  X(HostGetElement3DInfo, GSErr,                                                                \
    (HostToken token, int32_t typeID, int32_t index, Element3DInfo* info))                      \
  /* one component, addressed by its type code, body and index (body_records.h) */                \
  X(HostGet3DComponent, GSErr, (HostToken token, Component3DRecord* component))                 \
  /* the element's quantities (volume, surface) computed to the query's accuracy */            \
  X(HostElementQuery, GSErr,                                                                    \
    (HostToken token, const ElementQueryRecord* query, ElementQuantityRecord* answer))

}  // namespace platform
