#include "geometry/cad_poly.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "geometry/cad_arc.h"
#include "geometry/cad_cube.h"
#include "geometry/cad_line.h"
#include "geometry/intersect_list.h"
#include "geometry/linear_equation.h"
#include "geometry/matrix.h"
#include "geometry/plane.h"
#include "geometry/poly_clip.h"
#include "geometry/poly_list.h"

namespace lunvik {

namespace {

// Location codes an edge or a ray must have for a crossing to count: start, between, end.
constexpr int kOnMask = kLocStart | kLocOn | kLocEnd;

bool isOnCode(int code) { return code == kLocStart || code == kLocOn || code == kLocEnd; }

}  // namespace

// What locate needs beyond the vertices: recomputed whenever the rings differ from the key.
struct CadPoly::LocateCache {
  struct ArcEdge {
    CadArc arc;
  };
  std::vector<double> key;  // per ring: count, closed; per vertex: x, y, arc angle
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
  double rayAngle = 0.0;
  std::vector<ArcEdge> arcs;  // the arc edges in walk order
};

// ---- construction -------------------------------------------------------------------

CadPoly::CadPoly(std::size_t vertexCapacity, std::size_t holeCapacity, bool closed) : closed_(closed) {
  reserve(vertexCapacity);
  if (holeCapacity > 0) {
    holes_ = std::make_unique<PolyVector>();
    holes_->reserve(holeCapacity);
  }
}

CadPoly::CadPoly(const CadPoly& other)
    : Vector<PolyPoint>(),
      isHole_(other.isHole_),
      closed_(other.closed_),
      lastVertexId_(other.lastVertexId_),
      holes_(other.holes_ ? other.holes_->clone() : nullptr) {
  reserve(other.size());
  for (const auto& v : other.items_) items_.emplace_back(std::make_unique<PolyPoint>(*v));
}

CadPoly& CadPoly::operator=(const CadPoly& other) {
  if (this != &other) {
    CadPoly copy(other);
    *this = std::move(copy);
  }
  return *this;
}

CadPoly::CadPoly(CadPoly&& other) noexcept
    : Vector<PolyPoint>(std::move(other)),
      isHole_(other.isHole_),
      closed_(other.closed_),
      lastVertexId_(other.lastVertexId_),
      holes_(std::move(other.holes_)),
      cache_(std::move(other.cache_)) {}

CadPoly& CadPoly::operator=(CadPoly&& other) noexcept {
  if (this != &other) {
    items_ = std::move(other.items_);
    isHole_ = other.isHole_;
    closed_ = other.closed_;
    lastVertexId_ = other.lastVertexId_;
    holes_ = std::move(other.holes_);
    cache_ = std::move(other.cache_);
  }
  return *this;
}

CadPoly::~CadPoly() = default;

std::unique_ptr<CadPoly> CadPoly::clone() const { return std::make_unique<CadPoly>(*this); }

template <typename Fn>
void CadPoly::forEachRing(Fn fn) {
  fn(*this);
  if (holes_)
    for (auto& h : *holes_) fn(*h);
}

PolyPoint& CadPoly::add(double x, double y, double arcAngle) {
  items_.emplace_back(std::make_unique<PolyPoint>(x, y, 0.0, arcAngle, 0));
  return *items_.back();
}

PolyEdge CadPoly::edge(std::size_t index) const {
  const int i = int(index);
  return PolyEdge(*items_[std::size_t(wrap(i - 1))], *items_[std::size_t(wrap(i))]);
}

// ---- arithmetic ---------------------------------------------------------------------

CadPoly CadPoly::operator+(const CadPoint& offset) const {
  CadPoly p(*this);
  p += offset;
  return p;
}

CadPoly& CadPoly::operator+=(const CadPoint& offset) {
  forEachRing([&](CadPoly& ring) {
    for (auto& v : ring.items_) *v += offset;
  });
  return *this;
}

CadPoly CadPoly::operator-(const CadPoint& offset) const {
  CadPoly p(*this);
  p -= offset;
  return p;
}

CadPoly& CadPoly::operator-=(const CadPoint& offset) {
  forEachRing([&](CadPoly& ring) {
    for (auto& v : ring.items_) *v -= offset;
  });
  return *this;
}

CadPoly CadPoly::operator*(const Matrix3x3& m) const {
  CadPoly p(*this);
  p *= m;
  return p;
}

CadPoly CadPoly::operator*(double s) const {
  CadPoly p(*this);
  p *= s;
  return p;
}

CadPoly& CadPoly::operator*=(const Matrix3x3& m) {
  // The matrix mirrors when the image of +X does not lie to the right of the image of +Y.
  const CadPoint xImage = CadPoint(1.0, 0.0, 0.0) * m;
  const CadPoint yImage = CadPoint(0.0, 1.0, 0.0) * m;
  const auto eq = LinearEquation::between(CadPoint(), yImage);
  const bool mirrors = eq && eq->side(xImage, kTolerance) != kLocInside;
  forEachRing([&](CadPoly& ring) {
    for (auto& v : ring.items_) {
      *v *= m;
      if (mirrors) v->setArcAngle(-v->arcAngle());
    }
  });
  return *this;
}

CadPoly& CadPoly::operator*=(double s) {
  forEachRing([&](CadPoly& ring) {
    for (auto& v : ring.items_) *v *= s;
  });
  return *this;
}

CadPoly CadPoly::operator/(double s) const {
  CadPoly p(*this);
  p /= s;
  return p;
}

CadPoly& CadPoly::operator/=(double s) {
  forEachRing([&](CadPoly& ring) {
    for (auto& v : ring.items_) *v /= s;
  });
  return *this;
}

// ---- access -------------------------------------------------------------------------

std::size_t CadPoly::vertexCount() const { return size(); }
int CadPoly::lastVertexId() const { return lastVertexId_; }
std::size_t CadPoly::holeCount() const { return holes_ ? holes_->size() : 0; }

CadPoly& CadPoly::hole(std::size_t index) {
  if (index >= holeCount()) throw std::out_of_range("");
  return holes_->at(index);
}

const CadPoly& CadPoly::hole(std::size_t index) const {
  if (index >= holeCount()) throw std::out_of_range("");
  return holes_->at(index);
}

PolyVector* CadPoly::holes() { return holes_.get(); }

std::unique_ptr<CadCube> CadPoly::boundingBox() const {
  if (items_.empty()) return nullptr;
  auto box = std::make_unique<CadCube>(*items_[0], *items_[0]);
  const int n = int(size());
  for (int i = 0; i < n; ++i) {
    box->add(*items_[std::size_t(i)]);
    if (n > 1 && (closed_ || i > 0) && items_[std::size_t(i)]->isArc(kTolerance)) {
      const auto arcBox = edge(std::size_t(i)).arc().boundingBox();
      if (arcBox) box->add(*arcBox);
    }
  }
  return box;
}

double CadPoly::length2D() const {
  const std::size_t n = size();
  if (n < 2) return 0.0;
  double sum = 0.0;
  for (std::size_t i = 1; i < n; ++i) sum += items_[i - 1]->distance2D(*items_[i]);
  if (closed_) sum += items_[n - 1]->distance2D(*items_[0]);
  return sum;
}

double CadPoly::length() const {
  const std::size_t n = size();
  if (n < 2) return 0.0;
  double sum = 0.0;
  for (std::size_t i = 1; i < n; ++i) sum += items_[i - 1]->distance(*items_[i]);
  if (closed_) sum += items_[n - 1]->distance(*items_[0]);
  return sum;
}

int CadPoly::pointAt(double distance, CadPoint& out) const {
  const int n = int(size());
  if (n == 0) {
    out = CadPoint();
    return 0;
  }
  if (distance <= kTolerance) {
    out = CadPoint(*items_[0]);
    return 0;
  }
  if (distance >= length() - kTolerance) {
    out = CadPoint(*items_[std::size_t(n - 1)]);
    return n - 1;
  }
  // A closed ring's closing edge holds the distances past the last vertex.
  const int edges = closed_ ? n : n - 1;
  double remainder = distance;
  for (int i = 0; i < edges; ++i) {
    PolyEdge e(*items_[std::size_t(i)], *items_[std::size_t((i + 1) % n)]);
    remainder -= e.chordLength();
    if (remainder <= kTolerance) {
      e.extendEnd(remainder);
      out = CadPoint(e.end());
      return i;
    }
  }
  out = CadPoint(*items_[std::size_t(n - 1)]);
  return n - 1;
}

double CadPoly::area(bool withHoles) const {
  if (!isValid(false)) return 0.0;
  const std::size_t n = size();
  double twice = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const PolyPoint& a = *items_[(i + 1) % n];
    twice += a.x_ * (items_[(i + 2) % n]->y_ - items_[i]->y_);
  }
  double result = std::fabs(twice / 2.0);
  const double omega = orientation() == 1 ? 1.0 : -1.0;
  for (std::size_t i = 0; i < n; ++i) {
    if (!items_[i]->isArc(kTolerance) || (!closed_ && i == 0)) continue;
    const CadArc arc = edge(i).arc();
    const double theta = std::fabs(arc.sweep()) / 2.0;
    double segment = 0.0;
    if (theta > kHalfPi) {
      const double phi = kPi - theta;
      segment = kPi - (phi - std::sin(phi) * std::cos(phi));
    } else {
      segment = theta - std::sin(theta) * std::cos(theta);
    }
    segment *= arc.radius() * arc.radius();
    const double sigma = arc.sweep() > 0.0 ? -1.0 : 1.0;
    result += sigma * omega * segment;
  }
  result = std::fabs(result);
  if (withHoles && holes_)
    for (const auto& h : *holes_) result -= h->area(true);
  return result;
}

