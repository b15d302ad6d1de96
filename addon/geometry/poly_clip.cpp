#include "geometry/poly_clip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>

#include "geometry/cad_poly.h"
#include "geometry/poly_list.h"

namespace lunvik {

namespace {

struct Node {
  double x;
  double y;
  double z;
  int vertexId;
  int regions;  // bit 0: used by region A, bit 1: by region B
};

// One ring of a region after flattening, with its vertices as node indices.
struct Ring {
  std::vector<int> nodes;
  int source = 0;         // 0 the outline, k + 1 hole k of the source polygon
  bool reversed = false;  // reversed to make the outline counter-clockwise, holes clockwise
  bool touched = false;   // an edge or vertex of the other region meets it
};

struct Segment {
  int a;
  int b;
  int region;
  int ring;
  double minX, maxX, minY, maxY;
  std::vector<std::pair<double, int>> cuts;  // (parameter along the segment, node)
};

struct Piece {
  int from;
  int to;
  int region;
  int ring;
  bool reversed;  // runs against its ring
};

enum Class { kIn, kOut, kSame, kOpposite };

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

class Clipper {
 public:
  explicit Clipper(double tolerance) : tol_(std::max(tolerance, 1e-9)), cell_(4.0 * tol_) {}

  bool addRegion(const CadPoly& poly, int region);
  void cut();
  void classify(PolyClipper::Operation op);
  void link(const CadPoly& a, const CadPoly& b, std::vector<std::unique_ptr<CadPoly>>& result);

 private:
  int node(double x, double y, double z, int vertexId);
  void addCut(Segment& s, int n, double t) {
    if (n != s.a && n != s.b) s.cuts.emplace_back(t, n);
  }
  void touchEndpoints(Segment& s, const Segment& t);
  void cross(Segment& s, Segment& t);
  int locate(int region, double x, double y, double dx, double dy, bool& same) const;
  double ringArea(const std::vector<int>& ring) const;

  double tol_;
  double cell_;
  std::vector<Node> nodes_;
  std::unordered_map<std::int64_t, std::vector<int>> grid_;
  std::vector<Ring> rings_[2];
  std::vector<Segment> segments_;
  std::vector<Piece> pieces_[2];
  std::vector<Piece> kept_;
};

int Clipper::node(double x, double y, double z, int vertexId) {
  const std::int64_t cx = std::int64_t(std::floor(x / cell_)), cy = std::int64_t(std::floor(y / cell_));
  for (std::int64_t i = cx - 1; i <= cx + 1; ++i)
    for (std::int64_t j = cy - 1; j <= cy + 1; ++j) {
      const auto it = grid_.find(i * 73856093 ^ j * 19349663);
      if (it == grid_.end()) continue;
      for (int n : it->second)
        if (std::fabs(nodes_[std::size_t(n)].x - x) <= tol_ && std::fabs(nodes_[std::size_t(n)].y - y) <= tol_)
          return n;
    }
  nodes_.push_back(Node{x, y, z, vertexId, 0});
  grid_[cx * 73856093 ^ cy * 19349663].push_back(int(nodes_.size()) - 1);
  return int(nodes_.size()) - 1;
}

double Clipper::ringArea(const std::vector<int>& ring) const {
  double twice = 0.0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const Node& p = nodes_[std::size_t(ring[i])];
    const Node& q = nodes_[std::size_t(ring[(i + 1) % ring.size()])];
    twice += p.x * q.y - q.x * p.y;
  }
  return twice / 2.0;
}

bool Clipper::addRegion(const CadPoly& poly, int region) {
  if (!poly.isClosed() || !poly.isValid(false)) return false;
  CadPoly flat(poly);
  flat.flattenArcs();
  auto addRing = [&](const CadPoly& ring, int source) {
    Ring r;
    r.source = source;
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const PolyPoint& v = ring.vertex(i);
      const int n = node(v.getX(), v.getY(), v.getZ(), v.vertexId());
      if (r.nodes.empty() || r.nodes.back() != n) r.nodes.push_back(n);
    }
    while (r.nodes.size() > 1 && r.nodes.front() == r.nodes.back()) r.nodes.pop_back();
    if (r.nodes.size() < 3) return false;
    const double area = ringArea(r.nodes);
    if (std::fabs(area) <= tol_ * tol_) return false;
    // Outlines run counter-clockwise and holes clockwise, so the region lies to the left.
    if ((source == 0) != (area > 0.0)) {
      std::reverse(r.nodes.begin(), r.nodes.end());
      r.reversed = true;
    }
    for (int n : r.nodes) nodes_[std::size_t(n)].regions |= 1 << region;
    rings_[region].push_back(std::move(r));
    return true;
  };
  if (!addRing(flat, 0)) return false;
  for (std::size_t h = 0; h < flat.holeCount(); ++h) addRing(flat.hole(h), int(h) + 1);
  for (std::size_t k = 0; k < rings_[region].size(); ++k) {
    const Ring& r = rings_[region][k];
    for (std::size_t i = 0; i < r.nodes.size(); ++i) {
      const int a = r.nodes[i], b = r.nodes[(i + 1) % r.nodes.size()];
      const Node& p = nodes_[std::size_t(a)];
      const Node& q = nodes_[std::size_t(b)];
      segments_.push_back(Segment{a, b, region, int(k), std::min(p.x, q.x), std::max(p.x, q.x),
                                  std::min(p.y, q.y), std::max(p.y, q.y), {}});
    }
  }
  return true;
}

