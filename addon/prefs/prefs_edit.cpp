#include "prefs/prefs_edit.h"

#include "model/project.h"
#include "prefs/joint_prefs.h"
#include "prefs/joint_prefs_dialog.h"
#include "prefs/project_prefs.h"
#include "prefs/project_prefs_dialog.h"
#include "prefs/reports_prefs_dialog.h"
#include "prefs/timber_prefs.h"
#include "runtime/addon.h"

namespace varnholt {

namespace {

template <typename P>
P* projectPackage() {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Project* project = addon ? addon->project() : nullptr;
  return project ? dynamic_cast<P*>(project->store().get(P::kCode)) : nullptr;
}

}  // namespace

lunvik::EventSpec PrefsEdit::spec() const { return lunvik::EventSpec(lunvik::kProductCategory, kind_); }

bool PrefsEdit::takeEvent(lunvik::Event&) {
  edit();
  return true;
}

bool PrefsEdit::edit() {
  if (runDialog() != 1) return false;
  lunvik::Addon* addon = lunvik::theAddon();
  if (!addon) return false;
  addon->saveToProject();
  lunvik::Event regenerate(lunvik::EventSpec(lunvik::kProductCategory, platform::fourcc("DRPE")));
  addon->takeEvent(regenerate);
  return true;
}

ProjectPrefsEdit::ProjectPrefsEdit() : PrefsEdit(platform::fourcc("EPPE")) {}

int32_t ProjectPrefsEdit::runDialog() {
  ProjectPrefs* prefs = projectPackage<ProjectPrefs>();
  if (!prefs) return 0;
  ProjectPrefsDialog dialog(*prefs);
  return dialog.run();
}

JointPrefsEdit::JointPrefsEdit() : PrefsEdit(platform::fourcc("EJPE")) {}

int32_t JointPrefsEdit::runDialog() {
  JointPrefs* prefs = projectPackage<JointPrefs>();
  if (!prefs) return 0;
  JointPrefsDialog dialog(*prefs);
  return dialog.run();
}

TimberPrefsEdit::TimberPrefsEdit() : PrefsEdit(platform::fourcc("ERPE")) {}

int32_t TimberPrefsEdit::runDialog() {
  ProjectPrefs* project = projectPackage<ProjectPrefs>();
  TimberPrefs* timbers = projectPackage<TimberPrefs>();
  if (!project || !timbers) return 0;
  TimberPrefsDialog dialog(*project, *timbers);
  return dialog.run();
}

}  // namespace varnholt
