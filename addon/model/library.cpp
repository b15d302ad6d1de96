#include "model/library.h"

#include <cstring>

#include "model/directory.h"
#include "model/element_link.h"
#include "runtime/environment.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"
#include "storage/data_file.h"

namespace lunvik {

using platform::HostFunctionTable;

CadString normalisedPath(const CadString& path) {
  std::string p = path.str();
  for (char& c : p)
    if (c == '\\') c = '/';
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return CadString(p);
}

void Library::releaseCaches() { folders_.reset(); }

int32_t Library::indexOf(const CadString& name, int32_t& type) {
  platform::LibraryPartRecord record{};
  record.typeID = type;
  platform::toWide(name.truncated(255).c_str(), record.name, 256);
  platform::GSErr err = host().call(&HostFunctionTable::HostSearchLibraryPart, &record);
  disposeHandle(record.location);
  if (err != platform::kNoError) {
    lastError_ = err;
    return 0;
  }
  type = record.typeID;
  return record.index;
}

int32_t Library::count() {
  int32_t n = 0;
  platform::GSErr err = host().call(&HostFunctionTable::HostGetLibraryPartCount, &n);
  if (err != platform::kNoError) {
    lastError_ = err;
    return 0;
  }
  return n > 0 ? n : 0;
}

bool Library::partRecord(int32_t index, platform::LibraryPartRecord& record, CadString& location) {
  platform::LibraryPartRecord r{};
  r.index = index;
  platform::GSErr err = host().call(&HostFunctionTable::HostGetLibraryPart, &r);
  if (err != platform::kNoError) {
    lastError_ = err;
    return false;
  }
  HandleOwner owner(r.location);
  std::size_t size = handleSize(r.location);
  location = r.location && size ? CadString(*r.location, strnlen(*r.location, size)) : CadString();
  r.location = nullptr;
  record = r;
  return true;
}

const FileList& Library::folders() {
  if (folders_) return *folders_;
  folders_ = std::make_unique<FileList>();
  defaultFolder_ = -1;
  int32_t count = 0, defaultIndex = -1;
  platform::GSHandle paths = nullptr;
  platform::GSErr err = host().call(&HostFunctionTable::HostEnvironment, platform::fourcc("GLIB"), &count, &paths,
                                    &defaultIndex);
  HandleOwner owner(paths);
  if (err != platform::kNoError) {
    lastError_ = err;
    return *folders_;
  }
  auto kind = host().operation(&HostFunctionTable::IOPathKind);
  std::size_t size = handleSize(paths);
  const char* p = paths ? *paths : nullptr;
  // As many paths as the host counts and its block holds.
  for (std::size_t at = 0; p && at < size && int32_t(folders_->size()) < count;) {
    std::size_t length = strnlen(p + at, size - at);
    CadString path(p + at, length);
    if (kind && kind(path.c_str()) == 2) folders_->push_back(std::make_unique<Directory>(path));
    else folders_->push_back(std::make_unique<DataFile>(path));
    at += length + 1;
  }
  if (defaultIndex >= 0 && defaultIndex < int32_t(folders_->size())) defaultFolder_ = defaultIndex;
  return *folders_;
}

bool Library::addFolder(const CadString& folder) {
  platform::GSErr err =
      host().call(&HostFunctionTable::HostEnvironment, platform::fourcc("ALIB"), const_cast<char*>(folder.c_str()),
                  nullptr, nullptr);
  folders_.reset();
  if (err != platform::kNoError) {
    lastError_ = err;
    return false;
  }
  return true;
}

bool Library::hasFolder(const CadString& folder) {
  CadString wanted = normalisedPath(folder);
  for (const auto& f : folders())
    if (normalisedPath(f->path()) == wanted) return true;
  return false;
}

}  // namespace lunvik

