// Dialog 32511 "New Profile": the kind of profile, the name of the new part, its Depth, Length
// or Sweep, and the library folder it goes into.
#pragma once

#include <cstdint>
#include <vector>

#include "interaction/controls.h"
#include "interaction/dialog.h"
#include "interaction/interface_event.h"
#include "runtime/cad_string.h"

namespace lunvik {
class Library;
}  // namespace lunvik

namespace varnholt {

class ProfilePrefs;

// Why a name cannot name a new profile part; none when it can.
enum class ProfileNameProblem : int { none = 0, empty, taken, notAFileName };

// The name as the dialog takes it: spaces, tabs, CR and LF trimmed from both ends.
lunvik::CadString trimmedProfileName(const lunvik::CadString& name);
// Checks a trimmed name: not empty, no part of the loaded libraries has it, and it is a file
// name that stays in its folder (no path separator, no character a file name may not hold, no
// control character, not dots alone).
ProfileNameProblem checkProfileName(const lunvik::CadString& name, lunvik::Library& library);

// The dialog, over the profile preferences: opening shows them, OK stores them.
class ProfileDialog : public lunvik::Dialog {
 public:
  static constexpr int32_t kResource = 32511;

  // One library folder: its label in the Library pop-up and its path.
  struct Folder {
    lunvik::CadString label;
    lunvik::CadString path;
  };

  // folders: the library folders in the host's order; defaultFolder the host's default among
  // them (-1 when none).
  ProfileDialog(ProfilePrefs& prefs, std::vector<Folder> folders, int32_t defaultFolder, lunvik::Library& library);

  void setupControls() override;

  // Shows only the value field of the selected type with its label.
  void showValueField();

  // The Type pop-up's subscriber: switches the value field.
  class ChangeProfileType : public lunvik::ItemSubscriber {
   public:
    explicit ChangeProfileType(ProfileDialog& dialog) : dialog_(dialog) {}
    bool itemChanged(lunvik::ItemEvent& event) override;

   private:
    ProfileDialog& dialog_;
  };

 private:
  // OK: checks the name (an alert and the dialog stays open when it will not do), then stores
  // the values.
  bool confirm(lunvik::ActionEvent& event);

  ProfilePrefs& prefs_;
  std::vector<Folder> folders_;
  int32_t defaultFolder_;
  lunvik::Library& library_;
  lunvik::PopupMenu* type_ = nullptr;
  lunvik::EditText* name_ = nullptr;
  lunvik::LengthText* depth_ = nullptr;
  lunvik::LengthText* length_ = nullptr;
  lunvik::AngleText* sweep_ = nullptr;
  lunvik::PopupMenu* folder_ = nullptr;
};

}  // namespace varnholt
