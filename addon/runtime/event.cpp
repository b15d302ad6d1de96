#include "runtime/event.h"

#include "storage/data_file.h"
#include "storage/object_store.h"

namespace lunvik {

ModuleEvent::ModuleEvent(std::unique_ptr<ObjectStore> projectData, std::unique_ptr<ObjectStore> mergeData,
                         int32_t mode, platform::GSHandle* destination)
    : HostEvent(kKind, 1),
      project_(std::move(projectData)),
      merge_(std::move(mergeData)),
      mode_(mode),
      destination_(destination) {}

ModuleEvent::~ModuleEvent() = default;

FileEvent::FileEvent(int32_t action, int32_t refCon, std::unique_ptr<DataFile> file, const CadString& name)
    : HostEvent(kKind, action), refCon_(refCon), file_(std::move(file)), name_(name) {}

FileEvent::~FileEvent() = default;

}  // namespace lunvik
