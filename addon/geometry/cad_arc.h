// A circular arc in model space.
#pragma once

#include <memory>

#include "geometry/cad_point.h"
#include "geometry/vector3.h"

namespace lunvik {

class CadCube;
class CadLine;
class IntersectList;
class Leveller;
class Matrix3x3;
class Plane;
class PolyPoint;

// A circular arc: centre, axis (the normal of its plane), radius, start angle and signed
// sweep. Angles are measured in the arc's plane after levelling the axis to +Z, from +X
// counter-clockwise; a positive sweep runs counter-clockwise. Location codes: 0 invalid,
// 1 outside the circle, 16 inside it, 2 at the start, 8 at the end, 4 on the arc, 32 on
// the circle outside the arc.
class CadArc {
 public:
  // An invalid arc at the origin in plan.
  CadArc() = default;
  // The full description.
  CadArc(const CadPoint& centre, const Vector3& axis, double radius, double startAngle, double sweep);
  // Around a centre from a start point to the direction of an end point, in plan.
  CadArc(const CadPoint& centre, const CadPoint& start, const CadPoint& end, bool clockwise);
  // The arc of a polygon edge from a start point to an end vertex carrying the arc angle.
  CadArc(const CadPoint& start, const PolyPoint& end);
  // Through three points: the start, a point on the arc and the end; invalid when collinear.
  CadArc(const CadPoint& p1, const CadPoint& p2, const CadPoint& p3);
  CadArc(const CadArc&) = default;
  CadArc& operator=(const CadArc&) = default;

