// The built-in body generators: clipped volumes against their analytic values, placement.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/bodies/body_generator.h"
#include "platform/parameter_records.h"
#include "support/part_parameters.h"

namespace {

using testing_support::array;
using testing_support::number;
using standin::BodyPlacement;
using standin::generateBodies;
using standin::ParameterValues;
using standin::PartParameter;

constexpr double kPi = 3.14159265358979323846;

// A member of length L and section w x d, centred on its axis, with cuts given as
// (angle about x, tilt, offset) rows.
std::vector<PartParameter> member(double L, double w, double d, std::vector<std::vector<double>> cuts = {}) {
  std::vector<PartParameter> p = {number("length", L), number("profWide", w), number("profDeep", d),
                                  number("yOffset", -w / 2), number("zOffset", -d / 2)};
  std::vector<double> angles, offsets;
  for (const auto& c : cuts) {
    angles.push_back(c[0]);
    angles.push_back(c[1]);
    offsets.push_back(c[2]);
  }
  if (cuts.empty()) {
    angles = {0, 0};
    offsets = {0};
  }
  p.push_back(number("numCuts", double(cuts.size()), platform::kParamInteger));
  p.push_back(array("cutAngle", int(std::max<std::size_t>(cuts.size(), 1)), 2, angles, platform::kParamAngle));
  p.push_back(array("cutOffset", int(std::max<std::size_t>(cuts.size(), 1)), 1, offsets));
  return p;
}

struct VolumeCase {
  const char* what;
  std::string kind;
  std::vector<PartParameter> parameters;
  double volume;
};

double ngonArea(int n, double r) { return n / 2.0 * r * r * std::sin(2 * kPi / n); }

std::vector<VolumeCase> volumeCases() {
  std::vector<VolumeCase> cases;
  cases.push_back({"plain box", "RECT", member(4, 0.2, 0.3), 4 * 0.2 * 0.3});
  // A bevel at the far end through the axis end removes a wedge of w * (d/2)^2 / 2.
  cases.push_back({"far end bevelled", "RECT", member(4, 0.2, 0.3, {{0, kPi / 4, 0}}), 0.24 - 0.2 * 0.0225 / 2});
  cases.push_back({"both ends bevelled", "RECT", member(4, 0.2, 0.3, {{0, kPi / 4, 0}, {0, -kPi / 4, 0}}),
                   0.24 - 0.2 * 0.0225});
  cases.push_back({"square cut 0.5 from the far end", "RECT", member(4, 0.2, 0.3, {{0, kPi / 2, 0.5}}), 3.5 * 0.06});
  cases.push_back({"square cut 0.25 from the start", "RECT", member(4, 0.2, 0.3, {{0, -kPi / 2, 0.25}}), 3.75 * 0.06});
  cases.push_back({"lengthwise cut through the axis", "RECT", member(4, 0.2, 0.3, {{0, 0, 0}}), 0.12});
  cases.push_back({"cut that removes everything", "RECT", member(4, 0.2, 0.3, {{0, kPi / 2, 4.5}}), 0});
  {
    std::vector<PartParameter> p = member(4, 0.2, 0.3);
    p.push_back(number("endWide", 0.1));
    p.push_back(number("endDeep", 0.2));
    cases.push_back({"taper", "TAPR", p, 4 * (0.06 / 3 + (0.2 * 0.2 + 0.1 * 0.3) / 6 + 0.02 / 3)});
  }
  {
    std::vector<PartParameter> p = member(3, 0.2, 0.2);
    p.push_back(number("resol", 16, platform::kParamInteger));
    cases.push_back({"round", "ROUN", p, ngonArea(16, 0.1) * 3});
  }
  {
    std::vector<PartParameter> p = member(3, 0.2, 0.2, {{0, kPi / 2, 1}});
    p.push_back(number("resol", 12, platform::kParamInteger));
    cases.push_back({"round cut square", "ROUN", p, ngonArea(12, 0.1) * 2});
  }
  {
    std::vector<PartParameter> p = member(2, 0.2, 0.2);
    p.push_back(number("endWide", 0.1));
    p.push_back(number("resol", 24, platform::kParamInteger));
    double a1 = ngonArea(24, 0.1), a2 = ngonArea(24, 0.05);
    cases.push_back({"round taper", "ROTA", p, 2.0 / 3 * (a1 + a2 + std::sqrt(a1 * a2))});
  }
  {
    std::vector<PartParameter> p = member(3, 0.2, 0.2);
    p.push_back(number("headLen", 0.5));
    p.push_back(number("headDeep", 0.35));
    cases.push_back({"jowl post", "JOWL", p, 2.5 * 0.04 + 0.5 * 0.2 * 0.35});
  }
  return cases;
}

TEST(BodyGenerator, VolumeOfTheClippedBodyIsTheAnalyticValue) {
  for (const VolumeCase& c : volumeCases()) {
    standin::GeneratedModel model = generateBodies(c.kind, ParameterValues(c.parameters), BodyPlacement{});
    EXPECT_NEAR(model.volume, c.volume, 1e-9) << c.what;
    EXPECT_EQ(model.bodies.empty(), c.volume == 0) << c.what;
  }
}

TEST(BodyGenerator, PlacementMovesTheBodyButKeepsItsVolume) {
  std::vector<PartParameter> p = member(4, 0.2, 0.3, {{0, kPi / 4, 0}});
  p.push_back(number("incline", 0.3, platform::kParamAngle));
  p.push_back(number("swivel", 0.7, platform::kParamAngle));
  BodyPlacement at{5, -2, 1, 2.1, true};
  standin::GeneratedModel placed = generateBodies("RECT", ParameterValues(p), at);
  standin::GeneratedModel plain = generateBodies("RECT", ParameterValues(p), BodyPlacement{});
  EXPECT_NEAR(placed.volume, 0.24 - 0.00225, 1e-9);
  EXPECT_NEAR(placed.volume, plain.volume, 1e-12);
  EXPECT_NEAR(placed.surface, plain.surface, 1e-9);
}

TEST(BodyGenerator, InclineTurnsTheAxisDownAndTheAngleTurnsItInPlan) {
  std::vector<PartParameter> p = member(3, 0.2, 0.4);
  p.push_back(number("incline", kPi / 2, platform::kParamAngle));
  standin::GeneratedModel down = generateBodies("RECT", ParameterValues(p), BodyPlacement{1, 2, 10, 0, false});
  ASSERT_EQ(down.bodies.size(), 1u);
  const standin::GeneratedBody& b = down.bodies[0];
  EXPECT_NEAR(b.boxMin.z, 7, 1e-6);
  EXPECT_NEAR(b.boxMax.z, 10, 1e-6);
  EXPECT_NEAR(b.boxMin.x, 0.8, 1e-6);  // the depth lies along x once the axis points down
  EXPECT_NEAR(b.boxMax.x, 1.2, 1e-6);

  std::vector<PartParameter> flat = member(3, 0.2, 0.4);
  standin::GeneratedModel turned = generateBodies("RECT", ParameterValues(flat), BodyPlacement{0, 0, 0, kPi / 2, false});
  const standin::GeneratedBody& t = turned.bodies[0];
  EXPECT_NEAR(t.boxMin.y, 0, 1e-6);
  EXPECT_NEAR(t.boxMax.y, 3, 1e-6);
  EXPECT_NEAR(t.boxMax.x - t.boxMin.x, 0.2, 1e-6);
}

TEST(BodyGenerator, AMirroredElementKeepsItsAxisAndTurnsItsSectionOver) {
  // Anchored at its right side: the section lies on +y of the axis, or on -y when mirrored.
  std::vector<PartParameter> p = {number("length", 3), number("profWide", 0.2), number("profDeep", 0.4),
                                  number("yOffset", 0), number("zOffset", 0)};
  for (bool mirrored : {false, true}) {
    standin::GeneratedModel model = generateBodies("RECT", ParameterValues(p), BodyPlacement{0, 0, 0, 0, mirrored});
    const standin::GeneratedBody& b = model.bodies[0];
    EXPECT_NEAR(b.boxMin.x, 0, 1e-9) << mirrored;
    EXPECT_NEAR(b.boxMax.x, 3, 1e-9) << mirrored;
    EXPECT_NEAR(b.boxMin.y, mirrored ? -0.2 : 0, 1e-9) << mirrored;
    EXPECT_NEAR(b.boxMax.y, mirrored ? 0 : 0.2, 1e-9) << mirrored;
    EXPECT_NEAR(model.volume, 0.24, 1e-12) << mirrored;
  }
}

TEST(BodyGenerator, BodiesAreClosedAndShareTheirVertices) {
  // Every edge of a closed solid borders exactly two faces, also where cells meet.
  for (const VolumeCase& c : volumeCases()) {
    standin::GeneratedModel model = generateBodies(c.kind, ParameterValues(c.parameters), BodyPlacement{});
    for (const standin::GeneratedBody& b : model.bodies) {
      std::vector<int> uses(b.edges.size(), 0);
      for (const auto& loop : b.faceEdges)
        for (int32_t e : loop) ++uses[std::size_t(e)];
      for (std::size_t e = 0; e < uses.size(); ++e) EXPECT_EQ(uses[e], 2) << c.what << " edge " << e;
    }
  }
}

TEST(BodyGenerator, ProfilePartsExtrudeTheirPutList) {
  // An L-shaped profile: 0.3 x 0.1 plus 0.1 x 0.2, area 0.05.
  std::string script =
      "! profile\nput 0, 0, 15,\n    0.3, 0, 15,\n    0.3, 0.1, 15\nPUT 0.1, 0.1, 15, 0.1, 0.3, 15, 0, 0.3, 15\n"
      "extrude nsp / 3, 0, 0, length, 1 + 2, get(nsp)\n";
  ASSERT_EQ(standin::profileFromScript(script).size(), 6u);
  std::vector<PartParameter> p = {number("length", 2)};
  standin::GeneratedModel model = generateBodies("", ParameterValues(p), BodyPlacement{}, script);
  EXPECT_NEAR(model.volume, 0.1, 1e-9);
  p.push_back(number("numCuts", 1, platform::kParamInteger));
  p.push_back(array("cutAngle", 1, 2, {0, kPi / 2}, platform::kParamAngle));
  p.push_back(array("cutOffset", 1, 1, {0.5}));
  EXPECT_NEAR(generateBodies("EXTR", ParameterValues(p), BodyPlacement{}, script).volume, 0.075, 1e-9);
}

// Found by fuzzing: names holding "nan" or "inf" read as numbers, and far points gave an
// infinite volume.
TEST(BodyGenerator, APutListReadsOnlyDecimalsStandingOnTheirOwn) {
  using Points = std::vector<std::pair<double, double>>;
  struct Case {
    const char* script;
    Points points;
  } cases[] = {
      {"put 0, 0, 1, -.5, 2.5e-1, 1, +1., 1E1, 1\n", {{0, 0}, {-0.5, 0.25}, {1, 10}}},
      {"put banana, 1, 2, 3, 4, 5, 6\n", {{1, 2}, {4, 5}}},
      {"put x1, y1, 1, 0, 0, 1\n", {{1, 0}}},
      {"put nan, inf, 1, infinity, 0x10, 1, 2, 3, 1\n", {{1, 1}, {3, 1}}},
      {"put 1.5.2, 3, 4, 5\n", {{3, 4}}},
      {"put 0, 0, 1, 1e7, 0, 1, 0, 1, 1\n", {}},
      {"put 0, 0, 1, 1e400, 0, 1, 0, 1, 1\n", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(standin::profileFromScript(c.script), c.points) << c.script;
  // A profile 1e170 m across once gave an infinite volume; now it gives no body at all.
  std::vector<PartParameter> p = {number("length", 2)};
  standin::GeneratedModel model =
      generateBodies("CUST", ParameterValues(p), BodyPlacement{}, "put 0,0,1, 1e170,0,1, 1e170,1e170,1, 0,1e170,1\n");
  EXPECT_TRUE(model.bodies.empty());
  EXPECT_EQ(model.volume, 0);
}

TEST(BodyGenerator, UnknownKindsAndAssembliesHaveNoBodies) {
  std::vector<PartParameter> p = member(4, 0.2, 0.3);
  EXPECT_TRUE(generateBodies("XXXX", ParameterValues(p), BodyPlacement{}).bodies.empty());
  EXPECT_TRUE(generateBodies("ASSM", ParameterValues(p), BodyPlacement{}).bodies.empty());
  EXPECT_FALSE(standin::knownBodyKind("XXXX"));
  EXPECT_TRUE(standin::knownBodyKind("CURV"));
}

TEST(BodyGenerator, CurvedTimberIsAHalfRingOverItsChord) {
  std::vector<PartParameter> p = {number("length", 4), number("profWide", 0.2), number("timberWid", 0.15),
                                  number("yOffset", -0.075), number("zOffset", -1)};
  standin::GeneratedModel model = generateBodies("CURV", ParameterValues(p), BodyPlacement{});
  ASSERT_EQ(model.bodies.size(), 1u);
  double exact = kPi / 2 * (2.0 * 2.0 - 1.8 * 1.8) * 0.15;
  EXPECT_LT(model.volume, exact);
  EXPECT_GT(model.volume, exact * 0.995);
  EXPECT_NEAR(model.bodies[0].boxMax.x - model.bodies[0].boxMin.x, 4, 1e-6);
}

}  // namespace
