#include "runtime/host_interface.h"

#include "runtime/environment.h"

namespace lunvik {

void HostInterface::setTable(const platform::HostFunctionTable& table) {
  table_ = table;
  arrived_ = true;
}

void HostInterface::resetTable() {
  table_ = platform::HostFunctionTable{};
  token_ = 0;
  arrived_ = false;
}

HostInterface& host() { return Environment::instance().hostInterface(); }

}  // namespace lunvik
