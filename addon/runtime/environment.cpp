#include "runtime/environment.h"

#include <algorithm>
#include <cstring>

#include "interaction/dialog.h"
#include "model/element.h"
#include "runtime/memory.h"

namespace lunvik {

using platform::HostFunctionTable;

Environment& Environment::instance() {
  static Environment environment;
  return environment;
}

namespace {

// Makes the add-on's resource module current for its lifetime, then restores the previous one.
class ResourceModuleScope {
 public:
  explicit ResourceModuleScope(const HostInterface& host)
      : set_(host.operation(&HostFunctionTable::RSSetResourceModule)) {
    if (set_) previous_ = set_(&addonResourceModule());
  }
  ~ResourceModuleScope() {
    if (set_) set_(previous_);
  }
  ResourceModuleScope(const ResourceModuleScope&) = delete;
  ResourceModuleScope& operator=(const ResourceModuleScope&) = delete;

 private:
  decltype(HostFunctionTable::RSSetResourceModule) set_;
  const platform::ResourceModule* previous_ = nullptr;
};

}  // namespace

CadString Environment::string(int32_t listId, int32_t index) const {
  auto get = host_.operation(&HostFunctionTable::RSGetIndString);
  if (!get) return CadString();
  ResourceModuleScope scope(host_);
  char buffer[2048];
  buffer[0] = '\0';
  if (!get(listId, index, buffer, int32_t(sizeof buffer))) return CadString();
  buffer[sizeof buffer - 1] = '\0';
  return CadString(buffer);
}

std::unique_ptr<ResourceBuffer> Environment::rawResource(uint32_t type, int32_t id) const {
  auto load = host_.operation(&HostFunctionTable::RSLoadResource);
  if (!load) return nullptr;
  platform::GSHandle handle;
  {
    ResourceModuleScope scope(host_);
    handle = load(type, id);
  }
  if (!handle) return nullptr;
  HandleOwner owner(handle);
  std::size_t size = handleSize(handle);
  auto buffer = std::make_unique<ResourceBuffer>(size);
  if (size) std::memcpy(buffer->data(), *handle, size);
  return buffer;
}

std::unique_ptr<ResourceBuffer> Environment::resource(uint32_t type, int32_t id) const {
  auto raw = rawResource(type, id);
  if (!raw || raw->size() < 4) return nullptr;
  const unsigned char* p = raw->data();
  std::size_t length = std::size_t(p[0]) | (std::size_t(p[1]) << 8) | (std::size_t(p[2]) << 16) |
                       (std::size_t(p[3]) << 24);
  // A length that runs past the stored bytes is cut to what is there.
  length = std::min(length, raw->size() - 4);
  return std::make_unique<ResourceBuffer>(p + 4, p + 4 + length);
}

CadString Environment::applicationDataFolder() const {
  auto get = host_.operation(&HostFunctionTable::SysGetSpecialFolder);
  if (!get) return CadString();
  char path[4096];
  path[0] = '\0';
  if (get(platform::kSystemFolderAppData, path, int32_t(sizeof path)) != platform::kNoError) return CadString();
  path[sizeof path - 1] = '\0';
  CadString folder(path);
  if (folder.empty()) return folder;
  char last = folder[folder.length() - 1];
  if (last != '\\' && last != '/') folder += '\\';
  return folder;
}

std::unique_ptr<CadString> Environment::hostFolder(int32_t kind) const {
  char path[4096];
  path[0] = '\0';
  int32_t size = int32_t(sizeof path);
  if (host_.call(&HostFunctionTable::HostEnvironment, platform::fourcc("GSPF"), &kind, path, &size) !=
      platform::kNoError)
    return nullptr;
  path[sizeof path - 1] = '\0';
  return std::make_unique<CadString>(path);
}

bool Environment::groupsSuspended() const {
  int32_t suspended = 0;
  if (host_.call(&HostFunctionTable::HostEnvironment, platform::fourcc("ISSG"), &suspended, nullptr, nullptr) !=
      platform::kNoError)
    return false;
  return suspended != 0;
}

void Environment::setGroupsSuspended(bool on) const {
  if (groupsSuspended() == on) return;
  // The element tool works on the current database; keep the user's, by its whole identity
  // (kind, index and number), so that the very view comes back.
  platform::DatabaseRecord current{};
  bool saved = host_.call(&HostFunctionTable::HostDatabase, platform::fourcc("GDAT"), &current.kind, &current.index,
                          &current.number) == platform::kNoError;
  host_.call(&HostFunctionTable::HostElementTool, static_cast<const void*>(nullptr), 0, platform::fourcc("SUSP"));
  if (saved) host_.call(&HostFunctionTable::HostDatabase, platform::fourcc("CDAT"), &current, nullptr, nullptr);
}

void Environment::attachHost(const platform::HostFunctionTable& table) {
  host_.setTable(table);
  projectEventsCaught_ = false;
  mergeHandlerInstalls_ = 0;
}

void Environment::detachHost() {
  host_.resetTable();
  projectEventsCaught_ = false;
  mergeHandlerInstalls_ = 0;
}

Environment::~Environment() = default;

ModelRegistry& Environment::models() {
  if (!models_) models_ = std::make_unique<ModelRegistry>();
  return *models_;
}

platform::GSErr Environment::startFramework() {
  if (auto own = host_.operation(&HostFunctionTable::RSOwnResourceModule)) own(&addonResourceModule());
  if (auto init = host_.operation(&HostFunctionTable::MemInit)) {
    platform::GSErr err = init(64);
    if (err != platform::kNoError) return err;
  }
  interface_ = std::make_unique<InterfaceRegistry>();
  models().creators.registerFramework();
  started_ = true;
  return platform::kNoError;
}

void Environment::stopFramework() {
  if (!started_) return;
  started_ = false;
  interface_.reset();
  models().creators.clear();
  if (auto exit = host_.operation(&HostFunctionTable::MemExit)) exit();
}

bool Environment::claimProjectEvents() {
  if (projectEventsCaught_) return false;
  projectEventsCaught_ = true;
  return true;
}

}  // namespace lunvik
