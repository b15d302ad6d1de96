// The session-script verbs of the host's own tools: the object tool (the add-on's element tool
// or a plain object or lamp), copy, move, stretch, resize, the settings dialog's parameter
// change, the selection, the current view and group suspension. Each fires the database
// notifications of the host's model, so the add-on reacts as it does to a user's work.
#include <strings.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "cli/script.h"
#include "host/library/library_index.h"

namespace trestlar {

namespace {

constexpr uint32_t kToolVariation = platform::fourcc("Vrnh");

bool number(const std::string& word, double& value) {
  if (word.empty()) return false;
  char* end = nullptr;
  double v = std::strtod(word.c_str(), &end);
  if (!end || *end != '\0' || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool numberWord(const std::string& word, double& value, const char* what, std::string& error) {
  if (number(word, value)) return true;
  error = "\"" + word + "\" is not a number (" + what + ")";
  return false;
}

// NAME=VALUE words: a parameter value or one of the verb's options.
bool keyValue(const std::string& word, std::string& key, std::string& value) {
  std::size_t eq = word.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  key = word.substr(0, eq);
  value = word.substr(eq + 1);
  return true;
}

// A word's value: a number when it reads as one (a text parameter takes the word as it is).
standin::ParameterValue parameterValue(const std::string& name, const std::string& text) {
  standin::ParameterValue v = standin::ParameterValue::ofText(name, text);
  v.isText = !number(text, v.number);
  return v;
}

bool verbPlace(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (!run.endDialog(error)) return false;
  const std::string& tool = line.words[1];
  int32_t typeID = platform::kObject;
  uint32_t variation = 0;
  if (tool == "tool") variation = kToolVariation;
  else if (tool == "lamp") typeID = platform::kLamp;
  else if (tool != "object") {
    error = "\"" + tool + "\" is no tool: tool (the add-on's element tool), object or lamp";
    return false;
  }
  const std::string& part = line.words[2];
  double x = 0, y = 0, z = 0, angle = 0;
  if (!numberWord(line.words[3], x, "x", error) || !numberWord(line.words[4], y, "y", error)) return false;
  std::string label, viewName;
  std::vector<standin::ParameterValue> values;
  for (std::size_t i = 5; i < line.words.size(); ++i) {
    std::string key, value;
    if (!keyValue(line.words[i], key, value)) {
      error = "\"" + line.words[i] + "\" is not NAME=VALUE";
      return false;
    }
    if (key == "z") {
      if (!numberWord(value, z, "z", error)) return false;
    } else if (key == "angle") {
      if (!numberWord(value, angle, "angle", error)) return false;
    } else if (key == "view") {
      viewName = value;
    } else if (key == "as") {
      label = value;
    } else {
      values.push_back(parameterValue(key, value));
    }
  }
  standin::Host& host = run.host();
  if (host.library().find(part, 0) == 0) {
    error = "the library has no part \"" + part + "\"";
    return false;
  }
  platform::DatabaseRecord view{};
  const platform::DatabaseRecord* in = nullptr;
  if (!viewName.empty() && strcasecmp(viewName.c_str(), "plan") != 0) {
    standin::HostDatabase* db = host.model().databaseNamed(viewName);
    if (!db || (db->id.kind != platform::kDatabaseSection && db->id.kind != platform::kDatabaseElevation &&
                db->id.kind != platform::kDatabaseInteriorElevation)) {
      error = "there is no section or elevation \"" + viewName + "\"";
      return false;
    }
    view = db->id;
    in = &view;
  } else {
    host.model().setCurrent(host.model().plan().id);
  }
  std::set<std::string> planParts;
  for (standin::HostElement* p : host.model().elements(host.model().plan(), typeID))
    planParts.insert(standin::guidString(p->record.header.guid));
  std::size_t before = host.dialogs().records().size();
  standin::HostElement* e = host.model().placeObject(part, values, x, y, z, angle, in, typeID, variation);
  if (!e) {
    error = "the host could not place \"" + part + "\"";
    return false;
  }
  platform::Guid guid = e->record.header.guid;
  // A member drawn in a view may have been moved into the plan as a new element.
  if (e->deleted)
    for (standin::HostElement* p : host.model().elements(host.model().plan(), typeID))
      if (!planParts.count(standin::guidString(p->record.header.guid))) guid = p->record.header.guid;
  run.name(label.empty() ? "last" : label, guid);
  return run.afterCommand(line, before, error);
}

// copy|move ELEMENT DX DY [DZ] [as=NAME]
bool dragElement(ScriptRun& run, const ScriptLine& line, bool copy, std::string& error) {
  if (!run.endDialog(error)) return false;
  platform::Guid guid{};
  if (!run.element(line.words[1], guid, error)) return false;
  double d[3] = {0, 0, 0};
  std::string label;
  std::size_t n = 0;
  for (std::size_t i = 2; i < line.words.size(); ++i) {
    std::string key, value;
    if (keyValue(line.words[i], key, value) && key == "as") {
      label = value;
    } else if (n < 3) {
      if (!numberWord(line.words[i], d[n++], "a distance", error)) return false;
    } else {
      error = "\"" + line.words[i] + "\" is one word too many";
      return false;
    }
  }
  if (n < 2) {
    error = "give the distance as DX DY [DZ]";
    return false;
  }
  platform::EditRecord edit{};
  edit.kind = int32_t(platform::fourcc("DRAG"));
  edit.flag = copy ? 0 : 1;
  edit.second = {d[0], d[1], d[2]};
  standin::Host& host = run.host();
  std::size_t before = host.dialogs().records().size();
  std::vector<platform::Guid> made = host.model().edit({guid}, edit);
  if (made.empty()) {
    error = "the element is locked and cannot be " + std::string(copy ? "copied" : "moved");
    return false;
  }
  if (copy) run.name(label.empty() ? "last" : label, made.front());
  return run.afterCommand(line, before, error);
}

bool verbCopy(ScriptRun& run, const ScriptLine& line, std::string& error) { return dragElement(run, line, true, error); }
bool verbMove(ScriptRun& run, const ScriptLine& line, std::string& error) { return dragElement(run, line, false, error); }

bool resize(ScriptRun& run, const ScriptLine& line, const platform::Guid& guid, double a, double b, double height,
            uint32_t kind, std::string& error) {
  if (a <= 0 || b <= 0 || height <= 0) {
    error = "a box size would not be above 0";
    return false;
  }
  standin::Host& host = run.host();
  std::size_t before = host.dialogs().records().size();
  if (!host.model().resizeObject(guid, a, b, height, kind)) {
    error = "the element is locked or no placed part";
    return false;
  }
  return run.afterCommand(line, before, error);
}

standin::HostElement* placedPart(ScriptRun& run, const std::string& word, platform::Guid& guid, std::string& error) {
  if (!run.element(word, guid, error)) return nullptr;
  standin::HostElement* e = run.host().model().find(guid);
  if (!e || (e->record.header.typeID != platform::kObject && e->record.header.typeID != platform::kLamp)) {
    error = "\"" + word + "\" is no object or lamp";
    return nullptr;
  }
  return e;
}

// stretch ELEMENT DA [DB]: drags the box's end along its own axes.
bool verbStretch(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (!run.endDialog(error)) return false;
  platform::Guid guid{};
  standin::HostElement* e = placedPart(run, line.words[1], guid, error);
  if (!e) return false;
  double da = 0, db = 0;
  if (!numberWord(line.words[2], da, "the change of A", error)) return false;
  if (line.words.size() > 3 && !numberWord(line.words[3], db, "the change of B", error)) return false;
  const auto& r = e->record.part;
  return resize(run, line, guid, r.xRatio + da, r.yRatio + db, r.height, platform::fourcc("STRE"), error);
}

// vstretch ELEMENT DZ: drags the box's top.
bool verbVerticalStretch(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (!run.endDialog(error)) return false;
  platform::Guid guid{};
  standin::HostElement* e = placedPart(run, line.words[1], guid, error);
  if (!e) return false;
  double dz = 0;
  if (!numberWord(line.words[2], dz, "the change of the height", error)) return false;
  const auto& r = e->record.part;
  return resize(run, line, guid, r.xRatio, r.yRatio, r.height + dz, platform::fourcc("VSTR"), error);
}

// resize ELEMENT A B [HEIGHT]
bool verbResize(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (!run.endDialog(error)) return false;
  platform::Guid guid{};
  standin::HostElement* e = placedPart(run, line.words[1], guid, error);
  if (!e) return false;
  double a = 0, b = 0, height = e->record.part.height;
  if (!numberWord(line.words[2], a, "A", error) || !numberWord(line.words[3], b, "B", error)) return false;
  if (line.words.size() > 4 && !numberWord(line.words[4], height, "the height", error)) return false;
  return resize(run, line, guid, a, b, height, platform::fourcc("RSIZ"), error);
}

// change ELEMENT NAME=VALUE...: the object settings dialog.
bool verbChange(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (!run.endDialog(error)) return false;
  platform::Guid guid{};
  standin::HostElement* e = placedPart(run, line.words[1], guid, error);
  if (!e) return false;
  std::vector<standin::ParameterValue> values;
  for (std::size_t i = 2; i < line.words.size(); ++i) {
    std::string key, value;
    if (!keyValue(line.words[i], key, value)) {
      error = "\"" + line.words[i] + "\" is not NAME=VALUE";
      return false;
    }
    bool known = false;
    for (const standin::StoredParameter& p : e->parameters) known = known || strcasecmp(p.record.name, key.c_str()) == 0;
    if (!known) {
      error = "the element has no parameter \"" + key + "\"";
      return false;
    }
    values.push_back(parameterValue(key, value));
  }
  standin::Host& host = run.host();
  std::size_t before = host.dialogs().records().size();
  host.model().changeParameters(guid, values);
  return run.afterCommand(line, before, error);
}

// pick ELEMENT... | pick none
bool verbPick(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (!run.endDialog(error)) return false;
  standin::ProjectModel& model = run.host().model();
  if (line.words.size() == 2 && line.words[1] == "none") {
    model.deselectAll();
    return true;
  }
  for (std::size_t i = 1; i < line.words.size(); ++i) {
    platform::Guid guid{};
    if (!run.element(line.words[i], guid, error)) return false;
    model.select(guid, true);
  }
  return true;
}

// view NAME|plan
bool verbView(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (!run.endDialog(error)) return false;
  standin::ProjectModel& model = run.host().model();
  if (strcasecmp(line.words[1].c_str(), "plan") == 0) return model.setCurrent(model.plan().id);
  standin::HostDatabase* db = model.databaseNamed(line.words[1]);
  if (!db || !model.setCurrent(db->id)) {
    error = "there is no view \"" + line.words[1] + "\"";
    return false;
  }
  return true;
}

// suspend-groups on|off
bool verbSuspendGroups(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (line.words[1] != "on" && line.words[1] != "off") {
    error = "suspend-groups takes on or off";
    return false;
  }
  run.host().setGroupsSuspended(line.words[1] == "on");
  return true;
}

const std::vector<ScriptVerb> kToolVerbs = {
    {"place", 4, -1, &verbPlace, "place TOOL PART X Y [NAME=VALUE...]",
     "draw a PART at X Y with TOOL: tool (the add-on's element tool), object or lamp; z=, angle=, "
     "view=SECTION, as=NAME, and parameter values"},
    {"copy", 3, 5, &verbCopy, "copy ELEMENT DX DY [DZ] [as=NAME]", "drag a copy of an element"},
    {"move", 3, 4, &verbMove, "move ELEMENT DX DY [DZ]", "drag an element"},
    {"stretch", 2, 3, &verbStretch, "stretch ELEMENT DA [DB]", "stretch a placed part's box along its axes"},
    {"vstretch", 2, 2, &verbVerticalStretch, "vstretch ELEMENT DZ", "stretch a placed part's box upwards"},
    {"resize", 3, 4, &verbResize, "resize ELEMENT A B [HEIGHT]", "give a placed part's box new sizes"},
    {"change", 2, -1, &verbChange, "change ELEMENT NAME=VALUE...", "change parameters as the settings dialog does"},
    {"pick", 1, -1, &verbPick, "pick ELEMENT... | pick none", "add elements to the selection, or clear it"},
    {"view", 1, 1, &verbView, "view NAME|plan", "make a section, elevation or the plan the current view"},
    {"suspend-groups", 1, 1, &verbSuspendGroups, "suspend-groups on|off", "switch group suspension"},
};

}  // namespace

const std::vector<ScriptVerb>& toolVerbs() { return kToolVerbs; }

}  // namespace trestlar
