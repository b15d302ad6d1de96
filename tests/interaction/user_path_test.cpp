// User paths inside the stand-in host: point, line, arc and polygon input, the one waiting
// path, cancelling, the tangent and chord angles, guides and the cursor's feedback.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/cad_arc.h"
#include "interaction/input_support.h"
#include "interaction/user_path.h"
#include "platform/input_records.h"
#include "support/loaded_host.h"

namespace {

using input_support::BanderLog;
using input_support::RecordingBander;
using lunvik::PolyPoint;
using lunvik::UserPath;
using standin::InputKind;
using standin::PointerAnswer;

constexpr double kPi = 3.14159265358979323846;

class UserPathTest : public testing_support::LoadedHost {
 protected:
  standin::Pointer& pointer() { return host().pointer(); }
  void click(double x, double y) { pointer().queue(PointerAnswer::point(x, y)); }
  void arc(double x, double y, bool clockwise = false) { pointer().queue(PointerAnswer::arc(x, y, clockwise)); }
  void escape() { pointer().queue(PointerAnswer::escape()); }
  // A path with a recording bander and the three prompts.
  std::unique_ptr<UserPath> path(RecordingBander::Drawing drawing = RecordingBander::Drawing::None) {
    auto made = std::make_unique<UserPath>(std::make_unique<RecordingBander>(log_, drawing));
    made->setPrompt(1, "first");
    made->setPrompt(2, "next");
    made->setPrompt(3, "arc");
    return made;
  }
  RecordingBander& bander(UserPath& p) { return static_cast<RecordingBander&>(p.rubberBander()); }
  // A path holding the clicked points, each asked for as the path asks (first, then lines).
  std::unique_ptr<UserPath> pathThrough(const std::vector<std::pair<double, double>>& points,
                                        RecordingBander::Drawing drawing = RecordingBander::Drawing::None) {
    auto made = path(drawing);
    for (std::size_t i = 0; i < points.size(); ++i) {
      click(points[i].first, points[i].second);
      EXPECT_TRUE(i == 0 ? made->getFirstPoint() : made->getNextPoint(false));
    }
    return made;
  }
  const standin::InputRecord& lastRequest() { return pointer().requests().back(); }

