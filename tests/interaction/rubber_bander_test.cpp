// Rubber drawing: lines, arcs in thirty-six steps, edges and polygons drawn last edge first,
// and input that goes on, or stops cleanly, whichever host call is refused.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "geometry/cad_arc.h"
#include "host/core/fault_table.h"
#include "interaction/input_support.h"
#include "interaction/rubber_bander.h"
#include "interaction/user_path.h"
#include "support/loaded_host.h"

namespace {

using lunvik::PolyPoint;
using lunvik::RubberBander;
using standin::PointerAnswer;

constexpr double kPi = 3.14159265358979323846;

// A host with the add-on loaded through the fault table, so that a test can make the k-th
// host call from a point on fail.
class RubberTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-rubber-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    appData_ = pattern;
    host_ = std::make_unique<standin::Host>();
    host_->setApplicationDataFolder(appData_);
    host_->setTable(standin::faultyTable(host_->table(), plan_));
    std::string error;
    ASSERT_TRUE(host_->load(testing_support::linkedAddon(), error)) << error;
  }
  void TearDown() override {
    host_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(appData_, ignored);
  }
  // The k-th host call from now on (1: the next) fails.
  void failAfter(int k) {
    plan_.failAt = plan_.calls + k;
    plan_.fired = false;
  }
  const std::vector<standin::RubberLine>& lines() { return host_->pointer().rubberLines(); }
  static lunvik::CadPoly square(bool closed) {
    lunvik::CadPoly p(0, 0, closed);
    for (const auto& v : {PolyPoint(0, 0, 0), PolyPoint(1, 0, 0), PolyPoint(1, 1, 0), PolyPoint(0, 1, 0)})
      p.push_back(std::make_unique<PolyPoint>(v));
    return p;
  }
  static std::string line(const standin::RubberLine& l) {
    auto n = [](double v) { return std::to_string(int(std::lround(v))); };
    return n(l.from.x) + "," + n(l.from.y) + "-" + n(l.to.x) + "," + n(l.to.y);
  }

  standin::FaultPlan plan_;
  std::unique_ptr<standin::Host> host_;
  std::string appData_;
};

TEST_F(RubberTest, AnArcIsDrawnAsThirtySixEqualStraightSteps) {
  lunvik::CadArc half(lunvik::CadPoint(0, 0, 0), lunvik::Vector3(0, 0, 1), 1, 0, kPi);
  ASSERT_TRUE(RubberBander::drawArc(half));
  ASSERT_EQ(lines().size(), 36u);
  const double chord = 2 * std::sin(kPi / 72);
  for (std::size_t i = 0; i < lines().size(); ++i) {
    const standin::RubberLine& l = lines()[i];
    EXPECT_NEAR(std::hypot(l.to.x - l.from.x, l.to.y - l.from.y), chord, 1e-12) << i;
    if (i) {
      EXPECT_EQ(l.from.x, lines()[i - 1].to.x);
      EXPECT_EQ(l.from.y, lines()[i - 1].to.y);
    }
  }
  EXPECT_NEAR(lines().front().from.x, 1, 1e-12);
  EXPECT_NEAR(lines().back().to.x, -1, 1e-12);
  // An arc of no sweep draws nothing.
  EXPECT_TRUE(RubberBander::drawArc(lunvik::CadArc()));
  EXPECT_EQ(lines().size(), 36u);
}

TEST_F(RubberTest, AnEdgeIsALineUnlessItsArcAngleLeavesTheTolerance) {
  struct Case {
    double arcAngle;
    std::size_t lines;
  };
  for (const Case& c : {Case{0, 1}, Case{0.000009, 1}, Case{-0.000009, 1}, Case{0.00002, 36}, Case{-kPi / 2, 36}}) {
    SCOPED_TRACE(c.arcAngle);
    host_->clearRecords();
    ASSERT_TRUE(RubberBander::drawEdge(PolyPoint(0, 0, 0), PolyPoint(2, 0, 0, c.arcAngle, 0)));
    EXPECT_EQ(lines().size(), c.lines);
    EXPECT_NEAR(lines().back().to.x, 2, 1e-9);
  }
}

