// Dialogs of the framework inside the stand-in host: the modal loop, accept and cancel, event
// delivery to controls and to the dialog's own subscribers, modeless dialogs and the project
// notifications that close them.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "interaction/controls.h"
#include "interaction/dialog.h"
#include "interaction/request_dialog.h"
#include "runtime/addon.h"
#include "support/dialog_script.h"
#include "support/loaded_host.h"

namespace {

using namespace testing_support;

constexpr int32_t kTestDialog = 40001;

const char* const kTestLayout =
    "title \"Test\"\n"
    "item 1 button \"OK\"\n"
    "item 2 button \"Cancel\"\n"
    "item 3 button \"Stay\"\n"
    "item 4 text \"\"\n"
    "item 5 check \"Flag\"\n"
    "item 6 popup \"\"\n"
    "item 7 button \"Throw\"\n"
    "item 8 radio \"Schedule\" group 1\n"
    "item 9 radio \"Cutting list\" group 1\n"
    "item 10 layer \"\"\n"
    "item 11 pen \"\"\n"
    "item 12 angle \"\"\n";

// A dialog that counts its hooks; item 3 replies 0 to its clicks, item 7 throws.
class CountingDialog : public lunvik::Dialog {
 public:
  explicit CountingDialog(bool modal = true) : Dialog(kTestDialog, modal) {}
  void setupControls() override {
    ++setups;
    text = add(new lunvik::EditText(*this, 4));
    add(new lunvik::CheckboxControl(*this, 5));
    popup = add(new lunvik::PopupMenu(*this, 6));
    popup->addEntry("Left", 10);
    popup->addEntry("Right", 20);
    attach(add(new lunvik::Button(*this, 3)), new lunvik::ActionCall([this](lunvik::ActionEvent& e) {
             ++stays;
             e.reply(0);
             return true;
           }));
    attach(add(new lunvik::Button(*this, 7)), new lunvik::ActionCall([](lunvik::ActionEvent&) -> bool {
             throw std::runtime_error("boom");
           }));
    text->setText("initial");
    radio = add(new lunvik::RadioControl(*this, {8, 9}));
    radio->setCell(lunvik::IntegerSetting(1));
    layer = add(new lunvik::LayerMenu(*this, 10, 3));
    pen = add(new lunvik::PenMenu(*this, 11, 7));
    angle = add(new lunvik::AngleText(*this, 12));
  }
  void accept() override {
    ++accepts;
    acceptedText = text->text().str();
    acceptedPopup = popup->selectedValue();
    acceptedRadio = radio->setting()->integer();
    acceptedLayer = layer->setting()->integer();
    acceptedPen = pen->value();
    acceptedAngle = angle->setting()->real();
  }
  void cancel() override { ++cancels; }
  void closed() override { ++closes; }

  int setups = 0, accepts = 0, cancels = 0, closes = 0, stays = 0;
  std::string acceptedText;
  int32_t acceptedPopup = -1;
  int32_t acceptedRadio = -1, acceptedLayer = -1, acceptedPen = -1;
  double acceptedAngle = -1;
  lunvik::EditText* text = nullptr;
  lunvik::RadioControl* radio = nullptr;
  lunvik::LayerMenu* layer = nullptr;
  lunvik::PenMenu* pen = nullptr;
  lunvik::AngleText* angle = nullptr;
  lunvik::PopupMenu* popup = nullptr;
};

class DialogTest : public LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    host().dialogs().setLayout(kTestDialog, kTestLayout);
  }
  standin::DialogManager& dialogs() { return host().dialogs(); }
};

struct CloseCase {
  const char* name;
  Actions actions;
  int32_t result;
  int accepts;
  int cancels;
};

TEST_F(DialogTest, OkAndCancelEndTheModalLoopThroughAcceptOrCancel) {
  const CloseCase cases[] = {
      {"ok", {pressOk()}, 1, 1, 0},
      {"cancel", {pressCancel()}, 2, 0, 1},
      {"silence is OK", {}, 1, 1, 0},
      {"a button replying 0 stays open", {clickItem(3), clickItem(3), pressCancel()}, 2, 0, 1},
  };
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs().clearRecords();
    dialogs().queueDialog(kTestDialog, c.actions);
    CountingDialog dialog;
    EXPECT_EQ(dialog.run(), c.result);
    EXPECT_EQ(dialog.setups, 1);
    EXPECT_EQ(dialog.accepts, c.accepts);
    EXPECT_EQ(dialog.cancels, c.cancels);
    EXPECT_EQ(dialog.closes, 1);
    EXPECT_FALSE(dialog.isOpen());
    ASSERT_EQ(dialogs().records().size(), 1u);
    EXPECT_EQ(dialogs().records()[0].closedBy, c.result);
    EXPECT_TRUE(dialogs().scriptError().empty()) << dialogs().scriptError();
  }
}

