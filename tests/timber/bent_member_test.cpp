// Bent constant-section members drawn with the host's own tool: the host's body follows the
// axis the add-on lays out, so the joint offsets, the actual volume and the schedule sizes
// all measure the developed length, against hand-computed arcs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/host_values.h"
#include "timber_fixture.h"

namespace {

using varnholt::FramingMember;

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kTool = platform::fourcc("Vrnh");

const auto number = testing_support::numberValue;
const auto text = testing_support::textValue;
const auto valueOf = testing_support::storedValue;

// A bend of chord 4 and rise 1 turns by 4 atan(0.5) about a radius of 2.5: 10 atan(0.5) long.
const double kArc = 10 * std::atan(0.5);

double ngonArea(int n, double r) { return n / 2.0 * r * r * std::sin(2 * kPi / n); }

// The length of the compound bend of chord 4 with rises 0.5 in plan and 1 in elevation, by its
// rule (the plan arc over the elevation arc's length, scaled back onto the chord) walked in a
// million steps.
double compoundLength() {
  const double thetaV = 4 * std::atan(0.5), radiusV = 2.5, planChord = kArc;
  const double thetaH = 4 * std::atan(2 * 0.5 / planChord), radiusH = planChord / (2 * std::sin(thetaH / 2));
  double total = 0, px = 0, py = 0, pz = 0;
  for (int i = 0; i <= 1000000; ++i) {
    double u = i / 1e6, pv = -thetaV / 2 + u * thetaV, ph = -thetaH / 2 + u * thetaH;
    double x = (planChord / 2 + radiusH * std::sin(ph)) * 4 / planChord;
    double y = radiusH * (std::cos(ph) - std::cos(thetaH / 2)), z = radiusV * (std::cos(pv) - std::cos(thetaV / 2));
    if (i > 0) total += std::sqrt((x - px) * (x - px) + (y - py) * (y - py) + (z - pz) * (z - pz));
    px = x, py = y, pz = z;
  }
  return total;
}

struct BentCase {
  const char* what;
  std::vector<standin::ParameterValue> bend;
  double area;       // of the section
  double developed;  // hand value of the axis' length
};

class BentMember : public testing_support::TimberHost {};

TEST_F(BentMember, BodyVolumeJointsAndScheduleSizesFollowTheDevelopedAxis) {
  const double round = ngonArea(16, 0.1);
  const BentCase cases[] = {
      {"round bent in plan", {number("hPath", 1)}, round, kArc},
      {"round bent in elevation", {number("vPath", 1)}, round, kArc},
      {"round bent both ways", {number("hPath", 0.5), number("vPath", 1)}, round, compoundLength()},
      {"constant section bent in plan", {number("hPath", 1), text("ID", "SECT")}, 0.04, kArc},
  };
  for (const BentCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<standin::ParameterValue> values = {number("length", 4), number("numCuts", 0), number("resol", 16)};
    values.insert(values.end(), c.bend.begin(), c.bend.end());
    standin::HostElement* e = model().placeObject("Round", values, 0, 0, 0, 0, nullptr, platform::kObject, kTool);
    ASSERT_NE(e, nullptr);
    // The joints sit at the ends of the developed axis.
    EXPECT_NEAR(valueOf(*e, "startOffset"), 0, 1e-9);
    const double developed = valueOf(*e, "endOffset");
    EXPECT_NEAR(developed, c.developed, 0.002);
    // The host's body holds the section along the same axis.
    EXPECT_NEAR(valueOf(*e, "actVol"), c.area * developed, 1e-9);
    // Measured along its axis: 4.64 m (not the 4 m chord) rounds up to 4.75 m.
    EXPECT_NEAR(valueOf(*e, "roundLen"), 4.75, 1e-9);
    EXPECT_NEAR(valueOf(*e, "BoundVol"), 4.75 * 0.2 * 0.2, 1e-9);
    std::unique_ptr<lunvik::Element> holder;
    FramingMember* m = readAs<FramingMember>(*e, holder);
    ASSERT_NE(m, nullptr);
    ASSERT_TRUE(m->recalculate(false));
    const varnholt::DimensionCache& cache = m->dimensions();
    EXPECT_NEAR(cache.extendedLength, developed, 1e-6);
    EXPECT_NEAR(cache.width, 0.2, 1e-9);
    EXPECT_NEAR(cache.depth, 0.2, 1e-9);
  }
}

TEST_F(BentMember, AStraightMemberWithItsFarEndMovedIsMeasuredAlongItsSlantedAxis) {
  // 4 along, 0.3 across and 0.4 up: 4.0311 long, which rounds up to 4.25.
  standin::HostElement* e = model().placeObject(
      "Round", {number("length", 4), number("numCuts", 0), number("resol", 16), number("hEnd", 0.3), number("vEnd", 0.4)},
      0, 0, 0, 0, nullptr, platform::kObject, kTool);
  ASSERT_NE(e, nullptr);
  EXPECT_NEAR(valueOf(*e, "endOffset"), std::sqrt(16.25), 1e-9);
  EXPECT_NEAR(valueOf(*e, "actVol"), ngonArea(16, 0.1) * std::sqrt(16.25), 1e-9);
  EXPECT_NEAR(valueOf(*e, "roundLen"), 4.25, 1e-9);
}

TEST_F(BentMember, AStraightRoundIsStillMeasuredByItsBody) {
  standin::HostElement* e = model().placeObject("Round", {number("length", 3.1), number("resol", 16)}, 0, 0, 0, 0,
                                                nullptr, platform::kObject, kTool);
  ASSERT_NE(e, nullptr);
  EXPECT_NEAR(valueOf(*e, "endOffset"), 3.1, 1e-9);
  EXPECT_NEAR(valueOf(*e, "roundLen"), 3.25, 1e-9);
  EXPECT_NEAR(valueOf(*e, "actVol"), ngonArea(16, 0.1) * 3.1, 1e-9);
}

}  // namespace
