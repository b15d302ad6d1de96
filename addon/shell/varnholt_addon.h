// The product's add-on object: owns every tool, registers the menus and packages.
#pragma once

#include <memory>

#include "runtime/addon.h"
#include "runtime/containers.h"
#include "runtime/subscriber.h"

namespace varnholt {

// The product's add-on object.
class TimberDatabase;

class VarnholtAddon : public lunvik::Addon {
 public:
  // The owning list of the product's tools, in subscription order.
  class ToolList : public lunvik::List<lunvik::Subscriber> {};

  VarnholtAddon();
  ~VarnholtAddon() override;

  // Shows the internal-error alert.
  void reportUnexpectedError() override;
  // A warning naming the package that did not read; an error when the host was not told.
  void reportUnreadModuleData(const lunvik::CadString& package, bool hostTold) override;
  // The "Trestlar" folder in the user's application-data folder, created when missing.
  std::unique_ptr<lunvik::CadString> preferencesFolder() const override;
  // The base behaviour, then the library folder check for a new or opened project.
  bool beforeHostEvent(lunvik::HostEvent& event) override;
  // The base behaviour, then: after a merge the macro is regenerated; after a new or opened
  // project the preset menu texts are set, the joint and timber packages completed and the
  // macro regenerated.
  bool afterHostEvent(lunvik::HostEvent& event) override;
  uint32_t addonCode() const override { return platform::fourcc("VRNH"); }
  int32_t addonKind() const override { return 4; }
  // Fills the tool list and subscribes every tool.
  void setup() override;

  // The tools.
  const ToolList& tools() const { return *tools_; }
  // The timber database (null before setup and after release).
  TimberDatabase* timberDatabase() const { return timberDatabase_.get(); }
  // Sets the Alignment menu's preset items to the names of the stored presets.
  void updatePresetMenu();

 private:
  std::unique_ptr<ToolList> tools_;
  std::unique_ptr<TimberDatabase> timberDatabase_;
};

// The product's string lists.
enum : int32_t {
  kPromptStrings = 32522,
  kQuestionStrings = 32523,
  kErrorStrings = 32524,
  kDefaultStrings = 32525,
  kUndoStrings = 32526,
  kAddonStrings = 32528,
};

}  // namespace varnholt
