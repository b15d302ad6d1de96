#include "host/bodies/body_generator.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

#include "host/bodies/member_axis.h"
#include "host/bodies/put_profile.h"

namespace standin {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEps = 1e-9;

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double length(Vec3 a) { return std::sqrt(dot(a, a)); }
Vec3 unit(Vec3 a) {
  double l = length(a);
  return l > 0 ? a * (1.0 / l) : Vec3{};
}

using Face = std::vector<Vec3>;
using Cell = std::vector<Face>;  // a convex solid, faces outward

// Newell's normal of a loop (its length is twice the loop's area).
Vec3 newell(const Face& f) {
  Vec3 n;
  for (std::size_t i = 0; i < f.size(); ++i) {
    const Vec3& a = f[i];
    const Vec3& b = f[(i + 1) % f.size()];
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;
}

Vec3 centroid(const std::vector<Vec3>& points) {
  Vec3 c;
  for (const Vec3& p : points) c = c + p;
  return points.empty() ? c : c * (1.0 / double(points.size()));
}

// Turns every face of a convex cell outward.
void orientOutward(Cell& cell) {
  std::vector<Vec3> all;
  for (const Face& f : cell) all.insert(all.end(), f.begin(), f.end());
  Vec3 centre = centroid(all);
  for (Face& f : cell)
    if (dot(newell(f), centroid(f) - centre) < 0) std::reverse(f.begin(), f.end());
}

// A convex cell between two loops of the same size (start and end sections).
Cell loft(const Face& a, const Face& b) {
  Cell cell;
  cell.push_back(a);
  cell.push_back(b);
  for (std::size_t i = 0; i < a.size(); ++i) {
    std::size_t j = (i + 1) % a.size();
    cell.push_back({a[i], a[j], b[j], b[i]});
  }
  orientOutward(cell);
  return cell;
}

// A section loop at distance x along the axis: a rectangle w x d centred on the axis.
Face rectangle(double x, double w, double d, double zBottom, double zTop) {
  (void)d;
  return {{x, -w / 2, zBottom}, {x, w / 2, zBottom}, {x, w / 2, zTop}, {x, -w / 2, zTop}};
}

Face rectangle(double x, double w, double d) { return rectangle(x, w, d, -d / 2, d / 2); }

// A regular n-gon of diameters w (y) and d (z) centred on the axis.
Face polygonSection(double x, double w, double d, int n) {
  Face f;
  for (int i = 0; i < n; ++i) {
    double t = 2 * kPi * i / n;
    f.push_back({x, w / 2 * std::cos(t), d / 2 * std::sin(t)});
  }
  return f;
}

// Clips a convex cell by a plane, keeping the side dot(n, p) <= c.
Cell clip(const Cell& cell, Vec3 n, double c) {
  Cell out;
  std::vector<Vec3> onPlane;
  for (const Face& f : cell) {
    Face kept;
    for (std::size_t i = 0; i < f.size(); ++i) {
      const Vec3& a = f[i];
      const Vec3& b = f[(i + 1) % f.size()];
      double da = dot(n, a) - c, db = dot(n, b) - c;
      if (da <= kEps) kept.push_back(a);
      if (std::fabs(da) <= kEps) onPlane.push_back(a);
      if ((da < -kEps && db > kEps) || (da > kEps && db < -kEps)) {
        Vec3 p = a + (b - a) * (da / (da - db));
        kept.push_back(p);
        onPlane.push_back(p);
      }
    }
    if (kept.size() >= 3 && length(newell(kept)) > kEps) out.push_back(kept);
  }
  if (out.empty()) return out;
  // The cap: the points on the plane, in order around their centre, facing along n.
  std::vector<Vec3> cap;
  for (const Vec3& p : onPlane) {
    bool seen = false;
    for (const Vec3& q : cap) seen = seen || length(p - q) <= 1e-8;
    if (!seen) cap.push_back(p);
  }
  if (cap.size() >= 3) {
    Vec3 centre = centroid(cap);
    Vec3 u = unit(std::fabs(n.x) < 0.9 ? cross(n, Vec3{1, 0, 0}) : cross(n, Vec3{0, 1, 0}));
    Vec3 v = cross(n, u);
    std::sort(cap.begin(), cap.end(), [&](const Vec3& p, const Vec3& q) {
      return std::atan2(dot(p - centre, v), dot(p - centre, u)) < std::atan2(dot(q - centre, v), dot(q - centre, u));
    });
    if (length(newell(cap)) > kEps) {
      // A cap that coincides with a face the cell already has adds nothing.
      bool duplicate = false;
      for (const Face& f : out)
        duplicate = duplicate || (dot(unit(newell(f)), n) > 1 - 1e-9 && std::fabs(dot(n, f[0]) - c) <= kEps);
      if (!duplicate) out.push_back(cap);
    }
  }
  orientOutward(out);
  return out;
}

// The cut planes of a member as (normal, offset) in its frame: the side the normal points to
// is cut away.
// The parameter names of a part's cuts: the product's, or those an upgrade adds.
struct CutNames {
  const char* count;
  const char* angle;
  const char* offset;
};
const CutNames kMemberCuts{"numCuts", "cutAngle", "cutOffset"};
const CutNames kBlobCuts{"lunvik_cutCount", "lunvik_cutAngle", "lunvik_cutOffset"};

std::vector<std::pair<Vec3, double>> cutPlanes(const ParameterValues& v, double memberLength,
                                               const CutNames& names = kMemberCuts) {
  std::vector<std::pair<Vec3, double>> planes;
  int count = int(v.number(names.count, 0));
  for (int i = 0; i < count && i < 64; ++i) {
    double a0 = v.cell(names.angle, i, 0, 0), a1 = v.cell(names.angle, i, 1, 0);
    double offset = v.cell(names.offset, i, 0, 0);
    // (sin a1, 0, cos a1) turned about x by a0.
    Vec3 n{std::sin(a1), -std::sin(a0) * std::cos(a1), std::cos(a0) * std::cos(a1)};
    Vec3 through;
    if (std::fabs(std::sin(a1)) <= 0.00001) {
      through = n * offset;
    } else {
      if (std::sin(a1) > 0.00001) offset = memberLength - offset;
      through = {offset, 0, 0};
    }
    planes.push_back({n, dot(n, through)});
  }
  return planes;
}

// Facets of a round section: enough that no facet strays from the circle by more than the
// arc tolerance, at least 8; `resol` fixes the number.
int roundFacets(const ParameterValues& v, double diameter) {
  int resol = int(v.number("resol", 0));
  if (resol >= 3) return std::min(resol, 720);
  double r = diameter / 2, t = v.number("arcToler", 0.002);
  if (r <= t || t <= 0) return 8;
  int n = int(std::ceil(kPi / std::acos((r - t) / r)));
  return std::max(8, std::min(n, 720));
}

// v turned by the smallest rotation that takes the unit direction a onto the unit direction b.
Vec3 turnedOnto(const Vec3& a, const Vec3& b, const Vec3& v) {
  double c = dot(a, b);
  if (1 + c <= 1e-12) {
    // Opposite directions: half a turn about an axis across them.
    Vec3 p = unit(std::fabs(a.x) < 0.9 ? cross(a, Vec3{1, 0, 0}) : cross(a, Vec3{0, 1, 0}));
    return p * (2 * dot(p, v)) - v;
  }
  Vec3 k = cross(a, b);
  return v * c + cross(k, v) + k * (dot(k, v) / (1 + c));
}

// Sweeps sections (convex loops in the y-z plane) along an axis: one cell per section and
// segment, the segments joined by mitres. Each segment carries the section frame of the one
// before it turned onto its own direction, so neighbouring cells meet in the same mitre.
std::vector<Cell> sweep(const std::vector<Face>& sections, const std::vector<Vec3>& axis) {
  std::vector<Vec3> points;
  for (const Vec3& p : axis)
    if (points.empty() || length(p - points.back()) > kEps) points.push_back(p);
  std::vector<Cell> cells;
  if (points.size() < 2) return cells;
  const std::size_t m = points.size() - 1;
  std::vector<Vec3> along(m), across(m), up(m);
  for (std::size_t i = 0; i < m; ++i) along[i] = unit(points[i + 1] - points[i]);
  across[0] = turnedOnto(Vec3{1, 0, 0}, along[0], Vec3{0, 1, 0});
  up[0] = turnedOnto(Vec3{1, 0, 0}, along[0], Vec3{0, 0, 1});
  for (std::size_t i = 1; i < m; ++i) {
    across[i] = turnedOnto(along[i - 1], along[i], across[i - 1]);
    up[i] = turnedOnto(along[i - 1], along[i], up[i - 1]);
  }
  // Each section at each joint: square to the axis at the ends, on the mitre between.
  std::vector<std::vector<Face>> joints(m + 1);
  for (std::size_t j = 0; j <= m; ++j) {
    std::size_t seg = j == 0 ? 0 : j - 1;
    Vec3 mitre = j == 0 ? along[0] : j == m ? along[m - 1] : unit(along[j - 1] + along[j]);
    double slant = dot(along[seg], mitre);
    for (const Face& section : sections) {
      Face loop;
      for (const Vec3& q : section) {
        Vec3 offset = across[seg] * q.y + up[seg] * q.z;
        double s = slant > 1e-9 ? -dot(offset, mitre) / slant : 0;
        loop.push_back(points[j] + offset + along[seg] * s);
      }
      joints[j].push_back(loop);
    }
  }
  for (std::size_t i = 0; i < m; ++i)
    for (std::size_t k = 0; k < sections.size(); ++k) cells.push_back(loft(joints[i][k], joints[i + 1][k]));
  return cells;
}

struct Shape {
  std::vector<Cell> cells;
  double width = 0;  // the section the anchor offset halves
  double depth = 0;
};

// The arc tolerance of a part's curved geometry.
double arcTolerance(const ParameterValues& v) { return std::max(v.number("arcToler", 0.002), 0.0001); }

// A point of an extruded profile's section at x along the axis: the profile's y across the
// width, its x across the depth, its box's corner on the section's.
Vec3 sectionPoint(double x, const Point2& p, double width, double depth) {
  return {x, p.second - width / 2, p.first - depth / 2};
}

// A lathed profile: the outline (x along the axis, y its distance from it) turned about the
// member's axis by `latheSweep`, in steps that keep every facet within the arc tolerance; the
// ends are closed when the sweep is less than a whole turn.
std::vector<Cell> lathe(const PutProfile& profile, const ParameterValues& v) {
  std::vector<Cell> cells;
  std::vector<std::vector<Point2>> triangles = fillProfile(profile);
  if (triangles.empty()) return cells;
  double sweep = v.number("latheSweep", 2 * kPi);
  if (!(sweep > kEps)) return cells;
  const bool whole = sweep >= 2 * kPi - 0.00001;
  if (whole) sweep = 2 * kPi;
  double radius = 0;
  for (const Contour& c : profile.contours)
    for (const Point2& p : c) radius = std::max(radius, std::fabs(p.second));
  const double t = arcTolerance(v);
  int steps = radius > t ? int(std::ceil(sweep / (2 * std::acos((radius - t) / radius)))) : 8;
  steps = std::max(whole ? 8 : 2, std::min(steps, 720));
  auto at = [&](const Point2& p, int k) -> Vec3 {
    // A whole turn ends where it started, so that the last cells meet the first.
    const double a = whole && k == steps ? 0.0 : sweep * k / steps;
    const double r = std::fabs(p.second);
    return {p.first, r * std::cos(a), r * std::sin(a)};
  };
  for (const auto& tri : triangles)
    for (int k = 0; k < steps; ++k) {
      Face a, b;
      for (const Point2& p : tri) {
        a.push_back(at(p, k));
        b.push_back(at(p, k + 1));
      }
      cells.push_back(loft(a, b));
    }
  return cells;
}

// The text of a script without its blob blocks (the code an upgrade added).
std::string withoutBlobBlocks(const std::string& script) {
  std::string out;
  std::size_t at = 0;
  for (;;) {
    std::size_t start = script.find("!LUNVIK_BLOB_START", at);
    if (start == std::string::npos) break;
    std::size_t end = script.find("!LUNVIK_BLOB_END", start);
    if (end == std::string::npos) break;
    out += script.substr(at, start - at);
    at = end + 16;
  }
  return out + script.substr(std::min(at, script.size()));
}

// The value of a BLOCK size: a number, or a parameter's name.
bool blockSize(const std::string& word, const ParameterValues& v, double& size) {
  std::size_t a = word.find_first_not_of(" \t"), b = word.find_last_not_of(" \t\r");
  if (a == std::string::npos) return false;
  std::string w = word.substr(a, b - a + 1);
  char* end = nullptr;
  double n = std::strtod(w.c_str(), &end);
  if (end && *end == '\0') {
    size = n;
  } else {
    for (char c : w)
      if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    size = v.number(w, 0);
  }
  return std::isfinite(size) && std::fabs(size) <= kFarthestProfilePoint;
}

// The shape of a part's own code, which the stand-in reads two ways: the profile of its `put`
// statements, x across the width and y across the depth, extruded along `length`; without one,
// its `BLOCK` statements, each a box from the part's origin.
Shape ownShape(const ParameterValues& v, const std::string& script) {
  Shape s;
  const std::string code = withoutBlobBlocks(script);
  std::vector<std::vector<Point2>> triangles = fillProfile(readPutProfile(code, arcTolerance(v)));
  if (!triangles.empty()) {
    const double L = v.number("length", 1.0);
    s.width = v.number("profWide", 0.1);
    s.depth = v.number("profDeep", 0.1);
    if (L <= kEps) return s;
    for (const auto& tri : triangles) {
      Face a, b;
      for (const auto& p : tri) {
        a.push_back({0, p.first, p.second});
        b.push_back({L, p.first, p.second});
      }
      s.cells.push_back(loft(a, b));
    }
    return s;
  }
  for (std::size_t at = 0; at < code.size();) {
    std::size_t stop = code.find('\n', at);
    if (stop == std::string::npos) stop = code.size();
    std::string line = code.substr(at, stop - at);
    at = stop + 1;
    std::size_t bang = line.find('!');
    if (bang != std::string::npos) line.resize(bang);
    std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line.size() < first + 6) continue;
    std::string head = line.substr(first, 6);
    for (char& c : head) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (head != "BLOCK " && head != "BLOCK\t") continue;
    std::vector<std::string> words;
    std::string rest = line.substr(first + 6);
    for (std::size_t from = 0; from <= rest.size();) {
      std::size_t comma = rest.find(',', from);
      if (comma == std::string::npos) comma = rest.size();
      words.push_back(rest.substr(from, comma - from));
      from = comma + 1;
    }
    double size[3];
    if (words.size() != 3 || !blockSize(words[0], v, size[0]) || !blockSize(words[1], v, size[1]) ||
        !blockSize(words[2], v, size[2]))
      continue;
    if (size[0] <= kEps || size[1] <= kEps || size[2] <= kEps) continue;
    s.cells.push_back(loft(Face{{0, 0, 0}, {0, size[1], 0}, {0, size[1], size[2]}, {0, 0, size[2]}},
                           Face{{size[0], 0, 0}, {size[0], size[1], 0}, {size[0], size[1], size[2]}, {size[0], 0, size[2]}}));
  }
  return s;
}

// The cells of each kind, in the member's frame.
Shape shapeOf(const std::string& kind, const ParameterValues& v, const std::string& script3D) {
  Shape s;
  double L = v.number("length", 1.0);
  double w = v.number("profWide", 0.1), d = v.number("profDeep", 0.1);
  s.width = w;
  s.depth = d;
  if (L <= kEps) return s;
  // A constant-section member follows its axis when that is bent or its far end moved.
  if (kind == "ROUN" || kind == "SECT" || kind == "EXTR") {
    MemberAxis axis = memberAxisOf(v);
    if (!isPlainAxis(axis)) {
      std::vector<Face> sections;
      if (kind == "ROUN") {
        sections.push_back(polygonSection(0, w, d, roundFacets(v, std::max(w, d))));
      } else if (kind == "SECT") {
        sections.push_back(rectangle(0, w, d));
      } else {
        for (const auto& tri : fillProfile(readPutProfile(script3D, arcTolerance(v)))) {
          Face f;
          for (const auto& p : tri) f.push_back(sectionPoint(0, p, w, d));
          sections.push_back(f);
        }
      }
      s.cells = sweep(sections, axisPoints(axis));
      if (std::fabs(axis.twist) > kEps)
        for (Cell& cell : s.cells)
          for (Face& f : cell)
            for (Vec3& p : f) p = turnedAboutX(p, axis.twist);
      return s;
    }
  }
  if (kind == "RECT" || kind == "SECT") {
    s.cells.push_back(loft(rectangle(0, w, d), rectangle(L, w, d)));
  } else if (kind == "TAPR") {
    double w2 = v.number("endWide", w), d2 = v.number("endDeep", d);
    s.cells.push_back(loft(rectangle(0, w, d), rectangle(L, w2, d2)));
  } else if (kind == "ROUN") {
    int n = roundFacets(v, std::max(w, d));
    s.cells.push_back(loft(polygonSection(0, w, d, n), polygonSection(L, w, d, n)));
  } else if (kind == "ROTA" || kind == "TPEG") {
    double w2 = v.number("endWide", w);
    int n = roundFacets(v, std::max(w, w2));
    if (w2 > kEps) s.cells.push_back(loft(polygonSection(0, w, w, n), polygonSection(L, w2, w2, n)));
    s.depth = w;
  } else if (kind == "SQRO") {
    double square = std::min(std::max(v.number("squareLen", L / 2), 0.0), L);
    double diameter = std::min(w, d);
    int n = roundFacets(v, diameter);
    if (square > kEps) s.cells.push_back(loft(rectangle(0, w, d), rectangle(square, w, d)));
    if (L - square > kEps) s.cells.push_back(loft(polygonSection(square, diameter, diameter, n), polygonSection(L, diameter, diameter, n)));
  } else if (kind == "JOWL") {
    double head = std::min(std::max(v.number("headLen", 0.6), 0.0), L);
    double headDeep = std::max(v.number("headDeep", d), d);
    // The head is the post's section carried on plus a block beside it, so that the cells meet
    // face to face.
    if (L - head > kEps) s.cells.push_back(loft(rectangle(0, w, d), rectangle(L - head, w, d)));
    if (head > kEps) {
      s.cells.push_back(loft(rectangle(L - head, w, d), rectangle(L, w, d)));
      if (headDeep - d > kEps)
        s.cells.push_back(loft(rectangle(L - head, w, d, d / 2, -d / 2 + headDeep), rectangle(L, w, d, d / 2, -d / 2 + headDeep)));
    }
  } else if (kind == "CAMB") {
    // The top rises by topOffset at mid-length along a parabola.
    double rise = v.number("topOffset", 0.0);
    int n = 16;
    auto top = [&](double x) { double t = 2 * x / L - 1; return d / 2 + rise * (1 - t * t); };
    for (int i = 0; i < n; ++i) {
      double x0 = L * i / n, x1 = L * (i + 1) / n;
      s.cells.push_back(loft(rectangle(x0, w, d, -d / 2, top(x0)), rectangle(x1, w, d, -d / 2, top(x1))));
    }
  } else if (kind == "CURV") {
    // A half-ring over the chord (0,0,0)-(L,0,0), rising in z: outer radius L / 2, thickness
    // profWide, width timberWid.
    double R = L / 2, t = std::min(std::max(v.number("profWide", 0.1), kEps), R), width = v.number("timberWid", 0.1);
    double tol = v.number("arcToler", 0.002);
    int n = tol > 0 && tol < R ? int(std::ceil(kPi / (2 * std::acos((R - tol) / R)))) : 8;
    n = std::max(8, std::min(n, 720));
    auto ring = [&](double a) {
      double c = std::cos(a), sn = std::sin(a);
      Vec3 in{R - (R - t) * c, 0, (R - t) * sn}, out{R - R * c, 0, R * sn};
      return Face{{in.x, -width / 2, in.z}, {in.x, width / 2, in.z}, {out.x, width / 2, out.z}, {out.x, -width / 2, out.z}};
    };
    for (int i = 0; i < n; ++i) s.cells.push_back(loft(ring(kPi * i / n), ring(kPi * (i + 1) / n)));
    s.width = width;
    s.depth = L * 0.5;
  } else if (kind == "CUST") {
    // An elevation: the outline in the member's x-y plane from its axis start, extruded
    // across the depth.
    for (const auto& tri : fillProfile(readPutProfile(script3D, arcTolerance(v)))) {
      Face a, b;
      for (const auto& p : tri) {
        a.push_back({p.first, p.second - w / 2, -d / 2});
        b.push_back({p.first, p.second - w / 2, d / 2});
      }
      s.cells.push_back(loft(a, b));
    }
  } else if (kind == "EXTR") {
    for (const auto& tri : fillProfile(readPutProfile(script3D, arcTolerance(v)))) {
      Face a, b;
      for (const auto& p : tri) {
        a.push_back(sectionPoint(0, p, w, d));
        b.push_back(sectionPoint(L, p, w, d));
      }
      s.cells.push_back(loft(a, b));
    }
  } else if (kind == "LATH") {
    s.cells = lathe(readPutProfile(script3D, arcTolerance(v)), v);
  } else if (kind.empty()) {
    s = ownShape(v, script3D);
  }
  return s;
}

// Joins cells into one body: shared vertices, faces between two cells left out.
GeneratedBody joinCells(const std::vector<Cell>& cells) {
  GeneratedBody body;
  std::map<std::tuple<long long, long long, long long>, int32_t> vertexIndex;
  auto indexOf = [&](const Vec3& p) {
    auto key = std::make_tuple(std::llround(p.x * 1e8), std::llround(p.y * 1e8), std::llround(p.z * 1e8));
    auto it = vertexIndex.find(key);
    if (it != vertexIndex.end()) return it->second;
    int32_t i = int32_t(body.vertices.size());
    body.vertices.push_back(p);
    vertexIndex.emplace(key, i);
    return i;
  };
  std::vector<std::vector<int32_t>> faces;
  for (const Cell& cell : cells)
    for (const Face& f : cell) {
      std::vector<int32_t> loop;
      for (const Vec3& p : f) {
        int32_t i = indexOf(p);
        if (loop.empty() || loop.back() != i) loop.push_back(i);
      }
      while (loop.size() > 1 && loop.front() == loop.back()) loop.pop_back();
      if (loop.size() >= 3) faces.push_back(loop);
    }
  // Two faces on the same vertices facing opposite ways are the wall between two cells.
  std::map<std::vector<int32_t>, std::vector<std::size_t>> bySet;
  for (std::size_t i = 0; i < faces.size(); ++i) {
    std::vector<int32_t> key = faces[i];
    std::sort(key.begin(), key.end());
    bySet[key].push_back(i);
  }
  std::vector<bool> drop(faces.size(), false);
  auto normalOf = [&](const std::vector<int32_t>& loop) {
    Face f;
    for (int32_t i : loop) f.push_back(body.vertices[std::size_t(i)]);
    return newell(f);
  };
  for (auto& entry : bySet)
    for (std::size_t a = 0; a < entry.second.size(); ++a)
      for (std::size_t b = a + 1; b < entry.second.size(); ++b) {
        std::size_t i = entry.second[a], j = entry.second[b];
        if (drop[i] || drop[j]) continue;
        if (dot(normalOf(faces[i]), normalOf(faces[j])) < 0) drop[i] = drop[j] = true;
      }
  std::map<std::pair<int32_t, int32_t>, int32_t> edgeIndex;
  for (std::size_t i = 0; i < faces.size(); ++i) {
    if (drop[i]) continue;
    const std::vector<int32_t>& loop = faces[i];
    std::vector<int32_t> loopEdges;
    for (std::size_t k = 0; k < loop.size(); ++k) {
      int32_t a = loop[k], b = loop[(k + 1) % loop.size()];
      std::pair<int32_t, int32_t> key(std::min(a, b), std::max(a, b));
      auto it = edgeIndex.find(key);
      if (it == edgeIndex.end()) {
        it = edgeIndex.emplace(key, int32_t(body.edges.size())).first;
        body.edges.push_back(key);
      }
      loopEdges.push_back(it->second);
    }
    body.faces.push_back(loop);
    body.firstEntry.push_back(int32_t(body.edgeEntries.size()));
    body.edgeEntries.insert(body.edgeEntries.end(), loopEdges.begin(), loopEdges.end());
    body.faceEdges.push_back(loopEdges);
    body.normals.push_back(unit(normalOf(loop)));
  }
  return body;
}

// Volume and surface of a body's faces (divergence theorem over fans).
void measure(const GeneratedBody& body, double& volume, double& surface) {
  for (const std::vector<int32_t>& loop : body.faces) {
    const Vec3& o = body.vertices[std::size_t(loop[0])];
    Face f;
    for (int32_t i : loop) f.push_back(body.vertices[std::size_t(i)]);
    surface += length(newell(f)) / 2;
    for (std::size_t k = 1; k + 1 < loop.size(); ++k)
      volume += dot(o, cross(body.vertices[std::size_t(loop[k])], body.vertices[std::size_t(loop[k + 1])])) / 6;
  }
}

// The member's frame in the model: rotation columns and origin.
platform::TransformRecord frameMatrix(const BodyPlacement& at, double incline, double swivel, const Vec3& offset) {
  double angle = at.angle;
  if (at.mirrored) {
    angle = std::fmod(angle + kPi, 2 * kPi);
    if (angle < 0) angle += 2 * kPi;
    if (std::fabs(angle - 2 * kPi) <= 0.00001) angle = 0;
  }
  // R = Rz(angle) * M * Ry(incline) * Rx(swivel)
  double rz[3][3] = {{std::cos(angle), -std::sin(angle), 0}, {std::sin(angle), std::cos(angle), 0}, {0, 0, 1}};
  double m[3][3] = {{at.mirrored ? -1.0 : 1.0, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  double ry[3][3] = {{std::cos(incline), 0, std::sin(incline)}, {0, 1, 0}, {-std::sin(incline), 0, std::cos(incline)}};
  double rx[3][3] = {{1, 0, 0}, {0, std::cos(swivel), -std::sin(swivel)}, {0, std::sin(swivel), std::cos(swivel)}};
  auto mul = [](const double a[3][3], const double b[3][3], double out[3][3]) {
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        out[i][j] = 0;
        for (int k = 0; k < 3; ++k) out[i][j] += a[i][k] * b[k][j];
      }
  };
  double t1[3][3], t2[3][3], r[3][3];
  mul(rz, m, t1);
  mul(t1, ry, t2);
  mul(t2, rx, r);
  platform::TransformRecord out{};
  double o[3] = {offset.x, offset.y, offset.z}, p[3] = {at.x, at.y, at.z};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) out.tmx[i * 4 + j] = r[i][j];
    out.tmx[i * 4 + 3] = p[i] + r[i][0] * o[0] + r[i][1] * o[1] + r[i][2] * o[2];
  }
  return out;
}

