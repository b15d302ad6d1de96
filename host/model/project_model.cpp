#include "host/model/project_model.h"

namespace standin {

void installModelOperations(platform::HostFunctionTable&) {}

}  // namespace standin
