// Timber numbering through the Schedule menu: "Enumerate Timbers" with its dialog's options,
// "Reset Timber Nos." and the cut number switch, on members placed with the host's tools.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/project.h"
#include "prefs/package_codes.h"
#include "prefs/project_prefs.h"
#include "runtime/addon.h"
#include "support/host_values.h"
#include "support/loaded_host.h"

namespace {

// A member: description, timber type, width, number, scheduled; 0.2 deep and 3.0 long.
struct Member {
  const char* name;
  const char* season;
  double width;
  int number;
  bool scheduled = true;
};

const auto valueOf = testing_support::storedValue;

class NumberingTest : public testing_support::LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    host().newProject();
    ASSERT_TRUE(host().addLibraryFolder(std::string(TRESTLAR_SOURCE_DIR) + "/library"));
  }

  standin::HostElement* place(const Member& m, double x) {
    using testing_support::numberValue;
    using testing_support::textValue;
    return host().model().placeObject(
        "Rectilinear",
        {textValue("timberName", m.name), textValue("seasonType", m.season), numberValue("length", 3.0),
         numberValue("profWide", m.width), numberValue("profDeep", 0.2), numberValue("TimberNo", m.number),
         numberValue("IncInSched", m.scheduled ? 1 : 0)},
        x, 0, 0, 0);
  }

  std::vector<standin::HostElement*> placeAll(const std::vector<Member>& members) {
    std::vector<standin::HostElement*> placed;
    for (const Member& m : members) placed.push_back(place(m, double(placed.size())));
    return placed;
  }

  // Chooses a menu item; answers what went wrong with the queued dialog answers ("" none).
  std::string choose(const char* path) {
    standin::MenuItem item;
    if (!host().findMenuItem(path, item)) return std::string("no menu item ") + path;
    host().chooseMenuItem(item.menuList, item.itemIndex);
    return host().dialogs().scriptError();
  }

  void enumerate(bool newOnly, bool group) {
    using standin::DialogAction;
    std::vector<DialogAction> answers{DialogAction::check(3, newOnly)};
    if (newOnly) answers.push_back(DialogAction::check(4, group));
    answers.push_back(DialogAction::of(DialogAction::Kind::Ok, 1));
    host().dialogs().queueDialog(32518, answers);
    EXPECT_EQ(choose("Framing/Schedule/Enumerate Timbers"), "");
  }

  static std::vector<int> numbers(const std::vector<standin::HostElement*>& placed) {
    std::vector<int> out;
    for (const standin::HostElement* e : placed) out.push_back(int(valueOf(*e, "TimberNo")));
    return out;
  }

  varnholt::ProjectPrefs& prefs() {
    return *dynamic_cast<varnholt::ProjectPrefs*>(
        lunvik::theAddon()->project()->store().get(varnholt::kProjectPrefsCode));
  }
};

struct NumberingCase {
  const char* what;
  bool newOnly;
  bool group;
  std::vector<Member> members;
  std::vector<int> expected;
};

class NumberingOptions : public NumberingTest, public ::testing::WithParamInterface<NumberingCase> {};

