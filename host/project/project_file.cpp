#include "host/project/project_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "host/files/file_library.h"
#include "host/files/file_replace.h"

namespace standin {

const char* const kProjectFileFormat = "trestlar-project";

namespace {

const struct {
  const char* name;
  int32_t typeID;
} kKinds[] = {
    {"wall", 1},          {"column", 2},          {"beam", 3},             {"window", 4},
    {"door", 5},          {"object", 6},          {"lamp", 7},             {"slab", 8},
    {"roof", 9},          {"mesh", 10},           {"dimension", 11},       {"text", 15},
    {"label", 16},        {"zone", 17},           {"hatch", 18},           {"line", 19},
    {"polyline", 20},     {"arc", 21},            {"circle", 22},          {"hotspot", 24},
    {"sectionReference", 25}, {"group", 28},      {"proxy", 29},           {"drawing", 30},
    {"image", 31},        {"elevationReference", 33}, {"curtainWall", 37}, {"curtainWallSegment", 38},
    {"curtainWallFrame", 39}, {"curtainWallPanel", 40}, {"curtainWallJunction", 41},
    {"curtainWallAccessory", 42},
};

}  // namespace

bool elementKind(const std::string& kind, int32_t& typeID) {
  for (const auto& k : kKinds) {
    if (kind == k.name) {
      typeID = k.typeID;
      return true;
    }
  }
  return false;
}

std::string elementKindName(int32_t typeID) {
  for (const auto& k : kKinds)
    if (k.typeID == typeID) return k.name;
  return std::string();
}


namespace {

const char* const kAttributeTypes[] = {"",         "pen",  "",     "lineType",     "fill", "composite",
                                       "material", "city", "",     "zoneCategory", "font"};

}  // namespace

int32_t attributeTypeCode(const std::string& name) {
  for (int32_t i = 1; i <= 10; ++i)
    if (kAttributeTypes[i][0] && name == kAttributeTypes[i]) return i;
  return 0;
}

std::string attributeTypeName(int32_t type) {
  return type >= 1 && type <= 10 ? kAttributeTypes[type] : std::string();
}

bool operator==(const ProjectSettings& a, const ProjectSettings& b) {
  return a.workingUnits == b.workingUnits && a.groupsSuspended == b.groupsSuspended;
}

namespace {
std::string modelText(const ModelData& model);
}  // namespace

bool operator==(const ProjectData& a, const ProjectData& b) {
  return a.settings == b.settings && a.libraryFolders == b.libraryFolders && a.moduleData == b.moduleData &&
         modelText(a.model) == modelText(b.model);
}

bool isUtf8(const std::string& text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (n - i < length || s[i + 1] < low || s[i + 1] > high) return false;
    for (std::size_t k = 2; k < length; ++k)
      if ((s[i + k] & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

namespace {

using Json = nlohmann::json;

// Each unit's own name, in code order, and the names it is written under.
const char* const kUnitNames[] = {"metres",      "centimetres",      "millimetres",   "feetAndFractionalInches",
                                  "feetAndDecimalInches", "decimalFeet", "fractionalInches", "decimalInches"};
const char* const kMetricName = "metric";
const char* const kImperialName = "imperial";

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string toBase64(const std::string& bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t v = uint32_t(uint8_t(bytes[i])) << 16;
    if (i + 1 < bytes.size()) v |= uint32_t(uint8_t(bytes[i + 1])) << 8;
    if (i + 2 < bytes.size()) v |= uint32_t(uint8_t(bytes[i + 2]));
    out += kBase64[(v >> 18) & 63];
    out += kBase64[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(v >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kBase64[v & 63] : '=';
  }
  return out;
}

int base64Value(char c) {
  const char* at = c ? std::strchr(kBase64, c) : nullptr;
  return at ? int(at - kBase64) : -1;
}

// Decodes padded base64; false on any other text.
bool fromBase64(const std::string& text, std::string& bytes) {
  if (text.size() % 4 != 0) return false;
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    bool last = i + 4 == text.size();
    int pad = last && text[i + 3] == '=' ? (text[i + 2] == '=' ? 2 : 1) : 0;
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k) {
      int d = k >= 4 - pad ? 0 : base64Value(text[i + std::size_t(k)]);
      if (d < 0) return false;
      v = (v << 6) | uint32_t(d);
    }
    out += char((v >> 16) & 0xFF);
    if (pad < 2) out += char((v >> 8) & 0xFF);
    if (pad < 1) out += char(v & 0xFF);
  }
  bytes.swap(out);
  return true;
}

// "line 3, column 5: syntax error ..." from the parser's message.
std::string parseProblem(const Json::parse_error& e) {
  std::string what = e.what();
  std::size_t at = what.find(" at line ");
  std::size_t colon = at == std::string::npos ? std::string::npos : what.find(": ", at);
  std::string problem =
      colon == std::string::npos ? what : what.substr(at + 4, colon - at - 4) + ": " + what.substr(colon + 2);
  if (isUtf8(problem)) return problem;
  // The parser quotes what it last read, which may be the very bytes that are not text.
  static const char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (char c : problem) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      shown += c;
    } else {
      shown += "\\x";
      shown += kHex[b >> 4];
      shown += kHex[b & 15];
    }
  }
  return shown;
}

std::string keyName(const std::string& key) { return "\"" + key + "\""; }

// Reads the sections of a parsed file; problem names the first thing refused.
class Reader {
 public:
  bool read(const Json& root, ProjectData& data) {
    if (!root.is_object()) return refuse("the top level must be an object");
    auto format = root.find("format");
    if (format == root.end()) return refuse("not a Trestlar project file (\"format\" is missing)");
    if (!format->is_string() || format->get_ref<const std::string&>() != kProjectFileFormat)
      return refuse("not a Trestlar project file (\"format\" must be \"" + std::string(kProjectFileFormat) + "\")");
    auto version = root.find("version");
    if (version == root.end()) return missing("version");
    if (!version->is_number_integer()) return wrongType("version", "a whole number");
    int64_t number = version->is_number_unsigned() ? (version->get<uint64_t>() > uint64_t(INT64_MAX) ? -1 : int64_t(version->get<uint64_t>()))
                                                   : version->get<int64_t>();
    if (number < kOldestProjectFileVersion || number > kProjectFileVersion)
      return refuse("unknown schema version " + version->dump() + " (this build reads " +
                    std::to_string(kOldestProjectFileVersion) + " to " + std::to_string(kProjectFileVersion) + ")");
    if (!settings(root, data.settings) || !library(root, data.libraryFolders) || !moduleData(root, data.moduleData))
      return false;
    // Version 1 has no model sections of its own, but a file of that version that carries them
    // has them read: ignoring them would save the project without its elements.
    return model(root, data.model);
  }

  const std::string& problem() const { return problem_; }

 private:
  bool refuse(const std::string& problem) {
    problem_ = problem;
    return false;
  }
  bool missing(const std::string& key) { return refuse(keyName(key) + " is missing"); }
  bool wrongType(const std::string& key, const std::string& what) { return refuse(keyName(key) + " must be " + what); }

  // The section named key: null when absent (and not required), false when refused.
  bool section(const Json& root, const char* key, bool required, const Json*& out) {
    out = nullptr;
    auto it = root.find(key);
    if (it == root.end()) return required ? missing(key) : true;
    if (!it->is_object()) return wrongType(key, "an object");
    out = &*it;
    return true;
  }

  bool settings(const Json& root, ProjectSettings& out) {
    const Json* s = nullptr;
    if (!section(root, "settings", true, s)) return false;
    ProjectSettings read;
    auto units = s->find("workingUnits");
    if (units == s->end()) return missing("settings.workingUnits");
    if (!units->is_string()) return wrongType("settings.workingUnits", "a string");
    if (!workingUnitsOf(units->get_ref<const std::string&>(), read.workingUnits))
      return refuse("\"settings.workingUnits\" must be \"metric\", \"imperial\" or a unit's name (\"metres\", "
                    "\"centimetres\", \"millimetres\", \"feetAndFractionalInches\", \"feetAndDecimalInches\", "
                    "\"decimalFeet\", \"fractionalInches\", \"decimalInches\"), not " +
                    units->dump());
    auto suspended = s->find("groupsSuspended");
    if (suspended != s->end()) {
      if (!suspended->is_boolean()) return wrongType("settings.groupsSuspended", "true or false");
      read.groupsSuspended = suspended->get<bool>();
    }
    out = read;
    return true;
  }

  bool library(const Json& root, std::vector<std::string>& out) {
    const Json* l = nullptr;
    if (!section(root, "library", false, l)) return false;
    std::vector<std::string> folders;
    if (l) {
      auto list = l->find("folders");
      if (list != l->end()) {
        if (!list->is_array()) return wrongType("library.folders", "an array of folder paths");
        for (std::size_t i = 0; i < list->size(); ++i) {
          const Json& folder = (*list)[i];
          std::string key = "library.folders[" + std::to_string(i) + "]";
          if (!folder.is_string()) return wrongType(key, "a string");
          if (folder.get_ref<const std::string&>().empty()) return refuse(keyName(key) + " must not be empty");
          folders.push_back(folder.get<std::string>());
        }
      }
    }
    out.swap(folders);
    return true;
  }

  bool moduleData(const Json& root, std::string& out) {
    const Json* m = nullptr;
    if (!section(root, "moduleData", false, m)) return false;
    std::string bytes;
    if (m) {
      bool base64 = false;
      auto encoding = m->find("encoding");
      if (encoding != m->end()) {
        if (!encoding->is_string()) return wrongType("moduleData.encoding", "a string");
        const std::string& name = encoding->get_ref<const std::string&>();
        if (name == "base64") base64 = true;
        else if (name != "text")
          return refuse("\"moduleData.encoding\" must be \"text\" or \"base64\", not " + encoding->dump());
      }
      auto text = m->find("data");
      if (text == m->end()) return missing("moduleData.data");
      if (!text->is_string()) return wrongType("moduleData.data", "a string");
      if (!base64) bytes = text->get<std::string>();
      else if (!fromBase64(text->get_ref<const std::string&>(), bytes))
        return refuse("\"moduleData.data\" is not valid base64");
    }
    out.swap(bytes);
    return true;
  }


  // ---- the model sections (version 2) ----

  bool number(const Json& o, const char* k, const std::string& where, double& out, bool required = false) {
    auto it = o.find(k);
    if (it == o.end()) return required ? missing(where + "." + k) : true;
    if (!it->is_number()) return wrongType(where + "." + k, "a number");
    out = it->get<double>();
    if (!std::isfinite(out)) return wrongType(where + "." + k, "a finite number");
    return true;
  }
  bool whole(const Json& o, const char* k, const std::string& where, int32_t& out, int64_t lo, int64_t hi,
             bool required = false) {
    auto it = o.find(k);
    if (it == o.end()) return required ? missing(where + "." + k) : true;
    if (!it->is_number_integer()) return wrongType(where + "." + k, "a whole number");
    int64_t v = it->is_number_unsigned() ? (it->get<uint64_t>() > uint64_t(hi) ? hi + 1 : int64_t(it->get<uint64_t>()))
                                         : it->get<int64_t>();
    if (v < lo || v > hi)
      return refuse(keyName(where + "." + k) + " must be from " + std::to_string(lo) + " to " + std::to_string(hi));
    out = int32_t(v);
    return true;
  }
  bool text(const Json& o, const char* k, const std::string& where, std::string& out, bool required = false) {
    auto it = o.find(k);
    if (it == o.end()) return required ? missing(where + "." + k) : true;
    if (!it->is_string()) return wrongType(where + "." + k, "a string");
    out = it->get<std::string>();
    return true;
  }
  bool flag(const Json& o, const char* k, const std::string& where, bool& out) {
    auto it = o.find(k);
    if (it == o.end()) return true;
    if (!it->is_boolean()) return wrongType(where + "." + k, "true or false");
    out = it->get<bool>();
    return true;
  }
  bool guid(const Json& o, const char* k, const std::string& where, std::string& out, bool required) {
    if (!text(o, k, where, out, required)) return false;
    if (out.empty() && !required) return true;
    if (!validGuid(out)) return refuse(keyName(where + "." + k) + " is not a GUID (8-4-4-4-12 hex digits)");
    return true;
  }
  static bool validGuid(const std::string& g) {
    if (g.size() != 36) return false;
    for (std::size_t i = 0; i < g.size(); ++i) {
      bool dash = i == 8 || i == 13 || i == 18 || i == 23;
      if (dash ? g[i] != '-' : !std::isxdigit(static_cast<unsigned char>(g[i]))) return false;
    }
    return true;
  }
  bool array(const Json& o, const char* k, const std::string& where, const Json*& out) {
    out = nullptr;
    auto it = o.find(k);
    if (it == o.end()) return true;
    if (!it->is_array()) return wrongType(where + k, "an array");
    out = &*it;
    return true;
  }

  bool model(const Json& root, ModelData& out) {
    ModelData m;
    const Json* list = nullptr;
    auto plan = root.find("plan");
    if (plan != root.end()) {
      if (!plan->is_object()) return wrongType("plan", "an object");
      if (!whole(*plan, "currentStorey", "plan", m.currentStorey, -32768, 32767)) return false;
    }
    if (!array(root, "storeys", "", list)) return false;
    for (std::size_t i = 0; list && i < list->size(); ++i) {
      const Json& s = (*list)[i];
      std::string where = "storeys[" + std::to_string(i) + "]";
      if (!s.is_object()) return wrongType(where, "an object");
      FileStorey st;
      if (!whole(s, "index", where, st.index, -32768, 32767, true) || !number(s, "elevation", where, st.elevation, true) ||
          !text(s, "name", where, st.name))
        return false;
      for (const auto& other : m.storeys)
        if (other.index == st.index) return refuse(keyName(where + ".index") + " repeats storey " + std::to_string(st.index));
      m.storeys.push_back(st);
    }
    if (!array(root, "layers", "", list)) return false;
    for (std::size_t i = 0; list && i < list->size(); ++i) {
      const Json& l = (*list)[i];
      std::string where = "layers[" + std::to_string(i) + "]";
      if (!l.is_object()) return wrongType(where, "an object");
      FileLayer layer;
      if (!whole(l, "index", where, layer.index, 1, 32767, true) || !text(l, "name", where, layer.name) ||
          !flag(l, "hidden", where, layer.hidden) || !flag(l, "locked", where, layer.locked))
        return false;
      m.layers.push_back(layer);
    }
    if (!array(root, "attributes", "", list)) return false;
    for (std::size_t i = 0; list && i < list->size(); ++i)
      if (!attribute((*list)[i], i, m)) return false;
    if (!array(root, "databases", "", list)) return false;
    for (std::size_t i = 0; list && i < list->size(); ++i) {
      const Json& d = (*list)[i];
      std::string where = "databases[" + std::to_string(i) + "]";
      if (!d.is_object()) return wrongType(where, "an object");
      FileDatabase db;
      if (!text(d, "kind", where, db.kind, true) || !whole(d, "index", where, db.index, 1, 999999, true) ||
          !whole(d, "number", where, db.number, 0, 32767) || !text(d, "name", where, db.name) ||
          !number(d, "angle", where, db.angle))
        return false;
      DatabaseName parsed;
      if (db.kind == "plan" || db.kind == "model" || !parseDatabaseText(db.kind + " 1", parsed))
        return refuse(keyName(where + ".kind") + " names no database kind: " + Json(db.kind).dump());
      auto cut = d.find("cut");
      if (cut != d.end()) {
        if (!cut->is_array() || cut->size() != 4) return wrongType(where + ".cut", "four numbers");
        for (int k = 0; k < 4; ++k) {
          if (!(*cut)[std::size_t(k)].is_number()) return wrongType(where + ".cut", "four numbers");
          db.cut[k] = (*cut)[std::size_t(k)].get<double>();
        }
      }
      for (const auto& other : m.databases)
        if (other.kind == db.kind && other.index == db.index)
          return refuse(keyName(where) + " repeats " + db.kind + " " + std::to_string(db.index));
      m.databases.push_back(db);
    }
    if (!array(root, "groups", "", list)) return false;
    for (std::size_t i = 0; list && i < list->size(); ++i) {
      const Json& g = (*list)[i];
      std::string where = "groups[" + std::to_string(i) + "]";
      if (!g.is_object()) return wrongType(where, "an object");
      FileGroup group;
      if (!guid(g, "guid", where, group.guid, true) || !text(g, "name", where, group.name) ||
          !guid(g, "group", where, group.group, false) || !flag(g, "locked", where, group.locked))
        return false;
      m.groups.push_back(group);
    }
    if (!array(root, "elements", "", list)) return false;
    for (std::size_t i = 0; list && i < list->size(); ++i)
      if (!element((*list)[i], i, m)) return false;
    if (!groupsFit(m)) return false;
    out = std::move(m);
    return true;
  }

  // Every GUID once; every group named exists and no group contains itself.
  bool groupsFit(const ModelData& m) {
    std::map<std::string, std::string> parent;
    std::map<std::string, std::string> seen;
    auto upper = [](std::string g) {
      for (char& c : g) c = char(std::toupper(static_cast<unsigned char>(c)));
      return g;
    };
    for (std::size_t i = 0; i < m.groups.size(); ++i) {
      std::string g = upper(m.groups[i].guid);
      if (!seen.emplace(g, "groups[" + std::to_string(i) + "]").second) return refuse("GUID " + m.groups[i].guid + " is used twice");
      parent[g] = upper(m.groups[i].group);
    }
    for (std::size_t i = 0; i < m.elements.size(); ++i)
      if (!seen.emplace(upper(m.elements[i].guid), "").second) return refuse("GUID " + m.elements[i].guid + " is used twice");
    for (std::size_t i = 0; i < m.groups.size(); ++i) {
      std::string at = upper(m.groups[i].guid);
      for (std::size_t depth = 0; !parent[at].empty(); ++depth) {
        if (!parent.count(parent[at])) return refuse("groups[" + std::to_string(i) + "]: no group " + parent[at]);
        if (depth > m.groups.size()) return refuse("groups[" + std::to_string(i) + "] contains itself");
        at = parent[at];
      }
    }
    for (std::size_t i = 0; i < m.elements.size(); ++i) {
      const std::string& g = m.elements[i].group;
      if (!g.empty() && !parent.count(upper(g)))
        return refuse("elements[" + std::to_string(i) + "] (" + m.elements[i].guid + "): no group " + g);
    }
    return true;
  }

  static std::string article(const std::string& kind) {
    return (std::string("aeio").find(kind.empty() ? 'x' : kind[0]) != std::string::npos ? "an " : "a ") + kind;
  }

  bool attribute(const Json& a, std::size_t i, ModelData& m) {
    std::string where = "attributes[" + std::to_string(i) + "]";
    if (!a.is_object()) return wrongType(where, "an object");
    FileAttribute fa;
    if (!text(a, "type", where, fa.type, true) || !whole(a, "index", where, fa.index, 1, 32767, true) ||
        !text(a, "name", where, fa.name, true) || !whole(a, "flags", where, fa.flags, -32768, 32767))
      return false;
    int32_t type = attributeTypeCode(fa.type);
    if (type == 0) return refuse(keyName(where + ".type") + " names no attribute type: " + Json(fa.type).dump());
    if (fa.name.empty() || fa.name.size() > 31) return refuse(keyName(where + ".name") + " must be 1 to 31 bytes");
    std::string data, skins;
    if (!text(a, "data", where, data) || !text(a, "skins", where, skins)) return false;
    if (!fromBase64(data, fa.data)) return refuse(keyName(where + ".data") + " is not valid base64");
    if (fa.data.size() > 216) return refuse(keyName(where + ".data") + " holds more than 216 bytes");
    if (!fromBase64(skins, fa.skins)) return refuse(keyName(where + ".skins") + " is not valid base64");
    if (fa.skins.size() % 16 != 0) return refuse(keyName(where + ".skins") + " must hold 16 bytes a skin");
    if (type != 5 && !fa.skins.empty()) return refuse(where + ": only a composite has skins");
    const Json* params = nullptr;
    if (!array(a, "parameters", where + ".", params)) return false;
    if (params && type != 9) return refuse(where + ": only a zone category has parameters");
    for (std::size_t k = 0; params && k < params->size(); ++k)
      if (!parameter((*params)[k], where + ": parameters[" + std::to_string(k) + "]", fa.parameters)) return false;
    for (const auto& other : m.attributes)
      if (other.type == fa.type && other.index == fa.index)
        return refuse(keyName(where) + " repeats " + fa.type + " " + std::to_string(fa.index));
    m.attributes.push_back(std::move(fa));
    return true;
  }

  bool element(const Json& e, std::size_t i, ModelData& m) {
    std::string where = "elements[" + std::to_string(i) + "]";
    if (!e.is_object()) return wrongType(where, "an object");
    FileElement fe;
    if (!guid(e, "guid", where, fe.guid, true) || !text(e, "kind", where, fe.kind, true)) return false;
    std::string name = where + " (" + fe.kind + " " + fe.guid + ")";
    int32_t typeID = 0;
    if (!elementKind(fe.kind, typeID)) return refuse(name + ": unknown kind " + Json(fe.kind).dump());
    if (typeID == 28) return refuse(name + ": groups go in \"groups\"");
    int32_t variation = 0;
    if (!whole(e, "variation", where, variation, INT32_MIN, INT32_MAX) || !whole(e, "layer", where, fe.layer, 1, 32767) ||
        !whole(e, "storey", where, fe.storey, -32768, 32767) || !text(e, "database", where, fe.database) ||
        !guid(e, "group", where, fe.group, false) || !flag(e, "locked", where, fe.locked) || !text(e, "id", where, fe.id))
      return false;
    auto v = e.find("variation");
    if (v != e.end() && v->is_string()) {
      const std::string& code = v->get_ref<const std::string&>();
      if (code.size() != 4) return refuse(name + ": \"variation\" must be a number or four characters");
      variation = int32_t((uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
                          (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3])));
    }
    fe.variation = uint32_t(variation);
    DatabaseName db;
    if (!parseDatabaseText(fe.database, db)) return refuse(name + ": no database " + Json(fe.database).dump());
    if (db.kind != 1 && db.kind != 4) {
      bool known = false;
      for (const auto& d : m.databases) {
        DatabaseName dn;
        known = known || (parseDatabaseText(d.kind + " " + std::to_string(d.index), dn) && dn.kind == db.kind &&
                          dn.index == db.index);
      }
      if (!known) return refuse(name + ": no database " + Json(fe.database).dump() + " in \"databases\"");
    }
    std::vector<std::string> fields = elementRecordFields(typeID);
    auto record = e.find("record");
    if (record != e.end()) {
      if (!record->is_object()) return refuse(name + ": \"record\" must be an object");
      for (auto it = record->begin(); it != record->end(); ++it) {
        if (std::find(fields.begin(), fields.end(), it.key()) == fields.end())
          return refuse(name + ": " + article(fe.kind) + " has no record field " + Json(it.key()).dump());
        if (!it->is_number() || !std::isfinite(it->get<double>()))
          return refuse(name + ": record field " + Json(it.key()).dump() + " must be a number");
        fe.record[it.key()] = it->get<double>();
      }
    }
    bool placed = typeID == 4 || typeID == 5 || typeID == 6 || typeID == 7 || typeID == 16 || typeID == 17 ||
                  typeID == 25 || typeID == 33;
    bool polygonal = typeID == 8 || typeID == 9 || typeID == 10 || typeID == 18 || typeID == 20 || typeID == 30;
    if (!text(e, "libraryPart", where, fe.libraryPart)) return false;
    if (placed && fe.libraryPart.empty()) return refuse(name + ": " + article(fe.kind) + " needs \"libraryPart\"");
    if (!placed && e.contains("libraryPart")) return refuse(name + ": " + article(fe.kind) + " has no library part");
    if (e.contains("parameters") && !placed) return refuse(name + ": " + article(fe.kind) + " has no parameters");
    const Json* params = nullptr;
    if (!array(e, "parameters", where + ".", params)) return false;
    for (std::size_t k = 0; params && k < params->size(); ++k)
      if (!parameter((*params)[k], name + ": parameters[" + std::to_string(k) + "]", fe.parameters)) return false;
    auto poly = e.find("polygon");
    if (poly != e.end() && !polygonal) return refuse(name + ": " + article(fe.kind) + " has no polygon");
    if (polygonal && poly == e.end()) return refuse(name + ": " + article(fe.kind) + " needs \"polygon\"");
    if (poly != e.end() && !polygon(*poly, name, fe)) return false;
    if (!text(e, "text", where, fe.text)) return false;
    if (typeID == 15 && !e.contains("text")) return refuse(name + ": a text needs \"text\"");
    if (typeID != 15 && e.contains("text")) return refuse(name + ": " + article(fe.kind) + " has no text");
    if (!guid(e, "target", where, fe.target, typeID == 29)) return false;
    if (typeID != 29 && e.contains("target")) return refuse(name + ": only a proxy has a \"target\"");
    if (typeID == 29 && db.kind != 2 && db.kind != 10 && db.kind != 11)
      return refuse(name + ": a proxy lives in a section or an elevation");
    auto user = e.find("userData");
    if (user != e.end()) {
      if (!user->is_object()) return refuse(name + ": \"userData\" must be an object");
      std::string data, encoding = "text";
      if (!text(*user, "data", where + ".userData", data, true) || !text(*user, "encoding", where + ".userData", encoding) ||
          !whole(*user, "value", where + ".userData", fe.userValue, INT32_MIN, INT32_MAX) ||
          !whole(*user, "flags", where + ".userData", fe.userFlags, INT32_MIN, INT32_MAX))
        return false;
      if (encoding == "base64") {
        if (!fromBase64(data, fe.userData)) return refuse(name + ": \"userData.data\" is not valid base64");
      } else if (encoding == "text") {
        fe.userData = data;
      } else {
        return refuse(name + ": \"userData.encoding\" must be \"text\" or \"base64\"");
      }
      if (fe.userData.empty()) return refuse(name + ": \"userData.data\" is empty");
      fe.hasUserData = true;
    }
    m.elements.push_back(std::move(fe));
    return true;
  }

  bool parameter(const Json& p, const std::string& where, std::vector<FileParameter>& out) {
    if (!p.is_object()) return refuse(where + " must be an object");
    FileParameter fp;
    if (!text(p, "name", where, fp.name, true) || !text(p, "type", where, fp.type, true) ||
        !whole(p, "flags", where, fp.flags, INT32_MIN, INT32_MAX))
      return false;
    if (fp.name.empty() || fp.name.size() > 31) return refuse(where + ": a name of 1 to 31 bytes");
    int32_t code = parameterTypeCode(fp.type);
    if (code == 0) return refuse(where + ": unknown parameter type " + Json(fp.type).dump());
    auto value = p.find("value");
    bool marker = code == 14 || code == 15;
    if (marker) {
      if (value != p.end()) return refuse(where + ": " + article(fp.type) + " has no value");
      out.push_back(fp);
      return true;
    }
    if (value == p.end()) return refuse(where + ": \"value\" is missing");
    auto one = [&](const Json& v) {
      if (code == 12) {
        if (!v.is_string()) return refuse(where + ": a string parameter takes text");
        if (v.get_ref<const std::string&>().size() > 255) return refuse(where + ": text longer than 255 bytes");
        fp.texts.push_back(v.get<std::string>());
      } else if (code == 13 || code == 5) {
        if (!v.is_boolean() && !v.is_number()) return refuse(where + ": " + article(fp.type) + " takes true, false or a number");
        fp.numbers.push_back(v.is_boolean() ? (v.get<bool>() ? 1.0 : 0.0) : v.get<double>());
      } else {
        if (!v.is_number() || !std::isfinite(v.get<double>())) return refuse(where + ": " + article(fp.type) + " takes a number");
        fp.numbers.push_back(v.get<double>());
      }
      return true;
    };
    if (value->is_array()) {
      fp.isArray = true;
      // Rows of columns: [[1, 2], [3, 4]]; a flat list is one column.
      fp.rows = int32_t(value->size());
      fp.columns = 1;
      if (value->empty()) return refuse(where + ": an array needs a row");
      if ((*value)[0].is_array()) {
        fp.columns = int32_t((*value)[0].size());
        if (fp.columns == 0) return refuse(where + ": an array row needs a value");
        for (const Json& row : *value) {
          if (!row.is_array() || int32_t(row.size()) != fp.columns) return refuse(where + ": rows of unequal length");
          for (const Json& v : row)
            if (!one(v)) return false;
        }
      } else {
        for (const Json& v : *value)
          if (!one(v)) return false;
      }
      if (std::size_t(fp.rows) * std::size_t(fp.columns) > 100000) return refuse(where + ": an array above 100000 values");
    } else if (!one(*value)) {
      return false;
    }
    fp.type = std::string(fp.type);
    out.push_back(std::move(fp));
    return true;
  }

  bool polygon(const Json& p, const std::string& name, FileElement& fe) {
    if (!p.is_object()) return refuse(name + ": \"polygon\" must be an object");
    FilePolygon poly;
    if (!flag(p, "closed", name + ".polygon", poly.closed)) return false;
    auto contours = p.find("contours");
    if (contours == p.end() || !contours->is_array() || contours->empty())
      return refuse(name + ": \"polygon.contours\" must be a list of contours");
    for (std::size_t c = 0; c < contours->size(); ++c) {
      const Json& contour = (*contours)[c];
      if (!contour.is_array() || contour.empty()) return refuse(name + ": polygon contour " + std::to_string(c) + " has no vertex");
      if (contour.size() > 100000) return refuse(name + ": polygon contour " + std::to_string(c) + " is too long");
      std::vector<FileVertex> vertices;
      for (const Json& v : contour) {
        // [x, y] or [x, y, arc]
        if (!v.is_array() || v.size() < 2 || v.size() > 3) return refuse(name + ": a polygon vertex is [x, y] or [x, y, arc]");
        for (const Json& n : v)
          if (!n.is_number() || !std::isfinite(n.get<double>())) return refuse(name + ": a polygon vertex holds numbers");
        vertices.push_back({v[0].get<double>(), v[1].get<double>(), v.size() == 3 ? v[2].get<double>() : 0.0});
      }
      bool closing = poly.closed || c > 0;
      if (closing && vertices.size() < 3) return refuse(name + ": a closed contour needs three vertices");
      if (!closing && vertices.size() < 2) return refuse(name + ": an open polygon needs two vertices");
      poly.contours.push_back(std::move(vertices));
    }
    fe.hasPolygon = true;
    fe.polygon = std::move(poly);
    return true;
  }

  std::string problem_;
};


// A parameter as the file writes it.
nlohmann::ordered_json parameterJson(const FileParameter& p) {
  using OJ = nlohmann::ordered_json;
  OJ pj{{"name", p.name}, {"type", p.type}};
  if (p.flags) pj["flags"] = p.flags;
  bool text = p.type == "string";
  bool marker = p.type == "separator" || p.type == "title";
  auto value = [&](std::size_t i) -> OJ {
    if (text) return i < p.texts.size() ? OJ(p.texts[i]) : OJ("");
    double v = i < p.numbers.size() ? p.numbers[i] : 0.0;
    if ((p.type == "boolean" || p.type == "lightSwitch") && (v == 0.0 || v == 1.0)) return OJ(v != 0.0);
    return OJ(v);
  };
  if (marker) {
  } else if (!p.isArray) {
    pj["value"] = value(0);
  } else {
    OJ rows = OJ::array();
    for (int32_t r = 0; r < std::max(p.rows, 1); ++r) {
      if (p.columns <= 1) {
        rows.push_back(value(std::size_t(r)));
      } else {
        OJ row = OJ::array();
        for (int32_t c = 0; c < p.columns; ++c) row.push_back(value(std::size_t(r * p.columns + c)));
        rows.push_back(row);
      }
    }
    pj["value"] = rows;
  }
  return pj;
}

// The model sections of a file.
void writeModel(const ModelData& m, nlohmann::ordered_json& root) {
  using OJ = nlohmann::ordered_json;
  root["plan"]["currentStorey"] = m.currentStorey;
  root["storeys"] = OJ::array();
  for (const auto& s : m.storeys) root["storeys"].push_back(OJ{{"index", s.index}, {"elevation", s.elevation}, {"name", s.name}});
  root["layers"] = OJ::array();
  for (const auto& l : m.layers)
    root["layers"].push_back(OJ{{"index", l.index}, {"name", l.name}, {"hidden", l.hidden}, {"locked", l.locked}});
  if (!m.attributes.empty()) {
    root["attributes"] = OJ::array();
    for (const auto& a : m.attributes) {
      OJ j{{"type", a.type}, {"index", a.index}, {"name", a.name}};
      if (a.flags) j["flags"] = a.flags;
      if (!a.data.empty()) j["data"] = toBase64(a.data);
      if (!a.skins.empty()) j["skins"] = toBase64(a.skins);
      if (!a.parameters.empty()) {
        j["parameters"] = OJ::array();
        for (const auto& p : a.parameters) j["parameters"].push_back(parameterJson(p));
      }
      root["attributes"].push_back(j);
    }
  }
  root["databases"] = OJ::array();
  for (const auto& d : m.databases) {
    OJ j{{"kind", d.kind}, {"index", d.index}};
    if (d.number) j["number"] = d.number;
    j["name"] = d.name;
    j["cut"] = OJ::array({d.cut[0], d.cut[1], d.cut[2], d.cut[3]});
    j["angle"] = d.angle;
    root["databases"].push_back(j);
  }
  root["groups"] = OJ::array();
  for (const auto& g : m.groups) {
    OJ j{{"guid", g.guid}, {"name", g.name}};
    if (!g.group.empty()) j["group"] = g.group;
    if (g.locked) j["locked"] = true;
    root["groups"].push_back(j);
  }
  root["elements"] = OJ::array();
  for (const auto& e : m.elements) {
    OJ j{{"guid", e.guid}, {"kind", e.kind}};
    if (e.variation) j["variation"] = int32_t(e.variation);
    j["layer"] = e.layer;
    j["storey"] = e.storey;
    j["database"] = e.database;
    if (!e.group.empty()) j["group"] = e.group;
    if (e.locked) j["locked"] = true;
    if (!e.id.empty()) j["id"] = e.id;
    if (!e.libraryPart.empty()) j["libraryPart"] = e.libraryPart;
    j["record"] = OJ::object();
    for (const auto& f : e.record) j["record"][f.first] = f.second;
    if (!e.parameters.empty()) {
      j["parameters"] = OJ::array();
      for (const auto& p : e.parameters) j["parameters"].push_back(parameterJson(p));
    }
    if (e.hasPolygon) {
      OJ contours = OJ::array();
      for (const auto& c : e.polygon.contours) {
        OJ contour = OJ::array();
        for (const auto& v : c) {
          if (v.arc != 0.0) contour.push_back(OJ::array({v.x, v.y, v.arc}));
          else contour.push_back(OJ::array({v.x, v.y}));
        }
        contours.push_back(contour);
      }
      j["polygon"] = OJ{{"closed", e.polygon.closed}, {"contours", contours}};
    }
    if (e.kind == "text") j["text"] = e.text;
    if (!e.target.empty()) j["target"] = e.target;
    if (e.hasUserData && !e.userData.empty()) {
      bool textual = isUtf8(e.userData);
      OJ u{{"encoding", textual ? "text" : "base64"}, {"data", textual ? e.userData : toBase64(e.userData)}};
      if (e.userValue) u["value"] = e.userValue;
      if (e.userFlags) u["flags"] = e.userFlags;
      j["userData"] = u;
    }
    root["elements"].push_back(j);
  }
}

std::string modelText(const ModelData& model) {
  nlohmann::ordered_json root;
  writeModel(model, root);
  return root.dump();
}

std::string systemError(int error) { return std::strerror(error); }

}  // namespace

