// trestlar schedule as a user runs it on the bundled sample: the report, --strict, a bad
// output path, and the sample kept true to its generator.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

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

// Sets a parameter of a project file's element: its type and value, or drops it (null type).
void setParameter(nlohmann::json& element, const std::string& name, const char* type, nlohmann::json value) {
  nlohmann::json& list = element["parameters"];
  for (auto it = list.begin(); it != list.end(); ++it)
    if ((*it)["name"] == name) {
      if (!type) {
        list.erase(it);
        return;
      }
      (*it)["type"] = type;
      (*it)["value"] = std::move(value);
      return;
    }
}

TEST(ScheduleCli, HostileMembersKeepTheReportSound) {
  nlohmann::json barn = nlohmann::json::parse(readFile(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar"));
  barn["library"]["folders"] = {std::string(TRESTLAR_SOURCE_DIR) + "/examples/library"};
  nlohmann::json post;
  for (const nlohmann::json& e : barn["elements"])
    if (e["id"] == "PST-01") post = e;
  ASSERT_FALSE(post.is_null());
  using Change = std::function<void(nlohmann::json&)>;
  const std::vector<std::pair<std::string, Change>> members{
      {"TAB-01", [](nlohmann::json& e) { setParameter(e, "timberName", "string", "Brace\tleft\r\nside"); }},
      {"NEG-01", [](nlohmann::json& e) { setParameter(e, "numCuts", "integer", -3); }},
      {"SPT-01", [](nlohmann::json& e) { setParameter(e, "spotCount", "integer", 1000); }},
      {"SPX-01", [](nlohmann::json& e) { setParameter(e, "spots", "length", {{0, 0}, {1, 1}}); }},
      {"SPS-01", [](nlohmann::json& e) { setParameter(e, "spots", "string", {{"a", "b", "c"}, {"d", "e", "f"}}); }},
      {"CUT-01", [](nlohmann::json& e) { setParameter(e, "cutAngle", "angle", {0, 0}); }},
      // A version-1 tapered member claiming as many cuts as 32 bits hold: its upgrade turns
      // only the cut rows there are.
      {"V1-01",
       [](nlohmann::json& e) {
         e["libraryPart"] = "Tapered Timber";
         e["userData"]["data"] = "TAPR";
         setParameter(e, "lunvik_version", "integer", 1);
         setParameter(e, "vAnchor", "string", "Bottom");
         setParameter(e, "hAnchor", "string", "Centre");
         setParameter(e, "numCuts", "real", 2147483647);
       }},
  };
  barn["elements"] = nlohmann::json::array();
  int n = 0;
  for (const auto& m : members) {
    nlohmann::json e = post;
    char guid[40];
    std::snprintf(guid, sizeof guid, "54524553-0000-4000-0000-%012X", ++n);
    e["guid"] = guid;
    e["id"] = m.first;
    e["record"]["x"] = 2.0 * n;
    m.second(e);
    barn["elements"].push_back(e);
  }
  std::string project = temp("hostile.trestlar"), out = temp("hostile.txt");
  std::ofstream(project, std::ios::binary) << barn.dump(1);

  CliRun run = trestlar("schedule " + project + " --headings -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  std::string text = readFile(out);
  std::size_t lines = 0;
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2, ++lines) {
    std::string line = text.substr(start, end - start);
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 11) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    EXPECT_EQ(line.find("nan"), std::string::npos) << line;
    EXPECT_EQ(line.find("inf"), std::string::npos) << line;
  }
  EXPECT_EQ(lines, members.size() + 1);
  EXPECT_NE(text.find("Brace left  side\t"), std::string::npos) << text;
  // Members whose hotspot arrays cannot hold points are measured all the same.
  EXPECT_EQ(text.find("\t0.000000\t"), std::string::npos) << text;
  for (const auto& m : members) EXPECT_NE(text.find("\t" + m.first + "\t"), std::string::npos) << m.first;
  // The project file is left as it was.
  EXPECT_EQ(readFile(project), barn.dump(1));
}

TEST(ScheduleCli, TheSampleIsWhatItsGeneratorMakes) {
  std::string out = temp("barn.trestlar");
  ASSERT_EQ(trestlar("make-sample " + out).status, 0);
  EXPECT_EQ(readFile(out), readFile(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar"));
}

}  // namespace
