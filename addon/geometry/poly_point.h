// A polygon vertex: a point carrying the arc of the edge that ends at it.
#pragma once

#include <cmath>
#include <memory>

#include "geometry/cad_point.h"

namespace lunvik {

// A polygon vertex: the arc angle of the edge ending here (0 straight, positive
// counter-clockwise) and the vertex's id within its polygon (0 = none yet).
class PolyPoint : public CadPoint {
 public:
  PolyPoint() = default;
  PolyPoint(double x, double y, double z, double arcAngle = 0.0, int vertexId = 0)
      : CadPoint(x, y, z), arcAngle_(arcAngle), vertexId_(vertexId) {}
  PolyPoint(const CadPoint& point, double arcAngle, int vertexId)
      : CadPoint(point), arcAngle_(arcAngle), vertexId_(vertexId) {}
  // From a plan coordinate (z 0).
  PolyPoint(const platform::Coord2D& coord, double arcAngle, int vertexId)
      : CadPoint(coord, 0.0), arcAngle_(arcAngle), vertexId_(vertexId) {}
  PolyPoint(const PolyPoint&) = default;
  PolyPoint& operator=(const PolyPoint&) = default;
  ~PolyPoint() override;

  std::unique_ptr<CadPoint> clone() const override;

  double arcAngle() const { return arcAngle_; }
  void setArcAngle(double a) { arcAngle_ = a; }
  int vertexId() const { return vertexId_; }
  void setVertexId(int id) { vertexId_ = id; }
  // The edge ending here is an arc: |arcAngle| above the tolerance.
  bool isArc(double tolerance) const { return std::fabs(arcAngle_) > tolerance; }

 private:
  double arcAngle_ = 0.0;
  int vertexId_ = 0;
};

}  // namespace lunvik
