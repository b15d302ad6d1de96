// Alignment through the command line: the README's worked example, presets stored by a script
// and named by `trestlar menus PROJECT`, and a selection that cannot move.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"

namespace {

using testing_support::CliRun;
using testing_support::readFile;
using testing_support::runTrestlar;

// A placed element's record as the project file holds it.
struct Record {
  double x = 0, y = 0, level = 0;
};

class AlignmentCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-align-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = dir_ + "/" + name;
    std::ofstream(path) << text;
    return path;
  }
  CliRun trestlar(const std::string& args) { return runTrestlar(args, dir_ + "/config"); }
  // The records of the project's objects, those with the timber name when one is given.
  static std::vector<Record> objects(const std::string& path, const std::string& timberName = "") {
    std::vector<Record> out;
    const nlohmann::json project = nlohmann::json::parse(readFile(path));
    for (const auto& e : project.at("elements")) {
      if (e.value("kind", "") != "object") continue;
      if (!timberName.empty()) {
        bool named = false;
        for (const auto& p : e.value("parameters", nlohmann::json::array()))
          named = named || (p.value("name", "") == "timberName" && p.value("value", nlohmann::json()) == timberName);
        if (!named) continue;
      }
      const auto& r = e.at("record");
      out.push_back({r.value("x", 0.0), r.value("y", 0.0), r.value("level", 0.0)});
    }
    return out;
  }
  // The lines of `trestlar menus` under "Alignment/".
  std::vector<std::string> alignmentMenu(const std::string& args) {
    CliRun run = trestlar("menus " + args);
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::string> items;
    std::size_t from = 0;
    while (from < run.out.size()) {
      std::size_t to = run.out.find('\n', from);
      if (to == std::string::npos) to = run.out.size();
      const std::string line = run.out.substr(from, to - from);
      if (line.rfind("Alignment/", 0) == 0) items.push_back(line.substr(10));
      from = to + 1;
    }
    return items;
  }

  std::string dir_;
};

TEST_F(AlignmentCliTest, TheReadmeExampleTabulatesSixPostsPickedInAnyOrder) {
  const std::string readme = readFile(std::string(TRESTLAR_SOURCE_DIR) + "/README.md");
  const std::string start = "```\n# Six gate posts";
  const std::size_t from = readme.find(start);
  ASSERT_NE(from, std::string::npos);
  const std::size_t to = readme.find("```\n", from + 4);
  ASSERT_NE(to, std::string::npos);
  const std::string script = write("tabulate.txt", readme.substr(from + 4, to - from - 4));
  const std::string out = dir_ + "/posts.trestlar";
  CliRun run = trestlar("run " + std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar " + script + " -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "saved " + out + "\n");
  // In the order they were drawn: on x = 20, 1.2 m apart from y = 0 to 6, all on the ground.
  std::vector<Record> posts = objects(out, "Gate");
  const Record want[6] = {{20, 0, 0}, {20, 3.6, 0}, {20, 1.2, 0}, {20, 6, 0}, {20, 4.8, 0}, {20, 2.4, 0}};
  ASSERT_EQ(posts.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_NEAR(posts[i].x, want[i].x, 1e-5) << "post " << i + 1;
    EXPECT_NEAR(posts[i].y, want[i].y, 1e-5) << "post " << i + 1;
    EXPECT_NEAR(posts[i].level, want[i].level, 1e-5) << "post " << i + 1;
  }
}