// A member's frame: its placement, `incline`, `swivel` and axis start offset.
platform::TransformRecord placementMatrix(const ParameterValues& v, const BodyPlacement& at, double width, double depth) {
  Vec3 offset{v.number("xOffset", 0), v.number("yOffset", 0) + width / 2, v.number("zOffset", 0) + depth / 2};
  return frameMatrix(at, v.number("incline", 0), v.number("swivel", 0), offset);
}

Vec3 transform(const platform::TransformRecord& m, const Vec3& p) {
  return {m.tmx[0] * p.x + m.tmx[1] * p.y + m.tmx[2] * p.z + m.tmx[3],
          m.tmx[4] * p.x + m.tmx[5] * p.y + m.tmx[6] * p.z + m.tmx[7],
          m.tmx[8] * p.x + m.tmx[9] * p.y + m.tmx[10] * p.z + m.tmx[11]};
}

}  // namespace

ParameterValues::ParameterValues(std::vector<PartParameter> parameters) : parameters_(std::move(parameters)) {
  for (std::size_t i = 0; i < parameters_.size(); ++i) index_.emplace(lowerText(parameters_[i].name), i);
}

const PartParameter* ParameterValues::find(const std::string& name) const {
  std::string key = lowerText(name);
  auto it = index_.find(key);
  if (reads_) reads_->insert(std::move(key));
  return it == index_.end() ? nullptr : &parameters_[it->second];
}

