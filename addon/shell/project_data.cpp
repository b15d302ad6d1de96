#include "shell/project_data.h"

#include "model/library.h"
#include "model/project.h"
#include "prefs/joint_prefs.h"
#include "prefs/package_codes.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "runtime/addon.h"
#include "runtime/alert.h"
#include "runtime/environment.h"
#include "runtime/host_interface.h"
#include "shell/varnholt_addon.h"
#include "storage/data_file.h"
#include "storage/shipping_text.h"

namespace varnholt {

using lunvik::CadString;
using lunvik::EventSpec;
using platform::fourcc;

namespace {

constexpr uint32_t kRegenerate = fourcc("DRPE");

CadString number(double value) {
  CadString text;
  lunvik::ShippingText<double>::toText(value, text);
  return text;
}

void appendJoint(std::string& out, const CadString& name, const CadString& description, double length,
                 double hours) {
  out += "\tif (GLOB_USER_11 = " + gdlString(name).str() + ") then\n";
  out += "\t\tGLOB_USER_12 = " + gdlString(description).str() + "\n";
  out += "\t\tGLOB_USER_2 = " + number(length).str() + "\n";
  out += "\t\tGLOB_USER_3 = " + number(hours).str() + "\n";
  out += "\tendif\n";
}

CadString macroName() { return lunvik::Environment::instance().string(kDefaultStrings, 8); }

// The macro's file when the library has a "ProjectData" macro that can be written over.
bool existingMacroFile(CadString& path) {
  lunvik::Addon* addon = lunvik::theAddon();
  if (!addon || !addon->project()) return false;
  lunvik::Library& library = addon->project()->library();
  int32_t type = platform::kPartMacro;
  int32_t index = library.indexOf(macroName(), type);
  if (index == 0 || type != platform::kPartMacro) return false;
  platform::LibraryPartRecord record{};
  CadString location;
  if (!library.partRecord(index, record, location) || location.empty()) return false;
  auto kind = lunvik::host().operation(&platform::HostFunctionTable::IOPathKind);
  if (!kind || kind(location.c_str()) != 1) return false;
  path = location;
  return true;
}

template <typename P>
P* projectPackage(uint32_t code) {
  lunvik::Addon* addon = lunvik::theAddon();
  if (!addon || !addon->project()) return nullptr;
  return dynamic_cast<P*>(addon->project()->store().get(code));
}

}  // namespace

CadString gdlString(const CadString& text) {
  std::string body = text.str();
  for (char& c : body)
    if (c == '\r' || c == '\n') c = ' ';
  bool hasDouble = body.find('"') != std::string::npos;
  bool hasSingle = body.find('\'') != std::string::npos;
  if (!hasDouble) return CadString("\"" + body + "\"");
  if (!hasSingle) return CadString("'" + body + "'");
  // No literal holds both quote kinds: the text is joined from runs without a double quote,
  // in double quotes, and runs of double quotes, in single quotes.
  std::string out;
  std::size_t start = 0;
  while (start < body.size()) {
    bool quotes = body[start] == '"';
    std::size_t end = start;
    while (end < body.size() && (body[end] == '"') == quotes) ++end;
    if (!out.empty()) out += " + ";
    const char delimiter = quotes ? '\'' : '"';
    out += delimiter;
    out.append(body, start, end - start);
    out += delimiter;
    start = end;
  }
  return CadString(out);
}

CadString projectDataMacro(const ProjectPrefs& project, const JointPrefs& joints, const TimberPrefs* timbers) {
  std::string out;
  out.reserve(61440);
  const auto& jointList = joints.jointList.items();

  out += "if (GLOB_USER_1 = 1) then\n";
  appendJoint(out, CadString(), CadString(), 0, 0);
  for (const auto& joint : jointList)
    appendJoint(out, joint->name, joint->description, joint->additionalLength, joint->additionalHours);
  out += "endif\n\n";

  out += "if (GLOB_USER_1 = 2) then\n";
  for (const char* parameter : {"JuncTypeSt", "JuncTypeEn", "IntJuncType1", "IntJuncType2", "IntJuncType3"}) {
    out += "\tvalues \"";
    out += parameter;
    out += "\" \"\"";
    for (std::size_t i = 0; i < jointList.size(); ++i) {
      if (!jointList[i].name.hasVisibleText()) continue;
      out += ", ";
      if (i % 4 == 0 && i != 0) out += "\n\t\t";
      out += gdlString(jointList[i].name).str();
    }
    out += "\n";
  }
  out += "endif\n\n";

  out += "if (GLOB_USER_1 = 4) then\n";
  out += "\tGLOB_USER_11 = " + gdlString(project.personID).str() + "\n";
  out += "\tGLOB_USER_12 = " + gdlString(project.projectNo).str() + "\n";
  out += "endif\n\n";

  out += "if (GLOB_USER_1 = 5) then\n";
  out += "\tVALUES \"SeasonType\"";
  std::size_t specs = timbers ? timbers->timberSpecList.items().size() : 0;
  if (specs == 0) {
    out += " " + gdlString(lunvik::Environment::instance().string(kDefaultStrings, 9).empty()
                               ? CadString("Untitled")
                               : lunvik::Environment::instance().string(kDefaultStrings, 9))
                     .str();
  }
  for (std::size_t i = 0; i < specs; ++i) {
    if (i > 0) {
      out += ", ";
      if (i % 4 == 0) out += "\n\t\t";
    }
    out += gdlString(timbers->timberSpecList.items()[i].name).str();
  }
  out += "\n";
  out += "endif\n\n";

  out += "if (GLOB_USER_1 = 6) then\n";
  for (std::size_t i = 0; i < specs; ++i) {
    const auto& spec = timbers->timberSpecList.items()[i];
    out += "\tif (GLOB_USER_11 = " + gdlString(spec.name).str() + ") then\n";
    out += "\t\tGLOB_USER_2 = " + number(spec.baseCost).str() + "\n";
    out += "\tendif\n";
  }
  out += "endif\n\n";

  out += "if (GLOB_USER_1 = 7) then\n";
  out += "\tGLOB_USER_2 = " + number(project.lengthInc).str() + "\n";
  out += "\tGLOB_USER_3 = " + number(project.sectionInc).str() + "\n";
  out += "endif\n\n";
  return CadString(std::move(out));
}

CadString addonLibraryFolder() {
  auto folder = lunvik::Environment::instance().hostFolder(platform::kHostFolderApplication);
  if (!folder || folder->empty()) return CadString();
  CadString path = *folder;
  char last = path[path.length() - 1];
  if (last != '\\' && last != '/') path += '\\';
  path += "Add-Ons\\";
  path += lunvik::Environment::instance().string(kAddonStrings, 1);
  return path;
}

void checkLibraryFolder() {
  ProjectPrefs* prefs = projectPackage<ProjectPrefs>(kProjectPrefsCode);
  if (!prefs || !prefs->loadTimber) return;
  CadString folder = addonLibraryFolder();
  if (folder.empty()) return;
  auto kind = lunvik::host().operation(&platform::HostFunctionTable::IOPathKind);
  if (!kind || kind(folder.c_str()) != 2) return;
  lunvik::Library& library = lunvik::theAddon()->project()->library();
  if (!library.hasFolder(folder)) library.addFolder(folder);
}

EventSpec LibraryChecker::spec() const { return EventSpec(lunvik::kHostCategory, lunvik::MenuEvent::kKind); }

bool LibraryChecker::takeEvent(lunvik::Event&) {
  checkLibraryFolder();
  return false;
}

EventSpec ProjectDataChecker::spec() const { return EventSpec(lunvik::kHostCategory, lunvik::MenuEvent::kKind); }

bool ProjectDataChecker::takeEvent(lunvik::Event&) {
  CadString path;
  if (!existingMacroFile(path)) {
    lunvik::Event regenerate(EventSpec(lunvik::kProductCategory, kRegenerate));
    if (lunvik::Addon* addon = lunvik::theAddon()) addon->takeEvent(regenerate);
  }
  return false;
}

EventSpec ProjectDataExporter::spec() const { return EventSpec(lunvik::kProductCategory, kRegenerate); }

bool ProjectDataExporter::takeEvent(lunvik::Event&) {
  exportMacro();
  return true;
}

bool ProjectDataExporter::exportMacro() {
  ProjectPrefs* project = projectPackage<ProjectPrefs>(kProjectPrefsCode);
  JointPrefs* joints = projectPackage<JointPrefs>(kJointPrefsCode);
  if (!project || !joints) return false;
  TimberPrefs* timbers = projectPackage<TimberPrefs>(kTimberPrefsCode);

  CadString path;
  if (!existingMacroFile(path)) {
    auto folder = lunvik::theAddon()->preferencesFolder();
    if (folder) {
      path = *folder;
      char last = path.empty() ? '\\' : path[path.length() - 1];
      if (last != '\\' && last != '/') path += '\\';
      path += macroName() + ".gdl";
    }
  }
  lunvik::DataFile file(path, fourcc("TEXT"), fourcc("GSAC"));
  CadString text = projectDataMacro(*project, *joints, timbers);
  // The macro the library holds stays whole until the new text is complete.
  bool written = !path.empty() && file.openForReplacing() && file.writeText(text);
  if (written) written = file.close();
  else file.discard();
  if (!written) {
    lunvik::ErrorAlert().show(lunvik::Environment::instance().string(kErrorStrings, 6));
    return false;
  }
  lunvik::Project* p = lunvik::theAddon()->project();
  p->library().addFolder(file.folder());
  p->rebuildPlan();
  return true;
}

}  // namespace varnholt