  BanderLog log_;
};

TEST_F(UserPathTest, AFirstPointIsAskedWithItsPromptAndFeedbackAndAddedAsAUserPoint) {
  auto p = path();
  pointer().queue(PointerAnswer::point(1, 2, 3));
  ASSERT_TRUE(p->getFirstPoint());
  ASSERT_EQ(p->vertexCount(), 1u);
  const PolyPoint& v = (*p)[0];
  EXPECT_NE(dynamic_cast<const lunvik::UserPoint*>(&v), nullptr);
  EXPECT_EQ(v.getX(), 1);
  EXPECT_EQ(v.getY(), 2);
  EXPECT_EQ(v.getZ(), 3);
  EXPECT_EQ(UserPath::active(), nullptr);
  ASSERT_EQ(pointer().requests().size(), 1u);
  EXPECT_EQ(lastRequest().kind, InputKind::Point);
  EXPECT_EQ(lastRequest().prompt, "first");
  // Four steps of travel and the erase after the click, every one through the bander.
  EXPECT_EQ(lastRequest().calls.size(), 8u);
  ASSERT_EQ(log_.calls.size(), 8u);
  EXPECT_FALSE(log_.calls[0].hasLast);
  EXPECT_TRUE(log_.calls[0].accepted);
}

TEST_F(UserPathTest, ASecondInputWhileOneWaitsAnswersFalseAtOnceAndLeavesBothPaths) {
  auto waiting = path();
  auto other = path();
  other->setPrompt(1, "other");
  std::vector<bool> answers;
  bander(*waiting).onDraw = [&]() {
    EXPECT_EQ(UserPath::active(), waiting.get());
    answers.push_back(other->getFirstPoint());
    answers.push_back(other->getNextPoint(true));
    answers.push_back(other->getArc());
    answers.push_back(other->getPolygon());
    answers.push_back(waiting->getFirstPoint());
  };
  click(1, 1);
  click(2, 2);  // for no one: the host is never asked again
  ASSERT_TRUE(waiting->getFirstPoint());
  EXPECT_EQ(answers, std::vector<bool>(5, false));
  EXPECT_EQ(waiting->vertexCount(), 1u);
  EXPECT_EQ(other->vertexCount(), 0u);
  EXPECT_EQ(pointer().requests().size(), 1u);
  EXPECT_EQ(pointer().pendingAnswers().size(), 1u);
  EXPECT_EQ(UserPath::active(), nullptr);
}

TEST_F(UserPathTest, CancellingTheSecondClickOfALineOnAnEmptyPathRemovesTheFirstPoint) {
  auto p = path();
  click(0, 0);
  escape();
  EXPECT_FALSE(p->getNextPoint(false));
  EXPECT_EQ(p->vertexCount(), 0u);
  EXPECT_EQ(p->mark(), 0u);
  ASSERT_EQ(pointer().requests().size(), 2u);
  // The line's start is asked without feedback.
  EXPECT_EQ(pointer().requests()[0].kind, InputKind::Point);
  EXPECT_EQ(pointer().requests()[0].prompt, "first");
  EXPECT_TRUE(pointer().requests()[0].calls.empty());
  EXPECT_EQ(pointer().requests()[1].kind, InputKind::Line);
  EXPECT_EQ(pointer().requests()[1].outcome, standin::InputRecord::Outcome::Escaped);
  EXPECT_EQ(UserPath::active(), nullptr);

  // A path that had its point keeps it.
  click(5, 5);
  ASSERT_TRUE(p->getFirstPoint());
  escape();
  EXPECT_FALSE(p->getNextPoint(false));
  EXPECT_EQ(p->vertexCount(), 1u);
}

TEST_F(UserPathTest, ALineRunsFromTheLastVertexAndAddsAStraightEdge) {
  auto p = pathThrough({{1, 1}, {4, 5}});
  ASSERT_EQ(p->vertexCount(), 2u);
  EXPECT_EQ(lastRequest().kind, InputKind::Line);
  EXPECT_EQ(lastRequest().prompt, "next");
  EXPECT_EQ(lastRequest().start.x, 1);
  EXPECT_EQ(lastRequest().start.y, 1);
  EXPECT_EQ((*p)[1].getX(), 4);
  EXPECT_EQ((*p)[1].arcAngle(), 0);
  EXPECT_EQ(log_.begins, 1);
}

TEST_F(UserPathTest, TheTangentAndChordAnglesMatchHandValues) {
  struct Tangent {
    PolyPoint from, to, point;
    double angle;
  };
  const Tangent tangents[] = {
      {{-1, 0, 0}, {0, 0, 0}, {1, 1, 0}, kPi / 2},    // a quarter circle turning left
      {{-1, 0, 0}, {0, 0, 0}, {1, -1, 0}, -kPi / 2},  // and right
      {{-1, 0, 0}, {0, 0, 0}, {0, 2, 0}, kPi},        // a half circle
      {{-1, 0, 0}, {0, 0, 0}, {1, std::sqrt(3.0), 0}, 2 * kPi / 3},
      {{0, 0, 0}, {0, 1, 0}, {-1, 2, 0}, kPi / 2},    // the line pointing up
      {{-1, 0, 0}, {0, 0, 0}, {2, 0, 0}, 0},          // straight ahead
      {{-1, 0, 0}, {0, 0, 0}, {-3, 0, 0}, 0},         // straight behind: no arc leaves that way
      {{0, 0, 0}, {0, 0, 0}, {1, 1, 0}, 0},           // a reference line of no length
  };
  for (const Tangent& t : tangents) {
    SCOPED_TRACE(std::to_string(t.point.getX()) + "," + std::to_string(t.point.getY()));
    EXPECT_NEAR(UserPath::tangentAngle(t.from, t.to, t.point), t.angle, 1e-12);
  }
  struct Chord {
    PolyPoint point;
    double angle;
  };
  const double h = std::sqrt(2.0);
  const Chord chords[] = {
      // About (0, 0) from (2, 0).
      {{0, 2, 0}, kPi / 2}, {{0, -2, 0}, -kPi / 2}, {{h, h, 0}, kPi / 4}, {{h, -h, 0}, -kPi / 4},
      {{-2, 0, 0}, kPi},    {{2, 0, 0}, 2 * kPi},  // the start itself: a full turn
      {{-5, 0, 0}, kPi},                           // off the circle, farther than its diameter
  };
  for (const Chord& c : chords) {
    SCOPED_TRACE(std::to_string(c.point.getX()) + "," + std::to_string(c.point.getY()));
    EXPECT_NEAR(UserPath::chordAngle(PolyPoint(0, 0, 0), PolyPoint(2, 0, 0), c.point), c.angle, 1e-12);
  }
  // A start on the centre has no circle.
  EXPECT_EQ(UserPath::chordAngle(PolyPoint(1, 1, 0), PolyPoint(1, 1, 0), PolyPoint(2, 2, 0)), 0);
}

TEST_F(UserPathTest, ATangentLineLeavesTheLastVertexAlongTheEdgeBeforeIt) {
  struct Case {
    double x, y, angle;
  };
  const Case cases[] = {{1, 1, kPi / 2}, {1, -1, -kPi / 2}, {0, 2, kPi}, {2, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    auto p = pathThrough({{-1, 0}, {0, 0}});
    click(c.x, c.y);
    ASSERT_TRUE(p->getNextPoint(true));
    ASSERT_EQ(p->vertexCount(), 3u);
    EXPECT_NEAR((*p)[2].arcAngle(), c.angle, 1e-12);
    if (c.angle != 0) {
      // The arc's centre lies straight above or below the vertex it leaves: it leaves along +x.
      lunvik::CadArc edge((*p)[1], (*p)[2]);
      EXPECT_NEAR(edge.centre().getX(), 0, 1e-9);
    }
  }
}

TEST_F(UserPathTest, ATangentFromASingleVertexAsksForTheReferenceLineFirst) {
  auto p = pathThrough({{0, 0}});
  click(-1, 0);  // the reference line, from here to the vertex
  click(1, 1);
  ASSERT_TRUE(p->getNextPoint(true));
  ASSERT_EQ(p->vertexCount(), 2u);
  EXPECT_NEAR((*p)[1].arcAngle(), kPi / 2, 1e-12);
  ASSERT_EQ(pointer().requests().size(), 3u);
  const standin::InputRecord& reference = pointer().requests()[1];
  EXPECT_EQ(reference.kind, InputKind::Line);
  EXPECT_EQ(reference.prompt, "first");
  EXPECT_TRUE(reference.calls.empty());
  EXPECT_EQ(lastRequest().prompt, "next");
  // While the end is sought, the cursor carries the tangent arc's angle.
  const BanderLog::Call& call = log_.calls.back();
  EXPECT_NEAR(call.cursor.arcAngle(), UserPath::tangentAngle(PolyPoint(-1, 0, 0), PolyPoint(0, 0, 0), call.cursor),
              1e-12);
  EXPECT_NE(call.cursor.arcAngle(), 0);
}

TEST_F(UserPathTest, AnArcTakesTheSignedTurnAboutTheVertexBeforeTheLast) {
  struct Case {
    const char* what;
    double x, y;
    bool clockwise;
    double endX, endY, angle;
  };
  const double h = std::sqrt(2.0);
  const Case cases[] = {
      {"a quarter turn left", 0, 5, false, 0, 2, kPi / 2},
      {"a quarter turn right", 0, -1, false, 0, -2, -kPi / 2},
      {"an eighth, the cursor off the circle", 3, 3, false, h, h, kPi / 4},
      {"a half turn", -7, 0, false, -2, 0, kPi},
      {"drawn clockwise: the same end and angle", 0, 5, true, 0, 2, kPi / 2},
      {"a click on the start point: a full turn", 2, 0, false, 2, 0, 2 * kPi},
  };
  auto p = pathThrough({{0, 0}, {2, 0}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    arc(c.x, c.y, c.clockwise);
    ASSERT_TRUE(p->getArc());
    ASSERT_EQ(p->vertexCount(), 3u);
    EXPECT_NEAR((*p)[2].getX(), c.endX, 1e-12);
    EXPECT_NEAR((*p)[2].getY(), c.endY, 1e-12);
    EXPECT_NEAR((*p)[2].arcAngle(), c.angle, 1e-12);
    EXPECT_EQ(lastRequest().kind, InputKind::Arc);
    EXPECT_EQ(lastRequest().prompt, "arc");
    EXPECT_EQ(lastRequest().centre.x, 0);
    EXPECT_EQ(lastRequest().start.x, 2);
    p->removeLast();
  }
}

TEST_F(UserPathTest, ACancelledArcLeavesThePathAsItWasLineIncluded) {
  auto p = path();
  click(0, 0);
  click(2, 0);
  escape();
  EXPECT_FALSE(p->getArc());
  EXPECT_EQ(p->vertexCount(), 0u);
  ASSERT_EQ(pointer().requests().size(), 3u);
  EXPECT_EQ(pointer().requests()[1].kind, InputKind::Line);
  EXPECT_EQ(lastRequest().kind, InputKind::Arc);

  // On a path that had its line, only the arc's vertex goes.
  auto q = pathThrough({{0, 0}, {2, 0}});
  escape();
  EXPECT_FALSE(q->getArc());
  EXPECT_EQ(q->vertexCount(), 2u);
}

TEST_F(UserPathTest, ArcFeedbackMovesTheCursorOntoTheCircleAndDrawsThirtySixLines) {
  auto p = pathThrough({{0, 0}, {2, 0}}, RecordingBander::Drawing::Edge);
  arc(0, 5);
  ASSERT_TRUE(p->getArc());
  const standin::InputRecord& r = lastRequest();
  ASSERT_EQ(r.calls.size(), 8u);
  for (const standin::CursorCall& call : r.calls) {
    EXPECT_NEAR(std::hypot(call.returned.x, call.returned.y), 2, 1e-9);
    EXPECT_EQ(call.lines.size(), std::size_t(lunvik::RubberBander::kArcSteps));
    for (std::size_t i = 1; i < call.lines.size(); ++i) {
      EXPECT_EQ(call.lines[i].from.x, call.lines[i - 1].to.x);
      EXPECT_NEAR(std::hypot(call.lines[i].from.x, call.lines[i].from.y), 2, 1e-9);
    }
    EXPECT_NEAR(call.lines.front().from.x, 2, 1e-12);
    // A draw call's arc ends at the cursor; an erase call's where the draw call before left it.
    if (call.draw) {
      EXPECT_NEAR(std::hypot(call.lines.back().to.x - call.returned.x, call.lines.back().to.y - call.returned.y), 0,
                  1e-9);
    }
  }
  EXPECT_TRUE(pointer().mismatches().empty());
  // The bander was told the start and the cursor on the circle with its turn.
  const BanderLog::Call& last = log_.calls.back();
  EXPECT_TRUE(last.hasLast);
  EXPECT_EQ(last.last.getX(), 2);
  EXPECT_NEAR(last.cursor.arcAngle(), kPi / 2, 1e-9);
}

TEST_F(UserPathTest, APolygonAppendsTheVerticesTheUserAddsAndTakesBack) {
  auto p = path();
  click(0, 0);
  pointer().queue(PointerAnswer::polygon({{false, {1, 0, 0}}, {false, {2, 0, 0}}, {true, {}}, {false, {1, 1, 0}}}));
  ASSERT_TRUE(p->getPolygon());
  ASSERT_EQ(p->vertexCount(), 3u);
  EXPECT_EQ((*p)[1].getX(), 1);
  EXPECT_EQ((*p)[2].getY(), 1);
  EXPECT_NE(dynamic_cast<const lunvik::UserPoint*>(&(*p)[2]), nullptr);
  ASSERT_EQ(pointer().requests().size(), 2u);
  EXPECT_TRUE(pointer().requests()[0].calls.empty());
  EXPECT_EQ(lastRequest().kind, InputKind::Polygon);
  EXPECT_EQ(lastRequest().prompt, "next");
  EXPECT_EQ(lastRequest().start.x, 0);

  // A cancelled polygon takes its first vertex back too when it asked for it.
  auto q = path();
  click(0, 0);
  escape();
  EXPECT_FALSE(q->getPolygon());
  EXPECT_EQ(q->vertexCount(), 0u);
}

// A host whose polygon input reports more take-backs than vertices it added.
platform::HostFunctionTable gInner{};
platform::GSErr greedyInterface(platform::HostToken token, uint32_t code, void* p1, void* p2, void* p3) {
  if (code == platform::fourcc("IPOL")) {
    auto* request = static_cast<platform::PolygonRequest*>(p1);
    const platform::Coord3D vertex{9, 9, 0};
    request->addVertex(&vertex);
    for (int i = 0; i < 3; ++i) request->takeBack();
    return platform::kNoError;
  }
  return gInner.HostInterface(token, code, p1, p2, p3);
}

TEST(UserPathHostTest, APolygonsTakeBackNeverRemovesWhatThePathHadBefore) {
  char pattern[] = "/tmp/trestlar-greedy-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  {
    standin::Host host;
    host.setApplicationDataFolder(pattern);
    gInner = host.table();
    platform::HostFunctionTable table = host.table();
    table.HostInterface = &greedyInterface;
    host.setTable(table);
    std::string error;
    ASSERT_TRUE(host.load(testing_support::linkedAddon(), error)) << error;
    UserPath p;
    p.append(std::make_unique<PolyPoint>(0, 0, 0));
    p.append(std::make_unique<PolyPoint>(1, 0, 0));
    ASSERT_TRUE(p.getPolygon());
    ASSERT_EQ(p.vertexCount(), 2u);
    EXPECT_EQ(p[1].getX(), 1);
  }
  std::filesystem::remove_all(pattern);
}

TEST_F(UserPathTest, TheGuideChoosesAmongACandidatesAlternatives) {
  auto guide = std::make_unique<input_support::BeyondGuide>(20);
  input_support::BeyondGuide& g = *guide;
  UserPath p(nullptr, std::move(guide), std::make_unique<input_support::SteppingPoint>());
  // On an empty path everything is accepted unasked.
  std::unique_ptr<PolyPoint> candidate = p.makeUserPoint(PolyPoint(1, 0, 0));
  EXPECT_TRUE(p.applyGuide(candidate));
  EXPECT_EQ(g.starts, 1);
  EXPECT_EQ(g.asked, 0);
  p.append(p.makeUserPoint(PolyPoint(0, 0, 0)));
  // Alternatives 0 (x 1) and 1 (x 11) are turned down, 2 (x 21) taken.
  candidate = p.makeUserPoint(PolyPoint(1, 0, 0));
  EXPECT_TRUE(p.applyGuide(candidate));
  EXPECT_EQ(candidate->getX(), 21);
  EXPECT_NE(dynamic_cast<input_support::SteppingPoint*>(candidate.get()), nullptr);
  // None fits: the candidate stays.
  candidate = p.makeUserPoint(PolyPoint(-50, 0, 0));
  EXPECT_FALSE(p.applyGuide(candidate));
  EXPECT_EQ(candidate->getX(), -50);
  // A vertex that is no user point offers only itself.
  candidate = std::make_unique<PolyPoint>(25, 0, 0);
  EXPECT_TRUE(p.applyGuide(candidate));
  EXPECT_EQ(candidate->getX(), 25);
  // append keeps what the guide chose.
  p.append(p.makeUserPoint(PolyPoint(5, 0, 0)));
  EXPECT_EQ(p[1].getX(), 25);
}

TEST_F(UserPathTest, AVertexStandsForWhatItsPointClassSays) {
  UserPath p(nullptr, nullptr, std::make_unique<input_support::MidwayPoint>());
  EXPECT_THROW(p.vertexFor(UserPath::kLastVertex), std::out_of_range);
  p.append(p.makeUserPoint(PolyPoint(0, 0, 0)));
  p.append(std::make_unique<PolyPoint>(4, 2, 0));
  EXPECT_EQ(p.vertexFor(0).getX(), 2);  // midway to the vertex after it
  PolyPoint next(10, 0, 0);
  EXPECT_EQ(p.vertexFor(0, &next).getX(), 5);
  EXPECT_EQ(p.vertexFor(UserPath::kLastVertex).getX(), 4);  // no user point: copied
  EXPECT_THROW(p.vertexFor(2), std::out_of_range);
  EXPECT_THROW(p.vertexFor(-2), std::out_of_range);
}

TEST_F(UserPathTest, ARestartRepeatsTheInputFromTheRestartPoint) {
  auto p = pathThrough({{0, 0}});
  bander(*p).onDraw = [&]() { p->restartFrom(PolyPoint(5, 5, 0)); };
  click(1, 1);
  click(2, 2);
  ASSERT_TRUE(p->getNextPoint(false));
  ASSERT_EQ(p->vertexCount(), 2u);
  EXPECT_EQ((*p)[1].getX(), 2);
  ASSERT_EQ(pointer().requests().size(), 3u);
  EXPECT_EQ(pointer().requests()[1].start.x, 0);
  EXPECT_EQ(lastRequest().start.x, 5);
  EXPECT_EQ(log_.begins, 2);
}

TEST_F(UserPathTest, ANewVertexIsACopyOfThePointPrototype) {
  UserPath p(nullptr, nullptr, std::make_unique<input_support::SteppingPoint>());
  click(1, 2);
  ASSERT_TRUE(p.getFirstPoint());
  EXPECT_NE(dynamic_cast<const input_support::SteppingPoint*>(&p[0]), nullptr);
  std::unique_ptr<lunvik::UserPoint> made = p.makeUserPoint(PolyPoint(3, 4, 5, 0.5, 0));
  EXPECT_EQ(made->getZ(), 5);
  EXPECT_EQ(made->arcAngle(), 0.5);
}

}  // namespace
