// The framework's two-ring clipping routine: boolean operations between polygons with holes.
#pragma once

#include <memory>
#include <vector>

namespace lunvik {

class CadPoly;

// Boolean operations between two regions, each an outline with holes. Arc edges are
// flattened first (CadPoly::flattenArcs, within 2 mm of the arc); a ring that no edge of the
// other region touches keeps its arcs in the result.
//
// Both regions' boundaries are cut at every crossing and touching point (points within the
// tolerance are merged), each piece is classified by the other region (inside, outside,
// shared in the same or the opposite direction), the pieces the operation keeps are linked
// into rings taking the leftmost turn at every junction, the rings are cut into simple
// loops, and the clockwise loops become holes of the counter-clockwise ones around them.
class PolyClipper {
 public:
  enum Operation { kIntersection, kUnion, kDifference };

  // Appends the pieces of a op b to result (outlines counter-clockwise, holes clockwise);
  // false, with nothing appended, when either outline is not a valid closed ring.
  static bool clip(const CadPoly& a, const CadPoly& b, Operation op, double tolerance,
                   std::vector<std::unique_ptr<CadPoly>>& result);
};

}  // namespace lunvik
