// Recalculating members from the bodies the host generates: hotspots, actual and bounding
// volumes, rounded sizes, joint positions, and what happens when parts are missing.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/tolerance.h"
#include "timber/parameter_access.h"
#include "timber_fixture.h"

namespace {

using lunvik::CadPoint;
using testing_support::MemberValues;
using varnholt::FramingMember;

constexpr double kHalfPi = lunvik::kHalfPi;

// A rectilinear member 3.01 x 0.149 x 0.2 with its axis through the middle of the section.
MemberValues plainMember() {
  return {{"length", 3.01}, {"profWide", 0.149}, {"profDeep", 0.2}, {"yOffset", -0.0745}, {"zOffset", -0.1},
          {"numCuts", 0.0}, {"BoundVol", 5.0}};
}

class ScheduleData : public testing_support::TimberHost {
 protected:
  FramingMember* recalculated(const MemberValues& values, bool& result, const char* part = "Rectilinear",
                              const char* code = "RECT", bool withBody = true) {
    element_ = placeMember(part, values, code, withBody, 1.0, 2.0, 0.0, 0.5);
    if (!element_) return nullptr;
    FramingMember* m = readAs<FramingMember>(*element_, holder_);
    if (m) result = m->recalculate(false);
    return m;
  }
  standin::HostElement* element_ = nullptr;
  std::unique_ptr<lunvik::Element> holder_;
};

TEST_F(ScheduleData, HotspotsVolumesAndRoundedSizesOfAPlainMember) {
  bool ok = false;
  FramingMember* m = recalculated(plainMember(), ok);
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(ok);
  // The eight corners of the body, in the member's frame from its axis start.
  std::vector<CadPoint> spots;
  ASSERT_TRUE(m->spots(spots));
  ASSERT_EQ(spots.size(), 8u);
  for (const CadPoint& p : spots) {
    EXPECT_TRUE(std::fabs(p.getX()) < 1e-9 || std::fabs(p.getX() - 3.01) < 1e-9) << p.getX();
    EXPECT_NEAR(std::fabs(p.getY()), 0.0745, 1e-9);
    EXPECT_NEAR(std::fabs(p.getZ()), 0.1, 1e-9);
  }
  EXPECT_NEAR(hostNumber(*element_, "spotCount"), 8, 0);
  EXPECT_NEAR(hostNumber(*element_, "actVol"), 3.01 * 0.149 * 0.2, 1e-9);
  // Length up to 0.25, width and depth to the nearest 0.025.
  EXPECT_NEAR(hostNumber(*element_, "roundLen"), 3.25, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "BoundVol"), 3.25 * 0.15 * 0.2, 1e-9);
  const varnholt::DimensionCache& cache = m->dimensions();
  EXPECT_TRUE(cache.valid);
  EXPECT_NEAR(cache.extendedLength, 3.01, 1e-9);
  EXPECT_NEAR(cache.width, 0.149, 1e-9);
  EXPECT_NEAR(cache.roundedWidth, 0.15, 1e-9);
  double rounded = 0;
  ASSERT_TRUE(m->roundedLength(rounded));
  EXPECT_NEAR(rounded, 3.25, 1e-9);
  // Uncut: the joints sit at the axis ends.
  EXPECT_NEAR(hostNumber(*element_, "startOffset"), 0, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "endOffset"), 3.01, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "cutIDPos", 0), 1.505, 1e-9);
}

TEST_F(ScheduleData, ACutMemberHasTheClippedVolumeAndTheBoundingBlockOfItsBody) {
  MemberValues values = plainMember();
  values[0].second = 3.0;
  values.push_back({"numCuts", 2.0});
  std::vector<double> angles(40, 0.0), offsets(20, 0.0);
  angles[1] = -kHalfPi;          // the start cut, square
  angles[3] = kHalfPi / 2;       // the far cut, tilted by 45 degrees
  offsets[0] = 0.25;
  offsets[1] = 0.5;
  values.push_back({"cutAngle", angles});
  values.push_back({"cutOffset", offsets});
  bool ok = false;
  FramingMember* m = recalculated(values, ok);
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(ok);
  // The tilted cut takes as much off the top as it leaves at the bottom: 2.25 m of section.
  EXPECT_NEAR(hostNumber(*element_, "actVol"), 2.25 * 0.149 * 0.2, 1e-6);
  // The body runs from 0.25 to 2.6 along the axis: 2.35 rounds up to 2.5.
  EXPECT_NEAR(m->dimensions().extendedLength, 2.35, 1e-6);
  EXPECT_NEAR(hostNumber(*element_, "roundLen"), 2.5, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "BoundVol"), 2.5 * 0.15 * 0.2, 1e-9);
  // The joints sit where the axis meets the cuts.
  EXPECT_NEAR(hostNumber(*element_, "startOffset"), 0.25, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "endOffset"), 2.5, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "jointX", 0), 0.25, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "jointX", 1), 2.5, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "cutIDPos", 0), 1.375, 1e-9);
}

