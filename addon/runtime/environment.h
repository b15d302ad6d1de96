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

// The one environment object of the process.
class Environment {
 public:
  static Environment& instance();

  HostInterface& hostInterface() { return host_; }

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

 private:
  Environment() = default;
  HostInterface host_;
};

// The add-on's own resource module (generated from addon/resources at build time).
const platform::ResourceModule& addonResourceModule();

}  // namespace lunvik
