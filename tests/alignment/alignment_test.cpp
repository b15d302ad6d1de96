// The Alignment menu driven inside the stand-in host: elements of every kind aligned and
// distributed along X, Y and Z, groups moving together, the presets and their dialogs, and a
// selection that cannot move left where it was.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "alignment/alignment.h"
#include "host/core/fault_table.h"
#include "model/project.h"
#include "prefs/align_prefs.h"
#include "runtime/addon.h"
#include "runtime/event.h"
#include "runtime/host_interface.h"
#include "support/dialog_script.h"
#include "support/loaded_host.h"

namespace {

using namespace testing_support;
using varnholt::AlignPrefs;
using varnholt::AlignPreset;

constexpr int32_t kAlignDialog = 32524;
constexpr int32_t kStoreDialog = 32525;

// A point that follows an element when it moves.
struct Place {
  double x = 0, y = 0, z = 0;
};

class AlignmentTest : public LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    fresh();
  }
  // A new project with the "Bracket" part's library, nothing recorded yet.
  void fresh() {
    host().newProject();
    ASSERT_TRUE(host().addLibraryFolder(std::string(TRESTLAR_FIXTURES) + "/model/parts"));
    host().clearRecords();
    host().dialogs().clearRecords();
    host().dialogs().clearScriptError();
  }

  standin::ProjectModel& model() { return host().model(); }
  AlignPrefs& prefs() {
    auto* p = dynamic_cast<AlignPrefs*>(lunvik::theAddon()->project()->store().get(AlignPrefs::kCode));
    if (!p) throw std::runtime_error("no alignment preferences");
    return *p;
  }

  // A "Bracket" (a part without a body: its box is its footprint and height) of size a x b,
  // its height given or left to the part's 0.5 m.
  standin::HostElement* bracket(double x, double y, double z, double a, double b, double height = 0) {
    std::vector<standin::ParameterValue> values;
    for (const auto& v : std::vector<std::pair<const char*, double>>{{"A", a}, {"B", b}, {"ZZYZX", height}}) {
      if (v.second <= 0) continue;
      standin::ParameterValue p = standin::ParameterValue::ofNumber(v.first, v.second);
      p.type = platform::kParamLength;
      values.push_back(p);
    }
    return model().placeObject("Bracket", values, x, y, z, 0);
  }
  // A hatch over the rectangle (x0, y0) to (x1, y1).
  standin::HostElement* hatch(double x0, double y0, double x1, double y1) {
    standin::StoredPolygon p;
    p.coords = {{0, 0}, {x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};
    p.ends = {0, 5};
    return model().placePolygon(platform::kHatch, p);
  }
  standin::HostElement* line(double x0, double y0, double x1, double y1) {
    platform::ElementRecord r = model().defaults(platform::kLine);
    r.line.begC = {x0, y0};
    r.line.endC = {x1, y1};
    return &model().create(model().plan(), r);
  }
  // A text of the given width and height from its point.
  standin::HostElement* text(double x, double y, double width, double height) {
    platform::ElementRecord r = model().defaults(platform::kText);
    r.text.loc = {x, y};
    r.text.width = width;
    r.text.height = height;
    standin::HostElement& e = model().create(model().plan(), r);
    e.text = "Note";
    return &e;
  }

  static Place place(const standin::HostElement& e) {
    const platform::ElementRecord& r = e.record;
    switch (r.header.typeID) {
      case platform::kHatch: return {e.polygon.coords[1].x, e.polygon.coords[1].y, 0};
      case platform::kLine: return {r.line.begC.x, r.line.begC.y, 0};
      case platform::kText: return {r.text.loc.x, r.text.loc.y, 0};
      default: return {r.part.pos.x, r.part.pos.y, r.part.level};
    }
  }
  std::vector<Place> places(const std::vector<standin::HostElement*>& elements) {
    std::vector<Place> out;
    for (standin::HostElement* e : elements) out.push_back(place(*model().find(e->header().guid)));
    return out;
  }
  void pick(const std::vector<standin::HostElement*>& elements) {
    for (standin::HostElement* e : elements) model().select(e->header().guid, true);
  }
  // Chooses "Alignment/<item>"; actions answer the dialog it opens, nested those of the
  // dialogs that dialog opens.
  void choose(const std::string& item, const Actions& actions = {},
              const std::vector<std::pair<int32_t, Actions>>& nested = {}) {
    if (!actions.empty()) host().dialogs().queueDialog(kAlignDialog, actions);
    for (const auto& n : nested) host().dialogs().queueDialog(n.first, n.second);
    standin::MenuItem menu;
    ASSERT_TRUE(host().findMenuItem("Alignment/" + item, menu)) << item;
    host().chooseMenuItem(menu.menuList, menu.itemIndex);
  }
  // Expects each element to have moved by its offset (x, y, z) from where it was.
  void expectMoved(const std::vector<Place>& before, const std::vector<standin::HostElement*>& elements,
                   const std::vector<Place>& offsets, const std::string& what) {
    std::vector<Place> after = places(elements);
    for (std::size_t i = 0; i < elements.size(); ++i) {
      EXPECT_NEAR(after[i].x - before[i].x, offsets[i].x, 1e-9) << what << ", element " << i;
      EXPECT_NEAR(after[i].y - before[i].y, offsets[i].y, 1e-9) << what << ", element " << i;
      EXPECT_NEAR(after[i].z - before[i].z, offsets[i].z, 1e-9) << what << ", element " << i;
    }
  }
  int undoSteps(const std::string& name) {
    int n = 0;
    for (const auto& u : host().undoSteps()) n += u.name == name;
    return n;
  }
};

