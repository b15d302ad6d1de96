// The stand-in host's 3D-model operations (platform/body_operations.h).
#pragma once

#include "platform/host_table.h"

namespace standin {

// Fills the 3D model's slots of the host table.
void installBodyOperations(platform::HostFunctionTable& table);

}  // namespace standin
