// An add-on the host loads: a shared library opened by path, or the exports of a linked one.
#pragma once

#include <memory>
#include <string>

#include "platform/host_table.h"

namespace standin {

// The add-on's two exports and, for a library opened by path, its handle.
class AddonModule {
 public:
  // Opens the shared library at path; null with error set when it cannot be opened or lacks
  // either export.
  static std::unique_ptr<AddonModule> open(const std::string& path, std::string& error);
  // An add-on linked into this program.
  AddonModule(platform::GetExportedFuncAddrsFn getExported, platform::SetImportedFuncAddrsFn setImported,
              std::string name = "linked add-on");
  ~AddonModule();
  AddonModule(const AddonModule&) = delete;
  AddonModule& operator=(const AddonModule&) = delete;

  platform::GetExportedFuncAddrsFn getExported() const { return getExported_; }
  platform::SetImportedFuncAddrsFn setImported() const { return setImported_; }
  const std::string& name() const { return name_; }

 private:
  platform::GetExportedFuncAddrsFn getExported_;
  platform::SetImportedFuncAddrsFn setImported_;
  std::string name_;
  void* library_ = nullptr;
};

}  // namespace standin
