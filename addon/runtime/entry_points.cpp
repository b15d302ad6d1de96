// The add-on's two exports and the four entry points the host reaches through them.
#include <cstring>

#include "platform/host_table.h"
#include "runtime/addon.h"
#include "runtime/alert.h"
#include "runtime/environment.h"
#include "runtime/host_callbacks.h"

namespace lunvik {

using platform::GSErr;
using platform::HostFunctionTable;
using platform::kNoError;

namespace {

constexpr int32_t kAddonStrings = 32528;

// Reports an exception that escaped an entry point: through the add-on when there is one.
void reportEscaped() {
  try {
    if (Addon* addon = theAddon()) addon->reportUnexpectedError();
    else ErrorAlert().show(Environment::instance().string(kAddonStrings, 7));
  } catch (...) {
    // Nothing more can be done without risking the host.
  }
}

template <typename F>
GSErr guarded(F body) {
  try {
    return body();
  } catch (...) {
    reportEscaped();
    return platform::kErrGeneral;
  }
}

// Starts the framework and builds, stores and sets up the product's add-on object.
GSErr createAddon() {
  GSErr err = Environment::instance().startFramework();
  if (err != kNoError) return err;
  Addon* addon = newProductAddon();
  setTheAddon(addon);
  addon->setup();
  return kNoError;
}

void destroyAddon() {
  Addon* addon = theAddon();
  setTheAddon(nullptr);
  delete addon;
  Environment::instance().stopFramework();
}

void copyString(char* out, std::size_t size, const CadString& text) {
  CadString cut = text.truncated(size - 1);
  std::memcpy(out, cut.c_str(), cut.length() + 1);
}

GSErr checkEnvironment(platform::EnvironmentRecord* record) {
  if (!host().hasTable()) return 0;
  return guarded([&]() -> GSErr {
    GSErr err = createAddon();
    if (err != kNoError) return err;
    GSErr answer = platform::kEnvDontRegister;
    if (!record || record->application == 0) {
      answer = platform::kEnvNoHost;
    } else {
      copyString(record->name, sizeof record->name, Environment::instance().string(kAddonStrings, 2));
      copyString(record->description, sizeof record->description, Environment::instance().string(kAddonStrings, 3));
      if (theAddon()->runEnvironmentPass()) answer = platform::kEnvRegister;
    }
    destroyAddon();
    return answer;
  });
}

GSErr registerInterface() {
  if (!host().hasTable()) return platform::kErrNoTable;
  return guarded([&]() -> GSErr {
    host().call(&HostFunctionTable::HostRegisterBuiltInLibrary);
    GSErr err = host().call(&HostFunctionTable::HostRegisterSubtypeTool, platform::fourcc("Vrnh"), 131, 1, 32540, 32602,
                      32603, 0, 127, 131);
    if (err != kNoError) return err;
    if (!theAddon()) {
      err = createAddon();
      if (err != kNoError) return err;
    }
    theAddon()->runRegistrationPass();
    return kNoError;
  });
}

GSErr initialise(platform::HostToken token) {
  if (!host().hasTable()) return platform::kErrNoTable;
  return guarded([&]() -> GSErr {
    host().setToken(token);
    Addon* addon = theAddon();
    if (!addon) return kNoError;
    host().call(&HostFunctionTable::HostKeepInMemory, true);
    if (Environment::instance().claimProjectEvents())
      host().call(&HostFunctionTable::HostCatchProjectEvents, 0xFFF, &callbacks::projectHandler);
    if (Environment::instance().claimMergeHandler())
      host().call(&HostFunctionTable::HostInstallModuleDataMergeHandler, &callbacks::moduleDataMergeHandler);
    addon->runInitialisationPass();
    return kNoError;
  });
}

GSErr release() {
  if (!host().hasTable()) return platform::kErrNoTable;
  GSErr result = guarded([&]() -> GSErr {
    if (theAddon()) destroyAddon();
    return kNoError;
  });
  host().setToken(0);
  return result;
}

}  // namespace
}  // namespace lunvik

extern "C" {

// Fills the host's entry record with the four entry points.
__attribute__((visibility("default"))) platform::GSErr GetExportedFuncAddrs(platform::ExportedFuncRecord* record) {
  if (!record) return platform::kErrNullArgument;
  std::memset(record, 0, sizeof *record);
  record->signature = platform::kExportSignature;
  record->checkEnvironment = &lunvik::checkEnvironment;
  record->registerInterface = &lunvik::registerInterface;
  record->initialise = &lunvik::initialise;
  record->release = &lunvik::release;
  record->version = platform::kExportVersion;
  return platform::kNoError;
}

// Copies the host's function table.
__attribute__((visibility("default"))) platform::GSErr SetImportedFuncAddrs(const platform::HostFunctionTable* table) {
  if (!table) return platform::kErrNullArgument;
  lunvik::Environment::instance().attachHost(*table);
  return platform::kNoError;
}

}  // extern "C"
