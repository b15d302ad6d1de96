// The stand-in dialog manager: dialogs built from the add-on's dialog resources, driven by a
// scripted user.
#pragma once

#include "platform/host_table.h"

namespace standin {

// The dialogs the add-on opens and what a script answers in them.
class DialogManager {
 public:
  DialogManager() = default;
  DialogManager(const DialogManager&) = delete;
  DialogManager& operator=(const DialogManager&) = delete;
};

// Fills the dialog manager's slots of the host table.
void installDialogOperations(platform::HostFunctionTable& table);

}  // namespace standin
