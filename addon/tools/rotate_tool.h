// The rotate tool: turns the selected timber members about an axis the user picks, in three
// dimensions, rewriting each member's placement point, plan angle, `incline` and `swivel` so
// that its library part draws it in its new attitude.
#pragma once

#include <cstdint>
#include <memory>

#include "geometry/cad_line.h"
#include "geometry/rotater.h"
#include "model/drawing.h"
#include "runtime/subscriber.h"

namespace varnholt {

class Crafted;

// Timber members, and library-part objects that have a 3D model.
class IsRotateable : public lunvik::Drawing::Filter {
 public:
  explicit IsRotateable(bool selectedOnly = true) : Filter(selectedOnly, false) {}
  std::unique_ptr<Filter> clone() const override { return std::make_unique<IsRotateable>(*this); }
  bool accept(const lunvik::Element& element) const override;
};

// One rotation about an axis: the axis' origin and azimuth, the turns onto and off the axis
// and the turn by the angle (right-hand about the axis' direction by minus the angle).
class MemberRotation {
 public:
  MemberRotation(const lunvik::CadLine& axis, double angle);
  // Moves and turns one member; false (the member unchanged) when its `incline` or `swivel`
  // cannot be read. The member is written back to its drawing when store is set.
  bool rotate(Crafted& member, bool store) const;
  const lunvik::CadPoint& origin() const { return origin_; }
  double azimuth() const { return azimuth_; }

 private:
  lunvik::CadPoint origin_;
  double azimuth_ = 0;
  lunvik::ZRotater toAxis_;    // about z by minus the azimuth: the axis onto +x
  lunvik::ZRotater fromAxis_;  // about z by the azimuth
  lunvik::XRotater turn_;      // about x by minus the angle
};

// Turns one member about an axis by an angle and writes it back (the free rotation other
// commands use); false when the member is left as it was.
bool rotateMember(const lunvik::CadLine& axis, double angle, Crafted& member);

// The axis and angle in the plan: two clicks for the axis at the current storey's height, then
// the angle on the arc about its first point, with the rubber rotater. False when cancelled.
bool planRotationAxis(lunvik::Drawing& plan, lunvik::CadLine& axis, double& angle);
// The same in a section or elevation: the axis runs across the view, horizontally, from the
// first click; the angle is the arc's about it in the view. False when cancelled.
bool viewRotationAxis(lunvik::CutPlane& view, lunvik::CadLine& axis, double& angle);

// The command ('VRNH', 'ROTL').
class RotateTool : public lunvik::Subscriber {
 public:
  lunvik::EventSpec spec() const override;
  // Runs the tool on the current drawing; always takes the event.
  bool takeEvent(lunvik::Event& event) override;
  // The tool on a drawing; true when members were rotated.
  bool run(lunvik::Drawing& drawing);
};

}  // namespace varnholt
