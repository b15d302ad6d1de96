// trestlar run with clicks: the pointer verbs of session scripts answering a command's input
// requests, through the tests' pointer add-on (tests/pointer_addon), and --verbose.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/cli_runner.h"

namespace {

using testing_support::CliRun;
using testing_support::readFile;

const char kMenu[] = "menu \"Pointer/Ask for Clicks\"\n";

class PointerCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-pointer-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    project_ = dir_ + "/p.trestlar";
    ASSERT_EQ(pointer("new " + project_).status, 0);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  // trestlar with the pointer add-on.
  CliRun pointer(const std::string& args) {
    return testing_support::runTrestlar("--addon " + std::string(TRESTLAR_POINTER_ADDON_PATH) + " " + args,
                                        dir_ + "/config");
  }
  std::string script(const std::string& text) {
    std::string path = dir_ + "/clicks.txt";
    std::ofstream(path) << text;
    return path;
  }
  std::string dir_;
  std::string project_;
};

TEST_F(PointerCliTest, TheReadmeExampleAnswersEveryRequestAndTellsWhatEachAsked) {
  const std::string example = readFile(std::string(TRESTLAR_FIXTURES) + "/cli/pointer.script");
  const std::string expected =
      "prompt \"Click a point\" (a point): point 0 0 (line 2)\n"
      "prompt \"Click the end of the line\" (the end of a line): point 2 0 (line 3)\n"
      "prompt \"Click the end of the arc\" (an arc): arc 0 2 cw (line 4)\n"
      "prompt \"Click the polygon's vertices\" (a polygon): polygon 2 2 0 2 back 1 3 (line 5)\n"
      "Clicks: point 0 0 0; line 2 0 0; arc 0 2 0 angle 1.5708; polygon 0 2 0, 2 2 0, 1 3 0\n"
      "alert answered \"OK\" (the script has no answer for it)\n";
  const std::string readme = readFile(std::string(TRESTLAR_SOURCE_DIR) + "/README.md");
  EXPECT_NE(readme.find("```\n" + example + "```\n"), std::string::npos);
  EXPECT_NE(readme.find("```\n" + expected + "```\n"), std::string::npos);

  CliRun run = pointer("run " + project_ + " " + script(example) + " --verbose");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "saved " + project_ + "\n");
  EXPECT_EQ(run.err, expected);
  // Without --verbose only the command's own alert shows.
  run = pointer("run " + project_ + " " + script(example));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "Clicks: point 0 0 0; line 2 0 0; arc 0 2 0 angle 1.5708; polygon 0 2 0, 2 2 0, 1 3 0\n");
}

TEST_F(PointerCliTest, AScriptThatRunsOutOfClicksStopsNamingTheCommandAndItsPrompt) {
  const std::string before = readFile(project_);
  const std::string path = script("# trestlar run\npoint 0 0\npoint 2 0\n" + std::string(kMenu));
  CliRun run = pointer("run " + project_ + " " + path);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  // The command itself stops cleanly first: it was cancelled at the arc.
  EXPECT_EQ(run.err, "Clicks: cancelled at the arc\ntrestlar: " + path +
                         ": line 4: \"Ask for Clicks\" asked \"Click the end of the arc\" and the script has no arc "
                         "left; " + project_ + " is left as it was\n");
  EXPECT_EQ(readFile(project_), before);
  const std::string readme = readFile(std::string(TRESTLAR_SOURCE_DIR) + "/README.md");
  EXPECT_NE(readme.find("trestlar: clicks.txt: line 4: \"Ask for Clicks\" asked \"Click the end of the arc\" and the "
                        "script has no arc left; p.trestlar is left as it was"),
            std::string::npos);
}

TEST_F(PointerCliTest, EscapeCancelsTheRequestAndTheRunGoesOn) {
  CliRun run = pointer("run " + project_ + " " +
                       script("point 1 1\nescape\n" + std::string(kMenu) + "escape\n" + kMenu +
                              "point 0 0\npoint 2 0\nescape\n" + kMenu));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "Clicks: cancelled at the line\nClicks: cancelled at the point\nClicks: cancelled at the arc\n");
  EXPECT_EQ(run.out, "saved " + project_ + "\n");
}

