#include "alignment/alignment_dialog.h"

#include <utility>

#include "alignment/preset_menu.h"
#include "alignment/store_preset_dialog.h"
#include "runtime/environment.h"

namespace varnholt {

namespace {

// The items of each axis and the first string of its origins in list 32527.
struct AxisItems {
  int16_t type;
  int16_t origin;
  int32_t firstOriginString;
};
constexpr AxisItems kAxisItems[3] = {{4, 5, 4}, {7, 8, 8}, {10, 11, 12}};
constexpr int32_t kFirstTypeString = 1;
constexpr int32_t kTypeCount = 3;
constexpr int32_t kOriginCount = 4;
constexpr int32_t kSelectPresetString = 16;
constexpr int16_t kPresetMenu = 13;
constexpr int16_t kStoreButton = 14;
// The entry of Equal in an origin pop-up.
constexpr int32_t kEqualEntry = int32_t(AlignPreset::Origin::equal);

lunvik::CadString alignString(int32_t index) { return lunvik::Environment::instance().string(kAlignStrings, index); }

}  // namespace

AlignmentDialog::AlignmentDialog(AlignPrefs& prefs, std::function<void()> stored)
    : Dialog(kResource, true), prefs_(prefs), stored_(std::move(stored)) {}

void AlignmentDialog::setupControls() {
  for (int a = 0; a < 3; ++a) {
    Axis& axis = axes_[a];
    axis.type = add(new lunvik::PopupMenu(*this, kAxisItems[a].type, 0));
    for (int32_t t = 0; t < kTypeCount; ++t) axis.type->addEntry(alignString(kFirstTypeString + t), t);
    axis.origin = add(new lunvik::PopupMenu(*this, kAxisItems[a].origin, 0));
    for (int32_t o = 0; o < kOriginCount; ++o) axis.origin->addEntry(alignString(kAxisItems[a].firstOriginString + o), o);
    attach(axis.type, new lunvik::ItemCall([this, &axis](lunvik::ItemEvent&) {
      fitOrigin(axis, true);
      return true;
    }));
  }
  presets_ = add(new lunvik::PopupMenu(*this, kPresetMenu, 0));
  fillPresets(0);
  attach(presets_, new lunvik::ItemCall([this](lunvik::ItemEvent&) {
    presetChosen();
    return true;
  }));
  attach(add(new lunvik::Button(*this, kStoreButton)), lunvik::ActionCall::staysOpen([this] { storePreset(); }));
  if (!prefs_.presets().empty()) show(prefs_.presets()[0]);
}

void AlignmentDialog::show(const AlignPreset& preset) {
  const AlignPreset::Type types[3] = {preset.xType, preset.yType, preset.zType};
  const AlignPreset::Origin origins[3] = {preset.xOrigin, preset.yOrigin, preset.zOrigin};
  for (int a = 0; a < 3; ++a) {
    axes_[a].type->selectValue(int32_t(types[a]));
    axes_[a].origin->selectValue(int32_t(origins[a]));
    // The values are shown as they are: an aligned Equal works as Begin.
    fitOrigin(axes_[a], false);
  }
}

void AlignmentDialog::fitOrigin(Axis& axis, bool adjust) {
  const auto type = AlignPreset::Type(axis.type->selectedValue());
  axis.origin->enable(type != AlignPreset::Type::ignore);
  axis.origin->enableEntry(kEqualEntry, type == AlignPreset::Type::distribute);
  if (adjust && type == AlignPreset::Type::align && axis.origin->selectedValue() == kEqualEntry)
    axis.origin->selectValue(int32_t(AlignPreset::Origin::begin));
}

void AlignmentDialog::fillPresets(int32_t selected) {
  presets_->deleteAll();
  if (selected < 1) presets_->addEntry(alignString(kSelectPresetString), 0);
  for (int32_t n = 1; n <= storedPresetCount(prefs_); ++n) presets_->addEntry(presetLabel(prefs_, n), n);
  presets_->selectValue(selected);
}

void AlignmentDialog::presetChosen() {
  const int32_t n = presets_->selectedValue();
  if (n < 1 || std::size_t(n) >= prefs_.presets().size()) return;
  show(prefs_.presets()[std::size_t(n)]);
  // The first choice takes "Select Preset" away.
  if (presets_->entryValue(0) == 0) {
    presets_->deleteEntry(0);
    presets_->selectValue(n);
  }
}

void AlignmentDialog::storePreset() {
  StorePresetDialog store(prefs_, presets_->selectedValue());
  if (store.run() != 1) return;
  const int32_t slot = store.slot();
  if (slot < 1 || std::size_t(slot) >= prefs_.presets().size()) return;
  AlignPreset& target = prefs_.presets()[std::size_t(slot)];
  target.name = store.name();
  copyPresetValues(shownValues(), target);
  fillPresets(slot);
  if (stored_) stored_();
}

AlignPreset AlignmentDialog::shownValues() const {
  AlignPreset values;
  AlignPreset::Type* types[3] = {&values.xType, &values.yType, &values.zType};
  AlignPreset::Origin* origins[3] = {&values.xOrigin, &values.yOrigin, &values.zOrigin};
  for (int a = 0; a < 3; ++a) {
    const int32_t t = axes_[a].type->selectedValue();
    const int32_t o = axes_[a].origin->selectedValue();
    *types[a] = t >= 0 && t < kTypeCount ? AlignPreset::Type(t) : AlignPreset::Type::ignore;
    *origins[a] = o >= 0 && o < kOriginCount ? AlignPreset::Origin(o) : AlignPreset::Origin::begin;
  }
  return values;
}

void AlignmentDialog::accept() {
  if (prefs_.presets().empty()) return;
  copyPresetValues(shownValues(), prefs_.presets()[0]);
}

}  // namespace varnholt
