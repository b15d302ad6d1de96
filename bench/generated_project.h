// A loaded host with a new project of n timber members placed with the host's object tool:
// posts, beams, braces and rafters of a few sizes, timber types and numbers, so that sorting,
// grouping and numbering have work to do. Shared by the schedule and numbering benchmarks.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "platform/addon_exports.h"
#include "platform/library_records.h"

namespace bench_support {

class GeneratedProject {
 public:
  explicit GeneratedProject(int n) {
    char pattern[] = "/tmp/trestlar-bench-XXXXXX";
    folder_ = ::mkdtemp(pattern) ? pattern : "/tmp";
    host_.setApplicationDataFolder(folder_);
    std::string error;
    ok_ = host_.load(std::make_unique<standin::AddonModule>(&GetExportedFuncAddrs, &SetImportedFuncAddrs), error);
    if (!ok_) return;
    host_.newProject();
    ok_ = host_.addLibraryFolder(std::string(TRESTLAR_SOURCE_DIR) + "/library");
    const char* names[] = {"Post", "Beam", "Brace", "Rafter"};
    const char* seasons[] = {"Green", "Seasoned"};
    for (int i = 0; ok_ && i < n; ++i)
      ok_ = place(names[i % 4], seasons[(i / 4) % 2], 1 + i % 97, 1.0 + (i % 13) * 0.25, 0.1 + (i % 3) * 0.05, i);
  }
  ~GeneratedProject() {
    host_.unload();
    std::string command = "rm -rf '" + folder_ + "'";
    if (std::system(command.c_str()) != 0) return;
  }
  GeneratedProject(const GeneratedProject&) = delete;
  GeneratedProject& operator=(const GeneratedProject&) = delete;

  bool ok() const { return ok_; }
  standin::Host& host() { return host_; }
  const std::string& folder() const { return folder_; }

 private:
  bool place(const char* name, const char* season, int number, double length, double width, int i) {
    using V = standin::ParameterValue;
    std::vector<V> values = {V::ofText("timberName", name),         V::ofText("seasonType", season),
                             V::ofNumber("length", length),         V::ofNumber("profWide", width),
                             V::ofNumber("profDeep", width + 0.05), V::ofNumber("TimberNo", number),
                             V::ofNumber("IncInSched", 1)};
    return host_.model().placeObject("Rectilinear", values, i % 100, i / 100, 0, 0, nullptr, platform::kObject) !=
           nullptr;
  }

  standin::Host host_;
  std::string folder_;
  bool ok_ = false;
};

}  // namespace bench_support
