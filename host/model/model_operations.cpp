// The model's operations of the host table: elements, memos, selection, user data, edits,
// defaults, and the model's codes of the dispatchers.
#include <cmath>
#include <cstring>

#include "host/core/host.h"
#include "host/model/project_model.h"

namespace standin {

using platform::ElementRecord;
using platform::GSErr;
using platform::GSHandle;
using platform::Guid;
using platform::HostToken;
using platform::kNoError;

namespace {

Host* self() { return Host::current(); }
ProjectModel& model() { return self()->model(); }

#define ENTER(name)                             \
  if (!self()) return platform::kErrGeneral;    \
  self()->countCall(name)

GSErr getElement(HostToken, ElementRecord* record) {
  ENTER("HostGetElement");
  if (!record) return platform::kErrNullArgument;
  HostElement* e = model().element(record->header.typeID, record->header.index);
  if (!e || e->deleted) return platform::kErrBadIndex;
  *record = e->record;
  return kNoError;
}

GSErr getElementList(HostToken, int32_t typeID, int32_t* count, GSHandle* indices) {
  ENTER("HostGetElementList");
  if (!count) return platform::kErrNullArgument;
  HostDatabase& db = model().currentDatabase();
  auto it = db.kinds.find(typeID);
  *count = it == db.kinds.end() ? 0 : int32_t(it->second.size());
  if (indices) {
    std::vector<int32_t> live;
    if (it != db.kinds.end())
      for (auto& e : it->second)
        if (!e->deleted) live.push_back(e->record.header.index);
    *indices = self()->memory().newHandle(int64_t(live.size() * sizeof(int32_t)));
    if (*indices && !live.empty()) std::memcpy(**indices, live.data(), live.size() * sizeof(int32_t));
  }
  return kNoError;
}

GSErr filterElement(HostToken, int32_t typeID, int32_t index, int32_t bits, uint32_t variation) {
  ENTER("HostFilterElement");
  HostElement* e = model().element(typeID, index);
  if (!e || e->deleted) return platform::kErrBadIndex;
  if (variation != 0 && e->record.header.variation != variation) return platform::kErrBadIndex;
  return model().passes(*e, bits) ? kNoError : platform::kErrBadIndex;
}

GSErr getElementMemo(HostToken, const Guid* guid, platform::ElementMemoRecord* memo, int32_t mask) {
  ENTER("HostGetElementMemo");
  if (!guid || !memo) return platform::kErrNullArgument;
  HostElement* e = model().find(*guid);
  if (!e) return platform::kErrBadIndex;
  return model().giveMemo(*e, *memo, mask);
}

GSErr createElement(HostToken, ElementRecord* record, const platform::ElementMemoRecord* memo) {
  ENTER("HostCreateElement");
  if (!record) return platform::kErrNullArgument;
  int32_t k = record->header.typeID;
  if (k < 1 || k > 42 || k == platform::kGroup) return platform::kErrBadParameter;
  HostDatabase& db = model().currentDatabase();
  ElementRecord r = *record;
  r.header.guid = Guid{};
  r.header.groupGuid = Guid{};
  r.header.locked = 0;
  r.header.hasUserData = 0;
  HostElement probe;
  probe.record = r;
  if (!model().takeMemo(probe, memo, platform::kMemoAll)) return platform::kErrBadParameter;
  model().notify(platform::kDataBegin, nullptr, 0);
  HostElement& e = model().create(db, r);
  e.parameters = std::move(probe.parameters);
  e.polygon = std::move(probe.polygon);
  e.gables = std::move(probe.gables);
  e.text = std::move(probe.text);
  e.record.header.hasMemo = probe.record.header.hasMemo;
  if (const LibraryIndex* lib = model().library())
    if (const LibraryPart* part = lib->part(e.record.part.libIndex)) e.libraryPart = part->name;
  *record = e.record;
  model().notify(platform::kNewElement, &e, 0);
  model().notify(platform::kDataEnd, nullptr, 0);
  return kNoError;
}

template <class T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// True when b holds exactly what a holds (bytes compared, so a doubt answers false).
bool sameContent(const HostElement& a, const HostElement& b) {
  if (std::memcmp(&a.record, &b.record, sizeof a.record) != 0 || a.libraryPart != b.libraryPart ||
      a.gables != b.gables || a.text != b.text || !sameBytes(a.members, b.members) ||
      a.parameters.size() != b.parameters.size() || !sameBytes(a.polygon.coords, b.polygon.coords) ||
      !sameBytes(a.polygon.ends, b.polygon.ends) || !sameBytes(a.polygon.arcs, b.polygon.arcs) ||
      !sameBytes(a.polygon.ids, b.polygon.ids))
    return false;
  for (std::size_t i = 0; i < a.parameters.size(); ++i) {
    const StoredParameter& p = a.parameters[i];
    const StoredParameter& q = b.parameters[i];
    if (std::memcmp(&p.record, &q.record, sizeof p.record) != 0 || !sameBytes(p.numbers, q.numbers) ||
        p.texts != q.texts)
      return false;
  }
  return true;
}

GSErr changeElement(HostToken, ElementRecord* record, const platform::ElementMemoRecord* memo, int32_t mask) {
  ENTER("HostChangeElement");
  if (!record) return platform::kErrNullArgument;
  HostElement* e = model().find(record->header.guid);
  if (!e || e->record.header.typeID != record->header.typeID) return platform::kErrBadIndex;
  if (e->record.header.locked) return platform::kErrGeneral;
  const int32_t parts = mask == 0 ? platform::kMemoAll : mask;
  // Parameters about to be replaced are not copied into the probe.
  HostElement probe;
  if ((parts & platform::kMemoParams) && memo && memo->params) {
    std::vector<StoredParameter> kept = std::move(e->parameters);
    e->parameters.clear();
    probe = *e;
    e->parameters = std::move(kept);
  } else {
    probe = *e;
  }
  if (!model().takeMemo(probe, memo, parts)) return platform::kErrBadParameter;
  // The host keeps the identity, group, lock, user-data and database fields of the header.
  platform::ElementHeader keep = e->record.header;
  probe.record = *record;
  probe.record.header = keep;
  probe.record.header.layer = record->header.layer;
  probe.record.header.storey = record->header.storey;
  probe.record.header.variation = record->header.variation;
  // A store that changes nothing keeps the element's stamp, so what was made from the
  // element (its 3D body) stays current.
  const bool same = sameContent(*e, probe);
  *e = std::move(probe);
  if (!same) model().touch(*e);
  if (const LibraryIndex* lib = model().library())
    if (const LibraryPart* part = lib->part(e->record.part.libIndex)) e->libraryPart = part->name;
  *record = e->record;
  return kNoError;
}

GSErr deleteElements(HostToken, const platform::ElementHeader* headers, int32_t count) {
  ENTER("HostDeleteElements");
  if (!headers && count > 0) return platform::kErrNullArgument;
  for (int32_t i = 0; i < count; ++i) {
    HostElement* e = model().find(headers[i].guid);
    if (!e) e = model().element(headers[i].typeID, headers[i].index);
    if (!e || e->deleted) return platform::kErrBadIndex;
    if (e->record.header.locked) return platform::kErrGeneral;
    model().remove(*e);
  }
  return kNoError;
}

GSErr getSelection(HostToken, GSHandle* items, int32_t* count) {
  ENTER("HostGetSelection");
  if (!items || !count) return platform::kErrNullArgument;
  std::vector<platform::SelectionItem> list;
  for (const Guid& g : model().selection()) {
    HostElement* e = model().find(g);
    if (!e) continue;
    platform::SelectionItem item{};
    item.itemCode = 0;
    // The same table as the add-on's: kind to selection-item code.
    static const int32_t kCodes[][2] = {{1, 1},   {2, 5},   {3, 6},   {4, 10},  {5, 12},  {6, 13},  {7, 14},
                                        {8, 15},  {9, 17},  {10, 20}, {11, 26}, {12, 27}, {13, 28}, {14, 30},
                                        {15, 31}, {16, 32}, {17, 33}, {18, 37}, {19, 39}, {21, 43}, {22, 45},
                                        {23, 47}, {24, 49}, {25, 50}, {26, 52}, {29, 54}, {31, 56}};
    for (const auto& c : kCodes)
      if (c[0] == e->record.header.typeID) item.itemCode = c[1];
    item.guid = g;
    item.inIndex = 1;
    list.push_back(item);
  }
  *items = self()->memory().newHandle(int64_t(list.size() * sizeof(platform::SelectionItem)));
  if (!*items) return platform::kErrMemory;
  if (!list.empty()) std::memcpy(**items, list.data(), list.size() * sizeof(platform::SelectionItem));
  *count = int32_t(list.size());
  return kNoError;
}

GSErr selectElements(HostToken, const platform::SelectionItem* items, int32_t count, bool add) {
  ENTER("HostSelectElements");
  if (count == 0 && !add) {
    model().deselectAll();
    return kNoError;
  }
  if (!items) return platform::kErrNullArgument;
  for (int32_t i = 0; i < count; ++i) {
    if (!model().find(items[i].guid)) return platform::kErrBadIndex;
    model().select(items[i].guid, add);
  }
  return kNoError;
}

GSErr getUserData(HostToken, const platform::ElementHeader* header, platform::UserDataRecord* record) {
  ENTER("HostGetElementUserData");
  if (!header || !record) return platform::kErrNullArgument;
  HostElement* e = model().find(header->guid);
  if (!e) e = model().element(header->typeID, header->index);
  if (!e || e->deleted) return platform::kErrBadIndex;
  *record = platform::UserDataRecord{};
  if (!e->hasUserData) return kNoError;
  record->version = 1;
  record->platform = 0x5757;
  record->flags = e->userFlags;
  record->value = e->userValue;
  record->data = self()->memory().newHandle(int64_t(e->userData.size()));
  if (!record->data) return platform::kErrMemory;
  if (!e->userData.empty()) std::memcpy(*record->data, e->userData.data(), e->userData.size());
  return kNoError;
}

GSErr setUserData(HostToken, platform::ElementHeader* header, const platform::UserDataRecord* record) {
  ENTER("HostSetElementUserData");
  if (!header || !record) return platform::kErrNullArgument;
  HostElement* e = model().find(header->guid);
  if (!e) return platform::kErrBadIndex;
  if (!record->data) {
    e->hasUserData = false;
    e->userData.clear();
  } else {
    if (!self()->memory().owns(record->data)) return platform::kErrBadParameter;
    e->hasUserData = true;
    e->userData.assign(*record->data, std::size_t(self()->memory().size(record->data)));
    e->userValue = record->value;
    e->userFlags = record->flags;
  }
  e->record.header.hasUserData = e->hasUserData;
  model().touch(*e);
  *header = e->record.header;
  return kNoError;
}

GSErr linkElement(HostToken, const platform::ElementHeader* header, bool on) {
  ENTER("HostLinkElement");
  if (!header) return platform::kErrNullArgument;
  HostElement* e = model().find(header->guid);
  if (!e) return platform::kErrBadIndex;
  e->record.header.marked = on ? 1 : 0;
  return kNoError;
}

GSErr editElements(HostToken, platform::SelectionItem* items, int32_t count, const platform::EditRecord* edit) {
  ENTER("HostEditElements");
  if (!items || !edit) return platform::kErrNullArgument;
  std::vector<Guid> guids;
  for (int32_t i = 0; i < count; ++i) {
    HostElement* e = model().find(items[i].guid);
    if (!e) return platform::kErrBadIndex;
    if (e->record.header.locked) return platform::kErrGeneral;
    guids.push_back(items[i].guid);
  }
  std::vector<Guid> done = model().edit(guids, *edit);
  if (done.size() != guids.size()) return platform::kErrGeneral;
  for (int32_t i = 0; i < count; ++i) items[i].guid = done[std::size_t(i)];
  return kNoError;
}

GSErr getDefaults(HostToken, ElementRecord* record, platform::ElementMemoRecord* memo) {
  ENTER("HostGetElementDefaults");
  if (!record) return platform::kErrNullArgument;
  int32_t k = record->header.typeID;
  if (k < 1 || k > 42) return platform::kErrBadParameter;
  uint32_t variation = record->header.variation;
  *record = model().defaults(k);
  record->header.variation = variation;
  if (memo) *memo = platform::ElementMemoRecord{};
  return kNoError;
}

// The attribute of a record and the memo's parts; false when a part does not read.
bool takeAttribute(const platform::AttributeRecord& record, const platform::ElementMemoRecord* memo,
                   StoredAttribute& out) {
  out.record = record;
  if (!memo) return true;
  MemoryManager& mem = self()->memory();
  if (memo->skins) {
    if (!mem.owns(memo->skins)) return false;
    std::size_t bytes = std::size_t(mem.size(memo->skins));
    if (bytes % sizeof(platform::CompositeSkinRecord) != 0) return false;
    const auto* skins = reinterpret_cast<const platform::CompositeSkinRecord*>(*memo->skins);
    out.skins.assign(skins, skins + bytes / sizeof(platform::CompositeSkinRecord));
  }
  if (memo->params) {
    HostElement probe;
    if (!model().takeMemo(probe, memo, platform::kMemoParams)) return false;
    out.parameters = std::move(probe.parameters);
  }
  return true;
}

GSErr createAttribute(HostToken, platform::AttributeRecord* record, const platform::ElementMemoRecord* memo) {
  ENTER("HostCreateAttribute");
  if (!record) return platform::kErrNullArgument;
  StoredAttribute attribute;
  if (!takeAttribute(*record, memo, attribute)) return platform::kErrBadParameter;
  int32_t index = model().createAttribute(attribute);
  if (index == 0) return platform::kErrBadParameter;
  record->header.index = int16_t(index);
  return kNoError;
}

GSErr modifyAttribute(HostToken, const platform::AttributeRecord* record, const platform::ElementMemoRecord* memo) {
  ENTER("HostModifyAttribute");
  if (!record) return platform::kErrNullArgument;
  platform::AttributeRecord existing{};
  if (!model().attribute(record->header.typeID, record->header.index, existing)) return platform::kErrBadIndex;
  StoredAttribute attribute;
  if (!takeAttribute(*record, memo, attribute)) return platform::kErrBadParameter;
  return model().modifyAttribute(attribute, memo == nullptr) ? kNoError : platform::kErrBadParameter;
}

#undef ENTER

}  // namespace

void installModelOperations(platform::HostFunctionTable& t) {
  t.HostGetElement = &getElement;
  t.HostGetElementList = &getElementList;
  t.HostFilterElement = &filterElement;
  t.HostGetElementMemo = &getElementMemo;
  t.HostCreateElement = &createElement;
  t.HostChangeElement = &changeElement;
  t.HostDeleteElements = &deleteElements;
  t.HostGetSelection = &getSelection;
  t.HostSelectElements = &selectElements;
  t.HostGetElementUserData = &getUserData;
  t.HostSetElementUserData = &setUserData;
  t.HostLinkElement = &linkElement;
  t.HostEditElements = &editElements;
  t.HostGetElementDefaults = &getDefaults;
  t.HostCreateAttribute = &createAttribute;
  t.HostModifyAttribute = &modifyAttribute;
}

// ---- dispatcher codes ----

namespace {

// The drawings' scale (1:100) and the screen the host's windows show them on.
constexpr double kDrawingScale = 100.0;
constexpr double kScreenDpi = 96.0;
constexpr double kPi = 3.14159265358979323846;

// A box growing point by point.
struct Extent {
  bool any = false;
  double x0 = 0, y0 = 0, z0 = 0, x1 = 0, y1 = 0, z1 = 0;
  void take(double x, double y, double z = 0) {
    if (!any) {
      x0 = x1 = x;
      y0 = y1 = y;
      z0 = z1 = z;
      any = true;
      return;
    }
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    z0 = std::min(z0, z);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
    z1 = std::max(z1, z);
  }
  // The plan points of the arc about (cx, cy) of radius r from angle start through sweep
  // (counter-clockwise when positive): its ends and where it crosses the axes.
  void takeArc(double cx, double cy, double r, double start, double sweep, double z = 0) {
    if (sweep < 0) {
      start += sweep;
      sweep = -sweep;
    }
    sweep = std::min(sweep, 2 * kPi);
    take(cx + r * std::cos(start), cy + r * std::sin(start), z);
    take(cx + r * std::cos(start + sweep), cy + r * std::sin(start + sweep), z);
    const double quarter = kPi / 2;
    for (double a = std::ceil(start / quarter) * quarter; a < start + sweep; a += quarter)
      take(cx + r * std::cos(a), cy + r * std::sin(a), z);
  }
};

// The extent of the current database's placed objects and polygons ('GEX2', 'GZOM').
platform::BoxRecord drawingExtent(ProjectModel& m) {
  Extent e;
  for (auto& kind : m.currentDatabase().kinds)
    for (auto& element : kind.second) {
      if (element->deleted) continue;
      if (kind.first == platform::kObject || kind.first == platform::kLamp)
        e.take(element->record.part.pos.x, element->record.part.pos.y);
      for (std::size_t i = 1; i < element->polygon.coords.size(); ++i)
        e.take(element->polygon.coords[i].x, element->polygon.coords[i].y);
    }
  return platform::BoxRecord{e.x0, e.y0, e.x1, e.y1};
}

bool placedKind(int32_t k) {
  return k == platform::kWindow || k == platform::kDoor || k == platform::kObject || k == platform::kLamp ||
         k == platform::kLabel || k == platform::kZone || k == platform::kSectionReference ||
         k == platform::kElevationReference;
}

// The elevation of a plan element's storey.
double storeyElevation(ProjectModel& m, const HostElement& e) {
  if (e.record.header.databaseKind != platform::kDatabasePlan) return 0;
  for (const FileStorey& s : m.storeys())
    if (s.index == e.record.header.storey) return s.elevation;
  return 0;
}

// The box of a placed part: its bodies' when it has a 3D model, else its A by B footprint
// from the placement point (the other way along x when mirrored), turned by its angle and
// rising by its height.
void placedBox(const HostElement& e, double base, Extent& box) {
  Host& host = *Host::current();
  int32_t first = 0, last = -1;
  const auto& h = e.record.header;
  if (h.databaseKind == platform::kDatabasePlan && (h.typeID == platform::kObject || h.typeID == platform::kLamp) &&
      host.bodies().bodyRange(h.typeID, h.index, first, last)) {
    for (int32_t b = first; b <= last; ++b) {
      const GeneratedBody* body = host.bodies().body(b);
      if (!body) continue;
      box.take(body->boxMin.x, body->boxMin.y, body->boxMin.z - base);
      box.take(body->boxMax.x, body->boxMax.y, body->boxMax.z - base);
    }
    if (box.any) return;
  }
  const auto& p = e.record.part;
  double a = p.mirrored ? -p.xRatio : p.xRatio, b = p.yRatio, c = std::cos(p.angle), s = std::sin(p.angle);
  const double xs[4] = {0, a, a, 0}, ys[4] = {0, 0, b, b};
  for (int i = 0; i < 4; ++i) {
    box.take(p.pos.x + xs[i] * c - ys[i] * s, p.pos.y + xs[i] * s + ys[i] * c, 0);
    box.take(p.pos.x + xs[i] * c - ys[i] * s, p.pos.y + xs[i] * s + ys[i] * c, p.height);
  }
}

// The plan extent of a polygon memo, arcs included.
void polygonBox(const StoredPolygon& poly, double z0, double z1, Extent& box) {
  for (std::size_t i = 1; i < poly.coords.size(); ++i) {
    box.take(poly.coords[i].x, poly.coords[i].y, z0);
    box.take(poly.coords[i].x, poly.coords[i].y, z1);
  }
  for (const platform::PolyArcRecord& arc : poly.arcs) {
    if (arc.begIndex < 1 || arc.endIndex < 1 || std::size_t(arc.begIndex) >= poly.coords.size() ||
        std::size_t(arc.endIndex) >= poly.coords.size() || !std::isfinite(arc.angle))
      continue;
    const platform::Coord2D& a = poly.coords[std::size_t(arc.begIndex)];
    const platform::Coord2D& b = poly.coords[std::size_t(arc.endIndex)];
    double dx = b.x - a.x, dy = b.y - a.y, d = std::hypot(dx, dy), half = arc.angle / 2;
    if (d <= 0 || std::fabs(std::sin(half)) < 1e-12) continue;
    // The centre lies off the chord's middle, to its left for a counter-clockwise arc.
    double off = d / 2 / std::tan(half);
    double cx = (a.x + b.x) / 2 - dy / d * off, cy = (a.y + b.y) / 2 + dx / d * off;
    double r = std::hypot(a.x - cx, a.y - cy);
    box.takeArc(cx, cy, r, std::atan2(a.y - cy, a.x - cx), arc.angle, z0);
    box.takeArc(cx, cy, r, std::atan2(a.y - cy, a.x - cx), arc.angle, z1);
  }
}

// The box of a text: its width by its height from its point (the bottom left of its first
// line), turned by its angle. A text without a width or height gets one from its size (paper
// millimetres at the drawing's scale), its lines and its longest line (0.6 of the height a
// character).
void textBox(const HostElement& e, Extent& box) {
  const platform::TextRecord& t = e.record.text;
  double width = t.width, height = t.height;
  if (!(width > 0) || !(height > 0)) {
    double line = std::max(t.size, 0.0) / 1000.0 * kDrawingScale;
    std::size_t lines = 1, longest = 0, run = 0;
    for (char c : e.text) {
      if (c == '\n') {
        ++lines;
        run = 0;
      } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
        longest = std::max(longest, ++run);
      }
    }
    if (!(height > 0)) height = line * double(lines);
    if (!(width > 0)) width = line * 0.6 * double(longest);
  }
  double c = std::cos(t.angle), s = std::sin(t.angle);
  const double xs[4] = {0, width, width, 0}, ys[4] = {0, 0, height, height};
  for (int i = 0; i < 4; ++i) box.take(t.loc.x + xs[i] * c - ys[i] * s, t.loc.y + xs[i] * s + ys[i] * c);
}

}  // namespace

