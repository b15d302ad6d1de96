// The stand-in host's pointer: input requests answered from queued clicks, the cursor's
// travel with its erase and draw calls, the rubber lines and what the host refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "platform/input_records.h"

namespace {

using platform::Coord3D;
using platform::fourcc;
using standin::InputKind;
using standin::InputRecord;
using standin::PointerAnswer;
using standin::PointerFailure;

// What the callbacks of a request did, and how they draw.
struct Feedback {
  enum class Style { Nothing, Remembering, AtTheCursor };
  Style style = Style::Nothing;
  Coord3D anchor{0, 0, 0};   // the lines run from here to the cursor
  Coord3D shown{};           // the cursor of the last draw call
  std::vector<std::string> events;
  std::function<void()> during;  // run inside the first cursor call
};
Feedback* gFeedback = nullptr;

platform::HostFunctionTable* gTable = nullptr;
platform::HostToken gToken = 0;

platform::GSErr hostInterface(const char (&code)[5], void* p1, void* p2 = nullptr) {
  return gTable->HostInterface(gToken, fourcc(code), p1, p2, nullptr);
}

void drawTo(const Coord3D& to) {
  Coord3D from = gFeedback->anchor;
  Coord3D end = to;
  hostInterface("DRLI", &from, &end);
}

void cursor(Coord3D* at, bool draw) {
  Feedback& f = *gFeedback;
  f.events.push_back(std::string(draw ? "draw " : "erase ") + std::to_string(at->x) + "," + std::to_string(at->y));
  if (f.during) {
    auto during = std::move(f.during);
    f.during = nullptr;
    during();
  }
  switch (f.style) {
    case Feedback::Style::Nothing:
      break;
    case Feedback::Style::Remembering:
      if (draw) f.shown = *at;
      drawTo(f.shown);
      break;
    case Feedback::Style::AtTheCursor:
      drawTo(*at);
      break;
  }
}

void addVertex(const Coord3D* v) { gFeedback->events.push_back("add " + std::to_string(v->x) + "," + std::to_string(v->y)); }
void takeBack() { gFeedback->events.push_back("back"); }

template <typename Request>
Request withPrompt(const char* prompt) {
  Request r{};
  std::strncpy(r.prompt, prompt, sizeof r.prompt - 1);
  return r;
}

class PointerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table_ = host_.table();
    gTable = &table_;
    gToken = host_.token();
    gFeedback = &feedback_;
  }
  void TearDown() override {
    gFeedback = nullptr;
    gTable = nullptr;
  }
  standin::Pointer& pointer() { return host_.pointer(); }
  platform::GSErr askPoint(const char* prompt = "Click a point", platform::InputCursorFn fn = &cursor) {
    auto r = withPrompt<platform::PointRequest>(prompt);
    r.cursor = fn;
    platform::GSErr err = hostInterface("IPOI", &r);
    lastPoint_ = r.point;
    return err;
  }
  platform::GSErr askPolygon(const Coord3D& start) {
    auto r = withPrompt<platform::PolygonRequest>("Click the vertices");
    r.cursor = &cursor;
    r.addVertex = &addVertex;
    r.takeBack = &takeBack;
    r.start = start;
    platform::GSErr err = hostInterface("IPOL", &r);
    vertexCount_ = r.vertexCount;
    return err;
  }

  standin::Host host_;
  platform::HostFunctionTable table_{};
  Feedback feedback_;
  Coord3D lastPoint_{};
  int32_t vertexCount_ = 0;
};

TEST_F(PointerTest, TheCursorTravelsToAClickInErasePlusDrawPairsAndErasesAfterIt) {
  pointer().queue(PointerAnswer::point(4, 8));
  ASSERT_EQ(askPoint(), platform::kNoError);
  EXPECT_EQ(lastPoint_.x, 4);
  EXPECT_EQ(lastPoint_.y, 8);
  // From the origin, where the pointer starts, in four steps.
  EXPECT_EQ(feedback_.events, (std::vector<std::string>{"draw 1.000000,2.000000", "erase 2.000000,4.000000",
                                                        "draw 2.000000,4.000000", "erase 3.000000,6.000000",
                                                        "draw 3.000000,6.000000", "erase 4.000000,8.000000",
                                                        "draw 4.000000,8.000000", "erase 4.000000,8.000000"}));
  ASSERT_EQ(pointer().requests().size(), 1u);
  const InputRecord& r = pointer().requests()[0];
  EXPECT_EQ(r.prompt, "Click a point");
  EXPECT_EQ(r.outcome, InputRecord::Outcome::Clicked);
  EXPECT_EQ(r.calls.size(), 8u);
  // The next click starts where this one left the pointer.
  feedback_.events.clear();
  pointer().queue(PointerAnswer::point(8, 8));
  ASSERT_EQ(askPoint(), platform::kNoError);
  EXPECT_EQ(feedback_.events.front(), "draw 5.000000,8.000000");
}