const char* workingUnitsName(WorkingUnits units) {
  if (units == WorkingUnits::Metric) return kMetricName;
  if (units == WorkingUnits::Imperial) return kImperialName;
  for (WorkingUnits u : kAllWorkingUnits)
    if (u == units) return kUnitNames[int32_t(u)];
  return nullptr;
}

bool workingUnitsOf(const std::string& name, WorkingUnits& units) {
  if (name == kMetricName) units = WorkingUnits::Metric;
  else if (name == kImperialName) units = WorkingUnits::Imperial;
  else {
    for (WorkingUnits u : kAllWorkingUnits)
      if (name == kUnitNames[int32_t(u)]) {
        units = u;
        return true;
      }
    return false;
  }
  return true;
}

bool parseProject(const std::string& text, const std::string& source, ProjectData& data, std::string& error) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    error = source + ": the file is empty";
    return false;
  }
  try {
    Json root = Json::parse(text);
    Reader reader;
    ProjectData read;
    if (!reader.read(root, read)) {
      error = source + ": " + reader.problem();
      return false;
    }
    data = std::move(read);
    return true;
  } catch (const Json::parse_error& e) {
    error = source + ": " + parseProblem(e);
  } catch (const std::exception& e) {
    // Other parser errors (a number out of range) read "[json.exception.out_of_range.406] ...".
    std::string what = e.what();
    std::size_t tag = what.rfind("] ", what.find(' '));
    error = source + ": " + (what[0] == '[' && tag != std::string::npos ? what.substr(tag + 2) : what);
  }
  return false;
}

