#include "profiles/profile_part.h"

#include <cmath>
#include <memory>
#include <vector>

#include "geometry/cad_cube.h"
#include "geometry/matrix.h"
#include "geometry/poly_list.h"
#include "geometry/rotater.h"
#include "geometry/tolerance.h"
#include "interaction/user_path.h"
#include "model/component_source.h"
#include "model/library.h"
#include "runtime/alert.h"
#include "runtime/environment.h"

namespace varnholt {

using lunvik::CadPoint;
using lunvik::CadPoly;
using lunvik::CadString;
using lunvik::kTolerance;

namespace {

constexpr int32_t kPromptStrings = 32522;
constexpr int32_t kErrorStrings = 32524;
constexpr double kHalfPi = 1.5707963267948966;

CadString text(int32_t list, int32_t item) { return lunvik::Environment::instance().string(list, item); }

bool finite(const CadPoly& ring) {
  for (std::size_t i = 0; i < ring.vertexCount(); ++i) {
    const lunvik::PolyPoint& p = ring.vertex(i);
    if (!std::isfinite(p.getX()) || !std::isfinite(p.getY()) || !std::isfinite(p.getZ()) || !std::isfinite(p.arcAngle()))
      return false;
  }
  return true;
}

// The rings of a polygon as closed chains of straight segments.
struct Segment {
  double x1, y1, x2, y2;
};

std::vector<Segment> segments(const CadPoly& ring) {
  std::unique_ptr<CadPoly> flat = ring.clone();
  flat->setHoles(nullptr);
  flat->flattenArcs();
  std::vector<Segment> out;
  const std::size_t n = flat->vertexCount();
  for (std::size_t i = 0; i < n; ++i) {
    if (!flat->isClosed() && i + 1 == n) break;
    const lunvik::PolyPoint& a = flat->vertex(i);
    const lunvik::PolyPoint& b = flat->vertex((i + 1) % n);
    out.push_back({a.getX(), a.getY(), b.getX(), b.getY()});
  }
  return out;
}

double side(double ax, double ay, double bx, double by, double px, double py) {
  return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

// True when two segments of different rings touch or cross.
bool meet(const Segment& s, const Segment& t) {
  const double d1 = side(s.x1, s.y1, s.x2, s.y2, t.x1, t.y1), d2 = side(s.x1, s.y1, s.x2, s.y2, t.x2, t.y2);
  const double d3 = side(t.x1, t.y1, t.x2, t.y2, s.x1, s.y1), d4 = side(t.x1, t.y1, t.x2, t.y2, s.x2, s.y2);
  const double eps = 1e-12;
  if (((d1 > eps && d2 < -eps) || (d1 < -eps && d2 > eps)) && ((d3 > eps && d4 < -eps) || (d3 < -eps && d4 > eps)))
    return true;
  auto within = [](double ax, double ay, double bx, double by, double px, double py) {
    return std::fmin(ax, bx) - kTolerance <= px && px <= std::fmax(ax, bx) + kTolerance &&
           std::fmin(ay, by) - kTolerance <= py && py <= std::fmax(ay, by) + kTolerance;
  };
  const double touch = kTolerance * kTolerance;
  return (std::fabs(d1) <= touch && within(s.x1, s.y1, s.x2, s.y2, t.x1, t.y1)) ||
         (std::fabs(d2) <= touch && within(s.x1, s.y1, s.x2, s.y2, t.x2, t.y2)) ||
         (std::fabs(d3) <= touch && within(t.x1, t.y1, t.x2, t.y2, s.x1, s.y1)) ||
         (std::fabs(d4) <= touch && within(t.x1, t.y1, t.x2, t.y2, s.x2, s.y2));
}

bool ringsMeet(const CadPoly& a, const CadPoly& b) {
  const std::vector<Segment> sa = segments(a), sb = segments(b);
  for (const Segment& s : sa)
    for (const Segment& t : sb)
      if (meet(s, t)) return true;
  return false;
}

bool setNumber(lunvik::ParametricSource& source, const char* name, double value) {
  return source.parameters().setNumber(CadString(name), value);
}

}  // namespace

CadString profileTemplateName(ProfileKind kind) {
  static const char* const kNames[] = {"Custom Timber", "Extruded Timber", "Lathe Timber"};
  const CadString name = text(32521, 8 + int(kind));
  return name.empty() ? CadString(kNames[int(kind)]) : name;
}

int32_t profileTemplateResource(ProfileKind kind) { return 134 + int(kind); }

PolygonProblem checkProfilePolygon(const CadPoly& polygon) {
  if (polygon.vertexCount() < 3) return PolygonProblem::tooFewVertices;
  for (std::size_t h = 0; h < polygon.holeCount(); ++h)
    if (polygon.hole(h).vertexCount() < 3) return PolygonProblem::tooFewVertices;
  if (!finite(polygon)) return PolygonProblem::notFinite;
  for (std::size_t h = 0; h < polygon.holeCount(); ++h)
    if (!finite(polygon.hole(h))) return PolygonProblem::notFinite;
  if (!polygon.isValid(true)) return PolygonProblem::crossesItself;
  for (std::size_t h = 0; h < polygon.holeCount(); ++h) {
    const CadPoly& hole = polygon.hole(h);
    if (!hole.isValid(true) || ringsMeet(polygon, hole)) return PolygonProblem::crossesItself;
    for (std::size_t k = h + 1; k < polygon.holeCount(); ++k)
      if (ringsMeet(hole, polygon.hole(k))) return PolygonProblem::crossesItself;
  }
  if (polygon.area(false) <= kTolerance * kTolerance) return PolygonProblem::noArea;
  for (std::size_t h = 0; h < polygon.holeCount(); ++h)
    if (polygon.hole(h).area(false) <= kTolerance * kTolerance) return PolygonProblem::noArea;
  return PolygonProblem::none;
}

int32_t polygonProblemMessage(PolygonProblem problem) {
  switch (problem) {
    case PolygonProblem::tooFewVertices: return 41;
    case PolygonProblem::notFinite: return 42;
    case PolygonProblem::crossesItself: return 43;
    case PolygonProblem::noArea: return 44;
    case PolygonProblem::none: break;
  }
  return 0;
}

bool settleLatheOutline(CadPoly& polygon, ProfileProblem& problem) {
  std::unique_ptr<lunvik::CadCube> box = polygon.boundingBox();
  if (!box) return true;
  const double low = box->min().getX(), high = box->max().getX();
  if (low < -kTolerance && high > kTolerance) {
    problem = ProfileProblem::axisCuts;
    return false;
  }
  if (std::fabs(low) <= kTolerance || std::fabs(high) <= kTolerance) {
    auto edgeOnAxis = [](const CadPoly& ring) {
      const std::size_t n = ring.vertexCount();
      for (std::size_t i = ring.isClosed() ? 0 : 1; i < n; ++i) {
        const lunvik::PolyPoint& v = ring.vertex(i);
        const lunvik::PolyPoint& before = ring.vertex((i + n - 1) % n);
        if (std::fabs(v.getX()) <= kTolerance && std::fabs(before.getX()) <= kTolerance &&
            std::fabs(v.arcAngle()) <= kTolerance)
          return true;
      }
      return false;
    };
    bool onAxis = edgeOnAxis(polygon);
    for (std::size_t h = 0; h < polygon.holeCount() && !onAxis; ++h) onAxis = edgeOnAxis(polygon.hole(h));
    if (onAxis) {
      problem = ProfileProblem::edgeOnAxis;
      return false;
    }
  }
  // The profile always lies on the negative side, however it was drawn.
  if (high > kTolerance) polygon *= lunvik::Matrix3x3(-1, 1, 1);
  return true;
}

ProfileSizes profileSizes(ProfileKind kind, const CadPoint& minimum, double width, double height, double value) {
  ProfileSizes s;
  switch (kind) {
    case ProfileKind::elevation:
      s = {width, height, value, width, height, value};
      break;
    case ProfileKind::section:
      s = {value, height, width, value, height, width};
      break;
    case ProfileKind::lathe: {
      // The turned diameter: twice the outline's farthest distance from the axis, also for an
      // outline that keeps away from the axis.
      const double across = 2 * (minimum.getY() + height);
      s = {width, across, across, width, across, across};
      break;
    }
  }
  return s;
}

bool shapeProfilePart(lunvik::ParametricSource& source, CadPoly polygon, CadPoint anchor, const CadPoint& second,
                      ProfileKind kind, double value, CadPoint& outPoint, double& outAngle, ProfileProblem& problem) {
  CadPoint point(anchor.getX(), anchor.getY(), 0);
  double angle = 0;
  // The anchor in the polygon's coordinates.
  CadPoint pivot = point;
  if (kind == ProfileKind::elevation) {
    angle = point.azimuth(second) - kHalfPi;
    lunvik::ZRotater turn(-angle, kTolerance);
    turn.rotate(polygon);
    turn.rotate(pivot);
  } else if (kind == ProfileKind::lathe) {
    polygon -= point;
    pivot = CadPoint(0, 0, 0);
    angle = point.azimuth(second) - kHalfPi;
    lunvik::ZRotater(-angle, kTolerance).rotate(polygon);
    if (!settleLatheOutline(polygon, problem)) return false;
  }
  lunvik::ZRotater quarter(-kHalfPi, kTolerance);
  quarter.rotate(polygon);
  quarter.rotate(pivot);
  std::unique_ptr<lunvik::CadCube> box = polygon.boundingBox();
  if (!box) {
    problem = ProfileProblem::noProfileBlock;
    return false;
  }
  CadPoint m(box->min().getX(), box->min().getY(), 0);
  const double w = box->max().getX() - m.getX(), h = box->max().getY() - m.getY();
  const ProfileSizes sizes = profileSizes(kind, m, w, h, value);
  if (kind == ProfileKind::lathe) {
    // The part starts where the profile does along its axis.
    point = point + CadPoint(-m.getX() * std::sin(angle), m.getX() * std::cos(angle), 0);
    m = CadPoint(m.getX(), 0, 0);
  }
  polygon -= m;
  pivot = pivot - m;

  ProfileWriter writer(kind, value);
  if (!writer.write(source, polygon)) {
    problem = ProfileProblem::noProfileBlock;
    return false;
  }
  if (kind == ProfileKind::lathe) setNumber(source, "latheSweep", value);
  source.setSizeA(sizes.a);
  source.setSizeB(sizes.b);
  source.setHeight(sizes.height);
  setNumber(source, "prevA", sizes.a);
  setNumber(source, "prevB", sizes.b);
  setNumber(source, "prevZzyzx", sizes.height);
  setNumber(source, "profWide", sizes.profWide);
  setNumber(source, "profDeep", sizes.profDeep);
  setNumber(source, "length", sizes.length);
  if (kind != ProfileKind::lathe) {
    setNumber(source, "anchorY", -pivot.getY());
    setNumber(source, "yOffset", -pivot.getY());
    setNumber(source, "anchorZ", -pivot.getX());
    setNumber(source, "zOffset", -pivot.getX());
  }
  const CadString name = source.name();
  if (!name.empty()) source.parameters().setText(CadString("timberName"), name);
  outPoint = point;
  outAngle = angle;
  return true;
}

bool buildProfilePart(lunvik::Library& library, lunvik::ParametricSource& source, const CadPoly& polygon,
                      ProfileKind kind, double value, CadPoint& outPoint, double& outAngle, ProfileProblem& problem) {
  lunvik::UserPath path;
  path.setPrompt(1, text(kPromptStrings, 19));
  if (!path.getFirstPoint()) {
    problem = ProfileProblem::cancelled;
    return false;
  }
  const CadPoint anchor(path.vertex(0).getX(), path.vertex(0).getY(), 0);
  CadPoint second = anchor;
  if (kind != ProfileKind::section) {
    path.setPrompt(2, text(kPromptStrings, kind == ProfileKind::elevation ? 24 : 25));
    if (!path.getNextPoint(false) || path.vertexCount() < 2) {
      problem = ProfileProblem::cancelled;
      return false;
    }
    second = CadPoint(path.vertex(1).getX(), path.vertex(1).getY(), 0);
  }
  if (!shapeProfilePart(source, polygon, anchor, second, kind, value, outPoint, outAngle, problem)) {
    if (problem == ProfileProblem::axisCuts) lunvik::ErrorAlert().show(text(kErrorStrings, 17));
    else if (problem == ProfileProblem::edgeOnAxis) lunvik::ErrorAlert().show(text(kErrorStrings, 18));
    return false;
  }
  if (!library.save(source)) {
    problem = ProfileProblem::notSaved;
    return false;
  }
  return true;
}

}  // namespace varnholt
