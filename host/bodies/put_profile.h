// The profile a library part's 3D script lists with `put` (README.md, "3D bodies"): rows of
// x, y and a status, read as the add-on writes them for its profile parts, and the triangles
// that fill it.
//
// A status below 1 is its own class, any other is the status divided by 100: class 0 (15, 2,
// 79, 1, ...) a vertex after a straight edge; 1 a vertex relative to the one before; 7 back to
// the contour's first vertex; 9 (915, 902) an arc's centre; 40 (4015, 4002) an arc about that
// centre from the vertex before, turning by the row's y in degrees, to a new vertex; -1 the end
// of a contour, the next one a hole. Other classes are passed over.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace standin {

using Point2 = std::pair<double, double>;

// One contour: its points (arcs turned into facets), the last joined to the first.
using Contour = std::vector<Point2>;

// A profile: the outline first, then the holes; empty when the script lists none.
struct PutProfile {
  std::vector<Contour> contours;
};

// The farthest a profile point may lie from the part's origin: beyond it the list is no
// timber's, and its area and volume would overflow.
constexpr double kFarthestProfilePoint = 1e6;

// Reads the profile of a 3D script: the rows between the lines "!LUNVIK_PROFILE_START" and
// "!LUNVIK_PROFILE_END" when it has them, else those of its `put` statements (a statement runs
// to the end of its line, a line ending with a comma continues it; text after '!' is a
// comment). Arcs become facets no farther than tolerance from the arc. A field that is not a
// number, a number beyond kFarthestProfilePoint or an incomplete row make the whole list
// unreadable: the profile is then empty.
PutProfile readPutProfile(const std::string& script3D, double tolerance);

// Triangles filling a contour with holes (ear clipping after bridging each hole to the
// outline), counter-clockwise. Contours of fewer than three points are passed over.
std::vector<std::vector<Point2>> fillProfile(const PutProfile& profile);

// The signed area of a contour (counter-clockwise positive).
double contourArea(const Contour& contour);

}  // namespace standin
