// The fault sweep: each command of the command line run with its K-th host call failing, for
// K from 1 to the calls the command makes (evenly spread when there are more than the sweep's
// runs). Every run must end cleanly: no sanitizer report, no escaped exception, and either
// the fault-free result or a failure said on standard error with every file as it was.
//
// A command is one row of sweepCases(): its name, the project it works on, the scripts it
// reads and its arguments. FAULT_SWEEP_RUNS sets the runs per command (0: every K).
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/cli_runner.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CliRun;
using testing_support::readFile;

// A K past every call of a run: nothing fails, and the run counts its calls.
constexpr const char* kPastEveryCall = "999999999";
// Runs per command unless FAULT_SWEEP_RUNS says otherwise.
constexpr int kDefaultRuns = 24;

// The projects a command may work on.
enum class Project { none, barn, members };

struct SweepCase {
  const char* name;
  Project project;
  std::vector<std::pair<std::string, std::string>> scripts;  // file name, text
  std::string args;                                           // after the options
};

// One row per command; a new command adds its row here.
const std::vector<SweepCase>& sweepCases() {
  static const std::vector<SweepCase> cases = {
      {"schedule", Project::barn, {}, "schedule barn.trestlar -o report.txt"},
      {"cutlist", Project::barn, {}, "schedule barn.trestlar --cutlist --headings -o cutlist.txt"},
      {"number", Project::barn, {}, "number barn.trestlar"},
      {"new", Project::none, {}, "new fresh.trestlar"},
      {"macro", Project::barn, {}, "macro barn.trestlar -o ProjectData.gdl"},
      {"prefs", Project::barn, {}, "prefs barn.trestlar"},
      {"project_dialog", Project::members,
       {{"s", "dialog 32514\n  set 4 \"P-42\"\n  set 7 off\n  ok\nmenu Framing/Preferences/Project...\n"}},
       "run members.trestlar s"},
      {"joint_dialog", Project::members,
       {{"s", "dialog 32515\n  edit 12 1 1 Mortice\n  click 13\n  edit 12 18 4 120mm\n  ok\n"
              "menu Framing/Preferences/Joints...\n"}},
       "run members.trestlar s"},
      {"reports_dialog", Project::members,
       {{"s", "dialog 32516\n  edit 8 2 1 Oak\n  select 8 1\n  click 24\n  ok\n"
              "dialog 32527\n  click 9\n  edit 8 1 1 2.4\n  edit 8 1 2 150\n  ok\n"
              "menu Framing/Preferences/Reports...\n"}},
       "run members.trestlar s"},
      {"place", Project::members,
       {{"s", "place tool Rectilinear 0 0 A=0.2 B=3.0 isSwept=1 timberName=Beam\n"}}, "run members.trestlar s"},
      {"copy", Project::members, {{"s", "copy M-BEAM 1 0\n"}}, "run members.trestlar s"},
      {"move", Project::members, {{"s", "move M-BEAM 0 1\n"}}, "run members.trestlar s"},
      {"stretch", Project::members, {{"s", "stretch M-BEAM 0.5\n"}}, "run members.trestlar s"},
      {"resize", Project::members, {{"s", "resize M-BEAM 4 0.25 0.15\n"}}, "run members.trestlar s"},
      {"change", Project::members, {{"s", "change M-BEAM profWide=0.25\n"}}, "run members.trestlar s"},
      {"align", Project::barn, {{"s", "pick PST-01 PST-08 PST-18\nmenu Alignment/Align Front\n"}},
       "run barn.trestlar s -o aligned.trestlar"},
      {"align_dialog", Project::barn,
       {{"s", "pick PST-01 PST-08 PST-18\ndialog 32524\n  choose 7 Distribute\n  choose 8 Equal\n  ok\n"
              "menu \"Alignment/Align Selection...\"\n"}},
       "run barn.trestlar s -o aligned.trestlar"},
  };
  return cases;
}

// The regular files under a folder by their path in it, with their bytes (links not followed).
using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const fs::path& folder) {
  Snapshot files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_symlink() || !entry.is_regular_file()) continue;
    files[fs::relative(entry.path(), folder).string()] = readFile(entry.path().string());
  }
  return files;
}

// The paths whose bytes differ between two snapshots, or that only one holds.
std::string differences(const Snapshot& a, const Snapshot& b) {
  std::string out;
  for (const auto& file : a) {
    auto other = b.find(file.first);
    if (other == b.end()) out += "  gone: " + file.first + "\n";
    else if (other->second != file.second) out += "  changed: " + file.first + "\n";
  }
  for (const auto& file : b)
    if (!a.count(file.first)) out += "  new: " + file.first + "\n";
  return out;
}

// The files of a snapshot under a folder (its path with a slash).
Snapshot part(const Snapshot& files, const std::string& folder) {
  Snapshot out;
  for (const auto& file : files)
    if (file.first.compare(0, folder.size(), folder) == 0) out.insert(file);
  return out;
}

void writeText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// The Ks a sweep of calls runs with: all of them, or runs of them spread evenly from the
// first to the last.
std::vector<int> sweptCalls(int calls, int runs) {
  std::vector<int> ks;
  if (runs <= 0 || calls <= runs) {
    for (int k = 1; k <= calls; ++k) ks.push_back(k);
    return ks;
  }
  for (int i = 0; i < runs; ++i) ks.push_back(1 + int((long long)i * (calls - 1) / (runs - 1)));
  ks.erase(std::unique(ks.begin(), ks.end()), ks.end());
  return ks;
}

