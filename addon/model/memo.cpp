#include "model/memo.h"

#include <cmath>
#include <cstring>

#include "model/element.h"
#include "runtime/memory.h"

namespace lunvik {

using platform::Coord2D;
using platform::GSHandle;
using platform::PolyArcRecord;

// ---- stores ----

ElementMemoStore::ElementMemoStore() = default;
ElementMemoStore::ElementMemoStore(const platform::ElementMemoRecord& memo) : memo_(memo) {}
ElementMemoStore::~ElementMemoStore() {
  if (!released_) freeMemo(memo_);
}

platform::ElementMemoRecord ElementMemoStore::release() {
  released_ = true;
  platform::ElementMemoRecord out = memo_;
  memo_ = platform::ElementMemoRecord{};
  return out;
}

void ElementMemoStore::freeMemo(platform::ElementMemoRecord& memo) {
  ParameterList::disposeHostRecords(memo.params);
  memo.params = nullptr;
  GSHandle* handles = reinterpret_cast<GSHandle*>(&memo);
  for (std::size_t i = 0; i < sizeof memo / sizeof(GSHandle); ++i) {
    disposeHandle(handles[i]);
    handles[i] = nullptr;
  }
}

// ---- parts ----

bool Memo::ensureLoaded(int32_t mask) {
  if (!loaded_) load(mask, nullptr);
  return loaded_;
}

bool Memo::load(int32_t mask, MemoStore* store) {
  if (!owner_) {
    loaded_ = true;
    return false;
  }
  return owner_->loadMemo(mask, store);
}

int32_t ParameterMemo::indexOf(const CadString& name) const {
  loadNow();
  return ParameterList::indexOf(name);
}
Parameter* ParameterMemo::parameter(int32_t position) {
  loadNow();
  return ParameterList::parameter(position);
}
const Parameter* ParameterMemo::parameter(int32_t position) const {
  loadNow();
  return ParameterList::parameter(position);
}
Parameter* ParameterMemo::parameter(const CadString& name) {
  loadNow();
  return ParameterList::parameter(name);
}
const Parameter* ParameterMemo::parameter(const CadString& name) const {
  loadNow();
  return ParameterList::parameter(name);
}
int32_t ParameterMemo::count() const {
  loadNow();
  return ParameterList::count();
}

bool ParameterMemo::write(MemoStore& store) const {
  if (ParameterList::count() == 0) return true;
  GSHandle h = toHostRecords();
  if (!h) return false;
  store.params() = h;
  return true;
}

bool ParameterMemo::read(MemoStore& store) {
  loaded_ = true;
  return fromHostRecords(store.params());
}

bool ConstructionMemo::write(MemoStore& store) const {
  if (skins_.empty()) return true;
  std::vector<platform::CompositeSkinRecord> records(skins_.size());
  for (std::size_t i = 0; i < skins_.size(); ++i)
    records[i] = platform::CompositeSkinRecord{skins_[i].fill, skins_[i].pen, int16_t(skins_[i].core ? 1 : 0), 0,
                                               skins_[i].thickness};
  GSHandle h = newHandle(records.data(), records.size() * sizeof(platform::CompositeSkinRecord));
  if (!h) return false;
  store.skins() = h;
  return true;
}

bool ConstructionMemo::read(MemoStore& store) {
  loaded_ = true;
  skins_.clear();
  GSHandle h = store.skins();
  if (!h || !*h) return true;
  // Whole records only: a short block does not read past its end.
  std::size_t n = handleSize(h) / sizeof(platform::CompositeSkinRecord);
  const auto* r = reinterpret_cast<const platform::CompositeSkinRecord*>(*h);
  skins_.reserve(n);
  for (std::size_t i = 0; i < n; ++i) skins_.push_back(Skin{r[i].fill, r[i].pen, (r[i].flags & 1) != 0, r[i].thickness});
  return true;
}

bool GableMemo::write(MemoStore& store) const {
  if (gables_.empty()) return true;
  GSHandle h = newHandle(gables_.data(), gables_.size() * sizeof(Gable));
  if (!h) return false;
  store.gables() = h;
  return true;
}

bool GableMemo::read(MemoStore& store) {
  loaded_ = true;
  gables_.clear();
  GSHandle h = store.gables();
  if (!h || !*h) return true;
  std::size_t n = handleSize(h) / sizeof(Gable);
  gables_.resize(n);
  std::memcpy(gables_.data(), *h, n * sizeof(Gable));
  return true;
}

PolygonMemo::PolygonMemo(const PolygonMemo& other)
    : Memo(other), polygon_(other.polygon_ ? other.polygon_->clone() : nullptr) {
  owner_ = nullptr;
}

PolygonMemo& PolygonMemo::operator=(const PolygonMemo& other) {
  if (this != &other) {
    loaded_ = other.loaded_;
    polygon_ = other.polygon_ ? other.polygon_->clone() : nullptr;
  }
  return *this;
}

bool PolygonMemo::write(MemoStore& store) const {
  if (!polygon_) return false;
  return writePolygon(*polygon_, store.coords(), store.contourEnds(), store.arcs(), store.vertexIDs());
}

bool PolygonMemo::read(MemoStore& store) {
  loaded_ = true;
  polygon_ = readPolygon(store.coords(), store.contourEnds(), store.arcs(), store.vertexIDs());
  return polygon_ != nullptr;
}

std::unique_ptr<CadPoly> PolygonMemo::readPolygon(GSHandle coordsH, GSHandle endsH, GSHandle arcsH,
                                                  GSHandle idsH) {
  if (!coordsH || !*coordsH || !endsH || !*endsH) return nullptr;
  std::size_t coordCount = handleSize(coordsH) / sizeof(Coord2D);
  std::size_t endCount = handleSize(endsH) / sizeof(int32_t);
  if (coordCount < 2 || endCount < 2) return nullptr;
  const auto* coords = reinterpret_cast<const Coord2D*>(*coordsH);
  const auto* ends = reinterpret_cast<const int32_t*>(*endsH);
  const int32_t last = int32_t(coordCount) - 1;
  if (ends[0] != 0) return nullptr;
  for (std::size_t k = 1; k < endCount; ++k)
    if (ends[k] <= ends[k - 1] || ends[k] > last) return nullptr;

  // The arc ending at each coordinate.
  std::vector<double> arcAt(coordCount, 0.0);
  if (arcsH && *arcsH) {
    std::size_t arcCount = handleSize(arcsH) / sizeof(PolyArcRecord);
    const auto* arcs = reinterpret_cast<const PolyArcRecord*>(*arcsH);
    for (std::size_t i = 0; i < arcCount; ++i) {
      if (arcs[i].begIndex < 1 || arcs[i].begIndex > last || arcs[i].endIndex < 1 || arcs[i].endIndex > last ||
          !std::isfinite(arcs[i].angle))
        return nullptr;
      arcAt[std::size_t(arcs[i].endIndex)] = arcs[i].angle;
    }
  }
  const int32_t* ids = nullptr;
  if (idsH && *idsH) {
    if (handleSize(idsH) / sizeof(int32_t) < coordCount) return nullptr;
    ids = reinterpret_cast<const int32_t*>(*idsH);
  }

  const bool closed = !(coords[0].x == -1.0 && coords[0].y == 0.0);
  auto outline = std::make_unique<CadPoly>(0, endCount - 2, closed);
  for (std::size_t k = 1; k < endCount; ++k) {
    int32_t first = ends[k - 1] + 1, end = ends[k];
    const bool ringClosed = closed || k > 1;
    bool repeats = ringClosed && end > first && coords[end].x == coords[first].x && coords[end].y == coords[first].y;
    int32_t lastVertex = repeats ? end - 1 : end;
    if (lastVertex < first) return nullptr;
    CadPoly ring(std::size_t(lastVertex - first + 1), 0, ringClosed);
    for (int32_t i = first; i <= lastVertex; ++i) {
      double arc = arcAt[std::size_t(i)];
      // The closing edge ends at the repeated coordinate: its arc belongs to the first vertex.
      if (i == first) arc = repeats ? arcAt[std::size_t(end)] : 0.0;
      PolyPoint& p = ring.add(coords[i].x, coords[i].y, arc);
      if (ids) p.setVertexId(ids[i]);
    }
    if (k == 1) {
      *outline = std::move(ring);
      outline->setClosed(closed);
    } else {
      CadPoly& hole = outline->addHole(std::make_unique<CadPoly>(std::move(ring)));
      if (ids)
        for (int32_t i = first; i <= lastVertex; ++i) hole.vertex(std::size_t(i - first)).setVertexId(ids[i]);
    }
  }
  outline->setLastVertexId(ids ? ids[0] : 0);
  return outline;
}

bool PolygonMemo::writePolygon(const CadPoly& polygon, GSHandle& coordsH, GSHandle& endsH, GSHandle& arcsH,
                               GSHandle& idsH) {
  std::vector<Coord2D> coords{Coord2D{polygon.isClosed() ? 0.0 : -1.0, 0.0}};
  std::vector<int32_t> ends{0};
  std::vector<PolyArcRecord> arcs;
  std::vector<int32_t> ids{polygon.lastVertexId()};
  auto ring = [&](const CadPoly& r, bool closeIt) {
    if (r.vertexCount() == 0) return;
    int32_t first = int32_t(coords.size());
    for (std::size_t i = 0; i < r.vertexCount(); ++i) {
      const PolyPoint& p = r.vertex(i);
      coords.push_back(Coord2D{p.getX(), p.getY()});
      ids.push_back(p.vertexId());
      int32_t at = int32_t(coords.size()) - 1;
      if (i > 0 && p.isArc(kTolerance)) arcs.push_back(PolyArcRecord{at - 1, at, p.arcAngle()});
    }
    if (closeIt) {
      const PolyPoint& p = r.vertex(0);
      coords.push_back(Coord2D{p.getX(), p.getY()});
      ids.push_back(p.vertexId());
      int32_t at = int32_t(coords.size()) - 1;
      if (p.isArc(kTolerance)) arcs.push_back(PolyArcRecord{at - 1, at, p.arcAngle()});
    }
    (void)first;
    ends.push_back(int32_t(coords.size()) - 1);
  };
  ring(polygon, polygon.isClosed());
  for (std::size_t h = 0; h < polygon.holeCount(); ++h) ring(polygon.hole(h), true);
  if (ends.size() < 2) return false;
  coordsH = newHandle(coords.data(), coords.size() * sizeof(Coord2D));
  endsH = newHandle(ends.data(), ends.size() * sizeof(int32_t));
  arcsH = arcs.empty() ? nullptr : newHandle(arcs.data(), arcs.size() * sizeof(PolyArcRecord));
  idsH = newHandle(ids.data(), ids.size() * sizeof(int32_t));
  return coordsH && endsH && idsH && (arcs.empty() || arcsH);
}

}  // namespace lunvik
