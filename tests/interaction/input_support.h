// Rubber banders, guides and vertices for the tests of user paths.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "interaction/user_path.h"

namespace input_support {

// What a recording rubber bander was told.
struct BanderLog {
  struct Call {
    bool hasLast = false;
    lunvik::PolyPoint last;
    lunvik::PolyPoint cursor;
    bool draw = false;
    bool accepted = false;
  };
  std::vector<Call> calls;
  int begins = 0;
};

// Records every call; draws the edge from the last vertex to the cursor when asked, drawing
// again on an erase call what the draw call before drew.
class RecordingBander : public lunvik::RubberBander {
 public:
  enum class Drawing { None, Edge, Line };
  explicit RecordingBander(BanderLog& log, Drawing drawing = Drawing::None) : log_(log), drawing_(drawing) {}
  // Run once, inside the next draw call.
  std::function<void()> onDraw;

  void begin() override { ++log_.begins; }
  void draw(const lunvik::PolyPoint* last, const lunvik::PolyPoint& cursor, bool drawFlag, bool accepted) override {
    BanderLog::Call call;
    call.hasLast = last != nullptr;
    if (last) call.last = *last;
    call.cursor = cursor;
    call.draw = drawFlag;
    call.accepted = accepted;
    log_.calls.push_back(call);
    if (drawFlag && onDraw) {
      auto run = std::move(onDraw);
      onDraw = nullptr;
      run();
    }
    if (drawing_ == Drawing::None) return;
    if (drawFlag) {
      shown_ = last != nullptr;
      if (last) {
        from_ = *last;
        to_ = cursor;
      }
    }
    if (!shown_) return;
    if (drawing_ == Drawing::Edge) drawEdge(from_, to_);
    else drawLine(from_, to_);
  }

 private:
  BanderLog& log_;
  Drawing drawing_;
  bool shown_ = false;
  lunvik::PolyPoint from_;
  lunvik::PolyPoint to_;
};

// A vertex that offers a guide the positions 10 and 20 metres further along x.
class SteppingPoint : public lunvik::UserPoint {
 public:
  using lunvik::UserPoint::UserPoint;
  std::unique_ptr<lunvik::CadPoint> clone() const override { return std::make_unique<SteppingPoint>(*this); }
  std::unique_ptr<lunvik::UserPoint> alternative(int index) const override {
    if (index < 0 || index > 2) return nullptr;
    auto made = std::make_unique<SteppingPoint>(*this);
    made->x() += 10.0 * index;
    return made;
  }
};

// A vertex that stands for the point midway to the vertex after it.
class MidwayPoint : public lunvik::UserPoint {
 public:
  using lunvik::UserPoint::UserPoint;
  std::unique_ptr<lunvik::CadPoint> clone() const override { return std::make_unique<MidwayPoint>(*this); }
  lunvik::PolyPoint positionFor(const lunvik::PolyPoint& next) const override {
    return lunvik::PolyPoint((getX() + next.getX()) / 2, (getY() + next.getY()) / 2, (getZ() + next.getZ()) / 2);
  }
};

// Accepts vertices at or beyond an x; counts what it was asked.
class BeyondGuide : public lunvik::PathGuide {
 public:
  explicit BeyondGuide(double x) : x_(x) {}
  bool start(const lunvik::PolyPoint&) override {
    ++starts;
    return true;
  }
  bool accepts(const lunvik::PolyPoint& vertex) override {
    ++asked;
    return vertex.getX() >= x_;
  }
  int starts = 0;
  int asked = 0;

 private:
  double x_;
};

}  // namespace input_support
