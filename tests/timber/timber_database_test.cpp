// The timber database through the host's own tools: members drawn, copied, stretched and
// changed in the stand-in host reach the add-on as database notifications, and what the
// add-on makes of them is read back from the host's model.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "support/host_values.h"
#include "timber_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kTool = platform::fourcc("Vrnh");

const auto number = testing_support::numberValue;
const auto valueOf = testing_support::storedValue;

class TimberDatabaseTest : public testing_support::TimberHost {
 protected:
  // Draws a member with the add-on's element tool; a swept part takes its box into its sizes.
  standin::HostElement* draw(std::vector<standin::ParameterValue> values, double x = 0, double y = 0,
                             const platform::DatabaseRecord* view = nullptr, const char* part = "Rectilinear") {
    values.push_back(number("isSwept", 1));
    return model().placeObject(part, values, x, y, 0, 0, view, platform::kObject, kTool);
  }

  // Draws a member of a part as it ships, with the add-on's element tool.
  standin::HostElement* drawPart(const char* part, std::vector<standin::ParameterValue> values) {
    return model().placeObject(part, values, 0, 0, 0, 0, nullptr, platform::kObject, kTool);
  }

  // The extent of the element's 3D model as the host generated it.
  standin::Vec3 modelSize(const standin::HostElement& e) {
    standin::Vec3 low, high;
    int32_t first = 0, last = -1;
    if (!host().bodies().bodyRange(e.record.header.typeID, e.record.header.index, first, last) || last < first) {
      ADD_FAILURE() << "no bodies";
      return {};
    }
    for (int32_t i = first; i <= last; ++i) {
      const standin::GeneratedBody* b = host().bodies().body(i);
      if (!b) continue;
      if (i == first) low = b->boxMin, high = b->boxMax;
      low = {std::min(low.x, b->boxMin.x), std::min(low.y, b->boxMin.y), std::min(low.z, b->boxMin.z)};
      high = {std::max(high.x, b->boxMax.x), std::max(high.y, b->boxMax.y), std::max(high.z, b->boxMax.z)};
    }
    return {high.x - low.x, high.y - low.y, high.z - low.z};
  }

  bool resize(const standin::HostElement& e, double a, double b, double height, uint32_t kind) {
    return model().resizeObject(e.record.header.guid, a, b, height, kind);
  }
};

struct BoxCase {
  const char* part;
  double length, width, depth;  // the member's sizes from a box 5 x 0.3 x 0.25
  double bodyDepth;             // its body's height
};

TEST_F(TimberDatabaseTest, EachStraightPartDrawnByItsBoxTakesItsSizes) {
  const BoxCase cases[] = {
      {"Rectilinear", 5, 0.3, 0.25, 0.25},
      {"Tapered Timber", 5, 0.3, 0.25, 0.25},
      {"Round", 5, 0.3, 0.25, 0.25},
      {"Square to Round Post", 5, 0.3, 0.25, 0.25},
      // One diameter: the box's width sets it, and the box follows.
      {"Round Tapered", 5, 0.3, 0.3, 0.3},
      // The head keeps its own depth (0.3) below the post's.
      {"Jowl Post", 5, 0.3, 0.25, 0.3},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.part);
    standin::HostElement* e = drawPart(c.part, {number("A", 5), number("B", 0.3), number("ZZYZX", 0.25)});
    ASSERT_NE(e, nullptr);
    EXPECT_NEAR(valueOf(*e, "length"), c.length, 1e-9);
    EXPECT_NEAR(valueOf(*e, "profWide"), c.width, 1e-9);
    EXPECT_NEAR(valueOf(*e, "profDeep"), c.depth, 1e-9);
    EXPECT_NEAR(e->record.part.xRatio, c.length, 1e-9);
    EXPECT_NEAR(e->record.part.yRatio, c.width, 1e-9);
    EXPECT_NEAR(e->record.part.height, c.depth, 1e-9);
    EXPECT_NEAR(e->record.part.angle, 0, 1e-9) << "longest along its length: not turned";
    standin::Vec3 size = modelSize(*e);
    EXPECT_NEAR(size.x, c.length, 1e-6);
    EXPECT_NEAR(size.y, c.width, 1e-6);
    EXPECT_NEAR(size.z, c.bodyDepth, 0.005);
  }
}