// The element's box for 'CABO' (README.md, "Host model"); false for a kind without one.
bool elementBox(const HostElement& e, platform::Box3DRecord& out) {
  ProjectModel& m = model();
  const int32_t k = e.record.header.typeID;
  const ElementRecord& r = e.record;
  Extent box;
  if (placedKind(k)) {
    placedBox(e, storeyElevation(m, e) + r.part.level, box);
  } else if (k == platform::kSlab || k == platform::kRoof || k == platform::kMesh || k == platform::kHatch ||
             k == platform::kPolyLine || k == platform::kPlacedDrawing) {
    // A polygon element's thickness hangs below its level.
    polygonBox(e.polygon, -std::max(r.polygon.thickness, 0.0), 0, box);
  } else if (k == platform::kWall || k == platform::kColumn || k == platform::kBeam || (k >= 37 && k <= 42)) {
    const platform::SolidElementRecord& w = r.solid;
    double dx = w.endC.x - w.begC.x, dy = w.endC.y - w.begC.y, len = std::hypot(dx, dy);
    double top = std::max(w.height, 0.0);
    if (len > 0) {
      // The reference line, widened by the width to its left.
      double nx = -dy / len * w.width, ny = dx / len * w.width;
      for (double z : {0.0, top}) {
        box.take(w.begC.x, w.begC.y, z);
        box.take(w.endC.x, w.endC.y, z);
        box.take(w.begC.x + nx, w.begC.y + ny, z);
        box.take(w.endC.x + nx, w.endC.y + ny, z);
      }
    } else {
      // A column: its width by its depth about its point.
      for (double z : {0.0, top}) {
        box.take(w.begC.x - w.width / 2, w.begC.y - w.depth / 2, z);
        box.take(w.begC.x + w.width / 2, w.begC.y + w.depth / 2, z);
      }
    }
  } else if (k == platform::kLine || k == platform::kDimension) {
    box.take(r.line.begC.x, r.line.begC.y);
    box.take(r.line.endC.x, r.line.endC.y);
  } else if (k == platform::kHotspot) {
    box.take(r.line.begC.x, r.line.begC.y);
  } else if (k == platform::kArc || k == platform::kCircle) {
    const platform::CircleRecord& c = r.circle;
    double r0 = std::fabs(c.r);
    if (k == platform::kCircle || c.whole) {
      box.take(c.origC.x - r0, c.origC.y - r0);
      box.take(c.origC.x + r0, c.origC.y + r0);
    } else {
      double sweep = c.endAng - c.begAng;
      if (std::isfinite(sweep)) {
        sweep = std::fmod(sweep, 2 * kPi);
        if (sweep <= 0) sweep += 2 * kPi;
        box.takeArc(c.origC.x, c.origC.y, r0, c.begAng, sweep);
      }
    }
  } else if (k == platform::kText) {
    textBox(e, box);
  } else {
    return false;
  }
  if (!box.any) return false;
  out = platform::Box3DRecord{box.x0, box.y0, box.z0, box.x1, box.y1, box.z1};
  for (double v : {out.xMin, out.yMin, out.zMin, out.xMax, out.yMax, out.zMax})
    if (!std::isfinite(v)) return false;
  return true;
}

