// The rotate tool inside the stand-in host: members turned about an axis in the plan or across
// a section, their placement, plan angle, incline and swivel against hand values, their bodies
// in their new attitude, and the command's feedback, undo step and groups.
#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "geometry/cad_line.h"
#include "model/drawing.h"
#include "model/project.h"
#include "runtime/addon.h"
#include "support/loaded_host.h"
#include "timber/crafted.h"
#include "tools/rotate_tool.h"
#include "tools/rubber_rotater.h"

namespace {

namespace fs = std::filesystem;
using standin::PointerAnswer;

constexpr double kPi = 3.14159265358979323846;

// The difference of two angles, brought into (-pi, pi].
double angleGap(double a, double b) {
  double d = std::fmod(a - b, 2 * kPi);
  if (d > kPi) d -= 2 * kPi;
  if (d <= -kPi) d += 2 * kPi;
  return std::fabs(d);
}

class RotateTest : public testing_support::LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    folder_ = appData() + "/library";
    fs::create_directories(folder_);
    for (const auto& entry : fs::directory_iterator(std::string(TRESTLAR_SOURCE_DIR) + "/library"))
      fs::copy_file(entry.path(), folder_ + "/" + entry.path().filename().string());
    fs::copy_file(std::string(TRESTLAR_FIXTURES) + "/timber/library/Plain Box.gsm", folder_ + "/Plain Box.gsm");
    host().newProject();
    host().setLibraryFolders({folder_});
    host().clearRecords();
  }
  standin::ProjectModel& model() { return host().model(); }
  // A 3 m rectangular member, 0.2 x 0.2, level, anchored bottom middle.
  standin::HostElement* beam(double x, double y, double angle, std::vector<standin::ParameterValue> more = {}) {
    model().setCurrent(model().plan().id);
    std::vector<standin::ParameterValue> values = {standin::ParameterValue::ofNumber("A", 3),
                                                   standin::ParameterValue::ofNumber("B", 0.2)};
    values.insert(values.end(), more.begin(), more.end());
    return model().placeObject("Rectilinear", values, x, y, 0, angle, nullptr, platform::kObject,
                               platform::fourcc("Vrnh"));
  }
  void clicks(std::vector<PointerAnswer> answers) {
    for (auto& a : answers) host().pointer().queue(std::move(a));
  }
  void rotate(const std::vector<standin::HostElement*>& selected) {
    model().deselectAll();
    for (standin::HostElement* e : selected) model().select(e->record.header.guid, true);
    standin::MenuItem item;
    ASSERT_TRUE(host().findMenuItem("Framing/Tools/Rotate", item));
    host().chooseMenuItem(item.menuList, item.itemIndex);
  }
  standin::HostElement& now(const standin::HostElement* e) { return *model().find(e->record.header.guid); }
  static double value(const standin::HostElement& e, const char* name) {
    for (const auto& p : e.parameters)
      if (strcasecmp(p.record.name, name) == 0) return p.record.value.real;
    return std::nan("");
  }
  const standin::GeneratedBody* body(const standin::HostElement& e) {
    int32_t first = 0, last = -1;
    if (!host().bodies().bodyRange(platform::kObject, e.record.header.index, first, last)) return nullptr;
    return host().bodies().body(first);
  }

  std::string folder_;
};

TEST_F(RotateTest, ALevelMemberTurnedAQuarterAboutAnAxisAcrossItStandsUpright) {
  standin::HostElement* member = beam(0, 0, 0);
  ASSERT_EQ(member->userData, "RECT");
  // The axis from the origin along y; the arc a quarter turn counter-clockwise from (0, 1).
  clicks({PointerAnswer::point(0, 0), PointerAnswer::point(0, 1), PointerAnswer::arc(-1, 0)});
  rotate({member});
  const standin::HostElement& up = now(member);
  EXPECT_NEAR(up.record.part.pos.x, 0, 1e-12);
  EXPECT_NEAR(up.record.part.pos.y, 0, 1e-12);
  EXPECT_NEAR(up.record.part.level, 0, 1e-12);
  EXPECT_NEAR(value(up, "incline"), -kPi / 2, 1e-12);
  EXPECT_NEAR(value(up, "swivel"), 0, 1e-12);
  EXPECT_NEAR(up.record.part.angle, 0, 1e-12);
  // Its box follows it: 0.2 x 0.2 across, 3 high.
  EXPECT_NEAR(value(up, "A"), 0.2, 1e-12);
  EXPECT_NEAR(value(up, "ZZYZX"), 3, 1e-12);
  const standin::GeneratedBody* b = body(up);
  ASSERT_NE(b, nullptr);
  // The body turned a quarter about y: its bottom face, once at z = 0, now faces -x at x = 0.
  EXPECT_NEAR(b->boxMin.x, -0.2, 1e-9);
  EXPECT_NEAR(b->boxMax.x, 0, 1e-9);
  EXPECT_NEAR(b->boxMin.y, -0.1, 1e-9);
  EXPECT_NEAR(b->boxMax.y, 0.1, 1e-9);
  EXPECT_NEAR(b->boxMin.z, 0, 1e-9);
  EXPECT_NEAR(b->boxMax.z, 3, 1e-9);
  ASSERT_EQ(host().undoSteps().size(), 1u);
  EXPECT_EQ(host().undoSteps()[0].name, "Rotate");
  EXPECT_TRUE(host().undoSteps()[0].closed);
  // The starting selection is selected again.
  EXPECT_TRUE(model().isSelected(member->record.header.guid));
}