TEST_F(PointerCliTest, ALineThatCannotBeCarriedOutStopsTheRunWithItsLine) {
  struct Case {
    std::string script;
    std::string message;
  };
  const std::string all = "point 0 0\npoint 2 0\narc 0 2\npolygon 1 1 2 2\n";
  const Case cases[] = {
      // The wrong verb for a request.
      {"polygon 1 1 2 2\n" + std::string(kMenu),
       "line 1: \"Ask for Clicks\" (line 2) asked \"Click a point\" and the script answers with \"polygon\" where "
       "\"point\" or \"escape\" is wanted"},
      {"point 0 0\narc 1 1\n" + std::string(kMenu),
       "line 2: \"Ask for Clicks\" (line 3) asked \"Click the end of the line\" and the script answers with \"arc\" "
       "where \"point\" or \"escape\" is wanted"},
      {"point 0 0\npoint 2 0\npoint 0 2\n" + std::string(kMenu),
       "line 3: \"Ask for Clicks\" (line 4) asked \"Click the end of the arc\" and the script answers with \"point\" "
       "where \"arc\" or \"escape\" is wanted"},
      // Coordinates that do not read or that no pointer gives.
      {"point 0 zero\n", "line 1: \"zero\" is not a number (y)"},
      {"point 0 0 1m\n", "line 1: \"1m\" is not a number (z)"},
      {"point nan 0\n", "line 1: \"nan\" is no coordinate a pointer gives (x)"},
      {"arc 1 inf cw\n", "line 1: \"inf\" is no coordinate a pointer gives (y)"},
      {"polygon 1 1 -1e999 2\n", "line 1: \"-1e999\" is no coordinate a pointer gives (x of a vertex)"},
      {"arc 1 2 ccw\n", "line 1: \"ccw\" is not a number (z)"},
      {"arc 1 2 3 4\n", "line 1: expected arc X Y [Z] [cw]"},
      {"point 1 2 3 4\n", "line 1: expected point X Y [Z]"},
      {"escape now\n", "line 1: expected escape"},
      // Polygons of too few vertices.
      {"polygon 1 1\n", "line 1: the polygon adds 1 vertex to its first one; it takes at least 2"},
      {"polygon 1 1 2 2 back\n", "line 1: the polygon adds 1 vertex to its first one; it takes at least 2"},
      {"polygon back 1 1 2 2\n", "line 1: \"back\" takes back more vertices than the polygon has added"},
      {"polygon 1 1 2\n", "line 1: the vertex \"2\" has no y (a vertex is X Y)"},
      // Answers nobody takes.
      {"point 0 0\n", "line 1: this answer is followed by no menu line to use it"},
      {all + "point 5 5\n" + kMenu, "line 5: no input request took the answer (the command of line 6 has ended)"},
      // A pointer verb ends a dialog block.
      {"dialog\npoint 0 0\nset 4 x\n", "line 3: \"set\" answers a dialog: start the answers with a \"dialog\" line"},
  };
  const std::string before = readFile(project_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    const std::string path = script(c.script);
    CliRun run = pointer("run " + project_ + " " + path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    const std::string last = "trestlar: " + path + ": " + c.message + "; " + project_ + " is left as it was\n";
    ASSERT_GE(run.err.size(), last.size()) << run.err;
    EXPECT_EQ(run.err.substr(run.err.size() - last.size()), last);
    EXPECT_EQ(readFile(project_), before);
  }
}

TEST_F(PointerCliTest, VerboseTellsEachDialogAndAlertWithTheScriptsAnswer) {
  const std::string path = script(
      "dialog 32516\n  click 27\n  cancel\nalert Cancel\nmenu Framing/Preferences/Reports...\n"
      "menu Framing/Preferences/Project...\n");
  CliRun run = testing_support::runTrestlar("run " + project_ + " " + path + " --verbose", dir_ + "/config");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err,
            "dialog 32516 \"Reports Preferences\" opens: the answers of line 1\n"
            "Confirmation: Do you want this list of timbers to become the default?\n"
            "alert answered \"Cancel\" (line 4)\n"
            "dialog 32516 \"Reports Preferences\" closes with item 2\n"
            "dialog 32514 \"Project Preferences\" opens: the script has no answers for it\n"
            "dialog 32514 \"Project Preferences\" closes with item 1\n");
}

}  // namespace
