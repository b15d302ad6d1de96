#include "profiles/profile_dialog.h"

#include <cstring>

#include "model/library.h"
#include "prefs/profile_prefs.h"
#include "runtime/alert.h"
#include "runtime/environment.h"

namespace varnholt {

using lunvik::CadString;

namespace {

constexpr int32_t kNameStrings = 32521;
constexpr int32_t kErrorStrings = 32524;

// The items: the Type pop-up, the name, the three value fields with their labels, the Library
// pop-up.
enum : int16_t {
  kTypeItem = 4,
  kNameItem = 6,
  kDepthLabel = 7,
  kDepthItem = 8,
  kLengthLabel = 9,
  kLengthItem = 10,
  kSweepLabel = 11,
  kSweepItem = 12,
  kLibraryItem = 14,
};

CadString text(int32_t list, int32_t item) { return lunvik::Environment::instance().string(list, item); }

}  // namespace

CadString trimmedProfileName(const CadString& name) {
  const std::string& s = name.str();
  std::size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return CadString();
  std::size_t b = s.find_last_not_of(" \t\r\n");
  return CadString(s.substr(a, b - a + 1));
}

ProfileNameProblem checkProfileName(const CadString& name, lunvik::Library& library) {
  if (name.empty()) return ProfileNameProblem::empty;
  const std::string& s = name.str();
  // The name becomes the file's name in the chosen folder: it may not lead out of the folder
  // nor hold what a file name cannot.
  if (s.find_first_not_of('.') == std::string::npos) return ProfileNameProblem::notAFileName;
  for (char c : s) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || std::strchr("/\\:*?\"<>|", c)) return ProfileNameProblem::notAFileName;
  }
  int32_t type = 0;
  if (library.indexOf(name, type) != 0) return ProfileNameProblem::taken;
  return ProfileNameProblem::none;
}

ProfileDialog::ProfileDialog(ProfilePrefs& prefs, std::vector<Folder> folders, int32_t defaultFolder,
                             lunvik::Library& library)
    : Dialog(kResource, true), prefs_(prefs), folders_(std::move(folders)), defaultFolder_(defaultFolder), library_(library) {}

void ProfileDialog::setupControls() {
  type_ = add(new lunvik::PopupMenu(*this, kTypeItem, 0));
  for (int32_t kind = 0; kind < 3; ++kind) type_->addEntry(text(kNameStrings, 12 + kind), kind);
  type_->selectValue(int32_t(prefs_.profileType));
  name_ = add(new lunvik::EditText(*this, kNameItem));
  name_->setText(prefs_.profileName);
  for (int16_t label : {kDepthLabel, kLengthLabel, kSweepLabel}) add(new lunvik::StaticText(*this, label));
  depth_ = add(new lunvik::LengthText(*this, kDepthItem));
  length_ = add(new lunvik::LengthText(*this, kLengthItem));
  sweep_ = add(new lunvik::AngleText(*this, kSweepItem));
  depth_->setValue(prefs_.profileThick);
  length_->setValue(prefs_.profileLength);
  sweep_->setValue(prefs_.profileSweep);
  folder_ = add(new lunvik::PopupMenu(*this, kLibraryItem, 0));
  // The stored folder when it is still loaded, else the host's default one.
  int32_t chosen = defaultFolder_ >= 0 && std::size_t(defaultFolder_) < folders_.size() ? defaultFolder_ : 0;
  bool found = false;
  for (std::size_t i = 0; i < folders_.size(); ++i) {
    folder_->addEntry(folders_[i].label, int32_t(i));
    if (!found && folders_[i].label == prefs_.profileLibrary &&
        (prefs_.profilePath.empty() || folders_[i].path == prefs_.profilePath)) {
      chosen = int32_t(i);
      found = true;
    }
  }
  if (!folders_.empty()) folder_->selectValue(chosen);
  attach(type_, new ChangeProfileType(*this));
  attach(add(new lunvik::Button(*this, 1)), new lunvik::ActionCall([this](lunvik::ActionEvent& e) { return confirm(e); }));
  showValueField();
}

void ProfileDialog::showValueField() {
  const int32_t kind = type_ ? type_->selectedValue() : 1;
  const int16_t shown[3][2] = {{kDepthLabel, kDepthItem}, {kLengthLabel, kLengthItem}, {kSweepLabel, kSweepItem}};
  for (int k = 0; k < 3; ++k)
    for (int16_t item : shown[k])
      if (lunvik::DialogControl* c = control(item)) c->hide();
  if (kind < 0 || kind > 2) return;
  for (int16_t item : shown[kind])
    if (lunvik::DialogControl* c = control(item)) c->show();
}

bool ProfileDialog::ChangeProfileType::itemChanged(lunvik::ItemEvent&) {
  dialog_.showValueField();
  return true;
}

bool ProfileDialog::confirm(lunvik::ActionEvent& event) {
  const CadString name = trimmedProfileName(name_->text());
  const ProfileNameProblem problem = checkProfileName(name, library_);
  if (problem != ProfileNameProblem::none) {
    const int32_t item = problem == ProfileNameProblem::empty ? 15 : problem == ProfileNameProblem::taken ? 16 : 45;
    lunvik::ErrorAlert().show(text(kErrorStrings, item));
    event.reply(0);
    return true;
  }
  const int32_t kind = type_->selectedValue();
  const int32_t folder = folder_->selectedValue();
  prefs_.profileName = name;
  if (folder >= 0 && std::size_t(folder) < folders_.size()) {
    prefs_.profileLibrary = folders_[std::size_t(folder)].label;
    prefs_.profilePath = folders_[std::size_t(folder)].path;
  }
  if (kind >= 0 && kind <= 2) prefs_.profileType = ProfilePrefs::Type(kind);
  if (kind == 0) prefs_.profileThick = depth_->value();
  else if (kind == 1) prefs_.profileLength = length_->value();
  else if (kind == 2) prefs_.profileSweep = sweep_->value();
  return true;
}

}  // namespace varnholt
