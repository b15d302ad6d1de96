#include "shell/varnholt_addon.h"

#include "runtime/alert.h"
#include "runtime/environment.h"
#include "shell/product_menu.h"

namespace varnholt {

namespace {

// Listens for project notifications so that the initialisation pass installs them; takes
// nothing.
class Projector : public lunvik::ProjectSubscriber {
 public:
  bool projectEvent(lunvik::ProjectEvent&) override { return false; }
};

}  // namespace

VarnholtAddon::VarnholtAddon() : tools_(std::make_unique<ToolList>()) {}

VarnholtAddon::~VarnholtAddon() {
  // Tools leave the subscription list before they are deleted.
  for (auto& tool : *tools_) unsubscribe(tool.get());
  tools_.reset();
}

void VarnholtAddon::reportUnexpectedError() {
  lunvik::ErrorAlert().show(lunvik::Environment::instance().string(kAddonStrings, 7));
}

void VarnholtAddon::setup() {
  ToolList& tools = *tools_;
  tools.push_back(new Projector());
  tools.push_back(new ProfileMenu());
  tools.push_back(new AssemblyMenu());
  tools.push_back(new JointsMenu());
  tools.push_back(new ToolsMenu());
  tools.push_back(new ScheduleMenu());
  tools.push_back(new PrefsMenu());
  tools.push_back(new AlignMenu());
  tools.push_back(new AboutMenu());
  for (auto& tool : tools) subscribe(tool.get());
}

}  // namespace varnholt

namespace lunvik {

Addon* newProductAddon() { return new varnholt::VarnholtAddon(); }

}  // namespace lunvik