TEST_F(DialogTest, ValuesTheUserSetsReachAcceptAndTheRecord) {
  dialogs().queueDialog(kTestDialog, {setItem(4, "typed"), chooseEntry(6, "Right"), clickItem(5), pressOk()});
  CountingDialog dialog;
  ASSERT_EQ(dialog.run(), 1);
  EXPECT_EQ(dialog.acceptedText, "typed");
  EXPECT_EQ(dialog.acceptedPopup, 20);
  const standin::DialogRecord* record = dialogs().lastRecord(kTestDialog);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->item(4)->text, "typed");
  EXPECT_EQ(record->item(5)->value, 1);
  EXPECT_EQ(record->item(6)->entries, (std::vector<std::string>{"Left", "Right"}));
}

TEST_F(DialogTest, RadioGroupsLayersPensAndAnglesReadAsTheirValues) {
  struct Case {
    const char* name;
    Actions actions;
    int32_t radio, layer, pen;
    double angle;
  };
  const Case cases[] = {
      {"as set up", {}, 1, 3, 7, 0.0},
      {"changed by the user", {clickItem(8), setItem(10, "5"), setItem(11, "2"), setItem(12, "90")}, 0, 5, 2,
       1.5707963267948966},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs().queueDialog(kTestDialog, c.actions);
    CountingDialog dialog;
    ASSERT_EQ(dialog.run(), 1);
    EXPECT_EQ(dialog.acceptedRadio, c.radio);
    EXPECT_EQ(dialog.acceptedLayer, c.layer);
    EXPECT_EQ(dialog.acceptedPen, c.pen);
    EXPECT_NEAR(dialog.acceptedAngle, c.angle, 1e-12);
  }
}

TEST_F(DialogTest, ADialogWithoutItsResourceAnswersZero) {
  dialogs().removeLayout(kTestDialog);
  CountingDialog dialog;
  EXPECT_EQ(dialog.run(), 0);
  EXPECT_EQ(dialog.setups, 0);
  EXPECT_EQ(dialog.accepts, 0);
  ASSERT_EQ(dialogs().records().size(), 1u);
  EXPECT_TRUE(dialogs().records()[0].missing);
}

TEST_F(DialogTest, AnItemEventNoControlTakesReachesTheDialogsOwnSubscribers) {
  CountingDialog dialog;
  std::vector<int16_t> heard;
  lunvik::ItemCall own([&](lunvik::ItemEvent& e) {
    heard.push_back(e.item());
    return true;
  });
  dialog.subscribe(&own);
  // The text field (4) and the check box (5) have no subscribers of their own; their changes
  // go to the dialog.
  dialogs().queueDialog(kTestDialog, {setItem(4, "x"), clickItem(5), pressOk()});
  EXPECT_EQ(dialog.run(), 1);
  dialog.unsubscribe(&own);
  EXPECT_EQ(heard, (std::vector<int16_t>{4, 5}));
}

TEST_F(DialogTest, AControlsSubscriberTakesTheEventBeforeTheDialog) {
  CountingDialog dialog;
  int dialogHeard = 0;
  lunvik::ActionCall own([&](lunvik::ActionEvent&) {
    ++dialogHeard;
    return false;
  });
  dialog.subscribe(&own);
  dialogs().queueDialog(kTestDialog, {clickItem(3), pressOk()});
  EXPECT_EQ(dialog.run(), 1);
  dialog.unsubscribe(&own);
  EXPECT_EQ(dialog.stays, 1);
  // Item 3's click was taken by its button's subscriber; OK's click reached the dialog.
  EXPECT_EQ(dialogHeard, 1);
}

TEST_F(DialogTest, AnExceptionInAHandlerIsReportedAndTheDialogGoesOn) {
  dialogs().queueDialog(kTestDialog, {clickItem(7), pressOk()});
  CountingDialog dialog;
  EXPECT_EQ(dialog.run(), 1);
  ASSERT_EQ(host().alerts().size(), 1u);
  EXPECT_EQ(host().alerts()[0].title, "Error");
  EXPECT_NE(host().alerts()[0].text.find("internal error"), std::string::npos);
}

