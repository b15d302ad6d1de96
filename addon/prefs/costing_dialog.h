// The costing detail dialog: the costs of one timber specification by minimum length.
#pragma once

#include "interaction/controls.h"
#include "interaction/dialog.h"
#include "interaction/list_control.h"

namespace varnholt {

class TimberSpecification;

// "Costing Detail" (resource 32527): list 8 with the columns "Min. Length" and "Cost", edited
// by the fields 6 and 7; 9 "Add", 10 "Delete". OK replaces the timber type's length
// costings by the rows longer than 0.00001 m (a later row of the same length wins).
class TimberCostDialog : public lunvik::Dialog {
 public:
  static constexpr int32_t kResource = 32527;
  explicit TimberCostDialog(TimberSpecification& specification) : Dialog(kResource, true), type_(specification) {}

  void setupControls() override;
  void accept() override;

 private:
  void addRow();
  void deleteRow();

  TimberSpecification& type_;
  lunvik::ListControl* list_ = nullptr;
  lunvik::Button* delete_ = nullptr;
};

}  // namespace varnholt