  virtual ~CadArc();
  // A heap copy.
  virtual std::unique_ptr<CadArc> clone() const;
  virtual CadPoint& centre();
  virtual const CadPoint& centre() const;
  virtual Vector3& axis();
  // The point at the start angle.
  virtual CadPoint startPoint() const;
  // A vertex at the end angle whose arc angle is the sweep, ready to close a polygon edge.
  virtual PolyPoint endPoint() const;
  virtual double radius() const;
  virtual double startAngle() const;
  virtual double sweep() const;
  // startAngle + sweep.
  virtual double endAngle() const;
  // Kept for the slot order; answers 0.
  virtual double spare() const;
  // Radius and |sweep| above the tolerance and a non-zero axis.
  virtual bool isValid(double tolerance) const;
  // The plane through the centre with the axis as normal (the ground plane for a zero axis).
  virtual Plane plane() const;
  // The box of the arc; null when the axis is not vertical.
  virtual std::unique_ptr<CadCube> boundingBox() const;
  virtual void setAxis(const Vector3& v);
  virtual void setRadius(double r);
  virtual void addRadius(double dr);
  // Moves the start; the sweep is kept, so the end moves with it.
  virtual void setStartAngle(double a);
  virtual void setSweep(double s);
  // sweep := a - startAngle.
  virtual void setEndAngle(double a);
  // Rotates the arc about its centre: startAngle += da.
  virtual void turn(double da);
  // equals(arc, 0.00001).
  virtual bool operator==(const CadArc& arc) const;
  virtual bool operator!=(const CadArc& arc) const;
  virtual CadArc operator+(const CadPoint& offset) const;
  // Moves the centre.
  virtual CadArc& operator+=(const CadPoint& offset);
  virtual CadArc operator-(const CadPoint& offset) const;
  virtual CadArc& operator-=(const CadPoint& offset);
  virtual CadArc operator*(const Matrix3x3& m) const;
  virtual CadArc operator*(double s) const;
  // The image of the arc under m: centre, axis and start point mapped, the axis kept up.
  virtual CadArc& operator*=(const Matrix3x3& m);
  // Centre scaled about the origin, radius by |s| (a negative factor turns the arc by pi).
  virtual CadArc& operator*=(double s);
  // The point halfway along the arc.
  virtual CadPoint midpoint() const;
  // Where the arc crosses the plane; the number of points added.
  virtual int intersect(const Plane& plane, IntersectList& list, double tolerance) const;
  // |sweep| . radius.
  virtual double length() const;
  // Same centre, parallel axes, same radius, same |sweep| and same lower end angle.
  virtual bool equals(const CadArc& arc, double tolerance) const;
  // The point of the arc nearest to the point.
  virtual CadPoint nearestPoint(const CadPoint& point, double tolerance) const;
  // The point of the arc's circle in the direction of the point.
  virtual CadPoint nearestPointOnCircle(const CadPoint& point) const;
  // Arc-arc intersection in space; the number of points added.
  virtual int intersect(const CadArc& arc, IntersectList& list, double tolerance) const;
  // Arc-line intersection in space; the number of points added.
  virtual int intersect(const CadLine& line, IntersectList& list, double tolerance) const;
  // 0 unless valid and the point lies on the arc's plane; then locate2D.
  virtual int locate(const CadPoint& point, double tolerance) const;
  // Same centre and parallel axes.
  virtual bool isConcentric(const CadArc& arc, double tolerance) const;
  // On the plane and at the radius from the centre.
  virtual bool isOnCircle(const CadPoint& point, double tolerance) const;
  // Concentric with the same radius.
  virtual bool isSameCircle(const CadArc& arc, double tolerance) const;
  // As equals, the centres compared in plan.
  virtual bool equals2D(const CadArc& arc, double tolerance) const;
  // As length().
  virtual double length2D() const;
  // nearestPointOnCircle.
  virtual CadPoint nearestPoint(const CadPoint& point) const;
  // The point of the arc toward the point: where the ray from the centre meets the arc, or
  // the nearer end.
  virtual CadPoint pointToward(const CadPoint& point, double tolerance) const;
  // Arc-arc intersection in plan; the number of points added.
  virtual int intersect2D(const CadArc& arc, IntersectList& list, double tolerance) const;
  // Arc-line intersection in plan; the number of points added.
  virtual int intersect2D(const CadLine& line, IntersectList& list, double tolerance) const;
  // Location code in plan.
  virtual int locate2D(const CadPoint& point, double tolerance) const;
  // Centres equal in plan.
  virtual bool hasSameCentre2D(const CadArc& arc, double tolerance) const;
  // locate2D is 2, 4 or 8.
  virtual bool isOn2D(const CadPoint& point, double tolerance) const;
  // Same plan centre, radius and plane direction.
  virtual bool isSameCircle2D(const CadArc& arc, double tolerance) const;
  // Moves the centre by a plan polar offset.
  virtual void movePolar(double length, double angle);
  // Moves the centre by a polar offset in space.
  virtual void movePolar(double length, double azimuth, double altitude);
  // Runs the arc the other way: startAngle += sweep, sweep := -sweep.
  virtual void reverse();
  // Sets the leveller to (axis, turn, 0.00001).
  virtual void leveller(Leveller& leveller, double turn) const;
  // Adds an intersection point with the arc's and the line's plan codes, as the list wants.
  virtual bool addCrossing(const CadPoint& point, const CadArc& arc, const CadLine& line,
                           IntersectList& list, double tolerance) const;
  // Adds an intersection point with both arcs' plan codes, as the list wants.
  virtual bool addCrossing(const CadPoint& point, const CadArc& arc, const CadArc& other,
                           IntersectList& list, double tolerance) const;
  // Circle-circle in this arc's plane; the number of points added.
  virtual int intersectCoplanar(const CadArc& arc, IntersectList& list, double tolerance) const;
  // Circle-line in this arc's plane; the number of points added.
  virtual int intersectCoplanar(const CadLine& line, IntersectList& list, double tolerance) const;

  const Vector3& axis() const { return axis_; }
  // The point of the arc's circle at an angle.
  CadPoint pointAt(double angle) const;
  // The angle of a point seen from the centre in the arc's plane.
  double angleAt(const CadPoint& point) const;
  // The angular range [low, low + span] of the arc, low in [0, 2pi), span = |sweep|.
  void range(double& low, double& span) const;
  // True when the axis is exactly +Z, so that the arc's plane needs no levelling.
  bool isPlanar() const { return axis_.x == 0.0 && axis_.y == 0.0 && axis_.z > 0.0; }

 private:
  CadPoint centre_;
  Vector3 axis_{0.0, 0.0, 1.0};
  double radius_ = 0.0;
  double startAngle_ = 0.0;
  double sweep_ = 0.0;
};

}  // namespace lunvik
