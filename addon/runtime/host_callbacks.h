// The handlers the add-on installs with the host; each turns a callback into an event.
#pragma once

#include "platform/host_records.h"

namespace lunvik {
namespace callbacks {

// A menu choice becomes a MenuEvent.
platform::GSErr menuHandler(int16_t menuList, int32_t itemIndex);
// A host command becomes a CommandEvent.
platform::GSErr commandHandler(platform::GSHandle parameters, platform::CommandResultRecord* result, bool silent);
// A project notification becomes a ProjectEvent.
platform::GSErr projectHandler(int32_t code, int32_t param);
// A module-data merge becomes a ModuleEvent holding both stores.
platform::GSErr moduleDataMergeHandler(int32_t mode, const char* moduleName, platform::GSHandle projectData,
                                       platform::GSHandle dataToMerge, platform::GSHandle* destination);
// An element notification becomes a DatabaseEvent (an ElementEditEvent for an edit).
platform::GSErr elementObserver(const platform::ElementNotifyRecord* record);
// A file-type action becomes a FileEvent.
platform::GSErr fileTypeHandler(const platform::FileTypeActionRecord* record);

}  // namespace callbacks
}  // namespace lunvik
