// An axis-aligned box.
#pragma once

#include "geometry/cad_point.h"
#include "platform/geometry_records.h"

namespace lunvik {

// An axis-aligned box between two corners; after normalise() the first holds the minimum
// and the second the maximum of each coordinate. Location codes: 1 outside, 4 near a
// corner, 16 otherwise.
class CadCube {
 public:
  CadCube() = default;
  CadCube(const CadPoint& first, const CadPoint& second) : first_(first), second_(second) {}
  CadCube(const CadCube&) = default;
  CadCube& operator=(const CadCube&) = default;

  virtual ~CadCube();
  // The first corner.
  virtual CadPoint& min();
  // The second corner.
  virtual CadPoint& max();
  // (first + second) / 2.
  virtual CadPoint centre() const;
  // A point of the 3 x 3 plan grid on the base, numbered from the minimum along x first.
  virtual CadPoint anchorPoint(int anchor) const;
  // 0 width, 1 depth, 2 height; any other axis throws std::out_of_range.
  virtual double size(int axis) const;
  virtual double width() const;
  virtual double depth() const;
  virtual double height() const;
  virtual double maxDimension() const;
  virtual void setMin(const CadPoint& point);
  virtual void setMax(const CadPoint& point);
  // Moves the box so that its centre is the point.
  virtual void centreAt(const CadPoint& point);
  // Widens the box by both corners of the other.
  virtual void add(const CadCube& box);
  // Normalises, then widens each axis whose value lies outside.
  virtual void add(const CadPoint& point);
  virtual void normalise();
  // Scales the box about its centre.
  virtual void scale(double factor);
  // Normalises, then moves both corners out by the margin.
  virtual void grow(double margin);
  // equals(box, 0.00001).
  virtual bool operator==(const CadCube& box) const;
  virtual bool operator!=(const CadCube& box) const;
  virtual CadCube operator+(const CadPoint& offset) const;
  virtual CadCube& operator+=(const CadPoint& offset);
  virtual CadCube operator-(const CadPoint& offset) const;
  virtual CadCube& operator-=(const CadPoint& offset);
  virtual CadCube operator*(double s) const;
  virtual CadCube& operator*=(double s);
  // The host's plan box record of the normalised box.
  virtual platform::BoxRecord getBox() const;
  // Corner by corner equal (0.00001).
  virtual bool equals(const CadCube& box, double tolerance) const;
  // Location code in space.
  virtual int locate(const CadPoint& point, double tolerance) const;
  // Corner by corner equal in plan (0.00001).
  virtual bool equals2D(const CadCube& box, double tolerance) const;
  // Location code in plan.
  virtual int locate2D(const CadPoint& point, double tolerance) const;
  // The normalised boxes share a point (touching counts) within 0.00001.
  virtual bool overlaps(const CadCube& box) const;
  // As overlaps, in plan.
  virtual bool overlaps2D(const CadCube& box) const;
  // width . depth
  virtual double area() const;
  // width . depth . height
  virtual double volume() const;

  const CadPoint& min() const { return first_; }
  const CadPoint& max() const { return second_; }

 private:
  CadPoint first_;
  CadPoint second_;
};

}  // namespace lunvik
