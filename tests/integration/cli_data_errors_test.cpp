// Data that does not read, said out loud by the command line: a project whose module data did
// not read is not saved over unless forced, and a library that did not load is named as the
// project opens and fails a schedule that would leave members out.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/cli_runner.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CliRun;
using testing_support::readFile;

void writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// Each test works in a fresh folder of its own, which is the current folder while it runs.
class CliDataErrorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-data-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
    ASSERT_NE(::getcwd(previous_, sizeof previous_), nullptr);
    ASSERT_EQ(::chdir(folder_.c_str()), 0);
    fs::create_directory("config");
    writeText("quiet.txt", "# nothing to do\n");
  }
  void TearDown() override {
    ASSERT_EQ(::chdir(previous_), 0);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  CliRun trestlar(const std::string& args) { return testing_support::runTrestlar(args, folder_ + "/config"); }
  static std::string fixture(const std::string& name) { return std::string(TRESTLAR_FIXTURES) + "/" + name; }
  // The bundled sample as barn.trestlar, its library folder as library beside it.
  void copySample() {
    fs::copy_file(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar", "barn.trestlar");
  }

  std::string folder_;
  char previous_[4096] = {};
};

TEST_F(CliDataErrorsTest, AProjectWhoseModuleDataDidNotReadIsSavedOnlyWhenForced) {
  const std::string warning =
      "Warning: The preferences stored in this project could not be read, so defaults are used in their "
      "place and saving the project would replace them (";
  struct Case {
    const char* file;
    const char* package;
  } cases[] = {{"unread-nan.trestlar", "projectPrefs"},
               {"unread-truncated.trestlar", "jointPrefs"},
               {"unread-legacy.trestlar", "projectPrefs"}};
  for (const Case& c : cases) {
    fs::copy_file(fixture(std::string("projects/") + c.file), "p.trestlar", fs::copy_options::overwrite_existing);
    const std::string before = readFile("p.trestlar");
    const std::string refusal = std::string("the project's module data did not read (") + c.package +
                                "), so saving would replace it with defaults (--force saves all the same); "
                                "nothing was saved";
    for (const char* command : {"run p.trestlar quiet.txt", "run p.trestlar quiet.txt -o out.trestlar",
                                "number p.trestlar -o out.trestlar"}) {
      CliRun run = trestlar(command);
      EXPECT_EQ(run.status, 1) << c.file << ": " << command;
      EXPECT_NE(run.err.find(warning + c.package + ")\n"), std::string::npos) << c.file << ": " << run.err;
      EXPECT_NE(run.err.find(refusal), std::string::npos) << c.file << ": " << run.err;
      EXPECT_EQ(run.out.find("saved"), std::string::npos) << run.out;
      EXPECT_EQ(readFile("p.trestlar"), before) << c.file << ": " << command;
      EXPECT_FALSE(fs::exists("out.trestlar")) << c.file << ": " << command;
    }
    // Commands that do not save warn and go on.
    CliRun prefs = trestlar("prefs p.trestlar");
    EXPECT_EQ(prefs.status, 0) << prefs.err;
    EXPECT_NE(prefs.err.find(warning + c.package + ")"), std::string::npos) << prefs.err;
    // Forced, the save goes through and the project then holds what the add-on stored.
    CliRun forced = trestlar("run --force p.trestlar quiet.txt");
    EXPECT_EQ(forced.status, 0) << c.file << ": " << forced.err;
    EXPECT_NE(readFile("p.trestlar"), before) << c.file;
    CliRun again = trestlar("run p.trestlar quiet.txt");
    EXPECT_EQ(again.status, 0) << c.file << ": " << again.err;
    EXPECT_EQ(again.err.find("Warning"), std::string::npos) << again.err;
  }
}

TEST_F(CliDataErrorsTest, AMissingLibraryFolderIsNamedAndItsScheduleFails) {
  copySample();  // no library folder beside it
  CliRun run = trestlar("schedule barn.trestlar -o out.txt");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("trestlar: barn.trestlar: library: no such folder\n"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("trestlar: barn.trestlar: some timber members' library parts are not loaded (\""),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("so the schedule would leave those members out; nothing was written"), std::string::npos)
      << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(fs::exists("out.txt"));
}

TEST_F(CliDataErrorsTest, APartFileThatDoesNotReadIsNamedAndItsScheduleFails) {
  copySample();
  fs::create_directory("library");
  for (const auto& entry : fs::directory_iterator(std::string(TRESTLAR_SOURCE_DIR) + "/library"))
    fs::copy_file(entry.path(), "library" / entry.path().filename());
  // The part of all the sample's members but its pegs.
  std::string part = readFile("library/Rectilinear.gsm");
  writeText("library/Rectilinear.gsm", part.substr(0, part.size() / 2));

  CliRun run = trestlar("schedule barn.trestlar -o out.txt");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("trestlar: barn.trestlar: library/Rectilinear.gsm: line "),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("library parts are not loaded (\"Rectilinear\"), so the schedule would leave those "
                         "members out; nothing was written"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists("out.txt"));

  // Mended, the same schedule is written and nothing is said about the library.
  writeText("library/Rectilinear.gsm", part);
  CliRun mended = trestlar("schedule barn.trestlar -o out.txt");
  EXPECT_EQ(mended.status, 0) << mended.err;
  EXPECT_EQ(mended.err.find("Rectilinear"), std::string::npos) << mended.err;
  EXPECT_TRUE(fs::exists("out.txt"));
}

}  // namespace
