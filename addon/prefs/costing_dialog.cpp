#include "prefs/costing_dialog.h"

#include <memory>
#include <vector>

#include "prefs/timber_prefs.h"
#include "runtime/alert.h"
#include "runtime/environment.h"

namespace varnholt {

namespace {

// The shortest length kept as a costing.
constexpr double kLengthTolerance = 0.00001;
constexpr int32_t kErrorStrings = 32524;
constexpr int32_t kUnreadableListError = 27;

}  // namespace

void TimberCostDialog::setupControls() {
  list_ = add(new lunvik::ListControl(*this, 8));
  list_->setColumns({{100, 2, "Min. Length"}, {100, 2, "Cost"}});
  list_->attachEditor(0, add(new lunvik::LengthText(*this, 6)));
  list_->attachEditor(1, add(new lunvik::RealText(*this, 7)));
  attach(list_, new lunvik::ItemCall([this](lunvik::ItemEvent&) {
           delete_->enable(list_->selectedRow() >= 0);
           return true;
         }));
  attach(add(new lunvik::Button(*this, 9)), lunvik::ActionCall::staysOpen([this] { addRow(); }));
  delete_ = add(new lunvik::Button(*this, 10));
  attach(delete_, lunvik::ActionCall::staysOpen([this] { deleteRow(); }));
  for (const auto& entry : type_.lengthCostingList.entries()) {
    int32_t row = list_->appendRow();
    if (row < 0) break;
    list_->setValue(row, 0, lunvik::LengthSetting(entry.first));
    list_->setValue(row, 1, lunvik::RealSetting(entry.second));
  }
  delete_->disable();
}

void TimberCostDialog::addRow() {
  int32_t row = list_->appendRow();
  if (row < 0) return;
  list_->setValue(row, 0, lunvik::LengthSetting(0));
  list_->setValue(row, 1, lunvik::RealSetting(0));
  list_->selectRow(row);
  delete_->enable();
}

void TimberCostDialog::deleteRow() {
  int32_t row = list_->selectedRow();
  if (row < 0) return;
  list_->deleteRow(row);
  delete_->enable(list_->selectedRow() >= 0);
}

void TimberCostDialog::accept() {
  std::vector<std::vector<std::unique_ptr<lunvik::ControlSetting>>> rows;
  if (!list_->readRows(rows)) {
    lunvik::ErrorAlert().show(lunvik::Environment::instance().string(kErrorStrings, kUnreadableListError));
    return;
  }
  type_.lengthCostingList.clearEntries();
  for (const auto& row : rows) {
    double length = row[0]->real();
    if (length > kLengthTolerance) type_.lengthCostingList.put(length, row[1]->real());
  }
}

}  // namespace varnholt