// One axis' layout of four kinds: an object 1 long, a hatch 2, a line 3 and a text 1, lying
// between 1 and 14 along x (or y).
struct Layout {
  std::vector<standin::HostElement*> elements;
};

// The offsets worked out by hand for the layout along its axis.
struct Case {
  const char* item;
  Actions dialog;
  std::vector<double> along;
};

const std::vector<Case> kFourKinds = {
    {"Align Left", {}, {0, -2, -6, -12}},
    // The centre of 1 to 14 is 7.5.
    {"Align Centre (X)", {}, {6, 3.5, -1, -6}},
    {"Align Right", {}, {12, 9, 4, 0}},
    // Sizes 1 + 2 + 3 + 1 over 13: gaps of 2, so 1-2, 4-6, 8-11, 13-14.
    {"Align Selection...", {chooseEntry(4, "Distribute"), chooseEntry(5, "Equal"), pressOk()}, {0, 1, 1, 0}},
};

TEST_F(AlignmentTest, ObjectsHatchesLinesAndTextsAlignAndDistributeAlongX) {
  for (const Case& c : kFourKinds) {
    fresh();
    std::vector<standin::HostElement*> all = {bracket(1, 0, 0, 1, 0.5), hatch(3, 0.5, 5, 1.5), line(7, 0, 10, 2),
                                              text(13, 1, 1, 0.5)};
    pick(all);
    std::vector<Place> before = places(all);
    choose(c.item, c.dialog);
    std::vector<Place> offsets;
    for (double d : c.along) offsets.push_back({d, 0, 0});
    expectMoved(before, all, offsets, c.item);
    EXPECT_EQ(undoSteps("Alignment"), 1) << c.item;
  }
}

