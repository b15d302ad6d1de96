// The end cuts of a member as planes in its local frame.
#pragma once

#include "geometry/cad_point.h"
#include "geometry/plane.h"
#include "geometry/vector3.h"
#include "runtime/containers.h"

namespace varnholt {

// One cut plane of a member: a point on it and its unit normal. The side the normal points
// to is cut away.
class SplitPlane : public lunvik::Plane {
 public:
  SplitPlane(const lunvik::CadPoint& point, const lunvik::Vector3& normal);

  // The point the plane was built through.
  const lunvik::CadPoint& point() const { return point_; }
  // True when the point lies on the cut-away side, farther than the tolerance.
  bool cutsAway(const lunvik::CadPoint& point, double tolerance) const;

  // The plane of one cut: a0 turns the cut about the member's axis, a1 tilts it, offset
  // places it. The normal is (sin a1, 0, cos a1) turned about x by a0. A lengthwise cut
  // (|sin a1| within the tolerance) passes through base moved by offset along the normal;
  // any other through base moved along x by offset, or by length - offset for a cut that
  // faces the far end (sin a1 positive).
  static SplitPlane fromCut(double a0, double a1, double offset, double length, const lunvik::CadPoint& base);
  // The normal of a cut of angles a0 and a1.
  static lunvik::Vector3 cutNormal(double a0, double a1);

 private:
  lunvik::CadPoint point_;
};

// The cut planes of a member in cut index order.
class CutList : public lunvik::Vector<SplitPlane> {};

}  // namespace varnholt