TEST_F(TimberDatabaseTest, AWiderBoxKeepsTheStandardAnchorOnTheMembersMiddle) {
  // Anchored bottom middle: the drawn member's body stands centred across its placement line.
  standin::HostElement* e = drawPart("Rectilinear", {number("A", 5), number("B", 0.3)});
  ASSERT_NE(e, nullptr);
  EXPECT_NEAR(valueOf(*e, "yOffset"), -0.15, 1e-9);
  int32_t first = 0, last = -1;
  ASSERT_TRUE(host().bodies().bodyRange(e->record.header.typeID, e->record.header.index, first, last));
  const standin::GeneratedBody* body = host().bodies().body(first);
  ASSERT_NE(body, nullptr);
  EXPECT_NEAR(body->boxMin.y, -0.15, 1e-9);
  EXPECT_NEAR(body->boxMax.y, 0.15, 1e-9);
  EXPECT_NEAR(body->boxMin.z, 0, 1e-9);
}

TEST_F(TimberDatabaseTest, StretchingAndResizingTheBoxSizeTheMemberFromItsOwnSizes) {
  // Placed by its length: the box follows the member, so a stretch starts from 2.5 m.
  standin::HostElement* e = drawPart("Rectilinear", {number("length", 2.5)});
  ASSERT_NE(e, nullptr);
  EXPECT_NEAR(e->record.part.xRatio, 2.5, 1e-9);
  ASSERT_TRUE(resize(*e, e->record.part.xRatio + 0.5, e->record.part.yRatio, e->record.part.height, platform::fourcc("STRE")));
  EXPECT_NEAR(valueOf(*e, "length"), 3.0, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profWide"), 0.2, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profDeep"), 0.2, 1e-9);
  EXPECT_NEAR(modelSize(*e).x, 3.0, 1e-6);
  // Up: the depth.
  ASSERT_TRUE(resize(*e, e->record.part.xRatio, e->record.part.yRatio, e->record.part.height + 0.1, platform::fourcc("VSTR")));
  EXPECT_NEAR(valueOf(*e, "profDeep"), 0.3, 1e-9);
  EXPECT_NEAR(valueOf(*e, "length"), 3.0, 1e-9);
  // All three at once.
  ASSERT_TRUE(resize(*e, 4, 0.25, 0.15, platform::fourcc("RSIZ")));
  EXPECT_NEAR(valueOf(*e, "length"), 4, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profWide"), 0.25, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profDeep"), 0.15, 1e-9);
  standin::Vec3 size = modelSize(*e);
  EXPECT_NEAR(size.x, 4, 1e-6);
  EXPECT_NEAR(size.y, 0.25, 1e-6);
  EXPECT_NEAR(size.z, 0.15, 1e-6);
  // A typed length moves the box with it.
  ASSERT_TRUE(model().changeParameters(e->record.header.guid, {number("length", 3.5)}));
  EXPECT_NEAR(e->record.part.xRatio, 3.5, 1e-9);
  EXPECT_NEAR(valueOf(*e, "A"), 3.5, 1e-9);
}

