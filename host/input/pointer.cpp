#include "host/input/pointer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace standin {

using platform::Coord3D;
using platform::GSErr;

namespace {

bool finite(const Coord3D& c) { return std::isfinite(c.x) && std::isfinite(c.y) && std::isfinite(c.z); }

// Lines are drawn exclusive-or: the same segment in either direction is the same drawing.
bool sameLine(const RubberLine& a, const RubberLine& b) {
  auto same = [](const Coord3D& p, const Coord3D& q) { return p.x == q.x && p.y == q.y && p.z == q.z; };
  return (same(a.from, b.from) && same(a.to, b.to)) || (same(a.from, b.to) && same(a.to, b.from));
}

bool sameDrawing(const std::vector<RubberLine>& a, const std::vector<RubberLine>& b) {
  if (a.size() != b.size()) return false;
  std::vector<bool> used(b.size(), false);
  for (const RubberLine& line : a) {
    bool found = false;
    for (std::size_t i = 0; i < b.size() && !found; ++i) {
      if (!used[i] && sameLine(line, b[i])) used[i] = found = true;
    }
    if (!found) return false;
  }
  return true;
}

bool fits(PointerAnswer::Kind answer, InputKind request) {
  switch (answer) {
    case PointerAnswer::Kind::Point:
      return request == InputKind::Point || request == InputKind::Line;
    case PointerAnswer::Kind::Arc:
      return request == InputKind::Arc;
    case PointerAnswer::Kind::Polygon:
      return request == InputKind::Polygon;
    case PointerAnswer::Kind::Escape:
      return true;
  }
  return false;
}

}  // namespace

PointerAnswer PointerAnswer::point(double x, double y) {
  PointerAnswer a;
  a.at = {x, y, 0.0};
  return a;
}

PointerAnswer PointerAnswer::point(double x, double y, double z) {
  PointerAnswer a = point(x, y);
  a.at.z = z;
  a.hasZ = true;
  return a;
}

PointerAnswer PointerAnswer::arc(double x, double y, bool clockwise) {
  PointerAnswer a = point(x, y);
  a.kind = Kind::Arc;
  a.clockwise = clockwise;
  return a;
}

PointerAnswer PointerAnswer::polygon(std::vector<Step> steps) {
  PointerAnswer a;
  a.kind = Kind::Polygon;
  a.steps = std::move(steps);
  return a;
}

PointerAnswer PointerAnswer::escape() {
  PointerAnswer a;
  a.kind = Kind::Escape;
  return a;
}

const char* inputKindName(InputKind kind) {
  switch (kind) {
    case InputKind::Point:
      return "a point";
    case InputKind::Line:
      return "the end of a line";
    case InputKind::Arc:
      return "an arc";
    case InputKind::Polygon:
      return "a polygon";
  }
  return "";
}

const char* inputAnswerVerb(InputKind kind) {
  switch (kind) {
    case InputKind::Point:
    case InputKind::Line:
      return "point";
    case InputKind::Arc:
      return "arc";
    case InputKind::Polygon:
      return "polygon";
  }
  return "";
}

const char* pointerAnswerVerb(PointerAnswer::Kind kind) {
  switch (kind) {
    case PointerAnswer::Kind::Point:
      return "point";
    case PointerAnswer::Kind::Arc:
      return "arc";
    case PointerAnswer::Kind::Polygon:
      return "polygon";
    case PointerAnswer::Kind::Escape:
      return "escape";
  }
  return "";
}

void Pointer::clearRecords() {
  requests_.clear();
  lines_.clear();
  mismatches_.clear();
}

bool Pointer::interfaceOperation(uint32_t code, void* p1, void* p2, void*, GSErr& result) {
  using platform::fourcc;
  switch (code) {
    case fourcc("IPOI"):
      result = point(static_cast<platform::PointRequest*>(p1));
      return true;
    case fourcc("ILIN"):
      result = line(static_cast<platform::LineRequest*>(p1));
      return true;
    case fourcc("IARC"):
      result = arc(static_cast<platform::ArcRequest*>(p1));
      return true;
    case fourcc("IPOL"):
      result = polygon(static_cast<platform::PolygonRequest*>(p1));
      return true;
    case fourcc("DRLI"):
      result = drawLine(static_cast<const Coord3D*>(p1), static_cast<const Coord3D*>(p2));
      return true;
    default:
      return false;
  }
}

