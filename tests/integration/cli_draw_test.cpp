// trestlar draw: SVG pictures of a project's views from the command line.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli_runner.h"

namespace {

using testing_support::CliRun;
using testing_support::readFile;

class CliDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-draw-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    // Pictures go to the current folder by default.
    char cwd[PATH_MAX];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    cwd_ = cwd;
    ASSERT_EQ(::chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    EXPECT_EQ(::chdir(cwd_.c_str()), 0);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  CliRun trestlar(const std::string& args) { return testing_support::runTrestlar(args, dir_ + "/config"); }
  bool exists(const std::string& name) { return std::filesystem::exists(dir_ + "/" + name); }
  // The files of the folder, the configuration folder left out.
  std::size_t files() {
    std::size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) n += entry.path().filename() != "config";
    return n;
  }

  const std::string members_ = std::string(TRESTLAR_FIXTURES) + "/render/members.trestlar";
  std::string dir_;
  std::string cwd_;
};

bool isSvg(const std::string& text) {
  return text.rfind("<?xml", 0) == 0 && text.find("<svg") != std::string::npos &&
         text.size() > 6 && text.compare(text.size() - 7, 7, "</svg>\n") == 0;
}

TEST_F(CliDraw, TheSamplesPlanGoesToItsDefaultFile) {
  CliRun run = trestlar("draw");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote barn-plan.svg\n");
  EXPECT_TRUE(isSvg(readFile(dir_ + "/barn-plan.svg")));

  run = trestlar("draw --view 3D");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote barn-3d.svg\n");
  EXPECT_TRUE(isSvg(readFile(dir_ + "/barn-3d.svg")));
}

TEST_F(CliDraw, AViewsNameIsKeptToSafeCharactersInTheDefaultFileName) {
  CliRun run = trestlar("draw " + members_ + " --view 'north <&>'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote members-North____.svg\n");
  EXPECT_TRUE(isSvg(readFile(dir_ + "/members-North____.svg")));
  EXPECT_EQ(files(), 1u);
}

TEST_F(CliDraw, ADashWritesThePictureToStandardOutput) {
  CliRun run = trestlar("draw " + members_ + " --view A-A -o -");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(isSvg(run.out));
  EXPECT_EQ(files(), 0u);
}

TEST_F(CliDraw, AViewThatDoesNotExistListsTheViews) {
  CliRun run = trestlar("draw " + members_ + " --view B-B -o out.svg");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "trestlar: " + members_ + ": there is no view \"B-B\" (the views: plan, 3d, \"A-A\", \"North <&>\")\n");
  run = trestlar("draw --view elevation");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("there is no view \"elevation\" (the views: plan, 3d)"), std::string::npos) << run.err;
  EXPECT_EQ(files(), 0u);
}

TEST_F(CliDraw, AnOutputThatCannotBeWrittenIsAClearErrorAndLeavesTheOldFile) {
  CliRun run = trestlar("draw -o " + dir_ + "/no-such-folder/plan.svg");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "trestlar: " + dir_ + "/no-such-folder/plan.svg: cannot write the file (No such file or directory)\n");
  EXPECT_EQ(run.out, "");

  // An existing picture is replaced whole, or left as it was when the command fails.
  std::ofstream(dir_ + "/old.svg") << "old";
  run = trestlar("draw --view nowhere -o old.svg");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(readFile(dir_ + "/old.svg"), "old");
  run = trestlar("draw --select NO-SUCH -o old.svg");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "trestlar: " + std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar: no element has the ID \"NO-SUCH\"\n");
  EXPECT_EQ(readFile(dir_ + "/old.svg"), "old");
  run = trestlar("draw -o old.svg");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(isSvg(readFile(dir_ + "/old.svg")));
  EXPECT_EQ(files(), 1u);  // no temporary file left
}

