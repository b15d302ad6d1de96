#include "host/model/project_model.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/core/memory_manager.h"
#include "host/library/library_index.h"
#include "host/library/part_file.h"
#include "host/model/stored_parameter.h"

namespace standin {

using platform::ElementRecord;
using platform::Guid;

namespace {

const Guid& key(const Guid& g) { return g; }

bool placedPart(int32_t k) {
  return k == platform::kWindow || k == platform::kDoor || k == platform::kObject || k == platform::kLamp ||
         k == platform::kLabel || k == platform::kZone || k == platform::kSectionReference ||
         k == platform::kElevationReference;
}
bool polygonKind(int32_t k) {
  return k == platform::kSlab || k == platform::kRoof || k == platform::kMesh || k == platform::kHatch ||
         k == platform::kPolyLine || k == platform::kPlacedDrawing;
}
bool solidKind(int32_t k) {
  return k == platform::kWall || k == platform::kColumn || k == platform::kBeam || (k >= 37 && k <= 42);
}
bool lineKind(int32_t k) { return k == platform::kLine || k == platform::kHotspot || k == platform::kDimension; }

// Moves, rotates or mirrors a plan point.
struct PlanMap {
  uint32_t kind;
  double dx = 0, dy = 0;          // move
  double ox = 0, oy = 0, a = 0;   // rotate about (ox, oy) by a
  double mx = 0, my = 0, ux = 1, uy = 0;  // mirror about the line through (mx, my) along (ux, uy)
  double bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;  // stretch box
  void apply(double& x, double& y) const {
    if (kind == platform::fourcc("ROTA")) {
      double c = std::cos(a), s = std::sin(a), rx = x - ox, ry = y - oy;
      x = ox + rx * c - ry * s;
      y = oy + rx * s + ry * c;
    } else if (kind == platform::fourcc("MIRR")) {
      double rx = x - mx, ry = y - my, d = rx * ux + ry * uy;
      x = mx + 2 * d * ux - rx;
      y = my + 2 * d * uy - ry;
    } else if (kind == platform::fourcc("STRE")) {
      if (x >= bx0 && x <= bx1 && y >= by0 && y <= by1) {
        x += dx;
        y += dy;
      }
    } else {
      x += dx;
      y += dy;
    }
  }
  double angleChange() const {
    if (kind == platform::fourcc("ROTA")) return a;
    return 0;
  }
  bool mirrors() const { return kind == platform::fourcc("MIRR"); }
};

PlanMap planMap(const platform::EditRecord& e) {
  PlanMap m;
  m.kind = uint32_t(e.kind);
  m.dx = e.second.x - e.first.x;
  m.dy = e.second.y - e.first.y;
  m.ox = e.origin.x;
  m.oy = e.origin.y;
  m.a = std::atan2(e.second.y - e.origin.y, e.second.x - e.origin.x) -
        std::atan2(e.first.y - e.origin.y, e.first.x - e.origin.x);
  double lx = e.second.x - e.first.x, ly = e.second.y - e.first.y, len = std::hypot(lx, ly);
  m.mx = e.first.x;
  m.my = e.first.y;
  if (len > 0) {
    m.ux = lx / len;
    m.uy = ly / len;
  }
  if (m.kind == platform::fourcc("STRE")) {
    // The stretch moves what lies in the box from the origin to the third point.
    m.bx0 = std::min(e.origin.x, e.third.x);
    m.bx1 = std::max(e.origin.x, e.third.x);
    m.by0 = std::min(e.origin.y, e.third.y);
    m.by1 = std::max(e.origin.y, e.third.y);
  }
  return m;
}

}  // namespace

char* elementIdField(ElementRecord& r) {
  const int32_t k = r.header.typeID;
  if (placedPart(k)) return r.part.id;
  if (polygonKind(k)) return r.polygon.id;
  if (solidKind(k)) return r.solid.id;
  if (k == platform::kArc || k == platform::kCircle) return r.circle.id;
  return nullptr;
}

std::string elementId(const ElementRecord& r) {
  const char* field = elementIdField(const_cast<ElementRecord&>(r));
  return field ? std::string(field, strnlen(field, sizeof r.part.id)) : std::string();
}

std::string guidString(const Guid& guid) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
    out += kDigits[guid.bytes[i] >> 4];
    out += kDigits[guid.bytes[i] & 15];
  }
  return out;
}

bool parseGuid(const std::string& s, Guid& guid) {
  if (s.size() != 36) return false;
  Guid g{};
  int byte = 0;
  auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (std::size_t i = 0; i < s.size();) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (s[i] != '-') return false;
      ++i;
      continue;
    }
    int hi = hex(s[i]), lo = hex(s[i + 1]);
    if (hi < 0 || lo < 0) return false;
    g.bytes[byte++] = uint8_t(hi * 16 + lo);
    i += 2;
  }
  guid = g;
  return true;
}

ProjectModel::ProjectModel() { clear(); }

