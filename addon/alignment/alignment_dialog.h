// The alignment dialog: how the selection is aligned along X, Y and Z, with the stored presets.
#pragma once

#include <cstdint>
#include <functional>

#include "interaction/controls.h"
#include "interaction/dialog.h"
#include "prefs/align_prefs.h"

namespace varnholt {

// "Alignment" (resource 32524): per axis a type pop-up (4, 7, 10) and an origin pop-up (5, 8,
// 11), 13 the preset menu, 14 "Store...". It opens on the working preset (entry 0 of the
// list); OK writes the six values into it, its name unchanged. A preset chosen in the menu is
// loaded into the pop-ups; "Store..." stores the pop-ups' values as a named preset at once,
// whatever closes the dialog afterwards.
class AlignmentDialog : public lunvik::Dialog {
 public:
  static constexpr int32_t kResource = 32524;
  // stored runs after each preset stored from the dialog.
  AlignmentDialog(AlignPrefs& prefs, std::function<void()> stored);

  void setupControls() override;
  void accept() override;

  // The six values the pop-ups show, with an empty name.
  AlignPreset shownValues() const;

 private:
  // The two pop-ups of one axis.
  struct Axis {
    lunvik::PopupMenu* type = nullptr;
    lunvik::PopupMenu* origin = nullptr;
  };

  // Shows a preset's values in the pop-ups.
  void show(const AlignPreset& preset);
  // Keeps an axis' origin pop-up in step with its type; with adjust, an Align axis leaves
  // Equal for the first origin.
  void fitOrigin(Axis& axis, bool adjust);
  // Fills the preset menu with the stored presets; selected 0 keeps "Select Preset" first.
  void fillPresets(int32_t selected);
  void presetChosen();
  void storePreset();

  AlignPrefs& prefs_;
  std::function<void()> stored_;
  Axis axes_[3];
  lunvik::PopupMenu* presets_ = nullptr;
};

}  // namespace varnholt
