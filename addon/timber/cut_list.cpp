#include "timber/cut_list.h"

#include <cmath>

#include "geometry/tolerance.h"

namespace varnholt {

using lunvik::CadPoint;
using lunvik::Vector3;

SplitPlane::SplitPlane(const CadPoint& point, const Vector3& normal) : lunvik::Plane(point, normal), point_(point) {}

bool SplitPlane::cutsAway(const CadPoint& point, double tolerance) const { return distance(point) > tolerance; }

Vector3 SplitPlane::cutNormal(double a0, double a1) {
  double s1 = std::sin(a1), c1 = std::cos(a1);
  return Vector3(s1, -std::sin(a0) * c1, std::cos(a0) * c1);
}

SplitPlane SplitPlane::fromCut(double a0, double a1, double offset, double length, const CadPoint& base) {
  Vector3 normal = cutNormal(a0, a1);
  double s1 = std::sin(a1);
  if (std::fabs(s1) <= lunvik::kTolerance) {
    CadPoint through(base.getX() + normal.x * offset, base.getY() + normal.y * offset, base.getZ() + normal.z * offset);
    return SplitPlane(through, normal);
  }
  if (s1 > lunvik::kTolerance) offset = length - offset;
  return SplitPlane(CadPoint(base.getX() + offset, base.getY(), base.getZ()), normal);
}

}  // namespace varnholt
