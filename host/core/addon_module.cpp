#include "host/core/addon_module.h"

#include <dlfcn.h>

namespace standin {

std::unique_ptr<AddonModule> AddonModule::open(const std::string& path, std::string& error) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    error = "cannot load the add-on " + path + ": " + (why ? why : "unknown error");
    return nullptr;
  }
  auto getExported = reinterpret_cast<platform::GetExportedFuncAddrsFn>(dlsym(library, "GetExportedFuncAddrs"));
  auto setImported = reinterpret_cast<platform::SetImportedFuncAddrsFn>(dlsym(library, "SetImportedFuncAddrs"));
  if (!getExported || !setImported) {
    error = "the library " + path + " is not an add-on: it lacks GetExportedFuncAddrs or SetImportedFuncAddrs";
    dlclose(library);
    return nullptr;
  }
  auto module = std::make_unique<AddonModule>(getExported, setImported, path);
  module->library_ = library;
  return module;
}

AddonModule::AddonModule(platform::GetExportedFuncAddrsFn getExported, platform::SetImportedFuncAddrsFn setImported,
                         std::string name)
    : getExported_(getExported), setImported_(setImported), name_(std::move(name)) {}

AddonModule::~AddonModule() {
  if (library_) dlclose(library_);
}

}  // namespace standin
