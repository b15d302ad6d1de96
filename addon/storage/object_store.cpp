#include "storage/object_store.h"

#include <cstring>

#include "runtime/addon.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"
#include "storage/data_buffer.h"
#include "storage/legacy_module_data.h"
#include "storage/xml_reader.h"
#include "storage/xml_writer.h"

namespace lunvik {

using platform::HostFunctionTable;

ObjectStore::ObjectStore(const CadString& name) : timestamp_(hostTime()), packages_(std::make_unique<PackageList>(name)) {}

ObjectStore::~ObjectStore() = default;

void ObjectStore::publishChange(uint32_t code) const {
  if (Addon* addon = theAddon()) {
    Event event(EventSpec(code, 0));
    addon->takeEvent(event);
  }
}

void ObjectStore::add(const Package& package, bool notify) {
  uint32_t code = package.code();
  if (get(code) != &package) packages_->packages().put(code, package.clone());
  if (notify) publishChange(code);
}

void ObjectStore::add(std::unique_ptr<Package> package, bool notify) {
  if (!package) return;
  uint32_t code = package->code();
  packages_->packages().put(code, package.release());
  if (notify) publishChange(code);
}

void ObjectStore::empty() {
  packages_ = std::make_unique<PackageList>(CadString(packages_->tagName()));
  timestamp_ = hostTime();
}

void ObjectStore::resetAll() {
  for (auto& entry : packages_->packages()) entry.second->clear();
}

bool ObjectStore::writeText(std::string& text, const std::vector<uint32_t>* codes) {
  DataBufferOut out;
  XMLWriter writer;
  auto writeOne = [&](Package& p) { return writer.write(p, out, false); };
  if (codes) {
    for (uint32_t code : *codes)
      if (Package* p = get(code); p && !writeOne(*p)) return false;
  } else {
    for (auto& entry : packages_->packages())
      if (!writeOne(*entry.second)) return false;
  }
  text = out.takeBytes();
  return true;
}

platform::GSHandle ObjectStore::write(const std::vector<uint32_t>* codes) {
  std::string text;
  if (!writeText(text, codes)) return nullptr;
  return newHandle(text.data(), text.size());
}

bool ObjectStore::read(const char* data, std::size_t size, bool notify) {
  unread_ = false;
  unreadPackage_.clear();
  if (!data) {
    empty();
    return true;
  }
  for (auto& entry : packages_->packages()) entry.second->clear();
  packages_->setReading(CadString());
  bool ok;
  if (isLegacyModuleData(data, size)) {
    uint32_t time = timestamp_;
    ok = importLegacyModuleData(data, size, *packages_, time);
    if (ok) timestamp_ = time;
  } else {
    XMLReader reader;
    ok = reader.read(*packages_, data, size);
  }
  if (!ok) {
    unread_ = true;
    unreadPackage_ = packages_->reading();
    empty();
    return false;
  }
  if (notify)
    for (auto& entry : packages_->packages()) publishChange(entry.first);
  return true;
}

bool ObjectStore::readHandle(platform::GSHandle block, bool notify) {
  if (!block) return read(nullptr, 0, notify);
  return read(*block, handleSize(block), notify);
}

void ObjectStore::merge(const ObjectStore& other) {
  for (const auto& entry : other.packages_->packages()) {
    if (Package* mine = get(entry.first)) mine->merge(*entry.second);
    else add(*entry.second, false);
  }
}

bool ObjectStore::save() {
  HandleOwner block(write());
  if (!block.get()) return false;
  platform::ModuleDataRecord record{};
  record.dataVersion = 1;
  record.platform = 0x5757;
  record.dataHdl = block.get();
  return host().call(&HostFunctionTable::HostStoreModuleData, &record) == platform::kNoError;
}

bool ObjectStore::load(bool notify) {
  platform::ModuleDataRecord record{};
  platform::GSErr result = host().call(&HostFunctionTable::HostGetModuleData, &record);
  if (result != platform::kNoError || !record.dataHdl) {
    // The host answers kErrBadIndex for a project without module data; any other failure
    // leaves data it holds unread.
    unread_ = result != platform::kNoError && result != platform::kErrBadIndex;
    unreadPackage_.clear();
    empty();
    return false;
  }
  HandleOwner block(record.dataHdl);
  return readHandle(block.get(), notify);
}

}  // namespace lunvik
