#include "prefs/project_prefs_dialog.h"

#include "prefs/project_prefs.h"

namespace varnholt {

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
  prefs_.projectNo = projectNo_->text();
  prefs_.personID = personID_->text();
  prefs_.loadTimber = loadTimber_->checked();
  prefs_.loadSteel = loadSteel_->checked();
}

}  // namespace varnholt
