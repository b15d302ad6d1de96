// The project's loaded libraries as the host keeps them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/component_link.h"
#include "model/component_source.h"
#include "model/file.h"
#include "model/search_string.h"
#include "platform/element_records.h"
#include "platform/host_types.h"
#include "platform/library_records.h"
#include "runtime/cad_string.h"

namespace lunvik {

class Project;

// A library part's own identifier: its main GUID and its revision GUID, written
// "{main}-{revision}" (8-4-4-4-12 upper-case hex digits each).
struct PartGuid {
  platform::Guid main{};
  platform::Guid revision{};
};

// The identifier text of a part GUID.
CadString partGuidText(const PartGuid& guid);
// Parses an identifier text (letter case ignored); false for any other text.
bool parsePartGuid(const CadString& text, PartGuid& guid);

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
  // The index of the part whose own identifier is guid (of type when not 0); 0 when none.
  // type receives the found part's type.
  virtual int32_t indexOf(const PartGuid& guid, int32_t& type);
  // The index of the part with this own identifier text (of type when not 0); 0 when none.
  virtual int32_t indexOfId(const CadString& idText, int32_t& type);
  // Writes a parametric source into the library: over its part when it has an index in this
  // library, else as a new part at its location. False (lastError set) on the first failing
  // step; other sources are refused.
  virtual bool save(ComponentSource& source);
  // The number of loaded library parts.
  virtual int32_t count();
  // The code of the last failing host call.
  virtual platform::GSErr lastError() const { return lastError_; }
  virtual void setLastError(platform::GSErr code) { lastError_ = code; }

  // What findNext and getComponent accept: a name pattern, a type (0 any) and a test.
  class Filter {
   public:
    Filter() = default;
    explicit Filter(int32_t type, SearchString pattern = SearchString(), bool reuseCount = false)
        : pattern(std::move(pattern)), type(type), reuseCount(reuseCount) {}
    virtual ~Filter() = default;
    // True when the source is wanted.
    virtual bool accept(const ComponentSource&) const { return true; }

    SearchString pattern;
    int32_t type = 0;
    bool reuseCount = false;
    int32_t lastCount = 0;  // the part count of the last find
  };

  // The source of the part next to link's (forward or backward) that the filter accepts;
  // null at either end.
  virtual std::unique_ptr<ComponentSource> findNext(ComponentLink& link, bool forward, Filter* filter);
  // A new source for the link, or null: the part's type is refined by its ancestry first and
  // the source comes from the first creator of that type.
  virtual std::unique_ptr<ComponentSource> getComponent(ComponentLink& link, const Filter* filter);
  // getComponent without a filter.
  std::unique_ptr<ComponentSource> getElement(ComponentLink& link) { return getComponent(link, nullptr); }
  // Adds an add-on source creator for a type; add-on creators are asked before the
  // framework's.
  void addCreator(int32_t type, SourceCreator creator) { creators_.push_back({type, creator}); }
  // The identifier text of a library part in the add-on's own resources; empty on failure.
  CadString builtInIdentifier(int32_t resourceId);
  // The type the part's ancestry gives (the record's own when it descends from no subtype).
  int32_t refinedType(const platform::LibraryPartRecord& record);
  // A copy of folders().
  std::unique_ptr<FileList> folderList();

  // The part's record and file location (index from 1); false when the host has no such part.
  bool partRecord(int32_t index, platform::LibraryPartRecord& record, CadString& location);
  // The loaded library locations ('GLIB'), in the host's order: a Directory for each folder,
  // a DataFile for anything else. Loaded on first use and kept until releaseCaches().
  const FileList& folders();
  // The position of the host's default location in folders(), -1 when none.
  int32_t defaultFolder() { folders(); return defaultFolder_; }
  // Adds a folder to the loaded libraries; false when it does not exist or the host refuses.
  bool addFolder(const CadString& folder);
  // True when folder is one of the loaded library folders (separators and a trailing one
  // ignored).
  bool hasFolder(const CadString& folder);

  Project* project() const { return project_; }

 private:
  bool writeSection(ParametricSource& source, int32_t index, uint32_t code, platform::GSHandle data, bool creating);

  Project* project_;
  std::vector<SourceCreatorEntry> creators_;
  std::unique_ptr<FileList> folders_;
  int32_t defaultFolder_ = -1;
  platform::GSErr lastError_ = platform::kNoError;
};

// A path with every separator as '/' and no trailing one, for comparing locations.
CadString normalisedPath(const CadString& path);

}  // namespace lunvik
