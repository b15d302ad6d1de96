// trestlar run: session scripts driving the add-on's dialogs from the command line.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

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

// Hostile input to every verb: each is refused with the line it is on, and the project is
// left as it was.
TEST_F(CliRunTest, HostileValuesAreRefusedWithTheirLine) {
  struct Case {
    std::string script;
    std::string message;
  };
  const std::string place = "place tool Rectilinear 0 0 ";
  const Case cases[] = {
      {place + "as=b\nchange b TimberNo=abc\n",
       "line 2: TimberNo takes a whole number from -32768 to 32767; \"abc\" is not one"},
      {place + "TimberNo=1e300\n", "line 1: TimberNo takes a whole number from -32768 to 32767; \"1e300\" is not one"},
      {place + "TimberNo=2.5\n", "line 1: TimberNo takes a whole number from -32768 to 32767; \"2.5\" is not one"},
      {place + "length=nan\n", "line 1: \"nan\" is not a number (length)"},
      {place + "length=inf\n", "line 1: \"inf\" is not a number (length)"},
      {place + "length=1e400\n", "line 1: \"1e400\" is not a number (length)"},
      {place + "length=0x10\n", "line 1: \"0x10\" is not a number (length)"},
      {"place tool Rectilinear 1e300 0\n",
       "line 1: \"1e300\" is out of range (x): lengths are at most 1000 km either way"},
      {place + "angle=nan\n", "line 1: \"nan\" is not a number (angle)"},
      {place + "bogus=3\n", "line 1: the part \"Rectilinear\" has no parameter \"bogus\""},
      {place + "A=0\n", "line 1: A sizes the box and must be above 0; \"0\" is not"},
      {place + "cutAngle=1\n", "line 1: cutAngle is an array; a script sets only single values"},
      {place + "geometry=1\n", "line 1: geometry is a title and takes no value"},
      {place + "isSwept=2\n", "line 1: isSwept is a switch: on or off (1 or 0); \"2\" is neither"},
      {place + "length=3 LENGTH=4\n", "line 1: LENGTH is given twice"},
      {place + "timberName=" + std::string(256, 'x') + "\n",
       "line 1: timberName takes at most 255 bytes of text; the value has 256"},
      {place + "timberName=\xff\xfe\n", "line 1: timberName takes UTF-8 text, which the value is not"},
      {place + "as=\n", "line 1: as= needs a name"},
      {place + "view=\n", "line 1: there is no section or elevation \"\""},
      {place + "as=b\nchange b cutAngle=0\n", "line 2: cutAngle is an array; a script sets only single values"},
      {place + "as=b\ncopy b 1 0 as=c as=d\n", "line 2: as= is given twice"},
      {place + "as=b\nmove b 1 0 as=c\n", "line 2: \"as=c\" is not a number (a distance)"},
      {place + "as=b\nstretch b 1e7\n",
       "line 2: \"1e7\" is out of range (the change of A): lengths are at most 1000 km either way"},
      {place + "as=b\nresize b 1 1 nan\n", "line 2: \"nan\" is not a number (the height)"},
      {"place tool Rectilinear 999999 0\ncopy last 2 0\n", "line 2: the element would land more than 1000 km away"},
      {std::string("dialog 32514\n  set 4 \"P-") + '\0' + "-1\"\nmenu Framing/Preferences/Project...\n",
       "line 2: a text holds the control character 0x00"},
      {"dialog 32514\n  set 4 \"P\t1\"\nmenu Framing/Preferences/Project...\n",
       "line 2: a text holds the control character 0x09"},
      {"dialog 32514\n  set 4 \x1b[31mred\nmenu Framing/Preferences/Project...\n",
       "line 2: the line holds the control character 0x1B"},
      // "#2" is a word, not a comment: the choice reaches the dialog, which has no pop-up there.
      {"dialog 32514\n  choose 4 #2\nmenu Framing/Preferences/Project...\n",
       "line 2: item 4 (text) is no pop-up"},
      {"save-file \"\"\n", "line 1: save-file needs a path (or cancel)"},
      {"point 0x10 0\n", "line 1: \"0x10\" is not a number (x)"},
      {"polygon 1 1 2 2e7\n",
       "line 1: \"2e7\" is no coordinate a pointer gives (y of a vertex): positions are at most 1000 km either way"},
  };
  const std::string project = std::string(TRESTLAR_FIXTURES) + "/cli/frame.trestlar";
  const std::string before = readFile(project);
  const std::string out = dir_ + "/out.trestlar";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    std::string path = script(c.script);
    CliRun run = trestlar("run " + project + " " + path + " -o " + out);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "trestlar: " + path + ": " + c.message + "; " + project + " is left as it was\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(out));
  }
  EXPECT_EQ(readFile(project), before);

  // A folder given as the script does not run as an empty script.
  std::filesystem::create_directory(dir_ + "/folder");
  CliRun run = trestlar("run " + project_ + " " + dir_ + "/folder");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "trestlar: " + dir_ + "/folder: is a folder, not a script; " + project_ + " is left as it was\n");
}

// What a user types into the settings dialog is taken as the dialog takes it.
TEST_F(CliRunTest, ParameterValuesAreReadByTheirKind) {
  const std::string out = dir_ + "/out.trestlar";
  CliRun run = trestlar("run " + std::string(TRESTLAR_FIXTURES) + "/cli/frame.trestlar " +
                        script("\xEF\xBB\xBFplace object Rectilinear 250cm -0.5 z=1e-1 length=2500mm TimberNo=-7 "
                               "isSwept=off IncInSched=ON timberName=\"Wall plate\" ZZYZX=0.3m as=p\n"
                               "change p TimberNo=+12 profWide=.15 incline=0.25\n") +
                        " -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json saved = nlohmann::json::parse(readFile(out));
  ASSERT_EQ(saved["elements"].size(), 1u);
  const nlohmann::json& e = saved["elements"][0];
  EXPECT_DOUBLE_EQ(e["record"]["x"].get<double>(), 2.5);
  EXPECT_DOUBLE_EQ(e["record"]["y"].get<double>(), -0.5);
  EXPECT_DOUBLE_EQ(e["record"]["level"].get<double>(), 0.1);
  std::map<std::string, nlohmann::json> values;
  for (const auto& p : e["parameters"])
    if (p.contains("value")) values[p["name"].get<std::string>()] = p["value"];
  EXPECT_DOUBLE_EQ(values["length"].get<double>(), 2.5);
  EXPECT_EQ(values["TimberNo"].get<double>(), 12);
  EXPECT_EQ(values["isSwept"], false);
  EXPECT_EQ(values["IncInSched"], true);
  EXPECT_EQ(values["timberName"], "Wall plate");
  EXPECT_DOUBLE_EQ(values["ZZYZX"].get<double>(), 0.3);
  EXPECT_DOUBLE_EQ(values["profWide"].get<double>(), 0.15);
  EXPECT_DOUBLE_EQ(values["incline"].get<double>(), 0.25);
}

}  // namespace
