#include "schedule/timber_number_display.h"

#include "model/drawing.h"
#include "model/selection.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "schedule/timber_list.h"
#include "timber/framing_member.h"

namespace varnholt {

namespace {

constexpr int32_t kUndoStrings = 32526;
constexpr int32_t kResetName = 24;
// Elements that are editable, shown, on the current storey and of the building model.
constexpr int32_t kTimberBits = 23;

// Framing members among object elements with user data.
class IsTimberMember : public lunvik::Drawing::Filter {
 public:
  explicit IsTimberMember(bool selectedOnly) : Filter(kTimberBits, platform::kObject, selectedOnly, false, true) {}
  std::unique_ptr<Filter> clone() const override { return std::make_unique<IsTimberMember>(*this); }
  bool accept(const lunvik::Element& element) const override {
    return dynamic_cast<const FramingMember*>(&element) != nullptr;
  }
};

void gather(lunvik::Drawing& drawing, bool selectedOnly, lunvik::ElementSelection<FramingMember>& members) {
  for (auto it = drawing.begin(IsTimberMember(selectedOnly)); !it.atEnd(); ++it) members.add(it.release().release());
}

}  // namespace

// ---- ClearTimberNos ----

lunvik::EventSpec ClearTimberNos::spec() const {
  return lunvik::EventSpec(lunvik::kProductCategory, platform::fourcc("CLTN"));
}

bool ClearTimberNos::takeEvent(lunvik::Event&) {
  run();
  return true;
}

bool ClearTimberNos::run() {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Drawing* drawing = addon ? addon->currentDrawing() : nullptr;
  if (!drawing) return false;
  const uint32_t step = addon->openUndoStep(lunvik::Environment::instance().string(kUndoStrings, kResetName));
  lunvik::ElementSelection<FramingMember> members;
  gather(*drawing, true, members);
  drawing->deselectAll();
  for (auto& member : members) member->setTimberNo(0);
  members.storeAll(*drawing);
  if (!members.empty()) drawing->addToSelection(members);
  addon->closeUndoStep(step);
  drawing->rebuild(0);
  return true;
}

// ---- ToggleDisplay ----

lunvik::EventSpec ToggleDisplay::spec() const { return lunvik::EventSpec(lunvik::kProductCategory, kind_); }

bool ToggleDisplay::takeEvent(lunvik::Event& event) {
  auto* toggle = dynamic_cast<lunvik::ToggleEvent*>(&event);
  run(toggle ? toggle->on() != 0 : true);
  return true;
}

bool ToggleDisplay::run(bool show) {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Drawing* drawing = addon ? addon->currentDrawing() : nullptr;
  if (!drawing) return false;
  const uint32_t step =
      addon->openUndoStep(lunvik::Environment::instance().string(kUndoStrings, show ? showName_ : hideName_));
  const bool fromSelection = hasSelectedAccepted(*drawing, IsTimberMember(true));
  lunvik::ElementSelection<FramingMember> targets;
  gather(*drawing, fromSelection, targets);
  if (fromSelection) drawing->deselectAll();
  for (auto& member : targets) member->putNumber(parameter_, show ? 1 : 0);
  targets.storeAll(*drawing);
  if (fromSelection && !targets.empty()) drawing->addToSelection(targets);
  addon->closeUndoStep(step);
  drawing->rebuild(0);
  return true;
}

ToggleNumber::ToggleNumber() : ToggleDisplay(platform::fourcc("TCID"), "ShowCutID", 7, 8) {}

ToggleLabel::ToggleLabel() : ToggleDisplay(platform::fourcc("TLBL"), "showLabel", 40, 41) {}

}  // namespace varnholt