int CadPoly::findVertexId(int id) const {
  for (int i = int(size()) - 1; i >= 0; --i)
    if (items_[std::size_t(i)]->vertexId() == id) return i;
  return kNotFound;
}

int CadPoly::findVertex(const CadPoint& point) const {
  for (int i = int(size()) - 1; i >= 0; --i)
    if (items_[std::size_t(i)]->equals(point, kTolerance)) return i;
  return kNotFound;
}

CadPoly::iterator CadPoly::vertexAt(int index) {
  if (items_.empty()) return items_.end();
  return items_.begin() + wrap(index);
}

CadPoly::const_iterator CadPoly::vertexAt(int index) const {
  if (items_.empty()) return items_.end();
  return items_.begin() + wrap(index);
}

int CadPoly::wrap(int index) const {
  const int n = int(size());
  if (n == 0) return 0;
  const int r = index % n;
  return r < 0 ? r + n : r;
}

bool CadPoly::isHole() const { return isHole_; }
bool CadPoly::isClosed() const { return closed_; }

bool CadPoly::isValid(bool checkSelfIntersection) const {
  const std::size_t n = size();
  if (!closed_) {
    if (n < 2) return false;
  } else if (n < 3) {
    if (n != 2 || (!items_[0]->isArc(kTolerance) && !items_[1]->isArc(kTolerance))) return false;
  }
  if (!checkSelfIntersection) return true;
  // Each edge may meet the ring only where it starts, at the end of its predecessor.
  const std::size_t last = closed_ ? 0 : 1;
  for (std::size_t i = n; i-- > last;) {
    IntersectList list(Intercept{kLocOn | kLocEnd, 0, 0}, Intercept{kOnMask, 0, 0});
    const PolyEdge e = edge(i);
    if (e.isArc()) {
      const CadArc arc = e.arc();
      intersectRing(nullptr, &arc, list, kTolerance, false);
    } else {
      const CadLine line = e.line();
      intersectRing(&line, nullptr, list, kTolerance, false);
    }
    if (list.count() > 1) return false;
  }
  return true;
}

