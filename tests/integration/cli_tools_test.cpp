// The host's own tools in session scripts, and trestlar number: members drawn, copied,
// changed and numbered from the command line, read back from the saved project.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"

namespace {

using testing_support::CliRun;
using testing_support::readFile;

// The saved project's objects: by timberName, their numeric parameters.
std::map<std::string, std::map<std::string, double>> members(const std::string& path) {
  std::map<std::string, std::map<std::string, double>> out;
  nlohmann::json project = nlohmann::json::parse(readFile(path), nullptr, false);
  if (project.is_discarded()) return out;
  int copies = 0;
  for (const auto& e : project.value("elements", nlohmann::json::array())) {
    std::map<std::string, double> values;
    std::string name;
    for (const auto& p : e.value("parameters", nlohmann::json::array())) {
      if (!p.contains("value")) continue;
      if (p["value"].is_number()) values[p["name"].get<std::string>()] = p["value"].get<double>();
      if (p["name"] == "timberName") name = p["value"].get<std::string>();
    }
    if (out.count(name)) name += "#" + std::to_string(++copies);
    values["angle"] = e.contains("record") ? e["record"].value("angle", 0.0) : 0.0;
    out[name] = values;
  }
  return out;
}

class CliToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-tools-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  CliRun trestlar(const std::string& args) { return testing_support::runTrestlar(args, dir_ + "/config"); }
  std::string dir_;
};

TEST_F(CliToolsTest, AScriptDrawsCopiesAndChangesMembersThatTheNumberCommandThenNumbers) {
  const std::string drawn = dir_ + "/drawn.trestlar";
  CliRun run = trestlar(std::string("run ") + TRESTLAR_FIXTURES + "/cli/frame.trestlar " + TRESTLAR_FIXTURES +
                        "/cli/tools.script -o " + drawn);
  ASSERT_EQ(run.status, 0) << run.err;
  auto saved = members(drawn);
  ASSERT_EQ(saved.size(), 3u) << readFile(drawn);
  EXPECT_DOUBLE_EQ(saved["Beam"]["length"], 3.0);
  EXPECT_DOUBLE_EQ(saved["Beam"]["profWide"], 0.2);
  EXPECT_NEAR(saved["Beam"]["angle"], 1.5707963267948966, 1e-9);
  EXPECT_EQ(saved["Beam#1"]["TimberNo"], 12);
  EXPECT_EQ(saved["Beam#1"]["enumTNum"], 12);
  // Placed 2.5 m long, its box follows it; the stretch lengthens both.
  EXPECT_DOUBLE_EQ(saved["Post"]["A"], 3.0) << "the stretched box";
  EXPECT_DOUBLE_EQ(saved["Post"]["length"], 3.0);

  // New timbers only, grouped: the beam is identical to its numbered copy.
  const std::string numbered = dir_ + "/numbered.trestlar";
  run = trestlar("number " + drawn + " --new-only --group -o " + numbered);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "3 of 3 scheduled timbers numbered, up to 13\nsaved " + numbered + "\n");
  saved = members(numbered);
  EXPECT_EQ(saved["Beam"]["TimberNo"], 12);
  EXPECT_EQ(saved["Beam#1"]["TimberNo"], 12);
  EXPECT_EQ(saved["Post"]["TimberNo"], 13);
  // The library still loads from the saved copy's folder.
  run = trestlar("schedule " + numbered + " --strict -o " + dir_ + "/schedule.txt");
  EXPECT_EQ(run.status, 0) << run.err;
}

// The rows of a schedule written with headings: by description, the cells by heading.
std::map<std::string, std::map<std::string, std::string>> scheduleRows(const std::string& path) {
  std::map<std::string, std::map<std::string, std::string>> rows;
  std::istringstream lines(readFile(path));
  std::vector<std::string> headings;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> cells;
    std::istringstream split(line);
    for (std::string cell; std::getline(split, cell, '\t');) cells.push_back(cell);
    if (headings.empty()) {
      headings = cells;
      continue;
    }
    for (std::size_t i = 0; i < cells.size() && i < headings.size(); ++i) rows[cells[0]][headings[i]] = cells[i];
  }
  return rows;
}