int runsPerCommand() {
  const char* env = std::getenv("FAULT_SWEEP_RUNS");
  return env && *env ? std::atoi(env) : kDefaultRuns;
}

// What a sanitizer or the C++ runtime says when a run goes wrong.
bool reportsAFault(const std::string& err) {
  for (const char* mark : {"Sanitizer", "runtime error:", "terminate called", "Segmentation fault"})
    if (err.find(mark) != std::string::npos) return true;
  return false;
}

class FaultSweep : public ::testing::TestWithParam<SweepCase> {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-sweep-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    pristine_ = root_ / "pristine";
    fs::create_directories(pristine_ / "work");
    fs::create_directories(pristine_ / "config");
    const fs::path source = TRESTLAR_SOURCE_DIR;
    fs::create_directory_symlink(source / "library", pristine_ / "work" / "library");
    const SweepCase& c = GetParam();
    if (c.project == Project::barn) fs::copy_file(source / "examples" / "barn.trestlar", pristine_ / "work" / "barn.trestlar");
    if (c.project == Project::members) {
      // The fixture's library folder, as it stands beside the copy.
      std::string text = readFile(std::string(TRESTLAR_FIXTURES) + "/render/members.trestlar");
      const std::string from = "\"../../../library\"";
      ASSERT_NE(text.find(from), std::string::npos);
      text.replace(text.find(from), from.size(), "\"library\"");
      writeText(pristine_ / "work" / "members.trestlar", text);
    }
    for (const auto& script : c.scripts) writeText(pristine_ / "work" / script.first, script.second);
  }
  void TearDown() override {
    ::unsetenv("TRESTLAR_HOST_CALL_COUNT");
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // A run on fresh copies of the pristine folders, with the K-th host call failing.
  CliRun runWith(const std::string& k) {
    const fs::path run = root_ / "run";
    std::error_code ignored;
    fs::remove_all(run, ignored);
    fs::create_directories(run);
    fs::copy(pristine_, run, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    return testing_support::runTrestlar("--fail-host-call " + k + " " + GetParam().args, (run / "config").string(),
                                        (run / "work").string());
  }
  Snapshot after() const { return snapshot(root_ / "run"); }

  fs::path root_;
  fs::path pristine_;
};

TEST_P(FaultSweep, EachFailingHostCallGivesTheResultOrAFailureThatChangesNoFile) {
  const Snapshot before = snapshot(pristine_);
  const std::string countFile = (root_ / "calls").string();
  ::setenv("TRESTLAR_HOST_CALL_COUNT", countFile.c_str(), 1);
  const CliRun clean = runWith(kPastEveryCall);
  ::unsetenv("TRESTLAR_HOST_CALL_COUNT");
  ASSERT_EQ(clean.status, 0) << clean.err;
  ASSERT_FALSE(reportsAFault(clean.err)) << clean.err;
  const Snapshot result = after();
  const int calls = std::atoi(readFile(countFile).c_str());
  ASSERT_GT(calls, 0);

  for (int k : sweptCalls(calls, runsPerCommand())) {
    const CliRun run = runWith(std::to_string(k));
    const std::string where = "host call " + std::to_string(k) + " of " + std::to_string(calls) + ":\n" + run.err;
    ASSERT_FALSE(reportsAFault(run.err)) << where;
    if (run.status == 0) {
      EXPECT_EQ(run.out, clean.out) << where;
      EXPECT_EQ(differences(result, after()), "") << where << "the files differ from the fault-free run's";
      continue;
    }
    EXPECT_EQ(run.status, 1) << where;
    EXPECT_NE(run.err.find("trestlar: "), std::string::npos) << where << "no message says the run failed";
    EXPECT_EQ(run.out.find("wrote "), std::string::npos) << where;
    EXPECT_EQ(run.out.find("saved "), std::string::npos) << where;
    const Snapshot now = after();
    EXPECT_EQ(differences(part(before, "work/"), part(now, "work/")), "") << where << "a failed run changed files";
    // The user's application-data folder holds the macro the add-on writes of the open project
    // whenever its data changes (ProjectData.gdl), which a failed run may have rewritten in
    // whole; any other file there is as it was or as the fault-free run leaves it.
    for (const auto& file : part(now, "config/")) {
      auto old = before.find(file.first);
      auto clean = result.find(file.first);
      if (file.first == "config/Trestlar/ProjectData.gdl") {
        EXPECT_TRUE(clean != result.end() && file.second.size() > 0) << where << file.first;
        continue;
      }
      EXPECT_TRUE((old != before.end() && old->second == file.second) ||
                  (clean != result.end() && clean->second == file.second))
          << where << file.first << " is neither as it was nor as the fault-free run leaves it";
    }
    for (const auto& file : part(before, "config/")) EXPECT_TRUE(now.count(file.first)) << where << file.first << " is gone";
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultSweep, ::testing::ValuesIn(sweepCases()),
                         [](const ::testing::TestParamInfo<SweepCase>& info) { return std::string(info.param.name); });

}  // namespace