int CadPoly::nextVertexId() { return ++lastVertexId_; }
void CadPoly::setLastVertexId(int id) { lastVertexId_ = id; }
void CadPoly::setHole(bool flag) { isHole_ = flag; }
void CadPoly::setClosed(bool flag) { closed_ = flag; }

CadPoly& CadPoly::addHole(std::unique_ptr<CadPoly> hole) {
  if (!hole) hole = std::make_unique<CadPoly>();
  hole->isHole_ = true;
  hole->holes_.reset();
  for (auto& v : hole->items_) v->setVertexId(0);
  if (!holes_) holes_ = std::make_unique<PolyVector>();
  CadPoly& added = *hole;
  holes_->push_back(std::move(hole));
  return added;
}

void CadPoly::setHoles(std::unique_ptr<PolyVector> holes) { holes_ = std::move(holes); }

void CadPoly::removeHole(std::size_t index) {
  if (index >= holeCount()) throw std::out_of_range("");
  holes_->erase(index);
  if (holes_->empty()) holes_.reset();
}

std::unique_ptr<CadPoly> CadPoly::takeHole(std::size_t index) {
  if (index >= holeCount()) throw std::out_of_range("");
  std::unique_ptr<CadPoly> taken(holes_->release(index));
  if (holes_->empty()) holes_.reset();
  return taken;
}

bool CadPoly::insertVertex(std::unique_ptr<PolyPoint> vertex, int before) {
  if (!vertex) return false;
  if (findVertex(*vertex) != kNotFound) return false;
  if (before == kNotFound || items_.empty()) {
    items_.push_back(std::move(vertex));
  } else {
    items_.insert(items_.begin() + wrap(before), std::move(vertex));
  }
  return true;
}

std::unique_ptr<PolyVector> CadPoly::takeHoles() { return std::move(holes_); }

void CadPoly::setOrientation(int orientation, bool withHoles) {
  if (isValid(false) && this->orientation() != orientation) reverse();
  if (withHoles && holes_)
    for (auto& h : *holes_)
      if (h->isValid(false) && h->orientation() != orientation) h->reverse();
}

void CadPoly::reverse() {
  const std::size_t n = size();
  if (n < 2) return;
  std::reverse(items_.begin(), items_.end());
  const double lastArc = items_[n - 1]->arcAngle();
  for (std::size_t i = n - 1; i > 0; --i) items_[i]->setArcAngle(-items_[i - 1]->arcAngle());
  items_[0]->setArcAngle(-lastArc);
}

void CadPoly::spare() {}

void CadPoly::renumberVertices(bool all) {
  int highest = 0;
  forEachRing([&](CadPoly& ring) {
    for (auto& v : ring.items_) highest = std::max(highest, v->vertexId());
  });
  lastVertexId_ = highest;
  if (all) {
    forEachRing([&](CadPoly& ring) {
      for (auto& v : ring.items_) v->setVertexId(nextVertexId());
    });
  } else {
    std::set<int> seen;
    forEachRing([&](CadPoly& ring) {
      for (std::size_t i = ring.items_.size(); i-- > 0;) {
        PolyPoint& v = *ring.items_[i];
        if (v.vertexId() == 0 || seen.count(v.vertexId())) v.setVertexId(nextVertexId());
        seen.insert(v.vertexId());
      }
    });
  }
  if (holes_)
    for (auto& h : *holes_) h->lastVertexId_ = lastVertexId_;
}

