// The Schedule menu's commands on numbers and labels of timbers: "Reset Timber Nos." and the
// show and hide switches of the cut number and the label.
#pragma once

#include <cstdint>

#include "runtime/subscriber.h"

namespace varnholt {

// "Reset Timber Nos." ('VRNH', 'CLTN'): the selected timbers' numbers become 0.
class ClearTimberNos : public lunvik::Subscriber {
 public:
  lunvik::EventSpec spec() const override;
  // Resets the numbers; takes the event.
  bool takeEvent(lunvik::Event& event) override;
  // False without a drawing.
  bool run();
};

// A show or hide switch of one display parameter of the timbers: of the selected timbers, or
// of every timber of the drawing when none is selected.
class ToggleDisplay : public lunvik::Subscriber {
 public:
  // kind: the command; parameter: the flag written; showName, hideName: the undo step names
  // (items of string list 32526).
  ToggleDisplay(uint32_t kind, const char* parameter, int32_t showName, int32_t hideName)
      : kind_(kind), parameter_(parameter), showName_(showName), hideName_(hideName) {}
  lunvik::EventSpec spec() const override;
  // Reads the event's show flag and switches; takes the event.
  bool takeEvent(lunvik::Event& event) override;
  // Writes show into the targets' parameter; false without a drawing.
  bool run(bool show);

 private:
  uint32_t kind_;
  const char* parameter_;
  int32_t showName_;
  int32_t hideName_;
};

// "Show Cut Number" / "Hide Cut Number" ('VRNH', 'TCID'): `ShowCutID`.
class ToggleNumber : public ToggleDisplay {
 public:
  ToggleNumber();
};

// "Show Label" / "Hide Label" ('VRNH', 'TLBL'): `showLabel`.
class ToggleLabel : public ToggleDisplay {
 public:
  ToggleLabel();
};

}  // namespace varnholt
