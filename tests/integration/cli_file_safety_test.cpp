// What every command of the command line does with the files it writes: never over an input,
// never over anything but a regular file, a read-only file only when forced, nothing at all
// once the command has failed, and no claim of success it did not earn.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli_runner.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CliRun;
using testing_support::readFile;

void writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

bool isFifo(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

mode_t modeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The refusals and failures as the README shows them.
const char* const kSameFileRefusal =
    "trestlar: barn.trestlar: is the same file as barn.trestlar, which this command reads; nothing was written";
const char* const kReadOnlyRefusal =
    "trestlar: out.txt: is read-only (--force replaces it and keeps it read-only); nothing was written";
const char* const kFifoRefusal = "trestlar: pipe: is not a regular file, so it is not replaced; nothing was written";
const char* const kAlertFailure =
    "trestlar: the add-on reported an error (\"The default list could not be written into the preferences "
    "folder\"), so nothing was saved";
const char* const kFailedCall = "trestlar: host call 1 (MemInit) was made to fail, so the add-on could not be loaded";

// The lines of the README's fenced block that follows the paragraph ending in lead.
std::vector<std::string> readmeBlockAfter(const std::string& lead) {
  const std::string readme = readFile(std::string(TRESTLAR_SOURCE_DIR) + "/README.md");
  std::vector<std::string> lines;
  std::size_t at = readme.find(lead);
  if (at == std::string::npos) return lines;
  std::size_t open = readme.find("```", at);
  if (open == std::string::npos) return lines;
  std::size_t start = readme.find('\n', open) + 1, end = readme.find("\n```", start);
  if (start == 0 || end == std::string::npos) return lines;
  std::istringstream text(readme.substr(start, end - start));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

// A script that changes nothing but the session's records.
const char* const kQuietScript = "# nothing to do\n";

// Each test works in a fresh folder of its own, which is the current folder while it runs:
// the bundled sample as barn.trestlar (its library folder linked beside it), a script and a
// configuration folder of its own.
class CliFileSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-files-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
    ASSERT_NE(::getcwd(previous_, sizeof previous_), nullptr);
    ASSERT_EQ(::chdir(folder_.c_str()), 0);
    fs::copy_file(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar", "barn.trestlar");
    fs::create_directory_symlink(std::string(TRESTLAR_SOURCE_DIR) + "/library", "library");
    fs::create_directory("sub");
    fs::create_directory("config");
    writeText("quiet.txt", kQuietScript);
    project_ = readFile("barn.trestlar");
    ASSERT_FALSE(project_.empty());
  }
  void TearDown() override {
    ASSERT_EQ(::chdir(previous_), 0);
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
  }

  CliRun trestlar(const std::string& args) { return testing_support::runTrestlar(args, folder_ + "/config"); }

  // The names in the test's folder, sorted, without the configuration folder.
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(folder_))
      if (entry.path().filename() != "config") out.push_back(entry.path().filename());
    std::sort(out.begin(), out.end());
    return out;
  }

  std::string folder_;
  char previous_[4096] = {};
  std::string project_;  // the bytes of barn.trestlar
};

TEST_F(CliFileSafetyTest, AnOutputThatIsAnInputIsRefusedWhateverNamesIt) {
  fs::create_hard_link("barn.trestlar", "hard.trestlar");
  fs::create_symlink("barn.trestlar", "soft.trestlar");
  fs::create_hard_link("quiet.txt", "script-link.txt");
  const std::vector<std::string> before = names();
  const char* const commands[] = {
      "schedule barn.trestlar -o barn.trestlar",
      "schedule barn.trestlar -o ./sub/../barn.trestlar",
      "schedule barn.trestlar -o hard.trestlar",
      "schedule barn.trestlar -o soft.trestlar",
      "schedule barn.trestlar --cutlist --force -o soft.trestlar",
      "macro barn.trestlar -o barn.trestlar",
      "macro barn.trestlar -o ./sub/../barn.trestlar",
      "macro barn.trestlar -o hard.trestlar",
      "macro barn.trestlar -o soft.trestlar",
      "run barn.trestlar quiet.txt -o quiet.txt",
      "run barn.trestlar quiet.txt -o ./sub/../quiet.txt",
      "run barn.trestlar quiet.txt -o script-link.txt",
  };
  for (const char* command : commands) {
    CliRun run = trestlar(command);
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_EQ(run.out, "") << command;
    EXPECT_NE(run.err.find(": is the same file as "), std::string::npos) << command << ": " << run.err;
    EXPECT_EQ(readFile("barn.trestlar"), project_) << command;
    EXPECT_EQ(readFile("quiet.txt"), kQuietScript) << command;
    EXPECT_EQ(names(), before) << command;
  }
  // As the README shows it.
  EXPECT_EQ(trestlar("schedule barn.trestlar -o barn.trestlar").err,
            std::string(kSameFileRefusal) + "\n");

  // Saving a project over its own file is what number and run do without -o.
  for (const char* command : {"number barn.trestlar -o ./sub/../barn.trestlar", "run barn.trestlar quiet.txt"}) {
    CliRun run = trestlar(command);
    EXPECT_EQ(run.status, 0) << command << ": " << run.err;
  }
}

