#include "shell/varnholt_addon.h"

#include "alignment/alignment.h"
#include "alignment/preset_menu.h"
#include "model/project.h"
#include "prefs/align_prefs.h"
#include "prefs/frame_prefs.h"
#include "prefs/framing_template_prefs.h"
#include "prefs/joint_prefs.h"
#include "prefs/package_codes.h"
#include "prefs/prefs_edit.h"
#include "prefs/profile_prefs.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "profiles/new_profile.h"
#include "profiles/upgrade_profile.h"
#include "runtime/alert.h"
#include "runtime/environment.h"
#include "runtime/host_interface.h"
#include "schedule/enumerate_timbers.h"
#include "schedule/timber_cutting_list.h"
#include "schedule/timber_number_display.h"
#include "shell/about_dialog.h"
#include "shell/product_menu.h"
#include "shell/project_data.h"
#include "timber/crafted.h"
#include "timber/timber_database.h"
#include "tools/rotate_tool.h"

namespace varnholt {

namespace {

// Listens for project notifications so that the initialisation pass installs them; takes
// nothing.
class Projector : public lunvik::ProjectSubscriber {
 public:
  bool projectEvent(lunvik::ProjectEvent&) override { return false; }
};

}  // namespace

VarnholtAddon::VarnholtAddon() : tools_(std::make_unique<ToolList>()) {}

VarnholtAddon::~VarnholtAddon() {
  // Tools leave the subscription list before they are deleted.
  for (auto& tool : *tools_) unsubscribe(tool.get());
  tools_.reset();
  timberDatabase_.reset();
}

void VarnholtAddon::reportUnexpectedError() {
  lunvik::ErrorAlert().show(lunvik::Environment::instance().string(kAddonStrings, 7));
}

void VarnholtAddon::reportUnreadModuleData(const lunvik::CadString& package, bool hostTold) {
  lunvik::CadString text = lunvik::Environment::instance().string(kErrorStrings, 26);
  text += " (";
  text += package.empty() ? lunvik::CadString("the module data") : package;
  text += ")";
  // Without the host's notice nothing keeps a save from replacing the data: an error then,
  // so that the command stops.
  if (hostTold) lunvik::WarnAlert().show(text);
  else lunvik::ErrorAlert().show(text);
}

std::unique_ptr<lunvik::CadString> VarnholtAddon::preferencesFolder() const {
  lunvik::CadString folder = lunvik::Environment::instance().applicationDataFolder();
  lunvik::CadString name = lunvik::Environment::instance().string(kDefaultStrings, 12);
  if (folder.empty() || name.empty()) return nullptr;
  folder += name;
  auto kind = lunvik::host().operation(&platform::HostFunctionTable::IOPathKind);
  auto create = lunvik::host().operation(&platform::HostFunctionTable::IOCreateFolder);
  if (!kind || kind(folder.c_str()) != 2) {
    if (!create || create(folder.c_str()) != platform::kNoError) return nullptr;
  }
  return std::make_unique<lunvik::CadString>(folder);
}

bool VarnholtAddon::beforeHostEvent(lunvik::HostEvent& event) {
  bool skip = Addon::beforeHostEvent(event);
  if (event.spec().kind == lunvik::ProjectEvent::kKind &&
      (event.code() == platform::kProjectNew || event.code() == platform::kProjectOpen))
    checkLibraryFolder();
  return skip;
}

bool VarnholtAddon::afterHostEvent(lunvik::HostEvent& event) {
  bool result = Addon::afterHostEvent(event);
  lunvik::Event regenerate(lunvik::EventSpec(lunvik::kProductCategory, platform::fourcc("DRPE")));
  if (event.spec().kind == lunvik::ModuleEvent::kKind && event.code() == 1) {
    takeEvent(regenerate);
  } else if (event.spec().kind == lunvik::ProjectEvent::kKind &&
             (event.code() == platform::kProjectNew || event.code() == platform::kProjectOpen)) {
    updatePresetMenu();
    lunvik::ObjectStore& store = project()->store();
    lunvik::Package* joints = store.get(kJointPrefsCode);
    lunvik::Package* timbers = store.get(kTimberPrefsCode);
    if (joints) joints->complete();
    if (timbers) timbers->complete();
    if (joints || timbers) {
      takeEvent(regenerate);
      project()->rebuildPlan();
    }
  }
  return result;
}

void VarnholtAddon::updatePresetMenu() {
  if (auto* prefs = dynamic_cast<AlignPrefs*>(project()->store().get(kAlignPrefsCode))) showPresetNames(*this, *prefs);
}

void VarnholtAddon::setup() {
  // Placed objects and lamps of the timber family are read as timbers, and kept consistent
  // whatever tool changes them.
  timberDatabase_ = std::make_unique<TimberDatabase>(*this);
  ToolList& tools = *tools_;
  tools.push_back(new Projector());
  tools.push_back(new LibraryChecker());
  tools.push_back(new ProjectDataChecker());
  tools.push_back(new ProfileMenu());
  tools.push_back(new AssemblyMenu());
  tools.push_back(new JointsMenu());
  tools.push_back(new ToolsMenu());
  tools.push_back(new ScheduleMenu());
  tools.push_back(new PrefsMenu());
  tools.push_back(new AlignMenu());
  tools.push_back(new AboutMenu());
  tools.push_back(new AboutDialog());
  tools.push_back(new Alignment());
  tools.push_back(new NewProfile());
  tools.push_back(new RotateTool());
  tools.push_back(new UpgradeProfile());
  tools.push_back(new JointPrefsEdit());
  tools.push_back(new ProjectPrefsEdit());
  tools.push_back(new ProjectDataExporter());
  tools.push_back(new TimberPrefsEdit());
  tools.push_back(new TimberCuttingList());
  tools.push_back(new EnumerateTimbers());
  tools.push_back(new ClearTimberNos());
  tools.push_back(new ToggleNumber());
  tools.push_back(new ToggleLabel());

  addPackage(JointPrefs());
  addPackage(ProjectPrefs());
  addPackage(TimberPrefs());
  addPackage(FramePrefs());
  addPackage(FramingTemplatePrefs());
  addPackage(ProfilePrefs());
  addPackage(AlignPrefs());

  for (auto& tool : tools) subscribe(tool.get());
}

}  // namespace varnholt

namespace lunvik {

Addon* newProductAddon() { return new varnholt::VarnholtAddon(); }

}  // namespace lunvik