bool modelDatabase(uint32_t code, void* p1, void* p2, void* p3, GSErr& result) {
  using platform::fourcc;
  ProjectModel& m = model();
  result = kNoError;
  switch (code) {
    case fourcc("GDAT"):
      if (!p1) return result = platform::kErrNullArgument, true;
      *static_cast<int32_t*>(p1) = m.current().kind;
      if (p2) *static_cast<int32_t*>(p2) = m.current().index;
      if (p3) *static_cast<int16_t*>(p3) = m.current().number;
      return true;
    case fourcc("SDAT"): {
      if (!p1) return result = platform::kErrNullArgument, true;
      platform::DatabaseRecord id{*static_cast<const int32_t*>(p1), p3 ? *static_cast<const int16_t*>(p3) : int16_t(0), 0,
                                  p2 ? *static_cast<const int32_t*>(p2) : 0};
      if (!m.setCurrent(id)) result = platform::kErrBadIndex;
      return true;
    }
    case fourcc("CDAT"):
      if (!p1) return result = platform::kErrNullArgument, true;
      if (!m.setCurrent(*static_cast<const platform::DatabaseRecord*>(p1))) result = platform::kErrBadIndex;
      return true;
    case fourcc("GSDI"): case fourcc("GDDI"): case fourcc("GEDI"): case fourcc("GIED"): case fourcc("GLDI"):
    case fourcc("GMDI"): case fourcc("GWDI"): case fourcc("GD3D"): {
      if (!p1) return result = platform::kErrNullArgument, true;
      int32_t kind = code == fourcc("GSDI")   ? platform::kDatabaseSection
                     : code == fourcc("GDDI") ? platform::kDatabaseDetail
                     : code == fourcc("GEDI") ? platform::kDatabaseElevation
                     : code == fourcc("GIED") ? platform::kDatabaseInteriorElevation
                     : code == fourcc("GLDI") ? platform::kDatabaseLayout
                     : code == fourcc("GMDI") ? platform::kDatabaseMasterLayout
                     : code == fourcc("GWDI") ? platform::kDatabaseWorksheet
                                              : platform::kDatabaseDocument3D;
      std::vector<platform::DatabaseRecord> ids;
      for (const platform::DatabaseRecord& id : m.databaseIds())
        if (id.kind == kind) ids.push_back(id);
      GSHandle h = self()->memory().newHandle(int64_t(ids.size() * sizeof(platform::DatabaseRecord)));
      if (!h) return result = platform::kErrMemory, true;
      if (!ids.empty()) std::memcpy(*h, ids.data(), ids.size() * sizeof(platform::DatabaseRecord));
      *static_cast<GSHandle*>(p1) = h;
      return true;
    }
    case fourcc("GEFA"): {
      if (!p1 || !p2) return result = platform::kErrNullArgument, true;
      HostElement* e = m.find(*static_cast<const Guid*>(p1));
      if (!e) return result = platform::kErrBadIndex, true;
      *static_cast<ElementRecord*>(p2) = e->record;
      return true;
    }
    case fourcc("GIDH"): {
      if (!p1 || !p2) return result = platform::kErrNullArgument, true;
      HostElement* e = m.find(*static_cast<const Guid*>(p1));
      if (!e) return result = platform::kErrBadIndex, true;
      *static_cast<platform::ElementHeader*>(p2) = e->record.header;
      return true;
    }
    case fourcc("HDEE"): case fourcc("DRWE"): {
      if (!p1) return result = platform::kErrNullArgument, true;
      const Guid& g = *static_cast<const Guid*>(p1);
      if (!m.find(g)) return result = platform::kErrBadIndex, true;
      ProjectModel::ViewRecord r;
      r.what = code == fourcc("HDEE") ? "hide" : "redraw";
      r.guid = g;
      m.note(r);
      return true;
    }
    case fourcc("CABO"): {
      if (!p1 || !p2) return result = platform::kErrNullArgument, true;
      const auto& h = *static_cast<const platform::ElementHeader*>(p1);
      HostElement* e = platform::isZero(h.guid) ? m.element(h.typeID, h.index) : m.find(h.guid);
      if (!e || e->deleted || !elementBox(*e, *static_cast<platform::Box3DRecord*>(p2)))
        return result = platform::kErrBadIndex, true;
      return true;
    }
    case fourcc("GCUT"): {
      if (!p1 || !p2) return result = platform::kErrNullArgument, true;
      HostDatabase* db = m.database(*static_cast<const platform::DatabaseRecord*>(p1));
      if (!db || (db->id.kind != platform::kDatabaseSection && db->id.kind != platform::kDatabaseElevation &&
                  db->id.kind != platform::kDatabaseInteriorElevation))
        return result = platform::kErrBadIndex, true;
      *static_cast<platform::SegmentRecord*>(p2) = db->cut;
      if (p3) *static_cast<double*>(p3) = db->angle;
      return true;
    }
    default:
      return false;
  }
}

