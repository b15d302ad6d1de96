#include "prefs/joint_prefs_dialog.h"

#include <algorithm>

#include "prefs/joint_prefs.h"
#include "prefs/prefs_defaults.h"
#include "runtime/alert.h"
#include "runtime/environment.h"

namespace varnholt {

namespace {

constexpr int32_t kQuestionStrings = 32523;
constexpr int32_t kErrorStrings = 32524;

}  // namespace

void JointPrefsDialog::setupControls() {
  list_ = add(new lunvik::ListControl(*this, 12));
  list_->setColumns({{110, 0, "Name"}, {200, 0, "Description"}, {60, 2, "Time"}, {60, 2, "Length"}});
  list_->attachEditor(0, add(new lunvik::EditText(*this, 8)));
  list_->attachEditor(1, add(new lunvik::EditText(*this, 9)));
  list_->attachEditor(2, add(new lunvik::RealText(*this, 10)));
  list_->attachEditor(3, add(new lunvik::LengthText(*this, 11)));
  attach(list_, new lunvik::ItemCall([this](lunvik::ItemEvent&) {
           delete_->enable(list_->selectedRow() >= 0);
           return true;
         }));
  attach(add(new lunvik::Button(*this, 13)), lunvik::ActionCall::staysOpen([this] { addJoint(); }));
  delete_ = add(new lunvik::Button(*this, 14));
  attach(delete_, lunvik::ActionCall::staysOpen([this] { deleteJoint(); }));
  attach(add(new lunvik::Button(*this, 15)), lunvik::ActionCall::staysOpen([this] { applyDefault(); }));
  attach(add(new lunvik::Button(*this, 16)), lunvik::ActionCall::staysOpen([this] { makeDefault(); }));
  fill(prefs_);
  delete_->disable();
}

void JointPrefsDialog::fill(const JointPrefs& joints) {
  list_->clearRows();
  for (const auto& joint : joints.joints()) {
    int32_t row = list_->appendRow();
    if (row < 0) break;
    list_->setValue(row, 0, lunvik::StringSetting(joint->name));
    list_->setValue(row, 1, lunvik::StringSetting(joint->description));
    list_->setValue(row, 2, lunvik::RealSetting(joint->additionalHours));
    list_->setValue(row, 3, lunvik::LengthSetting(joint->additionalLength));
  }
}

void JointPrefsDialog::addJoint() {
  int32_t row = list_->appendRow();
  if (row < 0) return;
  list_->setValue(row, 0, lunvik::StringSetting(defaultText(kPrefsDefaultStrings, 11, "Untitled")));
  list_->setValue(row, 1, lunvik::StringSetting());
  list_->setValue(row, 2, lunvik::RealSetting(0));
  list_->setValue(row, 3, lunvik::LengthSetting(0));
  list_->selectRow(row);
  delete_->enable();
}

void JointPrefsDialog::deleteJoint() {
  int32_t row = list_->selectedRow();
  if (row < 0) return;
  list_->deleteRow(row);
  int32_t count = list_->rows();
  list_->selectRow(count == 0 ? -1 : std::min(row, count - 1));
  delete_->enable(list_->selectedRow() >= 0);
}

void JointPrefsDialog::applyDefault() {
  JointPrefs defaults;
  // Defaults that cannot be had leave the rows as they are.
  if (!defaults.loadDefaults()) return;
  fill(defaults);
  delete_->disable();
}

void JointPrefsDialog::makeDefault() {
  lunvik::CadString question = lunvik::Environment::instance().string(kQuestionStrings, 4);
  if (lunvik::ConfirmAlert().show(question) != 1) return;
  JointPrefs joints;
  rowsInto(joints);
  if (!joints.writeDefaultFile())
    lunvik::ErrorAlert().show(lunvik::Environment::instance().string(kErrorStrings, 24));
}

void JointPrefsDialog::rowsInto(JointPrefs& joints) {
  list_->commitEdit();
  joints.joints().clear();
  for (int32_t row = 0; row < list_->rows(); ++row) {
    lunvik::CadString name = list_->value(row, 0)->text();
    if (!name.hasVisibleText()) continue;
    joints.add(name, list_->value(row, 1)->text(), list_->value(row, 3)->real(), list_->value(row, 2)->real());
  }
}

void JointPrefsDialog::accept() { rowsInto(prefs_); }

}  // namespace varnholt