TEST_P(NumberingOptions, GiveIdenticalTimbersOneNumber) {
  const NumberingCase& c = GetParam();
  std::vector<standin::HostElement*> placed = placeAll(c.members);
  enumerate(c.newOnly, c.group);
  EXPECT_EQ(numbers(placed), c.expected) << c.what;
  EXPECT_EQ(prefs().numberNewOnly, c.newOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Schedule, NumberingOptions,
    ::testing::Values(
        NumberingCase{"all renumbered in order, identical ones sharing",
                      false,
                      false,
                      {{"Post", "Green", 0.2, 0}, {"Beam", "Green", 0.2, 0}, {"Post", "Green", 0.2, 0},
                       {"Post", "Green", 0.2, 0}},
                      {2, 1, 2, 2}},
        NumberingCase{"existing numbers are replaced when all are renumbered",
                      false,
                      false,
                      {{"Post", "Green", 0.2, 7}, {"Post", "Oak", 0.2, 3}, {"Beam", "Green", 0.2, 0}},
                      {2, 3, 1}},
        NumberingCase{"new timbers continue after the highest number",
                      true,
                      false,
                      {{"A", "Green", 0.2, 1}, {"B", "Green", 0.2, 2}, {"C", "Green", 0.2, 3}, {"D", "Green", 0.2, 4},
                       {"E", "Green", 0.2, 5}, {"New", "Green", 0.2, 0}, {"New", "Green", 0.2, 0}},
                      {1, 2, 3, 4, 5, 6, 6}},
        NumberingCase{"a new timber identical to a numbered one takes its number",
                      true,
                      true,
                      {{"Post", "Green", 0.2, 3}, {"Post", "Green", 0.2, 0}, {"Beam", "Green", 0.2, 5},
                       {"Brace", "Green", 0.2, 0}},
                      {3, 3, 5, 6}},
        NumberingCase{"an excluded timber keeps its number and raises the start",
                      true,
                      false,
                      {{"Post", "Green", 0.2, 9, false}, {"Post", "Green", 0.2, 2}, {"Beam", "Green", 0.2, 0}},
                      {9, 2, 10}},
        NumberingCase{"an excluded timber is never renumbered",
                      false,
                      false,
                      {{"Post", "Green", 0.2, 9, false}, {"Post", "Green", 0.2, 0}},
                      {9, 1}}));

TEST_F(NumberingTest, WidthsAreTheSameWithinTheToleranceAfterRounding) {
  // No section rounding, so the widths are compared as they are.
  prefs().sectionInc = 0;
  std::vector<standin::HostElement*> placed =
      placeAll({{"Post", "Green", 0.2, 0}, {"Post", "Green", 0.200005, 0}, {"Post", "Green", 0.20002, 0}});
  enumerate(false, false);
  EXPECT_EQ(numbers(placed), (std::vector<int>{1, 1, 2}));
  // At the default 25 mm increment all three round to 0.2 m.
  prefs().sectionInc = 0.025;
  enumerate(false, false);
  EXPECT_EQ(numbers(placed), (std::vector<int>{1, 1, 1}));
  // What a member was numbered for is recorded with it.
  EXPECT_NEAR(valueOf(*placed[2], "enumWid"), 0.2, 1e-9);
  EXPECT_NEAR(valueOf(*placed[2], "enumLen"), 3.0, 1e-9);
  EXPECT_EQ(valueOf(*placed[2], "enumTNum"), 1);
}

TEST_F(NumberingTest, EnumerationIsOneStepAndCancelChangesNothing) {
  std::vector<standin::HostElement*> placed = placeAll({{"Post", "Green", 0.2, 4}});
  host().dialogs().queueDialog(32518, {standin::DialogAction::of(standin::DialogAction::Kind::Cancel, 2)});
  EXPECT_EQ(choose("Framing/Schedule/Enumerate Timbers"), "");
  EXPECT_EQ(numbers(placed), (std::vector<int>{4}));
  EXPECT_TRUE(host().undoSteps().empty());
  enumerate(false, false);
  ASSERT_EQ(host().undoSteps().size(), 1u);
  EXPECT_EQ(host().undoSteps()[0].name, "Enumerate Timbers");
  EXPECT_TRUE(host().undoSteps()[0].closed);
}

TEST_F(NumberingTest, GroupingIsOnlyOfferedForNewTimbersOnly) {
  host().dialogs().queueDialog(32518, {standin::DialogAction::check(4, true)});
  EXPECT_NE(choose("Framing/Schedule/Enumerate Timbers").find("is disabled"), std::string::npos);
}

TEST_F(NumberingTest, ResetWithNothingSelectedChangesNothing) {
  std::vector<standin::HostElement*> placed = placeAll({{"Post", "Green", 0.2, 4}, {"Beam", "Green", 0.2, 5}});
  EXPECT_EQ(choose("Framing/Schedule/Reset Timber Nos."), "");
  EXPECT_EQ(numbers(placed), (std::vector<int>{4, 5}));
  host().model().select(placed[1]->record.header.guid, true);
  EXPECT_EQ(choose("Framing/Schedule/Reset Timber Nos."), "");
  EXPECT_EQ(numbers(placed), (std::vector<int>{4, 0}));
  EXPECT_TRUE(host().model().isSelected(placed[1]->record.header.guid)) << "the reset timbers stay selected";
  EXPECT_EQ(host().undoSteps().back().name, "Reset Framing Numbers");
}

TEST_F(NumberingTest, HideWithNothingSelectedHidesEveryCutNumberInOneStep) {
  std::vector<standin::HostElement*> placed = placeAll({{"Post", "Green", 0.2, 1}, {"Beam", "Green", 0.2, 2}});
  EXPECT_EQ(choose("Framing/Schedule/Show Cut Number"), "");
  for (const standin::HostElement* e : placed) EXPECT_EQ(valueOf(*e, "showCutID"), 1);
  host().clearRecords();
  EXPECT_EQ(choose("Framing/Schedule/Hide Cut Number"), "");
  for (const standin::HostElement* e : placed) EXPECT_EQ(valueOf(*e, "showCutID"), 0);
  ASSERT_EQ(host().undoSteps().size(), 1u);
  EXPECT_EQ(host().undoSteps()[0].name, "Hide Cut ID's");
  // With a selection only the selected timbers' labels change.
  host().model().select(placed[0]->record.header.guid, true);
  EXPECT_EQ(choose("Framing/Schedule/Show Label"), "");
  EXPECT_EQ(valueOf(*placed[0], "showLabel"), 1);
  EXPECT_EQ(valueOf(*placed[1], "showLabel"), 0);
  EXPECT_EQ(host().undoSteps().back().name, "Show Framing Label");
}

TEST_F(NumberingTest, ASelectionWithoutTimbersSwitchesEveryTimber) {
  std::vector<standin::HostElement*> placed = placeAll({{"Post", "Green", 0.2, 1}, {"Beam", "Green", 0.2, 2}});
  // An object carrying data of its own, not a timber kind code.
  standin::HostElement* other = host().model().placeObject("Rectilinear", {}, 5, 0, 0, 0);
  ASSERT_NE(other, nullptr);
  other->userData = "ZZZZ";
  other->hasUserData = true;
  other->record.header.hasUserData = 1;
  host().model().touch(*other);
  host().model().select(other->record.header.guid, true);
  EXPECT_EQ(choose("Framing/Schedule/Show Cut Number"), "");
  for (const standin::HostElement* e : placed) EXPECT_EQ(valueOf(*e, "showCutID"), 1);
}

}  // namespace