TEST_F(RotateTest, AMemberAlongTheAxisOnlySwivels) {
  standin::HostElement* member = beam(1, 2, 0);
  clicks({PointerAnswer::point(0, 2), PointerAnswer::point(5, 2), PointerAnswer::arc(0, 3)});
  rotate({member});
  const standin::HostElement& turned = now(member);
  EXPECT_NEAR(turned.record.part.pos.x, 1, 1e-12);
  EXPECT_NEAR(turned.record.part.pos.y, 2, 1e-12);
  EXPECT_NEAR(turned.record.part.angle, 0, 1e-12);
  EXPECT_NEAR(value(turned, "incline"), 0, 1e-12);
  EXPECT_LT(angleGap(value(turned, "swivel"), -kPi / 2), 1e-12);
}

TEST_F(RotateTest, AWholeTurnPutsEveryMemberBack) {
  standin::HostElement* a = beam(1, 1, 0.3);
  standin::HostElement* b = beam(-2, 4, 2.0);
  const standin::HostElement before[2] = {now(a), now(b)};
  // A click on the arc's start: a whole turn.
  clicks({PointerAnswer::point(0, 0), PointerAnswer::point(1, 1), PointerAnswer::arc(1, 1)});
  rotate({a, b});
  for (int i = 0; i < 2; ++i) {
    const standin::HostElement& after = now(i == 0 ? a : b);
    EXPECT_NEAR(after.record.part.pos.x, before[i].record.part.pos.x, 1e-9);
    EXPECT_NEAR(after.record.part.pos.y, before[i].record.part.pos.y, 1e-9);
    EXPECT_NEAR(after.record.part.level, before[i].record.part.level, 1e-9);
    EXPECT_LT(angleGap(after.record.part.angle, before[i].record.part.angle), 1e-9);
    EXPECT_LT(angleGap(value(after, "incline"), value(before[i], "incline")), 1e-9);
    EXPECT_LT(angleGap(value(after, "swivel"), value(before[i], "swivel")), 1e-9);
  }
}

// A rotation and the same rotation backwards leave every parameter as it was.
struct Attitude {
  const char* what;
  double angle;
  double incline;
  double swivel;
  bool mirrored;
};

class RoundTrip : public RotateTest, public ::testing::WithParamInterface<Attitude> {};

TEST_P(RoundTrip, ARotationThenItsInverseReturnsEveryParameter) {
  const Attitude& at = GetParam();
  standin::HostElement* member = beam(1.3, 0.7, at.angle);
  standin::HostElement& placed = now(member);
  placed.record.part.mirrored = at.mirrored ? 1 : 0;
  for (auto& p : placed.parameters) {
    if (strcasecmp(p.record.name, "incline") == 0) p.record.value.real = at.incline;
    if (strcasecmp(p.record.name, "swivel") == 0) p.record.value.real = at.swivel;
  }
  const standin::HostElement before = now(member);
  // An axis at an odd angle; the arc's end and its mirror image across the axis.
  const double ax = 0.2, ay = -0.5, bx = 2.1, by = 0.9;
  const double r = std::hypot(bx - ax, by - ay), az = std::atan2(by - ay, bx - ax), turn = 0.65;
  clicks({PointerAnswer::point(ax, ay), PointerAnswer::point(bx, by),
          PointerAnswer::arc(ax + r * std::cos(az + turn), ay + r * std::sin(az + turn))});
  rotate({member});
  const standin::HostElement turned = now(member);
  EXPECT_GT(std::fabs(turned.record.part.level - before.record.part.level), 0.1) << at.what;
  clicks({PointerAnswer::point(ax, ay), PointerAnswer::point(bx, by),
          PointerAnswer::arc(ax + r * std::cos(az - turn), ay + r * std::sin(az - turn), true)});
  rotate({member});
  const standin::HostElement& back = now(member);
  EXPECT_NEAR(back.record.part.pos.x, before.record.part.pos.x, 1e-9) << at.what;
  EXPECT_NEAR(back.record.part.pos.y, before.record.part.pos.y, 1e-9) << at.what;
  EXPECT_NEAR(back.record.part.level, before.record.part.level, 1e-9) << at.what;
  EXPECT_EQ(back.record.part.mirrored, before.record.part.mirrored);
  EXPECT_LT(angleGap(back.record.part.angle, before.record.part.angle), 1e-9) << at.what;
  for (const char* name : {"incline", "swivel"})
    EXPECT_LT(angleGap(value(back, name), value(before, name)), 1e-9) << at.what << " " << name;
  for (const char* name : {"length", "profWide", "profDeep", "xOffset", "yOffset", "zOffset"})
    EXPECT_NEAR(value(back, name), value(before, name), 1e-9) << at.what << " " << name;
}

