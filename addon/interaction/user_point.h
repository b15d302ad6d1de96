// The kind of vertex a user path makes from the user's clicks.
#pragma once

#include <memory>

#include "geometry/poly_point.h"

namespace lunvik {

// A clicked vertex. Tools subclass it when a vertex stands for a position that depends on the
// vertex after it, or when it offers a guide alternative positions to choose from.
class UserPoint : public PolyPoint {
 public:
  using PolyPoint::PolyPoint;
  UserPoint() = default;
  explicit UserPoint(const PolyPoint& point) : PolyPoint(point) {}
  UserPoint(const UserPoint&) = default;
  UserPoint& operator=(const UserPoint&) = default;
  ~UserPoint() override;

  std::unique_ptr<CadPoint> clone() const override;
  // The position this vertex stands for when next follows it (a plain user point: itself).
  virtual PolyPoint positionFor(const PolyPoint& next) const;
  // Alternative index of this vertex for a guide to choose from, alternative 0 being the
  // vertex itself; null past the last (a plain user point offers only itself).
  virtual std::unique_ptr<UserPoint> alternative(int index) const;
};

}  // namespace lunvik
