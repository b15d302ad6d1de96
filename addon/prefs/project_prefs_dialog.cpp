#include "prefs/project_prefs_dialog.h"

#include "prefs/project_prefs.h"
#include "runtime/alert.h"
#include "runtime/environment.h"

namespace varnholt {

namespace {

constexpr int32_t kErrorStrings = 32524;
constexpr int32_t kUnreadableFieldError = 29;

}  // namespace

void ProjectPrefsDialog::setupControls() {
  projectNo_ = add(new lunvik::EditText(*this, 4));
  personID_ = add(new lunvik::EditText(*this, 6));
  loadTimber_ = add(new lunvik::CheckboxControl(*this, 7));
  loadSteel_ = add(new lunvik::CheckboxControl(*this, 8));
  projectNo_->setText(prefs_.projectNo);
  personID_->setText(prefs_.personID);
  loadTimber_->setChecked(prefs_.loadTimber);
  loadSteel_->setChecked(prefs_.loadSteel);
}

void ProjectPrefsDialog::accept() {
  lunvik::CadString projectNo, personID;
  // A field the host cannot read would be stored as an empty text.
  if (!projectNo_->readText(projectNo) || !personID_->readText(personID)) {
    lunvik::ErrorAlert().show(lunvik::Environment::instance().string(kErrorStrings, kUnreadableFieldError));
    return;
  }
  prefs_.projectNo = projectNo;
  prefs_.personID = personID;
  prefs_.loadTimber = loadTimber_->checked();
  prefs_.loadSteel = loadSteel_->checked();
}

}  // namespace varnholt
