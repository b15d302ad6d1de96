// Every fenced example of README.md is run or checked against the built program, so that the
// README cannot drift from it. A block says how it is checked by its info string or by a
// marker comment on the line before it:
//
//   ```sh                                      each `trestlar ...` line runs and exits 0 (or
//                                              with the N of "exit status N" in its comment)
//   ```json                                    a whole project ("format") opens and saves; a
//                                              model fragment does as a project's model
//   <!-- example: script -->                   a session script, run on a copy of the sample
//   <!-- example: dialog layout -->            reads as a dialog layout
//   <!-- example: report of trestlar ARGS -->  the first lines of the file `trestlar ARGS -o
//                                              FILE` writes
//   <!-- example: checked by tests/FILE -->    a test of its own reads it from the README
//   <!-- example: not run (why) -->            left alone, saying why
//
// A block that says none of these fails the test, so a new example is never left unchecked.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/dialogs/dialog_layout.h"
#include "support/cli_runner.h"

namespace {

using testing_support::CliRun;
using testing_support::readFile;

// One fenced block of the README.
struct Example {
  int line = 0;        // the line of its opening fence
  std::string info;    // the fence's info string
  std::string marker;  // what follows "example:" in the marker before it, or empty
  std::string text;
};

std::string trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<Example> readmeExamples() {
  std::ifstream in(std::string(TRESTLAR_SOURCE_DIR) + "/README.md");
  std::vector<Example> examples;
  std::string line, previous;
  bool open = false;
  for (int number = 1; std::getline(in, line); ++number) {
    if (open) {
      if (line == "```") open = false;
      else examples.back().text += line + "\n";
      continue;
    }
    if (line.compare(0, 3, "```") == 0) {
      Example e;
      e.line = number;
      e.info = trimmed(line.substr(3));
      const std::string head = "<!-- example:", tail = "-->";
      if (previous.compare(0, head.size(), head) == 0 && previous.size() >= head.size() + tail.size() &&
          previous.compare(previous.size() - tail.size(), tail.size(), tail) == 0)
        e.marker = trimmed(previous.substr(head.size(), previous.size() - head.size() - tail.size()));
      examples.push_back(e);
      open = true;
      continue;
    }
    if (!trimmed(line).empty()) previous = trimmed(line);
  }
  return examples;
}

enum class Kind { Shell, Json, Script, DialogLayout, Report, CheckedBy, NotRun, Unknown };

const std::string kReportOf = "report of trestlar ";
const std::string kCheckedBy = "checked by ";

Kind kindOf(const Example& e) {
  if (e.marker.compare(0, 8, "not run ") == 0 && e.marker.size() > 10) return Kind::NotRun;
  if (e.marker == "script") return Kind::Script;
  if (e.marker == "dialog layout") return Kind::DialogLayout;
  if (e.marker.compare(0, kReportOf.size(), kReportOf) == 0) return Kind::Report;
  if (e.marker.compare(0, kCheckedBy.size(), kCheckedBy) == 0) return Kind::CheckedBy;
  if (!e.marker.empty()) return Kind::Unknown;
  if (e.info == "sh") return Kind::Shell;
  if (e.info == "json") return Kind::Json;
  return Kind::Unknown;
}

std::vector<Example> examplesOf(Kind kind) {
  std::vector<Example> out;
  for (const Example& e : readmeExamples())
    if (kindOf(e) == kind) out.push_back(e);
  return out;
}

std::string where(const Example& e) { return "README.md line " + std::to_string(e.line); }

// Each test works in a fresh folder holding a copy of examples/ with its library link.
class ReadmeExamplesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-readme-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  // A new working folder for one example, with examples/barn.trestlar and examples/library.
  std::string workFolder() {
    const std::string work = dir_ + "/" + std::to_string(++folders_);
    std::filesystem::create_directories(work + "/examples");
    std::filesystem::copy_file(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar",
                               work + "/examples/barn.trestlar");
    std::filesystem::create_directory_symlink(std::string(TRESTLAR_SOURCE_DIR) + "/library", work + "/examples/library");
    return work;
  }
  CliRun trestlar(const std::string& args, const std::string& work) {
    return testing_support::runTrestlar(args, dir_ + "/config", work);
  }
  void write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

  std::string dir_;
  int folders_ = 0;
};

TEST(ReadmeExamples, EveryBlockSaysHowItIsChecked) {
  std::vector<Example> examples = readmeExamples();
  ASSERT_FALSE(examples.empty());
  for (const Example& e : examples)
    if (kindOf(e) == Kind::Unknown)
      ADD_FAILURE() << where(e) << ": say how the block is checked: ```sh, ```json, or a marker line before it "
                    << "(<!-- example: script -->, <!-- example: dialog layout -->, "
                    << "<!-- example: report of trestlar ARGS -->, <!-- example: checked by tests/FILE -->, "
                    << "<!-- example: not run (why) -->)";
  // Each kind is found: a reader that found none would check nothing.
  for (Kind kind : {Kind::Shell, Kind::Json, Kind::Script, Kind::DialogLayout, Kind::Report})
    EXPECT_FALSE(examplesOf(kind).empty()) << "no example of kind " << int(kind) << " found";
}

// A block another test checks names that test, which reads the README.
TEST(ReadmeExamples, TheTestsNamedForBlocksReadTheReadme) {
  for (const Example& e : examplesOf(Kind::CheckedBy)) {
    const std::string test = e.marker.substr(kCheckedBy.size());
    EXPECT_NE(readFile(std::string(TRESTLAR_SOURCE_DIR) + "/" + test).find("README.md"), std::string::npos)
        << where(e) << ": " << test << " does not read the README";
  }
}

