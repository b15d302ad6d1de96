#include "profiles/new_profile.h"

#include <cmath>
#include <vector>

#include "geometry/cad_poly.h"
#include "model/attribute.h"
#include "model/component_source.h"
#include "model/directory.h"
#include "model/element_kinds.h"
#include "model/library.h"
#include "model/project.h"
#include "prefs/frame_prefs.h"
#include "prefs/profile_prefs.h"
#include "profiles/profile_dialog.h"
#include "profiles/profile_part.h"
#include "runtime/addon.h"
#include "runtime/alert.h"
#include "runtime/host_interface.h"
#include "storage/data_file.h"
#include "timber/framing_member.h"
#include "timber/timber_database.h"
#include "tools/tool_support.h"

namespace varnholt {

using lunvik::CadPoint;
using lunvik::CadPoly;
using lunvik::CadString;

namespace {

constexpr int32_t kQuestionStrings = 32523;
constexpr int32_t kErrorStrings = 32524;
constexpr int32_t kUndoName = 9;
constexpr double kHalfPi = 1.5707963267948966;

template <typename T>
T* package(lunvik::Project& project) {
  return dynamic_cast<T*>(project.store().get(T::kCode));
}

void error(int32_t item) { lunvik::ErrorAlert().show(productText(kErrorStrings, item)); }

// Shows and unlocks a layer and writes it back to the host; false when the host keeps it as
// it is.
bool showAndUnlock(lunvik::Specification& specification, int16_t index) {
  const lunvik::Layer* cached = specification.layer(index);
  if (!cached) return false;
  lunvik::Layer layer(*cached);
  const bool wasHidden = layer.isHidden();
  bool written = layer.setHidden(false);
  if (written && !layer.setLocked(false)) {
    // Shown but still locked is no use: the layer goes back as it was.
    if (wasHidden) layer.setHidden(true);
    written = false;
  }
  // The cached copy no longer says what the host holds, whether or not both writes went through.
  specification.forget(platform::kAttrLayer, index);
  return written;
}

// How the layer question ends: the member's layer, the user declining, or the host failing.
enum class LayerChoice { use, declined, failed };

// The layer for the new member: the one chosen for new timber, or, with the user's consent, the
// host's first layer or the chosen one shown and unlocked. A layer the host cannot read for
// another reason than its absence is a failure, not a missing layer.
LayerChoice memberLayer(lunvik::Project& project, int16_t& layer) {
  const FramePrefs* frame = package<FramePrefs>(project);
  const int16_t wanted = frame ? frame->curveLayer : 1;
  platform::AttributeRecord record{};
  record.header.typeID = int16_t(platform::kAttrLayer);
  record.header.index = wanted;
  const platform::GSErr read = lunvik::host().call(&platform::HostFunctionTable::HostEnvironment,
                                                   platform::fourcc("GATT"), &record, nullptr, nullptr);
  if (read == platform::kErrBadIndex || (read == platform::kNoError && record.header.index == 0)) {
    if (lunvik::ConfirmAlert().show(productText(kQuestionStrings, 8)) != 1) return LayerChoice::declined;
    layer = 1;
    return LayerChoice::use;
  }
  if (read != platform::kNoError) return LayerChoice::failed;
  if ((record.header.flags & (platform::kLayerHidden | platform::kLayerLocked)) != 0) {
    if (lunvik::ConfirmAlert().show(productText(kQuestionStrings, 7)) != 1) return LayerChoice::declined;
    if (!showAndUnlock(project.specification(), wanted)) return LayerChoice::failed;
  }
  layer = wanted;
  return LayerChoice::use;
}

// The new part's file: created empty in the folder, never over a file that is there.
bool createPartFile(lunvik::DataFile& file) {
  if (file.exists()) return false;
  const bool opened = file.open(lunvik::DataFile::Mode::write);
  if (opened && file.close()) return true;
  // Opening may have made the file before a later step failed: it was not there before.
  if (file.exists()) file.remove();
  return false;
}

}  // namespace

bool IsPolygon::accept(const lunvik::Element& element) const {
  return dynamic_cast<const lunvik::PolygonMemo*>(&element) != nullptr;
}

int32_t selectedProfilePolygon(lunvik::Drawing& drawing, std::unique_ptr<CadPoly>& polygon) {
  bool any = false;
  for (auto it = drawing.begin(IsPolygon(true)); !it.atEnd(); ++it) {
    any = true;
    std::unique_ptr<CadPoly> outline = it->outline();
    if (!outline || outline->vertexCount() < 2) continue;
    const PolygonProblem problem = checkProfilePolygon(*outline);
    if (problem != PolygonProblem::none) return polygonProblemMessage(problem);
    polygon = std::move(outline);
    return 0;
  }
  return any ? 7 : 5;
}

std::unique_ptr<FramingMember> newProfileMember(ProfileKind kind, int32_t partIndex, lunvik::ParametricSource& part) {
  lunvik::Object prototype;
  prototype.header().variation = TimberDatabase::kToolVariation;
  platform::ElementRecord record{};
  if (prototype.getDefaults(record) != platform::kNoError) return nullptr;
  record.header.typeID = platform::kObject;
  record.header.variation = TimberDatabase::kToolVariation;
  record.part.libIndex = partIndex;
  const lunvik::ElementLink link(platform::kObject, 0, platform::Guid{});
  std::unique_ptr<FramingMember> member;
  switch (kind) {
    case ProfileKind::elevation: member = std::make_unique<Custom>(record, link); break;
    case ProfileKind::section: member = std::make_unique<Extrusion>(record, link); break;
    case ProfileKind::lathe: member = std::make_unique<Lathe>(record, link); break;
  }
  platform::GSHandle records = part.parameters().write();
  lunvik::ParameterList defaults;
  const bool read = records && defaults.fromHostRecords(records);
  lunvik::ComponentParameters::disposeRecords(records);
  if (!read) return nullptr;
  member->GableMemo::setLoaded(true);
  member->setComponent(partIndex, false, &defaults);
  member->setSize(part.sizeA(), part.sizeB());
  return member;
}

lunvik::EventSpec NewProfile::spec() const { return lunvik::EventSpec(lunvik::kProductCategory, platform::fourcc("NEPF")); }

bool NewProfile::takeEvent(lunvik::Event&) {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Drawing* drawing = addon ? addon->currentDrawing() : nullptr;
  if (!drawing) return true;
  run(*drawing);
  bringToFront(*drawing);
  return true;
}

bool NewProfile::run(lunvik::Drawing& drawing) {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Project* project = addon ? addon->project() : nullptr;
  ProfilePrefs* prefs = project ? package<ProfilePrefs>(*project) : nullptr;
  if (!prefs) return false;
  lunvik::Library& library = project->library();

  // 1. The polygon.
  std::unique_ptr<CadPoly> polygon;
  if (int32_t problem = selectedProfilePolygon(drawing, polygon)) {
    error(problem);
    return false;
  }
  // 2. The library folders; single library files cannot take a part.
  std::vector<ProfileDialog::Folder> folders;
  int32_t defaultFolder = -1;
  const int32_t hostDefault = library.defaultFolder();
  std::unique_ptr<lunvik::FileList> locations = library.folderList();
  for (std::size_t i = 0; i < locations->size(); ++i) {
    const lunvik::File& location = (*locations)[i];
    if (!location.isFolder()) continue;
    if (int32_t(i) == hostDefault) defaultFolder = int32_t(folders.size());
    folders.push_back({location.name(), location.path()});
  }
  if (folders.empty()) {
    error(10);
    return false;
  }
  // 3. The dialog.
  ProfileDialog dialog(*prefs, folders, defaultFolder, library);
  if (dialog.run() != 1) return false;
  const auto kind = ProfileKind(int(prefs->profileType));
  const double value = kind == ProfileKind::elevation ? prefs->profileThick
                       : kind == ProfileKind::section ? prefs->profileLength
                                                      : prefs->profileSweep;

  // 4. One undo step; the dialog's values are kept whatever follows.
  CommandStep step(kUndoName);
  addon->saveToProject();

  // 5. The new part's file in the chosen folder.
  const lunvik::Directory folder(prefs->profilePath);
  lunvik::DataFile file(folder.path() + prefs->profileName + ".gsm", 0, kPartFileCreator);
  if (!createPartFile(file)) {
    error(11);
    return false;
  }
  // Until the part is placed, any failure takes the file away again.
  struct Placeholder {
    lunvik::DataFile& file;
    bool keep = false;
    ~Placeholder() {
      if (!keep) file.remove();
    }
  } placeholder{file};

  // 6. The template, from the built-in library.
  lunvik::ComponentLink templateLink(profileTemplateName(kind), 0, &library);
  std::unique_ptr<lunvik::ComponentSource> any = templateLink.isValid() ? library.getElement(templateLink) : nullptr;
  auto* source = dynamic_cast<lunvik::ParametricSource*>(any.get());
  if (!source) {
    error(kind == ProfileKind::elevation ? 1 : 2);
    return false;
  }
  if (!source->sections().load()) return false;
  source->forgetIndex();
  source->setOwnId(CadString(kNewPartIdentifier));
  CadString parent = library.builtInIdentifier(profileTemplateResource(kind));
  if (!parent.empty()) source->setParentId(parent);
  source->setOptionFlag1(true);
  source->setOptionFlag2(false);
  // 7. The part takes the file's place and name.
  source->setLocation(file);

  // 8. The part, from the user's clicks.
  bringToFront(drawing);
  CadPoint at;
  double angle = 0;
  ProfileProblem problem = ProfileProblem::none;
  if (!buildProfilePart(library, *source, *polygon, kind, value, at, angle, problem)) return false;

  // 9. The member of the new part at the anchor. The part stays in the library when the user
  // declines a layer question, not when the host fails.
  int16_t layer = 1;
  const LayerChoice choice = memberLayer(*project, layer);
  if (choice == LayerChoice::declined) placeholder.keep = true;
  if (choice != LayerChoice::use) return false;
  std::unique_ptr<FramingMember> member = newProfileMember(kind, source->index(), *source);
  bool placed = false;
  if (member) {
    member->setTimberLayer(layer);
    if (kind == ProfileKind::lathe) member->putText("anchorPick", CadString("MM"));
    else member->putText("anchorType", CadString("Profile"));
    member->applyAnchor();
    auto* cut = dynamic_cast<lunvik::CutPlane*>(&drawing);
    // A section or elevation shows its x along the cut line and its y up.
    member->setPosition(CadPoint(at.getX(), cut ? 0.0 : at.getY(), 0));
    if (cut) member->setElevation(at.getY(), false);
    member->setPlanAngle(angle + kHalfPi);
    member->setSwivel(0);
    member->setIncline(kind == ProfileKind::section ? -kHalfPi : 0);
    member->syncFromRotation();
    member->setTimberDrawing(&drawing);
    // The host reports the new member to the timber database, which tags it, settles it and,
    // from a section or elevation, moves it into the plan.
    placed = drawing.store(*member, true);
  }
  if (!placed) return false;
  placeholder.keep = true;
  drawing.redrawAll();
  return true;
}

}  // namespace varnholt
