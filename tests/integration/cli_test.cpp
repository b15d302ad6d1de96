// The command line as a user runs it: the built program loading the built add-on library.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct CliRun {
  int status = -1;
  std::string out;
};

// Runs the command line with args; standard error goes to a file beside standard output.
CliRun trestlar(const std::string& args, std::string* err = nullptr) {
  std::string errFile = ::testing::TempDir() + "trestlar-cli-stderr.txt";
  std::string command = std::string(TRESTLAR_CLI_PATH) + " --addon " + TRESTLAR_MODULE_PATH + " --config " +
                        ::testing::TempDir() + " " + args + " 2>" + errFile;
  CliRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (err) {
    std::ifstream in(errFile);
    std::stringstream ss;
    ss << in.rdbuf();
    *err = ss.str();
  }
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
}

TEST(CliTest, BadInputFailsWithAMessageOnStandardError) {
  struct Case {
    const char* args;
    const char* message;
  } cases[] = {{"frobnicate", "unknown command 'frobnicate'"},
               {"--nonsense menus", "unknown option --nonsense"},
               {"menus extra", "menus takes no arguments"}};
  for (const Case& c : cases) {
    std::string err;
    CliRun run = trestlar(c.args, &err);
    EXPECT_NE(run.status, 0) << c.args;
    EXPECT_TRUE(run.out.empty()) << c.args;
    EXPECT_NE(err.find(c.message), std::string::npos) << c.args << ": " << err;
  }
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
