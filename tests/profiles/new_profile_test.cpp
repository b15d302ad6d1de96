// New Profile inside the stand-in host: the part written from a selected polygon, its sizes
// and put list, the member placed at the anchor, and every way the command refuses or stops
// leaving no part file and no member behind.
#include <gtest/gtest.h>

#include <strings.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "profile_fixture.h"

namespace {

using namespace profile_testing;
using testing_support::pressCancel;
using testing_support::pressOk;
using testing_support::setItem;

// A 2 x 0.5 rectangle from the origin.
const std::vector<Contour> kRectangle = {{{0, 0}, {2, 0}, {2, 0.5}, {0, 0.5}}};

class NewProfileTest : public ProfileHost {
 protected:
  void click(double x, double y) { host().pointer().queue(standin::PointerAnswer::point(x, y)); }
  bool alerted(const std::string& start) {
    for (const std::string& t : alertTexts())
      if (t.compare(0, start.size(), start) == 0) return true;
    return false;
  }
  void expectNothingMade(std::size_t objectsBefore = 0) {
    EXPECT_TRUE(partFiles().empty()) << (partFiles().empty() ? "" : partFiles().front());
    EXPECT_EQ(objects().size(), objectsBefore);
    EXPECT_EQ(host().openUndoSteps(), 0);
  }
};

TEST_F(NewProfileTest, ASectionRectangleMakesAnExtrudedPartAndStandsItsMemberUp) {
  draw(kRectangle, platform::kSlab);
  answerProfileDialog("Section", "Post Section", "3");
  click(0, 0);
  newProfile();
  ASSERT_EQ(partFiles(), std::vector<std::string>{"Post Section.gsm"});
  standin::LibraryPart part = partFile("Post Section");
  EXPECT_EQ(part.name, "Post Section");
  EXPECT_NE(part.ownId.find('{'), std::string::npos);
  EXPECT_NE(part.ownId, "{00000000-0000-0000-0000-000000000000}-{00000000-0000-0000-0000-000000000000}");
  // The rectangle turned a quarter back: 0.5 across its depth, 2 across its width.
  EXPECT_DOUBLE_EQ(part.sizeA, 3);
  EXPECT_DOUBLE_EQ(number(part, "length"), 3);
  EXPECT_DOUBLE_EQ(number(part, "profWide"), 2);
  EXPECT_DOUBLE_EQ(number(part, "profDeep"), 0.5);
  EXPECT_DOUBLE_EQ(number(part, "prevZzyzx"), 0.5);
  EXPECT_DOUBLE_EQ(number(part, "anchorY"), -2);
  EXPECT_DOUBLE_EQ(number(part, "spotCount"), 8);
  EXPECT_EQ(part.parameter("timberName")->texts.at(0), "Post Section");
  // Five rows, the start and four edges; only the last ends without its comma.
  EXPECT_EQ(putBlock(part), "\r\nput 0.5,2,15,\r\n0,2,15,\r\n0,0,15,\r\n0.5,0,15,\r\n0.5,2,15\r\n");
  EXPECT_NE(readText(folder_ + "/Post Section.gsm").find("section 3DSC crlf\n"), std::string::npos);

  ASSERT_EQ(objects().size(), 1u);
  const standin::HostElement& member = *objects()[0];
  EXPECT_EQ(member.userData, "EXTR");
  EXPECT_NEAR(member.record.part.angle, kPi / 2, 1e-12);
  EXPECT_NEAR(value(member, "incline"), -kPi / 2, 1e-12);
  EXPECT_NEAR(value(member, "yOffset"), -2, 1e-12);
  ASSERT_EQ(host().undoSteps().size(), 1u);
  EXPECT_EQ(host().undoSteps()[0].name, "New Profile");
  EXPECT_TRUE(host().undoSteps()[0].closed);
  // It stands 3 m up over the rectangle's 2 m.
  int32_t first = 0, last = -1;
  ASSERT_TRUE(host().bodies().bodyRange(platform::kObject, member.record.header.index, first, last));
  const standin::GeneratedBody* body = host().bodies().body(first);
  ASSERT_NE(body, nullptr);
  EXPECT_NEAR(body->boxMin.z, 0, 1e-9);
  EXPECT_NEAR(body->boxMax.z, 3, 1e-9);
  EXPECT_NEAR(body->boxMin.x, 0, 1e-9);
  EXPECT_NEAR(body->boxMax.x, 2, 1e-9);
}

TEST_F(NewProfileTest, AnElevationIsTurnedByItsPrimaryAxisAndLiesAsDrawn) {
  // The rectangle's primary axis drawn along y: the part runs along its own x.
  draw({{{0, 0}, {0.5, 0}, {0.5, 2}, {0, 2}}});
  answerProfileDialog("Elevation", "Rafter", "0.1");
  click(0, 0);
  click(0, 2);
  newProfile();
  standin::LibraryPart part = partFile("Rafter");
  EXPECT_DOUBLE_EQ(number(part, "length"), 2);
  EXPECT_DOUBLE_EQ(number(part, "profWide"), 0.5);
  EXPECT_DOUBLE_EQ(number(part, "profDeep"), 0.1);
  ASSERT_EQ(objects().size(), 1u);
  const standin::HostElement& member = *objects()[0];
  EXPECT_EQ(member.userData, "CUST");
  EXPECT_NEAR(member.record.part.angle, kPi / 2, 1e-12);
  int32_t first = 0, last = -1;
  ASSERT_TRUE(host().bodies().bodyRange(platform::kObject, member.record.header.index, first, last));
  const standin::GeneratedBody* body = host().bodies().body(first);
  ASSERT_NE(body, nullptr);
  // Where it was drawn, 0.1 thick.
  EXPECT_NEAR(body->boxMin.x, 0, 1e-9);
  EXPECT_NEAR(body->boxMax.x, 0.5, 1e-9);
  EXPECT_NEAR(body->boxMin.y, 0, 1e-9);
  EXPECT_NEAR(body->boxMax.y, 2, 1e-9);
  EXPECT_NEAR(body->boxMax.z - body->boxMin.z, 0.1, 1e-9);
}

TEST_F(NewProfileTest, ALatheOutlineOnEitherSideOfItsAxisGivesTheSamePart) {
  // Half a spindle's outline above and below an axis along x.
  const std::vector<Contour> above = {{{0, 0.05}, {1, 0.05}, {1, 0.1}, {0.5, 0.15}, {0, 0.1}}};
  const std::vector<Contour> below = {{{0, -0.05}, {0, -0.1}, {0.5, -0.15}, {1, -0.1}, {1, -0.05}}};
  std::string blocks[2];
  for (int side = 0; side < 2; ++side) {
    draw(side == 0 ? above : below);
    answerProfileDialog("Lathe", side == 0 ? "Spindle" : "Spindle 2", "360");
    click(0, 0);
    click(1, 0);
    newProfile();
    standin::LibraryPart part = partFile(side == 0 ? "Spindle" : "Spindle 2");
    blocks[side] = putBlock(part);
    EXPECT_NEAR(number(part, "latheSweep"), 2 * kPi, 1e-12);
    EXPECT_DOUBLE_EQ(number(part, "profWide"), 0.3);
    EXPECT_DOUBLE_EQ(part.sizeB, 0.3);
    // A lathe keeps the template's hotspot count and anchors.
    EXPECT_DOUBLE_EQ(number(part, "spotCount"), 0);
    EXPECT_DOUBLE_EQ(number(part, "anchorY"), 0);
  }
  // The same outline, walked the other way round from another corner: the same points.
  auto points = [](std::string block) {
    std::set<std::string> rows;
    block = block.substr(block.find("put ") + 4);
    for (std::size_t at = 0; at < block.size();) {
      std::size_t stop = block.find("\r\n", at);
      std::string row = block.substr(at, stop - at);
      if (!row.empty() && row.back() == ',') row.pop_back();
      if (!row.empty()) rows.insert(row);
      at = stop + 2;
    }
    return rows;
  };
  EXPECT_EQ(points(blocks[0]), points(blocks[1]));
  EXPECT_EQ(points(blocks[0]).size(), 5u);
  ASSERT_EQ(objects().size(), 2u);
  EXPECT_EQ(objects()[0]->userData, "LATH");
  EXPECT_NEAR(value(*objects()[0], "profWide"), 0.3, 1e-12);
}

TEST_F(NewProfileTest, ALatheOutlineAwayFromItsAxisIsSizedByItsTurnedDiameter) {
  // A tube wall 0.05 thick at 0.1 from the axis: 0.3 across when turned.
  draw({{{0, 0.1}, {1, 0.1}, {1, 0.15}, {0, 0.15}}});
  answerProfileDialog("Lathe", "Tube", "360");
  click(0, 0);
  click(1, 0);
  newProfile();
  standin::LibraryPart part = partFile("Tube");
  EXPECT_DOUBLE_EQ(part.sizeB, 0.3);
  EXPECT_DOUBLE_EQ(number(part, "prevZzyzx"), 0.3);
  EXPECT_DOUBLE_EQ(number(part, "profWide"), 0.3);
  EXPECT_DOUBLE_EQ(number(part, "profDeep"), 0.3);
}

struct LatheRefusal {
  const char* what;
  std::vector<Contour> outline;
  const char* alert;
};

class LatheRefusalTest : public NewProfileTest, public ::testing::WithParamInterface<LatheRefusal> {};

TEST_P(LatheRefusalTest, AnAxisThroughTheProfileOrAlongItsEdgeWritesNothing) {
  draw(GetParam().outline);
  answerProfileDialog("Lathe", "Bad Lathe", "360");
  click(0, 0);
  click(1, 0);
  newProfile();
  EXPECT_TRUE(alerted(GetParam().alert)) << GetParam().what;
  expectNothingMade();
}

INSTANTIATE_TEST_SUITE_P(
    Lathes, LatheRefusalTest,
    ::testing::Values(LatheRefusal{"across the axis", {{{0, -0.1}, {1, -0.1}, {1, 0.1}, {0, 0.1}}},
                                   "The central line of a lathed object should not cut though the profile"},
                      LatheRefusal{"an edge on the axis", {{{0, 0}, {1, 0}, {1, 0.1}, {0, 0.1}}},
                                   "None of the profile edges should lie along the lathe centre line"}));

TEST_F(NewProfileTest, ANameThatIsEmptyTakenOrNoFileNameKeepsTheDialogOpen) {
  // A part of the name is loaded already.
  {
    std::ofstream(folder_ + "/Taken.gsm") << "trestlar-library-part 1\nname \"Taken\"\ntype 4\n";
    host().touchLibrary();
  }
  draw(kRectangle);
  using testing_support::chooseEntry;
  host().dialogs().queueDialog(
      kProfileDialog, {chooseEntry(4, "Section"), setItem(6, "   "), pressOk(), setItem(6, "taken"), pressOk(),
                       setItem(6, "../escape"), pressOk(), setItem(6, ".."), pressOk(), setItem(6, "a\\b"), pressOk(),
                       setItem(6, "tab\there"), pressOk(), setItem(6, "  Good Name \t"), setItem(10, "2"), pressOk()});
  click(0, 0);
  newProfile();
  const std::vector<std::string> texts = alertTexts();
  ASSERT_GE(texts.size(), 6u);
  EXPECT_EQ(texts[0], "Please enter a name for the new profile");
  EXPECT_EQ(texts[1].compare(0, 37, "An object with this name already exis"), 0);
  for (int i = 2; i < 6; ++i) EXPECT_EQ(texts[std::size_t(i)].compare(0, 40, "The name of a new profile becomes its fi"), 0) << i;
  // The trimmed name is the part's and its file's.
  EXPECT_EQ(partFiles(), (std::vector<std::string>{"Good Name.gsm", "Taken.gsm"}));
  EXPECT_FALSE(fs::exists(appData() + "/escape.gsm"));
  EXPECT_EQ(partFile("Good Name").name, "Good Name");
}

TEST_F(NewProfileTest, ACancelledDialogOrClickLeavesNoPartButTheDialogsValuesAreKept) {
  draw(kRectangle);
  host().dialogs().queueDialog(kProfileDialog, {setItem(6, "Never"), pressCancel()});
  newProfile();
  expectNothingMade();
  EXPECT_TRUE(host().undoSteps().empty());
  answerProfileDialog("Section", "Escaped", "2");
  host().pointer().queue(standin::PointerAnswer::escape());
  newProfile();
  expectNothingMade();
  // The values of an accepted dialog are kept for the next time.
  EXPECT_NE(host().moduleData().find("Escaped"), std::string::npos);
}

struct BadPolygon {
  const char* what;
  std::vector<Contour> contours;
  bool closed;
  const char* alert;
};

class BadPolygonTest : public NewProfileTest, public ::testing::WithParamInterface<BadPolygon> {};

TEST_P(BadPolygonTest, IsRefusedWithAClearAlertAndNothingWritten) {
  draw(GetParam().contours, platform::kHatch, GetParam().closed);
  answerProfileDialog("Section", "Refused", "2");
  click(0, 0);
  newProfile();
  EXPECT_TRUE(alerted(GetParam().alert)) << GetParam().what;
  expectNothingMade();
  // The dialog never opened.
  EXPECT_EQ(host().dialogs().lastRecord(kProfileDialog), nullptr);
  host().dialogs().dropAnswers();
  host().pointer().dropAnswers();
}

INSTANTIATE_TEST_SUITE_P(
    Polygons, BadPolygonTest,
    ::testing::Values(
        BadPolygon{"two vertices", {{{0, 0}, {1, 0}}}, true, "The profile needs a polygon of at least three"},
        BadPolygon{"a hole of two", {{{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {{0.5, 0.5}, {1, 1}}}, true,
                   "The profile needs a polygon of at least three"},
        BadPolygon{"a bow tie", {{{0, 0}, {1, 1}, {1, 0}, {0, 1}}}, true, "The profile's polygon crosses itself"},
        BadPolygon{"a hole across the outline", {{{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {{1, 1}, {3, 1}, {3, 1.5}}}, true,
                   "The profile's polygon crosses itself"},
        BadPolygon{"no area", {{{0, 0}, {1, 0}, {2, 0}}}, true, "The profile's polygon encloses no area"},
        BadPolygon{"a corner not a number", {{{0, 0}, {std::nan(""), 0}, {1, 1}}}, true,
                   "The profile's polygon has a corner that is not a number"}));

TEST_F(NewProfileTest, WithoutAPolygonOrALibraryFolderItStopsWithItsAlert) {
  newProfile();
  EXPECT_TRUE(alerted("Please select an element with a polygon shape"));
  draw(kRectangle);
  // Without a preferences folder the project's macro adds no library folder either.
  host().setApplicationDataFolder("");
  host().setLibraryFolders({});
  newProfile();
  EXPECT_TRUE(alerted("There are no libraries to save a new profile into"));
  EXPECT_EQ(host().dialogs().lastRecord(kProfileDialog), nullptr);
}

TEST_F(NewProfileTest, AFileOfTheNameThatIsNoPartIsNeverWrittenOver) {
  std::ofstream(folder_ + "/Notes.gsm") << "my own notes\n";
  host().touchLibrary();
  draw(kRectangle);
  answerProfileDialog("Section", "Notes", "2");
  click(0, 0);
  newProfile();
  EXPECT_TRUE(alerted("The new profile could not be created in the library you selected"));
  EXPECT_EQ(readText(folder_ + "/Notes.gsm"), "my own notes\n");
  EXPECT_TRUE(objects().empty());
  host().pointer().dropAnswers();
}

// The layer for new timber hidden and locked: the question, then the layer shown and unlocked
// with the member on it, or, declined, the part kept in the library and no member placed.
TEST_F(NewProfileTest, AHiddenLockedTimberLayerIsShownAndUnlockedOnlyWhenTheUserAgrees) {
  struct Case {
    const char* answer;
    bool placed;
  } cases[] = {{"OK", true}, {"Cancel", false}};
  for (const Case& c : cases) {
    const std::string name = std::string("Layered ") + c.answer;
    model().addLayer(1, "Timber", true, true);
    draw(kRectangle);
    answerProfileDialog("Section", name, "2");
    testing_support::answerAlert(host().dialogs(), c.answer);
    click(0, 0);
    const std::size_t before = objects().size();
    newProfile();
    EXPECT_TRUE(alerted("The selected layer for new timber is either hidden or locked")) << c.answer;
    EXPECT_TRUE(fs::exists(folder_ + "/" + name + ".gsm")) << c.answer;
    EXPECT_EQ(objects().size(), before + (c.placed ? 1 : 0)) << c.answer;
    ASSERT_NE(model().layer(1), nullptr);
    EXPECT_EQ(model().layer(1)->hidden, !c.placed) << c.answer;
    EXPECT_EQ(model().layer(1)->locked, !c.placed) << c.answer;
    if (c.placed) {
      EXPECT_EQ(objects().back()->record.header.layer, 1);
    }
    EXPECT_EQ(host().openUndoSteps(), 0);
    host().pointer().dropAnswers();
  }
}

// Whichever host call fails, the command either makes its part and member or leaves neither.
class NewProfileFaults : public ProfileHost {
 protected:
  void SetUp() override {}
  void TearDown() override {}
  // Runs New Profile on a rectangle with the k-th host call of the command (of only that
  // operation, when given) failing (0: none); answers the number of calls the command made.
  int runFailing(int k, const char* only = nullptr) {
    ProfileHost::SetUp();
    standin::FaultPlan plan;
    plan.only = only;
    host_->unload();
    host_->setTable(standin::faultyTable(host_->table(), plan));
    std::string error;
    EXPECT_TRUE(host_->load(testing_support::linkedAddon(), error)) << error;
    host().newProject();
    host().setLibraryFolders({folder_});
    draw(kRectangle);
    answerProfileDialog("Section", "Faulty", "2");
    host().pointer().queue(standin::PointerAnswer::point(0, 0));
    const int start = plan.calls;
    if (k > 0) plan.failAt = start + k;
    newProfile();
    const bool made = !objects().empty();
    EXPECT_EQ(made, fs::exists(folder_ + "/Faulty.gsm")) << "call " << k;
    for (const std::string& f : partFiles()) EXPECT_EQ(f.find(".part-new"), std::string::npos) << f;
    // A step whose closing the host refused stays open in the host: nothing the add-on can mend.
    const bool closeFailed = plan.operation && std::string(plan.operation) == "HostCloseUndoStep";
    if (!closeFailed) {
      EXPECT_EQ(host().openUndoSteps(), 0) << "call " << k;
    }
    const int calls = plan.calls - start;
    ProfileHost::TearDown();
    return calls;
  }
};

TEST_F(NewProfileFaults, AFailingHostCallLeavesNoHalfMadePart) {
  const int calls = runFailing(0);
  ASSERT_GT(calls, 20);
  // The first calls, then a spread over the rest and the last calls, where the part is saved
  // and the member placed; the file's creation failing part way (found by a sweep of every
  // call) among them.
  const int step = std::max(1, calls / 12);
  std::set<int> failing;
  for (int k = 1; k <= 8 && k <= calls; ++k) failing.insert(k);
  for (int k = 1; k <= calls; k += step) failing.insert(k);
  for (int k = std::max(1, calls - 30); k <= calls; k += 3) failing.insert(k);
  for (int k : failing) runFailing(k);
  runFailing(1, "IOSetFileType");
}

}  // namespace
