// One edge of a polygon: straight, or circular when its end vertex carries an arc angle.
#pragma once

#include "geometry/cad_arc.h"
#include "geometry/cad_line.h"
#include "geometry/cad_point.h"
#include "geometry/poly_point.h"

namespace lunvik {

class IntersectList;
class Matrix3x3;

// An edge from a start point to an end vertex. Every geometric query builds, on the spot,
// the CadLine (|arc angle| <= 0.00001) or the CadArc of the edge and asks it.
class PolyEdge {
 public:
  PolyEdge(const CadPoint& start, const PolyPoint& end) : start_(start), end_(end) {}
  PolyEdge(const PolyEdge&) = default;
  PolyEdge& operator=(const PolyEdge&) = default;

  virtual ~PolyEdge();
  virtual CadPoint& start();
  virtual const CadPoint& start() const;
  virtual PolyPoint& end();
  virtual const PolyPoint& end() const;
  // Moves the start to the point; the arc angle is kept, so an arc stays an arc of the
  // same included angle through the new ends.
  virtual void stretchStart(const CadPoint& point);
  // Moves the end to the point, keeping the end vertex's arc angle and id.
  virtual void stretchEnd(const CadPoint& point);
  // The edge is an arc (|arc angle| > 0.00001).
  virtual bool isArc() const;
  // The straight edge's line (the chord of an arc edge).
  virtual CadLine line() const;
  // The arc edge's arc (invalid for a straight edge).
  virtual CadArc arc() const;
  // The line's or the arc's plan location code.
  virtual int locate2D(const CadPoint& point, double tolerance) const;
  // The line's or the arc's location code in space.
  virtual int locate(const CadPoint& point, double tolerance) const;
  // The foot on the line, or the nearest point of the arc's circle.
  virtual CadPoint footPoint(const CadPoint& point, double tolerance) const;
  // The nearest point of the edge.
  virtual CadPoint nearestPoint(const CadPoint& point, double tolerance) const;
  // The nearest point of the edge in plan.
  virtual CadPoint nearestPoint2D(const CadPoint& point, double tolerance) const;
  virtual CadPoint midpoint() const;
  // The arc's centre; the midpoint of a straight edge.
  virtual CadPoint centre() const;
  // The arc's radius; 0 for a straight edge.
  virtual double radius() const;
  // end.distance(start).
  virtual double chordLength() const;
  // Plan direction of the chord.
  virtual double azimuth() const;
  // Elevation of the chord.
  virtual double altitude() const;
  // The direction in which the edge leaves its start.
  virtual double startDirection() const;
  // The direction in which the edge arrives at its end.
  virtual double endDirection() const;
  // Plan intersection with another edge; the number of points added.
  virtual int intersect(const PolyEdge& edge, IntersectList& list, double tolerance) const;
  // Plan intersection with a line; the number of points added.
  virtual int intersect(const CadLine& line, IntersectList& list, double tolerance) const;
  // Plan intersection with an arc; the number of points added.
  virtual int intersect(const CadArc& arc, IntersectList& list, double tolerance) const;
  // Both ends at height z.
  virtual void setZ(double z);
  // Moves the edge to its left by the distance (an arc changes its radius).
  virtual void offset(double distance);
  // Lengthens the edge at its end (shortens for a negative length).
  virtual void extendEnd(double length);
  // Moves the end (or the start) to the point's foot on the edge's line or circle.
  virtual void trimTo(const CadPoint& point, bool atEnd);
  // Ends equal and arc angles equal within the tolerance.
  virtual bool equals(const PolyEdge& edge, double tolerance) const;
  // As equals, in plan.
  virtual bool equals2D(const PolyEdge& edge, double tolerance) const;
  virtual PolyEdge operator+(const CadPoint& offset) const;
  virtual PolyEdge& operator+=(const CadPoint& offset);
  virtual PolyEdge operator-(const CadPoint& offset) const;
  virtual PolyEdge& operator-=(const CadPoint& offset);
  virtual PolyEdge operator*(const Matrix3x3& m) const;
  virtual PolyEdge operator*(double s) const;
  // Both ends m.p; a mirroring matrix negates the arc angle.
  virtual PolyEdge& operator*=(const Matrix3x3& m);
  // Both ends scaled about the origin.
  virtual PolyEdge& operator*=(double s);
  virtual void movePolar(double length, double angle);
  virtual void movePolar(double length, double azimuth, double altitude);
  // Runs the edge the other way; an arc keeps its shape with the opposite angle.
  virtual void reverse();

 private:
  CadPoint start_;
  PolyPoint end_;
};

}  // namespace lunvik
