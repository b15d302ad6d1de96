#include "alignment/store_preset_dialog.h"

#include "alignment/preset_menu.h"
#include "prefs/align_prefs.h"
#include "runtime/alert.h"
#include "runtime/environment.h"

namespace varnholt {

namespace {

// "Please enter a name for the preset".
constexpr int32_t kNameMissing = 30;

}  // namespace

StorePresetDialog::StorePresetDialog(const AlignPrefs& prefs, int32_t slot)
    : Dialog(kResource, true), prefs_(prefs), slot_(slot >= 1 && slot <= storedPresetCount(prefs) ? slot : 1) {}

void StorePresetDialog::setupControls() {
  nameField_ = add(new lunvik::EditText(*this, 4));
  slots_ = add(new lunvik::PopupMenu(*this, 6, 0));
  for (int32_t n = 1; n <= storedPresetCount(prefs_); ++n) slots_->addEntry(presetLabel(prefs_, n), n);
  slots_->selectValue(slot_);
  if (std::size_t(slot_) < prefs_.presets().size()) nameField_->setText(prefs_.presets()[std::size_t(slot_)].name);
  attach(slots_, new lunvik::ItemCall([this](lunvik::ItemEvent&) {
    slotChanged();
    return true;
  }));
  // OK is refused while the name is blank: a preset is known by its name in the menu.
  attach(add(new lunvik::Button(*this, 1)), new lunvik::ActionCall([this](lunvik::ActionEvent& event) {
    if (!nameField_->text().hasVisibleText()) {
      lunvik::ErrorAlert().show(lunvik::Environment::instance().string(kAlignStrings, kNameMissing));
      event.reply(0);
    }
    return true;
  }));
}

void StorePresetDialog::slotChanged() {
  const int32_t n = slots_->selectedValue();
  if (n < 1 || std::size_t(n) >= prefs_.presets().size()) return;
  nameField_->setText(prefs_.presets()[std::size_t(n)].name);
}

void StorePresetDialog::accept() {
  const int32_t n = slots_->selectedValue();
  if (n >= 1) slot_ = n;
  name_ = nameField_->text();
}

}  // namespace varnholt