TEST_F(ScheduleData, JointsOfABottomAnchoredMemberSitWhereTheBodysAxisMeetsATiltedCut) {
  // Anchored at the bottom the axis start lies half the depth above the placement point; the
  // axis and the cut planes are taken in one frame, so the joint is where the body is cut.
  MemberValues values = plainMember();
  values[0].second = 3.0;
  values[4].second = 0.0;  // zOffset
  values.push_back({"numCuts", 1.0});
  std::vector<double> angles(40, 0.0), offsets(20, 0.0);
  angles[1] = kHalfPi / 2;
  offsets[0] = 0.5;
  values.push_back({"cutAngle", angles});
  values.push_back({"cutOffset", offsets});
  bool ok = false;
  FramingMember* m = recalculated(values, ok);
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(ok);
  EXPECT_NEAR(hostNumber(*element_, "endOffset"), 2.5, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "jointX", 1), 2.5, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "jointZ", 1), 0.1, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "actVol"), 2.5 * 0.149 * 0.2, 1e-6);
}

TEST_F(ScheduleData, AMemberCutAwayEverywhereGetsNoJointPositions) {
  MemberValues values = plainMember();
  values.push_back({"numCuts", 1.0});
  std::vector<double> angles(40, 0.0), offsets(20, 0.0);
  angles[1] = kHalfPi;  // facing the far end at length + 1: the plane lies behind the start
  offsets[0] = 4.01;
  values.push_back({"cutAngle", angles});
  values.push_back({"cutOffset", offsets});
  values.push_back({"startOffset", 0.7});
  values.push_back({"endOffset", 0.8});
  values.push_back({"cutIDPos", std::vector<double>{9, 9, 9}});
  bool ok = false;
  ASSERT_NE(recalculated(values, ok, "Rectilinear", "RECT", false), nullptr);
  standin::HostElement* e = element_;
  FramingMember* m = readAs<FramingMember>(*e, holder_);
  ASSERT_NE(m, nullptr);
  ASSERT_TRUE(m->layoutJoints(nullptr));
  EXPECT_EQ(hostNumber(*e, "startOffset"), 0.7);
  EXPECT_EQ(hostNumber(*e, "endOffset"), 0.8);
  double cut = 0;
  ASSERT_TRUE(m->getNumber("startOffset", cut));
  EXPECT_EQ(cut, 0.7);
  ASSERT_TRUE(varnholt::readCell(m->parameters(), "cutIDPos", 0, 0, cut));
  EXPECT_EQ(cut, 9);
}

TEST_F(ScheduleData, BlockExtentsPutTheLargestAlongTheLength) {
  standin::HostElement* e = placeMember("Rectilinear", {{"numCuts", 0.0}}, "RECT", false);
  FramingMember* m = readAs<FramingMember>(*e, holder_);
  ASSERT_NE(m, nullptr);
  lunvik::CadCube block(CadPoint(0, -1.5, -0.15), CadPoint(0.2, 1.5, 0.15));
  EXPECT_TRUE(m->updateScheduleData(nullptr, &block));
  EXPECT_NEAR(m->dimensions().extendedLength, 3.0, 1e-12);
  EXPECT_NEAR(m->dimensions().width, 0.2, 1e-12);
  EXPECT_NEAR(m->dimensions().depth, 0.3, 1e-12);
  // Depth the largest: length and depth change places.
  lunvik::CadCube tall(CadPoint(0, 0, 0), CadPoint(0.2, 0.3, 3.0));
  EXPECT_TRUE(m->updateScheduleData(nullptr, &tall));
  EXPECT_NEAR(m->dimensions().extendedLength, 3.0, 1e-12);
  EXPECT_NEAR(m->dimensions().width, 0.3, 1e-12);
  EXPECT_NEAR(m->dimensions().depth, 0.2, 1e-12);
}

TEST_F(ScheduleData, ExtraLengthsOfUnlockedJointsExtendTheScheduleLength) {
  MemberValues values = plainMember();
  values.push_back({"StLock", 0.0});
  values.push_back({"EnLock", 0.0});
  values.push_back({"extLenSt", 0.1});
  values.push_back({"extLenEn", 0.15});
  bool ok = false;
  FramingMember* m = recalculated(values, ok);
  ASSERT_NE(m, nullptr);
  EXPECT_NEAR(m->dimensions().extendedLength, 3.26, 1e-9);
  EXPECT_NEAR(hostNumber(*element_, "roundLen"), 3.5, 1e-9);
}