void CadPoly::flattenArcs() {
  constexpr double kDeviation = 0.002;
  forEachRing([&](CadPoly& ring) {
    const std::size_t n = ring.items_.size();
    if (n < 2) return;
    Vector<PolyPoint>::Storage flat;
    flat.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
      PolyPoint& v = *ring.items_[i];
      if (v.isArc(kTolerance) && (ring.closed_ || i > 0)) {
        // The previous vertex has already moved into the new storage.
        const CadArc arc(i == 0 ? *ring.items_[n - 1] : *flat.back(), v);
        const double r = arc.radius();
        if (arc.isValid(kTolerance) && r > 2.0 * kDeviation + kTolerance) {
          double step = 2.0 * std::acos(r / (r + kDeviation));
          const double parts = kTwoPi / step;
          if (std::fabs(parts - std::round(parts)) > kTolerance) step = kTwoPi / (std::floor(parts) + 1.0);
          // Whole multiples of the step strictly inside the arc, in the arc's direction.
          const double margin = kTolerance / r;
          const double a0 = arc.startAngle(), a1 = arc.endAngle();
          if (a1 > a0) {
            for (double k = std::ceil((a0 + margin) / step); k * step < a1 - margin; k += 1.0)
              flat.push_back(std::make_unique<PolyPoint>(arc.pointAt(k * step), 0.0, 0));
          } else {
            for (double k = std::floor((a0 - margin) / step); k * step > a1 + margin; k -= 1.0)
              flat.push_back(std::make_unique<PolyPoint>(arc.pointAt(k * step), 0.0, 0));
          }
        }
        v.setArcAngle(0.0);
      }
      flat.push_back(std::move(ring.items_[i]));
    }
    ring.items_ = std::move(flat);
  });
}

void CadPoly::setZ(double z) {
  forEachRing([&](CadPoly& ring) {
    for (auto& v : ring.items_) v->z() = z;
  });
}

void CadPoly::setZ(const Plane& plane) {
  forEachRing([&](CadPoly& ring) {
    for (auto& v : ring.items_) v->z() = plane.heightAt(*v, kTolerance);
  });
}

namespace {

bool sameRing(const CadPoly& a, const CadPoly& b, bool plan) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const PolyPoint& p = a.vertex(i);
    const PolyPoint& q = b.vertex(i);
    if (plan ? !p.equals2D(q, kTolerance) : !p.equals(q, kTolerance)) return false;
    if (std::fabs(p.arcAngle() - q.arcAngle()) > kTolerance) return false;
  }
  return true;
}

bool samePoly(const CadPoly& a, const CadPoly& b, bool plan) {
  if (a.holeCount() != b.holeCount() || !sameRing(a, b, plan)) return false;
  for (std::size_t h = 0; h < a.holeCount(); ++h)
    if (!sameRing(a.hole(h), b.hole(h), plan)) return false;
  return true;
}

}  // namespace

bool CadPoly::equals(const CadPoly& poly, double) const { return samePoly(*this, poly, false); }
bool CadPoly::equals2D(const CadPoly& poly, double) const { return samePoly(*this, poly, true); }

namespace {

std::unique_ptr<CadPoint> nearestOf(const CadPoly& poly, const CadPoint& point, bool withHoles,
                                    double tolerance, bool plan) {
  if (poly.size() < 2) return nullptr;
  CadPoint best(poly.vertex(0));
  double bestDistance = plan ? best.distance2D(point) : best.distance(point);
  auto consider = [&](const CadPoint& candidate) {
    const double d = plan ? candidate.distance2D(point) : candidate.distance(point);
    if (d < bestDistance) {
      bestDistance = d;
      best = candidate;
    }
  };
  auto walk = [&](const CadPoly& ring) {
    const std::size_t n = ring.size();
    if (n < 2) return;
    for (std::size_t i = ring.isClosed() ? 0 : 1; i < n; ++i) {
      const PolyEdge e = ring.edge(i);
      consider(plan ? e.nearestPoint2D(point, tolerance) : e.nearestPoint(point, tolerance));
    }
  };
  walk(poly);
  if (withHoles)
    for (std::size_t h = 0; h < poly.holeCount(); ++h) walk(poly.hole(h));
  return std::make_unique<CadPoint>(best);
}

}  // namespace

std::unique_ptr<CadPoint> CadPoly::nearestPoint(const CadPoint& point, bool withHoles,
                                                double tolerance) const {
  return nearestOf(*this, point, withHoles, tolerance, false);
}

std::unique_ptr<CadPoint> CadPoly::nearestPoint2D(const CadPoint& point, bool withHoles,
                                                  double tolerance) const {
  return nearestOf(*this, point, withHoles, tolerance, true);
}

namespace {

template <typename Same>
bool eraseDuplicates(CadPoly& ring, bool closed, Same same) {
  bool any = false;
  // From the last vertex backwards, so that erasing never skips a comparison; an open
  // ring's first vertex has no predecessor.
  for (std::size_t i = ring.size(); i-- > 0 && ring.size() > 1;) {
    if (i == 0 && !closed) break;
    const std::size_t prev = i == 0 ? ring.size() - 1 : i - 1;
    if (same(ring.vertex(i), ring.vertex(prev))) {
      ring.erase(i);
      any = true;
    }
  }
  return any;
}

}  // namespace

bool CadPoly::removeDuplicates(double tolerance) {
  bool any = false;
  forEachRing([&](CadPoly& ring) {
    any |= eraseDuplicates(ring, ring.closed_, [&](const PolyPoint& a, const PolyPoint& b) {
      return a.equals(b, tolerance);
    });
  });
  return any;
}

