#include "model/component_section.h"

#include "model/component_source.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"

namespace lunvik {

using platform::HostFunctionTable;

ComponentSection::~ComponentSection() { clear(); }

void ComponentSection::clear() {
  for (auto& entry : sections_) disposeHandle(entry.second);
  sections_.clear();
  hasParameters_ = false;
}

bool ComponentSection::copyFrom(const ComponentSection& other) {
  clear();
  for (const auto& entry : other.sections_) {
    platform::GSHandle copy = entry.second ? newHandle(*entry.second, handleSize(entry.second)) : nullptr;
    sections_.emplace(entry.first, copy);
  }
  loaded_ = other.loaded_;
  hasParameters_ = other.hasParameters_;
  return true;
}

bool ComponentSection::load() {
  int32_t index = owner_->index();
  int32_t count = 0;
  platform::GSHandle headers = nullptr;
  platform::GSErr err = host().call(&HostFunctionTable::HostGetLibraryPartSectionList, index, &count, &headers);
  HandleOwner headersOwner(headers);
  if (err != platform::kNoError) {
    owner_->setLastError(err);
    return false;
  }
  std::size_t have = handleSize(headers) / sizeof(platform::LibraryPartSectionHeader);
  const auto* list = headers ? reinterpret_cast<const platform::LibraryPartSectionHeader*>(*headers) : nullptr;
  std::map<uint32_t, platform::GSHandle> read;
  bool parameters = false;
  bool ok = true;
  for (std::size_t i = 0; i < have && i < std::size_t(count > 0 ? count : 0); ++i) {
    if (list[i].code == kSectionParameters) {
      parameters = true;
      continue;
    }
    platform::GSHandle data = nullptr;
    err = host().call(&HostFunctionTable::HostGetLibraryPartSection, index, &list[i], &data);
    if (err == platform::kErrSectionNoData) {
      disposeHandle(data);
      data = nullptr;
    } else if (err != platform::kNoError) {
      owner_->setLastError(err);
      ok = false;
      break;
    }
    auto it = read.find(list[i].code);
    if (it != read.end()) disposeHandle(it->second);
    read[list[i].code] = data;
  }
  if (!ok) {
    for (auto& entry : read) disposeHandle(entry.second);
    return false;
  }
  clear();
  sections_ = std::move(read);
  hasParameters_ = parameters;
  loaded_ = true;
  return true;
}

int32_t ComponentSection::count() {
  if (sections_.empty() && !loaded_ && owner_->index() != 0) load();
  return int32_t(sections_.size()) + (hasParameters_ ? 1 : 0);
}

platform::GSHandle ComponentSection::section(int32_t i, uint32_t& code) {
  if (i < 0 || i >= count()) return nullptr;
  if (hasParameters_) {
    if (i == 0) {
      code = kSectionParameters;
      return get(kSectionParameters);
    }
    --i;
  }
  auto it = sections_.begin();
  std::advance(it, i);
  code = it->first;
  return it->second;
}

platform::GSHandle ComponentSection::get(uint32_t code) {
  if (code != kSectionParameters) {
    auto it = sections_.find(code);
    return it == sections_.end() ? nullptr : it->second;
  }
  ComponentParameters& parameters = owner_->parameters();
  platform::GSHandle records = parameters.write();
  if (!records) return nullptr;
  platform::GSHandle section = nullptr;
  platform::GSErr err = host().call(&HostFunctionTable::HostGetLibraryPartSectionParameters, records,
                                    owner_->sizeA(), owner_->sizeB(), &section);
  ComponentParameters::disposeRecords(records);
  if (err != platform::kNoError) {
    owner_->setLastError(err);
    return nullptr;
  }
  return section;
}

void ComponentSection::set(uint32_t code, platform::GSHandle handle) {
  if (code == kSectionParameters) {
    owner_->parameters();
    hasParameters_ = true;
    disposeHandle(handle);
    return;
  }
  auto it = sections_.find(code);
  if (it != sections_.end()) {
    if (it->second != handle) disposeHandle(it->second);
    if (!handle) {
      sections_.erase(it);
      return;
    }
    it->second = handle;
    return;
  }
  if (handle) sections_.emplace(code, handle);
}

}  // namespace lunvik