TEST_F(PointerTest, ARequestWithoutFeedbackIsAnsweredWithoutCalls) {
  pointer().queue(PointerAnswer::point(1, 2, 3));
  ASSERT_EQ(askPoint("no feedback", nullptr), platform::kNoError);
  EXPECT_EQ(lastPoint_.z, 3);
  EXPECT_TRUE(pointer().requests()[0].calls.empty());
}

TEST_F(PointerTest, AnEraseCallMustDrawWhatTheDrawCallBeforeItDrew) {
  struct Case {
    Feedback::Style style;
    std::size_t mismatches;
  };
  // Drawing at the cursor on erase calls draws where the cursor went, not what was shown:
  // every erase of the travel but the last (at the click, where the cursor stayed) differs.
  for (const Case& c : {Case{Feedback::Style::Nothing, 0}, Case{Feedback::Style::Remembering, 0},
                        Case{Feedback::Style::AtTheCursor, 3}}) {
    SCOPED_TRACE(int(c.style));
    host_.clearRecords();
    feedback_ = Feedback();
    feedback_.style = c.style;
    const double from = pointer().position().x;
    pointer().queue(PointerAnswer::point(from + 4, 0));
    ASSERT_EQ(askPoint(), platform::kNoError);
    EXPECT_EQ(pointer().mismatches().size(), c.mismatches);
    const InputRecord& r = pointer().requests()[0];
    std::size_t drawn = 0;
    for (const standin::CursorCall& call : r.calls) drawn += call.lines.size();
    EXPECT_EQ(pointer().rubberLines().size(), drawn);
    if (c.mismatches) {
      const standin::EraseMismatch& m = pointer().mismatches()[0];
      EXPECT_EQ(m.call, 1u);
      ASSERT_EQ(m.drawn.size(), 1u);
      ASSERT_EQ(m.erased.size(), 1u);
      EXPECT_EQ(m.drawn[0].to.x, from + 1);
      EXPECT_EQ(m.erased[0].to.x, from + 2);
    }
  }
}

TEST_F(PointerTest, ALineIsDrawnFromItsStartAndAnsweredWithItsEnd) {
  pointer().queue(PointerAnswer::point(3, 4));
  auto r = withPrompt<platform::LineRequest>("Click the end");
  r.start = {1, 1, 0};
  ASSERT_EQ(hostInterface("ILIN", &r), platform::kNoError);
  EXPECT_EQ(r.end.x, 3);
  EXPECT_EQ(r.end.y, 4);
  EXPECT_EQ(pointer().requests()[0].kind, InputKind::Line);
  EXPECT_EQ(pointer().requests()[0].start.x, 1);
}

TEST_F(PointerTest, AnArcIsAnsweredWithItsEndOnTheCircleThroughItsStart) {
  struct Case {
    double x, y;
    bool clockwise;
    Coord3D end;
  };
  const double h = std::sqrt(0.5) * 2;
  const Case cases[] = {
      {0, 5, false, {0, 2, 0}},  // straight above the centre, twice as far out
      {3, 3, false, {h, h, 0}},
      {0, -1, true, {0, -2, 0}},
      {0, 0, false, {2, 0, 0}},  // on the centre: the start itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    pointer().queue(PointerAnswer::arc(c.x, c.y, c.clockwise));
    auto r = withPrompt<platform::ArcRequest>("Click the end of the arc");
    r.centre = {0, 0, 0};
    r.start = {2, 0, 0};
    r.startGiven = 1;
    ASSERT_EQ(hostInterface("IARC", &r), platform::kNoError);
    EXPECT_EQ(r.clockwise, c.clockwise ? 1 : 0);
    // The arc's ends as it runs counter-clockwise: the clicked end is arcEnd, or arcStart
    // for an arc drawn clockwise.
    const Coord3D& end = c.clockwise ? r.arcStart : r.arcEnd;
    const Coord3D& start = c.clockwise ? r.arcEnd : r.arcStart;
    EXPECT_NEAR(end.x, c.end.x, 1e-12);
    EXPECT_NEAR(end.y, c.end.y, 1e-12);
    EXPECT_EQ(start.x, 2);
    EXPECT_EQ(start.y, 0);
  }
  // The stand-in host asks only for the end.
  auto r = withPrompt<platform::ArcRequest>("both ends");
  pointer().queue(PointerAnswer::arc(1, 1));
  EXPECT_EQ(hostInterface("IARC", &r), platform::kErrBadParameter);
  EXPECT_EQ(pointer().pendingAnswers().size(), 1u);
}