double ParameterValues::number(const std::string& name, double fallback) const {
  const PartParameter* p = find(name);
  return p && !p->isText() && !p->numbers.empty() ? p->numbers[0] : fallback;
}

double ParameterValues::cell(const std::string& name, int row, int column, double fallback) const {
  const PartParameter* p = find(name);
  if (!p || p->isText() || row < 0 || column < 0) return fallback;
  int columns = p->isArray ? p->columns : 1;
  if (column >= columns) return fallback;
  std::size_t at = std::size_t(row) * std::size_t(columns) + std::size_t(column);
  return at < p->numbers.size() ? p->numbers[at] : fallback;
}

std::string ParameterValues::text(const std::string& name) const {
  const PartParameter* p = find(name);
  return p && p->isText() && !p->texts.empty() ? p->texts[0] : std::string();
}

bool knownBodyKind(const std::string& kind) {
  for (const char* k : {"RECT", "TAPR", "TPEG", "JOWL", "CAMB", "SQRO", "ROTA", "ROUN", "CURV", "CUST", "EXTR", "LATH",
                        "SECT", "ASSM", "BLOB"})
    if (kind == k) return true;
  return false;
}

std::string bodyKindOf(const ParameterValues& values) {
  std::string kind = values.text("ID");
  return kind.empty() ? values.text("lunvik_ID") : kind;
}

