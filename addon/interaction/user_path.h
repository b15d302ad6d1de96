// User paths: the points a command asks the user to click, collected as an open polygon, with
// prompts, rubber-band feedback and guides.
#pragma once

#include <cstddef>
#include <memory>

#include "geometry/cad_poly.h"
#include "interaction/path_guide.h"
#include "interaction/rubber_bander.h"
#include "interaction/user_point.h"
#include "runtime/cad_string.h"

namespace lunvik {

// An open polygon of clicked vertices. Each input operation asks the host for one input
// (a point, the end of a line, the end of an arc, a polygon) and adds what the user clicked;
// a cancelled input leaves the path as it was before the operation and answers false. One
// path at a time may wait for input: an operation started while a path waits answers false
// without asking the host.
class UserPath : public CadPoly {
 public:
  // The index vertexFor takes for the last vertex.
  static constexpr int kLastVertex = -1;

  // Takes the rubber bander, the guide and the point prototype; base ones stand in for those
  // not given.
  explicit UserPath(std::unique_ptr<RubberBander> rubberBander = nullptr, std::unique_ptr<PathGuide> guide = nullptr,
                    std::unique_ptr<UserPoint> prototype = nullptr);
  // An active path rolls back its input first.
  ~UserPath() override;
  UserPath(const UserPath&) = delete;
  UserPath& operator=(const UserPath&) = delete;

  // The position vertex index stands for (kLastVertex: the last vertex) when next follows it
  // (null: the vertex after it, if any); a vertex that is no user point is copied. An index
  // outside the vertices throws std::out_of_range.
  virtual PolyPoint vertexFor(int index, const PolyPoint* next = nullptr) const;
  // Asks the input in progress to start again from point once it has been answered.
  virtual void restartFrom(const PolyPoint& point);
  // One point (prompt 1), added as a new vertex.
  virtual bool getFirstPoint();
  // The end of a line from the last vertex (prompt 2); on an empty path the line's start is
  // asked first (prompt 1). With tangent, the new edge is the arc that leaves the last vertex
  // along the reference line: from the vertex before it, or from a point asked with a line
  // from the last vertex (prompt 1) when the path has one vertex.
  virtual bool getNextPoint(bool tangent);
  // The end of an arc about the vertex before the last, from the last (prompt 3); on a path
  // of fewer than two vertices a line is asked first. The new vertex's arc angle is the
  // signed angle the arc turns about the centre.
  virtual bool getArc();
  // A polygon from the last vertex (prompt 2; on an empty path its first vertex is asked
  // first with prompt 1); the vertices the user adds are appended as they come.
  virtual bool getPolygon();
  // A copy of the point prototype at the point, with its arc angle.
  virtual std::unique_ptr<UserPoint> makeUserPoint(const PolyPoint& point) const;
  // The feedback of one cursor move: moves the cursor as the input in progress needs, asks
  // the guide and has the rubber bander draw; the cursor takes the candidate's position.
  virtual void rubberStep(PolyPoint& cursor, bool drawFlag);
  // Runs the guide over a candidate: the candidate's alternatives in turn until the guide
  // accepts one, which replaces the candidate. True when one was accepted (always on an
  // empty path).
  virtual bool applyGuide(std::unique_ptr<PolyPoint>& candidate);
  // applyGuide, then adds the (possibly replaced) vertex.
  virtual void append(std::unique_ptr<PolyPoint> point);
  // Deletes the last vertex, if any.
  virtual void removeLast();
  // Called after a successful input.
  virtual void accepted();
  // Removes the vertices added since the mark and sets the mark to the count.
  virtual void cancelled();

  // Prompt which (1 first point, 2 next point and polygon, 3 arc).
  void setPrompt(int which, const CadString& text);
  const CadString& prompt(int which) const;
  // Replaces the rubber bander (null: a base one).
  void setRubberBander(std::unique_ptr<RubberBander> rubberBander);
  RubberBander& rubberBander() const { return *rubberBander_; }
  PathGuide& guide() const { return *guide_; }
  // The vertex count cancelled rolls back to.
  void setMark(std::size_t count) { mark_ = count; }
  std::size_t mark() const { return mark_; }

  // The path waiting for input, or null.
  static UserPath* active();

  // The arc angle of the edge from the reference line's end to point that leaves it along the
  // reference line (from referenceStart to referenceEnd): twice the turn from the line's
  // direction to the chord, positive counter-clockwise; 0 for a point straight ahead or
  // straight behind, and for a line or chord without length.
  static double tangentAngle(const CadPoint& referenceStart, const CadPoint& referenceEnd, const CadPoint& point);
  // The signed angle an arc about centre turns from start to point (on the circle through
  // start): 2 pi when point is the start, else 2 asin(chord / (2 radius)), negative on the
  // clockwise side of the line from centre to start; in plan.
  static double chordAngle(const CadPoint& centre, const CadPoint& start, const CadPoint& point);

 private:
  friend struct UserPathCallbacks;
  class Frame;
  enum class Mode { Plain, Tangent, Arc };

  // Becomes the active path and sets the mark; false when a path is active.
  bool enter();
  // Leaves the active-path reference when it still refers to this path.
  void leave();
  // Removes the vertices added since the mark.
  void rollBack();
  // Ends an input operation: accepted or cancelled, then leave.
  bool finish(bool ok);
  // A point request with a prompt (1 to 3), with or without feedback; false when cancelled.
  bool askPoint(int prompt, bool withCursor, CadPoint& point);

  CadString prompts_[3];
  CadPoint reference_;          // start of the reference line (tangent and arc modes)
  PolyPoint restartPoint_;
  std::unique_ptr<PathGuide> guide_;
  std::unique_ptr<RubberBander> rubberBander_;
  std::unique_ptr<UserPoint> prototype_;
  std::size_t mark_ = 0;
  std::size_t polygonFloor_ = 0;  // the vertices a polygon input started with
  Mode mode_ = Mode::Plain;
  bool restart_ = false;
};

}  // namespace lunvik