TEST_F(CliFileSafetyTest, OnlyARegularFileIsReplaced) {
  ASSERT_EQ(::mkfifo("pipe", 0644), 0);
  fs::create_symlink("pipe", "to-pipe");
  fs::create_directory("folder");
  const std::vector<std::string> before = names();
  const char* const outputs[] = {"pipe", "to-pipe", "folder"};
  const char* const commands[] = {"schedule barn.trestlar -o ", "macro barn.trestlar -o ",
                                  "number barn.trestlar -o ",   "run barn.trestlar quiet.txt -o ",
                                  "new --force ",               "number barn.trestlar --force -o "};
  for (const char* output : outputs) {
    for (const char* command : commands) {
      const std::string args = command + std::string(output);
      CliRun run = trestlar(args);
      EXPECT_EQ(run.status, 1) << args;
      EXPECT_EQ(run.out, "") << args;
      const std::string refusal = ": is not a regular file, so it is not replaced; nothing was written";
      EXPECT_NE(run.err.find(output + refusal), std::string::npos) << args << ": " << run.err;
      EXPECT_TRUE(isFifo("pipe")) << args;
      EXPECT_TRUE(fs::is_directory("folder") && fs::is_empty("folder")) << args;
      EXPECT_EQ(readFile("barn.trestlar"), project_) << args;
      EXPECT_EQ(names(), before) << args;
    }
  }
  EXPECT_EQ(trestlar("schedule barn.trestlar -o pipe").err,
            std::string(kFifoRefusal) + "\n");
}

TEST_F(CliFileSafetyTest, AReadOnlyFileIsReplacedOnlyWhenForcedAndStaysReadOnly) {
  const std::string readOnly = ": is read-only (--force replaces it and keeps it read-only); nothing was written";
  struct Case {
    const char* command;  // the output is out.txt, or the project itself
    const char* output;
    std::string refusal;  // what the refusal says after the output's name
    bool changes;         // the forced run writes other bytes
  } cases[] = {
      {"schedule barn.trestlar -o out.txt", "out.txt", readOnly, true},
      {"macro barn.trestlar -o out.txt", "out.txt", readOnly, true},
      {"number barn.trestlar -o out.txt", "out.txt", readOnly, true},
      {"run barn.trestlar quiet.txt -o out.txt", "out.txt", readOnly, true},
      {"new out.txt", "out.txt", " exists already (use --force to replace it)", true},
      {"number barn.trestlar", "barn.trestlar", readOnly, true},
      {"run barn.trestlar quiet.txt", "barn.trestlar", readOnly, false},
  };
  for (const Case& c : cases) {
    fs::copy_file(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar", "barn.trestlar",
                  fs::copy_options::overwrite_existing);
    std::remove("out.txt");
    writeText("out.txt", "old text\n");
    ::chmod(c.output, 0444);
    const std::string before = readFile(c.output);

    CliRun refused = trestlar(c.command);
    EXPECT_EQ(refused.status, 1) << c.command;
    EXPECT_EQ(refused.out, "") << c.command;
    EXPECT_NE(refused.err.find(c.output + c.refusal), std::string::npos) << c.command << ": " << refused.err;
    EXPECT_EQ(readFile(c.output), before) << c.command;
    EXPECT_EQ(modeOf(c.output), 0444u) << c.command;

    std::string forced = c.command;
    forced.insert(forced.find(' '), " --force");
    CliRun run = trestlar(forced);
    EXPECT_EQ(run.status, 0) << forced << ": " << run.err;
    if (c.changes) {
      EXPECT_NE(readFile(c.output), before) << forced;
    }
    EXPECT_EQ(modeOf(c.output), 0444u) << forced;
    ::chmod(c.output, 0644);
  }
  writeText("out.txt", "old text\n");
  ::chmod("out.txt", 0444);
  EXPECT_EQ(trestlar("schedule barn.trestlar -o out.txt").err,
            std::string(kReadOnlyRefusal) + "\n");
}

TEST_F(CliFileSafetyTest, ACommandThatRaisedAnErrorAlertFailsAndWritesNothing) {
  // A file where the add-on's preferences folder would be: the macro cannot be written when
  // the project opens, and the add-on says so in an error alert.
  writeText("config/Trestlar", "in the way\n");
  const std::string alert = "The project preferences could not be updated. All timbers may not work correctly";
  const char* const commands[] = {"schedule barn.trestlar -o report.txt", "macro barn.trestlar",
                                  "macro barn.trestlar -o report.txt",   "number barn.trestlar",
                                  "run barn.trestlar quiet.txt",         "prefs barn.trestlar",
                                  "new report.txt"};
  const std::vector<std::string> before = names();
  for (const char* command : commands) {
    CliRun run = trestlar(command);
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_EQ(run.out, "") << command;
    EXPECT_NE(run.err.find("Error: " + alert + "\n"), std::string::npos) << command << ": " << run.err;
    EXPECT_NE(run.err.find("trestlar: the add-on reported an error (\"" + alert + "\")"), std::string::npos)
        << command << ": " << run.err;
    EXPECT_EQ(readFile("barn.trestlar"), project_) << command;
    EXPECT_EQ(names(), before) << command;
  }
}

