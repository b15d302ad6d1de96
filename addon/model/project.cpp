#include "model/project.h"

#include "runtime/addon.h"
#include "runtime/host_interface.h"

namespace lunvik {

Project::Project()
    : store_(std::make_unique<ObjectStore>(kPreferenceStoreName)), library_(std::make_unique<Library>(this)) {}

Project::~Project() = default;

void Project::dropCaches() { library_->releaseCaches(); }

void Project::rebuildPlan() const {
  host().call(&platform::HostFunctionTable::HostInterface, platform::fourcc("RBPL"), nullptr, nullptr, nullptr);
}

}  // namespace lunvik