TEST_F(PointerTest, APolygonAddsAndTakesBackItsVerticesThroughTheCallbacks) {
  pointer().queue(PointerAnswer::polygon({{false, {1, 0, 0}}, {false, {2, 0, 0}}, {true, {}}, {false, {1, 1, 0}}}));
  ASSERT_EQ(askPolygon({0, 0, 0}), platform::kNoError);
  std::vector<std::string> order;
  for (const std::string& e : feedback_.events)
    if (e.compare(0, 4, "draw") != 0 && e.compare(0, 5, "erase") != 0) order.push_back(e);
  EXPECT_EQ(order, (std::vector<std::string>{"add 1.000000,0.000000", "add 2.000000,0.000000", "back",
                                             "add 1.000000,1.000000"}));
  EXPECT_EQ(vertexCount_, 3);
  const InputRecord& r = pointer().requests()[0];
  ASSERT_EQ(r.vertices.size(), 3u);
  EXPECT_EQ(r.vertices[0].x, 0);
  EXPECT_EQ(r.vertices[2].y, 1);
}

TEST_F(PointerTest, ARequestTheScriptCannotAnswerIsCancelledAndTheFailureKept) {
  struct Case {
    const char* what;
    std::vector<PointerAnswer> answers;
    PointerFailure::Kind failure;
    platform::GSErr result;
  };
  PointerAnswer wrong = PointerAnswer::polygon({{false, {1, 0, 0}}, {false, {1, 1, 0}}});
  wrong.line = 7;
  const Case cases[] = {
      {"escape", {PointerAnswer::escape()}, PointerFailure::Kind::None, platform::kErrCancelled},
      {"no answer", {}, PointerFailure::Kind::NoAnswer, platform::kErrCancelled},
      {"a polygon for a point", {wrong}, PointerFailure::Kind::WrongAnswer, platform::kErrCancelled},
      {"an arc for a point", {PointerAnswer::arc(1, 1)}, PointerFailure::Kind::WrongAnswer, platform::kErrCancelled},
      {"a point", {PointerAnswer::point(1, 1)}, PointerFailure::Kind::None, platform::kNoError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pointer().clearFailure();
    pointer().dropAnswers();
    for (const PointerAnswer& a : c.answers) pointer().queue(a);
    feedback_.events.clear();
    EXPECT_EQ(askPoint("Click the first point"), c.result);
    EXPECT_EQ(pointer().failure().kind, c.failure);
    if (c.result != platform::kNoError) {
      EXPECT_TRUE(feedback_.events.empty());
    }
    if (c.failure != PointerFailure::Kind::None) {
      EXPECT_EQ(pointer().failure().prompt, "Click the first point");
      EXPECT_EQ(pointer().failure().request, InputKind::Point);
      EXPECT_EQ(pointer().requests().back().outcome, InputRecord::Outcome::Failed);
    }
  }
  pointer().clearFailure();
  pointer().queue(wrong);
  askPoint();
  EXPECT_EQ(pointer().failure().line, 7);
  EXPECT_EQ(pointer().failure().answer, PointerAnswer::Kind::Polygon);
  // A failed script agrees to nothing more: the next request is cancelled too.
  pointer().queue(PointerAnswer::point(1, 1));
  EXPECT_EQ(askPoint(), platform::kErrCancelled);
  EXPECT_EQ(pointer().pendingAnswers().size(), 1u);
}

TEST_F(PointerTest, AnAnswerNoRealPointerCouldGiveIsRefusedWithItsLine) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  auto numbered = [](PointerAnswer a) {
    a.line = 12;
    return a;
  };
  struct Case {
    const char* what;
    PointerAnswer answer;
    bool polygon;
    const char* message;
  };
  const Case cases[] = {
      {"not a number", numbered(PointerAnswer::point(nan, 1)), false, "a click is at finite coordinates"},
      {"infinite", numbered(PointerAnswer::point(1, 1, -inf)), false, "a click is at finite coordinates"},
      {"an infinite vertex", numbered(PointerAnswer::polygon({{false, {1, 0, 0}}, {false, {inf, 1, 0}}})), true,
       "a click is at finite coordinates"},
      {"two vertices", numbered(PointerAnswer::polygon({{false, {1, 0, 0}}})), true,
       "the polygon would close with 2 vertices, its first one included; it takes 3"},
      {"taken back", numbered(PointerAnswer::polygon({{false, {1, 0, 0}}, {false, {1, 1, 0}}, {true, {}}})), true,
       "the polygon would close with 2 vertices, its first one included; it takes 3"},
      {"the first taken back", numbered(PointerAnswer::polygon({{true, {}}, {false, {1, 0, 0}}, {false, {1, 1, 0}}})),
       true, "the polygon takes back more vertices than it adds"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pointer().clearFailure();
    feedback_.events.clear();
    pointer().queue(c.answer);
    EXPECT_EQ(c.polygon ? askPolygon({0, 0, 0}) : askPoint(), platform::kErrCancelled);
    EXPECT_EQ(pointer().failure().kind, PointerFailure::Kind::BadAnswer);
    EXPECT_EQ(pointer().failure().line, 12);
    EXPECT_EQ(pointer().failure().message, c.message);
    // Nothing of it reached the callbacks.
    EXPECT_TRUE(feedback_.events.empty());
  }
}

TEST_F(PointerTest, AZIsTakenInThePlanButNotInASection) {
  pointer().queue(PointerAnswer::point(1, 2, 3));
  ASSERT_EQ(askPoint(), platform::kNoError);
  platform::DatabaseRecord section = host_.model().addCutPlane(platform::kDatabaseSection, 0, 0, 10, 0, 0, "S1");
  ASSERT_TRUE(host_.model().setCurrent(section));
  pointer().queue(PointerAnswer::point(1, 2));
  ASSERT_EQ(askPoint(), platform::kNoError);
  EXPECT_EQ(lastPoint_.x, 1);
  EXPECT_EQ(lastPoint_.y, 2);
  EXPECT_EQ(lastPoint_.z, 0);
  PointerAnswer withZ = PointerAnswer::point(1, 2, 3);
  withZ.line = 4;
  pointer().queue(withZ);
  EXPECT_EQ(askPoint(), platform::kErrCancelled);
  EXPECT_EQ(pointer().failure().message, "a click in section \"S1\" takes two coordinates, not three");
  EXPECT_EQ(pointer().failure().line, 4);
}

TEST_F(PointerTest, ARequestFromInsideAnotherIsRefused) {
  platform::GSErr inner = platform::kNoError;
  feedback_.during = [&]() { inner = askPoint("inner"); };
  pointer().queue(PointerAnswer::point(1, 1));
  pointer().queue(PointerAnswer::point(2, 2));
  ASSERT_EQ(askPoint("outer"), platform::kNoError);
  EXPECT_EQ(inner, platform::kErrGeneral);
  EXPECT_EQ(lastPoint_.x, 1);
  ASSERT_EQ(pointer().requests().size(), 1u);
  EXPECT_EQ(pointer().requests()[0].prompt, "outer");
  EXPECT_EQ(pointer().pendingAnswers().size(), 1u);
}

TEST_F(PointerTest, ThePromptIsReadToItsFieldsSizeAndRubberLinesOutsideARequestAreKept) {
  auto r = withPrompt<platform::PointRequest>("");
  std::memset(r.prompt, 'p', sizeof r.prompt);  // no terminator
  pointer().queue(PointerAnswer::point(1, 1));
  ASSERT_EQ(hostInterface("IPOI", &r), platform::kNoError);
  EXPECT_EQ(pointer().requests()[0].prompt, std::string(platform::kPromptSize, 'p'));

  Coord3D a{0, 0, 0}, b{1, 0, 0};
  ASSERT_EQ(hostInterface("DRLI", &a, &b), platform::kNoError);
  ASSERT_EQ(pointer().rubberLines().size(), 1u);
  EXPECT_EQ(pointer().rubberLines()[0].request, standin::RubberLine::kNone);
  EXPECT_EQ(hostInterface("DRLI", &a, nullptr), platform::kErrNullArgument);
  b.x = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(hostInterface("DRLI", &a, &b), platform::kErrBadParameter);
  EXPECT_EQ(hostInterface("IPOI", nullptr), platform::kErrNullArgument);
  EXPECT_EQ(pointer().rubberLines().size(), 1u);
}

}  // namespace
