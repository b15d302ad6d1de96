// Building a custom-profile library part: the clicks that place and turn the user's polygon,
// the lathe's axis checks, the part's sizes, its put list and hotspots, and the save.
#pragma once

#include <cstdint>

#include "geometry/cad_point.h"
#include "geometry/cad_poly.h"
#include "platform/host_types.h"
#include "profiles/profile_writer.h"
#include "runtime/cad_string.h"

namespace lunvik {
class Library;
class ParametricSource;
}  // namespace lunvik

namespace varnholt {

// The product's creator code of the part files it writes.
constexpr uint32_t kPartFileCreator = platform::fourcc("Vrnh");
// The own identifier that makes the host give a part it saves a new one.
constexpr const char* kNewPartIdentifier =
    "{00000000-0000-0000-0000-000000000000}-{00000000-0000-0000-0000-000000000000}";

// What can stop a profile part from being built.
enum class ProfileProblem : int {
  none = 0,
  cancelled,      // a click was cancelled
  axisCuts,       // a lathe's axis runs through the profile (error 17)
  edgeOnAxis,     // a lathe's straight edge lies on its axis (error 18)
  noProfileBlock, // the template's 3D script has no profile block
  notSaved,       // the library refused the part
};

// Why a polygon cannot be a profile; none when it can.
enum class PolygonProblem : int { none = 0, tooFewVertices, notFinite, crossesItself, noArea };

// The name of the built-in template of a kind: "Custom Timber", "Extruded Timber" or "Lathe
// Timber" (string list 32521).
lunvik::CadString profileTemplateName(ProfileKind kind);
// The add-on's file resource that holds the template of a kind.
int32_t profileTemplateResource(ProfileKind kind);

// Checks a polygon drawn for a profile: its outline and every hole have three vertices at least,
// every coordinate and arc is a finite number, no edge crosses another, and it encloses an area.
PolygonProblem checkProfilePolygon(const lunvik::CadPoly& polygon);
// The item of error list 32524 that tells the user about a polygon problem.
int32_t polygonProblemMessage(PolygonProblem problem);

// A lathe outline turned so that its axis runs along y through the origin: error 17 when it
// reaches across the axis, 18 when a straight edge lies on it; otherwise mirrored onto the
// negative side of x when it lies on the positive side. False (polygon unchanged) with the
// problem.
bool settleLatheOutline(lunvik::CadPoly& polygon, ProfileProblem& problem);

// The sizes a profile part takes from its polygon's box (m the box's minimum corner, W and H
// its extents) and the Depth, Length or Sweep value D.
struct ProfileSizes {
  double a = 0;
  double b = 0;
  double height = 0;
  double length = 0;
  double profWide = 0;
  double profDeep = 0;
};
ProfileSizes profileSizes(ProfileKind kind, const lunvik::CadPoint& minimum, double width, double height, double value);

// The part made from the polygon once its clicks are known (the anchor, and the second point
// of the primary axis, which a section does without): the polygon and the anchor turned and
// moved into the part's coordinates, the put list written and the parameter defaults and box
// sizes set. outPoint is the placement point, which a lathe moves along its axis to where the
// profile starts; outAngle the plan direction of the primary axis less a quarter turn. False
// with the problem, source unchanged.
bool shapeProfilePart(lunvik::ParametricSource& source, lunvik::CadPoly polygon, lunvik::CadPoint anchor,
                      const lunvik::CadPoint& second, ProfileKind kind, double value, lunvik::CadPoint& outPoint,
                      double& outAngle, ProfileProblem& problem);

// Builds the library part: asks for the anchor (and, but for a section, the primary axis),
// shapes the part and saves it through library. On success outPoint and outAngle hold the
// placement point and the axis angle; false with the problem otherwise, the part not saved.
// The alerts of the lathe checks are shown here.
bool buildProfilePart(lunvik::Library& library, lunvik::ParametricSource& source, const lunvik::CadPoly& polygon,
                      ProfileKind kind, double value, lunvik::CadPoint& outPoint, double& outAngle,
                      ProfileProblem& problem);

}  // namespace varnholt
