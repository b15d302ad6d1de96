// trestlar run: session scripts driving the add-on's dialogs from the command line.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/cli_runner.h"

namespace {

using testing_support::CliRun;
using testing_support::readFile;

class CliRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-run-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    project_ = dir_ + "/barn.trestlar";
    ASSERT_EQ(trestlar("new " + project_).status, 0);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  CliRun trestlar(const std::string& args) { return testing_support::runTrestlar(args, dir_ + "/config"); }
  std::string script(const std::string& text) {
    std::string path = dir_ + "/script.txt";
    std::ofstream(path) << text;
    return path;
  }
  std::string dir_;
  std::string project_;
};

TEST_F(CliRunTest, AScriptAnswersTheDialogsAndTheProjectIsSavedToOut) {
  std::string before = readFile(project_);
  std::string out = dir_ + "/out.trestlar";
  CliRun run = trestlar("run " + project_ + " " + TRESTLAR_FIXTURES + "/cli/prefs.script -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "saved " + out + "\n");
  EXPECT_EQ(readFile(project_), before);
  std::string saved = readFile(out);
  for (const char* text : {"<name>Mortice</name>", "added by a script", "<additionalLength>0.12</additionalLength>",
                           "<projectNo>P-42</projectNo>", "<loadTimber>false</loadTimber>"})
    EXPECT_NE(saved.find(text), std::string::npos) << text;
  // The confirmation was answered Cancel: no default file.
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/config/Trestlar/Default Timbers.xml"));
  EXPECT_NE(run.err.find("Confirmation: Do you want this list of timbers to become the default?"), std::string::npos);

  // Without -o the project itself is saved.
  run = trestlar("run " + project_ + " " + script("dialog\n  set 6 \"JW\"\nmenu Framing/Preferences/Project...\n"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(readFile(project_).find("<personID>JW</personID>"), std::string::npos);
}

TEST_F(CliRunTest, ALineThatCannotBeCarriedOutStopsTheRunAndLeavesTheProject) {
  struct Case {
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      // The project was changed in memory by the first command; nothing of it is saved.
      {"dialog 32514\n  set 4 \"changed\"\nmenu Framing/Preferences/Project...\n\nmenu Framing/Preferences/Roofs...\n",
       "line 5: there is no menu item \"Framing/Preferences/Roofs...\" (trestlar menus lists them)"},
      {"dialog 32515\n  set 40 x\nmenu Framing/Preferences/Joints...\n",
       "line 2: dialog 32515 \"Joint Preferences\" has no item 40"},
      {"dialog 32516\n  set 17 many\nmenu Framing/Preferences/Reports...\n",
       "line 2: \"many\" is not a whole number for item 17 (int)"},
      {"dialog 32514\n  set 4 P-1\nmenu Framing/Preferences/Joints...\n",
       "line 1: the answers are for dialog 32514, but dialog 32515 \"Joint Preferences\" opened"},
      {"dialog\n  set 4 P-1\n", "line 1: these answers are followed by no menu line to use them"},
      {"alert OK\nmenu Framing/Preferences/Project...\n",
       "line 1: no alert was shown for the answer (the command of line 2 has ended)"},
      {"click 4\n", "line 1: \"click\" answers a dialog: start the answers with a \"dialog\" line"},
      {"# sawing comes later\nsaw beam\n", "line 2: unknown verb \"saw\""},
      {"place beam\n", "line 1: expected place TOOL PART X Y [NAME=VALUE...]"},
      {"set 4\n", "line 1: expected set ITEM VALUE"},
  };
  std::string before = readFile(project_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    std::string path = script(c.script);
    CliRun run = trestlar("run " + project_ + " " + path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "trestlar: " + path + ": " + c.message + "; " + project_ + " is left as it was\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(readFile(project_), before);
  }
}

}  // namespace