INSTANTIATE_TEST_SUITE_P(Members, RoundTrip,
                         ::testing::Values(Attitude{"level", 0.4, 0, 0, false},
                                           Attitude{"sloping and rolled", 1.1, 0.3, 0.8, false},
                                           Attitude{"mirrored", 2.3, -0.4, 0.5, true}));

TEST_F(RotateTest, AMirroredMemberTurnsAsItIsDrawn) {
  // The same member drawn mirrored and not (a mirrored element keeps its swivel as 2 pi less
  // the one it shows): turned alike, their bodies fill the same space.
  standin::HostElement* plain = beam(0, 0, 0.5, {standin::ParameterValue::ofNumber("swivel", 0.3)});
  standin::HostElement* mirrored = beam(0, 0, 0.5, {standin::ParameterValue::ofNumber("swivel", 2 * kPi - 0.3)});
  now(mirrored).record.part.mirrored = 1;
  for (standin::HostElement* e : {plain, mirrored}) {
    clicks({PointerAnswer::point(-1, 0), PointerAnswer::point(1, 1), PointerAnswer::arc(-1.5, 1.8)});
    rotate({e});
  }
  const standin::GeneratedBody* a = body(now(plain));
  const standin::GeneratedBody* b = body(now(mirrored));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NEAR(a->boxMin.x, b->boxMin.x, 1e-9);
  EXPECT_NEAR(a->boxMax.x, b->boxMax.x, 1e-9);
  EXPECT_NEAR(a->boxMin.y, b->boxMin.y, 1e-9);
  EXPECT_NEAR(a->boxMax.y, b->boxMax.y, 1e-9);
  EXPECT_NEAR(a->boxMin.z, b->boxMin.z, 1e-9);
  EXPECT_NEAR(a->boxMax.z, b->boxMax.z, 1e-9);
  EXPECT_GT(a->boxMax.z, 0.5);
  EXPECT_EQ(now(mirrored).record.part.mirrored, 1);
}

TEST_F(RotateTest, InASectionTheAxisRunsAcrossTheViewThroughTheFirstClick) {
  // A section along x, 2 m off the origin; the member lies along it from x = 1.
  const platform::DatabaseRecord view = model().addCutPlane(platform::kDatabaseSection, 0, 2, 10, 2, kPi / 2, "S1");
  standin::HostElement* member = beam(1, 2, 0);
  platform::ElementRecord proxy{};
  proxy.header.typeID = platform::kSectionProxy;
  proxy.proxy.targetType = platform::kObject;
  proxy.proxy.targetIndex = member->record.header.index;
  proxy.proxy.targetGuid = member->record.header.guid;
  proxy.proxy.targetDatabaseKind = platform::kDatabasePlan;
  proxy.proxy.h = 1;
  standin::HostElement& shown = model().create(*model().database(view), proxy);
  model().setCurrent(view);
  model().deselectAll();
  model().select(shown.record.header.guid, true);
  // In the view: the axis at (1, 0), the arc a quarter turn counter-clockwise: it stands up.
  clicks({PointerAnswer::point(1, 0), PointerAnswer::point(2, 0), PointerAnswer::arc(1, 1)});
  standin::MenuItem item;
  ASSERT_TRUE(host().findMenuItem("Framing/Tools/Rotate", item));
  host().chooseMenuItem(item.menuList, item.itemIndex);
  const standin::HostElement& up = now(member);
  EXPECT_NEAR(up.record.part.pos.x, 1, 1e-12);
  EXPECT_NEAR(up.record.part.pos.y, 2, 1e-12);
  EXPECT_NEAR(value(up, "incline"), -kPi / 2, 1e-12);
  const standin::GeneratedBody* b = body(up);
  ASSERT_NE(b, nullptr);
  EXPECT_NEAR(b->boxMax.z, 3, 1e-9);
  EXPECT_NEAR(b->boxMin.x, 0.8, 1e-9);
  EXPECT_NEAR(b->boxMax.x, 1, 1e-9);
  // The view and then the plan are rebuilt.
  std::vector<std::string> what;
  for (const auto& r : model().viewRecords()) what.push_back(r.what);
  EXPECT_NE(std::find(what.begin(), what.end(), "rebuild"), what.end());
}

