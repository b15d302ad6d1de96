#include "interaction/user_point.h"

namespace lunvik {

UserPoint::~UserPoint() = default;

std::unique_ptr<CadPoint> UserPoint::clone() const { return std::make_unique<UserPoint>(*this); }

PolyPoint UserPoint::positionFor(const PolyPoint&) const { return PolyPoint(*this); }

std::unique_ptr<UserPoint> UserPoint::alternative(int index) const {
  if (index != 0) return nullptr;
  std::unique_ptr<CadPoint> copy = clone();
  return std::unique_ptr<UserPoint>(static_cast<UserPoint*>(copy.release()));
}

}  // namespace lunvik
