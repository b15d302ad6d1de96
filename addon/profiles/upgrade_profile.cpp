#include "profiles/upgrade_profile.h"

#include <algorithm>
#include <map>

#include "model/component_source.h"
#include "model/directory.h"
#include "model/element3d.h"
#include "model/element_kinds.h"
#include "model/library.h"
#include "model/project.h"
#include "profiles/blob_script.h"
#include "profiles/profile_part.h"
#include "runtime/addon.h"
#include "runtime/alert.h"
#include "runtime/environment.h"
#include "runtime/memory.h"
#include "storage/data_file.h"
#include "timber/crafted.h"
#include "timber/framing_member.h"
#include "timber/parameter_access.h"
#include "tools/tool_support.h"

namespace varnholt {

using lunvik::CadString;
using lunvik::ComponentParameter;
using lunvik::ParametricSource;

namespace {

constexpr int32_t kPromptStrings = 32522;
constexpr int32_t kQuestionStrings = 32523;
constexpr int32_t kErrorStrings = 32524;
constexpr int32_t kUndoName = 10;
const char* const kBlobTemplateName = "BlobTemplate";
const char* const kUpgradeFolderName = "Lunvik Library";

// The parameters an upgrade adds, in this order: name, description, kind, default, rows and
// columns of an array (0: none), host flags (1 shown under the title, 129 hidden too).
struct BlobParameter {
  const char* name;
  const char* description;
  int32_t typeID;
  double value;
  const char* text;
  int32_t rows;
  int32_t columns;
  int32_t flags;
};

const BlobParameter kBlobParameters[] = {
    {"lunvik_settings", "Lunvik Settings", platform::kParamTitle, 0, nullptr, 0, 0, 0},
    {"lunvik_edgePen", "Edge pen", platform::kParamPen, 1, nullptr, 0, 0, 1},
    {"lunvik_fillPen", "Fill pen", platform::kParamPen, 0, nullptr, 0, 0, 1},
    {"lunvik_cutCount", "Number of cuts", platform::kParamInteger, 0, nullptr, 0, 0, 1},
    {"lunvik_swivel", "Swivel angle", platform::kParamAngle, 0, nullptr, 0, 0, 1},
    {"lunvik_incline", "Incline angle", platform::kParamAngle, 0, nullptr, 0, 0, 1},
    {"lunvik_prevSwivel", "Previous swivel angle", platform::kParamAngle, 0, nullptr, 0, 0, 129},
    {"lunvik_prevIncline", "Previous incline angle", platform::kParamAngle, 0, nullptr, 0, 0, 129},
    {"lunvik_ID", "Type ID", platform::kParamString, 0, "BLOB", 0, 0, 129},
    {"lunvik_cutAngle", "Cut angles", platform::kParamAngle, 0, nullptr, 20, 2, 129},
    {"lunvik_cutOffset", "Cut offsets", platform::kParamLength, 0, nullptr, 20, 1, 129},
    {"lunvik_isStretchy", "Is object stretchy", platform::kParamBoolean, 0, nullptr, 0, 0, 129},
    {"lunvik_spots", "Hotspots array", platform::kParamLength, 0, nullptr, 100, 3, 129},
    {"lunvik_spotCount", "Hotspot counter", platform::kParamInteger, 0, nullptr, 0, 0, 129},
    {"lunvik_version", "Version no.", platform::kParamInteger, 2, nullptr, 0, 0, 129},
    {"AC_show2DHotspotsIn3D", "Showing 2D Hotspots in 3D", platform::kParamBoolean, 0, nullptr, 0, 0, 129},
};

CadString text(int32_t list, int32_t item) { return lunvik::Environment::instance().string(list, item); }

std::unique_ptr<ParametricSource> parametric(std::unique_ptr<lunvik::ComponentSource> any) {
  auto* p = dynamic_cast<ParametricSource*>(any.get());
  if (!p) return nullptr;
  any.release();
  return std::unique_ptr<ParametricSource>(p);
}

// The loaded part of a name, as a parametric source; null when there is none.
std::unique_ptr<ParametricSource> partNamed(lunvik::Library& library, const CadString& name) {
  lunvik::ComponentLink link(name, 0, &library);
  if (!link.isValid()) return nullptr;
  return parametric(library.getElement(link));
}

std::unique_ptr<ParametricSource> partOf(lunvik::Library& library, int32_t index) {
  lunvik::ComponentLink link(platform::kObject, index, &library);
  std::unique_ptr<ParametricSource> part = parametric(library.getElement(link));
  if (!part) {
    lunvik::ComponentLink lamp(platform::kLamp, index, &library);
    part = parametric(library.getElement(lamp));
  }
  return part;
}

// The part's defaults as a parameter list an element can take.
bool defaultsOf(ParametricSource& part, lunvik::ParameterList& list) {
  platform::GSHandle records = part.parameters().write();
  const bool read = records && list.fromHostRecords(records);
  lunvik::ComponentParameters::disposeRecords(records);
  return read;
}

// The profile kind of a timber kind; false for the other kinds.
bool profileKindOf(TimberKind kind, ProfileKind& profile) {
  switch (kind) {
    case TimberKind::custom: profile = ProfileKind::elevation; return true;
    case TimberKind::extrusion: profile = ProfileKind::section; return true;
    case TimberKind::lathe: profile = ProfileKind::lathe; return true;
    default: return false;
  }
}

// The kind code text of a part's `ID` (or `lunvik_ID`) parameter; empty when it has none.
CadString kindCodeOf(const lunvik::ComponentElem& element) {
  CadString id;
  if (readText(element.parameters(), "ID", id) && !id.empty()) return id;
  if (readText(element.parameters(), "lunvik_ID", id) && !id.empty()) return id;
  return CadString();
}

}  // namespace

bool hasModel(const lunvik::Element& element) {
  if (element.link().index() == 0) return false;
  lunvik::Element3D model(element.link());
  return !model.bodies().empty();
}

bool IsUpgradeable::accept(const lunvik::Element& element) const {
  if (element.typeID() != platform::kObject && element.typeID() != platform::kLamp) return false;
  if (const auto* timber = dynamic_cast<const Crafted*>(&element)) {
    ProfileKind kind;
    if (profileKindOf(timber->kind(), kind)) return true;
  }
  return hasModel(element);
}

void addBlobParameters(ParametricSource& part) {
  lunvik::ComponentParameters& list = part.parameters();
  for (const BlobParameter& p : kBlobParameters) {
    if (ComponentParameter* present = list.parameter(CadString(p.name))) {
      if (present->typeID == platform::kParamBoolean && std::string(p.name) == "AC_show2DHotspotsIn3D")
        present->numbers.assign(present->numbers.size() ? present->numbers.size() : 1, 0.0);
      continue;
    }
    ComponentParameter added;
    added.name = CadString(p.name);
    added.description = CadString(p.description);
    added.typeID = p.typeID;
    added.flags = p.flags;
    if (p.rows > 0) {
      added.isArray = true;
      added.rows = p.rows;
      added.columns = p.columns;
      added.numbers.assign(std::size_t(p.rows) * std::size_t(p.columns), p.value);
    } else if (p.typeID == platform::kParamString) {
      added.texts.push_back(CadString(p.text));
    } else if (p.typeID != platform::kParamTitle) {
      added.numbers.push_back(p.value);
    }
    list.add(added);
  }
}

void wrapInBlobCode(ParametricSource& part, ParametricSource& blobTemplate) {
  const CadString masterBlock = firstBlobBlock(blobTemplate.masterScript());
  const CadString block2D = firstBlobBlock(blobTemplate.script2D());
  const CadString block3D = firstBlobBlock(blobTemplate.script3D());
  const bool blank3D = blankScript(withoutBlobBlocks(part.script3D()));
  CadString master = withoutFirstBlobBlock(part.masterScript());
  auto lineEnded = [](CadString t) {
    if (!t.empty() && t.str().back() != '\n') t += "\n";
    return t;
  };
  master = lineEnded(master);
  part.setMasterScript(blank3D ? masterBlock : masterBlock + master);

  CadString script2D = withoutFirstBlobBlock(part.script2D());
  if (blank3D) script2D = master + script2D;
  else if (blankScript(script2D)) script2D = CadString("fragment2 1, 1\n") + script2D;
  part.setScript2D(block2D + script2D);

  CadString script3D = withoutBlobBlocks(part.script3D());
  if (blank3D) script3D = master + script3D;
  script3D = lineEnded(rewriteObjectCode(script3D));
  part.setScript3D(block3D + script3D + blobEpilogue());

  if (blank3D) {
    part.setParameterScript(master + part.parameterScript());
    part.setInterfaceScript(master + part.interfaceScript());
  }
  part.setComment(withoutFirstBlobBlock(part.comment()));
}

CadString upgradeFolder(lunvik::Library& library) {
  const lunvik::FileList& locations = library.folders();
  const int32_t defaultFolder = library.defaultFolder();
  if (const lunvik::File* chosen = defaultFolder >= 0 ? locations.get(std::size_t(defaultFolder)) : nullptr)
    if (chosen->isFolder()) return chosen->path();
  for (std::size_t i = 0; i < locations.size(); ++i) {
    const lunvik::File& location = locations.at(i);
    if (location.isFolder() && location.name() == CadString(kUpgradeFolderName)) return location.path();
  }
  for (int32_t kind : {7, 5}) {
    std::unique_ptr<CadString> base = lunvik::Environment::instance().hostFolder(kind);
    if (!base) continue;
    std::unique_ptr<lunvik::Directory> made =
        lunvik::Directory::subFolder(lunvik::Directory(*base), CadString(kUpgradeFolderName), true);
    if (made && library.addFolder(made->location())) return made->location();
  }
  return CadString();
}

bool upgradeWithBlob(lunvik::Library& library, ParametricSource& part, UpgradedPart& out) {
  std::unique_ptr<ParametricSource> blobTemplate = partNamed(library, CadString(kBlobTemplateName));
  if (!blobTemplate || !blobTemplate->sections().load()) return false;
  if (part.index() != 0 && !part.sections().loaded() && !part.sections().load()) return false;
  part.parameters();
  // The part's file as it was, to put back should a save stop half way: the host writes a
  // part over itself a section at a time.
  const CadString location = part.location();
  std::string before;
  const bool kept = !location.empty() && lunvik::DataFile(location).readAll(before);
  const CadString name = part.name();
  addBlobParameters(part);
  wrapInBlobCode(part, *blobTemplate);
  if (library.save(part)) {
    out.source.reset(static_cast<ParametricSource*>(part.clone().release()));
    out.renamed = false;
    return true;
  }
  std::string after;
  if (kept && lunvik::DataFile(location).readAll(after) && after != before) {
    lunvik::DataFile file(location);
    if (file.open(lunvik::DataFile::Mode::write)) {
      file.write(before.data(), before.size());
      file.close();
    }
  }

  // Saved beside its library as name + "+", with a note of the part it came from.
  part.setComment(part.comment() + CadString(kBlobStart) + "\n" + name + "\n" + kBlobEnd + "\n");
  const CadString renamed = name + "+";
  if (std::unique_ptr<ParametricSource> present = partNamed(library, renamed)) {
    out.source = std::move(present);
    out.renamed = true;
    return true;
  }
  const CadString folder = upgradeFolder(library);
  if (folder.empty()) return false;
  lunvik::DataFile file(lunvik::Directory(folder).path() + renamed + ".gsm", 0, kPartFileCreator);
  if (file.exists()) return false;
  if (!file.open(lunvik::DataFile::Mode::write) || !file.close()) return false;
  part.forgetIndex();
  part.setOwnId(CadString(kNewPartIdentifier));
  part.setLocation(file);
  if (!library.save(part)) {
    file.remove();
    return false;
  }
  out.source.reset(static_cast<ParametricSource*>(part.clone().release()));
  out.renamed = true;
  return true;
}

bool rebuildProfilePart(lunvik::Library& library, ParametricSource& part, ProfileKind kind) {
  if (part.index() != 0 && !part.sections().loaded() && !part.sections().load()) return false;
  CadString profile;
  if (!profileBlock(part.script3D(), profile) || part.location().empty()) {
    lunvik::ErrorAlert().show(text(kErrorStrings, 11));
    return false;
  }
  std::unique_ptr<ParametricSource> fresh = partNamed(library, profileTemplateName(kind));
  if (!fresh || !fresh->sections().load()) {
    lunvik::ErrorAlert().show(text(kErrorStrings, kind == ProfileKind::elevation ? 1 : 2));
    return false;
  }
  // The current template's scripts with the part's own profile, its parameters taking the
  // part's values.
  CadString script = fresh->script3D();
  if (!replaceProfileBlock(script, profile)) return false;
  ParametricSource& old = part;
  lunvik::ComponentParameters values = old.parameters();
  lunvik::ComponentParameters& target = fresh->parameters();
  target.merge(values);
  const std::map<uint32_t, platform::GSHandle>& sections = fresh->sections().map();
  for (const auto& entry : sections) {
    if (entry.first == lunvik::kSectionParameters) continue;
    platform::GSHandle copy = nullptr;
    if (entry.second) {
      std::size_t size = lunvik::handleSize(entry.second);
      copy = lunvik::newHandle(*entry.second, size);
      if (!copy) return false;
    }
    old.sections().set(entry.first, copy);
  }
  old.setScript3D(script);
  old.parameters() = target;
  old.parameters().setText(CadString("timberName"), old.name());
  if (kind != ProfileKind::lathe) {
    old.parameters().setNumber(CadString("anchorY"), 0);
    old.parameters().setNumber(CadString("anchorZ"), 0);
    double length = 0, wide = 0, deep = 0;
    if (old.parameters().number(CadString("length"), length)) old.setSizeA(length);
    if (old.parameters().number(CadString("profWide"), wide)) old.setSizeB(wide);
    if (old.parameters().number(CadString("profDeep"), deep)) old.setHeight(deep);
  }
  return library.save(old);
}

namespace {

// The objects of one library part that a run updates.
struct PartRun {
  int32_t index = 0;
  std::vector<lunvik::Element*> objects;
};

// Takes the upgraded part's parameters into an object (its own values kept), links it to the
// part, marks it BLOB and writes it back with its box as it was.
bool updateObject(lunvik::Drawing& drawing, lunvik::Element& element, const UpgradedPart& part) {
  auto* placed = dynamic_cast<lunvik::ComponentElem*>(&element);
  if (!placed) return false;
  double a = 0, b = 0, z = 0;
  const bool box = readNumber(placed->parameters(), "A", a) && readNumber(placed->parameters(), "B", b) &&
                   readNumber(placed->parameters(), "ZZYZX", z);
  lunvik::ParameterList defaults;
  if (!defaultsOf(*part.source, defaults)) return false;
  placed->setComponent(part.source->index(), false, &defaults);
  if (box) {
    writeNumber(placed->parameters(), "A", a);
    writeNumber(placed->parameters(), "B", b);
    writeNumber(placed->parameters(), "ZZYZX", z);
  }
  if (!drawing.store(*placed)) return false;
  return setKindUserData(*placed, "BLOB");
}

// Brings the members of a rebuilt profile part up to date with its defaults.
void updateProfileMembers(lunvik::Drawing& drawing, const PartRun& run, ParametricSource& part) {
  lunvik::ParameterList defaults;
  if (!defaultsOf(part, defaults)) return;
  for (lunvik::Element* element : run.objects) {
    auto* placed = dynamic_cast<lunvik::ComponentElem*>(element);
    if (!placed) continue;
    placed->setComponent(run.index, false, &defaults);
    if (auto* member = dynamic_cast<Crafted*>(element)) member->recalculate(true);
    else drawing.store(*placed);
  }
}

}  // namespace

UpgradeOutcome upgradeObjects(lunvik::Drawing& drawing, std::vector<std::unique_ptr<lunvik::Element>>* list) {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Project* project = addon ? addon->project() : nullptr;
  if (!project) return UpgradeOutcome::nothing;
  lunvik::Library& library = project->library();

  std::vector<std::unique_ptr<lunvik::Element>> collected;
  std::vector<std::unique_ptr<lunvik::Element>>& objects = list ? *list : collected;
  if (!list) {
    for (auto it = drawing.begin(IsUpgradeable(true)); !it.atEnd(); ++it) collected.push_back(it.release());
    if (collected.empty()) return UpgradeOutcome::nothing;
    if (lunvik::ConfirmAlert().show(text(kQuestionStrings, 10)) != 1) return UpgradeOutcome::declined;
  }
  if (objects.empty()) return UpgradeOutcome::nothing;
  // The objects of one part follow each other.
  std::stable_sort(objects.begin(), objects.end(), [](const auto& a, const auto& b) {
    auto* pa = dynamic_cast<const lunvik::ComponentElem*>(a.get());
    auto* pb = dynamic_cast<const lunvik::ComponentElem*>(b.get());
    return (pa ? pa->libraryIndex() : 0) < (pb ? pb->libraryIndex() : 0);
  });
  std::vector<PartRun> runs;
  for (auto& object : objects) {
    auto* placed = dynamic_cast<lunvik::ComponentElem*>(object.get());
    if (!placed) continue;
    if (runs.empty() || runs.back().index != placed->libraryIndex()) runs.push_back({placed->libraryIndex(), {}});
    runs.back().objects.push_back(object.get());
  }

  CommandStep step(kUndoName);
  bool any = false;
  for (PartRun& run : runs) {
    auto* first = dynamic_cast<Crafted*>(run.objects.front());
    std::unique_ptr<ParametricSource> part = partOf(library, run.index);
    if (!part) continue;
    if (first) {
      ProfileKind kind;
      if (!profileKindOf(first->kind(), kind)) continue;
      if (!rebuildProfilePart(library, *part, kind)) continue;
      updateProfileMembers(drawing, run, *part);
      any = true;
      continue;
    }
    // An object upgraded into "+" earlier starts again from the part it was made from.
    const CadString from = blobBlockLine(part->comment());
    if (!from.empty())
      if (std::unique_ptr<ParametricSource> origin = partNamed(library, from)) part = std::move(origin);
    UpgradedPart upgraded;
    if (!upgradeWithBlob(library, *part, upgraded)) continue;
    std::vector<lunvik::Element*> targets = run.objects;
    std::vector<std::unique_ptr<lunvik::Element>> others;
    if (!list) {
      // Every object of the part in the drawing follows it.
      lunvik::Drawing::Filter all(platform::kObject, false, false, false);
      for (auto it = drawing.begin(all); !it.atEnd(); ++it) {
        auto* placed = dynamic_cast<lunvik::ComponentElem*>(it.get());
        if (!placed || placed->libraryIndex() != run.index) continue;
        bool listed = false;
        for (lunvik::Element* t : targets) listed = listed || t->link().guid() == it->link().guid();
        if (!listed) others.push_back(it.release());
      }
      for (auto& o : others) targets.push_back(o.get());
    }
    for (lunvik::Element* object : targets)
      if (updateObject(drawing, *object, upgraded)) any = true;
  }
  // The objects of a list are read again: they are members now.
  if (list)
    for (auto& object : *list) {
      if (!object) continue;
      lunvik::ElementLink link = object->link();
      if (std::unique_ptr<lunvik::Element> fresh = drawing.getElement(link, nullptr)) object = std::move(fresh);
    }
  return any ? UpgradeOutcome::upgraded : UpgradeOutcome::nothing;
}

std::vector<std::unique_ptr<Crafted>> membersForTools(lunvik::Drawing& drawing,
                                                      std::vector<std::unique_ptr<lunvik::Element>> elements,
                                                      bool upgrading) {
  std::vector<std::unique_ptr<Crafted>> members;
  std::vector<std::unique_ptr<lunvik::Element>> plain;
  for (auto& element : elements) {
    if (!element) continue;
    if (dynamic_cast<Crafted*>(element.get())) {
      members.push_back(asTimber(*element));
      continue;
    }
    auto* placed = dynamic_cast<lunvik::ComponentElem*>(element.get());
    if (!placed) continue;
    const CadString code = kindCodeOf(*placed);
    if (!code.empty()) {
      // A part of the timber family the host did not tag: its kind code makes it a member.
      if (setKindUserData(*placed, code.str()))
        if (std::unique_ptr<lunvik::Element> fresh = drawing.getElement(placed->link(), nullptr))
          if (std::unique_ptr<Crafted> member = asTimber(*fresh)) members.push_back(std::move(member));
      continue;
    }
    plain.push_back(std::move(element));
  }
  if (upgrading && !plain.empty() && upgradeObjects(drawing, &plain) == UpgradeOutcome::upgraded)
    for (auto& element : plain)
      if (element)
        if (std::unique_ptr<Crafted> member = asTimber(*element)) members.push_back(std::move(member));
  return members;
}

lunvik::EventSpec UpgradeProfile::spec() const {
  return lunvik::EventSpec(lunvik::kProductCategory, platform::fourcc("UDPF"));
}

bool UpgradeProfile::takeEvent(lunvik::Event&) {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Drawing* drawing = addon ? addon->currentDrawing() : nullptr;
  if (!drawing) return true;
  if (upgradeObjects(*drawing, nullptr) == UpgradeOutcome::nothing)
    lunvik::NotifyAlert().show(text(kPromptStrings, 37));
  bringToFront(*drawing);
  return true;
}

}  // namespace varnholt
