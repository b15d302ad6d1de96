#include "geometry/inter_point.h"

namespace lunvik {

InterPoint::InterPoint(const CadPoint& point, int firstCode, int secondCode) : CadPoint(point) {
  first_.code = firstCode;
  second_.code = secondCode;
}

InterPoint::~InterPoint() = default;

std::unique_ptr<CadPoint> InterPoint::clone() const { return std::make_unique<InterPoint>(*this); }

}  // namespace lunvik