void ProjectModel::clear() {
  databases_.clear();
  byGuid_.clear();
  byId_.clear();
  idsCurrent_ = false;
  auto plan = std::make_unique<HostDatabase>();
  plan->id = {platform::kDatabasePlan, 0, 0, 0};
  plan->name = "Floor Plan";
  databases_.push_back(std::move(plan));
  auto model = std::make_unique<HostDatabase>();
  model->id = {platform::kDatabaseModel, 0, 0, 0};
  model->name = "3D Window";
  databases_.push_back(std::move(model));
  current_ = {platform::kDatabasePlan, 0, 0, 0};
  storeys_ = {FileStorey{0, 0.0, "Ground Floor"}};
  ++storeyRevision_;
  currentStorey_ = 0;
  layers_ = {FileLayer{1, "Layer 1", false, false}};
  attributes_.clear();
  selection_.clear();
  views_.clear();
  stamp_ = 0;
  guidCounter_ = 0;
}

Guid ProjectModel::newGuid() {
  Guid g{};
  uint64_t n = ++guidCounter_;
  // A fixed stem marks the stand-in's GUIDs; the counter makes them unique.
  const uint8_t stem[8] = {0x54, 0x52, 0x45, 0x53, 0x00, 0x00, 0x40, 0x00};
  std::memcpy(g.bytes, stem, 8);
  for (int i = 0; i < 8; ++i) g.bytes[15 - i] = uint8_t(n >> (8 * i));
  return g;
}

HostDatabase* ProjectModel::database(const platform::DatabaseRecord& id) {
  for (auto& db : databases_)
    if (db->id.kind == id.kind && db->id.index == id.index && db->id.number == id.number) return db.get();
  return nullptr;
}

HostDatabase* ProjectModel::database(int32_t kind, int32_t index) {
  for (auto& db : databases_)
    if (db->id.kind == kind && db->id.index == index) return db.get();
  return nullptr;
}

platform::DatabaseRecord ProjectModel::addDatabase(int32_t kind, const std::string& name, int16_t number) {
  int32_t next = 1;
  for (auto& db : databases_)
    if (db->id.kind == kind) next = std::max(next, db->id.index + 1);
  auto db = std::make_unique<HostDatabase>();
  db->id = {kind, number, 0, next};
  db->name = name;
  platform::DatabaseRecord id = db->id;
  databases_.push_back(std::move(db));
  return id;
}

platform::DatabaseRecord ProjectModel::addCutPlane(int32_t kind, double x1, double y1, double x2, double y2,
                                                   double angle, const std::string& name, int16_t number) {
  platform::DatabaseRecord id = addDatabase(kind, name, number);
  HostDatabase* db = database(id);
  db->cut = {{x1, y1}, {x2, y2}};
  db->angle = angle;
  return id;
}

bool ProjectModel::setCurrent(const platform::DatabaseRecord& id) {
  if (!database(id)) return false;
  current_ = id;
  return true;
}

HostDatabase& ProjectModel::currentDatabase() {
  HostDatabase* db = database(current_);
  return db ? *db : plan();
}

std::vector<platform::DatabaseRecord> ProjectModel::databaseIds() const {
  std::vector<platform::DatabaseRecord> ids;
  ids.reserve(databases_.size());
  for (const auto& db : databases_) ids.push_back(db->id);
  return ids;
}

HostDatabase* ProjectModel::databaseNamed(const std::string& name) {
  for (auto& db : databases_)
    if (strcasecmp(db->name.c_str(), name.c_str()) == 0) return db.get();
  return nullptr;
}

void ProjectModel::setStoreys(const std::vector<FileStorey>& storeys, int32_t current) {
  ++storeyRevision_;
  storeys_ = storeys;
  std::sort(storeys_.begin(), storeys_.end(), [](const FileStorey& a, const FileStorey& b) { return a.index < b.index; });
  currentStorey_ = current;
}

void ProjectModel::addLayer(int32_t index, const std::string& name, bool hidden, bool locked) {
  for (auto& l : layers_) {
    if (l.index == index) {
      l = FileLayer{index, name, hidden, locked};
      return;
    }
  }
  layers_.push_back(FileLayer{index, name, hidden, locked});
}

const FileLayer* ProjectModel::layer(int32_t index) const {
  for (const auto& l : layers_)
    if (l.index == index) return &l;
  return nullptr;
}

// ---- attributes ----

namespace {

// The types of which every project has the indices 1 to 255.
bool implicitType(int32_t type) { return type >= platform::kAttrPen && type <= platform::kAttrFont && type != platform::kAttrLayer; }
bool attributeType(int32_t type) { return type >= platform::kAttrPen && type <= platform::kAttrFont && type != 8; }

std::string headerName(const platform::AttributeHeader& h) { return std::string(h.name, strnlen(h.name, sizeof h.name)); }

void setHeaderName(platform::AttributeHeader& h, const std::string& name) {
  std::memset(h.name, 0, sizeof h.name);
  std::memcpy(h.name, name.data(), std::min(name.size(), sizeof h.name - 1));
}

}  // namespace