bool modelEnvironment(uint32_t code, void* p1, void* p2, void*, GSErr& result) {
  using platform::fourcc;
  ProjectModel& m = model();
  result = kNoError;
  switch (code) {
    case fourcc("GSTO"): {
      if (!p1 || !p2) return result = platform::kErrNullArgument, true;
      const auto& storeys = m.storeys();
      GSHandle h = self()->memory().newHandle(int64_t(storeys.size() * sizeof(platform::StoreyRecord)));
      if (!h) return result = platform::kErrMemory, true;
      auto* r = reinterpret_cast<platform::StoreyRecord*>(*h);
      for (std::size_t i = 0; i < storeys.size(); ++i) {
        r[i] = platform::StoreyRecord{};
        r[i].index = int16_t(storeys[i].index);
        r[i].elevation = storeys[i].elevation;
        std::strncpy(r[i].name, storeys[i].name.c_str(), sizeof r[i].name - 1);
      }
      *static_cast<int16_t*>(p1) = int16_t(m.currentStorey());
      *static_cast<GSHandle*>(p2) = h;
      return true;
    }
    case fourcc("CSTO"): {
      if (!p1) return result = platform::kErrNullArgument, true;
      int16_t n = *static_cast<const int16_t*>(p1);
      bool known = false;
      for (const auto& s : m.storeys()) known = known || s.index == n;
      if (!known) return result = platform::kErrBadIndex, true;
      m.setStoreys(m.storeys(), n);
      return true;
    }
    case fourcc("GATT"): {
      if (!p1) return result = platform::kErrNullArgument, true;
      auto* r = static_cast<platform::AttributeRecord*>(p1);
      if (!m.attribute(r->header.typeID, r->header.index, *r)) return result = platform::kErrBadIndex, true;
      return true;
    }
    case fourcc("GATM"): {
      if (!p1 || !p2) return result = platform::kErrNullArgument, true;
      const auto& h = *static_cast<const platform::AttributeHeader*>(p1);
      auto& memo = *static_cast<platform::ElementMemoRecord*>(p2);
      platform::AttributeRecord existing{};
      if (!m.attribute(h.typeID, h.index, existing)) return result = platform::kErrBadIndex, true;
      memo = platform::ElementMemoRecord{};
      const StoredAttribute* stored = m.storedAttribute(h.typeID, h.index);
      if (!stored) return true;
      HostElement probe;
      probe.parameters = stored->parameters;
      if ((result = m.giveMemo(probe, memo, platform::kMemoParams)) != kNoError) return true;
      if (!stored->skins.empty()) {
        std::size_t bytes = stored->skins.size() * sizeof(platform::CompositeSkinRecord);
        memo.skins = self()->memory().newHandle(int64_t(bytes));
        if (!memo.skins) return result = platform::kErrMemory, true;
        std::memcpy(*memo.skins, stored->skins.data(), bytes);
      }
      return true;
    }
    default:
      return false;
  }
}

