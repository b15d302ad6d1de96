// The axis of a constant-section member (kinds ROUN, EXTR and SECT) as the host draws it:
// straight, with its far end moved by `hEnd` and `vEnd`, or bent by `hPath` (in plan, y) and
// `vPath` (in elevation, z), with straight extensions along its end tangents and turned by
// `twist` about the member's x axis. The add-on lays out a member's joints along the same
// axis, so the body, its volume and the member's schedule length agree.
#pragma once

#include <vector>

#include "host/bodies/body_generator.h"

namespace standin {

// What shapes a member's axis.
struct MemberAxis {
  double length = 0;       // chord of the axis
  double hPath = 0;        // rise of the bend in plan (y), 0 straight
  double vPath = 0;        // rise of the bend in elevation (z), 0 straight
  double hEnd = 0;         // sideways offset of the far end
  double vEnd = 0;         // vertical offset of the far end
  double startExtend = 0;  // straight piece before the start, along the start tangent
  double endExtend = 0;    // straight piece after the end, along the end tangent
  double twist = 0;        // turn of the whole member about its x axis
  double tolerance = 0.002;  // largest chord error of a bend (`arcToler`)
};

// The axis parameters of a member's values (missing ones 0, `arcToler` 0.002).
MemberAxis memberAxisOf(const ParameterValues& values);
// True for the plain straight axis (0,0,0)-(length,0,0): no bend and no end offset.
bool isPlainAxis(const MemberAxis& axis);
// The axis points in the member's frame before the twist: a bend of chord c and rise s is an
// arc of angle 4 (pi/2 - atan(c / 2s)), in as many equal segments as keep it within the
// tolerance (at least two); with both bends the plan bend runs over the developed length of
// the elevation bend and is scaled back along x onto the chord. The end offsets are spread in
// equal steps over the points.
std::vector<Vec3> axisPoints(const MemberAxis& axis);
// The point turned by angle about the x axis.
Vec3 turnedAboutX(const Vec3& p, double angle);

}  // namespace standin
