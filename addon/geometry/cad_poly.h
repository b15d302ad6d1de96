// Polygons: rings of vertices with straight or circular edges, with holes.
#pragma once

#include <cstddef>
#include <memory>

#include "geometry/poly_edge.h"
#include "geometry/poly_point.h"
#include "runtime/containers.h"

namespace lunvik {

class CadArc;
class CadCube;
class CadLine;
class IntersectList;
class Matrix3x3;
class Plane;
class PolyList;
class PolyVector;

// A polygon ring that owns its vertices, with holes. Edge i runs from vertex i - 1 to
// vertex i (indices wrapped), so the arc of edge i is vertex i's arc angle; an open ring has
// no closing edge. Location codes: 1 outside, 16 inside, 4 on the boundary.
class CadPoly : public Vector<PolyPoint> {
 public:
  using iterator = Vector<PolyPoint>::Storage::iterator;
  using const_iterator = Vector<PolyPoint>::Storage::const_iterator;

  // Reserves room for the vertices; a hole vector is made only for a hole capacity above 0.
  explicit CadPoly(std::size_t vertexCapacity = 0, std::size_t holeCapacity = 0, bool closed = true);
  CadPoly(const CadPoly& other);
  CadPoly& operator=(const CadPoly& other);
  CadPoly(CadPoly&& other) noexcept;
  CadPoly& operator=(CadPoly&& other) noexcept;

