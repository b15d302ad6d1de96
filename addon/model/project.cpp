#include "model/project.h"

#include "runtime/addon.h"

namespace lunvik {

Project::Project() : store_(std::make_unique<ObjectStore>(kPreferenceStoreName)) {}

Project::~Project() = default;

}  // namespace lunvik