bool CadPoly::removeDuplicates2D(double tolerance) {
  bool any = false;
  forEachRing([&](CadPoly& ring) {
    any |= eraseDuplicates(ring, ring.closed_, [&](const PolyPoint& a, const PolyPoint& b) {
      return a.equals2D(b, tolerance);
    });
  });
  return any;
}

// ---- location -----------------------------------------------------------------------

namespace {

// The rings in the order the location walk visits them: the outline, then the holes from
// the last to the first (the order of intersect(line)).
template <typename Fn>
void walkRings(const CadPoly& poly, Fn fn) {
  fn(poly, 0);
  for (std::size_t k = poly.holeCount(); k-- > 0;) fn(poly.hole(k), int(k) + 1);
}

// The middle of the widest gap between the edge directions (modulo pi), 0 without any.
double rayDirection(std::vector<double>& angles) {
  if (angles.empty()) return 0.0;
  std::sort(angles.begin(), angles.end());
  angles.push_back(kPi);
  double previous = 0.0, widest = -1.0, angle = 0.0;
  for (double a : angles) {
    const double gap = a - previous;
    if (gap > widest + kTolerance) {
      widest = gap;
      angle = previous + gap / 2.0;
    }
    previous = a;
  }
  return angle;
}

}  // namespace

const CadPoly::LocateCache& CadPoly::locateCache() const {
  // The key holds every coordinate the cached values derive from, so a changed ring is
  // always noticed, however its vertices were reached.
  if (cache_) {
    const std::vector<double>& key = cache_->key;
    std::size_t k = 0;
    bool same = true;
    auto check = [&](const CadPoly& ring) {
      const std::size_t n = ring.items_.size();
      if (k + 2 + 3 * n > key.size() || key[k] != double(n) || key[k + 1] != (ring.closed_ ? 1.0 : 0.0)) {
        same = false;
        return;
      }
      k += 2;
      const double* kp = key.data() + k;
      for (const auto& v : ring.items_) {
        if (kp[0] != v->x_ || kp[1] != v->y_ || kp[2] != v->arcAngle()) {
          same = false;
          return;
        }
        kp += 3;
      }
      k += 3 * n;
    };
    check(*this);
    for (std::size_t h = 0; same && h < holeCount(); ++h) check(hole(h));
    if (same && k == key.size()) return *cache_;
  }
  auto cache = std::make_unique<LocateCache>();
  auto record = [&](const CadPoly& ring) {
    cache->key.push_back(double(ring.items_.size()));
    cache->key.push_back(ring.closed_ ? 1.0 : 0.0);
    for (const auto& v : ring.items_) {
      cache->key.push_back(v->x_);
      cache->key.push_back(v->y_);
      cache->key.push_back(v->arcAngle());
    }
  };
  record(*this);
  for (std::size_t h = 0; h < holeCount(); ++h) record(hole(h));

  const auto box = boundingBox();
  if (box) {
    cache->minX = box->min().getX();
    cache->minY = box->min().getY();
    cache->maxX = box->max().getX();
    cache->maxY = box->max().getY();
  }
  std::vector<double> angles;
  walkRings(*this, [&](const CadPoly& ring, int) {
    const int n = int(ring.size());
    if (n < 2) return;
    for (int i = n - 1; i >= (ring.closed_ ? 0 : 1); --i) {
      const PolyPoint& end = *ring.items_[std::size_t(i)];
      const PolyPoint& start = *ring.items_[std::size_t(ring.wrap(i - 1))];
      if (end.isArc(kTolerance)) {
        cache->arcs.push_back(LocateCache::ArcEdge{CadArc(start, end)});
      } else {
        angles.push_back(std::fmod(start.azimuth(end), kPi));
      }
    }
  });
  cache->rayAngle = rayDirection(angles);
  cache_ = std::move(cache);
  return *cache_;
}

