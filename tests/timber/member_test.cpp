// The common timber operations on members read from the host: anchors, names, hotspots,
// orientation and the parameters that may be missing.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "geometry/tolerance.h"
#include "timber/axis_path.h"
#include "timber_fixture.h"

namespace {

using lunvik::CadPoint;
using lunvik::CadString;
using testing_support::MemberValues;
using varnholt::Crafted;
using varnholt::FramingMember;

class Member : public testing_support::TimberHost {
 protected:
  FramingMember* member(const MemberValues& values, const char* part = "Rectilinear", const char* code = "RECT") {
    standin::HostElement* e = placeMember(part, values, code, false);
    if (!e) return nullptr;
    element_ = e;
    return readAs<FramingMember>(*e, holder_);
  }
  standin::HostElement* element_ = nullptr;
  std::unique_ptr<lunvik::Element> holder_;
};

struct AnchorCase {
  const char* pick;
  bool reads;
  int vertical;
  int horizontal;
};

class AnchorPick : public Member, public ::testing::WithParamInterface<AnchorCase> {};

TEST_P(AnchorPick, LettersOfBmtAndRml) {
  const AnchorCase& c = GetParam();
  FramingMember* m = member({{"anchorPick", c.pick}});
  ASSERT_NE(m, nullptr);
  int v = 9, h = 9;
  EXPECT_EQ(m->anchorIndices(v, h), c.reads) << c.pick;
  if (c.reads) {
    EXPECT_EQ(v, c.vertical);
    EXPECT_EQ(h, c.horizontal);
  } else {
    EXPECT_EQ(v, 9);
    EXPECT_EQ(h, 9);
  }
}

INSTANTIATE_TEST_SUITE_P(Picks, AnchorPick,
                         ::testing::Values(AnchorCase{"MM", true, 1, 1}, AnchorCase{"BR", true, 0, 0},
                                           AnchorCase{"TL", true, 2, 2}, AnchorCase{"BMx", true, 0, 1},
                                           AnchorCase{"M", false, 0, 0}, AnchorCase{"", false, 0, 0},
                                           AnchorCase{"XM", false, 0, 0}, AnchorCase{"MX", false, 0, 0}));

TEST_F(Member, StandardAnchorSetsTheOffsets) {
  FramingMember* m = member({{"anchorPick", "TL"}, {"profWide", 0.2}, {"profDeep", 0.3}, {"xOffset", 5.0}});
  ASSERT_NE(m, nullptr);
  ASSERT_TRUE(m->applyAnchor());
  CadPoint offset;
  ASSERT_TRUE(m->anchorOffset(offset, false));
  EXPECT_TRUE(offset.equals(CadPoint(0, -0.2, -0.3), 1e-12));
  ASSERT_TRUE(m->anchorOffset(offset, true));
  EXPECT_TRUE(offset.equals(CadPoint(0, -0.1, -0.15), 1e-12));
}

TEST_F(Member, ProfileAndCustomAnchors) {
  FramingMember* m = member({{"anchorType", "Profile"}, {"anchorY", 0.04}, {"anchorZ", -0.02}, {"yOffset", 1.0}});
  ASSERT_NE(m, nullptr);
  ASSERT_TRUE(m->applyAnchor());
  CadPoint offset;
  ASSERT_TRUE(m->anchorOffset(offset, false));
  EXPECT_TRUE(offset.equals(CadPoint(0, 0.04, -0.02), 1e-12));
  FramingMember* custom = member({{"anchorType", "Custom"}, {"yOffset", 1.0}});
  ASSERT_TRUE(custom->applyAnchor());
  ASSERT_TRUE(custom->anchorOffset(offset, false));
  EXPECT_DOUBLE_EQ(offset.getY(), 1.0);
  EXPECT_FALSE(member({{"anchorType", "Sideways"}})->applyAnchor());
}

TEST_F(Member, EmptyTimberNameAnswersTheLibraryPartName) {
  FramingMember* m = member({{"timberName", ""}});
  ASSERT_NE(m, nullptr);
  CadString name;
  ASSERT_TRUE(m->timberName(name));
  EXPECT_EQ(name, "Rectilinear");
  ASSERT_TRUE(m->setTimberName("Tie beam"));
  ASSERT_TRUE(m->timberName(name));
  EXPECT_EQ(name, "Tie beam");
  lunvik::ComponentLink link = m->libraryPart();
  EXPECT_TRUE(link.isValid());
  EXPECT_EQ(link.index(), element_->record.part.libIndex);
}

TEST_F(Member, NormaliseSpotsDropsRowsEqualToTheirPredecessor) {
  std::vector<double> spots(192, 0.0);
  double rows[3][3] = {{1, 2, 3}, {1.000004, 2, 3}, {0, 5, 0}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) spots[std::size_t(r * 3 + c)] = rows[r][c];
  FramingMember* m = member({{"spots", spots}, {"spotCount", 3.0}});
  ASSERT_NE(m, nullptr);
  ASSERT_TRUE(m->normaliseSpots());
  std::vector<CadPoint> kept;
  ASSERT_TRUE(m->spots(kept));
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_TRUE(kept[0].equals(CadPoint(0, 5, 0), 0));
  EXPECT_TRUE(kept[1].equals(CadPoint(1, 2, 3), 0));
  int32_t count = 0;
  ASSERT_TRUE(m->getInteger("spotCount", count));
  EXPECT_EQ(count, 2);
  ASSERT_TRUE(m->moveSpots(lunvik::Vector3(1, 0, -1)));
  ASSERT_TRUE(m->spots(kept));
  EXPECT_TRUE(kept[1].equals(CadPoint(2, 2, 2), 1e-12));
}

TEST_F(Member, MirroredSwivelReadsAndWritesTheOtherWay) {
  FramingMember* m = member({{"swivel", 0.5}});
  ASSERT_NE(m, nullptr);
  m->setMirrored(true);
  double swivel = 0;
  ASSERT_TRUE(m->swivel(swivel));
  EXPECT_NEAR(swivel, lunvik::kTwoPi - 0.5, 1e-12);
  ASSERT_TRUE(m->setSwivel(1.0));
  ASSERT_TRUE(m->storedSwivel(swivel));
  EXPECT_NEAR(swivel, lunvik::kTwoPi - 1.0, 1e-12);
  ASSERT_TRUE(m->setSwivel(0.0));
  ASSERT_TRUE(m->storedSwivel(swivel));
  EXPECT_EQ(swivel, 0.0) << "2pi - 0 normalises to 0";
}

TEST_F(Member, EndPointFollowsAngleAndIncline) {
  standin::HostElement* e = placeMember("Rectilinear", {{"length", 2.0}, {"incline", lunvik::kPi / 6}}, "RECT", false,
                                        1, 1, 0.5, lunvik::kHalfPi);
  std::unique_ptr<lunvik::Element> holder;
  Crafted* m = readAs(*e, holder);
  ASSERT_NE(m, nullptr);
  CadPoint end;
  ASSERT_TRUE(m->endPoint(end));
  EXPECT_TRUE(end.equals(CadPoint(1, 1 + std::sqrt(3.0), 0.5 - 1), 1e-9));
}

TEST_F(Member, BoxFollowsARotationToUpright) {
  FramingMember* m = member({{"length", 3.0}, {"profWide", 0.2}, {"profDeep", 0.3}, {"incline", lunvik::kHalfPi}});
  ASSERT_NE(m, nullptr);
  ASSERT_TRUE(m->syncFromRotation());
  double a = 0, b = 0, z = 0;
  ASSERT_TRUE(m->boxSize(a, b, z));
  EXPECT_NEAR(a, 0.3, 1e-9);
  EXPECT_NEAR(b, 0.2, 1e-9);
  EXPECT_NEAR(z, 3.0, 1e-9);
  double flat = 1;
  ASSERT_TRUE(m->getNumber("flatLength", flat));
  EXPECT_NEAR(flat, 0, 1e-9);
  double prev = 0;
  ASSERT_TRUE(m->getNumber("prevIncline", prev));
  EXPECT_DOUBLE_EQ(prev, lunvik::kHalfPi);
}

TEST_F(Member, MissingParametersFailTheirAccessorsOnly) {
  standin::HostElement* e = placeMember("Rectilinear", {}, "RECT", false);
  for (const char* name : {"profWide", "anchorPick", "spots", "swivel", "timberName"}) dropParameter(*e, name);
  std::unique_ptr<lunvik::Element> holder;
  FramingMember* m = readAs<FramingMember>(*e, holder);
  ASSERT_NE(m, nullptr);
  double width = 7;
  EXPECT_FALSE(m->profileWidth(width));
  EXPECT_EQ(width, 7);
  EXPECT_FALSE(m->setProfileWidth(0.3));
  int v = 0, h = 0;
  EXPECT_FALSE(m->anchorIndices(v, h));
  EXPECT_FALSE(m->normaliseSpots());
  EXPECT_FALSE(m->moveSpots(lunvik::Vector3(1, 1, 1)));
  lunvik::Matrix3x3 orientation;
  EXPECT_FALSE(m->orientation(orientation));
  CadString name("kept");
  EXPECT_FALSE(m->timberName(name));
  EXPECT_EQ(name, "kept");
  double depth = 0;
  EXPECT_TRUE(m->profileDepth(depth));
  // A text parameter read as a number is of another kind.
  EXPECT_FALSE(m->getNumber("anchorType", depth));
}

TEST_F(Member, ABentProfiledMemberWithoutArcToleranceUsesTwoMillimetres) {
  standin::HostElement* e = placeMember("Round", {{"length", 4.0}, {"hPath", 0.5}}, "ROUN", false);
  dropParameter(*e, "arcToler");
  std::unique_ptr<lunvik::Element> holder;
  varnholt::Round* m = readAs<varnholt::Round>(*e, holder);
  ASSERT_NE(m, nullptr);
  lunvik::CadPoly path;
  ASSERT_TRUE(m->axisPath(path));
  varnholt::ProfiledAxis axis;
  axis.length = 4;
  axis.hPath = 0.5;
  axis.tolerance = 0.002;
  ASSERT_TRUE(m->anchorOffset(axis.start, true));
  std::vector<CadPoint> expected = varnholt::profiledAxis(axis);
  ASSERT_EQ(path.vertexCount(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(path.vertex(i).equals(expected[i], 1e-12));
  EXPECT_TRUE(m->hasOwnPath());
}

TEST_F(Member, CurvedMembersHaveTheirOwnWidthDepthAndPath) {
  standin::HostElement* e =
      placeMember("Curved Timber", {{"length", 4.0}, {"timberWid", 0.15}, {"profWide", 0.3}}, "CURV", false);
  std::unique_ptr<lunvik::Element> holder;
  varnholt::Curved* m = readAs<varnholt::Curved>(*e, holder);
  ASSERT_NE(m, nullptr);
  double width = 0, depth = 0;
  ASSERT_TRUE(m->sectionWidth(width));
  ASSERT_TRUE(m->profileDepth(depth));
  EXPECT_DOUBLE_EQ(width, 0.15);
  EXPECT_DOUBLE_EQ(depth, 2.0);
  lunvik::CadPoly path;
  ASSERT_TRUE(m->axisPath(path));
  EXPECT_GT(path.vertexCount(), 2u);
  EXPECT_NEAR(path.vertex(path.vertexCount() - 1).getX(), 4.0, 1e-9);
}

TEST_F(Member, ASpotCountBeyondTheArrayReadsOnlyTheArraysRows) {
  FramingMember* m = member({{"spotCount", 1000.0}});
  ASSERT_NE(m, nullptr);
  std::vector<CadPoint> rows;
  ASSERT_TRUE(m->spots(rows));
  EXPECT_EQ(rows.size(), 64u);
  ASSERT_TRUE(m->normaliseSpots());
  int32_t count = 0;
  ASSERT_TRUE(m->getInteger("spotCount", count));
  EXPECT_EQ(count, 1) << "64 equal rows";
}

TEST_F(Member, CutsAreReadOnlyFromTheRowsThatExist) {
  const double nan = std::nan("");
  // Two square end cuts and a third, tilted one; the part's arrays hold 20 rows.
  std::vector<double> angles{0, -lunvik::kHalfPi, 0, lunvik::kHalfPi, 0, 0.3};
  struct Case {
    const char* what;
    std::function<void(standin::HostElement&)> make;
    bool reads;
    std::size_t planes;
  } cases[] = {
      {"a count beyond both arrays' rows",
       [&](standin::HostElement& e) {
         reshapeParameter(e, "numCuts", platform::kParamInteger, 1, 0, {5});
         reshapeParameter(e, "cutAngle", platform::kParamAngle, 3, 2, angles);
         reshapeParameter(e, "cutOffset", platform::kParamLength, 2, 1, {0, 0});
       },
       true, 2},
      {"the largest 32-bit count",
       [](standin::HostElement& e) { reshapeParameter(e, "numCuts", platform::kParamReal, 1, 0, {2147483647.0}); },
       true, 20},
      {"a count beyond the 32-bit range",
       [](standin::HostElement& e) { reshapeParameter(e, "numCuts", platform::kParamReal, 1, 0, {1e15}); }, true, 20},
      {"a negative count",
       [](standin::HostElement& e) { reshapeParameter(e, "numCuts", platform::kParamInteger, 1, 0, {-3}); }, true, 0},
      {"no cuts and no cut arrays",
       [](standin::HostElement& e) {
         reshapeParameter(e, "numCuts", platform::kParamInteger, 1, 0, {0});
         dropParameter(e, "cutAngle");
         dropParameter(e, "cutOffset");
       },
       true, 0},
      {"a count that is no number",
       [&](standin::HostElement& e) { reshapeParameter(e, "numCuts", platform::kParamReal, 1, 0, {nan}); }, false, 0},
      {"angles of one column",
       [](standin::HostElement& e) {
         reshapeParameter(e, "cutAngle", platform::kParamAngle, 20, 1, std::vector<double>(20, 0.0));
       },
       false, 0},
      {"angles that are texts",
       [](standin::HostElement& e) {
         reshapeParameter(e, "cutAngle", platform::kParamString, 20, 2, {}, std::vector<std::string>(40, "0"));
       },
       false, 0},
      {"no offsets", [](standin::HostElement& e) { dropParameter(e, "cutOffset"); }, false, 0},
      {"an angle that is no number",
       [&](standin::HostElement& e) {
         std::vector<double> bad(40, 0.0);
         bad[1] = -lunvik::kHalfPi;
         bad[3] = nan;
         reshapeParameter(e, "cutAngle", platform::kParamAngle, 20, 2, bad);
       },
       false, 1},
  };
  for (const Case& c : cases) {
    standin::HostElement* e = placeMember("Rectilinear", {{"numCuts", 2.0}}, "RECT", false);
    ASSERT_NE(e, nullptr);
    c.make(*e);
    std::unique_ptr<lunvik::Element> holder;
    FramingMember* m = readAs<FramingMember>(*e, holder);
    ASSERT_NE(m, nullptr) << c.what;
    varnholt::CutList cuts;
    EXPECT_EQ(m->cutPlanes(cuts), c.reads) << c.what;
    EXPECT_EQ(cuts.size(), c.planes) << c.what;
  }
}

TEST_F(Member, HotspotsAreReadOnlyFromRowsOfPoints) {
  const double nan = std::nan("");
  std::vector<double> three(192, 0.0);
  three[3] = nan;  // row 1
  three[6] = 1;    // row 2
  struct Case {
    const char* what;
    std::function<void(standin::HostElement&)> make;
    bool reads;
    std::size_t rows;
  } cases[] = {
      {"a negative count",
       [](standin::HostElement& e) { reshapeParameter(e, "spotCount", platform::kParamInteger, 1, 0, {-4}); }, true,
       0},
      {"a count that is no number",
       [&](standin::HostElement& e) { reshapeParameter(e, "spotCount", platform::kParamReal, 1, 0, {nan}); }, false,
       0},
      {"a row that is no point",
       [&](standin::HostElement& e) { reshapeParameter(e, "spots", platform::kParamLength, 64, 3, three); }, true, 2},
      {"rows of two values",
       [](standin::HostElement& e) {
         reshapeParameter(e, "spots", platform::kParamLength, 64, 2, std::vector<double>(128, 0.0));
       },
       false, 0},
      {"rows of texts",
       [](standin::HostElement& e) {
         reshapeParameter(e, "spots", platform::kParamString, 64, 3, {}, std::vector<std::string>(192, "1"));
       },
       false, 0},
      {"a single value",
       [](standin::HostElement& e) { reshapeParameter(e, "spots", platform::kParamLength, 1, 0, {3}); }, false, 0},
  };
  for (const Case& c : cases) {
    standin::HostElement* e = placeMember("Rectilinear", {{"spotCount", 3.0}}, "RECT", false);
    ASSERT_NE(e, nullptr);
    c.make(*e);
    std::unique_ptr<lunvik::Element> holder;
    FramingMember* m = readAs<FramingMember>(*e, holder);
    ASSERT_NE(m, nullptr) << c.what;
    std::vector<CadPoint> rows;
    EXPECT_EQ(m->spots(rows), c.reads) << c.what;
    EXPECT_EQ(rows.size(), c.rows) << c.what;
    // Writing follows reading: rows go only where rows of points can be held.
    EXPECT_EQ(m->writeSpots({CadPoint(1, 2, 3)}), c.reads || std::string(c.what) == "a count that is no number")
        << c.what;
  }
}

TEST_F(Member, ValuesThatAreNoNumbersReadAsMissing) {
  standin::HostElement* e = placeMember("Rectilinear", {}, "RECT", false);
  reshapeParameter(*e, "profWide", platform::kParamLength, 1, 0, {std::nan("")});
  reshapeParameter(*e, "length", platform::kParamLength, 1, 0, {HUGE_VAL});
  reshapeParameter(*e, "TimberNo", platform::kParamReal, 1, 0, {1e12});
  std::unique_ptr<lunvik::Element> holder;
  FramingMember* m = readAs<FramingMember>(*e, holder);
  ASSERT_NE(m, nullptr);
  double value = 7;
  EXPECT_FALSE(m->profileWidth(value));
  EXPECT_FALSE(m->length(value));
  EXPECT_EQ(value, 7);
  double w = 0, d = 0;
  EXPECT_FALSE(m->sectionSize(w, d));
  // A whole number beyond the 32-bit range reads as the largest one.
  int32_t number = 0;
  ASSERT_TRUE(m->timberNo(number));
  EXPECT_EQ(number, 2147483647);
}

TEST_F(Member, ANumberBeyondASixteenBitParameterIsRefused) {
  FramingMember* m = member({{"TimberNo", 12.0}});
  ASSERT_NE(m, nullptr);
  EXPECT_FALSE(m->setTimberNo(40000));
  int32_t number = 0;
  ASSERT_TRUE(m->timberNo(number));
  EXPECT_EQ(number, 12);
  EXPECT_TRUE(m->setTimberNo(32767));
  ASSERT_TRUE(m->timberNo(number));
  EXPECT_EQ(number, 32767);
}

TEST_F(Member, CustomAnchorOfABentMemberWithALockedLengthUsesTheChord) {
  FramingMember* m =
      member({{"length", 4.0}, {"anchorPick", "BR"}, {"hPath", 0.5}, {"lockLength", 1.0}}, "Rectilinear", "CUST");
  ASSERT_NE(dynamic_cast<varnholt::Custom*>(m), nullptr);
  ASSERT_TRUE(m->applyAnchor());
  CadPoint offset;
  ASSERT_TRUE(m->anchorOffset(offset, false));
  double chord = -offset.getX();
  ASSERT_GT(chord, 3.5);
  ASSERT_LT(chord, 4.0);
  // An arc over that chord rising by the bend is as long as the member.
  double angle = 0, radius = 0;
  ASSERT_TRUE(varnholt::bendArc(chord, 0.5, angle, radius));
  EXPECT_NEAR(angle * radius, 4.0, 1e-6);
  FramingMember* straight = member({{"length", 4.0}, {"anchorPick", "BR"}, {"hPath", 0.5}}, "Rectilinear", "CUST");
  ASSERT_TRUE(straight->applyAnchor());
  ASSERT_TRUE(straight->anchorOffset(offset, false));
  EXPECT_DOUBLE_EQ(offset.getX(), -4.0);
}

TEST_F(Member, StoreTypeIdTagsTheElementWithTheKindCode) {
  standin::HostElement* e = placeMember("Rectilinear", {}, "TCER", false);
  std::unique_ptr<lunvik::Element> holder;
  Crafted* m = readAs(*e, holder);
  ASSERT_NE(m, nullptr);
  ASSERT_TRUE(m->storeTypeId());
  EXPECT_EQ(e->userData, "RECT");
  EXPECT_EQ(e->userFlags, 0x1000003);
}

}  // namespace
