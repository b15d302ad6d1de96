// The preference dialogs of the "Framing" > "Preferences" menu, answered by the scripted user
// inside the stand-in host.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/project.h"
#include "prefs/joint_prefs.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "runtime/addon.h"
#include "support/dialog_script.h"
#include "support/loaded_host.h"

namespace {

using namespace testing_support;
using varnholt::JointPrefs;
using varnholt::ProjectPrefs;
using varnholt::TimberPrefs;

constexpr int32_t kProjectDialog = 32514;
constexpr int32_t kJointDialog = 32515;
constexpr int32_t kReportsDialog = 32516;
constexpr int32_t kCostingDialog = 32527;

template <typename P>
P& package() {
  auto* p = dynamic_cast<P*>(lunvik::theAddon()->project()->store().get(P::kCode));
  if (!p) throw std::runtime_error("package missing");
  return *p;
}

std::vector<std::string> jointNames() {
  std::vector<std::string> names;
  for (const auto& j : package<JointPrefs>().joints()) names.push_back(j->name.str());
  return names;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class PrefsDialogsTest : public LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    host().newProject();
    host().clearRecords();
  }
  standin::DialogManager& dialogs() { return host().dialogs(); }
  // Chooses a Preferences menu item with answers for the dialog it opens.
  // Answers for the dialogs the first one opens follow in nested.
  void choose(const std::string& item, int32_t dialog, const Actions& actions,
              const std::vector<std::pair<int32_t, Actions>>& nested = {}) {
    dialogs().queueDialog(dialog, actions);
    for (const auto& n : nested) dialogs().queueDialog(n.first, n.second);
    standin::MenuItem menu;
    ASSERT_TRUE(host().findMenuItem("Framing/Preferences/" + item, menu));
    host().chooseMenuItem(menu.menuList, menu.itemIndex);
    EXPECT_EQ(dialogs().scriptError(), "");
    EXPECT_TRUE(dialogs().pendingAnswers().empty());
  }
  const standin::DialogRecord& record(int32_t dialog) {
    const standin::DialogRecord* r = dialogs().lastRecord(dialog);
    if (!r) throw std::runtime_error("no such dialog was shown");
    return *r;
  }
  std::string macro() { return readFile(appData() + "/Trestlar/ProjectData.gdl"); }
};

// ---- project ----

TEST_F(PrefsDialogsTest, TheProjectDialogShowsThePackageAndOkWritesItBack) {
  package<ProjectPrefs>().personID = "JW";
  choose("Project...", kProjectDialog, {setItem(4, "P-42"), setItem(7, "off"), pressOk()});
  const standin::DialogRecord& shown = record(kProjectDialog);
  EXPECT_EQ(shown.item(6)->text, "JW");
  EXPECT_EQ(shown.item(8)->value, 1);
  const ProjectPrefs& prefs = package<ProjectPrefs>();
  EXPECT_EQ(prefs.projectNo.str(), "P-42");
  EXPECT_FALSE(prefs.loadTimber);
  EXPECT_TRUE(prefs.loadSteel);
  // OK saves the packages into the project and writes the macro again.
  EXPECT_NE(host().moduleData().find("<projectNo>P-42</projectNo>"), std::string::npos);
  EXPECT_NE(macro().find("GLOB_USER_12 = \"P-42\""), std::string::npos);
}

TEST_F(PrefsDialogsTest, CancelChangesNothingAndSavesNothing) {
  choose("Project...", kProjectDialog, {setItem(4, "P-42"), pressCancel()});
  EXPECT_EQ(package<ProjectPrefs>().projectNo.str(), "");
  EXPECT_EQ(host().moduleData(), "");
  EXPECT_EQ(macro().find("P-42"), std::string::npos);
}

TEST_F(PrefsDialogsTest, ADialogWithoutItsResourceChangesNothing) {
  dialogs().removeLayout(kProjectDialog);
  standin::MenuItem menu;
  ASSERT_TRUE(host().findMenuItem("Framing/Preferences/Project...", menu));
  host().chooseMenuItem(menu.menuList, menu.itemIndex);
  EXPECT_TRUE(record(kProjectDialog).missing);
  EXPECT_EQ(host().moduleData(), "");
}

// ---- joints ----

TEST_F(PrefsDialogsTest, AnAddedJointKeptAsItIsIsStoredAsUntitled) {
  choose("Joints...", kJointDialog, {clickItem(13), pressOk()});
  std::vector<std::string> names = jointNames();
  ASSERT_EQ(names.size(), 18u);
  EXPECT_EQ(names.back(), "Untitled");
  EXPECT_NE(host().moduleData().find("<name>Untitled</name>"), std::string::npos);
}