TEST_F(RotateTest, APlainObjectIsUpgradedFirstAndTurnedLikeAMember) {
  model().setCurrent(model().plan().id);
  standin::HostElement* box = model().placeObject(
      "Plain Box", {standin::ParameterValue::ofNumber("A", 2), standin::ParameterValue::ofNumber("B", 0.3),
                    standin::ParameterValue::ofNumber("ZZYZX", 0.4)},
      0, 0, 0, 0);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->hasUserData);
  clicks({PointerAnswer::point(0, 0), PointerAnswer::point(0, 1), PointerAnswer::arc(-1, 0)});
  rotate({box});
  const standin::HostElement& turned = now(box);
  EXPECT_EQ(turned.userData, "BLOB");
  EXPECT_NEAR(value(turned, "lunvik_incline"), -kPi / 2, 1e-12);
  // No question was asked, and the box keeps its own sizes.
  EXPECT_TRUE(host().alerts().empty());
  EXPECT_NEAR(value(turned, "A"), 2, 1e-12);
  const standin::GeneratedBody* b = body(turned);
  ASSERT_NE(b, nullptr);
  EXPECT_NEAR(b->boxMax.z - b->boxMin.z, 2, 1e-9);
  EXPECT_NEAR(b->boxMax.x - b->boxMin.x, 0.4, 1e-9);
  ASSERT_EQ(host().undoSteps().size(), 1u);
  EXPECT_EQ(host().undoSteps()[0].name, "Rotate");
}

TEST_F(RotateTest, GroupsAreSuspendedWhileItWorksAndActiveAgainAfter) {
  standin::HostElement* member = beam(0, 0, 0);
  for (bool suspended : {false, true}) {
    host().setGroupsSuspended(suspended);
    clicks({PointerAnswer::point(0, 0), PointerAnswer::point(0, 1), PointerAnswer::arc(1, 0)});
    rotate({member});
    EXPECT_EQ(host().groupsSuspended(), suspended);
  }
  EXPECT_EQ(host().callCount("HostElementTool") >= 2, true);
}

TEST_F(RotateTest, ACancelledClickOrAnEmptySelectionChangesNothing) {
  standin::HostElement* member = beam(0, 0, 0);
  const standin::HostElement before = now(member);
  clicks({PointerAnswer::point(0, 0), PointerAnswer::escape()});
  rotate({member});
  clicks({PointerAnswer::point(0, 0), PointerAnswer::point(0, 1), PointerAnswer::escape()});
  rotate({member});
  rotate({});
  EXPECT_TRUE(host().undoSteps().empty());
  EXPECT_EQ(now(member).record.part.level, before.record.part.level);
  EXPECT_EQ(value(now(member), "incline"), value(before, "incline"));
  EXPECT_TRUE(host().pointer().pendingAnswers().empty());
}

TEST_F(RotateTest, TheRubberRotaterDrawsItsCircleRadiusAndArrowTheSameOnEraseCalls) {
  standin::HostElement* member = beam(0, 0, 0);
  clicks({PointerAnswer::point(0, 0), PointerAnswer::point(2, 0), PointerAnswer::arc(0, 2)});
  rotate({member});
  EXPECT_TRUE(host().pointer().mismatches().empty());
  const standin::InputRecord& arc = host().pointer().requests().back();
  EXPECT_EQ(arc.kind, standin::InputKind::Arc);
  EXPECT_EQ(arc.prompt, "Click to set the rotation angle");
  // Every call drew the circle's 36 lines, the radius and the arrowhead's two.
  for (const standin::CursorCall& call : arc.calls) EXPECT_EQ(call.lines.size(), 39u);
  // At a quarter turn the circle lies flat: its lines span the whole radius across the axis.
  varnholt::RubberRotater rotater(lunvik::CadPoint(0, 0, 0), 0, 2);
  double most = 0;
  for (const lunvik::CadLine& l : rotater.figure(kPi / 2)) most = std::max(most, std::fabs(l.end().getY()));
  EXPECT_NEAR(most, 2, 1e-12);
}

}  // namespace