TEST_F(AlignmentTest, TheSameAlongY) {
  const std::map<std::string, std::string> yItem = {{"Align Left", "Align Front"},
                                                    {"Align Centre (X)", "Align Centre (Y)"},
                                                    {"Align Right", "Align Back"}};
  for (const Case& c : kFourKinds) {
    fresh();
    std::vector<standin::HostElement*> all = {bracket(0, 1, 0, 0.5, 1), hatch(0.5, 3, 1.5, 5), line(0, 7, 2, 10),
                                              text(1, 13, 0.5, 1)};
    pick(all);
    std::vector<Place> before = places(all);
    Actions dialog;
    if (!c.dialog.empty()) dialog = {chooseEntry(7, "Distribute"), chooseEntry(8, "Equal"), pressOk()};
    const std::string item = yItem.count(c.item) ? yItem.at(c.item) : c.item;
    choose(item, dialog);
    std::vector<Place> offsets;
    for (double d : c.along) offsets.push_back({0, d, 0});
    expectMoved(before, all, offsets, item);
  }
}

TEST_F(AlignmentTest, ObjectsOfDifferentHeightsAlignAndDistributeAlongZ) {
  // 0.1 to 0.6 (the part's own 0.5 m), 1 to 1.8 and 2.5 to 2.8.
  const std::vector<Case> cases = {
      {"Align Bottom", {}, {0, -0.9, -2.4}},
      // The centre of 0.1 to 2.8 is 1.45.
      {"Align Centre (Z)", {}, {1.1, 0.05, -1.2}},
      {"Align Top", {}, {2.2, 1, 0}},
      // Sizes 0.5 + 0.8 + 0.3 over 2.7: gaps of 0.55.
      {"Align Selection...", {chooseEntry(10, "Distribute"), chooseEntry(11, "Equal"), pressOk()}, {0, 0.15, 0}},
  };
  for (const Case& c : cases) {
    fresh();
    std::vector<standin::HostElement*> all = {bracket(0, 0, 0.1, 1, 1), bracket(2, 0, 1, 1, 1, 0.8),
                                              bracket(4, 0, 2.5, 1, 1, 0.3)};
    pick(all);
    std::vector<Place> before = places(all);
    choose(c.item, c.dialog);
    std::vector<Place> offsets;
    for (double d : c.along) offsets.push_back({0, 0, d});
    expectMoved(before, all, offsets, c.item);
  }
}

TEST_F(AlignmentTest, TabulateLinesPostsUpInAnyOrder) {
  // Three 0.5 x 0.5 objects of different heights, picked back to front.
  std::vector<standin::HostElement*> all = {bracket(2, 0, 0.5, 0.5, 0.5, 2), bracket(0, 6, 0, 0.5, 0.5, 2),
                                            bracket(1, 2, 1, 0.5, 0.5, 1)};
  pick({all[2], all[1], all[0]});
  std::vector<Place> before = places(all);
  choose("Tabulate");
  // x on 0; y from 0 to 6.5 with gaps of (6.5 - 1.5) / 2 = 2.5: 0, 3, 6; bottoms on 0.
  expectMoved(before, all, {{-2, 0, -0.5}, {0, 0, 0}, {-1, 1, -1}}, "Tabulate");
}

TEST_F(AlignmentTest, GroupedElementsMoveTogetherUnlessGroupsAreSuspended) {
  struct GroupCase {
    bool suspended;
    std::vector<double> along;
  } cases[] = {
      // Two clusters: the group 0 to 3 and the object 6 to 7.
      {false, {4, 4, 0}},
      // Three clusters.
      {true, {6, 4, 0}},
  };
  for (const GroupCase& c : cases) {
    fresh();
    host().setGroupsSuspended(false);
    std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(2, 0, 0, 1, 1), bracket(6, 0, 0, 1, 1)};
    model().group({all[0]->header().guid, all[1]->header().guid});
    host().setGroupsSuspended(c.suspended);
    pick(all);
    std::vector<Place> before = places(all);
    choose("Align Right");
    expectMoved(before, all, {{c.along[0], 0, 0}, {c.along[1], 0, 0}, {c.along[2], 0, 0}},
                c.suspended ? "suspended" : "active");
    // Suspension is as it was, and so is the selection.
    EXPECT_EQ(host().groupsSuspended(), c.suspended);
    EXPECT_EQ(model().selection().size(), 3u);
    EXPECT_EQ(undoSteps("Alignment"), 1);
    EXPECT_EQ(host().openUndoSteps(), 0);
  }
}