int CadPoly::locate(const CadPoint& point, double tolerance) const {
  if (!isValid(false)) return kLocNone;
  const LocateCache& cache = locateCache();
  const double px = point.getX(), py = point.getY();
  // 1. The bounding box rejects first.
  if (px < cache.minX - tolerance || px > cache.maxX + tolerance || py < cache.minY - tolerance ||
      py > cache.maxY + tolerance)
    return kLocOutside;

  // 2. A point on an edge is on the boundary. Only edges near the point build their line or
  //    arc; the others are cleared by their box (or their circle) first.
  const double near = 2.0 * std::max(tolerance, kTolerance);
  bool onBoundary = false;
  std::size_t arcSlot = 0;
  walkRings(*this, [&](const CadPoly& ring, int) {
    const int n = int(ring.size());
    if (onBoundary || n < 2) return;
    for (int i = n - 1; i >= (ring.closed_ ? 0 : 1); --i) {
      const PolyPoint& b = *ring.items_[std::size_t(i)];
      const PolyPoint& a = *ring.items_[std::size_t(i == 0 ? n - 1 : i - 1)];
      if (b.isArc(kTolerance)) {
        const CadArc& arc = cache.arcs[arcSlot++].arc;
        const double cx = arc.centre().x_, cy = arc.centre().y_;
        if (std::fabs(std::hypot(px - cx, py - cy) - arc.radius()) <= near &&
            isOnCode(arc.locate2D(point, tolerance))) {
          onBoundary = true;
          return;
        }
      } else if (px >= std::min(a.x_, b.x_) - near && px <= std::max(a.x_, b.x_) + near &&
                 py >= std::min(a.y_, b.y_) - near && py <= std::max(a.y_, b.y_) + near &&
                 isOnCode(CadLine(a, b).locate2D(point, tolerance))) {
        onBoundary = true;
        return;
      }
    }
  });
  if (onBoundary) return kLocOn;

  // 3.-6. Count the crossings of the ray, which leaves the point in the middle of the widest
  // gap between the edge directions. Every vertex is first classified by its side of the
  // ray's line (on it within the tolerance, or left, or right), and every crossing is
  // derived from those sides, so that the two tests can never disagree:
  // - a straight edge between a left and a right vertex crosses where its line does;
  // - a run of vertices on the ray joined by straight edges crosses when the points just
  //   before and after it lie on opposite sides (an arc leaving the run is followed one
  //   metre along its tangent, or to its midpoint when that tangent runs along the ray);
  //   a run that only touches the ray does not count, nor does a ring wholly on it;
  // - an arc crosses where its circle meets the line strictly inside the arc, unless the
  //   crossing is the run at one of its ends; a ray that only grazes the circle touches it.
  const double c = std::cos(cache.rayAngle), s = std::sin(cache.rayAngle);
  auto across = [&](double x, double y) { return c * (y - py) - s * (x - px); };
  auto along = [&](double x, double y) { return c * (x - px) + s * (y - py); };
  auto sideOf = [&](double d) { return d > tolerance ? 1 : d < -tolerance ? -1 : 0; };
  int count = 0;
  arcSlot = 0;
  walkRings(*this, [&](const CadPoly& ring, int) {
    const int n = int(ring.size());
    if (n < 2) return;
    const auto& items = ring.items_;
    const bool closed = ring.closed_;
    auto vertex = [&](int k) -> const PolyPoint& { return *items[std::size_t(ring.wrap(k))]; };
    auto sideAt = [&](int k) {
      const PolyPoint& v = vertex(k);
      return sideOf(across(v.x_, v.y_));
    };
    // Edge k runs from vertex k - 1 to vertex k; an open ring has no edge 0.
    auto hasEdge = [&](int k) { return closed || ring.wrap(k) != 0; };
    auto straight = [&](int k) { return !vertex(k).isArc(kTolerance); };

    // Straight edges and arcs.
    for (int i = n - 1; i >= (closed ? 0 : 1); --i) {
      const PolyPoint& b = *items[std::size_t(i)];
      const PolyPoint& a = *items[std::size_t(i == 0 ? n - 1 : i - 1)];
      if (!b.isArc(kTolerance)) {
        const double da = across(a.x_, a.y_), db = across(b.x_, b.y_);
        if (sideOf(da) * sideOf(db) != -1) continue;
        const double f = da / (da - db);
        if (along(a.x_ + f * (b.x_ - a.x_), a.y_ + f * (b.y_ - a.y_)) > 0.0) ++count;
        continue;
      }
      const CadArc& arc = cache.arcs[arcSlot++].arc;
      if (!arc.isValid(kTolerance)) continue;
      const double cx = arc.centre().x_, cy = arc.centre().y_, r = arc.radius();
      const double dc = across(cx, cy);
      if (std::fabs(dc) >= r - tolerance * 0.01) continue;  // apart, or only grazing
      const double half = std::sqrt(r * r - dc * dc);
      const double fx = cx + s * dc, fy = cy - c * dc;  // the foot of the centre on the line
      double low = 0.0, span = 0.0;
      arc.range(low, span);
      for (double sign : {1.0, -1.0}) {
        const double x = fx + sign * half * c, y = fy + sign * half * s;
        if (along(x, y) <= 0.0) continue;
        double rel = std::fmod(std::atan2(y - cy, x - cx) - low, kTwoPi);
        if (rel < 0.0) rel += kTwoPi;
        if (rel <= 0.0 || rel >= span) continue;
        // Near an end on the ray the crossing belongs to that end's run.
        bool atRun = false;
        for (int k : {i - 1, i}) {
          const PolyPoint& v = vertex(k);
          if (sideOf(across(v.x_, v.y_)) != 0) continue;
          const PolyEdge e = ring.edge(std::size_t(i));
          const double dir = k == i ? e.endDirection() : e.startDirection();
          const double grazing = std::max(std::fabs(std::sin(dir - cache.rayAngle)), 1e-3);
          if (std::hypot(x - v.x_, y - v.y_) <= 4.0 * std::max(tolerance, kTolerance) / grazing) atRun = true;
        }
        if (!atRun) ++count;
      }
    }

    // Runs of vertices on the ray.
    for (int i = 0; i < n; ++i) {
      if (sideAt(i) != 0) continue;
      // Start each run once: at a vertex whose entering edge does not come along the ray.
      if (hasEdge(i) && straight(i) && sideAt(i - 1) == 0) {
        bool whole = true;
        for (int k = 0; k < n && whole; ++k) whole = sideAt(k) == 0 && (!hasEdge(k) || straight(k));
        if (!whole) continue;
        break;  // the whole ring lies on the ray: it touches
      }
      int last = i, steps = 0;
      while (steps < n && hasEdge(last + 1) && straight(last + 1) && sideAt(last + 1) == 0) {
        ++last;
        ++steps;
      }
      const PolyPoint& v = vertex(i);
      if (along(v.x_, v.y_) <= 0.0) continue;  // behind the point
      // The side just before the run and just after it; 0 touches.
      auto beyond = [&](int edgeIndex, bool forward) {
        if (!hasEdge(edgeIndex)) return 0;
        const PolyEdge e = ring.edge(std::size_t(ring.wrap(edgeIndex)));
        if (!e.isArc()) {
          const CadPoint& q = forward ? static_cast<const CadPoint&>(e.end()) : e.start();
          return sideOf(across(q.x_, q.y_));
        }
        const double dir = forward ? e.startDirection() : e.endDirection() + kPi;
        CadPoint q;
        if (std::fabs(std::sin(dir - cache.rayAngle)) <= kTolerance) {
          q = e.midpoint();
        } else {
          q = forward ? e.start() : CadPoint(e.end());
          q.movePolar(1.0, dir);
        }
        return sideOf(across(q.x_, q.y_));
      };
      const int before = beyond(i, false), after = beyond(last + 1, true);
      if (before * after == -1) ++count;
      i = std::max(i, last);
      if (steps >= n) break;
    }
  });
  return (count % 2 == 1) ? kLocInside : kLocOutside;
}