const StoredAttribute* ProjectModel::storedAttribute(int32_t type, int32_t index) const {
  auto it = attributes_.find({type, index});
  return it == attributes_.end() ? nullptr : &it->second;
}

bool ProjectModel::attribute(int32_t type, int32_t index, platform::AttributeRecord& out) const {
  platform::AttributeRecord r{};
  r.header.typeID = int16_t(type);
  r.header.index = int16_t(index);
  if (type == platform::kAttrLayer) {
    const FileLayer* l = layer(index);
    if (!l) return false;
    r.header.flags = int16_t((l->hidden ? platform::kLayerHidden : 0) | (l->locked ? platform::kLayerLocked : 0));
    setHeaderName(r.header, l->name);
  } else if (const StoredAttribute* stored = storedAttribute(type, index)) {
    r = stored->record;
  } else if (implicitType(type) && index >= 1 && index <= 255) {
    setHeaderName(r.header, std::to_string(index));
  } else {
    return false;
  }
  out = r;
  return true;
}

namespace {

// True when another attribute of the type than index has the name (letter case ignored).
bool nameTaken(const ProjectModel& model, int32_t type, const std::string& name, int32_t index) {
  if (type == platform::kAttrLayer) {
    for (const FileLayer& l : model.layers())
      if (l.index != index && strcasecmp(l.name.c_str(), name.c_str()) == 0) return true;
    return false;
  }
  for (const auto& entry : model.attributes())
    if (entry.first.first == type && entry.first.second != index &&
        strcasecmp(headerName(entry.second.record.header).c_str(), name.c_str()) == 0)
      return true;
  // The implicit attributes are named by their number unless stored under another name.
  if (implicitType(type) && !name.empty() && name.size() <= 3 && name.find_first_not_of("0123456789") == std::string::npos) {
    int32_t n = std::stoi(name);
    if (n >= 1 && n <= 255 && n != index && !model.storedAttribute(type, n)) return true;
  }
  return false;
}

}  // namespace

int32_t ProjectModel::createAttribute(const StoredAttribute& attribute) {
  const int32_t type = attribute.record.header.typeID;
  const std::string name = headerName(attribute.record.header);
  if (!attributeType(type) || name.empty() || nameTaken(*this, type, name, 0)) return 0;
  int32_t next = type == platform::kAttrLayer ? 1 : 256;
  if (type == platform::kAttrLayer) {
    for (const FileLayer& l : layers_) next = std::max(next, l.index + 1);
  } else {
    for (const auto& entry : attributes_)
      if (entry.first.first == type) next = std::max(next, entry.first.second + 1);
  }
  if (next > 32767) return 0;
  if (type == platform::kAttrLayer) {
    int16_t flags = attribute.record.header.flags;
    addLayer(next, name, (flags & platform::kLayerHidden) != 0, (flags & platform::kLayerLocked) != 0);
    return next;
  }
  StoredAttribute made = attribute;
  made.record.header.index = int16_t(next);
  if (type == platform::kAttrComposite) {
    platform::CompositeBody body{};
    std::memcpy(&body, made.record.body, sizeof body);
    body.skinCount = int16_t(std::min<std::size_t>(made.skins.size(), 32767));
    std::memcpy(made.record.body, &body, sizeof body);
  }
  attributes_[{type, next}] = std::move(made);
  return next;
}

bool ProjectModel::modifyAttribute(const StoredAttribute& attribute, bool keepMemo) {
  const int32_t type = attribute.record.header.typeID;
  const int32_t index = attribute.record.header.index;
  const std::string name = headerName(attribute.record.header);
  platform::AttributeRecord existing{};
  if (!attributeType(type) || !this->attribute(type, index, existing)) return false;
  if (name.empty() || nameTaken(*this, type, name, index)) return false;
  if (type == platform::kAttrLayer) {
    int16_t flags = attribute.record.header.flags;
    addLayer(index, name, (flags & platform::kLayerHidden) != 0, (flags & platform::kLayerLocked) != 0);
    return true;
  }
  StoredAttribute changed = attribute;
  if (keepMemo) {
    if (const StoredAttribute* old = storedAttribute(type, index)) {
      changed.skins = old->skins;
      changed.parameters = old->parameters;
    } else {
      changed.skins.clear();
      changed.parameters.clear();
    }
  }
  if (type == platform::kAttrComposite) {
    platform::CompositeBody body{};
    std::memcpy(&body, changed.record.body, sizeof body);
    body.skinCount = int16_t(std::min<std::size_t>(changed.skins.size(), 32767));
    std::memcpy(changed.record.body, &body, sizeof body);
  }
  attributes_[{type, index}] = std::move(changed);
  return true;
}

HostElement* ProjectModel::element(int32_t typeID, int32_t index) {
  HostDatabase& db = currentDatabase();
  auto it = db.kinds.find(typeID);
  if (it == db.kinds.end() || index < 1 || std::size_t(index) > it->second.size()) return nullptr;
  return it->second[std::size_t(index) - 1].get();
}