TEST_F(AlignmentTest, NestedGroupsMoveWithTheirOutermostGroup) {
  std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(2, 0, 0, 1, 1), bracket(4, 0, 0, 1, 1),
                                            bracket(8, 0, 0, 1, 1)};
  platform::Guid inner = model().group({all[0]->header().guid, all[1]->header().guid});
  model().group({inner, all[2]->header().guid});
  pick(all);
  std::vector<Place> before = places(all);
  choose("Align Right");
  // The outer group spans 0 to 5; the loose object already ends at 9.
  expectMoved(before, all, {{4, 0, 0}, {4, 0, 0}, {4, 0, 0}, {0, 0, 0}}, "nested");
}

TEST_F(AlignmentTest, AlignAgainRepeatsTheLastPreset) {
  std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 2, 1), bracket(8, 0, 0, 1, 1)};
  pick(all);
  choose("Align Right");
  EXPECT_EQ(prefs().presets()[0].name.str(), "Align Right");
  EXPECT_EQ(prefs().presets()[0].xType, AlignPreset::Type::align);
  EXPECT_EQ(prefs().presets()[0].xOrigin, AlignPreset::Origin::end);
  // Moved away again by hand, then "Align Again".
  platform::EditRecord drag{};
  drag.kind = int32_t(platform::fourcc("DRAG"));
  drag.flag = 1;
  drag.second = {-5, 0, 0};
  model().edit({all[0]->header().guid}, drag);
  std::vector<Place> before = places(all);
  choose("Align Again");
  expectMoved(before, all, {{5, 0, 0}, {0, 0, 0}, {0, 0, 0}}, "again");
  EXPECT_EQ(undoSteps("Alignment"), 2);
}

TEST_F(AlignmentTest, AShortPresetListGetsTheFactoryPresetsAtTheNextRun) {
  // A list of ten (the working preset and nine stored), renamed and shown in the menu.
  prefs().presets().erase(10);
  prefs().presets()[1].name = "Mine";
  prefs().presets()[0].xType = AlignPreset::Type::align;
  lunvik::theAddon()->setMenuItemText(32507, 4, "Mine");
  std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1)};
  pick(all);
  std::vector<Place> before = places(all);
  choose("Align Again");
  ASSERT_EQ(prefs().presets().size(), AlignPrefs::kFactoryPresetCount);
  EXPECT_EQ(prefs().presets()[1].name.str(), "Align Left");
  EXPECT_EQ(prefs().presets()[10].name.str(), "Tabulate");
  // The factory working preset leaves everything alone.
  expectMoved(before, all, {{0, 0, 0}, {0, 0, 0}}, "factory working preset");
  // Saved at once, and the menu names the factory presets again.
  EXPECT_NE(host().moduleData().find("<name>Tabulate</name>"), std::string::npos);
  standin::MenuItem item;
  ASSERT_TRUE(host().findMenuItem("Alignment/Align Left", item));
  EXPECT_EQ(item.itemIndex, 4);
  EXPECT_FALSE(host().findMenuItem("Alignment/Mine", item));
}

