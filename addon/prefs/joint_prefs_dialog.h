// The joint preferences dialog: the joint types in a list edited in place.
#pragma once

#include "interaction/controls.h"
#include "interaction/dialog.h"
#include "interaction/list_control.h"

namespace varnholt {

class JointPrefs;

// "Joint Preferences" (resource 32515): list 12 with the columns name, description, time
// (hours) and length, edited by the fields 8, 9, 10 and 11 laid on them; 13 "Add", 14
// "Delete", 15 "Apply Default", 16 "Make Default". Nothing reaches the package before OK,
// which refills it from the rows, dropping rows without a visible name; rows that cannot be
// read change nothing and say so.
class JointPrefsDialog : public lunvik::Dialog {
 public:
  static constexpr int32_t kResource = 32515;
  explicit JointPrefsDialog(JointPrefs& prefs) : Dialog(kResource, true), prefs_(prefs) {}

  void setupControls() override;
  void accept() override;

  // The joints the rows stand for, rows without a visible name left out. False, with joints
  // unchanged, when the list cannot be read.
  bool rowsInto(JointPrefs& joints);

 private:
  void fill(const JointPrefs& joints);
  void addJoint();
  void deleteJoint();
  void applyDefault();
  void makeDefault();

  JointPrefs& prefs_;
  lunvik::ListControl* list_ = nullptr;
  lunvik::Button* delete_ = nullptr;
};

}  // namespace varnholt
