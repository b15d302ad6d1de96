#include "model/library.h"

#include <cstring>

#include "runtime/host_interface.h"
#include "runtime/memory.h"

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
  return n;
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

const std::vector<CadString>& Library::folders() {
  if (folders_) return *folders_;
  folders_ = std::make_unique<std::vector<CadString>>();
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
  std::size_t size = handleSize(paths);
  const char* p = paths ? *paths : nullptr;
  for (std::size_t at = 0; p && at < size && int32_t(folders_->size()) < count;) {
    std::size_t length = strnlen(p + at, size - at);
    folders_->push_back(CadString(p + at, length));
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
  for (const CadString& f : folders())
    if (normalisedPath(f) == wanted) return true;
  return false;
}

}  // namespace lunvik