TEST_F(AlignmentTest, ACommandNamingNoPresetAlignsWithTheWorkingPresetUnchanged) {
  // The working preset aligns right; preset numbers outside 1 to 10 must not replace it, and
  // a negative one must not open the dialog either.
  prefs().presets()[0].xType = AlignPreset::Type::align;
  prefs().presets()[0].xOrigin = AlignPreset::Origin::end;
  for (int32_t command : {11, 500, -1, -7}) {
    std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 2, 1)};
    pick(all);
    std::vector<Place> before = places(all);
    lunvik::LongEvent event(lunvik::EventSpec(lunvik::kProductCategory, platform::fourcc("ALGN")), command);
    varnholt::Alignment tool;
    EXPECT_TRUE(tool.takeEvent(event)) << command;
    expectMoved(before, all, {{4, 0, 0}, {0, 0, 0}}, "command " + std::to_string(command));
    EXPECT_EQ(prefs().presets()[0].name.str(), "Default") << command;
    EXPECT_TRUE(host().dialogs().records().empty()) << command;
    fresh();
    prefs().presets()[0].xType = AlignPreset::Type::align;
    prefs().presets()[0].xOrigin = AlignPreset::Origin::end;
  }
}

TEST_F(AlignmentTest, TheDialogsPopupsFollowTheirTypes) {
  std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1)};
  pick(all);
  choose("Align Selection...", {chooseEntry(4, "Distribute"), chooseEntry(5, "Equal"), chooseEntry(4, "Align"),
                                chooseEntry(7, "Align"), chooseEntry(7, "Ignore"), pressCancel()});
  EXPECT_EQ(host().dialogs().scriptError(), "");
  const standin::DialogRecord* shown = host().dialogs().lastRecord(kAlignDialog);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->title, "Alignment");
  // Align cannot keep Equal: the origin went back to Left.
  EXPECT_EQ(shown->item(5)->value, 1);
  EXPECT_EQ(shown->item(5)->entries, (std::vector<std::string>{"Left", "Centre", "Right", "Equal"}));
  EXPECT_TRUE(shown->item(5)->enabled);
  // Ignore has no origin.
  EXPECT_FALSE(shown->item(8)->enabled);
  EXPECT_EQ(shown->item(8)->entries, (std::vector<std::string>{"Front", "Centre", "Back", "Equal"}));
  EXPECT_EQ(shown->item(11)->entries, (std::vector<std::string>{"Bottom", "Centre", "Top", "Equal"}));
  EXPECT_EQ(shown->item(13)->entries.front(), "Select Preset");
  EXPECT_EQ(shown->item(13)->entries.size(), 11u);
  // Equal cannot be chosen for an aligned axis; the failed script cancels the dialog.
  fresh();
  pick({bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1)});
  choose("Align Selection...", {chooseEntry(4, "Align"), chooseEntry(5, "Equal"), pressOk()});
  EXPECT_NE(host().dialogs().scriptError().find("disabled"), std::string::npos) << host().dialogs().scriptError();
  EXPECT_EQ(prefs().presets()[0].xType, AlignPreset::Type::ignore);
  EXPECT_EQ(undoSteps("Alignment"), 0);
}

TEST_F(AlignmentTest, APresetChosenInTheDialogIsLoadedAndOkMakesItTheWorkingPreset) {
  std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1)};
  pick(all);
  std::vector<Place> before = places(all);
  choose("Align Selection...", {chooseEntry(13, "Align Right"), pressOk()});
  const standin::DialogRecord* shown = host().dialogs().lastRecord(kAlignDialog);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->item(4)->value, 2);  // Align
  EXPECT_EQ(shown->item(5)->value, 3);  // Right
  // The first choice took "Select Preset" away.
  EXPECT_EQ(shown->item(13)->entries.size(), 10u);
  EXPECT_EQ(shown->item(13)->entries.front(), "Align Left");
  // OK takes the values; the working preset keeps its name.
  EXPECT_EQ(prefs().presets()[0].name.str(), "Default");
  EXPECT_EQ(prefs().presets()[0].xOrigin, AlignPreset::Origin::end);
  expectMoved(before, all, {{3, 0, 0}, {0, 0, 0}}, "dialog");
  // OK saved the packages.
  EXPECT_NE(host().moduleData().find("<name>Default</name>\n\t\t\t<xType>align</xType>\n\t\t\t<xOrigin>end</xOrigin>"),
            std::string::npos)
      << host().moduleData();
}

