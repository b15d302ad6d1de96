#include "tools/rubber_rotater.h"

#include <cmath>

#include "geometry/rotater.h"
#include "geometry/tolerance.h"

namespace varnholt {

using lunvik::CadLine;
using lunvik::CadPoint;

RubberRotater::RubberRotater(const CadPoint& origin, double azimuth, double radius)
    : origin_(origin), azimuth_(azimuth), radius_(radius) {}

std::vector<CadLine> RubberRotater::figure(double angle) const {
  // Built along the axis (x) from its origin, then turned by the axis' azimuth and moved there.
  const lunvik::ZRotater turn(azimuth_, lunvik::kTolerance);
  auto place = [&](CadPoint p) {
    turn.rotate(p);
    return p + origin_;
  };
  const double r = radius_, tilt = std::sin(angle);
  std::vector<CadLine> lines;
  CadPoint previous = place(CadPoint(r, 0, 0));
  for (int step = 1; step <= 36; ++step) {
    const double t = step * 10 * lunvik::kPi / 180;
    CadPoint next = place(CadPoint(r * std::cos(t), r * tilt * std::sin(t), 0));
    lines.emplace_back(previous, next);
    previous = next;
  }
  const CadPoint tip(0, r * tilt, 0);
  lines.emplace_back(place(CadPoint(0, 0, 0)), place(tip));
  const double c = std::atan(tilt);
  double b = c + lunvik::kPi;
  if (std::cos(angle) < -lunvik::kTolerance) b += lunvik::kPi;
  for (double direction : {b, lunvik::kPi - 2 * c + b}) {
    CadPoint end = tip;
    end.movePolar(r / 2, direction);
    lines.emplace_back(place(tip), place(end));
  }
  return lines;
}

void RubberRotater::draw(const lunvik::PolyPoint*, const lunvik::PolyPoint& cursor, bool drawFlag, bool) {
  if (drawFlag) angle_ = cursor.arcAngle();
  for (const CadLine& line : figure(angle_))
    if (!drawLine(line.start(), line.end())) return;
}

}  // namespace varnholt