void Clipper::touchEndpoints(Segment& s, const Segment& t) {
  const Node& a = nodes_[std::size_t(s.a)];
  const Node& b = nodes_[std::size_t(s.b)];
  const double dx = b.x - a.x, dy = b.y - a.y, ll = dx * dx + dy * dy;
  if (ll == 0.0) return;
  for (int n : {t.a, t.b}) {
    if (n == s.a || n == s.b) continue;
    const Node& p = nodes_[std::size_t(n)];
    const double u = ((p.x - a.x) * dx + (p.y - a.y) * dy) / ll;
    if (u <= 0.0 || u >= 1.0) continue;
    if (std::hypot(a.x + u * dx - p.x, a.y + u * dy - p.y) <= tol_) addCut(s, n, u);
  }
}

void Clipper::cross(Segment& s, Segment& t) {
  const Node& a = nodes_[std::size_t(s.a)];
  const Node& b = nodes_[std::size_t(s.b)];
  const Node& c = nodes_[std::size_t(t.a)];
  const Node& d = nodes_[std::size_t(t.b)];
  const double d1x = b.x - a.x, d1y = b.y - a.y, d2x = d.x - c.x, d2y = d.y - c.y;
  const double den = lunvik::cross(d1x, d1y, d2x, d2y);
  if (std::fabs(den) <= 1e-12 * std::hypot(d1x, d1y) * std::hypot(d2x, d2y)) return;
  const double u = lunvik::cross(c.x - a.x, c.y - a.y, d2x, d2y) / den;
  const double v = lunvik::cross(c.x - a.x, c.y - a.y, d1x, d1y) / den;
  if (u <= 0.0 || u >= 1.0 || v <= 0.0 || v >= 1.0) return;
  const double x = a.x + u * d1x, y = a.y + u * d1y;
  const int n = node(x, y, a.z + u * (b.z - a.z), 0);
  nodes_[std::size_t(n)].regions |= 3;
  addCut(s, n, u);
  addCut(t, n, v);
}

void Clipper::cut() {
  std::vector<std::size_t> order(segments_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [&](std::size_t i, std::size_t j) { return segments_[i].minX < segments_[j].minX; });
  for (std::size_t oi = 0; oi < order.size(); ++oi) {
    Segment& s = segments_[order[oi]];
    for (std::size_t oj = oi + 1; oj < order.size(); ++oj) {
      Segment& t = segments_[order[oj]];
      if (t.minX > s.maxX + tol_) break;
      if (t.minY > s.maxY + tol_ || s.minY > t.maxY + tol_) continue;
      touchEndpoints(s, t);
      touchEndpoints(t, s);
      // The rings of one region do not cross one another; only the two regions do.
      if (s.region != t.region) cross(s, t);
    }
  }
  for (Segment& s : segments_) {
    if (!s.cuts.empty()) rings_[s.region][std::size_t(s.ring)].touched = true;
    if ((nodes_[std::size_t(s.a)].regions & 3) == 3) rings_[s.region][std::size_t(s.ring)].touched = true;
    std::sort(s.cuts.begin(), s.cuts.end());
    int from = s.a;
    for (const auto& cut : s.cuts) {
      if (cut.second == from) continue;
      pieces_[s.region].push_back(Piece{from, cut.second, s.region, s.ring, false});
      from = cut.second;
    }
    if (from != s.b) pieces_[s.region].push_back(Piece{from, s.b, s.region, s.ring, false});
  }
}