TEST_F(CliDraw, ThePictureIsNeverWrittenOverTheProject) {
  const std::string project = dir_ + "/members.trestlar";
  std::filesystem::copy_file(members_, project);
  const std::string before = readFile(project);
  for (const std::string& out : {project, std::string("members.trestlar"), std::string("./members.trestlar")}) {
    CliRun run = trestlar("draw " + project + " -o " + out);
    EXPECT_EQ(run.status, 1) << out;
    EXPECT_NE(run.err.find(out + ": is the same file as " + project + ", which this command reads; nothing was written"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(readFile(project), before);
  }
}

TEST_F(CliDraw, SelectHighlightsElementsOfAnyKindByTheirIds) {
  CliRun plain = trestlar("draw " + members_ + " -o -");
  CliRun selected = trestlar("draw " + members_ + " --select H-1,C-1,M-BEAM -o plan.svg");
  ASSERT_EQ(plain.status, 0) << plain.err;
  ASSERT_EQ(selected.status, 0) << selected.err;
  EXPECT_EQ(selected.out, "wrote plan.svg\n");
  // The highlight's orange, (230, 97, 0), strokes the selected elements only.
  const std::string orange = "rgb(90.196078%,38.039216%,0%)";
  EXPECT_EQ(plain.out.find(orange), std::string::npos);
  EXPECT_NE(readFile(dir_ + "/plan.svg").find(orange), std::string::npos);
  // IDs with markup characters and quotes are IDs like any other.
  CliRun quoted = trestlar("draw " + members_ + " --select 'P\"<x>' -o -");
  EXPECT_EQ(quoted.status, 0) << quoted.err;
  EXPECT_NE(quoted.out.find(orange), std::string::npos);
}

TEST_F(CliDraw, TraceDrawsTheClicksAndRubberLinesOfASessionScript) {
  // The tests' pointer add-on asks for a point, a line, an arc and a polygon.
  const std::string pointer = "--addon " + std::string(TRESTLAR_POINTER_ADDON_PATH) + " ";
  std::ofstream(dir_ + "/clicks.txt") << "point 0 0\npoint 2 0\narc 0 2 cw\npolygon 2 2 0 2 back 1 3\n"
                                         "menu \"Pointer/Ask for Clicks\"\n";
  const std::string before = readFile(members_);
  CliRun run = trestlar(pointer + "draw " + members_ + " --trace clicks.txt -o trace.svg");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote trace.svg\n");
  EXPECT_NE(run.err.find("Clicks: point 0 0 0; line 2 0 0"), std::string::npos) << run.err;
  // The trace's blue, (0, 102, 204), is in the picture; the project is as it was.
  const std::string blue = "rgb(0%,40%,80%)";
  EXPECT_NE(readFile(dir_ + "/trace.svg").find(blue), std::string::npos);
  EXPECT_EQ(readFile(members_), before);
  run = trestlar(pointer + "draw " + members_ + " -o -");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find(blue), std::string::npos);

  // A script that stops draws nothing.
  std::ofstream(dir_ + "/short.txt") << "point 0 0\npoint 2 0\nmenu \"Pointer/Ask for Clicks\"\n";
  run = trestlar(pointer + "draw " + members_ + " --trace short.txt -o short.svg");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("trestlar: short.txt: line 3: \"Ask for Clicks\" asked \"Click the end of the arc\" and the "
                         "script has no arc left; nothing was drawn"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(exists("short.svg"));
  run = trestlar("draw --trace missing.txt -o missing.svg");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("trestlar: missing.txt: cannot be read"), std::string::npos) << run.err;
  run = trestlar(pointer + "draw " + members_ + " --trace clicks.txt -o clicks.txt");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("clicks.txt: is the same file as clicks.txt, which this command reads"), std::string::npos)
      << run.err;
  EXPECT_NE(readFile(dir_ + "/clicks.txt").find("point 0 0"), std::string::npos);
  EXPECT_FALSE(exists("missing.svg"));
}

