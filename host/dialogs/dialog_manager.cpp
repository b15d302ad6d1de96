#include "host/dialogs/dialog_manager.h"

namespace standin {

void installDialogOperations(platform::HostFunctionTable&) {}

}  // namespace standin
