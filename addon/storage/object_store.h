// The store of preference packages.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/host_types.h"
#include "runtime/cad_string.h"
#include "runtime/containers.h"
#include "storage/package.h"

namespace lunvik {

// A named store of packages, one per code.
class ObjectStore {
 public:
  explicit ObjectStore(const CadString& name) : name_(name) {}
  virtual ~ObjectStore() = default;
  ObjectStore(const ObjectStore&) = delete;
  ObjectStore& operator=(const ObjectStore&) = delete;

  // The store's name.
  const CadString& name() const { return name_; }
  // Takes package, replacing the package of the same code.
  void add(std::unique_ptr<Package> package) {
    if (package) packages_.put(package->code(), package.release());
  }
  // The package of code, or null.
  Package* get(uint32_t code) const { return packages_.get(code); }
  // Deletes every package.
  void empty() { packages_.clear(); }
  // Reads the packages from a block of module data; false when it does not read.
  bool readHandle(platform::GSHandle) { return false; }
  // The number of packages.
  std::size_t count() const { return packages_.size(); }

 private:
  CadString name_;
  Map<uint32_t, Package> packages_;
};

}  // namespace lunvik
