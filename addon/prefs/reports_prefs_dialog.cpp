#include "prefs/reports_prefs_dialog.h"

#include <algorithm>
#include <limits>

#include "prefs/costing_dialog.h"
#include "prefs/prefs_defaults.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "runtime/alert.h"
#include "runtime/environment.h"

namespace varnholt {

namespace {

constexpr int32_t kQuestionStrings = 32523;
constexpr int32_t kErrorStrings = 32524;

}  // namespace

TimberPrefsDialog::TimberPrefsDialog(ProjectPrefs& project, TimberPrefs& timbers)
    : Dialog(kResource, true), project_(project), timbers_(timbers),
      copy_(static_cast<TimberPrefs*>(timbers.clone())) {}

TimberPrefsDialog::~TimberPrefsDialog() = default;

void TimberPrefsDialog::setupControls() {
  list_ = add(new lunvik::ListControl(*this, 8));
  list_->setColumns({{159, 0, "Timber Type"}, {73, 2, "Cost"}});
  list_->attachEditor(0, add(new lunvik::EditText(*this, 6)));
  list_->attachEditor(1, add(new lunvik::RealText(*this, 7)));
  attach(list_, new lunvik::ItemCall([this](lunvik::ItemEvent&) {
           enableRowButtons();
           return true;
         }));
  labour_ = add(new lunvik::RealText(*this, 10));
  prefix_ = add(new lunvik::EditText(*this, 13));
  suffix_ = add(new lunvik::EditText(*this, 15));
  padding_ = add(new lunvik::IntText(*this, 17));
  lengthInc_ = add(new lunvik::LengthText(*this, 20));
  sectionInc_ = add(new lunvik::LengthText(*this, 22));
  attach(add(new lunvik::Button(*this, 23)), lunvik::ActionCall::staysOpen([this] { addType(); }));
  detail_ = add(new lunvik::Button(*this, 24));
  attach(detail_, lunvik::ActionCall::staysOpen([this] { detail(); }));
  delete_ = add(new lunvik::Button(*this, 25));
  attach(delete_, lunvik::ActionCall::staysOpen([this] { deleteType(); }));
  attach(add(new lunvik::Button(*this, 26)), lunvik::ActionCall::staysOpen([this] { applyDefault(); }));
  attach(add(new lunvik::Button(*this, 27)), lunvik::ActionCall::staysOpen([this] { makeDefault(); }));

  labour_->setValue(project_.labourCost);
  prefix_->setText(project_.numPrefix);
  suffix_->setText(project_.numSuffix);
  padding_->setValue(project_.numPadding);
  lengthInc_->setValue(project_.lengthInc);
  sectionInc_->setValue(project_.sectionInc);
  fill();
  detail_->disable();
  delete_->disable();
}

void TimberPrefsDialog::fill() {
  list_->clearRows();
  for (const auto& type : copy_->specifications()) {
    int32_t row = list_->appendRow();
    if (row < 0) break;
    list_->setValue(row, 0, lunvik::StringSetting(type->name));
    list_->setValue(row, 1, lunvik::RealSetting(type->baseCost));
  }
}

void TimberPrefsDialog::enableRowButtons() {
  bool selected = list_->selectedRow() >= 0;
  detail_->enable(selected);
  delete_->enable(selected);
}

void TimberPrefsDialog::addType() {
  int32_t row = list_->appendRow();
  if (row < 0) return;
  TimberSpecification& type = copy_->add(defaultText(kPrefsDefaultStrings, 9, "Untitled"), 0.0);
  list_->setValue(row, 0, lunvik::StringSetting(type.name));
  list_->setValue(row, 1, lunvik::RealSetting(type.baseCost));
  list_->selectRow(row);
  enableRowButtons();
}

void TimberPrefsDialog::deleteType() {
  int32_t row = list_->selectedRow();
  if (row < 0) return;
  list_->deleteRow(row);
  if (std::size_t(row) < copy_->specifications().size()) copy_->specifications().erase(std::size_t(row));
  int32_t count = list_->rows();
  list_->selectRow(count == 0 ? -1 : std::min(row, count - 1));
  enableRowButtons();
}

void TimberPrefsDialog::detail() {
  int32_t row = list_->selectedRow();
  if (row < 0 || std::size_t(row) >= copy_->specifications().size()) return;
  TimberCostDialog costing(copy_->specifications()[std::size_t(row)]);
  costing.run();
}

void TimberPrefsDialog::applyDefault() {
  // Defaults that cannot be had leave the working copy and its rows as they are.
  if (!copy_->loadDefaults()) return;
  fill();
  enableRowButtons();
}

void TimberPrefsDialog::makeDefault() {
  lunvik::CadString question = lunvik::Environment::instance().string(kQuestionStrings, 5);
  if (lunvik::ConfirmAlert().show(question) != 1) return;
  TimberPrefs timbers;
  rowsInto(timbers);
  if (!timbers.writeDefaultFile()) lunvik::ErrorAlert().show(lunvik::Environment::instance().string(kErrorStrings, 24));
}

void TimberPrefsDialog::rowsInto(TimberPrefs& timbers) {
  list_->commitEdit();
  timbers.specifications().clear();
  std::size_t rows = std::size_t(std::max(list_->rows(), 0));
  std::size_t count = std::min(rows, copy_->specifications().size());
  for (std::size_t i = 0; i < count; ++i) {
    lunvik::CadString name = list_->value(int32_t(i), 0)->text();
    if (!name.hasVisibleText()) continue;
    auto* type = new TimberSpecification(copy_->specifications()[i]);
    type->name = name;
    type->baseCost = list_->value(int32_t(i), 1)->real();
    timbers.specifications().push_back(type);
  }
}

void TimberPrefsDialog::accept() {
  project_.labourCost = labour_->value();
  project_.lengthInc = lengthInc_->value();
  project_.sectionInc = sectionInc_->value();
  project_.numPrefix = prefix_->text();
  project_.numSuffix = suffix_->text();
  int32_t padding = padding_->value();
  project_.numPadding = short(std::max<int32_t>(0, std::min<int32_t>(padding, std::numeric_limits<short>::max())));
  rowsInto(timbers_);
}

}  // namespace varnholt
