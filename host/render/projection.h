// How a view sees the model: a parallel projection onto the picture's frame (x to the right,
// y up) with a depth that grows toward the viewer, so that what is drawn later, nearer, hides
// what lies behind it.
#pragma once

#include "host/bodies/body_generator.h"
#include "host/render/picture.h"

namespace standin {

class Projection {
 public:
  // The plan seen from above: the model's x and y; the depth is the height.
  static Projection plan();
  // A section or elevation: x along the cut line from its first point, y up; the viewer looks
  // across the line to its left (where a view's "across" coordinate grows).
  static Projection cutLine(double x1, double y1, double x2, double y2);
  // The frame of a section's own elements (x along the cut line, y across it, z up), seen as
  // the section shows them.
  static Projection viewFrame();
  // An axonometric view from the direction of azimuth (radians, counter-clockwise from +x in
  // the plan) and elevation above the horizon.
  static Projection axonometric(double azimuth, double elevation);

  // Where a model point lands in the picture.
  PicturePoint project(const Vec3& p) const;
  // How near a model point is to the viewer (larger: nearer).
  double depth(const Vec3& p) const;
  // A model direction's component toward the viewer (a face whose normal has none faces away).
  double toward(const Vec3& direction) const;

 private:
  Vec3 origin_;
  Vec3 right_{1, 0, 0};
  Vec3 up_{0, 1, 0};
  Vec3 toward_{0, 0, 1};
};

}  // namespace standin