HostElement* ProjectModel::find(const Guid& guid, bool deleted) {
  auto it = byGuid_.find(key(guid));
  if (it == byGuid_.end() || (it->second->deleted && !deleted)) return nullptr;
  return it->second;
}

void ProjectModel::index(HostElement& element) { byGuid_[key(element.record.header.guid)] = &element; }

void ProjectModel::indexIds() {
  byId_.clear();
  for (auto& db : databases_)
    for (auto& kind : db->kinds)
      for (auto& e : kind.second) {
        if (e->deleted) continue;
        std::string id = elementId(e->record);
        if (!id.empty()) byId_[id].push_back(e.get());
      }
  idStamp_ = stamp_;
  idsCurrent_ = true;
}

std::vector<HostElement*> ProjectModel::findById(const std::string& id) {
  std::vector<HostElement*> out;
  if (id.empty()) return out;
  // Every creation, change and deletion takes a new stamp.
  if (!idsCurrent_ || idStamp_ != stamp_) indexIds();
  auto it = byId_.find(id);
  if (it == byId_.end()) return out;
  for (HostElement* e : it->second)
    if (!e->deleted && elementId(e->record) == id) out.push_back(e);
  return out;
}

HostElement& ProjectModel::create(HostDatabase& db, const ElementRecord& record) {
  auto element = std::make_unique<HostElement>();
  element->record = record;
  auto& h = element->record.header;
  auto& list = db.kinds[h.typeID];
  h.index = int32_t(list.size()) + 1;
  if (platform::isZero(h.guid) || byGuid_.count(key(h.guid))) h.guid = newGuid();
  h.databaseKind = db.id.kind;
  h.databaseIndex = db.id.index;
  h.databaseNumber = db.id.number;
  if (h.layer == 0) h.layer = 1;
  h.modiStamp = ++stamp_;
  HostElement& out = *element;
  list.push_back(std::move(element));
  index(out);
  return out;
}

void ProjectModel::touch(HostElement& element) { element.record.header.modiStamp = ++stamp_; }

void ProjectModel::remove(HostElement& element) {
  element.deleted = true;
  touch(element);
  selection_.erase(std::remove(selection_.begin(), selection_.end(), element.record.header.guid), selection_.end());
}

std::vector<HostElement*> ProjectModel::elements(HostDatabase& db, int32_t typeID) {
  std::vector<HostElement*> out;
  auto it = db.kinds.find(typeID);
  if (it == db.kinds.end()) return out;
  for (auto& e : it->second)
    if (!e->deleted) out.push_back(e.get());
  return out;
}

std::size_t ProjectModel::liveCount(HostDatabase& db) const {
  std::size_t n = 0;
  for (auto& k : db.kinds)
    for (auto& e : k.second)
      if (!e->deleted) ++n;
  return n;
}

const LibraryIndex* ProjectModel::library() const { return library_ ? &library_() : nullptr; }

ElementRecord ProjectModel::defaults(int32_t typeID) const {
  ElementRecord r{};
  r.header.typeID = typeID;
  r.header.layer = 1;
  r.header.storey = int16_t(currentStorey_);
  if (placedPart(typeID)) {
    r.part.pen = 1;
    r.part.lineType = 1;
    r.part.material = 1;
    r.part.xRatio = 1.0;
    r.part.yRatio = 1.0;
    r.part.height = 1.0;
  } else if (polygonKind(typeID)) {
    r.polygon.contourPen = 1;
    r.polygon.fillPen = 1;
    r.polygon.fillBackgroundPen = 0;
    r.polygon.lineType = 1;
    r.polygon.fill = 1;
    r.polygon.material = 1;
    r.polygon.textSize = 2.5;
    r.polygon.thickness = typeID == platform::kSlab ? 0.2 : 0.0;
  } else if (solidKind(typeID)) {
    r.solid.pen = 1;
    r.solid.lineType = 1;
    r.solid.fill = 1;
    r.solid.material = 1;
    r.solid.height = 2.7;
    r.solid.width = 0.3;
  } else if (lineKind(typeID)) {
    r.line.pen = 1;
    r.line.lineType = 1;
  } else if (typeID == platform::kArc || typeID == platform::kCircle) {
    r.circle.pen = 1;
    r.circle.lineType = 1;
    r.circle.whole = typeID == platform::kCircle;
  } else if (typeID == platform::kText) {
    r.text.pen = 1;
    r.text.size = 2.5;
  }
  return r;
}

bool ProjectModel::passes(const HostElement& e, int32_t bits) {
  if (e.deleted) return false;
  const auto& h = e.record.header;
  const FileLayer* l = layer(h.layer);
  if ((bits & platform::kFilterEditable) && (h.locked || (l && l->locked))) return false;
  if ((bits & platform::kFilterVisible) && l && l->hidden) return false;
  if ((bits & platform::kFilterCurrentStorey) && h.databaseKind == platform::kDatabasePlan &&
      h.storey != currentStorey_)
    return false;
  if ((bits & platform::kFilterHasUserData) && !e.hasUserData) return false;
  if ((bits & platform::kFilterModelElement) && !(placedPart(h.typeID) || solidKind(h.typeID) ||
                                                   h.typeID == platform::kSlab || h.typeID == platform::kRoof ||
                                                   h.typeID == platform::kMesh))
    return false;
  if ((bits & platform::kFilterSelected) && !isSelected(h.guid)) return false;
  if ((bits & platform::kFilterNotGrouped) && !platform::isZero(h.groupGuid)) return false;
  return true;
}