TEST_F(PrefsDialogsTest, DeleteIsEnabledBySelectionAndSelectsTheNextOrPreviousRow) {
  // Delete starts disabled.
  standin::DialogAction early = clickItem(14);
  early.line = 3;
  dialogs().queueDialog(kJointDialog, {early});
  standin::MenuItem menu;
  ASSERT_TRUE(host().findMenuItem("Framing/Preferences/Joints...", menu));
  host().chooseMenuItem(menu.menuList, menu.itemIndex);
  EXPECT_EQ(dialogs().scriptError(), "line 3: item 14 (button \"Delete\") is disabled");
  EXPECT_EQ(jointNames().size(), 17u);
  dialogs().clearScriptError();

  struct Case {
    int row;            // 0: the last
    int selectedAfter;  // 1-based
  };
  // 17 rows, then 16: the last row's removal selects the one before it.
  for (Case c : {Case{2, 2}, Case{0, 15}}) {
    SCOPED_TRACE(c.row);
    std::vector<std::string> before = jointNames();
    if (c.row == 0) c.row = int(before.size());
    choose("Joints...", kJointDialog, {selectRow(12, c.row), clickItem(14), pressOk()});
    const standin::DialogRecord& shown = record(kJointDialog);
    EXPECT_EQ(shown.item(12)->selectedRows, (std::vector<int32_t>{c.selectedAfter}));
    EXPECT_TRUE(shown.item(14)->enabled);
    before.erase(before.begin() + (c.row - 1));
    EXPECT_EQ(jointNames(), before);
  }
}

TEST_F(PrefsDialogsTest, DeletingEveryJointDisablesDelete) {
  Actions actions;
  for (int i = 0; i < 17; ++i) actions.push_back(i == 0 ? selectRow(12, 1) : clickItem(14));
  actions.push_back(clickItem(14));
  actions.push_back(pressOk());
  choose("Joints...", kJointDialog, actions);
  EXPECT_FALSE(record(kJointDialog).item(14)->enabled);
  EXPECT_TRUE(jointNames().empty());
}

TEST_F(PrefsDialogsTest, OkStoresTheRowsInOrderAndDropsBlankNames) {
  choose("Joints...", kJointDialog,
         {editCell(12, 1, 1, "Mortice"), editCell(12, 1, 3, "2.5"), editCell(12, 1, 4, "0.2"),
          editCell(12, 2, 1, "  \t "), pressOk()});
  const JointPrefs& joints = package<JointPrefs>();
  ASSERT_EQ(joints.joints().size(), 16u);
  EXPECT_EQ(joints.joints()[0].name.str(), "Mortice");
  EXPECT_DOUBLE_EQ(joints.joints()[0].additionalHours, 2.5);
  EXPECT_DOUBLE_EQ(joints.joints()[0].additionalLength, 0.2);
  EXPECT_EQ(joints.joints()[1].name.str(), "RaftFootTenon");
  EXPECT_NE(macro().find("\"Mortice\""), std::string::npos);
}

TEST_F(PrefsDialogsTest, ApplyDefaultThenCancelLeavesTheJointsAsTheyWere) {
  package<JointPrefs>().joints().clear();
  package<JointPrefs>().add("Own", "", 0, 1);
  choose("Joints...", kJointDialog, {clickItem(15), pressCancel()});
  EXPECT_EQ(record(kJointDialog).item(12)->rows.size(), 17u);
  EXPECT_EQ(jointNames(), (std::vector<std::string>{"Own"}));
  choose("Joints...", kJointDialog, {clickItem(15), pressOk()});
  EXPECT_EQ(jointNames().size(), 17u);
}

TEST_F(PrefsDialogsTest, MakeDefaultWritesTheRowsAsTheDefaultJointsWhenConfirmed) {
  std::string file = appData() + "/Trestlar/Default Joints.xml";
  answerAlert(dialogs(), "Cancel");
  choose("Joints...", kJointDialog, {clickItem(16), pressCancel()});
  EXPECT_FALSE(std::filesystem::exists(file));
  ASSERT_EQ(host().alerts().size(), 1u);
  EXPECT_EQ(host().alerts()[0].text, "Do you want this list of joints to become the default?");

  answerAlert(dialogs(), "OK");
  choose("Joints...", kJointDialog, {editCell(12, 1, 1, "Mine"), clickItem(16), pressCancel()});
  std::string text = readFile(file);
  EXPECT_EQ(text.rfind("<?xml", 0), 0u);
  EXPECT_NE(text.find("<name>Mine</name>"), std::string::npos);
  // The project's list is untouched: the dialog was cancelled.
  EXPECT_EQ(jointNames()[0], "Tenon1.5");
}

TEST_F(PrefsDialogsTest, AMakeDefaultThatCannotWriteSaysSo) {
  // A folder where the file would go.
  std::filesystem::create_directories(appData() + "/Trestlar/Default Joints.xml");
  answerAlert(dialogs(), "OK");
  choose("Joints...", kJointDialog, {clickItem(16), pressCancel()});
  ASSERT_EQ(host().alerts().size(), 2u);
  EXPECT_EQ(host().alerts()[1].kind, platform::kAlertError);
  EXPECT_EQ(host().alerts()[1].text, "The default list could not be written into the preferences folder");
}

// ---- reports ----

