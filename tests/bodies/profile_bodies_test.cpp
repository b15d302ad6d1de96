// The bodies of profile parts and upgraded objects: put lists with arcs and holes, extruded,
// turned and stood in their frames, and an object's own code turned and cut by its lunvik_
// parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/bodies/body_generator.h"
#include "host/bodies/put_profile.h"
#include "platform/parameter_records.h"
#include "support/part_parameters.h"

namespace {

using testing_support::number;
using standin::BodyPlacement;
using standin::generateBodies;
using standin::GeneratedModel;
using standin::ParameterValues;
using standin::PartParameter;

constexpr double kPi = 3.14159265358979323846;

// An array of rows, its columns as many as the values fill.
PartParameter array(const std::string& name, int rows, std::vector<double> values, int32_t type) {
  const int columns = int(values.size()) / rows;
  return testing_support::array(name, rows, columns, std::move(values), type);
}

std::string block(const std::string& rows) {
  return "! head\r\n!LUNVIK_PROFILE_START\r\nput " + rows + "\r\n!LUNVIK_PROFILE_END\r\nPUT px[k], py[k], 15\r\n";
}

// Every edge of a closed solid borders exactly two faces.
void expectClosed(const GeneratedModel& model, const char* what) {
  ASSERT_EQ(model.bodies.size(), 1u) << what;
  const standin::GeneratedBody& b = model.bodies[0];
  std::vector<int> uses(b.edges.size(), 0);
  for (const auto& loop : b.faceEdges)
    for (int32_t e : loop) ++uses[std::size_t(e)];
  for (std::size_t e = 0; e < uses.size(); ++e) EXPECT_EQ(uses[e], 2) << what << " edge " << e;
}

TEST(PutProfile, RowsOfArcsHolesAndEndsReadIntoContours) {
  // The writer's rows of a 2 x 1 outline with a half-circle side and a square hole.
  const std::string rows =
      "0,1,15,\r\n0,0,15,\r\n2,0,15,\r\n2,0.5,915,\r\n0.0,180,4015,\r\n0,1,15,\r\n0,1,-1,\r\n"
      "0.5,0.75,15,\r\n0.5,0.25,15,\r\n1,0.25,15,\r\n1,0.75,15,\r\n0.5,0.75,15,\r\n0.5,0.75,-1";
  standin::PutProfile profile = standin::readPutProfile(block(rows), 0.001);
  ASSERT_EQ(profile.contours.size(), 2u);
  EXPECT_EQ(profile.contours[1].size(), 4u);
  const double outer = 2 + kPi / 8;
  EXPECT_NEAR(std::fabs(standin::contourArea(profile.contours[0])), outer, 2e-3);
  double filled = 0;
  for (const auto& t : standin::fillProfile(profile)) filled += standin::contourArea(t);
  EXPECT_NEAR(filled, std::fabs(standin::contourArea(profile.contours[0])) - 0.25, 1e-12);
}

TEST(PutProfile, AListItCannotReadGivesNoProfile) {
  for (const char* rows : {"0,0,15,\r\n1,0,15,\r\n1,x,15", "0,0,15,\r\n1,0,15,\r\n1,1", "0,0,15,\r\n1e7,0,15,\r\n1,1,15",
                           "0,0,15,\r\n1,nan,15,\r\n1,1,15"})
    EXPECT_TRUE(standin::readPutProfile(block(rows), 0.001).contours.empty()) << rows;
}

TEST(ProfileBodies, ASectionWithAHoleIsCarriedAlongItsLength) {
  // 0.2 deep (x) and 0.3 wide (y), a 0.1 square hole; 2 m long.
  const std::string script = block("0,0,15,\r\n0.2,0,15,\r\n0.2,0.3,15,\r\n0,0.3,15,\r\n0,0,-1,\r\n"
                                   "0.05,0.1,15,\r\n0.15,0.1,15,\r\n0.15,0.2,15,\r\n0.05,0.2,15,\r\n0.05,0.1,-1");
  std::vector<PartParameter> p = {number("length", 2), number("profWide", 0.3), number("profDeep", 0.2)};
  GeneratedModel model = generateBodies("EXTR", ParameterValues(p), BodyPlacement{}, script);
  expectClosed(model, "section");
  EXPECT_NEAR(model.volume, (0.06 - 0.01) * 2, 1e-12);
  // The profile's y across the width, its x across the depth, centred on the axis.
  const standin::GeneratedBody& b = model.bodies[0];
  EXPECT_NEAR(b.boxMin.y, 0, 1e-12);
  EXPECT_NEAR(b.boxMax.y, 0.3, 1e-12);
  EXPECT_NEAR(b.boxMax.z - b.boxMin.z, 0.2, 1e-12);
  EXPECT_NEAR(b.boxMax.x, 2, 1e-12);
}

TEST(ProfileBodies, AnElevationLiesInItsLengthAndWidthAndIsExtrudedAcrossItsDepth) {
  // A 2 x 1 outline with a half-circle end bulging along x, 0.1 thick.
  const std::string script = block("0,1,15,\r\n0,0,15,\r\n2,0,15,\r\n2,0.5,915,\r\n0.0,180,4015,\r\n0,1,15");
  std::vector<PartParameter> p = {number("length", 2.5), number("profWide", 1), number("profDeep", 0.1),
                                  number("arcToler", 0.0005)};
  GeneratedModel model = generateBodies("CUST", ParameterValues(p), BodyPlacement{}, script);
  expectClosed(model, "elevation");
  EXPECT_NEAR(model.volume, (2 + kPi / 8) * 0.1, 2e-3 * 0.1);
  EXPECT_LT(model.volume, (2 + kPi / 8) * 0.1);
  const standin::GeneratedBody& b = model.bodies[0];
  EXPECT_NEAR(b.boxMax.x, 2.5, 1e-6);
  EXPECT_NEAR(b.boxMax.y, 1, 1e-12);
  EXPECT_NEAR(b.boxMax.z - b.boxMin.z, 0.1, 1e-12);
}

struct LatheCase {
  const char* what;
  double sweep;
};

class LatheBodies : public ::testing::TestWithParam<LatheCase> {};

TEST_P(LatheBodies, AnOutlineTurnedAboutItsAxisFillsItsShareOfTheRound) {
  // A tube wall: radius 0.1 to 0.15, 1 m along the axis.
  const std::string script = block("0,0.1,2,\r\n1,0.1,2,\r\n1,0.15,2,\r\n0,0.15,2");
  std::vector<PartParameter> p = {number("length", 1), number("profWide", 0.3), number("profDeep", 0.3),
                                  number("yOffset", -0.15), number("zOffset", -0.15),
                                  number("latheSweep", GetParam().sweep, platform::kParamAngle),
                                  number("arcToler", 0.0001)};
  GeneratedModel model = generateBodies("LATH", ParameterValues(p), BodyPlacement{}, script);
  expectClosed(model, GetParam().what);
  const double exact = GetParam().sweep / 2 * (0.15 * 0.15 - 0.1 * 0.1);
  EXPECT_LT(model.volume, exact);
  EXPECT_GT(model.volume, exact * 0.995);
  // About the axis through the placement point.
  EXPECT_NEAR(model.bodies[0].boxMax.z, 0.15, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Sweeps, LatheBodies,
                         ::testing::Values(LatheCase{"a whole turn", 2 * kPi}, LatheCase{"a quarter", kPi / 2}));

TEST(UpgradedBodies, AnObjectsOwnBlockIsTurnedAndCutByItsLunvikParameters) {
  const std::string script =
      "!LUNVIK_BLOB_START\nROTY lunvik_incline\nBLOCK 9, 9, 9\n!LUNVIK_BLOB_END\nBLOCK A, B, ZZYZX\ngoto 0\n"
      "!LUNVIK_BLOB_START\ngoto 0\n!LUNVIK_BLOB_END\n";
  std::vector<PartParameter> p = {number("A", 2), number("B", 0.3), number("ZZYZX", 0.4),
                                  number("lunvik_incline", -kPi / 2, platform::kParamAngle),
                                  number("lunvik_swivel", 0, platform::kParamAngle)};
  GeneratedModel model = generateBodies("BLOB", ParameterValues(p), BodyPlacement{1, 2, 0, 0, false}, script);
  ASSERT_EQ(model.bodies.size(), 1u);
  EXPECT_NEAR(model.volume, 2 * 0.3 * 0.4, 1e-12);
  // Stood up about its origin: 2 m high over (1, 2).
  const standin::GeneratedBody& b = model.bodies[0];
  EXPECT_NEAR(b.boxMin.x, 0.6, 1e-12);
  EXPECT_NEAR(b.boxMax.x, 1, 1e-12);
  EXPECT_NEAR(b.boxMax.z, 2, 1e-12);
  // A far-end cut 0.5 back from its length A.
  p.push_back(number("lunvik_cutCount", 1, platform::kParamInteger));
  p.push_back(array("lunvik_cutAngle", 1, {0, kPi / 2}, platform::kParamAngle));
  p.push_back(array("lunvik_cutOffset", 1, {0.5}, platform::kParamLength));
  EXPECT_NEAR(generateBodies("BLOB", ParameterValues(p), BodyPlacement{}, script).volume, 1.5 * 0.3 * 0.4, 1e-12);
}

TEST(UpgradedBodies, APartOfNoKindDrawsItsBlocks) {
  std::vector<PartParameter> p = {number("A", 2), number("B", 0.3), number("ZZYZX", 0.4)};
  GeneratedModel model = generateBodies("", ParameterValues(p), BodyPlacement{}, "BLOCK A, B, ZZYZX\nBLOCK 1, 1\n");
  ASSERT_EQ(model.bodies.size(), 1u);
  EXPECT_NEAR(model.volume, 0.24, 1e-12);
  EXPECT_TRUE(generateBodies("", ParameterValues(p), BodyPlacement{}, "! nothing\n").bodies.empty());
}

}  // namespace