TEST_F(ScheduleData, AnElementWithoutABodyWritesOnlyTheActualVolume) {
  MemberValues values = {{"actVol", 7.0}, {"BoundVol", 5.0}, {"roundLen", 4.0}, {"startOffset", 0.3}};
  bool ok = false;
  FramingMember* m = recalculated(values, ok, "Assembly", "ASSM", false);
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(ok);
  EXPECT_EQ(hostNumber(*element_, "actVol"), 0);
  EXPECT_EQ(hostNumber(*element_, "BoundVol"), 5);
  EXPECT_EQ(hostNumber(*element_, "roundLen"), 4);
  EXPECT_EQ(hostNumber(*element_, "startOffset"), 0.3);
  EXPECT_EQ(hostNumber(*element_, "spotCount"), 0);
  EXPECT_FALSE(m->dimensions().valid);
}

TEST_F(ScheduleData, WithoutASpotsParameterRecalculateFails) {
  standin::HostElement* e = placeMember("Rectilinear", plainMember(), "RECT", true);
  dropParameter(*e, "spots");
  FramingMember* m = readAs<FramingMember>(*e, holder_);
  ASSERT_NE(m, nullptr);
  EXPECT_FALSE(m->recalculate(false));
  EXPECT_EQ(hostNumber(*e, "BoundVol"), 5) << "nothing is written";
}

TEST_F(ScheduleData, AHotspotArrayThatCannotHoldPointsIsLeftAndTheMemberMeasured) {
  struct Case {
    const char* what;
    int32_t typeID;
    int32_t rows, columns;
    std::vector<double> numbers;
    std::vector<std::string> texts;
  } cases[] = {
      {"rows of two values", platform::kParamLength, 4, 2, std::vector<double>(8, 0.5), {}},
      {"rows of texts", platform::kParamString, 4, 3, {}, std::vector<std::string>(12, "x")},
      {"a single value", platform::kParamLength, 1, 0, {0.5}, {}},
  };
  for (const Case& c : cases) {
    standin::HostElement* e = placeMember("Rectilinear", plainMember(), "RECT", false);
    ASSERT_NE(e, nullptr);
    reshapeParameter(*e, "spots", c.typeID, c.rows, c.columns, c.numbers, c.texts);
    reshapeParameter(*e, "spotCount", platform::kParamInteger, 1, 0, {3});
    refreshBody(*e);
    FramingMember* m = readAs<FramingMember>(*e, holder_);
    ASSERT_NE(m, nullptr) << c.what;
    EXPECT_FALSE(m->recalculate(false)) << c.what;
    EXPECT_EQ(hostNumber(*e, "spotCount"), 3) << c.what;
    if (c.texts.empty()) EXPECT_EQ(hostNumber(*e, "spots"), 0.5) << c.what;
    else EXPECT_EQ(hostText(*e, "spots"), "x") << c.what;
    EXPECT_NEAR(hostNumber(*e, "BoundVol"), 3.25 * 0.15 * 0.2, 1e-9) << c.what;
    EXPECT_NEAR(hostNumber(*e, "roundLen"), 3.25, 1e-9) << c.what;
  }
}

class MissingParameter : public ScheduleData, public ::testing::WithParamInterface<const char*> {};

TEST_P(MissingParameter, IsSkippedOrLeftAtZeroNeverACrash) {
  standin::HostElement* e = placeMember("Rectilinear", plainMember(), "RECT", true);
  dropParameter(*e, GetParam());
  refreshBody(*e);
  FramingMember* m = readAs<FramingMember>(*e, holder_);
  ASSERT_NE(m, nullptr) << GetParam();
  m->recalculate(true);
  double hours = 0, start = 0;
  m->jointHours(hours);
  m->startExtension(start);
  lunvik::CadPoly path;
  m->axisPath(path);
  // The host's volume does not depend on the add-on reading anything.
  std::string name = GetParam();
  if (name != "actVol" && name != "length" && name != "profWide" && name != "profDeep") {
    EXPECT_NEAR(hostNumber(*e, "actVol"), 3.01 * 0.149 * 0.2, 1e-6) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Names, MissingParameter,
                         ::testing::Values("length", "profWide", "profDeep", "numCuts", "cutAngle", "cutOffset",
                                           "jointX", "cutIDPos", "xOffset", "incline", "swivel", "spotCount",
                                           "BoundVol", "roundLen", "StLock", "extLenSt", "isSmooth", "actVol",
                                           "IntOffset2", "JuncTypeSt", "TimeAllocSt"));

}  // namespace
