#include "host/render/projection.h"

#include <cmath>

namespace standin {

namespace {

double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 unit(const Vec3& a) {
  double l = std::sqrt(dot(a, a));
  return l > 0 ? Vec3{a.x / l, a.y / l, a.z / l} : Vec3{1, 0, 0};
}

}  // namespace

Projection Projection::plan() { return Projection(); }

Projection Projection::cutLine(double x1, double y1, double x2, double y2) {
  Projection p;
  p.origin_ = {x1, y1, 0};
  p.right_ = unit({x2 - x1, y2 - y1, 0});
  p.up_ = {0, 0, 1};
  // right x up: the viewer stands on the line's right and looks to its left.
  p.toward_ = cross(p.right_, p.up_);
  return p;
}

Projection Projection::viewFrame() {
  Projection p;
  p.up_ = {0, 0, 1};
  p.toward_ = {0, -1, 0};
  return p;
}

Projection Projection::axonometric(double azimuth, double elevation) {
  Projection p;
  p.toward_ = {std::cos(elevation) * std::cos(azimuth), std::cos(elevation) * std::sin(azimuth), std::sin(elevation)};
  p.right_ = unit(cross({0, 0, 1}, p.toward_));
  p.up_ = cross(p.toward_, p.right_);
  return p;
}

PicturePoint Projection::project(const Vec3& p) const {
  Vec3 d{p.x - origin_.x, p.y - origin_.y, p.z - origin_.z};
  return {dot(d, right_), dot(d, up_)};
}

double Projection::depth(const Vec3& p) const {
  return dot({p.x - origin_.x, p.y - origin_.y, p.z - origin_.z}, toward_);
}

double Projection::toward(const Vec3& direction) const { return dot(direction, toward_); }

}  // namespace standin
