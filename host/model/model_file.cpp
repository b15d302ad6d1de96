// The host model read from and written into a project file's model sections.
#include <strings.h>

#include <cmath>
#include <cstring>

#include "host/library/library_index.h"
#include "host/model/project_model.h"

namespace standin {

using platform::ElementRecord;
using platform::Guid;

namespace {

// One named field of a kind's record.
struct Field {
  const char* name;
  double (*get)(const ElementRecord&);
  void (*set)(ElementRecord&, double);
};

#define FIELD(fname, member, type) \
  Field { fname, [](const ElementRecord& r) { return double(r.member); }, [](ElementRecord& r, double v) { r.member = type(v); } }

const Field kPartFields[] = {
    FIELD("x", part.pos.x, double),       FIELD("y", part.pos.y, double),     FIELD("level", part.level, double),
    FIELD("angle", part.angle, double),   FIELD("a", part.xRatio, double),    FIELD("b", part.yRatio, double),
    FIELD("height", part.height, double), FIELD("pen", part.pen, int16_t),    FIELD("lineType", part.lineType, int16_t),
    FIELD("material", part.material, int16_t), FIELD("fill", part.fill, int16_t),
    FIELD("fillPen", part.fillPen, int16_t), FIELD("mirrored", part.mirrored, uint8_t),
};
const Field kPolygonFields[] = {
    FIELD("contourPen", polygon.contourPen, int16_t), FIELD("fillPen", polygon.fillPen, int16_t),
    FIELD("fillBackgroundPen", polygon.fillBackgroundPen, int16_t), FIELD("lineType", polygon.lineType, int16_t),
    FIELD("fill", polygon.fill, int16_t),             FIELD("material", polygon.material, int16_t),
    FIELD("textFont", polygon.textFont, int16_t),     FIELD("textStyle", polygon.textStyle, int16_t),
    FIELD("textSize", polygon.textSize, double),      FIELD("level", polygon.level, double),
    FIELD("thickness", polygon.thickness, double),
};
const Field kSolidFields[] = {
    FIELD("x", solid.begC.x, double),     FIELD("y", solid.begC.y, double),       FIELD("x2", solid.endC.x, double),
    FIELD("y2", solid.endC.y, double),    FIELD("level", solid.level, double),    FIELD("height", solid.height, double),
    FIELD("width", solid.width, double),  FIELD("depth", solid.depth, double),    FIELD("angle", solid.angle, double),
    FIELD("pen", solid.pen, int16_t),     FIELD("fillPen", solid.fillPen, int16_t),
    FIELD("lineType", solid.lineType, int16_t), FIELD("fill", solid.fill, int16_t),
    FIELD("material", solid.material, int16_t),
};
const Field kLineFields[] = {
    FIELD("x", line.begC.x, double),   FIELD("y", line.begC.y, double),   FIELD("x2", line.endC.x, double),
    FIELD("y2", line.endC.y, double),  FIELD("level", line.level, double), FIELD("pen", line.pen, int16_t),
    FIELD("lineType", line.lineType, int16_t), FIELD("arrowType", line.arrowType, int16_t),
    FIELD("arrowSize", line.arrowSize, double),
};
const Field kCircleFields[] = {
    FIELD("x", circle.origC.x, double),      FIELD("y", circle.origC.y, double),   FIELD("r", circle.r, double),
    FIELD("beginAngle", circle.begAng, double), FIELD("endAngle", circle.endAng, double),
    FIELD("pen", circle.pen, int16_t),       FIELD("lineType", circle.lineType, int16_t),
};
const Field kTextFields[] = {
    FIELD("x", text.loc.x, double),       FIELD("y", text.loc.y, double),       FIELD("size", text.size, double),
    FIELD("angle", text.angle, double),   FIELD("width", text.width, double),   FIELD("height", text.height, double),
    FIELD("pen", text.pen, int16_t),      FIELD("font", text.font, int16_t),    FIELD("style", text.style, int32_t),
};
const Field kProxyFields[] = {
    FIELD("h", proxy.h, double),
    FIELD("v", proxy.v, double),
};

#undef FIELD

struct FieldSet {
  const Field* begin;
  const Field* end;
};

template <std::size_t N>
FieldSet set(const Field (&f)[N]) {
  return FieldSet{f, f + N};
}

}  // namespace

// The record fields of a kind (shared with the project file's checks).
std::vector<std::string> elementRecordFields(int32_t typeID) {
  FieldSet s{nullptr, nullptr};
  switch (typeID) {
    case platform::kWindow: case platform::kDoor: case platform::kObject: case platform::kLamp:
    case platform::kLabel: case platform::kZone: case platform::kSectionReference:
    case platform::kElevationReference:
      s = set(kPartFields);
      break;
    case platform::kSlab: case platform::kRoof: case platform::kMesh: case platform::kHatch:
    case platform::kPolyLine: case platform::kPlacedDrawing:
      s = set(kPolygonFields);
      break;
    case platform::kLine: case platform::kHotspot: case platform::kDimension: s = set(kLineFields); break;
    case platform::kArc: case platform::kCircle: s = set(kCircleFields); break;
    case platform::kText: s = set(kTextFields); break;
    case platform::kSectionProxy: s = set(kProxyFields); break;
    default:
      if (typeID == platform::kWall || typeID == platform::kColumn || typeID == platform::kBeam ||
          (typeID >= 37 && typeID <= 42))
        s = set(kSolidFields);
  }
  std::vector<std::string> names;
  for (const Field* f = s.begin; f != s.end; ++f) names.push_back(f->name);
  return names;
}

namespace {

FieldSet fieldsOf(int32_t typeID) {
  switch (typeID) {
    case platform::kWindow: case platform::kDoor: case platform::kObject: case platform::kLamp:
    case platform::kLabel: case platform::kZone: case platform::kSectionReference:
    case platform::kElevationReference:
      return set(kPartFields);
    case platform::kSlab: case platform::kRoof: case platform::kMesh: case platform::kHatch:
    case platform::kPolyLine: case platform::kPlacedDrawing:
      return set(kPolygonFields);
    case platform::kLine: case platform::kHotspot: case platform::kDimension: return set(kLineFields);
    case platform::kArc: case platform::kCircle: return set(kCircleFields);
    case platform::kText: return set(kTextFields);
    case platform::kSectionProxy: return set(kProxyFields);
    default:
      if (typeID == platform::kWall || typeID == platform::kColumn || typeID == platform::kBeam ||
          (typeID >= 37 && typeID <= 42))
        return set(kSolidFields);
      return FieldSet{nullptr, nullptr};
  }
}

const struct {
  const char* name;
  int32_t kind;
} kDatabaseKinds[] = {
    {"plan", platform::kDatabasePlan},          {"section", platform::kDatabaseSection},
    {"detail", platform::kDatabaseDetail},      {"model", platform::kDatabaseModel},
    {"layout", platform::kDatabaseLayout},      {"masterLayout", platform::kDatabaseMasterLayout},
    {"elevation", platform::kDatabaseElevation}, {"interiorElevation", platform::kDatabaseInteriorElevation},
    {"worksheet", platform::kDatabaseWorksheet}, {"document3D", platform::kDatabaseDocument3D},
};

int32_t databaseKind(const std::string& name) {
  for (const auto& k : kDatabaseKinds)
    if (name == k.name) return k.kind;
  return 0;
}

std::string databaseName(const platform::DatabaseRecord& id) {
  for (const auto& k : kDatabaseKinds) {
    if (k.kind != id.kind) continue;
    if (id.kind == platform::kDatabasePlan || id.kind == platform::kDatabaseModel) return k.name;
    return std::string(k.name) + " " + std::to_string(id.index);
  }
  return "plan";
}

const char* const kParameterTypes[] = {"",     "integer", "length",   "angle",    "real", "lightSwitch",
                                       "colour", "intensity", "lineType", "material", "fill", "pen",
                                       "string", "boolean",   "separator", "title"};

}  // namespace

// The database identity a project file names ("plan", "section 1"); false for other text.
bool parseDatabaseName(const std::string& text, platform::DatabaseRecord& id) {
  std::size_t space = text.find(' ');
  int32_t kind = databaseKind(text.substr(0, space));
  if (kind == 0) return false;
  if (kind == platform::kDatabasePlan || kind == platform::kDatabaseModel) {
    if (space != std::string::npos) return false;
    id = {kind, 0, 0, 0};
    return true;
  }
  if (space == std::string::npos) return false;
  std::string number = text.substr(space + 1);
  if (number.empty() || number.size() > 6 || number.find_first_not_of("0123456789") != std::string::npos) return false;
  id = {kind, 0, 0, std::stoi(number)};
  return id.index > 0;
}

bool parseDatabaseText(const std::string& text, DatabaseName& out) {
  platform::DatabaseRecord id{};
  if (!parseDatabaseName(text, id)) return false;
  out.kind = id.kind;
  out.index = id.index;
  return true;
}

namespace {

// A parameter of the file as the host keeps it.
StoredParameter storedFromFile(const FileParameter& fp, int16_t index) {
  StoredParameter sp;
  sp.record.typeID = parameterTypeCode(fp.type);
  sp.record.index = index;
  std::strncpy(sp.record.name, fp.name.c_str(), 31);
  sp.record.flags = fp.flags;
  if (fp.isArray) {
    sp.record.shape = platform::kShapeArray;
    sp.record.dim1 = fp.rows;
    sp.record.dim2 = fp.columns;
    sp.numbers = fp.numbers;
    sp.texts = fp.texts;
  } else if (sp.record.typeID == platform::kParamString) {
    platform::toWide(fp.texts.empty() ? "" : fp.texts[0].c_str(), sp.record.value.text, 256);
  } else {
    sp.record.value.real = fp.numbers.empty() ? 0.0 : fp.numbers[0];
  }
  return sp;
}

// A parameter as the file writes it.
FileParameter fileFromStored(const StoredParameter& sp) {
  FileParameter fp;
  fp.name = std::string(sp.record.name, strnlen(sp.record.name, 32));
  int32_t t = sp.record.typeID;
  fp.type = t >= 1 && t <= 15 ? kParameterTypes[t] : "real";
  fp.flags = sp.record.flags;
  fp.isArray = sp.record.shape == platform::kShapeArray;
  if (fp.isArray) {
    fp.rows = sp.record.dim1;
    fp.columns = sp.record.dim2;
    fp.numbers = sp.numbers;
    fp.texts = sp.texts;
  } else if (t == platform::kParamString) {
    std::string text;
    for (int i = 0; i < 256 && sp.record.value.text[i]; ++i)
      text += char(sp.record.value.text[i] < 256 ? sp.record.value.text[i] : '?');
    fp.texts.push_back(text);
  } else if (t != platform::kParamSeparator && t != platform::kParamTitle) {
    fp.numbers.push_back(sp.record.value.real);
  }
  return fp;
}

}  // namespace

int32_t parameterTypeCode(const std::string& name) {
  for (int32_t i = 1; i <= 15; ++i)
    if (name == kParameterTypes[i]) return i;
  return 0;
}

void ProjectModel::load(const ModelData& data) {
  clear();
  if (!data.storeys.empty()) setStoreys(data.storeys, data.currentStorey);
  if (!data.layers.empty()) {
    layers_.clear();
    for (const auto& l : data.layers) addLayer(l.index, l.name, l.hidden, l.locked);
  }
  for (const FileAttribute& fa : data.attributes) {
    int32_t type = attributeTypeCode(fa.type);
    if (type == 0 || fa.index < 1 || fa.index > 32767) continue;
    StoredAttribute a;
    a.record.header.typeID = int16_t(type);
    a.record.header.index = int16_t(fa.index);
    a.record.header.flags = int16_t(fa.flags);
    std::strncpy(a.record.header.name, fa.name.c_str(), sizeof a.record.header.name - 1);
    std::memcpy(a.record.body, fa.data.data(), std::min(fa.data.size(), sizeof a.record.body));
    a.skins.resize(fa.skins.size() / sizeof(platform::CompositeSkinRecord));
    if (!a.skins.empty()) std::memcpy(a.skins.data(), fa.skins.data(), a.skins.size() * sizeof(platform::CompositeSkinRecord));
    for (const FileParameter& fp : fa.parameters) a.parameters.push_back(storedFromFile(fp, int16_t(a.parameters.size())));
    attributes_[{type, fa.index}] = std::move(a);
  }
  for (const FileDatabase& d : data.databases) {
    auto db = std::make_unique<HostDatabase>();
    db->id = {databaseKind(d.kind), int16_t(d.number), 0, d.index};
    db->name = d.name;
    db->cut = {{d.cut[0], d.cut[1]}, {d.cut[2], d.cut[3]}};
    db->angle = d.angle;
    if (db->id.kind != 0 && !database(db->id.kind, db->id.index)) databases_.push_back(std::move(db));
  }
  uint64_t highest = 0;
  auto noteGuid = [&](const Guid& g) {
    // New GUIDs must not meet the file's: the counter starts past any of the stand-in's own.
    uint64_t n = 0;
    for (int i = 8; i < 16; ++i) n = (n << 8) | g.bytes[i];
    if (n > highest) highest = n;
  };
  for (const FileGroup& fg : data.groups) {
    ElementRecord r{};
    r.header.typeID = platform::kGroup;
    r.header.layer = 1;
    parseGuid(fg.guid, r.header.guid);
    std::strncpy(r.group.name, fg.name.c_str(), 31);
    r.header.locked = fg.locked ? 1 : 0;
    noteGuid(r.header.guid);
    create(plan(), r);
  }
  for (const FileElement& fe : data.elements) {
    int32_t typeID = 0;
    if (!elementKind(fe.kind, typeID)) continue;
    platform::DatabaseRecord id{};
    if (!parseDatabaseName(fe.database, id)) id = plan().id;
    // A file names a database by its kind and index.
    HostDatabase* db = database(id.kind, id.index);
    if (!db) db = &plan();
    ElementRecord r = defaults(typeID);
    r.header.typeID = typeID;
    r.header.variation = fe.variation;
    r.header.layer = int16_t(fe.layer);
    r.header.storey = int16_t(fe.storey);
    r.header.locked = fe.locked ? 1 : 0;
    parseGuid(fe.guid, r.header.guid);
    noteGuid(r.header.guid);
    FieldSet fs = fieldsOf(typeID);
    for (const Field* f = fs.begin; f != fs.end; ++f) {
      auto it = fe.record.find(f->name);
      if (it != fe.record.end()) f->set(r, it->second);
    }
    if (char* id16 = elementIdField(r)) std::strncpy(id16, fe.id.c_str(), 15);
    if (typeID == platform::kCircle) r.circle.whole = 1;
    if (typeID == platform::kSectionProxy) {
      parseGuid(fe.target, r.proxy.targetGuid);
      r.proxy.targetDatabaseKind = platform::kDatabasePlan;
    }
    HostElement& e = create(*db, r);
    e.libraryPart = fe.libraryPart;
    if (!fe.libraryPart.empty()) {
      const LibraryIndex* lib = library();
      e.record.part.libIndex = lib ? lib->find(fe.libraryPart, 0) : 0;
    }
    for (const FileParameter& fp : fe.parameters) e.parameters.push_back(storedFromFile(fp, int16_t(e.parameters.size())));
    if (fe.hasPolygon) {
      StoredPolygon p;
      p.coords.push_back({fe.polygon.closed ? 0.0 : -1.0, 0.0});
      p.ends.push_back(0);
      p.ids.push_back(0);
      int32_t id = 0;
      for (std::size_t c = 0; c < fe.polygon.contours.size(); ++c) {
        const auto& contour = fe.polygon.contours[c];
        bool closeIt = fe.polygon.closed || c > 0;
        for (std::size_t i = 0; i < contour.size(); ++i) {
          p.coords.push_back({contour[i].x, contour[i].y});
          p.ids.push_back(++id);
          int32_t at = int32_t(p.coords.size()) - 1;
          if (i > 0 && std::fabs(contour[i].arc) > 0.00001) p.arcs.push_back({at - 1, at, contour[i].arc});
        }
        if (closeIt && !contour.empty()) {
          p.coords.push_back({contour[0].x, contour[0].y});
          p.ids.push_back(p.ids[p.ids.size() - contour.size()]);
          int32_t at = int32_t(p.coords.size()) - 1;
          if (std::fabs(contour[0].arc) > 0.00001) p.arcs.push_back({at - 1, at, contour[0].arc});
        }
        p.ends.push_back(int32_t(p.coords.size()) - 1);
      }
      p.ids[0] = id;
      e.record.polygon.coordCount = int32_t(p.coords.size()) - 1;
      e.record.polygon.contourCount = int32_t(p.ends.size()) - 1;
      e.record.polygon.arcCount = int32_t(p.arcs.size());
      e.polygon = std::move(p);
    }
    e.text = fe.text;
    e.hasUserData = fe.hasUserData;
    e.userData = fe.userData;
    e.userValue = fe.userValue;
    e.userFlags = fe.userFlags;
    e.record.header.hasUserData = fe.hasUserData;
    e.record.header.hasMemo = !e.parameters.empty() || fe.hasPolygon || !fe.text.empty();
    if (!fe.group.empty()) parseGuid(fe.group, e.record.header.groupGuid);
  }
  for (const FileGroup& fg : data.groups) {
    Guid self{}, parent{};
    parseGuid(fg.guid, self);
    if (fg.group.empty() || !parseGuid(fg.group, parent)) continue;
    if (HostElement* g = find(self)) g->record.header.groupGuid = parent;
  }
  // Members follow from each element's immediate group.
  for (auto& db : databases_)
    for (auto& kind : db->kinds)
      for (auto& e : kind.second) {
        const Guid& parent = e->record.header.groupGuid;
        if (platform::isZero(parent)) continue;
        if (HostElement* g = find(parent)) g->members.push_back(e->record.header.guid);
      }
  guidCounter_ = highest;
  // Proxies name their element by GUID; its index is the host's.
  for (auto& db : databases_) {
    auto it = db->kinds.find(platform::kSectionProxy);
    if (it == db->kinds.end()) continue;
    for (auto& p : it->second)
      if (HostElement* target = find(p->record.proxy.targetGuid)) {
        p->record.proxy.targetType = target->record.header.typeID;
        p->record.proxy.targetIndex = target->record.header.index;
      }
  }
}

ModelData ProjectModel::save() const {
  ModelData data;
  data.currentStorey = currentStorey_;
  data.storeys = storeys_;
  data.layers = layers_;
  for (const auto& entry : attributes_) {
    const StoredAttribute& a = entry.second;
    FileAttribute fa;
    fa.type = attributeTypeName(entry.first.first);
    if (fa.type.empty()) continue;
    fa.index = entry.first.second;
    fa.name = std::string(a.record.header.name, strnlen(a.record.header.name, sizeof a.record.header.name));
    fa.flags = a.record.header.flags;
    // The record's own part, without the zeros that end it.
    std::size_t used = sizeof a.record.body;
    while (used > 0 && a.record.body[used - 1] == 0) --used;
    fa.data.assign(reinterpret_cast<const char*>(a.record.body), used);
    fa.skins.assign(reinterpret_cast<const char*>(a.skins.data()), a.skins.size() * sizeof(platform::CompositeSkinRecord));
    for (const StoredParameter& sp : a.parameters) fa.parameters.push_back(fileFromStored(sp));
    data.attributes.push_back(std::move(fa));
  }
  for (const auto& db : databases_) {
    if (db->id.kind == platform::kDatabasePlan || db->id.kind == platform::kDatabaseModel) continue;
    FileDatabase d;
    d.kind = databaseName(db->id).substr(0, databaseName(db->id).find(' '));
    d.index = db->id.index;
    d.number = db->id.number;
    d.name = db->name;
    d.cut[0] = db->cut.start.x;
    d.cut[1] = db->cut.start.y;
    d.cut[2] = db->cut.end.x;
    d.cut[3] = db->cut.end.y;
    d.angle = db->angle;
    data.databases.push_back(d);
  }
  for (const auto& db : databases_) {
    for (const auto& kind : db->kinds) {
      for (const auto& e : kind.second) {
        if (e->deleted) continue;
        const auto& h = e->record.header;
        if (h.typeID == platform::kGroup) {
          FileGroup g;
          g.guid = guidString(h.guid);
          g.name = std::string(e->record.group.name, strnlen(e->record.group.name, 32));
          if (!platform::isZero(h.groupGuid)) g.group = guidString(h.groupGuid);
          g.locked = h.locked != 0;
          data.groups.push_back(g);
          continue;
        }
        FileElement fe;
        fe.guid = guidString(h.guid);
        fe.kind = elementKindName(h.typeID);
        if (fe.kind.empty()) continue;
        fe.variation = h.variation;
        fe.layer = h.layer;
        fe.storey = h.storey;
        fe.database = databaseName(db->id);
        if (!platform::isZero(h.groupGuid)) fe.group = guidString(h.groupGuid);
        fe.locked = h.locked != 0;
        ElementRecord r = e->record;
        FieldSet fs = fieldsOf(h.typeID);
        for (const Field* f = fs.begin; f != fs.end; ++f) fe.record[f->name] = f->get(r);
        if (char* id = elementIdField(r)) fe.id = std::string(id, strnlen(id, 16));
        fe.libraryPart = e->libraryPart;
        for (const StoredParameter& sp : e->parameters) fe.parameters.push_back(fileFromStored(sp));
        if (!e->polygon.empty() && e->polygon.ends.size() >= 2) {
          fe.hasPolygon = true;
          const StoredPolygon& p = e->polygon;
          fe.polygon.closed = !(p.coords[0].x == -1.0 && p.coords[0].y == 0.0);
          std::vector<double> arcAt(p.coords.size(), 0.0);
          for (const auto& a : p.arcs)
            if (a.endIndex >= 0 && std::size_t(a.endIndex) < arcAt.size()) arcAt[std::size_t(a.endIndex)] = a.angle;
          for (std::size_t c = 1; c < p.ends.size(); ++c) {
            int32_t first = p.ends[c - 1] + 1, last = p.ends[c];
            bool closeIt = fe.polygon.closed || c > 1;
            if (first < 1 || last >= int32_t(p.coords.size()) || last < first) break;
            std::vector<FileVertex> contour;
            int32_t end = closeIt && last > first ? last - 1 : last;
            for (int32_t i = first; i <= end; ++i)
              contour.push_back({p.coords[std::size_t(i)].x, p.coords[std::size_t(i)].y,
                                 i == first ? (closeIt ? arcAt[std::size_t(last)] : 0.0) : arcAt[std::size_t(i)]});
            fe.polygon.contours.push_back(std::move(contour));
          }
        }
        if (h.typeID == platform::kText) fe.text = e->text;
        if (h.typeID == platform::kSectionProxy) {
          fe.target = guidString(r.proxy.targetGuid);
          fe.record.erase("targetType");
        }
        fe.hasUserData = e->hasUserData;
        fe.userData = e->userData;
        fe.userValue = e->userValue;
        fe.userFlags = e->userFlags;
        data.elements.push_back(std::move(fe));
      }
    }
  }
  return data;
}

}  // namespace standin
