// Rubber banders: the feedback a user path draws while the host tracks the cursor, and the
// host's rubber lines they draw it with.
#pragma once

#include "geometry/poly_point.h"

namespace lunvik {

class CadArc;
class CadPoly;

// The base rubber bander draws nothing. The host calls a path's feedback in pairs: once to
// erase what the previous call drew (draw flag false), once to draw at the new cursor (draw
// flag true). Rubber lines are drawn exclusive-or, so an erase call must draw exactly the
// lines of the draw call before it: a bander that moves geometry with the cursor moves it
// only on draw calls.
class RubberBander {
 public:
  // The steps an arc is drawn in.
  static constexpr int kArcSteps = 36;

  virtual ~RubberBander();
  // Called before every input request of the path.
  virtual void begin();
  // Called on every cursor move: the position of the path's last vertex (null while the path
  // is empty), the cursor as a candidate vertex, the draw flag and whether the path's guide
  // accepted the position.
  virtual void draw(const PolyPoint* last, const PolyPoint& cursor, bool drawFlag, bool accepted);

  // ---- drawing, for rubber banders; each answers false when the host refused a line ----
  // One rubber line.
  static bool drawLine(const CadPoint& from, const CadPoint& to);
  // An arc in kArcSteps equal straight steps, stopping at a refused one; nothing for an arc
  // of no radius or sweep.
  static bool drawArc(const CadArc& arc);
  // The edge from a point to a vertex: straight when the vertex's arc angle is within the
  // tolerance of 0, else its arc.
  static bool drawEdge(const CadPoint& from, const PolyPoint& to);
  // A polygon's edges from the last one backwards (an open ring without its closing edge),
  // stopping at the first edge the host refuses.
  static bool drawPolygon(const CadPoly& polygon);
};

}  // namespace lunvik