int Clipper::locate(int region, double x, double y, double dx, double dy, bool& same) const {
  // Even-odd count along +X over the region's pieces; a piece within the tolerance answers
  // the boundary, with the direction it runs compared to (dx, dy).
  bool inside = false;
  for (const Piece& p : pieces_[region]) {
    const Node& a = nodes_[std::size_t(p.from)];
    const Node& b = nodes_[std::size_t(p.to)];
    const double ex = b.x - a.x, ey = b.y - a.y, ll = ex * ex + ey * ey;
    if (ll > 0.0) {
      const double u = std::max(0.0, std::min(1.0, ((x - a.x) * ex + (y - a.y) * ey) / ll));
      if (std::hypot(a.x + u * ex - x, a.y + u * ey - y) <= tol_) {
        same = ex * dx + ey * dy > 0.0;
        return kLocOn;
      }
    }
    if ((a.y > y) != (b.y > y)) {
      const double xi = a.x + (y - a.y) * ex / ey;
      if (xi > x) inside = !inside;
    }
  }
  return inside ? kLocInside : kLocOutside;
}

void Clipper::classify(PolyClipper::Operation op) {
  // The pieces of each region by their pair of nodes, to find the pieces both share.
  std::map<std::pair<int, int>, std::vector<const Piece*>> byNodes[2];
  for (int region = 0; region < 2; ++region)
    for (const Piece& p : pieces_[region])
      byNodes[region][{std::min(p.from, p.to), std::max(p.from, p.to)}].push_back(&p);
  for (int region = 0; region < 2; ++region) {
    const int other = 1 - region;
    for (const Piece& p : pieces_[region]) {
      Class cls = kOut;
      const auto& shared = byNodes[other];
      const auto it = shared.find({std::min(p.from, p.to), std::max(p.from, p.to)});
      if (it != shared.end()) {
        if (region == 1) continue;  // region A keeps the one copy of a shared piece
        cls = it->second.front()->from == p.from ? kSame : kOpposite;
      } else {
        const Node& a = nodes_[std::size_t(p.from)];
        const Node& b = nodes_[std::size_t(p.to)];
        const double dx = b.x - a.x, dy = b.y - a.y;
        int code = kLocOn;
        bool same = true;
        for (double t : {0.5, 0.25, 0.75}) {
          code = locate(other, a.x + t * dx, a.y + t * dy, dx, dy, same);
          if (code != kLocOn) break;
        }
        if (code == kLocOn) {
          if (region == 1) continue;
          cls = same ? kSame : kOpposite;
        } else {
          cls = code == kLocInside ? kIn : kOut;
        }
      }
      bool keep = false, reverse = false;
      switch (op) {
        case PolyClipper::kIntersection: keep = cls == kIn || (region == 0 && cls == kSame); break;
        case PolyClipper::kUnion: keep = cls == kOut || (region == 0 && cls == kSame); break;
        case PolyClipper::kDifference:
          keep = region == 0 ? (cls == kOut || cls == kOpposite) : cls == kIn;
          reverse = region == 1;
          break;
      }
      if (!keep) continue;
      kept_.push_back(reverse ? Piece{p.to, p.from, p.region, p.ring, true} : p);
    }
  }
}