TEST_F(AlignmentTest, AStoredPresetStaysWhenTheDialogIsCancelledAndTheMenuShowsItsName) {
  std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1), bracket(8, 0, 0, 1, 1)};
  pick(all);
  std::vector<Place> before = places(all);
  // Preset 6 ("Align Back") loaded, its X changed, stored as preset 2 under a new name, then
  // the dialog cancelled.
  choose("Align Selection...",
         {chooseEntry(13, "Align Back"), chooseEntry(4, "Distribute"), chooseEntry(5, "Equal"), clickItem(14),
          pressCancel()},
         {{kStoreDialog, {chooseEntry(6, "#2"), setItem(4, "Spread and back"), pressOk()}}});
  EXPECT_EQ(host().dialogs().scriptError(), "");
  // The store dialog opened on the chosen preset, and a new slot brought its name.
  const standin::DialogRecord* store = host().dialogs().lastRecord(kStoreDialog);
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->title, "Store Preset");
  EXPECT_EQ(store->item(6)->entries.size(), 10u);
  EXPECT_EQ(store->item(6)->value, 2);
  const standin::DialogRecord* shown = host().dialogs().lastRecord(kAlignDialog);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->closedBy, 2);
  EXPECT_EQ(shown->item(13)->value, 2);
  EXPECT_EQ(shown->item(13)->entries[1], "Spread and back");

  const AlignPreset& stored = prefs().presets()[2];
  EXPECT_EQ(stored.name.str(), "Spread and back");
  EXPECT_EQ(stored.xType, AlignPreset::Type::distribute);
  EXPECT_EQ(stored.xOrigin, AlignPreset::Origin::equal);
  EXPECT_EQ(stored.yType, AlignPreset::Type::align);
  EXPECT_EQ(stored.yOrigin, AlignPreset::Origin::end);
  EXPECT_NE(host().moduleData().find("<name>Spread and back</name>"), std::string::npos);
  // Cancel: nothing moved, the working preset is as it was.
  expectMoved(before, all, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, "cancelled");
  EXPECT_EQ(undoSteps("Alignment"), 0);
  EXPECT_EQ(prefs().presets()[0].name.str(), "Default");
  EXPECT_EQ(prefs().presets()[0].xType, AlignPreset::Type::ignore);
  // The menu names the stored preset at once, and choosing it runs it.
  standin::MenuItem item;
  ASSERT_TRUE(host().findMenuItem("Alignment/Spread and back", item));
  EXPECT_EQ(item.itemIndex, 5);
  EXPECT_FALSE(host().findMenuItem("Alignment/Align Centre (X)", item));
  choose("Spread and back");
  // Sizes 3 over 9: gaps of 3; every back side on y = 1.
  expectMoved(before, all, {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}, "stored preset");
}

TEST_F(AlignmentTest, TheStoreDialogOpensOnThePresetChosenInTheAlignmentDialog) {
  std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1)};
  pick(all);
  choose("Align Selection...", {chooseEntry(13, "Align Top"), clickItem(14), pressCancel()}, {{kStoreDialog, {pressOk()}}});
  const standin::DialogRecord* store = host().dialogs().lastRecord(kStoreDialog);
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->item(6)->value, 9);
  EXPECT_EQ(store->item(4)->text, "Align Top");
  EXPECT_EQ(prefs().presets()[9].name.str(), "Align Top");
  EXPECT_EQ(prefs().presets()[9].zOrigin, AlignPreset::Origin::end);
  // Without a preset chosen, it opens on the first.
  fresh();
  pick({bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1)});
  choose("Align Selection...", {clickItem(14), pressCancel()}, {{kStoreDialog, {pressCancel()}}});
  store = host().dialogs().lastRecord(kStoreDialog);
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->item(6)->value, 1);
  EXPECT_EQ(store->item(4)->text, "Align Left");
  EXPECT_EQ(prefs().presets()[1].xType, AlignPreset::Type::align);
}