bool Pointer::open(InputKind kind, const char* prompt) {
  // One request at a time: a request from inside a callback of another is refused.
  if (waiting_) return false;
  InputRecord record;
  record.kind = kind;
  record.prompt.assign(prompt, strnlen(prompt, platform::kPromptSize));
  requests_.push_back(std::move(record));
  waiting_ = true;
  drawn_ = false;
  lastDraw_ = RubberLine::kNone;
  return true;
}

void Pointer::fail(PointerFailure::Kind kind, int line, const std::string& message) {
  const InputRecord& record = requests_.back();
  failure_.kind = kind;
  failure_.request = record.kind;
  failure_.prompt = record.prompt;
  failure_.line = line;
  failure_.message = message;
}

const PointerAnswer* Pointer::take() {
  InputRecord& record = requests_.back();
  record.outcome = InputRecord::Outcome::Failed;
  // A failed script agrees to nothing more.
  if (failure_.kind != PointerFailure::Kind::None) return nullptr;
  if (answers_.empty()) {
    fail(PointerFailure::Kind::NoAnswer, 0, std::string());
    return nullptr;
  }
  answer_ = std::move(answers_.front());
  answers_.pop_front();
  record.answerLine = answer_.line;
  record.answerText = answer_.text;
  if (answer_.kind == PointerAnswer::Kind::Escape) {
    record.outcome = InputRecord::Outcome::Escaped;
    return nullptr;
  }
  if (!fits(answer_.kind, record.kind)) {
    fail(PointerFailure::Kind::WrongAnswer, answer_.line, std::string());
    failure_.answer = answer_.kind;
    return nullptr;
  }
  if (!check(answer_)) return nullptr;
  record.outcome = InputRecord::Outcome::Clicked;
  return &answer_;
}

bool Pointer::check(const PointerAnswer& answer) {
  bool isFinite = finite(answer.at);
  for (const PointerAnswer::Step& step : answer.steps) isFinite = isFinite && finite(step.vertex);
  if (!isFinite) {
    fail(PointerFailure::Kind::BadAnswer, answer.line, "a click is at finite coordinates");
    return false;
  }
  std::string flat = flatView_ ? flatView_() : std::string();
  if (answer.hasZ && !flat.empty()) {
    fail(PointerFailure::Kind::BadAnswer, answer.line,
         "a click in " + flat + " takes two coordinates, not three");
    return false;
  }
  if (answer.kind == PointerAnswer::Kind::Polygon) {
    int vertices = 1;  // the first vertex, given by the request
    for (const PointerAnswer::Step& step : answer.steps) {
      if (step.back && vertices == 1) {
        fail(PointerFailure::Kind::BadAnswer, answer.line, "the polygon takes back more vertices than it adds");
        return false;
      }
      vertices += step.back ? -1 : 1;
    }
    if (vertices < platform::kPolygonMinVertices) {
      fail(PointerFailure::Kind::BadAnswer, answer.line,
           "the polygon would close with " + std::to_string(vertices) + " vertices, its first one included; it takes " +
               std::to_string(platform::kPolygonMinVertices));
      return false;
    }
  }
  return true;
}

void Pointer::call(platform::InputCursorFn cursor, const Coord3D& at, bool draw) {
  InputRecord& record = requests_.back();
  const std::size_t request = requests_.size() - 1;
  const std::size_t index = record.calls.size();
  CursorCall entry;
  entry.cursor = at;
  entry.draw = draw;
  record.calls.push_back(entry);
  Coord3D io = at;
  inCall_ = index;
  cursor(&io, draw);
  inCall_ = RubberLine::kNone;
  CursorCall& done = requests_[request].calls[index];
  done.returned = io;
  if (draw) {
    lastDraw_ = index;
    return;
  }
  static const std::vector<RubberLine> kNothing;
  const std::vector<RubberLine>& drawn = lastDraw_ == RubberLine::kNone ? kNothing : requests_[request].calls[lastDraw_].lines;
  if (!sameDrawing(drawn, done.lines)) mismatches_.push_back({request, index, drawn, done.lines});
}

void Pointer::travel(const Coord3D& to, platform::InputCursorFn cursor) {
  const Coord3D from = position_;
  if (cursor) {
    for (int k = 1; k <= kTravelSteps; ++k) {
      const double t = double(k) / kTravelSteps;
      Coord3D at = k == kTravelSteps ? to
                                     : Coord3D{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t,
                                               from.z + (to.z - from.z) * t};
      if (drawn_) call(cursor, at, false);
      call(cursor, at, true);
      drawn_ = true;
    }
  }
  position_ = to;
}