TEST_F(TimberDatabaseTest, ABoxDrawnUprightStandsAPostThatAVerticalStretchLengthens) {
  standin::HostElement* e = drawPart("Rectilinear", {number("A", 0.2), number("B", 0.2), number("ZZYZX", 2.5)});
  ASSERT_NE(e, nullptr);
  EXPECT_NEAR(valueOf(*e, "length"), 2.5, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profDeep"), 0.2, 1e-9);
  EXPECT_NEAR(valueOf(*e, "incline"), -kPi / 2, 1e-9);
  EXPECT_NEAR(modelSize(*e).z, 2.5, 1e-6);
  ASSERT_TRUE(resize(*e, e->record.part.xRatio, e->record.part.yRatio, e->record.part.height + 0.5, platform::fourcc("VSTR")));
  EXPECT_NEAR(valueOf(*e, "length"), 3.0, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profDeep"), 0.2, 1e-9);
  EXPECT_NEAR(modelSize(*e).z, 3.0, 1e-6);
}

TEST_F(TimberDatabaseTest, ARoundTaperKeepsOneDiameterWhicheverSideOfTheBoxChanges) {
  standin::HostElement* e = drawPart("Round Tapered", {number("length", 3.0)});
  ASSERT_NE(e, nullptr);
  ASSERT_TRUE(resize(*e, e->record.part.xRatio, e->record.part.yRatio, 0.4, platform::fourcc("VSTR")));
  EXPECT_NEAR(valueOf(*e, "profWide"), 0.4, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profDeep"), 0.4, 1e-9);
  EXPECT_NEAR(e->record.part.yRatio, 0.4, 1e-9);
  ASSERT_TRUE(resize(*e, e->record.part.xRatio, 0.3, e->record.part.height, platform::fourcc("STRE")));
  EXPECT_NEAR(valueOf(*e, "profWide"), 0.3, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profDeep"), 0.3, 1e-9);
  EXPECT_NEAR(e->record.part.height, 0.3, 1e-9);
  standin::Vec3 size = modelSize(*e);
  EXPECT_NEAR(size.y, 0.3, 1e-6);
  EXPECT_NEAR(size.z, 0.3, 0.005) << "faceted";
}

TEST_F(TimberDatabaseTest, APegIsSizedByItsValuesNotByItsBox) {
  standin::HostElement* e = drawPart("Peg", {number("A", 0.5)});
  ASSERT_NE(e, nullptr);
  EXPECT_NEAR(valueOf(*e, "length"), 0.3, 1e-9);
}

TEST_F(TimberDatabaseTest, ABoxDrawnAcrossThePlanIsTurnedToRunAlongItsLength) {
  // The box: 0.2 along x, 3.0 along y, so the member is 0.2 long and 3.0 wide as drawn.
  standin::HostElement* e = draw({number("A", 0.2), number("B", 3.0), number("prevA", 3.0), number("prevB", 0.2)});
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->userData, "RECT");
  EXPECT_NEAR(valueOf(*e, "length"), 3.0, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profWide"), 0.2, 1e-9);
  EXPECT_NEAR(e->record.part.angle, kPi / 2, 1e-9);
  // The box follows the turned member.
  EXPECT_NEAR(e->record.part.xRatio, 3.0, 1e-9);
  EXPECT_NEAR(e->record.part.yRatio, 0.2, 1e-9);
}

TEST_F(TimberDatabaseTest, AnUprightBoxIsInclined) {
  standin::HostElement* e = draw({number("length", 0.2), number("profWide", 0.2), number("profDeep", 2.5)});
  ASSERT_NE(e, nullptr);
  EXPECT_NEAR(valueOf(*e, "length"), 2.5, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profDeep"), 0.2, 1e-9);
  EXPECT_NEAR(valueOf(*e, "incline"), -kPi / 2, 1e-9);
}

TEST_F(TimberDatabaseTest, ABoxAtMostAQuarterMetreAcrossIsLeftAlone) {
  standin::HostElement* e = draw({number("length", 0.2), number("profWide", 0.24), number("profDeep", 0.2)});
  ASSERT_NE(e, nullptr);
  EXPECT_NEAR(valueOf(*e, "length"), 0.2, 1e-9);
  EXPECT_NEAR(valueOf(*e, "profWide"), 0.24, 1e-9);
  EXPECT_NEAR(e->record.part.angle, 0, 1e-9);
}

TEST_F(TimberDatabaseTest, ATypedNumberIsKeptUntilAStretchChangesTheRoundedLength) {
  // 3.1 m rounds up to 3.25 m at the default 0.25 m increment.
  standin::HostElement* e = draw({number("length", 3.1), number("A", 3.1), number("prevA", 3.1), number("TimberNo", 5),
                                  number("enumTNum", 5)});
  ASSERT_NE(e, nullptr);
  const platform::Guid guid = e->record.header.guid;
  ASSERT_TRUE(model().changeParameters(guid, {number("TimberNo", 12)}));
  EXPECT_EQ(valueOf(*e, "TimberNo"), 12);
  EXPECT_EQ(valueOf(*e, "enumTNum"), 12);
  EXPECT_NEAR(valueOf(*e, "enumLen"), 3.25, 1e-9) << "recorded rounded, as the enumeration records it";
  EXPECT_NEAR(valueOf(*e, "enumWid"), 0.2, 1e-9);

  // Neither another change nor a stretch within the increment touches the number ...
  ASSERT_TRUE(model().changeParameters(guid, {number("showLabel", 1)}));
  ASSERT_TRUE(model().resizeObject(guid, 3.2, e->record.part.yRatio, e->record.part.height, platform::fourcc("STRE")));
  EXPECT_NEAR(valueOf(*e, "length"), 3.2, 1e-9);
  EXPECT_EQ(valueOf(*e, "TimberNo"), 12);
  // ... nor does a move.
  platform::EditRecord move{};
  move.kind = int32_t(platform::fourcc("DRAG"));
  move.flag = 1;
  move.second = {1, 0, 0};
  model().edit({guid}, move);
  EXPECT_EQ(valueOf(*e, "TimberNo"), 12);
  // A stretch past the increment does.
  ASSERT_TRUE(model().resizeObject(guid, 3.3, e->record.part.yRatio, e->record.part.height, platform::fourcc("STRE")));
  EXPECT_NEAR(valueOf(*e, "length"), 3.3, 1e-9);
  EXPECT_EQ(valueOf(*e, "TimberNo"), 0);
}

TEST_F(TimberDatabaseTest, ACopyKeepsItsNumberAndTakesItsUserDataFromItsId) {
  standin::HostElement* e = draw({number("TimberNo", 7), number("enumTNum", 7)});
  ASSERT_NE(e, nullptr);
  // A host that does not copy user data: the source's is gone when the copy is made.
  e->hasUserData = false;
  e->userData.clear();
  platform::EditRecord copy{};
  copy.kind = int32_t(platform::fourcc("DRAG"));
  copy.flag = 0;
  copy.second = {2, 0, 0};
  std::vector<platform::Guid> made = model().edit({e->record.header.guid}, copy);
  ASSERT_EQ(made.size(), 1u);
  standin::HostElement* c = model().find(made[0]);
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->hasUserData);
  EXPECT_EQ(c->userData, "RECT");
  EXPECT_EQ(valueOf(*c, "TimberNo"), 7);
}

TEST_F(TimberDatabaseTest, AnAssemblyEditedWithGroupsSuspendedWarnsOncePerOperation) {
  standin::HostElement* a = model().placeObject("Assembly", {}, 0, 0, 0, 0);
  standin::HostElement* b = model().placeObject("Assembly", {}, 3, 0, 0, 0);
  ASSERT_TRUE(a && b);
  ASSERT_EQ(a->userData, "ASSM");
  platform::EditRecord move{};
  move.kind = int32_t(platform::fourcc("DRAG"));
  move.flag = 1;
  move.second = {0.5, 0, 0};
  host().clearRecords();
  model().edit({a->record.header.guid, b->record.header.guid}, move);
  EXPECT_TRUE(host().alerts().empty()) << "groups are not suspended";
  host().setGroupsSuspended(true);
  model().edit({a->record.header.guid, b->record.header.guid}, move);
  ASSERT_EQ(host().alerts().size(), 1u);
  EXPECT_EQ(host().alerts()[0].text,
            "An assembly anchor has been edited with groups suspended. Use 'Undo' immediately if this is unintended");
  model().edit({a->record.header.guid}, move);
  EXPECT_EQ(host().alerts().size(), 2u) << "a new operation warns again";
}

TEST_F(TimberDatabaseTest, AMemberDrawnInASectionMovesIntoThePlan) {
  // A section along y: its x runs from (1, 0) towards (1, 10).
  platform::DatabaseRecord section = model().addCutPlane(platform::kDatabaseSection, 1, 0, 1, 10, 0, "A-A");
  standin::HostElement* drawn = draw({number("length", 2.0)}, 4, 0, &section);
  ASSERT_NE(drawn, nullptr);
  EXPECT_TRUE(drawn->deleted) << "the view keeps no copy";
  std::vector<standin::HostElement*> plan = model().elements(model().plan(), platform::kObject);
  ASSERT_EQ(plan.size(), 1u);
  const standin::HostElement& moved = *plan[0];
  EXPECT_EQ(moved.userData, "RECT");
  EXPECT_NEAR(moved.record.part.pos.x, 1, 1e-9);
  EXPECT_NEAR(moved.record.part.pos.y, 4, 1e-9);
  EXPECT_NEAR(moved.record.part.angle, kPi / 2, 1e-9) << "the member runs along the section line";
  // Standing on the view's ground: raised by its section's height.
  EXPECT_NEAR(moved.record.part.level, 0.2, 1e-9);
  EXPECT_NEAR(valueOf(moved, "length"), 2.0, 1e-9);
}

TEST_F(TimberDatabaseTest, APlainObjectOfATimberPartIsATimberToo) {
  standin::HostElement* e = model().placeObject("Round", {number("length", 2.0)}, 0, 0, 0, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->userData, "ROUN");
  EXPECT_EQ(e->userFlags, 0x1000003);
  standin::HostElement* other = model().placeObject("Plain Box", {}, 0, 0, 0, 0);
  ASSERT_NE(other, nullptr);
  EXPECT_FALSE(other->hasUserData) << "a part without a kind code is no timber";
}

}  // namespace