TEST_F(AlignmentTest, TheStoreDialogRefusesABlankName) {
  std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1)};
  pick(all);
  // OK with a blank name is refused with a message, so Cancel closes the store dialog.
  choose("Align Selection...", {clickItem(14), pressCancel()}, {{kStoreDialog, {setItem(4, "  "), pressOk()}}});
  ASSERT_FALSE(host().alerts().empty());
  EXPECT_EQ(host().alerts().back().text, "Please enter a name for the preset");
  EXPECT_EQ(host().dialogs().lastRecord(kStoreDialog)->closedBy, 2);
  EXPECT_EQ(prefs().presets()[1].name.str(), "Align Left");
}

TEST_F(AlignmentTest, NamesWithLineBreaksOrNothingVisibleStillMakeOneMenuLine) {
  prefs().presets()[1].name = "Two\nlines";
  prefs().presets()[2].name = " \t";
  // The dialog's OK sets the menu texts.
  pick({bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1)});
  choose("Align Selection...", {pressOk()});
  standin::MenuItem item;
  EXPECT_TRUE(host().findMenuItem("Alignment/Two lines", item));
  EXPECT_TRUE(host().findMenuItem("Alignment/Preset 2", item));
  EXPECT_EQ(item.itemIndex, 5);
}

TEST_F(AlignmentTest, NothingOrOneElementSelectedDoesNothing) {
  for (int picked = 0; picked < 2; ++picked) {
    fresh();
    std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1)};
    if (picked) pick({all[1]});
    std::vector<Place> before = places(all);
    choose("Align Left");
    choose("Align Selection...");
    expectMoved(before, all, {{0, 0, 0}, {0, 0, 0}}, std::to_string(picked) + " picked");
    EXPECT_TRUE(host().dialogs().records().empty()) << picked;
    EXPECT_TRUE(host().alerts().empty()) << picked;
    EXPECT_TRUE(host().undoSteps().empty()) << picked;
  }
}

TEST_F(AlignmentTest, ALockedElementLayerOrGroupLeavesEverythingInPlaceWithAMessage) {
  struct LockCase {
    const char* what;
    std::function<void(standin::ProjectModel&, std::vector<standin::HostElement*>&)> lock;
  } cases[] = {
      {"locked element", [](standin::ProjectModel& m, auto& all) { m.lock({all[2]->header().guid}, true); }},
      {"locked layer",
       [](standin::ProjectModel& m, auto& all) {
         m.addLayer(2, "Fixed", false, true);
         all[2]->record.header.layer = 2;
       }},
      {"locked group",
       [](standin::ProjectModel& m, auto& all) {
         platform::Guid g = m.group({all[1]->header().guid, all[2]->header().guid});
         m.lock({g}, true);
       }},
      {"locked outer group",
       [](standin::ProjectModel& m, auto& all) {
         platform::Guid inner = m.group({all[1]->header().guid, all[2]->header().guid});
         platform::Guid outer = m.group({inner});
         m.lock({outer}, true);
       }},
  };
  for (const LockCase& c : cases) {
    fresh();
    std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1), bracket(8, 0, 0, 1, 1)};
    c.lock(model(), all);
    host().setGroupsSuspended(true);
    pick(all);
    host().setGroupsSuspended(false);
    std::vector<Place> before = places(all);
    choose("Align Left");
    expectMoved(before, all, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, c.what);
    ASSERT_EQ(host().alerts().size(), 1u) << c.what;
    EXPECT_EQ(host().alerts()[0].text,
              "Some of the selected elements are locked, on a locked layer or in a locked group, so nothing was aligned")
        << c.what;
    EXPECT_TRUE(host().undoSteps().empty()) << c.what;
    EXPECT_FALSE(host().groupsSuspended()) << c.what;
  }
}

