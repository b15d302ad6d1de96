// trestlar schedule as a user runs it on the bundled sample: the report, --strict, a bad
// output path, and the sample kept true to its generator.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "support/cli_runner.h"

namespace {

using testing_support::CliRun;

CliRun trestlar(const std::string& args) { return testing_support::runTrestlar(args); }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string temp(const std::string& name) { return ::testing::TempDir() + std::to_string(::getpid()) + "-" + name; }

TEST(ScheduleCli, CuttingListOfTheSample) {
  std::string out = temp("cutlist.txt");
  CliRun run = trestlar("schedule --cutlist --headings -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote " + out + "\n");
  // The purlins are not numbered: the question is asked and answered OK.
  EXPECT_NE(run.err.find("has not been numbered"), std::string::npos) << run.err;
  std::string text = readFile(out);
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "Description\tType\tNumber\tWidth\tDepth\tLength\tQuantity\tCubic Vol\tHours");
  // Six identical posts make one row.
  EXPECT_NE(text.find("Post\tGreen\t1\t0.200000\t0.200000\t3.250000\t6\t"), std::string::npos) << text;
  // Pegs left out of schedules do not count.
  EXPECT_NE(text.find("Peg\tGreen\t7\t0.025000\t0.025000\t0.500000\t2\t"), std::string::npos) << text;
}

TEST(ScheduleCli, ScheduleOfTheSampleWithoutHeadings) {
  std::string out = temp("schedule.txt");
  CliRun run = trestlar("schedule -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  std::string text = readFile(out);
  EXPECT_EQ(text.rfind("Brace\t", 0), 0u) << text;
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 31u);  // 35 members, four pegs left out
}

TEST(ScheduleCli, StrictRefusesUnnumberedMembers) {
  std::string out = temp("strict.txt");
  CliRun run = trestlar("schedule --strict -o " + out);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("not numbered (--strict)"), std::string::npos) << run.err;
  EXPECT_FALSE(std::ifstream(out).good());
}

TEST(ScheduleCli, UnwritablePathAndBadArguments) {
  CliRun run = trestlar("schedule -o " + temp("no-such-folder") + "/report.txt");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("could not be written"), std::string::npos) << run.err;
  EXPECT_EQ(trestlar("schedule --sideways").status, 1);
  EXPECT_EQ(trestlar("schedule --selection -o " + temp("sel.txt")).status, 1);
  EXPECT_EQ(trestlar("schedule --select NOPE -o " + temp("sel.txt")).status, 1);
}

TEST(ScheduleCli, SelectionReportsTheSelectedMembers) {
  std::string out = temp("selected.txt");
  CliRun run = trestlar("schedule --select PST-01,TIE-07 --selection -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  std::string text = readFile(out);
  EXPECT_EQ(text.find("Brace"), std::string::npos) << text;
  EXPECT_NE(text.find("PST-01"), std::string::npos) << text;
  EXPECT_NE(text.find("TIE-07"), std::string::npos) << text;
}

TEST(ScheduleCli, SelectionWithoutAScheduledMemberIsAnError) {
  // Pegs 32 and 33 are left out of schedules; selecting only them leaves nothing to report.
  std::string out = temp("pegs.txt");
  CliRun run = trestlar("schedule --select PEG-32,PEG-33 --selection -o " + out);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no scheduled timber member is selected"), std::string::npos) << run.err;
  EXPECT_FALSE(std::ifstream(out).good());
  // A scheduled peg beside them makes the selection usable.
  run = trestlar("schedule --select PEG-32,PEG-33,PEG-30 --selection -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(readFile(out).find("PEG-30"), std::string::npos) << readFile(out);
}

// The sample in other working units: a copy naming them, its library given by full path.
std::string sampleIn(const std::string& units) {
  std::string text = readFile(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar");
  const std::string metric = "\"workingUnits\": \"metric\"", folder = "\"library\"\n";
  std::size_t at = text.find(metric);
  std::size_t lib = text.find(folder);
  if (at == std::string::npos || lib == std::string::npos) return "";
  text.replace(lib, folder.size(), "\"" + std::string(TRESTLAR_SOURCE_DIR) + "/examples/library\"\n");
  text.replace(at, metric.size(), "\"workingUnits\": \"" + units + "\"");
  std::string path = temp(units + ".trestlar");
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(ScheduleCli, MetricUnitsScheduleInCubicMetresAndImperialOnesInCubicFeet) {
  std::string metres = temp("metres.txt");
  ASSERT_EQ(trestlar("schedule --cutlist -o " + metres).status, 0);
  // Six posts of 3.25 x 0.2 x 0.2: 0.78 cubic metres, 27.5454 cubic feet.
  ASSERT_NE(readFile(metres).find("\t6\t0.78\t"), std::string::npos) << readFile(metres);
  struct Case {
    const char* units;
    bool metric;
  } cases[] = {{"centimetres", true}, {"millimetres", true}, {"imperial", false}, {"decimalFeet", false},
               {"decimalInches", false}};
  for (const Case& c : cases) {
    std::string project = sampleIn(c.units), out = temp(std::string(c.units) + ".txt");
    ASSERT_FALSE(project.empty());
    CliRun run = trestlar("schedule " + project + " --cutlist -o " + out);
    ASSERT_EQ(run.status, 0) << c.units << ": " << run.err;
    if (c.metric) EXPECT_EQ(readFile(out), readFile(metres)) << c.units;
    else EXPECT_NE(readFile(out).find("\t6\t27.5454\t"), std::string::npos) << c.units << "\n" << readFile(out);
  }
}

TEST(ScheduleCli, TheSampleIsWhatItsGeneratorMakes) {
  std::string out = temp("barn.trestlar");
  ASSERT_EQ(trestlar("make-sample " + out).status, 0);
  EXPECT_EQ(readFile(out), readFile(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar"));
}

}  // namespace