bool CadPoly::contains(const CadPoint& point, double tolerance) const {
  const int code = locate(point, tolerance);
  return code == kLocInside || code == kLocOn;
}

// ---- intersection -------------------------------------------------------------------

int CadPoly::intersectRing(const CadLine* line, const CadArc* arc, IntersectList& list,
                           double tolerance, bool withHoles) const {
  if (size() < 2) return 0;
  const int side = list.isSwapped() ? 1 : 0;
  const int firstRing = list.templ(side).ringIndex;
  // With both sides accepting only codes on the shapes, an edge that stays clear of the line
  // cannot add a point, and is skipped before any equation or arc is built.
  const int m0 = list.templ(0).code, m1 = list.templ(1).code;
  const bool clearSkips = line && m0 != 0 && m1 != 0 && (m0 & ~kOnMask) == 0 && (m1 & ~kOnMask) == 0;
  double lx = 0.0, ly = 0.0, ux = 0.0, uy = 0.0, len = 0.0;
  if (clearSkips) {
    lx = line->start().getX();
    ly = line->start().getY();
    len = line->length2D();
    if (len > 0.0) {
      ux = (line->end().getX() - lx) / len;
      uy = (line->end().getY() - ly) / len;
    }
  }
  const double margin = 5.0 * std::max(tolerance, kTolerance);
  int added = 0;
  auto walk = [&](const CadPoly& ring, int ringIndex) {
    const int n = int(ring.size());
    if (n < 2) return;
    list.templ(side).ringIndex = ringIndex;
    for (int i = n - 1; i >= (ring.closed_ ? 0 : 1); --i) {
      const PolyPoint& b = *ring.items_[std::size_t(i)];
      const PolyPoint& a = *ring.items_[std::size_t(i == 0 ? n - 1 : i - 1)];
      // An arc of at most a half turn stays within its sagitta of its chord, so it is
      // cleared the same way with the sagitta added to the margin.
      const double sweep = std::fabs(b.arcAngle());
      if (clearSkips && len > 0.0 && sweep <= kPi) {
        const double bulge = sweep <= kTolerance ? 0.0 : a.distance2D(b) / 2.0 * std::tan(sweep / 4.0);
        const double m = margin + bulge;
        const double sa = ux * (a.y_ - ly) - uy * (a.x_ - lx), sb = ux * (b.y_ - ly) - uy * (b.x_ - lx);
        if ((sa > m && sb > m) || (sa < -m && sb < -m)) continue;
        const double ta = ux * (a.x_ - lx) + uy * (a.y_ - ly), tb = ux * (b.x_ - lx) + uy * (b.y_ - ly);
        if ((ta < -m && tb < -m) || (ta > len + m && tb > len + m)) continue;
      }
      list.templ(side).edgeIndex = i;
      const PolyEdge e(a, b);
      added += line ? e.intersect(*line, list, tolerance) : e.intersect(*arc, list, tolerance);
    }
  };
  walk(*this, firstRing);
  if (withHoles)
    for (std::size_t k = holeCount(); k-- > 0;) walk(hole(k), firstRing + int(k) + 1);
  list.templ(side).ringIndex = firstRing;
  return added;
}

int CadPoly::intersect(const CadLine& line, IntersectList& list, double tolerance) const {
  return intersectRing(&line, nullptr, list, tolerance, true);
}

int CadPoly::intersect(const CadArc& arc, IntersectList& list, double tolerance) const {
  return intersectRing(nullptr, &arc, list, tolerance, true);
}

int CadPoly::intersect(const CadPoly& other, IntersectList& list, double tolerance) const {
  const int n = int(size());
  if (n < 2) return 0;
  const int side = list.isSwapped() ? 1 : 0;
  int added = 0;
  for (int i = n - 1; i >= (closed_ ? 0 : 1); --i) {
    list.templ(side).edgeIndex = i;
    const PolyEdge e = edge(std::size_t(i));
    // The other polygon's edges compute their codes first: toggled, they land on its side.
    list.toggleSwapped();
    if (e.isArc()) {
      added += other.intersect(e.arc(), list, tolerance);
    } else {
      added += other.intersect(e.line(), list, tolerance);
    }
    list.toggleSwapped();
    list.templ(side).edgeIndex = i;
  }
  return added;
}

