#include "model/component_link.h"

#include "model/library.h"
#include "model/project.h"
#include "runtime/addon.h"

namespace lunvik {

Library* projectLibrary() {
  Addon* addon = theAddon();
  Project* project = addon ? addon->project() : nullptr;
  return project ? &project->library() : nullptr;
}

ComponentLink::ComponentLink(int32_t type, int32_t index, Library* library)
    : type_(type), index_(index), library_(library ? library : index != 0 ? projectLibrary() : nullptr) {}

ComponentLink::ComponentLink(const platform::LibraryPartRecord& record, Library* library)
    : ComponentLink(record.typeID, record.index, library) {}

ComponentLink::ComponentLink(const CadString& name, int32_t type, Library* library)
    : type_(type), library_(library ? library : projectLibrary()) {
  if (!library_) return;
  int32_t found = type;
  index_ = library_->indexOf(name, found);
  if (index_ != 0) type_ = found;
}

}  // namespace lunvik
