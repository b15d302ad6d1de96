// The project's loaded libraries as the host keeps them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/host_types.h"
#include "platform/library_records.h"
#include "runtime/cad_string.h"

namespace lunvik {

class Project;

// The loaded libraries: their folders and the library parts the host finds in them.
class Library {
 public:
  explicit Library(Project* project = nullptr) : project_(project) {}
  virtual ~Library() = default;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // Drops the cached folder list.
  virtual void releaseCaches();
  // The text "Library".
  virtual CadString name() const { return "Library"; }
  // The index of the part called name (of type when type is not 0); 0 when none. type
  // receives the found part's type.
  virtual int32_t indexOf(const CadString& name, int32_t& type);
  // The number of loaded library parts.
  virtual int32_t count();
  // The code of the last failing host call.
  virtual platform::GSErr lastError() const { return lastError_; }
  virtual void setLastError(platform::GSErr code) { lastError_ = code; }

  // The part's record and file location (index from 1); false when the host has no such part.
  bool partRecord(int32_t index, platform::LibraryPartRecord& record, CadString& location);
  // The loaded library folders (full paths), in the host's order.
  const std::vector<CadString>& folders();
  // The position of the host's default folder in folders(), -1 when none.
  int32_t defaultFolder() { folders(); return defaultFolder_; }
  // Adds a folder to the loaded libraries; false when it does not exist or the host refuses.
  bool addFolder(const CadString& folder);
  // True when folder is one of the loaded library folders (separators and a trailing one
  // ignored).
  bool hasFolder(const CadString& folder);

  Project* project() const { return project_; }

 private:
  Project* project_;
  std::unique_ptr<std::vector<CadString>> folders_;
  int32_t defaultFolder_ = -1;
  platform::GSErr lastError_ = platform::kNoError;
};

// A path with every separator as '/' and no trailing one, for comparing locations.
CadString normalisedPath(const CadString& path);

}  // namespace lunvik
