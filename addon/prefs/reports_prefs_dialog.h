// The reports preferences dialog: timber types with their costs, the labour rate, timber
// numbering and the schedules' size increments.
#pragma once

#include <memory>

#include "interaction/controls.h"
#include "interaction/dialog.h"
#include "interaction/list_control.h"

namespace varnholt {

class ProjectPrefs;
class TimberPrefs;

// "Reports Preferences" (resource 32516). It edits the project package and a working copy of
// the timber package: list 8 (timber type name and base cost, edited by the fields 6 and 7),
// 10 labour rate, 13 prefix, 15 suffix, 17 padding, 20 and 22 the length and section
// increments; 23 "Add", 24 "Detail..." (the costing dialog of the selected type), 25
// "Delete", 26 "Apply Default", 27 "Make Default". Only OK changes the packages, and only when
// the list can be read.
class TimberPrefsDialog : public lunvik::Dialog {
 public:
  static constexpr int32_t kResource = 32516;
  TimberPrefsDialog(ProjectPrefs& project, TimberPrefs& timbers);
  ~TimberPrefsDialog() override;

  void setupControls() override;
  void accept() override;

  // The working copy of the timber package.
  TimberPrefs& workingCopy() { return *copy_; }
  // The specifications the rows stand for, rows without a visible name left out. False, with
  // timbers unchanged, when the list cannot be read.
  bool rowsInto(TimberPrefs& timbers);

 private:
  void fill();
  void enableRowButtons();
  void addType();
  void deleteType();
  void detail();
  void applyDefault();
  void makeDefault();

  ProjectPrefs& project_;
  TimberPrefs& timbers_;
  std::unique_ptr<TimberPrefs> copy_;
  lunvik::ListControl* list_ = nullptr;
  lunvik::Button* detail_ = nullptr;
  lunvik::Button* delete_ = nullptr;
  lunvik::RealText* labour_ = nullptr;
  lunvik::EditText* prefix_ = nullptr;
  lunvik::EditText* suffix_ = nullptr;
  lunvik::IntText* padding_ = nullptr;
  lunvik::LengthText* lengthInc_ = nullptr;
  lunvik::LengthText* sectionInc_ = nullptr;
};

}  // namespace varnholt
