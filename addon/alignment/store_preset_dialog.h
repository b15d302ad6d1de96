// The dialog that stores the alignment dialog's values as a named preset.
#pragma once

#include <cstdint>

#include "interaction/controls.h"
#include "interaction/dialog.h"
#include "runtime/cad_string.h"

namespace varnholt {

class AlignPrefs;

// "Store Preset" (resource 32525): 4 the name, 6 the slot (presets 1 to 10). Choosing a slot
// puts its name in the field; OK is refused while the name has nothing visible in it. The
// dialog changes nothing itself: its caller stores slot() and name() after OK.
class StorePresetDialog : public lunvik::Dialog {
 public:
  static constexpr int32_t kResource = 32525;
  // Opens on slot (1 to 10; the first when out of range).
  StorePresetDialog(const AlignPrefs& prefs, int32_t slot);

  void setupControls() override;
  void accept() override;

  // The chosen slot and the typed name, as they were at OK.
  int32_t slot() const { return slot_; }
  const lunvik::CadString& name() const { return name_; }

 private:
  void slotChanged();

  const AlignPrefs& prefs_;
  int32_t slot_;
  lunvik::CadString name_;
  lunvik::EditText* nameField_ = nullptr;
  lunvik::PopupMenu* slots_ = nullptr;
};

}  // namespace varnholt