TEST_F(AlignmentCliTest, MenusOfAProjectNameItsPresetsAndAStoredOneStaysAfterCancel) {
  const std::string barn = std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar";
  // Without a project the items are as the add-on registers them; with one, its presets.
  std::vector<std::string> plain = alignmentMenu("");
  ASSERT_EQ(plain.size(), 13u);
  EXPECT_EQ(plain[3], "Preset 1");
  std::vector<std::string> named = alignmentMenu(barn);
  ASSERT_EQ(named.size(), 13u);
  EXPECT_EQ(named[3], "Align Left");
  EXPECT_EQ(named[12], "Tabulate");

  // The README's example, on two posts it needs selected.
  const std::string readme = readFile(std::string(TRESTLAR_SOURCE_DIR) + "/README.md");
  const std::size_t from = readme.find("```\ndialog 32524\n  choose 7 Distribute");
  ASSERT_NE(from, std::string::npos);
  const std::size_t to = readme.find("```\n", from + 4);
  ASSERT_NE(to, std::string::npos);
  const std::string script = write("store.txt",
                                   "place tool Rectilinear 30 0 A=0.2 B=0.2 ZZYZX=2.5 timberName=Gate as=a\n"
                                   "place tool Rectilinear 31 2 A=0.2 B=0.2 ZZYZX=2.5 timberName=Gate as=b\n"
                                   "pick a b\n" +
                                       readme.substr(from + 4, to - from - 4));
  const std::string out = dir_ + "/stored.trestlar";
  CliRun run = trestlar("run " + barn + " " + script + " -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> stored = alignmentMenu(out);
  ASSERT_EQ(stored.size(), 13u);
  EXPECT_EQ(stored[6], "Fence line");
  // The dialog was cancelled: the posts stand where they were drawn.
  std::vector<Record> posts = objects(out, "Gate");
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_NEAR(posts[1].x, 31, 1e-9);
  EXPECT_NEAR(posts[1].y, 2, 1e-9);
}

TEST_F(AlignmentCliTest, FewerThanTwoPickedLeavesThePostsWhereTheyStandWithoutAWord) {
  const std::string barn = std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar";
  const std::string posts =
      "place tool Rectilinear 30 0 A=0.2 B=0.2 ZZYZX=2.5 timberName=Gate as=a\n"
      "place tool Rectilinear 31 2 A=0.2 B=0.2 ZZYZX=2.5 timberName=Gate z=0.4 as=b\n";
  const struct {
    const char* picks;
    const char* item;
  } cases[] = {
      {"pick none", "Tabulate"},
      {"pick none", "Align Selection..."},
      {"pick none\npick b", "Align Bottom"},
      {"pick none\npick a", "Align Selection..."},
  };
  for (const auto& c : cases) {
    const std::string what = std::string(c.picks) + " / " + c.item;
    const std::string out = dir_ + "/few.trestlar";
    const std::string script = write("few.txt", posts + c.picks + "\nmenu Alignment/" + c.item + "\n");
    CliRun run = trestlar("run " + barn + " " + script + " -o " + out);
    ASSERT_EQ(run.status, 0) << what << ": " << run.err;
    EXPECT_EQ(run.err, "") << what;
    std::vector<Record> placed = objects(out, "Gate");
    ASSERT_EQ(placed.size(), 2u) << what;
    EXPECT_NEAR(placed[0].x, 30, 1e-9) << what;
    EXPECT_NEAR(placed[1].x, 31, 1e-9) << what;
    EXPECT_NEAR(placed[1].y, 2, 1e-9) << what;
    EXPECT_NEAR(placed[1].level, 0.4, 1e-9) << what;
  }
}

TEST_F(AlignmentCliTest, AnElementOnALockedLayerFailsTheRunWithAMessageAndNothingSaved) {
  const std::string fixed = std::string(TRESTLAR_FIXTURES) + "/alignment/fixed.trestlar";
  const std::string picks = "pick 54524553-0000-4000-0000-0000000A0001 54524553-0000-4000-0000-0000000A0002";
  const std::string out = dir_ + "/out.trestlar";
  const std::string fixedBefore = readFile(fixed);
  CliRun run = trestlar("run " + fixed + " " + write("locked.txt", picks + " 54524553-0000-4000-0000-0000000A0003\n" +
                                                                      "menu Alignment/Tabulate\n") +
                        " -o " + out);
  // The refusal is the run's failure: nothing is saved and the project stays as it was.
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Some of the selected elements are locked, on a locked layer or in a locked group, so "
                         "nothing was aligned"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(readFile(fixed), fixedBefore);
  // Without the locked one the other two are tabulated.
  run = trestlar("run " + fixed + " " + write("free.txt", picks + "\nmenu Alignment/Tabulate\n") + " -o " + out);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  std::vector<Record> after = objects(out);
  ASSERT_EQ(after.size(), 3u);
  EXPECT_NEAR(after[1].x, 0, 1e-9);
  EXPECT_NEAR(after[2].x, 8, 1e-9);
}

}  // namespace
