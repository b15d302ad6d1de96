#include "runtime/host_callbacks.h"

#include <cstring>
#include <memory>

#include "runtime/addon.h"
#include "storage/data_file.h"
#include "storage/object_store.h"

namespace lunvik {
namespace callbacks {

using platform::GSErr;
using platform::kNoError;

GSErr menuHandler(int16_t menuList, int32_t itemIndex) {
  Addon* addon = theAddon();
  if (!addon) return kNoError;
  MenuEvent event(menuList, itemIndex);
  addon->dispatch(event);
  return kNoError;
}

GSErr commandHandler(platform::GSHandle parameters, platform::CommandResultRecord* result, bool silent) {
  Addon* addon = theAddon();
  if (!addon) return kNoError;
  try {
    CommandEvent event(0, 0, result, silent);
    event.readHandle(parameters);
    double value = 0;
    event.setCommand(event.number("command_id", value) ? uint32_t(value) : platform::fourcc("EVNT"));
    event.setVersion(event.number("command_version", value) ? int32_t(value) : 1);
    addon->dispatch(event);
  } catch (...) {
    addon->reportUnexpectedError();
  }
  return result ? result->error : kNoError;
}

GSErr projectHandler(int32_t code, int32_t) {
  Addon* addon = theAddon();
  if (!addon) return kNoError;
  try {
    ProjectEvent event(code);
    addon->takeEvent(event);
  } catch (...) {
    addon->reportUnexpectedError();
  }
  return kNoError;
}

namespace {

// A store filled with the project's packages of every registered code.
std::unique_ptr<ObjectStore> collectedStore(const Addon& addon) {
  auto store = std::make_unique<ObjectStore>(kPreferenceStoreName);
  addon.collectPackages(*store);
  return store;
}

}  // namespace

GSErr moduleDataMergeHandler(int32_t mode, const char*, platform::GSHandle projectData,
                             platform::GSHandle dataToMerge, platform::GSHandle* destination) {
  Addon* addon = theAddon();
  if (!addon) return kNoError;
  try {
    auto project = collectedStore(*addon);
    project->readHandle(projectData);
    auto merging = collectedStore(*addon);
    // Cleared, not emptied: a store without packages would read nothing of the incoming data.
    merging->resetAll();
    merging->readHandle(dataToMerge);
    ModuleEvent event(std::move(project), std::move(merging), mode, destination);
    addon->dispatch(event);
  } catch (...) {
    addon->reportUnexpectedError();
  }
  return kNoError;
}

GSErr elementObserver(const platform::ElementNotifyRecord* record) {
  Addon* addon = theAddon();
  if (!addon || !record) return kNoError;
  try {
    ElementLink link(record->typeID, record->index, CadString(record->guid, strnlen(record->guid, sizeof record->guid)));
    if (record->code == kEditElement) {
      ElementEditEvent event(link, record->param);
      addon->dispatch(event);
    } else {
      DatabaseEvent event(record->code, link, record->param);
      addon->dispatch(event);
    }
  } catch (...) {
    addon->reportUnexpectedError();
  }
  return kNoError;
}

GSErr fileTypeHandler(const platform::FileTypeActionRecord* record) {
  Addon* addon = theAddon();
  if (!addon || !record) return kNoError;
  try {
    auto file = std::make_unique<DataFile>(CadString(record->path ? record->path : ""));
    FileEvent event(record->action, record->refCon, std::move(file), CadString(record->name ? record->name : ""));
    addon->dispatch(event);
    // A save that wrote nothing must not reach the host as a success.
    return event.result();
  } catch (...) {
    addon->reportUnexpectedError();
  }
  return platform::kErrGeneral;
}

}  // namespace callbacks
}  // namespace lunvik