// ---- splitting and clipping ---------------------------------------------------------

namespace {

void append(PolyList* list, std::vector<std::unique_ptr<CadPoly>>& pieces) {
  if (!list) return;
  for (auto& p : pieces) list->push_back(std::move(p));
}

}  // namespace

bool CadPoly::split(const CadPoly& other, PolyList* inside, PolyList* outside, double tolerance) const {
  if (!inside && !outside) return false;
  // Other's holes are part of its region: pieces inside a hole come out as outside pieces.
  std::vector<std::unique_ptr<CadPoly>> in, out;
  if (inside && !PolyClipper::clip(*this, other, PolyClipper::kIntersection, tolerance, in)) return false;
  if (outside && !PolyClipper::clip(*this, other, PolyClipper::kDifference, tolerance, out)) return false;
  append(inside, in);
  append(outside, out);
  return true;
}

bool CadPoly::intersection(const CadPoly& other, PolyList& result, double tolerance) const {
  std::vector<std::unique_ptr<CadPoly>> pieces;
  if (!PolyClipper::clip(*this, other, PolyClipper::kIntersection, tolerance, pieces)) return false;
  append(&result, pieces);
  return true;
}

bool CadPoly::difference(const CadPoly& other, PolyList& result, double tolerance) const {
  std::vector<std::unique_ptr<CadPoly>> pieces;
  if (!PolyClipper::clip(*this, other, PolyClipper::kDifference, tolerance, pieces)) return false;
  append(&result, pieces);
  return true;
}

bool CadPoly::unite(const CadPoly& other, PolyList& result, double tolerance) const {
  std::vector<std::unique_ptr<CadPoly>> pieces;
  if (!PolyClipper::clip(*this, other, PolyClipper::kUnion, tolerance, pieces)) return false;
  append(&result, pieces);
  return true;
}

bool CadPoly::split(const PolyList& others, PolyList* inside, PolyList* outside, double tolerance) const {
  if (!inside && !outside) return false;
  // What lies outside every polygon so far is split by the next one.
  std::vector<std::unique_ptr<CadPoly>> rest, in;
  rest.push_back(clone());
  for (const auto& other : others) {
    std::vector<std::unique_ptr<CadPoly>> next;
    for (const auto& piece : rest) {
      if (inside && !PolyClipper::clip(*piece, *other, PolyClipper::kIntersection, tolerance, in)) return false;
      if (!PolyClipper::clip(*piece, *other, PolyClipper::kDifference, tolerance, next)) return false;
    }
    rest = std::move(next);
  }
  append(inside, in);
  append(outside, rest);
  return true;
}

bool CadPoly::subtract(const PolyList& others, PolyList& result, double tolerance) const {
  return split(others, nullptr, &result, tolerance);
}

// ---- orientation --------------------------------------------------------------------

int CadPoly::orientation() const {
  if (!isValid(false)) return 0;
  const int n = int(size());
  double top = items_[0]->y_;
  int b = 0;
  for (int i = 0; i < n; ++i) {
    const PolyPoint& v = *items_[std::size_t(i)];
    double y = v.y_;
    if (v.isArc(kTolerance) && (closed_ || i > 0)) {
      // The arc's top counts only where it lies inside the arc: a top at the start vertex,
      // recomputed from the arc, must not take over from that vertex by a rounding error.
      const PolyPoint& prev = *items_[std::size_t(wrap(i - 1))];
      const double ends = std::max(v.y_, prev.y_);
      // An arc of at most a half turn rises no more than its sagitta above its chord.
      const double sweep = std::fabs(v.arcAngle());
      const bool mayRise = sweep > kPi || ends + prev.distance2D(v) / 2.0 * std::tan(sweep / 4.0) > top;
      if (mayRise) {
        const auto box = edge(std::size_t(i)).arc().boundingBox();
        if (box && box->max().getY() > ends + kTolerance) y = box->max().getY();
      }
    }
    if (y > top) {
      top = y;
      b = i;
    }
  }
  const PolyPoint& vb = *items_[std::size_t(b)];
  if (vb.isArc(kTolerance) && top - vb.y_ > kTolerance) return vb.arcAngle() > 0.0 ? 2 : 1;
  const PolyPoint& prev = *items_[std::size_t(wrap(b - 1))];
  const PolyPoint& next = *items_[std::size_t(wrap(b + 1))];
  if (std::fabs(prev.y_ - vb.y_) <= kTolerance) return vb.x_ < prev.x_ ? 2 : 1;
  if (std::fabs(next.y_ - vb.y_) <= kTolerance) return next.x_ < vb.x_ ? 2 : 1;
  const double in = edge(std::size_t(b)).endDirection();
  const double out = edge(std::size_t(wrap(b + 1))).startDirection();
  const CadPoint probe(vb.x_ + std::cos(out), vb.y_ + std::sin(out), 0.0);
  const LinearEquation incoming(vb, std::cos(in), std::sin(in));
  return incoming.side(probe, kTolerance) == kLocInside ? 1 : 2;
}

}  // namespace lunvik