bool modelGoodies(uint32_t code, void* p1, void* p2, void*, GSErr& result) {
  using platform::fourcc;
  result = kNoError;
  if (code == fourcc("NTOE")) {
    if (!p1 || !p2) return result = platform::kErrNullArgument, true;
    static const int32_t kCodes[][2] = {{1, 1},   {2, 5},   {3, 6},   {4, 10},  {5, 12},  {6, 13},  {7, 14},
                                        {8, 15},  {9, 17},  {10, 20}, {11, 26}, {12, 27}, {13, 28}, {14, 30},
                                        {15, 31}, {16, 32}, {17, 33}, {18, 37}, {19, 39}, {21, 43}, {22, 45},
                                        {23, 47}, {24, 49}, {25, 50}, {26, 52}, {29, 54}, {31, 56}};
    int32_t item = *static_cast<const int32_t*>(p1);
    for (const auto& c : kCodes)
      if (c[1] == item) return *static_cast<int32_t*>(p2) = c[0], true;
    result = platform::kErrBadParameter;
    return true;
  }
  if (code == fourcc("NCLP")) {
    if (!p1) return result = platform::kErrNullArgument, true;
    *static_cast<int32_t*>(p1) = 0;
    return true;
  }
  if (code == fourcc("GCLP")) return result = platform::kErrBadIndex, true;
  return false;
}

