// The add-on's second global service: the host table, string lists, embedded resources,
// special folders and group suspension.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/cad_string.h"
#include "runtime/host_interface.h"

namespace lunvik {

// The payload of an embedded resource.
using ResourceBuffer = std::vector<unsigned char>;

class ModelRegistry;

// The one environment object of the process.
class Environment {
 public:
  static Environment& instance();
  ~Environment();

  // The framework's kind registries of the host model (element creators, memo loading).
  ModelRegistry& models();

  HostInterface& hostInterface() { return host_; }
  // Takes a host's table (SetImportedFuncAddrs); handlers installed once per host process
  // count afresh for a new host.
  void attachHost(const platform::HostFunctionTable& table);
  // Forgets the host's table.
  void detachHost();

  // The text of item index (1-based) of the add-on's string list listId; empty when missing.
  CadString string(int32_t listId, int32_t index) const;
  // The payload of the add-on's embedded resource: the bytes after its 32-bit little-endian
  // length; null when the resource is missing or shorter than four bytes.
  std::unique_ptr<ResourceBuffer> resource(uint32_t type, int32_t id) const;
  // The whole embedded resource as stored (no length prefix removed); null when missing.
  std::unique_ptr<ResourceBuffer> rawResource(uint32_t type, int32_t id) const;
  // The platform code written into module-data records.
  static constexpr uint16_t platformCode() { return 0x5757; }
  // The user's application-data folder with a trailing backslash; empty when unknown.
  CadString applicationDataFolder() const;
  // A host special folder ('GSPF' with kind 7 or 5); null on failure.
  std::unique_ptr<CadString> hostFolder(int32_t kind) const;
  // The host's group-suspension state.
  bool groupsSuspended() const;
  // Switches group suspension on or off; does nothing when it is already so.
  void setGroupsSuspended(bool on) const;

  // Starts the framework: the host's memory manager and the kind registries.
  platform::GSErr startFramework();
  // Stops the framework in the reverse order.
  void stopFramework();
  // True between startFramework and stopFramework.
  bool frameworkStarted() const { return started_; }

  // Marks the project notifications as installed; false when they already were (they are
  // installed once per process).
  bool claimProjectEvents();
  // Counts an installation of the module-data merge handler; true only for the first.
  bool claimMergeHandler() { return mergeHandlerInstalls_++ == 0; }

 private:
  Environment() = default;
  HostInterface host_;
  bool started_ = false;
  bool projectEventsCaught_ = false;
  int mergeHandlerInstalls_ = 0;
  std::unique_ptr<ModelRegistry> models_;
};

// The add-on's own resource module (generated from addon/resources at build time).
const platform::ResourceModule& addonResourceModule();

}  // namespace lunvik