TEST_F(RubberTest, APolygonIsDrawnLastEdgeFirst) {
  ASSERT_TRUE(RubberBander::drawPolygon(square(true)));
  std::vector<std::string> drawn;
  for (const standin::RubberLine& l : lines()) drawn.push_back(line(l));
  EXPECT_EQ(drawn, (std::vector<std::string>{"1,1-0,1", "1,0-1,1", "0,0-1,0", "0,1-0,0"}));
  // An open ring has no closing edge.
  host_->clearRecords();
  ASSERT_TRUE(RubberBander::drawPolygon(square(false)));
  drawn.clear();
  for (const standin::RubberLine& l : lines()) drawn.push_back(line(l));
  EXPECT_EQ(drawn, (std::vector<std::string>{"1,1-0,1", "1,0-1,1", "0,0-1,0"}));
}

TEST_F(RubberTest, APolygonStopsAtTheFirstLineTheHostRefuses) {
  failAfter(3);
  EXPECT_FALSE(RubberBander::drawPolygon(square(true)));
  EXPECT_TRUE(plan_.fired);
  ASSERT_EQ(lines().size(), 2u);
  EXPECT_EQ(line(lines()[0]), "1,1-0,1");
  EXPECT_EQ(line(lines()[1]), "1,0-1,1");
  // Within an arc edge: its first steps stay drawn, nothing after it.
  lunvik::CadPoly bulging = square(true);
  bulging[1].setArcAngle(kPi);
  host_->clearRecords();
  failAfter(2 + 5);
  EXPECT_FALSE(RubberBander::drawPolygon(bulging));
  EXPECT_EQ(lines().size(), 2u + 4u);
  plan_.failAt = 0;
  host_->clearRecords();
  ASSERT_TRUE(RubberBander::drawPolygon(bulging));
  EXPECT_EQ(lines().size(), 3u + 36u);
}

TEST_F(RubberTest, WhicheverHostCallFailsAnInputEndsWholeOrLeavesThePathAsItWas) {
  int failures = 0;
  for (int k = 1;; ++k) {
    SCOPED_TRACE(k);
    standin::Pointer& pointer = host_->pointer();
    pointer.clearFailure();
    pointer.dropAnswers();
    pointer.queue(PointerAnswer::point(0, 0));
    pointer.queue(PointerAnswer::point(2, 0));
    pointer.queue(PointerAnswer::arc(0, 2));
    pointer.queue(PointerAnswer::polygon({{false, {1, 2, 0}}, {false, {1, 1, 0}}}));
    input_support::BanderLog log;
    lunvik::UserPath path(
        std::make_unique<input_support::RecordingBander>(log, input_support::RecordingBander::Drawing::Line));
    failAfter(k);
    bool whole = true;
    for (int step = 0; step < 4 && whole; ++step) {
      const std::size_t before = path.vertexCount();
      switch (step) {
        case 0: whole = path.getFirstPoint(); break;
        case 1: whole = path.getNextPoint(false); break;
        case 2: whole = path.getArc(); break;
        default: whole = path.getPolygon(); break;
      }
      if (!whole) {
        EXPECT_EQ(path.vertexCount(), before) << step;
      }
      EXPECT_EQ(lunvik::UserPath::active(), nullptr);
      EXPECT_FALSE(pointer.waiting());
    }
    if (!plan_.fired) {
      // Every call of the inputs went through: the whole path stands.
      EXPECT_TRUE(whole);
      EXPECT_EQ(path.vertexCount(), 5u);
      break;
    }
    failures += whole ? 0 : 1;
  }
  // Refused requests cancel; refused rubber lines only spoil the feedback.
  EXPECT_EQ(failures, 4);
}

}  // namespace