void Clipper::link(const CadPoly& a, const CadPoly& b, std::vector<std::unique_ptr<CadPoly>>& result) {
  std::vector<std::vector<int>> outgoing(nodes_.size());
  for (std::size_t i = 0; i < kept_.size(); ++i) outgoing[std::size_t(kept_[i].from)].push_back(int(i));
  std::vector<bool> used(kept_.size(), false);

  struct Loop {
    std::vector<int> pieces;
    double area;
  };
  std::vector<Loop> loops;
  for (std::size_t start = 0; start < kept_.size(); ++start) {
    if (used[start]) continue;
    std::vector<int> walk{int(start)};
    used[start] = true;
    bool closed = false;
    while (true) {
      const Piece& in = kept_[std::size_t(walk.back())];
      const Node& p = nodes_[std::size_t(in.from)];
      const Node& q = nodes_[std::size_t(in.to)];
      const double ix = q.x - p.x, iy = q.y - p.y;
      // The leftmost turn keeps the region on the left and the loops simple; at the start
      // node the first piece competes too, and closing wins when it is the leftmost.
      int best = -1;
      double bestTurn = -10.0;
      auto consider = [&](int k) {
        const Piece& out = kept_[std::size_t(k)];
        const Node& r = nodes_[std::size_t(out.to)];
        const double ox = r.x - q.x, oy = r.y - q.y;
        const double turn = std::atan2(lunvik::cross(ix, iy, ox, oy), ix * ox + iy * oy);
        if (turn > bestTurn) {
          bestTurn = turn;
          best = k;
        }
      };
      for (int k : outgoing[std::size_t(in.to)])
        if (!used[std::size_t(k)]) consider(k);
      if (in.to == kept_[start].from) consider(int(start));
      if (best < 0) break;  // an inconsistent junction: the walk is dropped
      if (best == int(start)) {
        closed = true;
        break;
      }
      used[std::size_t(best)] = true;
      walk.push_back(best);
    }
    if (!closed) continue;
    // Cut the closed walk into simple loops at the nodes it visits twice.
    std::vector<int> stack;
    std::unordered_map<int, std::size_t> at;
    auto emit = [&](std::size_t from) {
      Loop loop{std::vector<int>(stack.begin() + std::ptrdiff_t(from), stack.end()), 0.0};
      stack.resize(from);
      std::vector<int> ring;
      for (int k : loop.pieces) ring.push_back(kept_[std::size_t(k)].from);
      for (int n : ring) at.erase(n);
      loop.area = ringArea(ring);
      if (loop.pieces.size() >= 3 && std::fabs(loop.area) > tol_ * tol_) loops.push_back(std::move(loop));
    };
    for (int k : walk) {
      const int from = kept_[std::size_t(k)].from;
      const auto it = at.find(from);
      if (it != at.end()) emit(it->second);
      at[from] = stack.size();
      stack.push_back(k);
    }
    if (!stack.empty()) emit(0);
  }

  // A loop that is exactly an untouched source ring is replaced by that ring, arcs and all.
  auto makeRing = [&](const Loop& loop) {
    const Piece& first = kept_[std::size_t(loop.pieces.front())];
    const Ring& ring = rings_[first.region][std::size_t(first.ring)];
    bool whole = !ring.touched && loop.pieces.size() == ring.nodes.size();
    for (int k : loop.pieces) {
      const Piece& p = kept_[std::size_t(k)];
      whole = whole && p.region == first.region && p.ring == first.ring;
    }
    if (whole) {
      const CadPoly& source = first.region == 0 ? a : b;
      auto poly = std::make_unique<CadPoly>(ring.source == 0 ? source : source.hole(std::size_t(ring.source - 1)));
      poly->setHoles(nullptr);
      poly->setHole(false);
      if (ring.reversed != first.reversed) poly->reverse();
      return poly;
    }
    auto poly = std::make_unique<CadPoly>(loop.pieces.size(), 0, true);
    for (int k : loop.pieces) {
      const Node& n = nodes_[std::size_t(kept_[std::size_t(k)].from)];
      poly->push_back(std::make_unique<PolyPoint>(n.x, n.y, n.z, 0.0, n.vertexId));
    }
    return poly;
  };

  std::vector<std::size_t> outers;
  for (std::size_t i = 0; i < loops.size(); ++i)
    if (loops[i].area > 0.0) outers.push_back(i);
  std::vector<std::unique_ptr<CadPoly>> made(loops.size());
  for (std::size_t i : outers) made[i] = makeRing(loops[i]);
  // Each hole belongs to the smallest outline around a point of one of its edges; owners
  // are found before any hole is added, so that the outlines are tested alone.
  std::vector<std::size_t> owners(loops.size(), loops.size());
  for (std::size_t i = 0; i < loops.size(); ++i) {
    if (loops[i].area > 0.0) continue;
    for (int k : loops[i].pieces) {
      const Node& p = nodes_[std::size_t(kept_[std::size_t(k)].from)];
      const Node& q = nodes_[std::size_t(kept_[std::size_t(k)].to)];
      const CadPoint probe((p.x + q.x) / 2.0, (p.y + q.y) / 2.0, 0.0);
      bool onOutline = false;
      std::size_t owner = loops.size();
      for (std::size_t o : outers) {
        const int code = made[o]->locate(probe, tol_);
        if (code == kLocOn) {
          onOutline = true;
          break;
        }
        if (code == kLocInside && (owner == loops.size() || loops[o].area < loops[owner].area)) owner = o;
      }
      if (!onOutline) {
        owners[i] = owner;
        break;
      }
    }
  }
  for (std::size_t i = 0; i < loops.size(); ++i)
    if (owners[i] < loops.size()) made[owners[i]]->addHole(makeRing(loops[i]));
  for (std::size_t i : outers) {
    made[i]->setLastVertexId(a.lastVertexId());
    result.push_back(std::move(made[i]));
  }
}

}  // namespace

bool PolyClipper::clip(const CadPoly& a, const CadPoly& b, Operation op, double tolerance,
                       std::vector<std::unique_ptr<CadPoly>>& result) {
  Clipper clipper(tolerance);
  if (!clipper.addRegion(a, 0) || !clipper.addRegion(b, 1)) return false;
  clipper.cut();
  clipper.classify(op);
  clipper.link(a, b, result);
  return true;
}

}  // namespace lunvik
