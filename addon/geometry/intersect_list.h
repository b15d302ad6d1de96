// The collector of intersection points, filtered by two templates of accepted codes.
#pragma once

#include <cstddef>
#include <memory>

#include "geometry/inter_point.h"
#include "runtime/containers.h"

namespace lunvik {

// Collects intersection points, the most recently added first. Each side's template holds
// the mask of accepted codes (0 accepts every code and asks for none to be computed) and
// the edge and ring indices that added points take over. While swapped, the shapes that
// compute codes play the other side: their first code belongs to the second side.
class IntersectList {
 public:
  IntersectList() = default;
  IntersectList(const Intercept& first, const Intercept& second) : first_(first), second_(second) {}
  IntersectList(const IntersectList&) = delete;
  IntersectList& operator=(const IntersectList&) = delete;
  virtual ~IntersectList();

  // The template of side 0 (first) or 1 (second).
  Intercept& templ(int side) { return side == 0 ? first_ : second_; }
  const Intercept& templ(int side) const { return side == 0 ? first_ : second_; }
  // The template of that side has a non-zero mask.
  bool wants(int side) const { return templ(side).code != 0; }
  // The mask of that side is 0 or has a bit of the code.
  bool accepts(int side, int code) const {
    const int mask = templ(side).code;
    return mask == 0 || (mask & code) != 0;
  }
  // The list side that the code a shape computes for its own side `callSide` lands on.
  int listSide(int callSide) const { return swapped_ ? 1 - callSide : callSide; }
  // wants() for the code a shape computes for its own side `callSide`.
  bool wantsFor(int callSide) const { return wants(listSide(callSide)); }
  // True when add() would keep a point with these codes (as computed by the shapes).
  bool wouldAccept(int firstCode, int secondCode) const {
    return swapped_ ? accepts(0, secondCode) && accepts(1, firstCode)
                    : accepts(0, firstCode) && accepts(1, secondCode);
  }
  // Takes ownership; fills the indices from the templates, exchanges the codes when
  // swapped, and keeps the point (at the front) when both sides accept it, else deletes it.
  bool add(InterPoint* point);
  bool add(std::unique_ptr<InterPoint> point) { return add(point.release()); }
  bool isSwapped() const { return swapped_; }
  void toggleSwapped() { swapped_ = !swapped_; }
  // Removes an entry when a later one has the same rings and lies within the tolerance in plan.
  void removeDuplicates(double tolerance);

  // The accepted points, the most recent first.
  List<InterPoint>& points() { return points_; }
  const List<InterPoint>& points() const { return points_; }
  std::size_t count() const { return points_.size(); }
  InterPoint& at(std::size_t i) { return points_.at(i); }
  const InterPoint& at(std::size_t i) const { return points_.at(i); }
  // Deletes the point at index i.
  void erase(std::size_t i) { points_.erase(i); }
  // Deletes every point.
  void clear() { points_.clear(); }

 private:
  List<InterPoint> points_;
  Intercept first_;
  Intercept second_;
  bool swapped_ = false;
};

}  // namespace lunvik
