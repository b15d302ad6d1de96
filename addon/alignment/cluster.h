// The elements that move as one when a selection is aligned, and the arithmetic that aligns
// and distributes them along X, Y and Z.
#pragma once

#include <vector>

#include "geometry/cad_cube.h"
#include "geometry/cad_point.h"
#include "model/element_link.h"
#include "prefs/align_prefs.h"
#include "runtime/containers.h"

namespace varnholt {

// The part of a box an origin refers to: begin 0, middle 0.5, end 1, equal 0.
double referenceFraction(AlignPreset::Origin origin);

// Elements that move together: their links, the union of their boxes, the offset they move by
// and the key they are sorted by.
class Cluster {
 public:
  // A cluster of one element and its box.
  Cluster(const lunvik::ElementLink& link, const lunvik::CadCube& box);

  // Adds an element and widens the box by its box.
  void add(const lunvik::ElementLink& link, const lunvik::CadCube& box);
  const std::vector<lunvik::ElementLink>& members() const { return members_; }
  // The union of the members' boxes, normalised.
  const lunvik::CadCube& box() const { return box_; }
  // The box's low side along an axis (0 x, 1 y, 2 z).
  double minimum(int axis) const { return box_.min()[axis]; }
  double size(int axis) const { return box_.size(axis); }
  // The distance the cluster moves.
  const lunvik::CadPoint& offset() const { return offset_; }
  lunvik::CadPoint& offset() { return offset_; }
  // True when the offset is zero within the tolerance along every axis.
  bool stays() const;

  // The value the cluster is sorted by when distributed.
  double key = 0.0;

 private:
  std::vector<lunvik::ElementLink> members_;
  lunvik::CadCube box_;
  lunvik::CadPoint offset_;
};

// The clusters of one run, in the order they were made.
class ClusterList : public lunvik::List<Cluster> {
 public:
  // The union of the clusters' boxes (an empty box when there are none).
  lunvik::CadCube overall() const;
  // Sets every cluster's offset from the preset: each axis aligned, distributed or left alone,
  // the offsets of the axes adding up.
  void arrange(const AlignPreset& preset);
  // Moves the clusters' reference points along an axis onto the overall box's.
  void align(int axis, AlignPreset::Origin origin, const lunvik::CadCube& overall);
  // Spreads the clusters along an axis in the order of their reference points: with equal
  // gaps packed from the overall box's low side (Equal), else with equal steps from the first
  // cluster's reference point to the place where the last one meets the overall box's end.
  void distribute(int axis, AlignPreset::Origin origin, const lunvik::CadCube& overall);
};

}  // namespace varnholt
