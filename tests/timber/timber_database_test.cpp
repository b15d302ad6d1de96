// The timber database through the host's own tools: members drawn, copied, stretched and
// changed in the stand-in host reach the add-on as database notifications, and what the
// add-on makes of them is read back from the host's model.
#include <gtest/gtest.h>

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
};

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
