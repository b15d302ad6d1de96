#include "geometry/poly_point.h"

namespace lunvik {

PolyPoint::~PolyPoint() = default;

std::unique_ptr<CadPoint> PolyPoint::clone() const { return std::make_unique<PolyPoint>(*this); }

}  // namespace lunvik