TEST_F(DialogTest, AScriptErrorCancelsTheDialogAndNamesTheLine) {
  standin::DialogAction bad = setItem(99, "x");
  bad.line = 12;
  dialogs().queueDialog(kTestDialog, {setItem(4, "changed"), bad, pressOk()});
  CountingDialog dialog;
  EXPECT_EQ(dialog.run(), 2);
  EXPECT_EQ(dialog.accepts, 0);
  EXPECT_EQ(dialogs().scriptError(), "line 12: dialog 40001 \"Test\" has no item 99");
}

TEST_F(DialogTest, ModelessDialogsCloseWhenTheProjectCloses) {
  host().newProject();
  CountingDialog dialog(false);
  EXPECT_EQ(dialog.run(), 1);
  ASSERT_TRUE(dialog.isOpen());
  EXPECT_EQ(dialog.run(), 1);  // opened once, brought to the front
  EXPECT_EQ(dialog.setups, 1);
  host().closeProject();
  EXPECT_FALSE(dialog.isOpen());
  EXPECT_EQ(dialog.closes, 1);
  EXPECT_EQ(dialogs().openDialogs().size(), 0u);
  ASSERT_NE(dialogs().lastRecord(kTestDialog), nullptr);
  EXPECT_FALSE(dialogs().lastRecord(kTestDialog)->modal);
}

TEST_F(DialogTest, ADestroyedModelessDialogIsClosedAndForgotten) {
  {
    CountingDialog dialog(false);
    dialog.run();
    ASSERT_TRUE(dialog.isOpen());
  }
  EXPECT_EQ(dialogs().openDialogs().size(), 0u);
  ASSERT_NE(dialogs().lastRecord(kTestDialog), nullptr);
}

TEST_F(DialogTest, ControlsOutsideTheirGridGiveNoSetting) {
  CountingDialog dialog;
  lunvik::DialogControl* text = nullptr;
  std::unique_ptr<lunvik::ControlSetting> inside, outside;
  lunvik::ActionCall probe([&](lunvik::ActionEvent&) {
    text = dialog.control(4);
    inside = text->setting(0, 0);
    outside = text->setting(1, 0);
    return false;
  });
  dialog.subscribe(&probe);
  dialogs().queueDialog(kTestDialog, {pressOk()});
  dialog.run();
  dialog.unsubscribe(&probe);
  ASSERT_NE(inside, nullptr);
  EXPECT_EQ(inside->text(), "initial");
  EXPECT_EQ(outside, nullptr);
}

TEST_F(DialogTest, PopupCellsSelectByValueForIntegersAndByTextOtherwise) {
  CountingDialog dialog;
  int32_t byValue = -2, byText = -2;
  lunvik::ActionCall probe([&](lunvik::ActionEvent&) {
    dialog.popup->setCell(lunvik::IntegerSetting(20));
    byValue = dialog.popup->selectedValue();
    dialog.popup->setCell(lunvik::StringSetting("Left"));
    byText = dialog.popup->selectedValue();
    return false;
  });
  dialog.subscribe(&probe);
  dialogs().queueDialog(kTestDialog, {pressOk()});
  dialog.run();
  dialog.unsubscribe(&probe);
  EXPECT_EQ(byValue, 20);
  EXPECT_EQ(byText, 10);
}

struct RequestCase {
  const char* name;
  Actions actions;
  bool refuseFirst;
  int32_t result;
  std::string name_;
  std::size_t alerts;
};

TEST_F(DialogTest, TheNameRequestKeepsARefusedNameOpen) {
  const RequestCase cases[] = {
      {"taken", {setItem(4, "Barn"), pressOk()}, false, 1, "Barn", 0},
      {"refused, then taken", {setItem(4, "bad"), pressOk(), setItem(4, "Good"), pressOk()}, true, 1, "Good", 1},
      {"cancelled", {setItem(4, "Barn"), pressCancel()}, false, 2, "start", 0},
  };
  for (const RequestCase& c : cases) {
    SCOPED_TRACE(c.name);
    host().clearRecords();
    dialogs().clearRecords();
    bool refuse = c.refuseFirst;
    lunvik::RequestDialog request("", "", "start", [&](const lunvik::CadString&, lunvik::CadString&) {
      bool ok = !refuse;
      refuse = false;
      return ok;
    });
    dialogs().queueDialog(lunvik::RequestDialog::kResource, c.actions);
    EXPECT_EQ(request.run(), c.result);
    EXPECT_EQ(request.name().str(), c.name_);
    EXPECT_EQ(request.title().str(), "New Name Entry");
    EXPECT_EQ(request.prompt().str(), "Please specify a name");
    ASSERT_EQ(host().alerts().size(), c.alerts);
    if (c.alerts) {
      EXPECT_EQ(host().alerts()[0].text, "Sorry, this name is unsuitable.");
    }
  }
}

}  // namespace
