// A loaded host with a new project open and the model fixtures' library loaded, and helpers
// that place elements through the host's own tools.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/model/project_model.h"
#include "model/drawing.h"
#include "model/element_kinds.h"
#include "model/project.h"
#include "runtime/addon.h"
#include "support/loaded_host.h"

namespace testing_support {

class ModelHost : public LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    host().newProject();
    ASSERT_TRUE(host().addLibraryFolder(std::string(TRESTLAR_FIXTURES) + "/model/library"));
  }

  standin::ProjectModel& model() { return host().model(); }
  lunvik::Project& project() { return *lunvik::theAddon()->project(); }
  lunvik::Plan& plan() { return project().plan(); }

  // Places a Timber object with the given real parameters at (x, y).
  standin::HostElement* place(double x, double y, const std::vector<std::pair<std::string, double>>& values = {}) {
    std::vector<standin::ParameterValue> params;
    for (const auto& v : values) {
      standin::ParameterValue p;
      p.name = v.first;
      p.type = platform::kParamLength;
      p.number = v.second;
      params.push_back(p);
    }
    return model().placeObject("Timber", params, x, y, 0, 0);
  }
};

}  // namespace testing_support
