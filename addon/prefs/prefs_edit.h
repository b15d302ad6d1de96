// The commands of the "Framing" > "Preferences" menu: each runs its dialog and, on OK, saves
// the packages into the project and has the project-data macro regenerated.
#pragma once

#include <cstdint>

#include "runtime/subscriber.h"

namespace varnholt {

// A preferences command of kind ('VRNH', kind).
class PrefsEdit : public lunvik::Subscriber {
 public:
  explicit PrefsEdit(uint32_t kind) : kind_(kind) {}
  lunvik::EventSpec spec() const override;
  // Runs the dialog; takes the event.
  bool takeEvent(lunvik::Event& event) override;
  // Runs the dialog on the project's packages; answers the item that closed it (1 OK), 0 when
  // the packages or the dialog are missing.
  virtual int32_t runDialog() = 0;
  // Runs the dialog and, on OK, saves the packages and publishes 'DRPE'; true when something
  // changed.
  bool edit();

 private:
  uint32_t kind_;
};

// "Project..." ('EPPE'): the project preferences dialog.
class ProjectPrefsEdit : public PrefsEdit {
 public:
  ProjectPrefsEdit();
  int32_t runDialog() override;
};

// "Joints..." ('EJPE'): the joint preferences dialog.
class JointPrefsEdit : public PrefsEdit {
 public:
  JointPrefsEdit();
  int32_t runDialog() override;
};

// "Reports..." ('ERPE'): the reports preferences dialog.
class TimberPrefsEdit : public PrefsEdit {
 public:
  TimberPrefsEdit();
  int32_t runDialog() override;
};

}  // namespace varnholt
