// schedule: the main job, a costed timber schedule or cutting list of a project; and the
// hidden make-sample command that generates the bundled sample project.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "host/library/library_index.h"
#include "host/model/stored_parameter.h"
#include "host/render/member_marks.h"
#include "platform/library_records.h"

namespace trestlar {

namespace {

// The description of the report file type the add-on registers.
const char* const kReportType = "Timber Schedule";
constexpr int32_t kReportingDialog = 32512;
// The questions of the gathering step: unnumbered members, members of parts not loaded.
const char* const kUnnumbered = "has not been numbered";
const char* const kUnloaded = "not in the loaded library";

standin::DialogAction action(standin::DialogAction::Kind kind, int16_t item, std::vector<std::string> args = {}) {
  standin::DialogAction a;
  a.kind = kind;
  a.item = item;
  a.args = std::move(args);
  return a;
}

// Selects the plan's objects whose element ID is one of ids; false with error naming an ID
// no object has.
bool selectById(standin::Host& host, const std::string& ids, std::string& error) {
  std::stringstream list(ids);
  std::string id;
  while (std::getline(list, id, ',')) {
    if (id.empty()) continue;
    bool found = false;
    for (standin::HostElement* e : host.model().findById(id)) {
      const platform::ElementHeader& h = e->header();
      if (h.typeID != platform::kObject || h.databaseKind != platform::kDatabasePlan) continue;
      host.model().select(h.guid, true);
      found = true;
    }
    if (!found) {
      error = "no object has the ID " + id;
      return false;
    }
  }
  return true;
}

// The library parts named by the plan's timber members that the loaded libraries lack, each
// once, in the order the members come.
std::vector<std::string> unloadedMemberParts(standin::Host& host) {
  std::vector<std::string> names;
  standin::LibraryIndex& library = host.library();
  for (int32_t kind : {platform::kObject, platform::kLamp}) {
    for (standin::HostElement* e : host.model().elements(host.model().plan(), kind)) {
      if (!standin::isTimberMember(*e) || library.part(e->record.part.libIndex)) continue;
      if (!e->libraryPart.empty() && library.find(e->libraryPart, 0) != 0) continue;
      std::string name = e->libraryPart.empty() ? "part " + std::to_string(e->record.part.libIndex) : e->libraryPart;
      if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
  }
  return names;
}

std::string quotedList(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "\"" : ", \"") + name + "\"";
  return text;
}

}  // namespace

std::string sampleProject() { return std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar"; }

int runSchedule(const SessionOptions& options, const Arguments& args) {
  ParsedArguments parsed;
  std::string error;
  if (!parseArguments(args, {"--cutlist", "--headings", "--selection", "--strict", "--number"}, {"-o", "--select"},
                      parsed, error))
    return fail(error + " for schedule (see trestlar --help)");
  if (parsed.plain.size() > 1) return fail("schedule takes at most one project file");
  std::string project = parsed.plain.empty() ? sampleProject() : parsed.plain[0];
  std::string out = parsed.has("-o") ? parsed.value("-o") : std::string("Timber Schedule.txt");
  bool strict = parsed.has("--strict");

  Session session;
  if (!openSession(session, options, project, error)) return fail(session, error);
  if (!session.checkOutput(out, error)) return fail(session, error);
  standin::Host& host = session.host();
  if (parsed.has("--number")) {
    if (!numberTimbers(host, false, false, error))
      return fail(session, project + ": " + error + "; nothing was written");
    std::cerr << "trestlar: " << numberingSummary(host) << "\n";
  }
  if (parsed.has("--select") && !selectById(host, parsed.value("--select"), error))
    return fail(session, project + ": " + error);
  if (::isatty(2)) {
    host.dialogs().setProgressEcho([](const standin::ProgressRecord& p) {
      std::cerr << "\r" << standin::progressBarLine(p, 30) << "\033[K";
      if (p.closed) std::cerr << "\n";
      std::cerr.flush();
    });
  }

  // The reporting dialog, answered as the options say.
  std::vector<standin::DialogAction> actions;
  actions.push_back(action(standin::DialogAction::Kind::Click, parsed.has("--cutlist") ? 5 : 4));
  actions.push_back(action(standin::DialogAction::Kind::Set, 6, {parsed.has("--headings") ? "on" : "off"}));
  if (parsed.has("--selection")) actions.push_back(action(standin::DialogAction::Kind::Set, 7, {"on"}));
  actions.push_back(action(standin::DialogAction::Kind::Ok, 1));
  host.dialogs().queueDialog(kReportingDialog, std::move(actions));
  // Strict: refuse the confirmations, so that nothing is written, and fail below.
  if (strict) {
    host.queueAlertAnswer(2);
    host.queueAlertAnswer(2);
  }

  // The add-on writes the report beside the output, which it replaces only once the command
  // has gone well.
  const std::string staged = session.stageOutput(out);
  std::size_t alertsBefore = host.alerts().size();
  bool saved = host.saveAs(staged, kReportType, error);
  if (error.compare(0, staged.size(), staged) == 0) error = out + error.substr(staged.size());
  std::string scriptError = host.dialogs().scriptError();
  if (!scriptError.empty()) {
    if (parsed.has("--selection") && scriptError.find("item 7") != std::string::npos)
      return fail(session, project +
                               ": no scheduled timber member is selected, so --selection cannot be used (select "
                               "members with --select ID,...)");
    return fail(session, project + ": " + scriptError);
  }
  for (std::size_t i = alertsBefore; i < host.alerts().size(); ++i) {
    const std::string& text = host.alerts()[i].text;
    if (strict && text.find(kUnnumbered) != std::string::npos)
      return fail(session,
                  project + ": some scheduled timber members are not numbered (--strict); nothing was written");
    // Members whose parts did not load drop out of the report: never a success, strict or not.
    if (text.find(kUnloaded) != std::string::npos) {
      const std::vector<std::string> parts = unloadedMemberParts(host);
      return fail(session, project + ": some timber members' library parts are not loaded" +
                               (parts.empty() ? std::string() : " (" + quotedList(parts) + ")") +
                               ", so the schedule would leave those members out; nothing was written");
    }
  }
  if (!saved) return fail(session, error);
  if (!session.placeOutput(staged, out, error)) return fail(session, error);
  std::cout << "wrote " << out << "\n";
  return 0;
}


namespace {

// One member of the sample frame.
struct SampleMember {
  const char* part;      // the timber part
  std::string id;        // the element ID
  const char* name;      // timberName ("" falls back to the part's name)
  const char* season;    // seasonType
  int number;            // TimberNo
  bool scheduled;        // IncInSched
  double length, width, depth;
  double x, y, z, angle, incline;
  const char* startJoint;
  bool startLock;
  double startHours;
  const char* endJoint;
  bool endLock;
  double endHours;
};


// Places a member with the host's object tool, its values over the part's defaults; the
// add-on tags it with its kind code as it appears. Each member carries the offsets of its own
// "BM" anchor (bottom, middle): its axis runs along the middle of its bottom face.
bool placeSample(standin::Host& host, const SampleMember& m, std::string& error) {
  const std::pair<const char*, double> numbers[] = {
      {"length", m.length},       {"profWide", m.width},        {"profDeep", m.depth},
      {"prevLength", m.length},   {"prevWide", m.width},        {"prevDeep", m.depth},
      {"xOffset", 0.0},           {"yOffset", -m.width / 2},    {"zOffset", 0.0},
      {"incline", m.incline},     {"prevIncline", m.incline},   {"TimberNo", double(m.number)},
      {"IncInSched", m.scheduled ? 1.0 : 0.0}, {"StLock", m.startLock ? 1.0 : 0.0},
      {"EnLock", m.endLock ? 1.0 : 0.0},       {"timeAllocSt", m.startHours},
      {"timeAllocEn", m.endHours},             {"flatLength", m.length * std::cos(m.incline)},
      {"endWide", m.width * 0.8},              {"endDeep", m.depth * 0.8}};
  const std::pair<const char*, const char*> texts[] = {
      {"timberName", m.name}, {"seasonType", m.season}, {"juncTypeSt", m.startJoint}, {"juncTypeEn", m.endJoint}};
  std::vector<standin::ParameterValue> values;
  for (const auto& n : numbers) values.push_back(standin::ParameterValue::ofNumber(n.first, n.second));
  for (const auto& t : texts) values.push_back(standin::ParameterValue::ofText(t.first, t.second));
  standin::HostElement* e = host.model().placeObject(m.part, values, m.x, m.y, m.z, m.angle, nullptr, platform::kObject);
  if (!e) {
    error = std::string("the library has no part \"") + m.part + "\"";
    return false;
  }
  std::strncpy(e->record.part.id, m.id.c_str(), sizeof e->record.part.id - 1);
  host.model().touch(*e);
  return true;
}

// The sample frame: three cross frames two bays apart, each two posts, a tie beam, two braces
// and two rafters; per bay two wall plates and two purlins; pegs, some left out of schedules.
//
// A positive incline lowers a member's far end, so members that rise carry a negative one. The
// posts (0.2 square, 3 m) stand on the ground centred on the grid lines x = 0, 4, 8 and
// y = 0, 5; the wall plates lie on them along x (top at 3.2), the tie beams across them on the
// plates (3.2 to 3.45). The braces rise at 45 degrees from the posts' inner faces to the tie
// beams' undersides; the rafters rise from the tie beams' ends over a run of 2.5 m to the
// ridge, and the purlins lie on the rafters halfway up.
std::vector<SampleMember> sampleFrame() {
  const double kPi = 3.14159265358979323846;
  const double kPostHeight = 3.0, kPlateTop = 3.2, kTieTop = 3.45;
  const double kRafterLength = 3.2, kRun = 2.5;
  const double kPitch = std::acos(kRun / kRafterLength);
  const double kBraceLength = 1.2, kBraceDepth = 0.15;
  // A brace's axis is its lower edge; its upper edge meets the tie beam's underside.
  const double kBraceReach = kBraceLength * std::cos(kPi / 4);
  const double kBraceFoot = kPlateTop - kBraceReach - kBraceDepth * std::cos(kPi / 4);
  // A purlin halfway up bears on the rafters' top face.
  const double kPurlinLevel = kTieTop + kRun / 2 * std::tan(kPitch) + 0.15 / std::cos(kPitch);
  std::vector<SampleMember> members;
  int n = 0;
  auto add = [&](SampleMember m, const char* prefix) {
    char id[16];
    std::snprintf(id, sizeof id, "%s-%02d", prefix, ++n);
    m.id = id;
    members.push_back(m);
  };
  for (int frame = 0; frame < 3; ++frame) {
    double x = 4.0 * frame;
    for (int side = 0; side < 2; ++side) {
      double y = 5.0 * side;
      // The frame's inward direction: +y from the first side, -y from the second.
      double inward = side ? -1.0 : 1.0, angle = side ? -kPi / 2 : kPi / 2;
      // Upright, a post's bottom-middle anchor puts its section on the -x side of its point.
      add({"Rectilinear", "", "Post", "Green", 1, true, kPostHeight, 0.2, 0.2, x + 0.1, y, 0, 0, -kPi / 2, "Tenon2",
           true, 0, "Tenon2", true, 0},
          "PST");
      add({"Rectilinear", "", "Brace", "Green", 3, true, kBraceLength, 0.1, kBraceDepth, x, y + inward * 0.1, kBraceFoot,
           angle, -kPi / 4, "Tenon1.5", true, 0, "Tenon1.5", true, 0},
          "BRC");
      add({"Rectilinear", "", "Rafter", "Seasoned", 4, true, kRafterLength, 0.1, 0.15, x, y, kTieTop, angle, -kPitch,
           "RaftFootTenon", true, 0, "RaftBridle", true, 0},
          "RFT");
    }
    // The middle frame's tie beam is a little longer: it carries a scarf at one end.
    double tie = frame == 1 ? 5.4 : 5.0;
    add({"Rectilinear", "", "Tie beam", "Green", frame == 1 ? 6 : 2, true, tie, 0.2, 0.25, x, 2.5 - tie / 2, kPlateTop,
         kPi / 2, 0, "TieCog", true, 0, frame == 1 ? "ScarfSqtBrdl4" : "TieCog", true, 0},
        "TIE");
  }
  for (int bay = 0; bay < 2; ++bay) {
    double x = 4.0 * bay;
    for (int side = 0; side < 2; ++side) {
      add({"Rectilinear", "", "Wall plate", "Green", 5, true, 4.0, 0.15, 0.2, x, 5.0 * side, kPostHeight, 0, 0, "Tenon2",
           false, 1.5, "Tenon2", false, 1.5},
          "WPL");
      // Purlins are not numbered yet.
      add({"Rectilinear", "", "Purlin", "Softwood", 0, true, 4.0, 0.1, 0.15, x, 1.25 + 2.5 * side, kPurlinLevel, 0, 0,
           "Purl Splay", true, 0, "None", false, 0},
          "PRL");
    }
  }
  // Pegs: the two of the scarf stand in the middle tie beam's far end and are scheduled; the
  // others, left out of schedules, run along x through the middle frame's brace joints.
  const double kPeg = 0.3;
  for (int peg = 0; peg < 2; ++peg)
    add({"Peg", "", "", "Green", 7, true, kPeg, 0.025, 0.025, 4.0, 4.75 + 0.2 * peg, kPlateTop - 0.025, 0, -kPi / 2,
         "None", false, 0, "None", false, 0},
        "PEG");
  const double kBraceHead = kBraceFoot + kBraceReach;
  const double pegs[4][2] = {{0.05, kBraceFoot + 0.05}, {0.1 + kBraceReach - 0.1, kBraceHead},
                             {4.95, kBraceFoot + 0.05}, {4.9 - kBraceReach + 0.1, kBraceHead}};
  for (const auto& at : pegs)
    add({"Peg", "", "", "Green", 0, false, kPeg, 0.025, 0.025, 4.0 - kPeg / 2, at[0], at[1], 0, 0, "None", false, 0,
         "None", false, 0},
        "PEG");
  return members;
}

}  // namespace

int runMakeSample(const SessionOptions& options, const Arguments& args) {
  ParsedArguments parsed;
  std::string error;
  if (!parseArguments(args, {}, {}, parsed, error)) return fail(error + " for make-sample");
  if (parsed.plain.size() != 1) return fail("make-sample takes one project file");
  std::string path = parsed.plain[0];
  Session session;
  if (!session.start(options, error)) return fail(session, error);
  standin::Host& host = session.host();
  host.newProject();
  if (!host.addLibraryFolder(std::string(TRESTLAR_SOURCE_DIR) + "/library"))
    return fail(session, "cannot load the timber library");
  for (const SampleMember& m : sampleFrame())
    if (!placeSample(host, m, error)) return fail(session, error);
  host.setLibraryFolders({"library"});
  if (!session.saveProject(path, error)) return fail(session, error);
  std::cout << "wrote " << path << "\n";
  return 0;
}

}  // namespace trestlar