TEST_F(AlignmentTest, AnElementWithoutABoxIsLeftOut) {
  std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(3, 0, 0, 1, 1)};
  platform::ElementRecord r = model().defaults(platform::kImage);
  standin::HostElement& image = model().create(model().plan(), r);
  pick({all[0], &image, all[1]});
  std::vector<Place> before = places(all);
  choose("Align Right");
  expectMoved(before, all, {{3, 0, 0}, {0, 0, 0}}, "with an image");
  EXPECT_TRUE(host().alerts().empty());
}

TEST_F(AlignmentTest, ProxiesInASectionMoveThePlanElementsBehindThem) {
  struct SectionCase {
    const char* what;
    double x1, y1, x2, y2;      // the cut line
    const char* item;
    std::vector<Place> offsets;  // in the plan
  } cases[] = {
      // Along a cut line running along x, "left" is x.
      {"cut along x", 0, -5, 10, -5, "Align Left", {{0, 0, 0}, {-3, 0, 0}}},
      // Along one running along y, it is y; the drawing's y is up, the model's z.
      {"cut along y", 10, 0, 10, 10, "Align Front", {{0, 0, 0}, {0, 0, -0.6}}},
      {"cut along y, x", 10, 0, 10, 10, "Align Right", {{0, 4, 0}, {0, 0, 0}}},
  };
  for (const SectionCase& c : cases) {
    fresh();
    std::vector<standin::HostElement*> all = {bracket(1, 1, 0, 1, 1), bracket(4, 5, 0.6, 1, 1)};
    platform::DatabaseRecord section =
        model().addCutPlane(platform::kDatabaseSection, c.x1, c.y1, c.x2, c.y2, 0, "A-A");
    std::vector<Place> before = places(all);
    for (standin::HostElement* e : all) {
      platform::ElementRecord r{};
      r.header.typeID = platform::kSectionProxy;
      r.proxy.targetType = e->header().typeID;
      r.proxy.targetIndex = e->header().index;
      r.proxy.targetGuid = e->header().guid;
      r.proxy.targetDatabaseKind = platform::kDatabasePlan;
      standin::HostElement& proxy = model().create(*model().database(section), r);
      model().select(proxy.header().guid, true);
    }
    ASSERT_TRUE(model().setCurrent(section));
    choose(c.item);
    expectMoved(before, all, c.offsets, c.what);
    EXPECT_EQ(model().current().kind, platform::kDatabaseSection) << c.what;
  }
}

// Every host call the command makes may fail: the selection then moves whole or not at all.
TEST_F(AlignmentTest, AFailingHostCallNeverLeavesAPartialMove) {
  const platform::HostFunctionTable original = lunvik::host().table();
  int fired = 0;
  for (int k = 1; k < 2000; ++k) {
    fresh();
    host().setGroupsSuspended(false);
    std::vector<standin::HostElement*> all = {bracket(0, 0, 0, 1, 1), bracket(2, 1, 0, 1, 1), hatch(5, 0, 6, 1),
                                              line(8, 0, 9, 2)};
    model().group({all[0]->header().guid, all[1]->header().guid});
    pick(all);
    std::vector<Place> before = places(all);
    standin::FaultPlan plan;
    plan.failAt = k;
    lunvik::host().setTable(standin::faultyTable(original, plan));
    choose("Align Right");
    lunvik::host().setTable(original);
    if (!plan.fired) break;
    ++fired;
    std::vector<Place> after = places(all);
    const double want[4] = {6, 6, 3, 0};
    const bool moved = std::fabs(after[0].x - before[0].x) > 1e-9;
    for (std::size_t i = 0; i < all.size(); ++i)
      EXPECT_NEAR(after[i].x - before[i].x, moved ? want[i] : 0, 1e-9) << "call " << k << ", element " << i;
    EXPECT_FALSE(host().groupsSuspended()) << "call " << k;
  }
  EXPECT_GT(fired, 20);
}

}  // namespace