TEST_F(ReadmeExamplesTest, ShellLinesRun) {
  for (const Example& e : examplesOf(Kind::Shell)) {
    const std::string work = workFolder();
    std::istringstream lines(e.text);
    int offset = 0;
    for (std::string line; std::getline(lines, line);) {
      ++offset;
      SCOPED_TRACE(where(e) + " + " + std::to_string(offset) + ": " + line);
      std::string command = trimmed(line), comment;
      std::size_t hash = command.find(" #");
      if (hash != std::string::npos) {
        comment = command.substr(hash + 2);
        command = trimmed(command.substr(0, hash));
      }
      if (command.empty() || command[0] == '#') continue;
      if (command.compare(0, 9, "trestlar ") != 0) {
        ADD_FAILURE() << "only trestlar lines run here: mark the block <!-- example: not run (why) -->";
        continue;
      }
      int expected = 0;
      std::size_t status = comment.find("exit status ");
      if (status != std::string::npos) expected = std::atoi(comment.c_str() + status + 12);
      CliRun run = trestlar(command.substr(9), work);
      EXPECT_EQ(run.status, expected) << run.err;
      if (expected != 0) {
        EXPECT_NE(run.err, "") << "a failure says why";
      }
    }
  }
}

TEST_F(ReadmeExamplesTest, SessionScriptsRunOnTheSample) {
  for (const Example& e : examplesOf(Kind::Script)) {
    SCOPED_TRACE(where(e) + ":\n" + e.text);
    const std::string work = workFolder();
    write(work + "/script.txt", e.text);
    const std::string before = readFile(work + "/examples/barn.trestlar");
    CliRun run = trestlar("run examples/barn.trestlar script.txt -o out.trestlar", work);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "saved out.trestlar\n");
    EXPECT_EQ(readFile(work + "/examples/barn.trestlar"), before);
  }
}

TEST_F(ReadmeExamplesTest, ProjectFilesOpenAndSave) {
  for (const Example& e : examplesOf(Kind::Json)) {
    SCOPED_TRACE(where(e));
    nlohmann::json example = nlohmann::json::parse(e.text, nullptr, false);
    ASSERT_FALSE(example.is_discarded()) << "not JSON";
    ASSERT_TRUE(example.is_object());
    const std::string work = workFolder();
    std::filesystem::create_directories(work + "/project");
    nlohmann::json project = example;
    if (!example.contains("format")) {
      // A fragment of the model: the rest of a project around it, with the timber library.
      bool model = false;
      for (const char* section : {"plan", "storeys", "layers", "databases", "groups", "elements"})
        model = model || example.contains(section);
      ASSERT_TRUE(model) << "neither a project nor a model fragment: mark it <!-- example: not run (why) -->";
      project = {{"format", "trestlar-project"},
                 {"version", 2},
                 {"settings", {{"workingUnits", "metric"}}},
                 {"library", {{"folders", nlohmann::json::array({std::string(TRESTLAR_SOURCE_DIR) + "/library"})}}}};
      for (auto& section : example.items()) project[section.key()] = section.value();
    }
    // The library folders it names, relative to its own folder, exist.
    for (const auto& folder : project.value("library", nlohmann::json::object()).value("folders", nlohmann::json::array()))
      if (folder.is_string() && !std::filesystem::path(folder.get<std::string>()).is_absolute())
        std::filesystem::create_directories(work + "/project/" + folder.get<std::string>());
    write(work + "/project/example.trestlar", project.dump(2));
    write(work + "/empty.txt", "");
    CliRun run = trestlar("run project/example.trestlar empty.txt -o saved.trestlar", work);
    ASSERT_EQ(run.status, 0) << run.err;
    nlohmann::json saved = nlohmann::json::parse(readFile(work + "/saved.trestlar"), nullptr, false);
    ASSERT_FALSE(saved.is_discarded());
    EXPECT_EQ(saved.value("elements", nlohmann::json::array()).size(),
              project.value("elements", nlohmann::json::array()).size());
    if (project.contains("moduleData")) {
      run = trestlar("prefs project/example.trestlar", work);
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_NE(run.out.find(project["moduleData"]["data"].get<std::string>()), std::string::npos) << run.out;
    }
  }
}

TEST_F(ReadmeExamplesTest, DialogLayoutsRead) {
  for (const Example& e : examplesOf(Kind::DialogLayout)) {
    standin::DialogLayout layout;
    std::string error;
    EXPECT_TRUE(standin::parseDialogLayout(e.text, layout, error)) << where(e) << ": " << error;
    EXPECT_FALSE(layout.items.empty()) << where(e);
  }
}

TEST_F(ReadmeExamplesTest, ReportsAreWhatTheProgramWrites) {
  for (const Example& e : examplesOf(Kind::Report)) {
    SCOPED_TRACE(where(e));
    const std::string work = workFolder();
    CliRun run = trestlar(e.marker.substr(kReportOf.size()) + " -o report.txt", work);
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream written(readFile(work + "/report.txt")), shown(e.text);
    std::string want, got;
    while (std::getline(shown, want)) {
      ASSERT_TRUE(std::getline(written, got)) << "the report ends before: " << want;
      EXPECT_EQ(got, want + "\r");
    }
  }
}

}  // namespace