namespace {

bool wordCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The decimal number starting at line[at] (an optional sign, digits with an optional point,
// an optional exponent), not part of a word such as x1 or nan; its length, 0 when there is
// none.
std::size_t decimalAt(const std::string& line, std::size_t at, double& value) {
  if (at > 0 && (wordCharacter(line[at - 1]) || line[at - 1] == '.')) return 0;
  std::size_t i = at, digits = 0, n = line.size();
  auto digit = [&](std::size_t k) { return k < n && std::isdigit(static_cast<unsigned char>(line[k])); };
  if (i < n && (line[i] == '+' || line[i] == '-')) ++i;
  for (; digit(i); ++i) ++digits;
  if (i < n && line[i] == '.')
    for (++i; digit(i); ++i) ++digits;
  if (digits == 0) return 0;
  if (i < n && (line[i] == 'e' || line[i] == 'E')) {
    std::size_t e = i + 1;
    if (e < n && (line[e] == '+' || line[e] == '-')) ++e;
    if (digit(e)) {
      for (i = e; digit(i);) ++i;
    }
  }
  if (i < n && (wordCharacter(line[i]) || line[i] == '.')) return 0;
  value = std::strtod(line.substr(at, i - at).c_str(), nullptr);
  return i - at;
}

}  // namespace

std::vector<std::pair<double, double>> profileFromScript(const std::string& script3D) {
  std::vector<double> numbers;
  std::string upperText;
  for (char c : script3D) upperText += char(std::toupper(static_cast<unsigned char>(c)));
  std::size_t at = 0;
  while ((at = upperText.find("PUT", at)) != std::string::npos) {
    bool wordStart = at == 0 || !(std::isalnum(static_cast<unsigned char>(upperText[at - 1])) || upperText[at - 1] == '_');
    bool wordEnd = at + 3 >= upperText.size() || !(std::isalnum(static_cast<unsigned char>(upperText[at + 3])) || upperText[at + 3] == '_');
    at += 3;
    if (!wordStart || !wordEnd) continue;
    // The statement runs to the end of its line; a trailing comma continues it.
    while (at < script3D.size()) {
      std::size_t stop = script3D.find('\n', at);
      std::string line = script3D.substr(at, stop == std::string::npos ? std::string::npos : stop - at);
      std::size_t bang = line.find('!');
      if (bang != std::string::npos) line.resize(bang);
      for (std::size_t i = 0; i < line.size();) {
        double value = 0;
        std::size_t read = decimalAt(line, i, value);
        if (read == 0) {
          ++i;
          continue;
        }
        // A number out of reach makes the whole list unreadable: no profile, so no body.
        if (!std::isfinite(value) || std::fabs(value) > kFarthestProfilePoint) return {};
        numbers.push_back(value);
        i += read;
      }
      at = stop == std::string::npos ? script3D.size() : stop + 1;
      std::size_t last = line.find_last_not_of(" \t\r");
      if (last == std::string::npos || line[last] != ',') break;
    }
  }
  std::vector<std::pair<double, double>> points;
  for (std::size_t i = 0; i + 1 < numbers.size(); i += 3) points.push_back({numbers[i], numbers[i + 1]});
  return points;
}

GeneratedModel generateBodies(const std::string& kind, const ParameterValues& values, const BodyPlacement& placement,
                              const std::string& script3D) {
  GeneratedModel model;
  if (kind == "ASSM") return model;
  // An upgraded object: its own shape turned about its origin by the `lunvik_` angles and cut
  // by the `lunvik_` cuts, a far-end cut measured back from its length, A.
  const bool blob = kind == "BLOB";
  Shape shape = blob ? ownShape(values, script3D) : shapeOf(kind, values, script3D);
  double L = blob ? values.number("A", 1.0) : values.number("length", 1.0);
  for (const auto& plane : cutPlanes(values, L, blob ? kBlobCuts : kMemberCuts))
    for (Cell& cell : shape.cells)
      if (!cell.empty()) cell = clip(cell, plane.first, plane.second);
  shape.cells.erase(std::remove_if(shape.cells.begin(), shape.cells.end(), [](const Cell& c) { return c.size() < 4; }),
                    shape.cells.end());
  if (shape.cells.empty()) return model;
  GeneratedBody body = joinCells(shape.cells);
  if (body.faces.empty()) return model;
  body.matrix = blob ? frameMatrix(placement, values.number("lunvik_incline", 0), values.number("lunvik_swivel", 0), Vec3{})
                     : placementMatrix(values, placement, shape.width, shape.depth);
  body.pen = int16_t(blob ? values.number("lunvik_edgePen", 1) : values.number("timberPen", 1));
  for (std::size_t i = 0; i < body.vertices.size(); ++i) {
    Vec3 p = transform(body.matrix, body.vertices[i]);
    if (i == 0) body.boxMin = body.boxMax = p;
    body.boxMin = {std::min(body.boxMin.x, p.x), std::min(body.boxMin.y, p.y), std::min(body.boxMin.z, p.z)};
    body.boxMax = {std::max(body.boxMax.x, p.x), std::max(body.boxMax.y, p.y), std::max(body.boxMax.z, p.z)};
  }
  measure(body, model.volume, model.surface);
  for (Vec3& n : body.normals) {
    const double* m = body.matrix.tmx;
    n = {m[0] * n.x + m[1] * n.y + m[2] * n.z, m[4] * n.x + m[5] * n.y + m[6] * n.z, m[8] * n.x + m[9] * n.y + m[10] * n.z};
  }
  model.bodies.push_back(std::move(body));
  return model;
}

}  // namespace standin