void ProjectModel::notify(int32_t code, const HostElement* element, int32_t param) {
  // What the add-on changes while it handles a notification is not reported back to it.
  if (!notify_ || notifying_) return;
  platform::ElementNotifyRecord r{};
  r.code = code;
  r.param = param;
  if (element) {
    const auto& h = element->record.header;
    // New and copied elements are reported only for the kinds the add-on catches.
    if ((code == 1 || code == 2) && caught_) {
      bool caught = false;
      for (const auto& c : *caught_)
        caught = caught || (c.first == h.typeID && (c.second == 0 || uint32_t(c.second) == h.variation));
      if (!caught) return;
    }
    r.typeID = h.typeID;
    r.index = h.index;
    std::string g = guidString(h.guid);
    std::memcpy(r.guid, g.c_str(), g.size() + 1);
  }
  notifying_ = true;
  notify_(r);
  notifying_ = false;
}

// ---- memos ----

bool ProjectModel::takeMemo(HostElement& e, const platform::ElementMemoRecord* memo, int32_t mask) {
  if (!memo) return true;
  if (mask == 0) mask = platform::kMemoAll;
  MemoryManager& mem = *memory_;
  auto bytes = [&](platform::GSHandle h) -> std::pair<const char*, std::size_t> {
    if (!h || !mem.owns(h)) return {nullptr, 0};
    return {*h, std::size_t(mem.size(h))};
  };
  if (mask & platform::kMemoPolygon) {
    StoredPolygon p;
    auto c = bytes(memo->coords);
    auto en = bytes(memo->contourEnds);
    auto a = bytes(memo->arcs);
    auto v = bytes(memo->vertexIDs);
    if (c.first) {
      const auto* cp = reinterpret_cast<const platform::Coord2D*>(c.first);
      p.coords.assign(cp, cp + c.second / sizeof(platform::Coord2D));
    }
    if (en.first) {
      const auto* ep = reinterpret_cast<const int32_t*>(en.first);
      p.ends.assign(ep, ep + en.second / sizeof(int32_t));
    }
    if (a.first) {
      const auto* ap = reinterpret_cast<const platform::PolyArcRecord*>(a.first);
      p.arcs.assign(ap, ap + a.second / sizeof(platform::PolyArcRecord));
    }
    if (v.first) {
      const auto* vp = reinterpret_cast<const int32_t*>(v.first);
      p.ids.assign(vp, vp + v.second / sizeof(int32_t));
    }
    if (!p.coords.empty() || memo->coords) e.polygon = std::move(p);
  }
  if ((mask & platform::kMemoParams) && memo->params) {
    auto pr = bytes(memo->params);
    if (!pr.first) return false;
    std::size_t n = pr.second / sizeof(platform::HostParameterRecord);
    const auto* recs = reinterpret_cast<const platform::HostParameterRecord*>(pr.first);
    std::vector<StoredParameter> params;
    params.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
      // Built in place: a record is over a kilobyte.
      StoredParameter& sp = params.emplace_back();
      sp.record = recs[i];
      if (recs[i].shape == platform::kShapeArray) {
        sp.record.value.array = nullptr;
        auto arr = bytes(recs[i].value.array);
        std::size_t count = std::size_t(std::max(recs[i].dim1, 1)) * std::size_t(std::max(recs[i].dim2, 1));
        if (recs[i].typeID == platform::kParamString) {
          const auto* u = reinterpret_cast<const uint16_t*>(arr.first);
          std::size_t units = arr.second / 2, at = 0;
          for (std::size_t k = 0; k < count; ++k) {
            std::string t;
            while (at < units && u[at]) t += char(u[at] < 256 ? u[at] : '?'), ++at;
            if (at >= units) return false;
            ++at;
            sp.texts.push_back(t);
          }
        } else {
          if (arr.second < count * sizeof(double)) return false;
          const auto* d = reinterpret_cast<const double*>(arr.first);
          sp.numbers.assign(d, d + count);
        }
      }
    }
    e.parameters = std::move(params);
  }
  if ((mask & platform::kMemoGables) && memo->gables) {
    auto g = bytes(memo->gables);
    e.gables.assign(g.first ? g.first : "", g.second);
  }
  if ((mask & platform::kMemoText) && memo->text) {
    auto t = bytes(memo->text);
    e.text = t.first ? std::string(t.first, strnlen(t.first, t.second)) : std::string();
  }
  if ((mask & platform::kMemoMembers) && memo->members) {
    auto m = bytes(memo->members);
    const auto* g = reinterpret_cast<const Guid*>(m.first);
    e.members.assign(g, g + m.second / sizeof(Guid));
  }
  e.record.header.hasMemo = 1;
  return true;
}