bool modelAutomate(uint32_t code, void* p1, void* p2, void*, GSErr& result) {
  using platform::fourcc;
  ProjectModel& m = model();
  result = kNoError;
  ProjectModel::ViewRecord r;
  switch (code) {
    case fourcc("ZOOM"):
      if (!p1) return result = platform::kErrNullArgument, true;
      r.what = "zoom";
      r.box = *static_cast<const platform::BoxRecord*>(p1);
      m.note(r);
      return true;
    case fourcc("RBLD"): r.what = "rebuild"; m.note(r); return true;
    case fourcc("RBDB"): r.what = "rebuildAll"; m.note(r); return true;
    case fourcc("DRDB"): r.what = "redrawAll"; m.note(r); return true;
    case fourcc("CHWD"): r.what = "front"; m.note(r); return true;
    case fourcc("GEX2"): case fourcc("GZOM"):
      if (!p1) return result = platform::kErrNullArgument, true;
      *static_cast<platform::BoxRecord*>(p1) = drawingExtent(m);
      return true;
    case fourcc("GSCL"):
      if (!p1) return result = platform::kErrNullArgument, true;
      *static_cast<double*>(p1) = kDrawingScale;
      return true;
    case fourcc("PTOC"): {
      if (!p1 || !p2) return result = platform::kErrNullArgument, true;
      const auto& screen = *static_cast<const platform::Coord2D*>(p1);
      if (!std::isfinite(screen.x) || !std::isfinite(screen.y)) return result = platform::kErrBadParameter, true;
      // The window shows the drawing at its scale on a screen of kScreenDpi pixels an inch,
      // its top-left corner at the top-left of the drawing's extent.
      const platform::BoxRecord extent = drawingExtent(m);
      const double pixel = 0.0254 / kScreenDpi * kDrawingScale;
      *static_cast<platform::Coord2D*>(p2) = {extent.xMin + screen.x * pixel, extent.yMax - screen.y * pixel};
      return true;
    }
    default:
      return false;
  }
}