void Pointer::erase(platform::InputCursorFn cursor) {
  if (cursor && drawn_) call(cursor, position_, false);
  drawn_ = false;
}

GSErr Pointer::close(GSErr result) {
  waiting_ = false;
  drawn_ = false;
  if (echo_) echo_(requests_.back());
  return result;
}

GSErr Pointer::point(platform::PointRequest* request) {
  if (!request) return platform::kErrNullArgument;
  if (!open(InputKind::Point, request->prompt)) return platform::kErrGeneral;
  const PointerAnswer* answer = take();
  if (!answer) return close(platform::kErrCancelled);
  travel(answer->at, request->cursor);
  erase(request->cursor);
  request->point = answer->at;
  requests_.back().click = answer->at;
  return close(platform::kNoError);
}

GSErr Pointer::line(platform::LineRequest* request) {
  if (!request) return platform::kErrNullArgument;
  if (!open(InputKind::Line, request->prompt)) return platform::kErrGeneral;
  requests_.back().start = request->start;
  const PointerAnswer* answer = take();
  if (!answer) return close(platform::kErrCancelled);
  travel(answer->at, request->cursor);
  erase(request->cursor);
  request->end = answer->at;
  requests_.back().click = answer->at;
  return close(platform::kNoError);
}

GSErr Pointer::arc(platform::ArcRequest* request) {
  if (!request) return platform::kErrNullArgument;
  // The user clicks only the end: the arc starts where the add-on says.
  if (request->startGiven != 1) return platform::kErrBadParameter;
  if (!open(InputKind::Arc, request->prompt)) return platform::kErrGeneral;
  InputRecord& record = requests_.back();
  record.start = request->start;
  record.centre = request->centre;
  const PointerAnswer* answer = take();
  if (!answer) return close(platform::kErrCancelled);
  travel(answer->at, request->cursor);
  erase(request->cursor);
  // The end lies on the circle through the start, in the direction of the cursor.
  const Coord3D& c = request->centre;
  const Coord3D& s = request->start;
  const double radius = std::hypot(s.x - c.x, s.y - c.y);
  double dx = answer->at.x - c.x, dy = answer->at.y - c.y;
  if (dx == 0.0 && dy == 0.0) {
    dx = s.x - c.x;
    dy = s.y - c.y;
  }
  const double angle = std::atan2(dy, dx);
  const Coord3D end{c.x + radius * std::cos(angle), c.y + radius * std::sin(angle), s.z};
  request->clockwise = answer->clockwise ? 1 : 0;
  request->arcStart = answer->clockwise ? end : s;
  request->arcEnd = answer->clockwise ? s : end;
  InputRecord& done = requests_.back();
  done.click = end;
  done.clockwise = answer->clockwise;
  return close(platform::kNoError);
}

GSErr Pointer::polygon(platform::PolygonRequest* request) {
  if (!request) return platform::kErrNullArgument;
  if (!open(InputKind::Polygon, request->prompt)) return platform::kErrGeneral;
  requests_.back().start = request->start;
  const PointerAnswer* answer = take();
  if (!answer) return close(platform::kErrCancelled);
  std::vector<Coord3D> vertices{request->start};
  for (const PointerAnswer::Step& step : answer->steps) {
    if (step.back) {
      vertices.pop_back();
      if (request->takeBack) request->takeBack();
      continue;
    }
    travel(step.vertex, request->cursor);
    erase(request->cursor);
    vertices.push_back(step.vertex);
    if (request->addVertex) request->addVertex(&step.vertex);
  }
  request->vertexCount = int32_t(vertices.size());
  requests_.back().vertices = std::move(vertices);
  return close(platform::kNoError);
}

GSErr Pointer::drawLine(const Coord3D* from, const Coord3D* to) {
  if (!from || !to) return platform::kErrNullArgument;
  if (!finite(*from) || !finite(*to)) return platform::kErrBadParameter;
  RubberLine line;
  line.from = *from;
  line.to = *to;
  if (waiting_ && inCall_ != RubberLine::kNone) {
    line.request = requests_.size() - 1;
    line.call = inCall_;
    requests_.back().calls[inCall_].lines.push_back(line);
  }
  lines_.push_back(line);
  return platform::kNoError;
}

}  // namespace standin