TEST_F(CliDraw, TheReadmePicturesAreWhatTheCommandDraws) {
  // scripts/make-pictures draws them; run it after a change of the sample or the drawing.
  const struct {
    const char* args;
    const char* file;
  } cases[] = {{"draw -o -", "docs/barn-plan.svg"}, {"draw --view 3d -o -", "docs/barn-3d.svg"}};
  for (const auto& c : cases) {
    CliRun run = trestlar(c.args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out == readFile(std::string(TRESTLAR_SOURCE_DIR) + "/" + c.file)) << c.file << " is out of date";
  }
}

TEST_F(CliDraw, BadArgumentsAreRefused) {
  const struct {
    const char* args;
    const char* message;
  } cases[] = {{"draw --sideways", "unknown option --sideways for draw"},
               {"draw a.trestlar b.trestlar", "draw takes at most one project file"},
               {"draw --view", "--view needs a value"},
               {"draw nowhere.trestlar", "nowhere.trestlar"}};
  for (const auto& c : cases) {
    CliRun run = trestlar(c.args);
    EXPECT_EQ(run.status, 1) << c.args;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
  }
  EXPECT_EQ(files(), 0u);
}

}  // namespace

// The README's draw examples, run line by line in a folder holding the tests' small project:
// each command succeeds and writes what its comment says, and a comment that starts with
// "trestlar:" is the message of the command before it, which fails.
TEST_F(CliDraw, TheReadmesExamplesRunAsShown) {
  const std::string readme = readFile(std::string(TRESTLAR_SOURCE_DIR) + "/README.md");
  // The copy finds the library the fixture names relative to its own folder.
  std::string project = readFile(members_);
  const std::string relative = "\"../../../library\"";
  ASSERT_NE(project.find(relative), std::string::npos);
  project.replace(project.find(relative), relative.size(), "\"" + std::string(TRESTLAR_SOURCE_DIR) + "/library\"");
  std::ofstream(dir_ + "/members.trestlar") << project;
  std::ofstream(dir_ + "/clicks.txt") << "point 0 0\npoint 2 0\narc 0 2 cw\npolygon 2 2 0 2 back 1 3\n"
                                         "menu \"Pointer/Ask for Clicks\"\n";
  const std::string addon = "build/ci/tests/lib/libtrestlar_pointer_addon.so";
  int commands = 0;
  for (const char* lead : {"\"North <&>\"):", "over that project's plan:"}) {
    std::size_t at = readme.find(lead);
    ASSERT_NE(at, std::string::npos) << lead;
    std::size_t start = readme.find('\n', readme.find("```", at)) + 1, end = readme.find("\n```", start);
    std::istringstream text(readme.substr(start, end - start));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      SCOPED_TRACE(line);
      if (line.rfind("# trestlar:", 0) == 0) continue;
      const bool fails = i + 1 < lines.size() && lines[i + 1].rfind("# trestlar:", 0) == 0;
      ASSERT_EQ(line.rfind("trestlar ", 0), 0u);
      std::string command = line.substr(9), comment;
      std::size_t hash = command.find(" #");
      if (hash != std::string::npos) {
        comment = command.substr(command.find_first_not_of(' ', hash + 2));
        command = command.substr(0, command.find_last_not_of(' ', hash) + 1);
      }
      std::size_t lib = command.find(addon);
      if (lib != std::string::npos) command.replace(lib, addon.size(), TRESTLAR_POINTER_ADDON_PATH);
      CliRun run = trestlar(command);
      ++commands;
      if (fails) {
        EXPECT_NE(run.status, 0);
        EXPECT_EQ(run.err, lines[i + 1].substr(2) + "\n");
        continue;
      }
      EXPECT_EQ(run.status, 0) << run.err;
      if (comment.rfind("wrote ", 0) == 0) {
        EXPECT_EQ(run.out, comment + "\n");
      }
    }
  }
  EXPECT_EQ(commands, 6);
}