platform::GSErr ProjectModel::giveMemo(const HostElement& e, platform::ElementMemoRecord& memo, int32_t mask) {
  memo = platform::ElementMemoRecord{};
  if (mask == 0) mask = platform::kMemoAll;
  MemoryManager& mem = *memory_;
  auto handle = [&](const void* data, std::size_t size) {
    platform::GSHandle h = mem.newHandle(int64_t(size));
    if (h && size) std::memcpy(*h, data, size);
    return h;
  };
  if ((mask & platform::kMemoPolygon) && !e.polygon.empty()) {
    memo.coords = handle(e.polygon.coords.data(), e.polygon.coords.size() * sizeof(platform::Coord2D));
    memo.contourEnds = handle(e.polygon.ends.data(), e.polygon.ends.size() * sizeof(int32_t));
    if (!e.polygon.arcs.empty())
      memo.arcs = handle(e.polygon.arcs.data(), e.polygon.arcs.size() * sizeof(platform::PolyArcRecord));
    if (!e.polygon.ids.empty()) memo.vertexIDs = handle(e.polygon.ids.data(), e.polygon.ids.size() * sizeof(int32_t));
  }
  if ((mask & platform::kMemoParams) && !e.parameters.empty()) {
    memo.params = mem.newHandle(int64_t(e.parameters.size() * sizeof(platform::HostParameterRecord)));
    auto* recs = reinterpret_cast<platform::HostParameterRecord*>(*memo.params);
    for (std::size_t i = 0; i < e.parameters.size(); ++i) {
      const StoredParameter& sp = e.parameters[i];
      recs[i] = sp.record;
      if (sp.record.shape == platform::kShapeArray) {
        if (sp.record.typeID == platform::kParamString) {
          std::vector<uint16_t> units;
          for (const auto& t : sp.texts) {
            for (char c : t) units.push_back(static_cast<unsigned char>(c));
            units.push_back(0);
          }
          recs[i].value.array = handle(units.data(), units.size() * 2);
        } else {
          recs[i].value.array = handle(sp.numbers.data(), sp.numbers.size() * sizeof(double));
        }
      }
    }
  }
  if ((mask & platform::kMemoGables) && !e.gables.empty()) memo.gables = handle(e.gables.data(), e.gables.size());
  if ((mask & platform::kMemoText) && e.record.header.typeID == platform::kText)
    memo.text = handle(e.text.c_str(), e.text.size() + 1);
  if ((mask & platform::kMemoMembers) && !e.members.empty())
    memo.members = handle(e.members.data(), e.members.size() * sizeof(Guid));
  return platform::kNoError;
}

// ---- geometry edits ----

void ProjectModel::transform(HostElement& e, const platform::EditRecord& edit) {
  PlanMap m = planMap(edit);
  const int32_t k = e.record.header.typeID;
  auto& r = e.record;
  if (placedPart(k)) {
    m.apply(r.part.pos.x, r.part.pos.y);
    if (m.mirrors()) {
      double lineAngle = std::atan2(m.uy, m.ux);
      r.part.angle = 2 * lineAngle - r.part.angle;
      r.part.mirrored = r.part.mirrored ? 0 : 1;
    }
    r.part.angle += m.angleChange();
    if (edit.kind == int32_t(platform::fourcc("DRAG"))) r.part.level += edit.second.z - edit.first.z;
  } else if (polygonKind(k)) {
    for (std::size_t i = 1; i < e.polygon.coords.size(); ++i) m.apply(e.polygon.coords[i].x, e.polygon.coords[i].y);
    if (m.mirrors())
      for (auto& a : e.polygon.arcs) a.angle = -a.angle;
  } else if (solidKind(k)) {
    m.apply(r.solid.begC.x, r.solid.begC.y);
    m.apply(r.solid.endC.x, r.solid.endC.y);
  } else if (lineKind(k)) {
    m.apply(r.line.begC.x, r.line.begC.y);
    m.apply(r.line.endC.x, r.line.endC.y);
  } else if (k == platform::kArc || k == platform::kCircle) {
    m.apply(r.circle.origC.x, r.circle.origC.y);
    r.circle.begAng += m.angleChange();
    r.circle.endAng += m.angleChange();
  } else if (k == platform::kText) {
    m.apply(r.text.loc.x, r.text.loc.y);
    r.text.angle += m.angleChange();
  }
  touch(e);
}

// ---- the host's tools ----

