// Intersection points and the record of where such a point lies on each shape.
#pragma once

#include <memory>

#include "geometry/cad_point.h"

namespace lunvik {

// Where an intersection point lies on one shape: its location code there and, for a
// polygon, the vertex that ends the edge hit and the ring (0 the outline, k + 1 hole k).
// In an IntersectList it is a filter template: code is the mask of accepted codes.
struct Intercept {
  int code = 0;
  int edgeIndex = 0;
  int ringIndex = 0;
};

// An intersection point: first describes it on the shape whose intersection was asked,
// second on the shape passed to it.
class InterPoint : public CadPoint {
 public:
  InterPoint() = default;
  InterPoint(const CadPoint& point, int firstCode, int secondCode);
  InterPoint(const InterPoint&) = default;
  InterPoint& operator=(const InterPoint&) = default;
  ~InterPoint() override;

  std::unique_ptr<CadPoint> clone() const override;

  Intercept& first() { return first_; }
  const Intercept& first() const { return first_; }
  Intercept& second() { return second_; }
  const Intercept& second() const { return second_; }
  // The intercept of side 0 (first) or 1 (second).
  Intercept& intercept(int side) { return side == 0 ? first_ : second_; }
  const Intercept& intercept(int side) const { return side == 0 ? first_ : second_; }

 private:
  Intercept first_;
  Intercept second_;
};

}  // namespace lunvik
