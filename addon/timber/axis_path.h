// Member axes: the polylines along which a member runs in its local frame (x along the axis),
// and the walk along them that clips them by the cut planes and measures distances.
#pragma once

#include <vector>

#include "geometry/cad_point.h"
#include "geometry/cad_poly.h"
#include "timber/cut_list.h"

namespace varnholt {

// The arc tolerance of curved axes when the member has none.
constexpr double kDefaultArcTolerance = 0.002;

// The straight axis (0,0,0) to (length,0,0).
std::vector<lunvik::CadPoint> straightAxis(double length);

// The axis of a curved member: a half circle over the chord (0,0,0)-(length,0,0) rising in z,
// divided so that no chord strays from the arc by more than tolerance.
std::vector<lunvik::CadPoint> curvedAxis(double length, double tolerance);

// What shapes the axis of a constant-section member.
struct ProfiledAxis {
  double length = 0;       // chord of the axis
  double hPath = 0;        // rise of the bend in plan (y), 0 straight
  double vPath = 0;        // rise of the bend in elevation (z), 0 straight
  double hEnd = 0;         // sideways offset of the far end
  double vEnd = 0;         // vertical offset of the far end
  double startExtend = 0;  // straight piece before the start, along the start tangent
  double endExtend = 0;    // straight piece after the end, along the end tangent
  double twist = 0;        // turn of every point about the axis
  double tolerance = kDefaultArcTolerance;  // largest chord error of the bend
  lunvik::CadPoint start;  // the axis start offset added to every point
};

// The axis of a constant-section member: straight (far end moved by hEnd and vEnd) when both
// rises are within the tolerance, else bent. A compound bend runs the plan arc over the
// developed length of the elevation arc and scales it back along x onto the chord.
std::vector<lunvik::CadPoint> profiledAxis(const ProfiledAxis& axis);

// Arc angle and radius of a bend of chord c and rise s (both positive); false when either is
// within the tolerance.
bool bendArc(double chord, double rise, double& angle, double& radius);
// The number of equal segments that keeps an arc of the angle and radius within tolerance of
// its chords, at least minimum.
int arcSegments(double angle, double radius, double tolerance, int minimum);

// An axis polyline as a run of segments with a present flag each, clipped by cut planes.
class AxisWalk {
 public:
  struct Segment {
    lunvik::CadPoint start;
    lunvik::CadPoint end;
    lunvik::CadPoint clippedStart;
    lunvik::CadPoint clippedEnd;
    bool present = true;
    double length() const { return start.distance(end); }
  };

  explicit AxisWalk(const std::vector<lunvik::CadPoint>& points);

  // One segment per consecutive pair of points.
  const std::vector<Segment>& segments() const { return segments_; }
  // True with at least one segment.
  bool isValid() const { return !segments_.empty(); }
  // The unclipped length of the path.
  double totalLength() const;
  // The point at a distance along the unclipped path (clamped to its ends).
  lunvik::CadPoint pointAt(double distance) const;
  // Cuts the path by a plane: the side its normal points to goes.
  void clip(const SplitPlane& plane, double tolerance);
  // The distance of the clipped start from the path's start, the distance of the clipped end
  // from the path's start and the clipped end points; false when no segment is present.
  bool clippedExtent(double& startDistance, double& endDistance, lunvik::CadPoint& first,
                     lunvik::CadPoint& last) const;
  // The length between the earliest and the latest projection of the vertices onto the
  // path (each onto its nearest segment); false without vertices or segments.
  bool developedLength(const std::vector<lunvik::CadPoint>& vertices, double& length) const;

 private:
  std::vector<Segment> segments_;
};

// A polyline of the points (an open polygon).
std::unique_ptr<lunvik::CadPoly> polylineOf(const std::vector<lunvik::CadPoint>& points);
// The points of a polyline.
std::vector<lunvik::CadPoint> pointsOf(const lunvik::CadPoly& polyline);

}  // namespace varnholt