HostElement* ProjectModel::placeObject(const std::string& libraryPart, const std::vector<ParameterValue>& values,
                                       double x, double y, double z, double angle,
                                       const platform::DatabaseRecord* section, int32_t typeID, uint32_t variation) {
  const LibraryIndex* lib = library();
  int32_t libIndex = lib ? lib->find(libraryPart, 0) : 0;
  const LibraryPart* part = libIndex ? lib->part(libIndex) : nullptr;
  if (!part) return nullptr;
  HostDatabase* db = section ? database(*section) : &plan();
  if (!db || (section && db->id.kind != platform::kDatabaseSection && db->id.kind != platform::kDatabaseElevation &&
              db->id.kind != platform::kDatabaseInteriorElevation))
    return nullptr;
  ElementRecord r = defaults(typeID);
  r.header.variation = variation;
  r.part.libIndex = libIndex;
  r.part.angle = angle;
  r.part.pos = {x, y};
  r.part.level = z;
  r.part.xRatio = part->sizeA > 0 ? part->sizeA : r.part.xRatio;
  r.part.yRatio = part->sizeB > 0 ? part->sizeB : r.part.yRatio;
  // The element takes every parameter of its part, the given values over the defaults.
  std::vector<StoredParameter> parameters;
  parameters.reserve(part->parameters.size() + values.size());
  std::unordered_map<std::string, std::size_t> byName;
  for (const PartParameter& p : part->parameters) {
    byName.emplace(lowerText(p.name), parameters.size());
    parameters.push_back(storedParameter(p, int16_t(parameters.size())));
  }
  // The part's default height is the element's until a value says otherwise.
  auto height = byName.find("zzyzx");
  if (height != byName.end()) {
    const platform::HostParameterRecord& h = parameters[height->second].record;
    if (h.shape != platform::kShapeArray && h.typeID != platform::kParamString && h.value.real > 0)
      r.part.height = h.value.real;
  }
  for (const ParameterValue& v : values) {
    auto known = byName.find(lowerText(v.name));
    StoredParameter* target = known == byName.end() ? nullptr : &parameters[known->second];
    if (!target) {
      StoredParameter sp;
      sp.record.typeID = v.isText ? platform::kParamString : v.type;
      sp.record.index = int16_t(parameters.size());
      std::strncpy(sp.record.name, v.name.c_str(), 31);
      parameters.push_back(sp);
      target = &parameters.back();
    }
    if (target->record.typeID == platform::kParamString) {
      platform::toWide(v.text.c_str(), target->record.value.text, 256);
    } else if (target->record.shape != platform::kShapeArray) {
      target->record.value.real = v.number;
      // The box sizes are the record's too.
      if (strcasecmp(target->record.name, "A") == 0) r.part.xRatio = v.number;
      if (strcasecmp(target->record.name, "B") == 0) r.part.yRatio = v.number;
      if (strcasecmp(target->record.name, "ZZYZX") == 0) r.part.height = v.number;
    }
  }
  for (StoredParameter& p : parameters) {
    if (p.record.shape == platform::kShapeArray) continue;
    if (strcasecmp(p.record.name, "A") == 0) p.record.value.real = r.part.xRatio;
    if (strcasecmp(p.record.name, "B") == 0) p.record.value.real = r.part.yRatio;
  }
  // The user works in the view the element is drawn in.
  if (section) setCurrent(*section);
  notify(platform::kDataBegin, nullptr, 0);
  HostElement& e = create(*db, r);
  e.libraryPart = part->name;
  e.parameters = std::move(parameters);
  e.record.header.hasMemo = 1;
  notify(platform::kNewElement, &e, 0);
  notify(platform::kDataEnd, nullptr, 0);
  return &e;
}

bool ProjectModel::resizeObject(const Guid& guid, double a, double b, double height, uint32_t editKind) {
  HostElement* e = find(guid);
  if (!e || !placedPart(e->record.header.typeID) || e->record.header.locked) return false;
  notify(platform::kDataBegin, nullptr, 0);
  e->record.part.xRatio = a;
  e->record.part.yRatio = b;
  e->record.part.height = height;
  for (StoredParameter& p : e->parameters) {
    if (p.record.shape == platform::kShapeArray || p.record.typeID == platform::kParamString) continue;
    if (strcasecmp(p.record.name, "A") == 0) p.record.value.real = a;
    if (strcasecmp(p.record.name, "B") == 0) p.record.value.real = b;
    if (strcasecmp(p.record.name, "ZZYZX") == 0) p.record.value.real = height;
  }
  touch(*e);
  notify(platform::kEditElement, e, int32_t(editKind));
  notify(platform::kDataEnd, nullptr, 0);
  return true;
}

HostElement* ProjectModel::placePolygon(int32_t typeID, const StoredPolygon& polygon) {
  if (!polygonKind(typeID) || polygon.coords.size() < 2) return nullptr;
  notify(platform::kDataBegin, nullptr, 0);
  ElementRecord r = defaults(typeID);
  r.polygon.coordCount = int32_t(polygon.coords.size()) - 1;
  r.polygon.contourCount = int32_t(polygon.ends.size()) - 1;
  r.polygon.arcCount = int32_t(polygon.arcs.size());
  HostElement& e = create(currentDatabase(), r);
  e.polygon = polygon;
  e.record.header.hasMemo = 1;
  notify(platform::kNewElement, &e, 0);
  notify(platform::kDataEnd, nullptr, 0);
  return &e;
}