bool modelElementTool(const void* elements, int32_t count, uint32_t code, GSErr& result) {
  using platform::fourcc;
  ProjectModel& m = model();
  result = kNoError;
  if (code != fourcc("GRUP") && code != fourcc("UGRP") && code != fourcc("LOCK") && code != fourcc("ULCK") &&
      code != fourcc("OFR1") && code != fourcc("OBA1"))
    return false;
  if (!elements && count > 0) return result = platform::kErrNullArgument, true;
  const auto* items = static_cast<const platform::SelectionItem*>(elements);
  std::vector<Guid> guids;
  for (int32_t i = 0; i < count; ++i) {
    if (!m.find(items[i].guid)) return result = platform::kErrBadIndex, true;
    guids.push_back(items[i].guid);
  }
  if (code == fourcc("GRUP")) {
    if (platform::isZero(m.group(guids))) result = platform::kErrBadParameter;
  } else if (code == fourcc("UGRP")) {
    m.ungroup(guids);
  } else if (code == fourcc("LOCK") || code == fourcc("ULCK")) {
    m.lock(guids, code == fourcc("LOCK"));
  } else {
    // Display order: to the front or the back of the drawing order.
    int32_t step = code == fourcc("OFR1") ? 1 : -1;
    for (const Guid& g : guids) {
      HostElement* e = m.find(g);
      e->record.header.drawIndex += step;
      m.touch(*e);
    }
  }
  return true;
}

}  // namespace standin