  // Deletes the vertices and the holes.
  ~CadPoly() override;
  // A deep heap copy.
  virtual std::unique_ptr<CadPoly> clone() const;
  virtual CadPoly operator+(const CadPoint& offset) const;
  // Moves every vertex.
  virtual CadPoly& operator+=(const CadPoint& offset);
  virtual CadPoly operator-(const CadPoint& offset) const;
  virtual CadPoly& operator-=(const CadPoint& offset);
  virtual CadPoly operator*(const Matrix3x3& m) const;
  virtual CadPoly operator*(double s) const;
  // Every vertex m.p; a mirroring matrix negates every arc angle. The holes alike.
  virtual CadPoly& operator*=(const Matrix3x3& m);
  // Every vertex scaled about the origin.
  virtual CadPoly& operator*=(double s);
  virtual CadPoly operator/(double s) const;
  virtual CadPoly& operator/=(double s);
  // The vertices of this ring.
  virtual std::size_t vertexCount() const;
  // The highest id handed out by nextVertexId().
  virtual int lastVertexId() const;
  // 0 without a hole vector.
  virtual std::size_t holeCount() const;
  // Hole index; an index outside [0, holeCount) throws std::out_of_range.
  virtual CadPoly& hole(std::size_t index);
  // The hole vector, or null.
  virtual PolyVector* holes();
  // The box of the vertices and the arcs; null without vertices.
  virtual std::unique_ptr<CadCube> boundingBox() const;
  // Sum of the plan chords, the closing edge of a closed ring included.
  virtual double length2D() const;
  // Sum of the chords in space.
  virtual double length() const;
  // The point at the distance along the chords; answers the vertex that starts its edge.
  virtual int pointAt(double distance, CadPoint& out) const;
  // The enclosed area with arc segments; less the holes' areas when asked.
  virtual double area(bool withHoles) const;
  // The index of the vertex with the id (searching from the last); kNotFound when absent.
  virtual int findVertexId(int id) const;
  // The index of a vertex equal to the point (0.00001, from the last); kNotFound when absent.
  virtual int findVertex(const CadPoint& point) const;
  // The vertex at wrap(index); the end when the ring is empty.
  virtual iterator vertexAt(int index);
  virtual const_iterator vertexAt(int index) const;
  // The index modulo the vertex count, in [0, count), also for negative indices.
  virtual int wrap(int index) const;
  virtual bool isHole() const;
  virtual bool isClosed() const;
  // Enough vertices for the ring (and, when asked, no edge crossing another).
  virtual bool isValid(bool checkSelfIntersection) const;
  // lastVertexId + 1, stored and returned.
  virtual int nextVertexId();
  virtual void setLastVertexId(int id);
  virtual void setHole(bool flag);
  virtual void setClosed(bool flag);
  // Takes the hole (a new empty one when null), marks it a hole without holes and ids, and
  // appends it.
  virtual CadPoly& addHole(std::unique_ptr<CadPoly> hole);
  // Replaces the hole vector.
  virtual void setHoles(std::unique_ptr<PolyVector> holes);
  // Deletes hole index (and the vector when it was the last); out of range as hole().
  virtual void removeHole(std::size_t index);
  // Detaches hole index and hands it over; out of range as hole().
  virtual std::unique_ptr<CadPoly> takeHole(std::size_t index);
  // Takes the vertex and inserts it before wrap(before) (kNotFound appends); false, and the
  // vertex deleted, when an equal vertex is already there.
  virtual bool insertVertex(std::unique_ptr<PolyPoint> vertex, int before);
  // Detaches the hole vector.
  virtual std::unique_ptr<PolyVector> takeHoles();
  // Reverses every valid ring concerned whose orientation differs.
  virtual void setOrientation(int orientation, bool withHoles);
  // Reverses the vertex order; each arc stays on its edge with the opposite sign.
  virtual void reverse();
  // Kept for the slot order; does nothing.
  virtual void spare();
  // Gives new ids to every vertex (all) or to those without a unique id.
  virtual void renumberVertices(bool all);
  // Replaces every arc edge by chords no farther than 2 mm from the arc.
  virtual void flattenArcs();
  // Every vertex at height z.
  virtual void setZ(double z);
  // Every vertex at the plane's height over its plan position.
  virtual void setZ(const Plane& plane);
  // Same rings, vertices equal index by index (0.00001), arc angles equal.
  virtual bool equals(const CadPoly& poly, double tolerance) const;
  // The point of the rings nearest to the point; null with fewer than two vertices.
  virtual std::unique_ptr<CadPoint> nearestPoint(const CadPoint& point, bool withHoles,
                                                 double tolerance) const;
  // Erases every vertex equal to its predecessor; true when any was.
  virtual bool removeDuplicates(double tolerance);
  // As equals, in plan.
  virtual bool equals2D(const CadPoly& poly, double tolerance) const;
  // As nearestPoint, in plan.
  virtual std::unique_ptr<CadPoint> nearestPoint2D(const CadPoint& point, bool withHoles,
                                                   double tolerance) const;
  // As removeDuplicates, in plan.
  virtual bool removeDuplicates2D(double tolerance);
  // 1 outside, 16 inside, 4 on the boundary, 0 for an invalid polygon.
  virtual int locate(const CadPoint& point, double tolerance) const;
  // Every edge of this ring with the other polygon (this polygon the first side).
  virtual int intersect(const CadPoly& other, IntersectList& list, double tolerance) const;
  // The rings' edges with an arc in plan; the number of points added.
  virtual int intersect(const CadArc& arc, IntersectList& list, double tolerance) const;
  // The rings' edges with a line in plan; the number of points added.
  virtual int intersect(const CadLine& line, IntersectList& list, double tolerance) const;
  // Appends the pieces of this polygon inside the other to inside and those outside it to
  // outside; false (lists unchanged) when both are null or either polygon is invalid.
  virtual bool split(const CadPoly& other, PolyList* inside, PolyList* outside,
                     double tolerance) const;
  // Appends the pieces common to both polygons.
  virtual bool intersection(const CadPoly& other, PolyList& result, double tolerance) const;
  // Appends the pieces of this polygon outside the other.
  virtual bool difference(const CadPoly& other, PolyList& result, double tolerance) const;
  // Appends the pieces covered by either polygon.
  virtual bool unite(const CadPoly& other, PolyList& result, double tolerance) const;
  // Splits by every polygon of the list: inside any of them, or outside all.
  virtual bool split(const PolyList& others, PolyList* inside, PolyList* outside,
                     double tolerance) const;
  // locate is 16 or 4.
  virtual bool contains(const CadPoint& point, double tolerance) const;
  // Appends the pieces of this polygon outside every polygon of the list.
  virtual bool subtract(const PolyList& others, PolyList& result, double tolerance) const;
  // 0 invalid, 1 clockwise, 2 counter-clockwise.
  virtual int orientation() const;

  const CadPoly& hole(std::size_t index) const;
  const PolyVector* holes() const { return holes_.get(); }
  // The vertex at index (no wrapping).
  PolyPoint& vertex(std::size_t index) { return *items_[index]; }
  const PolyPoint& vertex(std::size_t index) const { return *items_[index]; }
  // Edge index: from vertex index - 1 to vertex index (wrapped).
  PolyEdge edge(std::size_t index) const;
  // Appends a vertex (z 0).
  PolyPoint& add(double x, double y, double arcAngle = 0.0);

 private:
  struct LocateCache;

  // The ring's edges with a line (holes too when asked), this ring as the polygon's side.
  int intersectRing(const CadLine* line, const CadArc* arc, IntersectList& list, double tolerance,
                    bool withHoles) const;
  // Validates or rebuilds the cache of the ray direction, the box and the arcs.
  const LocateCache& locateCache() const;
  // Applies fn to this ring and then each hole.
  template <typename Fn>
  void forEachRing(Fn fn);

  bool isHole_ = false;
  bool closed_ = true;
  int lastVertexId_ = 0;
  std::unique_ptr<PolyVector> holes_;
  mutable std::unique_ptr<LocateCache> cache_;
};

}  // namespace lunvik
