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
}

// ---- dispatcher codes ----

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
      platform::DatabaseRecord id{*static_cast<const int32_t*>(p1), 0, 0, p2 ? *static_cast<const int32_t*>(p2) : 0};
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
      for (int32_t i = 1; i < 10000; ++i) {
        if (!m.database({kind, 0, 0, i})) break;
        ids.push_back({kind, 0, 0, i});
      }
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
      if (r->header.typeID == platform::kAttrLayer) {
        const FileLayer* l = m.layer(r->header.index);
        if (!l) return result = platform::kErrBadIndex, true;
        r->header.flags = int16_t((l->hidden ? platform::kLayerHidden : 0) | (l->locked ? platform::kLayerLocked : 0));
        std::memset(r->header.name, 0, sizeof r->header.name);
        std::strncpy(r->header.name, l->name.c_str(), sizeof r->header.name - 1);
        return true;
      }
      // Pens, line types, fills and materials: indices 1 to 255 exist, named by number.
      if (r->header.index < 1 || r->header.index > 255 || r->header.typeID < 1 || r->header.typeID > 10)
        return result = platform::kErrBadIndex, true;
      std::snprintf(r->header.name, sizeof r->header.name, "%d", r->header.index);
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

bool modelAutomate(uint32_t code, void* p1, void*, void*, GSErr& result) {
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
    case fourcc("GEX2"): case fourcc("GZOM"): {
      if (!p1) return result = platform::kErrNullArgument, true;
      auto* box = static_cast<platform::BoxRecord*>(p1);
      *box = platform::BoxRecord{0, 0, 0, 0};
      bool any = false;
      auto take = [&](double x, double y) {
        if (!any) *box = {x, y, x, y};
        any = true;
        box->xMin = std::min(box->xMin, x);
        box->yMin = std::min(box->yMin, y);
        box->xMax = std::max(box->xMax, x);
        box->yMax = std::max(box->yMax, y);
      };
      for (auto& kind : m.currentDatabase().kinds)
        for (auto& e : kind.second) {
          if (e->deleted) continue;
          if (kind.first == platform::kObject || kind.first == platform::kLamp) take(e->record.part.pos.x, e->record.part.pos.y);
          for (std::size_t i = 1; i < e->polygon.coords.size(); ++i) take(e->polygon.coords[i].x, e->polygon.coords[i].y);
        }
      return true;
    }
    case fourcc("GSCL"):
      if (!p1) return result = platform::kErrNullArgument, true;
      *static_cast<double*>(p1) = 100.0;
      return true;
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
