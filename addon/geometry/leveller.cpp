#include "geometry/leveller.h"

#include "geometry/cad_arc.h"
#include "geometry/cad_line.h"
#include "geometry/cad_poly.h"
#include "geometry/poly_list.h"

namespace lunvik {

Leveller::Leveller() { set(Vector3(0.0, 0.0, 1.0), 0.0, kTolerance); }

Leveller::Leveller(const Vector3& direction, double turn, double tolerance) {
  set(direction, turn, tolerance);
}

Leveller::~Leveller() = default;

Vector3& Leveller::direction() { return direction_; }

void Leveller::set(const Vector3& direction, double turn, double tolerance) {
  direction_ = direction;
  inverted_ = false;
  turn_ = ZRotater(-turn, tolerance);
  // The tilt swings the direction into the YZ plane, the roll then onto +Z.
  const double beta = planAzimuth(direction.z, -direction.x);
  tilt_ = YRotater(beta, tolerance);
  CadPoint d = direction.toPoint();
  tilt_.rotate(d);
  const double gamma = planAzimuth(d.getZ(), d.getY());
  roll_ = XRotater(gamma, tolerance);
}

void Leveller::setTurn(double turn) { turn_ = ZRotater(-turn, kTolerance); }

void Leveller::level(CadPoly& poly) const {
  if (isIdentity()) return;
  for (auto& v : poly) level(*v);
  for (std::size_t h = 0; h < poly.holeCount(); ++h)
    for (auto& v : poly.hole(h)) level(*v);
}

void Leveller::level(CadArc& arc) const {
  level(arc.centre());
  level(arc.axis());
}

void Leveller::level(CadLine& line) const {
  level(line.start());
  level(line.end());
}

void Leveller::level(CadPoint& point) const {
  if (inverted_) {
    turn_.rotate(point);
    roll_.rotate(point);
    tilt_.rotate(point);
  } else {
    tilt_.rotate(point);
    roll_.rotate(point);
    turn_.rotate(point);
  }
}

void Leveller::level(Vector3& v) const {
  CadPoint p = v.toPoint();
  level(p);
  v = p;
}

void Leveller::invert() {
  inverted_ = !inverted_;
  turn_.invert();
  tilt_.invert();
  roll_.invert();
}

}  // namespace lunvik
