// The rotate tool's feedback: the circle a member's end sweeps about the axis, seen tilted by
// the angle the cursor sets, with a radius and an arrowhead.
#pragma once

#include <vector>

#include "geometry/cad_line.h"
#include "geometry/cad_point.h"
#include "interaction/rubber_bander.h"

namespace varnholt {

class RubberRotater : public lunvik::RubberBander {
 public:
  // The axis starts at origin and runs in the plan direction azimuth; radius the distance of
  // its two clicked points.
  RubberRotater(const lunvik::CadPoint& origin, double azimuth, double radius);

  // On a draw call the angle becomes the cursor's arc angle; an erase call draws the figure
  // of the draw call before it again.
  void draw(const lunvik::PolyPoint* last, const lunvik::PolyPoint& cursor, bool drawFlag, bool accepted) override;

  // The figure's lines at an angle, in the model: the tilted circle (36 lines), the radius and
  // the two lines of the arrowhead.
  std::vector<lunvik::CadLine> figure(double angle) const;
  double angle() const { return angle_; }

 private:
  lunvik::CadPoint origin_;
  double azimuth_;
  double radius_;
  double angle_ = 0;
};

}  // namespace varnholt
