#include "interaction/user_path.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "geometry/tolerance.h"
#include "platform/host_table.h"
#include "platform/input_records.h"
#include "runtime/addon.h"
#include "runtime/host_interface.h"

namespace lunvik {

using platform::GSErr;
using platform::kNoError;

namespace {

UserPath* gActive = nullptr;

template <typename Request>
void copyPrompt(Request& request, const CadString& text) {
  CadString cut = text.truncated(std::size_t(platform::kPromptSize - 1));
  std::memcpy(request.prompt, cut.c_str(), cut.length() + 1);
}

GSErr ask(const char (&code)[5], void* request) {
  return host().call(&platform::HostFunctionTable::HostInterface, platform::fourcc(code), request, nullptr, nullptr);
}

// The host calls these while an input waits; nothing may escape into the host.
void reportEscaped() {
  try {
    if (Addon* addon = theAddon()) addon->reportUnexpectedError();
  } catch (...) {
    // Nothing more can be done without risking the host.
  }
}

}  // namespace

// The host's callbacks of an input request; they reach the active path.
struct UserPathCallbacks {
  static void cursor(platform::Coord3D* coord, bool draw) {
    UserPath* path = gActive;
    if (!path || !coord) return;
    try {
      PolyPoint point(CadPoint(*coord), 0.0, 0);
      path->rubberStep(point, draw);
      *coord = point.getCoord3D();
    } catch (...) {
      reportEscaped();
    }
  }
  static void addVertex(const platform::Coord3D* coord) {
    UserPath* path = gActive;
    if (!path || !coord) return;
    try {
      path->append(path->makeUserPoint(PolyPoint(CadPoint(*coord), 0.0, 0)));
    } catch (...) {
      reportEscaped();
    }
  }
  static void takeBack() {
    UserPath* path = gActive;
    if (!path) return;
    try {
      // Only what the user added in this polygon: its first vertex stays.
      if (path->vertexCount() > path->polygonFloor_) path->removeLast();
    } catch (...) {
      reportEscaped();
    }
  }
};

UserPath::UserPath(std::unique_ptr<RubberBander> rubberBander, std::unique_ptr<PathGuide> guide,
                   std::unique_ptr<UserPoint> prototype)
    : CadPoly(0, 0, false),
      guide_(guide ? std::move(guide) : std::make_unique<PathGuide>()),
      rubberBander_(rubberBander ? std::move(rubberBander) : std::make_unique<RubberBander>()),
      prototype_(prototype ? std::move(prototype) : std::make_unique<UserPoint>()) {}

UserPath::~UserPath() {
  if (gActive == this) {
    rollBack();
    gActive = nullptr;
  }
}

UserPath* UserPath::active() { return gActive; }

void UserPath::setPrompt(int which, const CadString& text) {
  if (which >= 1 && which <= 3) prompts_[which - 1] = text;
}

const CadString& UserPath::prompt(int which) const {
  static const CadString kNone;
  return which >= 1 && which <= 3 ? prompts_[which - 1] : kNone;
}

void UserPath::setRubberBander(std::unique_ptr<RubberBander> rubberBander) {
  rubberBander_ = rubberBander ? std::move(rubberBander) : std::make_unique<RubberBander>();
}

PolyPoint UserPath::vertexFor(int index, const PolyPoint* next) const {
  const std::size_t count = vertexCount();
  if (index < kLastVertex || count == 0 || (index != kLastVertex && std::size_t(index) >= count))
    throw std::out_of_range("");
  const std::size_t i = index == kLastVertex ? count - 1 : std::size_t(index);
  const PolyPoint& vertex = (*this)[i];
  const auto* user = dynamic_cast<const UserPoint*>(&vertex);
  if (!user) return vertex;
  if (next) return user->positionFor(*next);
  return user->positionFor(i + 1 < count ? (*this)[i + 1] : vertex);
}

void UserPath::restartFrom(const PolyPoint& point) {
  restartPoint_ = point;
  restart_ = true;
}

bool UserPath::enter() {
  if (gActive) return false;
  gActive = this;
  mark_ = vertexCount();
  return true;
}

void UserPath::leave() {
  mode_ = Mode::Plain;
  if (gActive == this) gActive = nullptr;
}

void UserPath::rollBack() {
  while (vertexCount() > mark_) erase(vertexCount() - 1);
  mark_ = vertexCount();
}

bool UserPath::finish(bool ok) {
  if (ok) accepted();
  else cancelled();
  leave();
  return ok;
}

// Leaves the active-path reference, rolling the operation back, should an input operation
// end by an exception.
class UserPath::Frame {
 public:
  explicit Frame(UserPath& path) : path_(path) {}
  ~Frame() {
    if (done_) return;
    path_.rollBack();
    path_.leave();
  }
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;
  bool finish(bool ok) {
    const bool result = path_.finish(ok);
    done_ = true;
    return result;
  }

