// A stand-in host with the add-on linked into the fuzz target and loaded. It works in a
// temporary folder of its own, removed at exit: the user's application data and a copy of the
// timber library, so that whatever the add-on writes (preference files, the project-data
// macro, library parts) never lands in the repository.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "host/core/host.h"
#include "platform/addon_exports.h"

namespace fuzz {

// The working folder: config/ (application data) and library/ (the timber parts).
inline const std::string& workFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/trestlar-fuzz-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    std::string made = pattern;
    std::filesystem::create_directories(made + "/config");
    std::filesystem::copy(std::string(TRESTLAR_SOURCE_DIR) + "/library", made + "/library",
                          std::filesystem::copy_options::recursive);
    static const std::string removed = made;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(removed, ignored);
    });
    return made;
  }();
  return folder;
}

// A new host with the add-on loaded and no project open; aborts when the add-on does not load.
inline std::unique_ptr<standin::Host> loadedHost() {
  auto host = std::make_unique<standin::Host>();
  host->setApplicationDataFolder(workFolder() + "/config");
  std::string error;
  if (!host->load(std::make_unique<standin::AddonModule>(&GetExportedFuncAddrs, &SetImportedFuncAddrs), error))
    std::abort();
  return host;
}

}  // namespace fuzz
