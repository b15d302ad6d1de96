// A line segment in model space.
#pragma once

#include "geometry/cad_point.h"
#include "platform/geometry_records.h"

namespace lunvik {

class IntersectList;
class Matrix3x3;

// A line segment from start to end; its direction is end - start. Location codes: 0 off
// the line (or a degenerate line), 2 at the start, 8 at the end, 4 between, 16 on the line
// beyond the start, 1 on the line beyond the end.
class CadLine {
 public:
  CadLine() = default;
  CadLine(const CadPoint& start, const CadPoint& end) : start_(start), end_(end) {}
  // From a start point, a length and a plan angle.
  CadLine(const CadPoint& start, double length, double angle);
  // From the host's pair of plan coordinates and one height for both ends.
  CadLine(const platform::SegmentRecord& record, double z);
  CadLine(const CadLine&) = default;
  CadLine& operator=(const CadLine&) = default;

  virtual ~CadLine();
  virtual CadPoint& start();
  virtual const CadPoint& start() const;
  virtual CadPoint& end();
  virtual const CadPoint& end() const;
  // equals(line, 0.00001).
  virtual bool operator==(const CadLine& line) const;
  virtual bool operator!=(const CadLine& line) const;
  virtual CadLine operator+(const CadPoint& offset) const;
  // Both ends moved.
  virtual CadLine& operator+=(const CadPoint& offset);
  virtual CadLine operator-(const CadPoint& offset) const;
  virtual CadLine& operator-=(const CadPoint& offset);
  virtual CadLine operator*(const Matrix3x3& m) const;
  virtual CadLine operator*(double s) const;
  // Both ends m.p.
  virtual CadLine& operator*=(const Matrix3x3& m);
  // Both ends scaled about the origin.
  virtual CadLine& operator*=(double s);
  // The host's pair of plan coordinates: start, then end.
  virtual platform::SegmentRecord getCoords() const;
  // Plan direction from start to end, in [0, 2pi).
  virtual double azimuth() const;
  // Elevation from start to end.
  virtual double altitude() const;
  // The angle between the two directions, in [0, pi].
  virtual double angle(const CadLine& line) const;
  virtual CadPoint midpoint() const;
  // The height of the line over the point's plan position.
  virtual double zAt(const CadPoint& point) const;
  // Ends pairwise equal in either orientation; always compared with 0.00001.
  virtual bool equals(const CadLine& line, double tolerance) const;
  virtual double length() const;
  // The point of the infinite line nearest to the point, in space.
  virtual CadPoint footPoint(const CadPoint& point) const;
  // The foot point clamped to the segment.
  virtual CadPoint nearestPoint(const CadPoint& point) const;
  // Intersection in space; 1 when a point was added, else 0.
  virtual int intersect(const CadLine& line, IntersectList& list, double tolerance) const;
  // Location code in space.
  virtual int locate(const CadPoint& point, double tolerance) const;
  // The directions are parallel (0.00001).
  virtual bool isParallel(const CadLine& line) const;
  // locate is 2, 4 or 8.
  virtual bool isOn(const CadPoint& point, double tolerance) const;
  // Parallel, and line's start lies on this line's infinite line.
  virtual bool isCollinear(const CadLine& line, double tolerance) const;
  // As equals, in plan; always compared with 0.00001.
  virtual bool equals2D(const CadLine& line, double tolerance) const;
  virtual double length2D() const;
  // line.azimuth() - azimuth(), in [0, 2pi).
  virtual double turnAngle(const CadLine& line) const;
  // Foot of the perpendicular in plan (z 0); the start for a line without plan length.
  virtual CadPoint footPoint2D(const CadPoint& point) const;
  // The plan foot point clamped to the segment.
  virtual CadPoint nearestPoint2D(const CadPoint& point) const;
  // Intersection in plan (z 0); 1 when a point was added, else 0.
  virtual int intersect2D(const CadLine& line, IntersectList& list, double tolerance) const;
  // Location code in plan.
  virtual int locate2D(const CadPoint& point, double tolerance) const;
  // The plan equations are parallel; false when either line has none.
  virtual bool isParallel2D(const CadLine& line, double tolerance) const;
  // locate2D is 2, 4 or 8.
  virtual bool isOn2D(const CadPoint& point, double tolerance) const;
  // Parallel in plan, and line's start lies on this line's plan equation.
  virtual bool isCollinear2D(const CadLine& line, double tolerance) const;
  // Both ends moved by a plan polar offset.
  virtual void movePolar(double length, double angle);
  // Both ends moved by a polar offset in space.
  virtual void movePolar(double length, double azimuth, double altitude);
  // Exchanges start and end.
  virtual void reverse();

 private:
  CadPoint start_;
  CadPoint end_;
};

}  // namespace lunvik