TEST_F(CliFileSafetyTest, AScriptWhoseCommandShowedAnErrorIsNotSaved) {
  // "Make Default" cannot write where a folder stands in the way of the default file.
  fs::create_directories("config/Trestlar/Default Joints.xml");
  writeText("make-default.txt",
            "dialog 32515\n  click 16\n  alert OK\n  cancel\nmenu Framing/Preferences/Joints...\n");
  CliRun run = trestlar("run barn.trestlar make-default.txt -o copy.trestlar");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "Confirmation: Do you want this list of joints to become the default?\n"
            "Error: The default list could not be written into the preferences folder\n" +
                std::string(kAlertFailure) + "\n");
  EXPECT_FALSE(fs::exists("copy.trestlar"));
  EXPECT_EQ(readFile("barn.trestlar"), project_);
}

TEST_F(CliFileSafetyTest, AFailedHostCallFailsTheCommandAndWritesNothing) {
  // The fault-free results first.
  CliRun clean = trestlar("schedule barn.trestlar --cutlist -o clean.txt");
  ASSERT_EQ(clean.status, 0) << clean.err;
  CliRun numbered = trestlar("number barn.trestlar -o numbered.trestlar");
  ASSERT_EQ(numbered.status, 0) << numbered.err;
  writeText("align.txt", "pick PST-01 PST-08 PST-18\nmenu Alignment/Align Front\n");
  CliRun aligned = trestlar("run barn.trestlar align.txt -o aligned.trestlar");
  ASSERT_EQ(aligned.status, 0) << aligned.err;
  const std::vector<std::string> before = names();

  struct Command {
    const char* args;
    const char* output;  // what it writes
    const char* clean;   // the fault-free file
  } commands[] = {{"schedule barn.trestlar --cutlist -o out.txt", "out.txt", "clean.txt"},
                  {"number barn.trestlar", "barn.trestlar", "numbered.trestlar"},
                  {"run barn.trestlar align.txt", "barn.trestlar", "aligned.trestlar"}};
  for (const Command& c : commands) {
    // K doubles until it lies past the calls the command makes: that run is the fault-free one.
    bool passed = false;
    for (int k = 1; k < (1 << 24) && !passed; k *= 2) {
      fs::copy_file(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar", "barn.trestlar",
                    fs::copy_options::overwrite_existing);
      const std::string args = "--fail-host-call " + std::to_string(k) + " " + c.args;
      CliRun run = trestlar(args);
      if (run.status == 0) {
        passed = true;
        EXPECT_EQ(run.err.find("was made to fail"), std::string::npos) << args;
        EXPECT_EQ(readFile(c.output), readFile(c.clean)) << args;
        continue;
      }
      EXPECT_EQ(run.status, 1) << args;
      EXPECT_EQ(run.out.find("wrote"), std::string::npos) << args;
      EXPECT_EQ(run.out.find("saved"), std::string::npos) << args;
      EXPECT_NE(run.err.find("host call " + std::to_string(k) + " ("), std::string::npos) << args << ": " << run.err;
      EXPECT_EQ(readFile("barn.trestlar"), project_) << args;
      EXPECT_EQ(names(), before) << args;
    }
    EXPECT_TRUE(passed) << c.args;
    std::remove("out.txt");
  }

  // As the README shows it.
  CliRun first = trestlar("--fail-host-call 1 prefs");
  EXPECT_EQ(first.status, 1);
  EXPECT_EQ(first.out, "");
  EXPECT_EQ(first.err, std::string(kFailedCall) + "\n");

  for (const char* bad : {"0", "-3", "x", "1.5", ""}) {
    CliRun run = trestlar(std::string("--fail-host-call '") + bad + "' menus");
    EXPECT_EQ(run.status, 1) << bad;
    EXPECT_NE(run.err.find("--fail-host-call takes a whole number from 1"), std::string::npos) << bad;
  }
}

TEST_F(CliFileSafetyTest, TheHelpNamesTheRuleAndTheTestingOption) {
  CliRun run = trestlar("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("[--fail-host-call K]"), std::string::npos);
  EXPECT_NE(run.out.find("never writes over a file it reads"), std::string::npos);
  EXPECT_NE(run.out.find("schedule [PROJECT]"), std::string::npos);
}

}  // namespace

TEST(CliFileSafetyReadme, ShowsTheRefusalsAndFailuresTheCommandsGive) {
  EXPECT_EQ(readmeBlockAfter("A refusal is a message naming the file and the reason"),
            (std::vector<std::string>{kSameFileRefusal, kReadOnlyRefusal, kFifoRefusal, kAlertFailure}));
  EXPECT_EQ(readmeBlockAfter("the message names the call:"),
            (std::vector<std::string>{"$ trestlar --fail-host-call 1 prefs", kFailedCall}));
}
