// The stand-in dialog manager on its own: the messages a scripted user's actions become, the
// defaults when the script is silent, bad answers, alerts and save-file answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "support/dialog_script.h"

namespace {

using namespace testing_support;

constexpr int32_t kDialog = 7;

const char* const kLayout =
    "title \"Probe\"\n"
    "item 1 button \"OK\"\n"
    "item 2 button \"Cancel\"\n"
    "item 3 text \"\"\n"
    "item 4 int \"\" min 0 max 10\n"
    "item 5 check \"Flag\"\n"
    "item 6 popup \"\" entries \"Left\" \"Right\"\n"
    "item 7 list \"Rows\" tabs 40 40\n"
    "item 8 button \"Off\" disabled\n"
    "item 9 radio \"A\" group 1\n"
    "item 10 radio \"B\" group 1\n"
    "item 11 length \"\"\n"
    "item 12 angle \"\"\n";

// What a dialog's handler heard, and how it answers.
struct Probe {
  std::vector<std::string> heard;
  int16_t okReply = 1;
  int16_t cancelReply = 2;
};

int16_t probeHandler(int16_t message, int16_t dialId, int16_t item, intptr_t user, intptr_t) {
  auto* probe = reinterpret_cast<Probe*>(user);
  probe->heard.push_back(std::to_string(message) + ":" + std::to_string(item));
  if (message == platform::kDGMsgInit) {
    // Two rows in the list.
    standin::DialogItem* list = standin::Host::current()->dialogs().dialog(dialId)->item(7);
    list->rows = {{"a", "1"}, {"b", "2"}};
    list->selected = {false, false};
  }
  if (message != platform::kDGMsgClick) return 0;
  if (item == 1) return probe->okReply;
  if (item == 2) return probe->cancelReply;
  return item >= 9 ? 0 : item;
}

class DialogManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { host.dialogs().setLayout(kDialog, kLayout); }
  standin::DialogManager& dialogs() { return host.dialogs(); }
  int32_t run(const Actions& actions) {
    dialogs().queueDialog(kDialog, actions);
    return dialogs().modalDialog(kDialog, &probeHandler, reinterpret_cast<intptr_t>(&probe));
  }
  standin::Host host;
  Probe probe;
};

TEST_F(DialogManagerTest, ActionsAreDeliveredAsTheHostsMessages) {
  EXPECT_EQ(run({setItem(3, "x"), clickItem(5), chooseEntry(6, "right"), selectRow(7, 2), clickItem(10), pressOk()}),
            1);
  EXPECT_EQ(probe.heard, (std::vector<std::string>{"1:0", "6:3", "6:5", "6:6", "6:7", "6:10", "4:1", "3:0"}));
  const standin::DialogRecord* r = dialogs().lastRecord(kDialog);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->closedBy, 1);
  EXPECT_EQ(r->item(3)->text, "x");
  EXPECT_EQ(r->item(5)->value, 1);
  EXPECT_EQ(r->item(6)->value, 2);
  EXPECT_EQ(r->item(7)->selectedRows, (std::vector<int32_t>{2}));
  EXPECT_EQ(r->item(9)->value, 0);
  EXPECT_EQ(r->item(10)->value, 1);
}

TEST_F(DialogManagerTest, ASilentScriptPressesOkAndFallsBackToCancel) {
  EXPECT_EQ(run({}), 1);
  EXPECT_EQ(probe.heard, (std::vector<std::string>{"1:0", "4:1", "3:0"}));
  probe = Probe();
  probe.okReply = 0;
  EXPECT_EQ(run({}), 2);
  EXPECT_EQ(probe.heard, (std::vector<std::string>{"1:0", "4:1", "4:2", "3:0"}));
  // A dialog that refuses both is closed as cancelled.
  probe = Probe();
  probe.okReply = 0;
  probe.cancelReply = 0;
  EXPECT_EQ(run({}), 2);
  EXPECT_EQ(probe.heard.back(), "3:0");
}

TEST_F(DialogManagerTest, NumbersAreReadInTheFieldsUnits) {
  ASSERT_EQ(run({setItem(4, "7"), setItem(11, "250mm"), setItem(12, "90"), pressOk()}), 1);
  const standin::DialogRecord* r = dialogs().lastRecord(kDialog);
  EXPECT_EQ(r->item(4)->value, 7);
  EXPECT_DOUBLE_EQ(r->item(11)->value, 0.25);
  EXPECT_NEAR(r->item(12)->value, 1.5707963267948966, 1e-12);
  EXPECT_EQ(r->item(12)->text, "90");
}

