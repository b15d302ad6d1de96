// Session scripts and the command line name elements of every kind by their element IDs.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/cli_runner.h"

namespace {

using testing_support::CliRun;

class CliElementIds : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-ids-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
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
  const std::string project_ = std::string(TRESTLAR_FIXTURES) + "/render/members.trestlar";
  std::string dir_;
};

TEST_F(CliElementIds, PickFindsHatchesCirclesAndObjectsByTheirIds) {
  // H-1 is a hatch, C-1 a circle, OBJ-1 an object; none was named with as=.
  const std::string out = dir_ + "/out.trestlar";
  CliRun run = trestlar("run " + project_ + " " + script("pick H-1 C-1\npick OBJ-1\npick none\n") + " -o " + out);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "saved " + out + "\n");

  run = trestlar("run " + project_ + " " + script("pick H-2\n") + " -o " + out);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("line 1: no element is named \"H-2\""), std::string::npos) << run.err;
}

}  // namespace
