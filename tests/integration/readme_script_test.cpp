// The README's session-script example of the host's tools runs as it is written.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/cli_runner.h"

namespace {

using testing_support::readFile;

TEST(ReadmeScriptTest, TheToolsAndNumberingExampleRunsAsWritten) {
  const std::string readme = readFile(std::string(TRESTLAR_SOURCE_DIR) + "/README.md");
  const std::string start = "```\nplace tool Rectilinear 0 0 A=0.2 B=3.0 isSwept=1 timberName=Beam as=beam";
  const std::size_t from = readme.find(start);
  ASSERT_NE(from, std::string::npos);
  const std::size_t to = readme.find("```\n", from + 4);
  ASSERT_NE(to, std::string::npos);

  char pattern[] = "/tmp/trestlar-readme-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  const std::string script = dir + "/example.txt";
  std::ofstream(script) << readme.substr(from + 4, to - from - 4);
  const std::string out = dir + "/numbered.trestlar";
  testing_support::CliRun run = testing_support::runTrestlar(
      std::string("run ") + TRESTLAR_FIXTURES + "/cli/frame.trestlar " + script + " -o " + out, dir + "/config");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "saved " + out + "\n");
  // The members were numbered and saved.
  EXPECT_NE(readFile(out).find("TimberNo"), std::string::npos);
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

}  // namespace