bool serialiseProject(const ProjectData& data, std::string& text, std::string& error) {
  for (std::size_t i = 0; i < data.libraryFolders.size(); ++i) {
    if (!isUtf8(data.libraryFolders[i])) {
      error = "library folder " + std::to_string(i + 1) + " is not UTF-8 text";
      return false;
    }
  }
  try {
    nlohmann::ordered_json root;
    root["format"] = kProjectFileFormat;
    root["version"] = kProjectFileVersion;
    const char* units = workingUnitsName(data.settings.workingUnits);
    if (!units) {
      error = "working units " + std::to_string(int32_t(data.settings.workingUnits)) + " are no unit";
      return false;
    }
    root["settings"]["workingUnits"] = units;
    root["settings"]["groupsSuspended"] = data.settings.groupsSuspended;
    root["library"]["folders"] = nlohmann::ordered_json::array();
    for (const std::string& folder : data.libraryFolders) root["library"]["folders"].push_back(folder);
    if (!data.moduleData.empty()) {
      bool textual = isUtf8(data.moduleData);
      root["moduleData"]["encoding"] = textual ? "text" : "base64";
      root["moduleData"]["data"] = textual ? data.moduleData : toBase64(data.moduleData);
    }
    for (std::size_t i = 0; i < data.model.elements.size(); ++i)
      if (!isUtf8(data.model.elements[i].libraryPart) || !isUtf8(data.model.elements[i].id) ||
          !isUtf8(data.model.elements[i].text)) {
        error = "element " + data.model.elements[i].guid + " holds text that is not UTF-8";
        return false;
      }
    writeModel(data.model, root);
    text = root.dump(2) + "\n";
    return true;
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
}

bool readProjectFile(const std::string& path, ProjectData& data, std::string& error) {
  std::string native = FileLibrary::nativePath(path);
  struct stat st;
  if (::stat(native.c_str(), &st) != 0) {
    error = path + ": cannot read the file (" + systemError(errno) + ")";
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error = path + ": is a folder, not a project file";
    return false;
  }
  std::FILE* f = std::fopen(native.c_str(), "rb");
  if (!f) {
    error = path + ": cannot read the file (" + systemError(errno) + ")";
    return false;
  }
  std::string text;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  bool failed = std::ferror(f) != 0;
  int readError = errno;
  std::fclose(f);
  if (failed) {
    error = path + ": cannot read the file (" + systemError(readError) + ")";
    return false;
  }
  return parseProject(text, path, data, error);
}

bool writeProjectFile(const std::string& path, const ProjectData& data, std::string& error, bool replaceReadOnly) {
  std::string text;
  if (!serialiseProject(data, text, error)) {
    error = path + ": cannot write the project: " + error;
    return false;
  }
  return writeFileReplacing(path, text, replaceReadOnly, error);
}

std::string resolveLibraryFolder(const std::string& projectPath, const std::string& folder) {
  std::string f = FileLibrary::nativePath(folder);
  bool absolute = (!f.empty() && f[0] == '/') ||
                  (f.size() >= 2 && std::isalpha(static_cast<unsigned char>(f[0])) && f[1] == ':');
  if (absolute) return f;
  std::string project = FileLibrary::nativePath(projectPath);
  std::size_t slash = project.find_last_of('/');
  if (slash == std::string::npos) return f;
  return project.substr(0, slash + 1) + f;
}

}  // namespace standin
