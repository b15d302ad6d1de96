// The project preferences dialog: project and designer ids and the libraries to load.
#pragma once

#include "interaction/controls.h"
#include "interaction/dialog.h"

namespace varnholt {

class ProjectPrefs;

// "Project Preferences" (resource 32514): 4 "Project ID", 6 "Designer ID", 7 "Load Timber
// Library", 8 "Load Steel Library". OK writes the four values into the package.
class ProjectPrefsDialog : public lunvik::Dialog {
 public:
  static constexpr int32_t kResource = 32514;
  explicit ProjectPrefsDialog(ProjectPrefs& prefs) : Dialog(kResource, true), prefs_(prefs) {}

  void setupControls() override;
  void accept() override;

 private:
  ProjectPrefs& prefs_;
  lunvik::EditText* projectNo_ = nullptr;
  lunvik::EditText* personID_ = nullptr;
  lunvik::CheckboxControl* loadTimber_ = nullptr;
  lunvik::CheckboxControl* loadSteel_ = nullptr;
};

}  // namespace varnholt