// The timber library's example in the README, and more.
TEST_F(CliToolsTest, MembersDrawnStretchedAndResizedByTheirBoxAreScheduledAtThoseSizes) {
  const std::string drawn = dir_ + "/sized.trestlar";
  CliRun run = trestlar(std::string("run ") + TRESTLAR_FIXTURES + "/cli/frame.trestlar " + TRESTLAR_FIXTURES +
                        "/cli/sizing.script -o " + drawn);
  ASSERT_EQ(run.status, 0) << run.err;
  auto saved = members(drawn);
  EXPECT_DOUBLE_EQ(saved["Drawn"]["length"], 5);
  EXPECT_DOUBLE_EQ(saved["Drawn"]["profWide"], 0.3);
  EXPECT_DOUBLE_EQ(saved["Stretched"]["length"], 3);
  EXPECT_DOUBLE_EQ(saved["Resized"]["A"], 4);
  EXPECT_DOUBLE_EQ(saved["Raised"]["profDeep"], 0.3);
  EXPECT_DOUBLE_EQ(saved["Post"]["length"], 2.5);
  EXPECT_NEAR(saved["Post"]["incline"], -1.5707963267948966, 1e-9) << "stood up";

  const std::string schedule = dir_ + "/schedule.txt";
  run = trestlar("schedule " + drawn + " --headings -o " + schedule);
  ASSERT_EQ(run.status, 0) << run.err;
  auto rows = scheduleRows(schedule);
  struct Row {
    const char* name;
    const char *width, *depth, *length;
    double actual, cubic;
  };
  // The arch is measured along its bend: 10 atan(0.5) = 4.64 m rounds up to 4.75 m, and its
  // body holds its 16-sided section (0.0306 m2) along those 4.64 m.
  const Row expected[] = {
      {"Drawn", "0.300000", "0.200000", "5.000000", 5 * 0.3 * 0.2, 5 * 0.3 * 0.2},
      {"Stretched", "0.200000", "0.200000", "3.000000", 3 * 0.2 * 0.2, 3 * 0.2 * 0.2},
      {"Resized", "0.250000", "0.150000", "4.000000", 4 * 0.25 * 0.15, 4 * 0.25 * 0.15},
      {"Raised", "0.200000", "0.300000", "3.000000", 3 * 0.2 * 0.3, 3 * 0.2 * 0.3},
      {"Post", "0.200000", "0.200000", "2.500000", 2.5 * 0.2 * 0.2, 2.5 * 0.2 * 0.2},
      {"Arch", "0.200000", "0.200000", "4.750000", 8 * 0.01 * std::sin(3.14159265358979323846 / 8) * 10 * std::atan(0.5),
       4.75 * 0.2 * 0.2},
  };
  ASSERT_EQ(rows.size(), 6u) << readFile(schedule);
  for (const Row& r : expected) {
    SCOPED_TRACE(r.name);
    auto& row = rows[r.name];
    EXPECT_EQ(row["Width"], r.width);
    EXPECT_EQ(row["Depth"], r.depth);
    EXPECT_EQ(row["Length"], r.length);
    EXPECT_NEAR(std::stod(row["Actual Vol"]), r.actual, r.actual * 0.001);
    EXPECT_NEAR(std::stod(row["Cubic Vol"]), r.cubic, 1e-9);
  }
}

TEST_F(CliToolsTest, BadToolLinesAndNumberOptionsAreRefused) {
  struct Case {
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      {"place saw Rectilinear 0 0\n", "line 1: \"saw\" is no tool: tool (the add-on's element tool), object or lamp"},
      {"place tool Nothing 0 0\n", "line 1: the library has no part \"Nothing\""},
      {"place tool Rectilinear 0 north\n", "line 1: \"north\" is not a number (y)"},
      {"place tool Rectilinear 0 0 view=B-B\n", "line 1: there is no section or elevation \"B-B\""},
      {"stretch beam 1\n",
       "line 1: no element is named \"beam\" (give one a name with as=NAME, or use its element ID)"},
      {"place tool Rectilinear 0 0\nchange last colour=red\n", "line 2: the element has no parameter \"colour\""},
      {"place tool Rectilinear 0 0\nresize last 0 1\n", "line 2: a box size would not be above 0"},
  };
  const std::string project = std::string(TRESTLAR_FIXTURES) + "/cli/frame.trestlar";
  const std::string before = readFile(project);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    const std::string path = dir_ + "/script.txt";
    std::ofstream(path) << c.script;
    CliRun run = trestlar("run " + project + " " + path + " -o " + dir_ + "/out.trestlar");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "trestlar: " + path + ": " + c.message + "; " + project + " is left as it was\n");
  }
  EXPECT_EQ(readFile(project), before);
  CliRun run = trestlar("number " + project + " --group");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "trestlar: --group numbers new timbers alongside the numbered ones, so it needs --new-only\n");
}

TEST_F(CliToolsTest, ScheduleNumberNumbersTheSampleWithoutChangingIt) {
  const std::string sample = std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar";
  const std::string before = readFile(sample);
  const std::string out = dir_ + "/schedule.txt";
  CliRun run = trestlar("schedule --number --strict -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("trestlar: 31 of 31 scheduled timbers numbered, up to "), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("has not been numbered"), std::string::npos);
  EXPECT_EQ(readFile(sample), before);
  // Every row carries a number.
  std::istringstream rows(readFile(out));
  int lines = 0;
  for (std::string row; std::getline(rows, row); ++lines) {
    std::istringstream cells(row);
    std::string cell;
    for (int i = 0; i < 8; ++i) std::getline(cells, cell, '\t');
    EXPECT_NE(cell, "0") << row;
  }
  EXPECT_EQ(lines, 31);
}

}  // namespace