TEST_F(PrefsDialogsTest, TheReportsDialogWorksOnACopyThatCancelDrops) {
  choose("Reports...", kReportsDialog,
         {clickItem(23), selectRow(8, 1), clickItem(25), setItem(10, "35"), clickItem(26), pressCancel()});
  EXPECT_EQ(package<TimberPrefs>().specifications().size(), 4u);
  EXPECT_EQ(package<TimberPrefs>().specifications()[0].name.str(), "Softwood");
  EXPECT_DOUBLE_EQ(package<ProjectPrefs>().labourCost, 0.0);
  EXPECT_EQ(host().moduleData(), "");
}

TEST_F(PrefsDialogsTest, OkWritesTheNumbersAndTheNamedRows) {
  choose("Reports...", kReportsDialog,
         {setItem(10, "35.5"), setItem(13, "T-"), setItem(15, "/A"), setItem(17, "3"), setItem(20, "300mm"),
          setItem(22, "0.01"), editCell(8, 2, 1, "Oak"), editCell(8, 2, 2, "900"), editCell(8, 3, 1, " "),
          clickItem(23), pressOk()});
  const ProjectPrefs& project = package<ProjectPrefs>();
  EXPECT_DOUBLE_EQ(project.labourCost, 35.5);
  EXPECT_EQ(project.numPrefix.str(), "T-");
  EXPECT_EQ(project.numSuffix.str(), "/A");
  EXPECT_EQ(project.numPadding, 3);
  EXPECT_DOUBLE_EQ(project.lengthInc, 0.3);
  EXPECT_DOUBLE_EQ(project.sectionInc, 0.01);
  std::vector<std::string> names;
  for (const auto& s : package<TimberPrefs>().specifications()) names.push_back(s->name.str() + "=" + std::to_string(int(s->baseCost)));
  EXPECT_EQ(names, (std::vector<std::string>{"Softwood=400", "Oak=900", "Steady=1300", "Untitled=0"}));
  EXPECT_NE(macro().find("\"Oak\""), std::string::npos);
}

TEST_F(PrefsDialogsTest, DeletingTheOnlyTimberTypeDisablesDetailAndDelete) {
  package<TimberPrefs>().specifications().clear();
  package<TimberPrefs>().add("Only", 10);
  choose("Reports...", kReportsDialog, {selectRow(8, 1), clickItem(25), pressOk()});
  const standin::DialogRecord& shown = record(kReportsDialog);
  EXPECT_FALSE(shown.item(24)->enabled);
  EXPECT_FALSE(shown.item(25)->enabled);
  EXPECT_TRUE(package<TimberPrefs>().specifications().empty());
}

TEST_F(PrefsDialogsTest, TheCostingDialogDropsLengthZeroAndKeepsTheLastOfALength) {
  Actions costing = {clickItem(9), clickItem(9), editCell(8, 2, 1, "2.4"), editCell(8, 2, 2, "150"),
                     clickItem(9), editCell(8, 3, 1, "2.4"), editCell(8, 3, 2, "175"), clickItem(9),
                     editCell(8, 4, 1, "1.2"), editCell(8, 4, 2, "90"), pressOk()};
  choose("Reports...", kReportsDialog, {selectRow(8, 2), clickItem(24), pressOk()}, {{kCostingDialog, costing}});
  const auto& costs = package<TimberPrefs>().specifications()[1].lengthCostingList.entries();
  ASSERT_EQ(costs.size(), 2u);
  EXPECT_DOUBLE_EQ(costs.at(1.2), 90);
  EXPECT_DOUBLE_EQ(costs.at(2.4), 175);
  EXPECT_EQ(record(kCostingDialog).item(8)->rows.size(), 4u);
  // Stored in ascending length.
  std::string data = host().moduleData();
  EXPECT_LT(data.find("<keyLength>1.2</keyLength>"), data.find("<keyLength>2.4</keyLength>"));
}

TEST_F(PrefsDialogsTest, MakeDefaultWritesTheTimberRowsWithTheirCostings) {
  package<TimberPrefs>().specifications()[0].lengthCostingList.put(3.0, 480);
  answerAlert(dialogs(), "OK");
  choose("Reports...", kReportsDialog, {editCell(8, 1, 1, "Larch"), clickItem(27), pressCancel()});
  std::string text = readFile(appData() + "/Trestlar/Default Timbers.xml");
  EXPECT_NE(text.find("<name>Larch</name>"), std::string::npos);
  EXPECT_NE(text.find("<keyLength>3</keyLength>"), std::string::npos);
  EXPECT_EQ(host().alerts()[0].text, "Do you want this list of timbers to become the default?");
  EXPECT_EQ(package<TimberPrefs>().specifications()[0].name.str(), "Softwood");
}

TEST_F(PrefsDialogsTest, CostingsEditedInACancelledReportsDialogAreDropped) {
  choose("Reports...", kReportsDialog, {selectRow(8, 1), clickItem(24), pressCancel()},
         {{kCostingDialog, {clickItem(9), editCell(8, 1, 1, "3"), pressOk()}}});
  EXPECT_EQ(record(kCostingDialog).closedBy, 1);
  EXPECT_TRUE(package<TimberPrefs>().specifications()[0].lengthCostingList.entries().empty());
}

}  // namespace