 private:
  UserPath& path_;
  bool done_ = false;
};

bool UserPath::askPoint(int prompt, bool withCursor, CadPoint& point) {
  platform::PointRequest request{};
  copyPrompt(request, prompts_[prompt - 1]);
  request.cursor = withCursor ? &UserPathCallbacks::cursor : nullptr;
  if (ask("IPOI", &request) != kNoError) return false;
  point = CadPoint(request.point);
  return true;
}

bool UserPath::getFirstPoint() {
  if (!enter()) return false;
  Frame frame(*this);
  mode_ = Mode::Plain;
  restart_ = false;
  CadPoint clicked;
  if (!askPoint(1, true, clicked)) return frame.finish(false);
  push_back(makeUserPoint(PolyPoint(clicked, 0.0, 0)));
  return frame.finish(true);
}

bool UserPath::getNextPoint(bool tangent) {
  if (!enter()) return false;
  Frame frame(*this);
  mode_ = Mode::Plain;
  if (empty()) {
    CadPoint first;
    if (!askPoint(1, false, first)) return frame.finish(false);
    append(makeUserPoint(PolyPoint(first, 0.0, 0)));
  }
  if (tangent) {
    if (vertexCount() < 2) {
      platform::LineRequest line{};
      copyPrompt(line, prompts_[0]);
      line.start = vertexFor(kLastVertex).getCoord3D();
      if (ask("ILIN", &line) != kNoError) return frame.finish(false);
      reference_ = CadPoint(line.end);
    } else {
      reference_ = vertexFor(int(vertexCount()) - 2);
    }
    mode_ = Mode::Tangent;
  }
  platform::LineRequest request{};
  GSErr result = kNoError;
  do {
    rubberBander_->begin();
    request = platform::LineRequest{};
    copyPrompt(request, prompts_[1]);
    request.cursor = &UserPathCallbacks::cursor;
    request.start = (restart_ ? PolyPoint(restartPoint_) : vertexFor(kLastVertex)).getCoord3D();
    restart_ = false;
    result = ask("ILIN", &request);
  } while (restart_ && result == kNoError);
  restart_ = false;
  if (result != kNoError) return frame.finish(false);
  std::unique_ptr<UserPoint> vertex = makeUserPoint(PolyPoint(CadPoint(request.end), 0.0, 0));
  vertex->setArcAngle(mode_ == Mode::Tangent ? tangentAngle(reference_, vertexFor(kLastVertex), *vertex) : 0.0);
  push_back(std::move(vertex));
  return frame.finish(true);
}

bool UserPath::getArc() {
  const std::size_t before = vertexCount();
  if (before < 2 && !getNextPoint(false)) return false;
  if (!enter()) return false;
  // A cancelled arc takes back the line asked for it too: the path is left as it was.
  mark_ = before;
  Frame frame(*this);
  const int centre = int(vertexCount()) - 2;
  reference_ = vertexFor(centre);
  mode_ = Mode::Arc;
  platform::ArcRequest request{};
  GSErr result = kNoError;
  do {
    rubberBander_->begin();
    request = platform::ArcRequest{};
    copyPrompt(request, prompts_[2]);
    request.cursor = &UserPathCallbacks::cursor;
    request.centre = vertexFor(centre).getCoord3D();
    request.start = (restart_ ? PolyPoint(restartPoint_) : vertexFor(kLastVertex)).getCoord3D();
    request.startGiven = 1;
    restart_ = false;
    result = ask("IARC", &request);
  } while (restart_ && result == kNoError);
  restart_ = false;
  if (result != kNoError) return frame.finish(false);
  const CadPoint end(request.clockwise ? request.arcStart : request.arcEnd);
  std::unique_ptr<UserPoint> vertex = makeUserPoint(PolyPoint(end, 0.0, 0));
  vertex->setArcAngle(chordAngle(CadPoint(request.centre), CadPoint(request.start), end));
  push_back(std::move(vertex));
  return frame.finish(true);
}

bool UserPath::getPolygon() {
  if (!enter()) return false;
  Frame frame(*this);
  mode_ = Mode::Plain;
  if (empty()) {
    CadPoint first;
    if (!askPoint(1, false, first)) return frame.finish(false);
    append(makeUserPoint(PolyPoint(first, 0.0, 0)));
  }
  polygonFloor_ = vertexCount();
  GSErr result = kNoError;
  do {
    rubberBander_->begin();
    platform::PolygonRequest request{};
    copyPrompt(request, prompts_[1]);
    request.cursor = &UserPathCallbacks::cursor;
    request.addVertex = &UserPathCallbacks::addVertex;
    request.takeBack = &UserPathCallbacks::takeBack;
    request.start = (restart_ ? restartPoint_ : (*this)[vertexCount() - 1]).getCoord3D();
    restart_ = false;
    result = ask("IPOL", &request);
  } while (restart_ && result == kNoError);
  restart_ = false;
  return frame.finish(result == kNoError);
}

std::unique_ptr<UserPoint> UserPath::makeUserPoint(const PolyPoint& point) const {
  std::unique_ptr<CadPoint> copy = prototype_->clone();
  std::unique_ptr<UserPoint> made(dynamic_cast<UserPoint*>(copy.get()));
  if (made) copy.release();
  else made = std::make_unique<UserPoint>(*prototype_);
  made->x() = point.getX();
  made->y() = point.getY();
  made->z() = point.getZ();
  made->setArcAngle(point.arcAngle());
  return made;
}

void UserPath::rubberStep(PolyPoint& cursor, bool drawFlag) {
  if (!rubberBander_) return;
  if (mode_ == Mode::Tangent && !empty()) {
    cursor.setArcAngle(tangentAngle(reference_, vertexFor(kLastVertex), cursor));
  } else if (mode_ == Mode::Arc && !empty()) {
    const PolyPoint start = vertexFor(kLastVertex);
    const double radius = reference_.distance2D(start);
    const double direction = reference_.azimuth(cursor);
    cursor.x() = reference_.getX() + radius * std::cos(direction);
    cursor.y() = reference_.getY() + radius * std::sin(direction);
    cursor.z() = start.getZ();
    cursor.setArcAngle(chordAngle(reference_, start, cursor));
  }
  std::unique_ptr<UserPoint> candidate = makeUserPoint(cursor);
  bool accepted = true;
  std::unique_ptr<PolyPoint> last;
  if (!empty()) {
    last = std::make_unique<PolyPoint>(vertexFor(kLastVertex, candidate.get()));
    accepted = applyGuide(last);
    // A guide that moved the vertex is asked again about where it moved it.
    if (!vertexFor(kLastVertex, candidate.get()).equals(*last, kTolerance)) accepted = applyGuide(last);
  }
  rubberBander_->draw(last.get(), *candidate, drawFlag, accepted);
  cursor.x() = candidate->getX();
  cursor.y() = candidate->getY();
  cursor.z() = candidate->getZ();
  cursor.setArcAngle(candidate->arcAngle());
}

bool UserPath::applyGuide(std::unique_ptr<PolyPoint>& candidate) {
  if (!candidate) return false;
  guide_->start(*candidate);
  if (empty()) return true;
  const auto* user = dynamic_cast<const UserPoint*>(candidate.get());
  for (int i = 0;; ++i) {
    std::unique_ptr<PolyPoint> alternative;
    if (user) alternative = user->alternative(i);
    else if (i == 0) alternative = std::make_unique<PolyPoint>(*candidate);
    if (!alternative) return false;
    if (guide_->accepts(*alternative)) {
      candidate = std::move(alternative);
      return true;
    }
  }
}

void UserPath::append(std::unique_ptr<PolyPoint> point) {
  if (!point) return;
  applyGuide(point);
  push_back(std::move(point));
}

void UserPath::removeLast() {
  if (!empty()) erase(vertexCount() - 1);
}

void UserPath::accepted() {}

void UserPath::cancelled() { rollBack(); }

double UserPath::tangentAngle(const CadPoint& referenceStart, const CadPoint& referenceEnd, const CadPoint& point) {
  if (referenceStart.equals2D(referenceEnd, kTolerance) || referenceEnd.equals2D(point, kTolerance)) return 0.0;
  // The angle between a tangent and a chord is half the arc's angle.
  double turn = referenceEnd.azimuth(point) - referenceStart.azimuth(referenceEnd);
  while (turn > kPi) turn -= kTwoPi;
  while (turn <= -kPi) turn += kTwoPi;
  if (std::fabs(turn) <= kTolerance || std::fabs(turn) >= kPi - kTolerance) return 0.0;
  return 2.0 * turn;
}

double UserPath::chordAngle(const CadPoint& centre, const CadPoint& start, const CadPoint& point) {
  if (start.equals2D(point, kTolerance)) return kTwoPi;
  const double radius = centre.distance2D(start);
  if (radius <= kTolerance) return 0.0;
  const double chord = start.distance2D(point);
  const double angle = 2.0 * std::asin(std::min(1.0, chord / (2.0 * radius)));
  // The side of the line from the centre to the start, as a signed distance.
  const double side = ((start.getX() - centre.getX()) * (point.getY() - centre.getY()) -
                       (start.getY() - centre.getY()) * (point.getX() - centre.getX())) /
                      radius;
  return side < -kTolerance ? -angle : angle;
}

}  // namespace lunvik