namespace lunvik {

CadString partGuidText(const PartGuid& guid) {
  return CadString("{" + guidText(guid.main).str() + "}-{" + guidText(guid.revision).str() + "}");
}

bool parsePartGuid(const CadString& text, PartGuid& guid) {
  const std::string& t = text.str();
  // "{" 36 "}-{" 36 "}"
  if (t.size() != 77 || t[0] != '{' || t.compare(37, 3, "}-{") != 0 || t[76] != '}') return false;
  PartGuid out;
  out.main = guidFromText(CadString(t.substr(1, 36)));
  out.revision = guidFromText(CadString(t.substr(40, 36)));
  if (partGuidText(out).lower() != text.lower()) return false;
  guid = out;
  return true;
}

int32_t Library::indexOf(const PartGuid& guid, int32_t& type) { return indexOfId(partGuidText(guid), type); }

int32_t Library::indexOfId(const CadString& idText, int32_t& type) {
  platform::LibraryPartRecord record{};
  record.typeID = type;
  std::strncpy(record.ownId, idText.truncated(sizeof record.ownId - 1).c_str(), sizeof record.ownId - 1);
  platform::GSErr err = host().call(&HostFunctionTable::HostSearchLibraryPart, &record);
  disposeHandle(record.location);
  if (err != platform::kNoError) {
    lastError_ = err;
    return 0;
  }
  type = record.typeID;
  return record.index;
}

int32_t Library::refinedType(const platform::LibraryPartRecord& record) {
  if (!record.ownId[0]) return record.typeID;
  for (const SubtypeEntry& subtype : kSubtypeAncestry) {
    int32_t descends = 0;
    platform::GSErr err = host().call(&HostFunctionTable::HostGoodies, platform::fourcc("CLPS"),
                                      const_cast<char*>(record.ownId), const_cast<char*>(subtype.identifier), &descends);
    if (err == platform::kNoError && descends) return subtype.type;
  }
  return record.typeID;
}

std::unique_ptr<ComponentSource> Library::getComponent(ComponentLink& link, const Filter* filter) {
  if (link.type() == 0 && link.index() == 0) return nullptr;
  platform::LibraryPartRecord record{};
  record.typeID = link.type();
  record.index = link.index();
  platform::GSErr err = host().call(&HostFunctionTable::HostGetLibraryPart, &record);
  HandleOwner location(record.location);
  if (err != platform::kNoError) {
    lastError_ = err;
    return nullptr;
  }
  if (filter) {
    std::string name;
    for (std::size_t i = 0; i < 256 && record.name[i]; ++i) name += record.name[i] < 256 ? char(record.name[i]) : '?';
    if (!filter->pattern.matches(CadString(name))) return nullptr;
    if (filter->type != 0 && filter->type != (record.typeID != 0 ? record.typeID : link.type())) return nullptr;
  }
  if (record.typeID != 0) link.setType(record.typeID);
  else record.typeID = link.type();
  if (!link.library()) link.setLibrary(this);
  record.typeID = refinedType(record);
  std::unique_ptr<ComponentSource> source;
  ComponentLink made(record.typeID, record.index, link.library());
  for (const SourceCreatorEntry& c : creators_)
    if (!source && c.type == record.typeID) source = c.create(record, made);
  for (const SourceCreatorEntry& c : kSourceCreators)
    if (!source && c.type == record.typeID) source = c.create(record, made);
  if (source && filter && !filter->accept(*source)) return nullptr;
  return source;
}

std::unique_ptr<ComponentSource> Library::findNext(ComponentLink& link, bool forward, Filter* filter) {
  if (filter && filter->type != 0) link.setType(filter->type);
  int32_t n = filter && filter->reuseCount && filter->lastCount > 0 ? filter->lastCount : count();
  int32_t index = link.index();
  for (;;) {
    if (forward ? index >= n : index <= 1) return nullptr;
    index += forward ? 1 : -1;
    ComponentLink probe(link.type(), index, this);
    std::unique_ptr<ComponentSource> source = getComponent(probe, filter);
    if (source) {
      if (filter) filter->lastCount = n;
      link = source->link();
      return source;
    }
  }
}

bool Library::writeSection(ParametricSource& source, int32_t index, uint32_t code, platform::GSHandle data,
                           bool creating) {
  platform::LibraryPartSectionHeader header{code, 0, 0};
  platform::GSErr err = platform::kNoError;
  HandleOwner built;
  if (code == kSectionParameters) {
    // The parameter definitions are prepared from the record, the section data and the details.
    built.reset(data);
    if (!data) {
      lastError_ = source.lastError() ? source.lastError() : platform::kErrGeneral;
      return false;
    }
    err = host().call(&HostFunctionTable::HostEndLibraryPartSection, &source.record(), data, &source.details());
  }
  if (err == platform::kNoError) {
    err = creating ? host().call(&HostFunctionTable::HostWriteLibraryPartSection, &header, data)
                   : host().call(&HostFunctionTable::HostAddLibraryPartSection, index, &header, data);
  }
  if (err != platform::kNoError) {
    lastError_ = err;
    return false;
  }
  return true;
}

bool Library::save(ComponentSource& any) {
  auto* source = dynamic_cast<ParametricSource*>(&any);
  if (!source) return false;
  ComponentSection& sections = source->sections();
  if (!sections.loaded() && source->index() != 0) {
    if (!sections.load()) {
      lastError_ = source->lastError();
      return false;
    }
  }
  source->parameters();
  bool existing = source->index() != 0 && source->link().library() == this;
  int32_t index = source->index();
  if (!existing) {
    int32_t on = 1, off = 0;
    platform::GSErr err = host().call(&HostFunctionTable::HostEnvironment, platform::fourcc("OWLP"), &on, nullptr, nullptr);
    if (err == platform::kNoError) err = host().call(&HostFunctionTable::HostCreateLibraryPart, &source->record());
    platform::GSErr offErr =
        host().call(&HostFunctionTable::HostEnvironment, platform::fourcc("OWLP"), &off, nullptr, nullptr);
    if (err == platform::kNoError) err = offErr;
    if (err != platform::kNoError) {
      lastError_ = err;
      return false;
    }
  }
  // Every section in map order, the parameters first.
  if (!writeSection(*source, index, kSectionParameters, sections.get(kSectionParameters), !existing)) return false;
  for (const auto& entry : sections.map())
    if (!writeSection(*source, index, entry.first, entry.second, !existing)) return false;

  platform::LibraryPartRecord record{};
  platform::GSErr err;
  if (existing) {
    record.typeID = source->record().typeID;
    record.index = index;
    err = host().call(&HostFunctionTable::HostGetLibraryPart, &record);
  } else {
    err = host().call(&HostFunctionTable::HostSaveLibraryPart, &record);
  }
  HandleOwner location(record.location);
  if (err != platform::kNoError) {
    lastError_ = err;
    return false;
  }
  source->setOwnId(CadString(record.ownId, strnlen(record.ownId, sizeof record.ownId)));
  source->setParentId(CadString(record.parentId, strnlen(record.parentId, sizeof record.parentId)));
  source->setValue1040(record.value1040);
  if (!existing) source->setLink(ComponentLink(record.typeID, record.index, this));
  return true;
}

CadString Library::builtInIdentifier(int32_t resourceId) {
  auto setModule = host().operation(&HostFunctionTable::RSSetResourceModule);
  const platform::ResourceModule* previous = setModule ? setModule(&addonResourceModule()) : nullptr;
  char id[128] = {};
  platform::GSErr err = host().call(&HostFunctionTable::HostGoodies, platform::fourcc("GLUI"), &resourceId, id, nullptr);
  if (setModule) setModule(previous);
  if (err != platform::kNoError) {
    lastError_ = err;
    return CadString();
  }
  return CadString(id, strnlen(id, sizeof id));
}

std::unique_ptr<FileList> Library::folderList() {
  auto list = std::make_unique<FileList>();
  for (const auto& f : folders()) list->push_back(f->cloneFile());
  return list;
}

}  // namespace lunvik
