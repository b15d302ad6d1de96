// Progress windows: the host's single window and the custom dialog that shows only after two
// seconds, with its phase line and remaining-time text.
#include <gtest/gtest.h>

#include <string>

#include "interaction/progress_window.h"
#include "support/dialog_script.h"
#include "support/loaded_host.h"

namespace {

using namespace testing_support;

class ProgressTest : public LoadedHost {
 protected:
  standin::DialogManager& dialogs() { return host().dialogs(); }
  // The clock the custom window reads, in seconds.
  double seconds = 100.0;
  lunvik::CustomProgressWindow::Clock clock() {
    return [this] { return seconds; };
  }
};

TEST_F(ProgressTest, OnlyOneHostProgressWindowIsOpenAtATime) {
  auto first = lunvik::ProgressWindow::open("Numbering", 2);
  ASSERT_TRUE(first);
  EXPECT_FALSE(lunvik::ProgressWindow::open("Second", 1));
  first->setPhase(1, "Counting", 10);
  first->increment(3);
  first->increment();
  EXPECT_FALSE(first->cancelled());
  dialogs().cancelProgress();
  EXPECT_TRUE(first->cancelled());
  first.reset();  // the last reference closes it
  EXPECT_FALSE(lunvik::ProgressWindow::anyOpen());
  ASSERT_EQ(dialogs().progressWindows().size(), 1u);
  const standin::ProgressRecord& r = dialogs().progressWindows()[0];
  EXPECT_EQ(r.title, "Numbering");
  EXPECT_EQ(r.phases, 2);
  EXPECT_EQ(r.value, 4);
  EXPECT_EQ(r.maximum, 10);
  EXPECT_TRUE(r.closed);
  EXPECT_TRUE(lunvik::ProgressWindow::open("Again", 1));
}

TEST_F(ProgressTest, ARunOfOneSecondNeverShowsTheCustomDialog) {
  {
    lunvik::CustomProgressWindow progress("Scheduling", 1, clock());
    progress.startPhase("Reading", 100);
    for (int i = 0; i < 100; ++i) {
      seconds += 0.01;
      progress.increment();
    }
    EXPECT_FALSE(progress.shown());
  }
  EXPECT_EQ(dialogs().lastRecord(lunvik::ProgressDialog::kResource), nullptr);
}

TEST_F(ProgressTest, TheCustomDialogAppearsAfterTwoSecondsWithItsTexts) {
  lunvik::CustomProgressWindow progress("Scheduling", 2, clock());
  progress.startPhase("Reading", 10);
  seconds += 1.9;
  progress.setValue(1);
  EXPECT_FALSE(progress.shown());
  seconds += 0.1;
  progress.setValue(2);
  ASSERT_TRUE(progress.shown());
  EXPECT_EQ(progress.phaseLine().str(), "Phase 1 of 2");
  // 2 s for a tenth of the work: 18 s more, which rounds to no minutes.
  EXPECT_EQ(progress.timeText().str(), "Less than a minute");
  standin::OpenDialog* open = dialogs().dialog(dialogs().openDialogs().back()->dialId);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->title, "Scheduling");
  EXPECT_EQ(open->item(1)->text, "Phase 1 of 2");
  EXPECT_EQ(open->item(4)->text, "Reading");
  EXPECT_EQ(open->item(3)->value, 10);  // 2 of 10 in phase 1 of 2
}

TEST_F(ProgressTest, TheRemainingTimeIsRefreshedAtMostEveryFourSeconds) {
  lunvik::CustomProgressWindow progress("Numbering", 1, clock());
  progress.startPhase("Counting", 100);
  seconds += 60;
  progress.setValue(50);  // a minute for half: about a minute left
  EXPECT_EQ(progress.timeText().str(), "About a minute");
  seconds += 3;
  progress.setValue(10);  // would read as minutes left, but the text is not due yet
  EXPECT_EQ(progress.timeText().str(), "About a minute");
  seconds += 1;
  progress.setValue(10);  // 64 s for a tenth: 576 s, about 10 minutes
  EXPECT_EQ(progress.timeText().str(), "10 minutes");
}

TEST_F(ProgressTest, PhasesStopAtTheirNumberAndMaximaAreAtLeastOne) {
  lunvik::CustomProgressWindow progress("Numbering", 2, clock());
  progress.startPhase("one", 0);
  progress.startPhase("two", 5);
  progress.startPhase("three", 5);
  EXPECT_EQ(progress.phase(), 2);
  EXPECT_EQ(progress.phaseText().str(), "three");
  struct Case {
    long minutes;
    const char* text;
  };
  for (const Case& c : {Case{0, "Less than a minute"}, Case{1, "About a minute"}, Case{7, "7 minutes"}})
    EXPECT_EQ(lunvik::CustomProgressWindow::minutesText(c.minutes).str(), c.text);
}

TEST_F(ProgressTest, CancellingShowsCancelling) {
  lunvik::CustomProgressWindow progress("Numbering", 1, clock());
  progress.startPhase("Counting", 10);
  seconds += 3;
  progress.setValue(1);
  ASSERT_TRUE(progress.shown());
  int16_t id = dialogs().openDialogs().back()->dialId;
  std::string error;
  ASSERT_TRUE(dialogs().act(id, clickItem(2), error)) << error;
  EXPECT_TRUE(progress.cancelled());
  EXPECT_EQ(progress.timeText().str(), "Cancelling...");
}

}  // namespace
