// The session-script verbs of the host's own tools: the object tool (the add-on's element tool
// or a plain object or lamp), copy, move, stretch, resize, the settings dialog's parameter
// change, the selection, the current view and group suspension. Each fires the database
// notifications of the host's model, so the add-on reacts as it does to a user's work.
#include <strings.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <set>

#include "cli/script.h"
#include "host/library/library_index.h"
#include "host/library/part_file.h"
#include "host/project/project_file.h"

namespace trestlar {

namespace {

constexpr uint32_t kToolVariation = platform::fourcc("Vrnh");

bool numberWord(const std::string& word, double& value, const char* what, std::string& error) {
  if (scriptNumber(word, value)) return true;
  error = "\"" + word + "\" is not a number (" + what + ")";
  return false;
}

// A length in metres, or with a unit as the host's length fields take it (250mm, 25cm, 0.25m),
// within kScriptFarthest.
bool lengthWord(const std::string& word, double& metres, const std::string& what, std::string& error) {
  struct Unit {
    const char* suffix;
    double factor;
  };
  std::string digits = word;
  double factor = 1.0;
  for (const Unit& u : {Unit{"mm", 0.001}, Unit{"cm", 0.01}, Unit{"m", 1.0}}) {
    std::size_t k = std::strlen(u.suffix);
    if (word.size() > k && word.compare(word.size() - k, k, u.suffix) == 0) {
      digits = word.substr(0, word.size() - k);
      factor = u.factor;
      break;
    }
  }
  double v = 0;
  if (!scriptNumber(digits, v)) {
    error = "\"" + word + "\" is not a number (" + what + ")";
    return false;
  }
  if (std::fabs(v * factor) > kScriptFarthest) {
    error = "\"" + word + "\" is out of range (" + what + "): lengths are at most 1000 km either way";
    return false;
  }
  metres = v * factor;
  return true;
}

// NAME=VALUE words: a parameter value or one of the verb's options.
bool keyValue(const std::string& word, std::string& key, std::string& value) {
  std::size_t eq = word.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  key = word.substr(0, eq);
  value = word.substr(eq + 1);
  return true;
}

std::string lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// True for the parameters that are the placed part's box.
bool boxSize(const std::string& name) {
  return strcasecmp(name.c_str(), "A") == 0 || strcasecmp(name.c_str(), "B") == 0 ||
         strcasecmp(name.c_str(), "ZZYZX") == 0;
}

// Reads text as the value of a parameter (its name, type code and shape), as the object
// settings dialog takes it: a whole number of the add-on's 16-bit range for the integer and
// attribute kinds, on or off for switches, a length (with a unit if wished) for lengths, a
// number for angles (radians) and reals, a text of at most 255 bytes of UTF-8 for strings.
// Arrays, titles and separators take no value from a script.
bool parameterValue(const std::string& name, int32_t typeID, bool isArray, const std::string& text,
                    standin::ParameterValue& out, std::string& error) {
  out = standin::ParameterValue::ofNumber(name, 0);
  out.type = typeID;
  const std::string quoted = "\"" + text + "\"";
  if (typeID == platform::kParamTitle || typeID == platform::kParamSeparator) {
    error = name + " is a " + standin::parameterKindName(typeID) + " and takes no value";
    return false;
  }
  if (isArray) {
    error = name + " is an array; a script sets only single values";
    return false;
  }
  switch (typeID) {
    case platform::kParamString:
      if (text.size() > 255) {
        error = name + " takes at most 255 bytes of text; the value has " + std::to_string(text.size());
        return false;
      }
      if (!standin::isUtf8(text)) {
        error = name + " takes UTF-8 text, which the value is not";
        return false;
      }
      out = standin::ParameterValue::ofText(name, text);
      return true;
    case platform::kParamInteger:
    case platform::kParamColour:
    case platform::kParamLineStyle:
    case platform::kParamMaterial:
    case platform::kParamFill:
    case platform::kParamPen: {
      double v = 0;
      if (!scriptNumber(text, v) || v != std::floor(v) || v < -32768 || v > 32767) {
        error = name + " takes a whole number from -32768 to 32767; " + quoted + " is not one";
        return false;
      }
      out.number = v;
      return true;
    }
    case platform::kParamBoolean:
    case platform::kParamLightSwitch:
      for (const char* on : {"1", "on"})
        if (strcasecmp(text.c_str(), on) == 0) return out.number = 1, true;
      for (const char* off : {"0", "off"})
        if (strcasecmp(text.c_str(), off) == 0) return out.number = 0, true;
      error = name + " is a switch: on or off (1 or 0); " + quoted + " is neither";
      return false;
    case platform::kParamLength:
      if (!lengthWord(text, out.number, name, error)) return false;
      if (boxSize(name) && out.number <= 0) {
        error = name + " sizes the box and must be above 0; " + quoted + " is not";
        return false;
      }
      return true;
    default:
      if (!scriptNumber(text, out.number)) {
        error = quoted + " is not a number (" + name + ")";
        return false;
      }
      return true;
  }
}

// Reads the NAME=VALUE words of the parameters of a part or an element, each named once;
// lookup answers a parameter's own name, type and shape, false for one it does not have.
bool parameterValues(const std::vector<std::string>& words, std::size_t first,
                     const std::function<bool(const std::string&, std::string&, int32_t&, bool&)>& lookup,
                     const std::set<std::string>& options, std::map<std::string, std::string>& optionValues,
                     std::vector<standin::ParameterValue>& values, const std::string& owner, std::string& error) {
  std::set<std::string> given;
  for (std::size_t i = first; i < words.size(); ++i) {
    std::string key, value;
    if (!keyValue(words[i], key, value)) {
      error = "\"" + words[i] + "\" is not NAME=VALUE";
      return false;
    }
    if (!given.insert(lower(key)).second) {
      error = key + " is given twice";
      return false;
    }
    if (options.count(key)) {
      optionValues[key] = value;
      continue;
    }
    std::string name;
    int32_t typeID = 0;
    bool isArray = false;
    if (!lookup(key, name, typeID, isArray)) {
      error = owner + " has no parameter \"" + key + "\"";
      return false;
    }
    standin::ParameterValue v;
    if (!parameterValue(name, typeID, isArray, value, v, error)) return false;
    values.push_back(v);
  }
  return true;
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
  const std::string& partName = line.words[2];
  standin::Host& host = run.host();
  const int32_t libIndex = host.library().find(partName, 0);
  const standin::LibraryPart* part = libIndex ? host.library().part(libIndex) : nullptr;
  if (!part) {
    error = "the library has no part \"" + partName + "\"";
    return false;
  }
  double x = 0, y = 0, z = 0, angle = 0;
  if (!lengthWord(line.words[3], x, "x", error) || !lengthWord(line.words[4], y, "y", error)) return false;
  auto lookup = [part](const std::string& key, std::string& name, int32_t& type, bool& isArray) {
    const standin::PartParameter* p = part->parameter(key);
    if (!p) return false;
    name = p->name;
    type = p->typeID;
    isArray = p->isArray;
    return true;
  };
  std::map<std::string, std::string> options;
  std::vector<standin::ParameterValue> values;
  if (!parameterValues(line.words, 5, lookup, {"z", "angle", "view", "as"}, options, values,
                       "the part \"" + part->name + "\"", error))
    return false;
  if (options.count("z") && !lengthWord(options["z"], z, "z", error)) return false;
  if (options.count("angle") && !numberWord(options["angle"], angle, "angle", error)) return false;
  if (options.count("as") && options["as"].empty()) {
    error = "as= needs a name";
    return false;
  }
  const std::string label = options.count("as") ? options["as"] : std::string();
  platform::DatabaseRecord view{};
  const platform::DatabaseRecord* in = nullptr;
  if (options.count("view") && strcasecmp(options["view"].c_str(), "plan") != 0) {
    const std::string& viewName = options["view"];
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
  standin::HostElement* e = host.model().placeObject(part->name, values, x, y, z, angle, in, typeID, variation);
  if (!e) {
    error = "the host could not place \"" + part->name + "\"";
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
  bool named = false;
  std::size_t n = 0;
  for (std::size_t i = 2; i < line.words.size(); ++i) {
    std::string key, value;
    if (copy && keyValue(line.words[i], key, value) && key == "as") {
      if (named || value.empty()) {
        error = named ? "as= is given twice" : "as= needs a name";
        return false;
      }
      label = value;
      named = true;
    } else if (n < 3) {
      if (!lengthWord(line.words[i], d[n], "a distance", error)) return false;
      ++n;
    } else {
      error = "\"" + line.words[i] + "\" is one word too many";
      return false;
    }
  }
  if (n < 2) {
    error = "give the distance as DX DY [DZ]";
    return false;
  }
  standin::Host& host = run.host();
  standin::HostElement* e = host.model().find(guid);
  if (e && (e->record.header.typeID == platform::kObject || e->record.header.typeID == platform::kLamp)) {
    const auto& r = e->record.part;
    if (std::fabs(r.pos.x + d[0]) > kScriptFarthest || std::fabs(r.pos.y + d[1]) > kScriptFarthest ||
        std::fabs(r.level + d[2]) > kScriptFarthest) {
      error = "the element would land more than 1000 km away";
      return false;
    }
  }
  platform::EditRecord edit{};
  edit.kind = int32_t(platform::fourcc("DRAG"));
  edit.flag = copy ? 0 : 1;
  edit.second = {d[0], d[1], d[2]};
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
  if (a > kScriptFarthest || b > kScriptFarthest || height > kScriptFarthest) {
    error = "a box size would be above 1000 km";
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
  if (!lengthWord(line.words[2], da, "the change of A", error)) return false;
  if (line.words.size() > 3 && !lengthWord(line.words[3], db, "the change of B", error)) return false;
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
  if (!lengthWord(line.words[2], dz, "the change of the height", error)) return false;
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
  if (!lengthWord(line.words[2], a, "A", error) || !lengthWord(line.words[3], b, "B", error)) return false;
  if (line.words.size() > 4 && !lengthWord(line.words[4], height, "the height", error)) return false;
  return resize(run, line, guid, a, b, height, platform::fourcc("RSIZ"), error);
}

// change ELEMENT NAME=VALUE...: the object settings dialog.
bool verbChange(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (!run.endDialog(error)) return false;
  platform::Guid guid{};
  standin::HostElement* e = placedPart(run, line.words[1], guid, error);
  if (!e) return false;
  auto lookup = [e](const std::string& key, std::string& name, int32_t& type, bool& isArray) {
    for (const standin::StoredParameter& p : e->parameters) {
      if (strcasecmp(p.record.name, key.c_str()) != 0) continue;
      name = std::string(p.record.name, strnlen(p.record.name, sizeof p.record.name));
      type = p.record.typeID;
      isArray = p.record.shape == platform::kShapeArray;
      return true;
    }
    return false;
  };
  std::map<std::string, std::string> none;
  std::vector<standin::ParameterValue> values;
  if (!parameterValues(line.words, 2, lookup, {}, none, values, "the element", error)) return false;
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
