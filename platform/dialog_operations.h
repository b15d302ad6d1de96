// The host operations of the dialog manager: modal and modeless dialogs, items, lists,
// pop-ups, the save-file dialog, progress windows and number-to-text conversion. Part of the
// host function table (host_table.h).
#pragma once

#include <cstdint>

#include "platform/host_types.h"

namespace platform {

// X(name, return type, parameter list), as in host_table.h.
#define HOST_DIALOG_OPERATIONS(X)

}  // namespace platform
