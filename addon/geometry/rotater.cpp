#include "geometry/rotater.h"

#include <cmath>

#include "geometry/cad_arc.h"
#include "geometry/cad_line.h"
#include "geometry/cad_poly.h"
#include "geometry/plane.h"
#include "geometry/poly_list.h"
#include "geometry/vector3.h"

namespace lunvik {

Rotater::~Rotater() = default;

double Rotater::getAngle() const { return angle_; }
bool Rotater::isActive() const { return active_; }

void Rotater::setAngle(double angle, double tolerance) {
  angle_ = angle;
  active_ = std::fabs(angle) > tolerance;
  if (active_) {
    sine_ = std::sin(-angle);
    cosine_ = std::cos(-angle);
  }
}

void Rotater::invert() {
  if (active_) setAngle(-getAngle(), kTolerance);
}

void Rotater::rotate(CadPoly& poly) const {
  if (!active_) return;
  for (auto& v : poly) rotate(*v);
  for (std::size_t h = 0; h < poly.holeCount(); ++h)
    for (auto& v : poly.hole(h)) rotate(*v);
}

void Rotater::rotate(Plane& plane) const {
  if (!active_) return;
  CadPoint n = plane.normal().toPoint();
  rotate(n);
  plane.setNormal(Vector3(n));
}

void Rotater::rotate(Vector4& v) const {
  if (!active_) return;
  CadPoint p(v.x, v.y, v.z);
  rotate(p);
  v.x = p.getX();
  v.y = p.getY();
  v.z = p.getZ();
}

void Rotater::rotate(Vector3& v) const {
  if (!active_) return;
  CadPoint p = v.toPoint();
  rotate(p);
  v = p;
}

void Rotater::rotate(CadLine& line) const {
  if (!active_) return;
  rotate(line.start());
  rotate(line.end());
}

void Rotater::rotate(CadArc& arc) const {
  if (!active_) return;
  // Centre, axis and start point are rotated exactly (a rebuild through three points would
  // lose full circles, whose start and end coincide); an axis that turned downwards is
  // reversed together with the sweep, as an arc through three points would be.
  CadPoint start = arc.startPoint();
  rotate(start);
  rotate(arc.centre());
  rotate(arc.axis());
  if (arc.axis().z < 0.0) {
    arc.setAxis(-arc.axis());
    arc.setSweep(-arc.sweep());
  }
  arc.setStartAngle(arc.angleAt(start));
}

std::unique_ptr<Rotater> XRotater::clone() const { return std::make_unique<XRotater>(*this); }

void XRotater::rotate(CadPoint& point) const {
  if (!active_) return;
  double y = point.getY(), z = point.getZ();
  turnPair(y, z);
  point.y() = y;
  point.z() = z;
}

std::unique_ptr<Rotater> YRotater::clone() const { return std::make_unique<YRotater>(*this); }

double YRotater::getAngle() const { return -angle_; }

void YRotater::setAngle(double angle, double tolerance) { Rotater::setAngle(-angle, tolerance); }

void YRotater::rotate(CadPoint& point) const {
  if (!active_) return;
  double x = point.getX(), z = point.getZ();
  turnPair(x, z);
  point.x() = x;
  point.z() = z;
}

std::unique_ptr<Rotater> ZRotater::clone() const { return std::make_unique<ZRotater>(*this); }

void ZRotater::rotate(CadPoint& point) const {
  if (!active_) return;
  double x = point.getX(), y = point.getY();
  turnPair(x, y);
  point.x() = x;
  point.y() = y;
}

}  // namespace lunvik