TEST_F(DialogManagerTest, AnActionThatCannotBeCarriedOutStopsTheScript) {
  struct Case {
    standin::DialogAction action;
    const char* error;
  };
  const Case cases[] = {
      {setItem(99, "x"), "dialog 7 \"Probe\" has no item 99"},
      {setItem(4, "seven"), "\"seven\" is not a whole number for item 4 (int)"},
      {setItem(4, "11"), "\"11\" is outside the range of item 4 (int)"},
      {setItem(11, "long"), "\"long\" is not a length (metres, or a number with m, cm or mm) for item 11 (length)"},
      // Found by fuzzing the length field: hexadecimal read as a number.
      {setItem(11, "0x10"), "\"0x10\" is not a length (metres, or a number with m, cm or mm) for item 11 (length)"},
      {setItem(11, "0x1p4mm"), "\"0x1p4mm\" is not a length (metres, or a number with m, cm or mm) for item 11 (length)"},
      {setItem(12, "0x5A"), "\"0x5A\" is not an angle in degrees for item 12 (angle)"},
      {setItem(11, "1e400"), "\"1e400\" is not a length (metres, or a number with m, cm or mm) for item 11 (length)"},
      {setItem(5, "maybe"), "\"maybe\" is not on or off for item 5 (check \"Flag\")"},
      {clickItem(8), "item 8 (button \"Off\") is disabled"},
      {chooseEntry(6, "Up"), "item 6 (popup) has no entry \"Up\""},
      {selectRow(7, 3), "\"3\" is not a row of item 7 (list \"Rows\"), which has 2 rows"},
      {selectRows(7, {"1", "2"}), "item 7 (list \"Rows\") selects one row at a time"},
      {setItem(1, "x"), "item 1 (button \"OK\") takes no value"},
      {clickItem(3), "item 3 (text) cannot be clicked"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    dialogs().clearRecords();
    probe = Probe();
    standin::DialogAction action = c.action;
    action.line = 5;
    standin::DialogAction later = setItem(3, "not reached");
    EXPECT_EQ(run({action, later}), 2);
    EXPECT_EQ(dialogs().scriptError(), std::string("line 5: ") + c.error);
    EXPECT_EQ(dialogs().lastRecord(kDialog)->item(3)->text, "");
    // The remaining answers are dropped, OK is not pressed.
    EXPECT_TRUE(dialogs().pendingAnswers().empty());
    EXPECT_EQ(probe.heard.back(), "3:0");
    EXPECT_EQ(std::count(probe.heard.begin(), probe.heard.end(), "4:1"), 0);
  }
}

TEST_F(DialogManagerTest, AnswersForAnotherDialogAreAnError) {
  standin::ScriptAnswer a;
  a.dialog = 8;
  a.line = 2;
  dialogs().queue(a);
  EXPECT_EQ(dialogs().modalDialog(kDialog, &probeHandler, reinterpret_cast<intptr_t>(&probe)), 2);
  EXPECT_EQ(dialogs().scriptError(), "line 2: the answers are for dialog 8, but dialog 7 \"Probe\" opened");
}

TEST_F(DialogManagerTest, AMissingLayoutAnswersZeroAndTakesItsAnswers) {
  dialogs().removeLayout(kDialog);
  EXPECT_EQ(run({pressOk()}), 0);
  EXPECT_TRUE(probe.heard.empty());
  EXPECT_TRUE(dialogs().pendingAnswers().empty());
  EXPECT_TRUE(dialogs().lastRecord(kDialog)->missing);
}

TEST_F(DialogManagerTest, AlertsAreAnsweredByTextOrNumberAndByDefaultWithTheFirstButton) {
  std::vector<std::string> buttons = {"OK", "Cancel"};
  int32_t answer = 0;
  EXPECT_FALSE(dialogs().answerAlert(buttons, answer));
  answerAlert(dialogs(), "cancel");
  answerAlert(dialogs(), "1");
  answerAlert(dialogs(), "Later");
  ASSERT_TRUE(dialogs().answerAlert(buttons, answer));
  EXPECT_EQ(answer, 2);
  ASSERT_TRUE(dialogs().answerAlert(buttons, answer));
  EXPECT_EQ(answer, 1);
  ASSERT_TRUE(dialogs().answerAlert(buttons, answer));
  EXPECT_EQ(answer, 2);
  EXPECT_EQ(dialogs().scriptError(), "the alert has no button \"Later\" (its buttons: OK, Cancel)");
  // After a failure every alert is declined.
  ASSERT_TRUE(dialogs().answerAlert(buttons, answer));
  EXPECT_EQ(answer, 2);
}

TEST_F(DialogManagerTest, TheSaveFileDialogTakesThePathOrIsCancelled) {
  std::string path;
  EXPECT_FALSE(dialogs().saveFile("Timber Schedule", "txt", path));
  standin::ScriptAnswer a;
  a.kind = standin::ScriptAnswer::Kind::SaveFile;
  a.path = "/tmp/report.txt";
  dialogs().queue(a);
  // A dialog's answers do not stand in the way of a save-file answer.
  dialogs().queueDialog(kDialog, {});
  EXPECT_TRUE(dialogs().saveFile("Timber Schedule", "txt", path));
  EXPECT_EQ(path, "/tmp/report.txt");
  EXPECT_EQ(dialogs().pendingAnswers().size(), 1u);
}

TEST_F(DialogManagerTest, ModelessDialogsTakeOnlyAnswersThatNameThem) {
  dialogs().queueDialog(0, {setItem(3, "for a modal one")});
  int16_t id = dialogs().modelessInit(kDialog, &probeHandler, reinterpret_cast<intptr_t>(&probe));
  ASSERT_NE(id, 0);
  EXPECT_EQ(dialogs().pendingAnswers().size(), 1u);
  dialogs().dropAnswers();
  dialogs().modelessClose(id);
  EXPECT_EQ(dialogs().dialog(id), nullptr);
  dialogs().queueDialog(kDialog, {setItem(3, "mine")});
  id = dialogs().modelessInit(kDialog, &probeHandler, reinterpret_cast<intptr_t>(&probe));
  EXPECT_EQ(dialogs().dialog(id)->item(3)->text, "mine");
  EXPECT_TRUE(dialogs().pendingAnswers().empty());

  // Answers naming it while it is open are carried out at once.
  standin::ScriptAnswer now;
  now.dialog = kDialog;
  now.actions = {setItem(3, "now"), clickItem(5)};
  probe.heard.clear();
  EXPECT_TRUE(dialogs().answerOpenDialog(now));
  EXPECT_EQ(dialogs().dialog(id)->item(3)->text, "now");
  EXPECT_EQ(probe.heard, (std::vector<std::string>{"6:3", "6:5"}));
  now.dialog = kDialog + 1;
  EXPECT_FALSE(dialogs().answerOpenDialog(now));
}

}  // namespace
