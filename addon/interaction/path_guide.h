// Guides of a user path: what may veto or replace the vertices the user clicks.
#pragma once

#include "geometry/poly_point.h"

namespace lunvik {

// The base guide accepts every vertex. A guide is asked about each candidate vertex of a path
// (the cursor while it moves, a vertex being added) and may turn down positions; the path then
// offers it the candidate's alternatives in turn.
class PathGuide {
 public:
  virtual ~PathGuide();
  // Called with each candidate vertex before its alternatives are tested.
  virtual bool start(const PolyPoint& candidate);
  // Whether the vertex (the candidate or one of its alternatives) is acceptable.
  virtual bool accepts(const PolyPoint& vertex);
};

}  // namespace lunvik