std::vector<Guid> ProjectModel::edit(const std::vector<Guid>& guids, const platform::EditRecord& edit) {
  std::vector<Guid> out;
  const bool copy = edit.flag == 0;
  notify(platform::kDataBegin, nullptr, 0);
  for (const Guid& g : guids) {
    HostElement* e = find(g);
    if (!e || e->record.header.locked) continue;
    if (copy) {
      const auto& at = e->record.header;
      HostDatabase* db = database({at.databaseKind, at.databaseNumber, 0, at.databaseIndex});
      if (!db) continue;
      HostElement source = *e;
      ElementRecord r = source.record;
      r.header.guid = Guid{};
      HostElement& made = create(*db, r);
      Guid fresh = made.record.header.guid;
      platform::ElementHeader head = made.record.header;
      made = source;
      made.record.header = head;
      made.record.header.guid = fresh;
      made.record.header.hasUserData = source.hasUserData;
      index(made);
      transform(made, edit);
      out.push_back(fresh);
      notify(platform::kCopyElement, &made, 0);
    } else {
      transform(*e, edit);
      out.push_back(g);
      notify(platform::kEditElement, e, edit.kind);
    }
  }
  notify(platform::kDataEnd, nullptr, 0);
  return out;
}

bool ProjectModel::changeParameters(const Guid& guid, const std::vector<ParameterValue>& values) {
  HostElement* e = find(guid);
  if (!e) return false;
  notify(platform::kDataBegin, nullptr, 0);
  for (const ParameterValue& v : values) {
    for (auto& p : e->parameters) {
      if (strncasecmp(p.record.name, v.name.c_str(), 32) != 0) continue;
      if (p.record.typeID == platform::kParamString) platform::toWide(v.text.c_str(), p.record.value.text, 256);
      else p.record.value.real = v.number;
      break;
    }
  }
  touch(*e);
  notify(platform::kChangeElement, e, 0);
  notify(platform::kDataEnd, nullptr, 0);
  return true;
}

// ---- selection and groups ----

bool ProjectModel::isSelected(const Guid& guid) const {
  return std::find(selection_.begin(), selection_.end(), guid) != selection_.end();
}

Guid ProjectModel::mainGroup(const Guid& guid) {
  Guid top{};
  HostElement* e = find(guid);
  // A chain of groups ends at the outermost; a cycle cannot arise from the group tool.
  for (int depth = 0; e && !platform::isZero(e->record.header.groupGuid) && depth < 1000; ++depth) {
    top = e->record.header.groupGuid;
    e = find(top);
  }
  return top;
}

void ProjectModel::select(const Guid& guid, bool add) {
  std::vector<Guid> targets{guid};
  if (!groupsSuspended()) {
    Guid top = mainGroup(guid);
    if (!platform::isZero(top)) {
      // Every element below the main group.
      targets.clear();
      std::vector<Guid> pending{top};
      while (!pending.empty()) {
        Guid g = pending.back();
        pending.pop_back();
        HostElement* grp = find(g);
        if (!grp) continue;
        for (const Guid& m : grp->members) {
          HostElement* member = find(m);
          if (!member) continue;
          if (member->record.header.typeID == platform::kGroup) pending.push_back(m);
          else targets.push_back(m);
        }
      }
    }
  }
  for (const Guid& g : targets) {
    if (!find(g)) continue;
    bool present = isSelected(g);
    if (add && !present) selection_.push_back(g);
    if (!add && present) selection_.erase(std::find(selection_.begin(), selection_.end(), g));
  }
}

Guid ProjectModel::group(const std::vector<Guid>& guids) {
  std::vector<Guid> members;
  for (const Guid& g : guids) {
    // A member already grouped brings its main group in.
    Guid top = mainGroup(g);
    Guid m = platform::isZero(top) ? g : top;
    if (find(m) && std::find(members.begin(), members.end(), m) == members.end()) members.push_back(m);
  }
  if (members.empty()) return Guid{};
  ElementRecord r{};
  r.header.typeID = platform::kGroup;
  r.header.layer = 1;
  r.group.memberCount = int32_t(members.size());
  HostElement& grp = create(plan(), r);
  grp.members = members;
  for (const Guid& m : members) {
    HostElement* e = find(m);
    e->record.header.groupGuid = grp.record.header.guid;
    touch(*e);
  }
  return grp.record.header.guid;
}

void ProjectModel::ungroup(const std::vector<Guid>& guids) {
  for (const Guid& g : guids) {
    Guid top = mainGroup(g);
    HostElement* grp = platform::isZero(top) ? nullptr : find(top);
    if (!grp) continue;
    for (const Guid& m : grp->members) {
      if (HostElement* e = find(m)) {
        e->record.header.groupGuid = Guid{};
        touch(*e);
      }
    }
    grp->members.clear();
    remove(*grp);
  }
}

void ProjectModel::lock(const std::vector<Guid>& guids, bool on) {
  for (const Guid& g : guids) {
    if (HostElement* e = find(g)) {
      e->record.header.locked = on ? 1 : 0;
      touch(*e);
    }
  }
}

}  // namespace standin
