// The command line as a user runs it: the built program loading the built add-on library.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "host/project/project_file.h"
#include "support/cli_runner.h"

namespace {

using testing_support::CliRun;

// Runs the command line with args; err, when given, receives its standard error.
CliRun trestlar(const std::string& args, std::string* err = nullptr) {
  CliRun run = testing_support::runTrestlar(args);
  if (err) *err = run.err;
  return run;
}

std::string fixture(const std::string& name) {
  std::ifstream in(std::string(TRESTLAR_FIXTURES) + "/" + name);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(CliTest, MenusListsEveryItemInTheHostsOrder) {
  CliRun run = trestlar("menus");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, fixture("cli/menus.txt"));
}

TEST(CliTest, HelpListsTheCommands) {
  CliRun run = trestlar("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("menus"), std::string::npos);
  EXPECT_NE(run.out.find("new [--force] PROJECT"), std::string::npos);
}

TEST(CliTest, BadInputFailsWithAMessageOnStandardError) {
  struct Case {
    const char* args;
    const char* message;
  } cases[] = {{"frobnicate", "unknown command 'frobnicate'"},
               {"--nonsense menus", "unknown option --nonsense"},
               {"menus a.trestlar b.trestlar", "menus takes at most one project file"},
               {"menus /nonexistent/x.trestlar", "/nonexistent/x.trestlar"},
               {"new", "new takes one project file"},
               {"new a.trestlar b.trestlar", "new takes one project file"},
               {"new --frob a.trestlar", "unknown option --frob for new"},
               {"new /nonexistent/x.trestlar",
                "/nonexistent/x.trestlar: cannot write the file (No such file or directory)"}};
  for (const Case& c : cases) {
    std::string err;
    CliRun run = trestlar(c.args, &err);
    EXPECT_NE(run.status, 0) << c.args;
    EXPECT_TRUE(run.out.empty()) << c.args;
    EXPECT_NE(err.find(c.message), std::string::npos) << c.args << ": " << err;
  }
}

TEST(CliTest, NewCreatesAnEmptyProjectAndReplacesAFileOnlyWhenForced) {
  std::string file = ::testing::TempDir() + "trestlar-new-" + std::to_string(::getpid()) + ".trestlar";
  std::remove(file.c_str());
  std::string err;
  CliRun run = trestlar("new " + file, &err);
  EXPECT_EQ(run.status, 0) << err;
  standin::ProjectData data;
  data.libraryFolders = {"left from before"};
  std::string error;
  ASSERT_TRUE(standin::readProjectFile(file, data, error)) << error;
  EXPECT_TRUE(data.settings == standin::ProjectSettings());
  // The add-on keeps its generated macro in its preferences folder and loads that folder.
  ASSERT_EQ(data.libraryFolders.size(), 1u);
  EXPECT_EQ(data.libraryFolders[0], ::testing::TempDir() + "Trestlar");
  EXPECT_NE(data.moduleData.find("<jointPrefs>"), std::string::npos);

  { std::ofstream(file) << "precious"; }
  run = trestlar("new " + file, &err);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(err.find(file + " exists already (use --force to replace it)"), std::string::npos) << err;
  std::stringstream kept;
  kept << std::ifstream(file).rdbuf();
  EXPECT_EQ(kept.str(), "precious");

  run = trestlar("new --force " + file, &err);
  EXPECT_EQ(run.status, 0) << err;
  EXPECT_TRUE(standin::readProjectFile(file, data, error)) << error;
  std::remove(file.c_str());
}

TEST(CliTest, AMissingAddonLibraryIsReported) {
  std::string err;
  std::string command = std::string(TRESTLAR_CLI_PATH) + " --addon /nonexistent/libtrestlar.so menus 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) err.append(buffer, n);
  int status = ::pclose(pipe);
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_NE(err.find("cannot load the add-on /nonexistent/libtrestlar.so"), std::string::npos) << err;
}

}  // namespace

namespace {

TEST(CliTest, PrefsAndMacroShowWhatTheAddonStoresAndGenerates) {
  CliRun prefs = trestlar("prefs");
  EXPECT_EQ(prefs.status, 0);
  EXPECT_EQ(prefs.out.rfind("<alignPrefs>\n", 0), 0u);
  EXPECT_NE(prefs.out.find("<timberPrefs>"), std::string::npos);

  std::string out = ::testing::TempDir() + "trestlar-macro-" + std::to_string(::getpid()) + ".gdl";
  CliRun macro = trestlar("macro -o " + out);
  EXPECT_EQ(macro.status, 0);
  EXPECT_EQ(macro.out, "wrote " + out + "\n");
  std::stringstream text;
  text << std::ifstream(out).rdbuf();
  EXPECT_EQ(text.str().rfind("if (GLOB_USER_1 = 1) then\n", 0), 0u);
  EXPECT_NE(text.str().find("\"King Post\""), std::string::npos);
  std::remove(out.c_str());
}

TEST(CliTest, APrefsProjectThatDoesNotReadIsRefusedAndKept) {
  std::string file = ::testing::TempDir() + "trestlar-bad-" + std::to_string(::getpid()) + ".trestlar";
  { std::ofstream(file) << "{ not json"; }
  std::string err;
  CliRun run = trestlar("prefs " + file, &err);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(err.find(file), std::string::npos) << err;
  std::stringstream kept;
  kept << std::ifstream(file).rdbuf();
  EXPECT_EQ(kept.str(), "{ not json");
  std::remove(file.c_str());
}

}  // namespace
