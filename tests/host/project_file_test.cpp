// The project file: its schema read and written, bad files refused, saves that cannot break a
// file, and module-data merges through the host.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/project/project_file.h"

namespace {

namespace fs = std::filesystem;
using standin::ProjectData;
using standin::WorkingUnits;

std::string fixturePath(const std::string& name) { return std::string(TRESTLAR_FIXTURES) + "/projects/" + name; }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// The names of files in folder that a save left behind.
std::vector<std::string> leftovers(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (name.find(".tmp-") != std::string::npos) names.push_back(name);
  }
  return names;
}

class ProjectFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-project-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
};

ProjectData sample() {
  ProjectData data;
  data.settings.workingUnits = WorkingUnits::Imperial;
  data.settings.groupsSuspended = true;
  data.libraryFolders = {"library", "/opt/trestlar/library", "parts\\timber", "Bäume"};
  data.moduleData = "<projectPrefs><name>Long \"Barn\"\n\t</name></projectPrefs>";
  return data;
}

TEST_F(ProjectFileTest, ModuleDataRoundTripsByteForByteInTheEncodingItNeeds) {
  struct Case {
    std::string moduleData;
    const char* encoding;  // null: no moduleData section
  } cases[] = {
      {"", nullptr},
      {"<alignPrefs><x>1.5</x></alignPrefs>\r\n", "text"},
      {"Zoë ∑ 木材 \xF0\x9F\xAA\xB5", "text"},
      {std::string("a\0b", 3), "text"},
      {"\xFF", "base64"},
      {"\xFF\xFE", "base64"},
      {"\xFF\xFE\xFD", "base64"},
      {std::string("II\0\x03\x80\x00\x00\x00", 8), "base64"},
      {"\xC0\xAF", "base64"},          // an overlong '/'
      {"\xED\xA0\x80", "base64"},      // a surrogate
      {"abc\xE2\x82", "base64"},       // cut short
  };
  for (const Case& c : cases) {
    ProjectData data = sample();
    data.moduleData = c.moduleData;
    std::string text, error;
    ASSERT_TRUE(standin::serialiseProject(data, text, error)) << error;
    nlohmann::json json = nlohmann::json::parse(text);
    if (c.encoding) EXPECT_EQ(json["moduleData"]["encoding"], c.encoding) << text;
    else EXPECT_FALSE(json.contains("moduleData")) << text;
    ProjectData back;
    ASSERT_TRUE(standin::parseProject(text, "x.trestlar", back, error)) << error;
    EXPECT_EQ(back.moduleData, c.moduleData) << text;
    EXPECT_TRUE(back == data) << text;
  }
}

TEST_F(ProjectFileTest, AWrittenFileReadsBackKeepsItsPermissionsAndListsFormatAndVersionFirst) {
  std::string file = path("barn.trestlar");
  writeFile(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  std::string error;
  ASSERT_TRUE(standin::writeProjectFile(file, sample(), error)) << error;
  ProjectData back;
  ASSERT_TRUE(standin::readProjectFile(file, back, error)) << error;
  EXPECT_TRUE(back == sample());
  EXPECT_EQ(readFile(file).rfind("{\n  \"format\": \"trestlar-project\",\n  \"version\": 2,\n  \"settings\": {", 0), 0u)
      << readFile(file);
  struct stat st;
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_TRUE(leftovers(dir_).empty());
}

TEST_F(ProjectFileTest, WorkingUnitsAreNamedAndWrittenAsOlderFilesNameThem) {
  struct Case {
    const char* read;     // the name in the file
    WorkingUnits units;   // the unit, whose number 'GWUN' answers
    int32_t code;
    const char* written;  // the name a save writes
  } cases[] = {
      {"metric", WorkingUnits::Metres, 0, "metric"},
      {"imperial", WorkingUnits::FeetAndFractionalInches, 3, "imperial"},
      {"metres", WorkingUnits::Metres, 0, "metric"},
      {"centimetres", WorkingUnits::Centimetres, 1, "centimetres"},
      {"millimetres", WorkingUnits::Millimetres, 2, "millimetres"},
      {"feetAndFractionalInches", WorkingUnits::FeetAndFractionalInches, 3, "imperial"},
      {"feetAndDecimalInches", WorkingUnits::FeetAndDecimalInches, 4, "feetAndDecimalInches"},
      {"decimalFeet", WorkingUnits::DecimalFeet, 5, "decimalFeet"},
      {"fractionalInches", WorkingUnits::FractionalInches, 6, "fractionalInches"},
      {"decimalInches", WorkingUnits::DecimalInches, 7, "decimalInches"},
  };
  for (const Case& c : cases) {
    std::string text = std::string(R"({"format": "trestlar-project", "version": 2, "settings": {"workingUnits": ")") +
                       c.read + "\"}}";
    ProjectData data;
    std::string error;
    ASSERT_TRUE(standin::parseProject(text, "x.trestlar", data, error)) << error;
    EXPECT_EQ(data.settings.workingUnits, c.units) << c.read;
    EXPECT_EQ(int32_t(data.settings.workingUnits), c.code) << c.read;
    EXPECT_EQ(standin::isMetric(data.settings.workingUnits), c.code <= 2) << c.read;
    std::string written;
    ASSERT_TRUE(standin::serialiseProject(data, written, error)) << error;
    EXPECT_EQ(nlohmann::json::parse(written)["settings"]["workingUnits"], c.written) << c.read;
  }
  // A value that is no unit is not written.
  ProjectData odd;
  odd.settings.workingUnits = WorkingUnits(8);
  std::string text, error;
  EXPECT_FALSE(standin::serialiseProject(odd, text, error));
  EXPECT_NE(error.find("no unit"), std::string::npos) << error;
}

TEST_F(ProjectFileTest, FixturesReadWithDefaultsAndUnknownKeysIgnored) {
  ProjectData minimal;
  ProjectData full = sample();
  full.libraryFolders.pop_back();
  full.moduleData = "<projectPrefs><name>Long Barn</name></projectPrefs>";
  ProjectData newer;
  newer.settings.workingUnits = WorkingUnits::Imperial;
  newer.libraryFolders = {"library"};
  newer.moduleData = "<jointPrefs/>";
  struct Case {
    const char* file;
    ProjectData expected;
  } cases[] = {{"minimal.trestlar", minimal}, {"full.trestlar", full}, {"newer-revision.trestlar", newer}};
  for (const Case& c : cases) {
    ProjectData data;
    data.moduleData = "left from before";
    std::string error;
    ASSERT_TRUE(standin::readProjectFile(fixturePath(c.file), data, error)) << error;
    EXPECT_TRUE(data == c.expected) << c.file;
  }
}

const std::string kHead = R"({"format": "trestlar-project", "version": 1, )";
const std::string kSettings = R"("settings": {"workingUnits": "metric"})";

TEST_F(ProjectFileTest, BadFilesAreRefusedNamingTheFileAndTheProblemAndStayUntouched) {
  struct Case {
    std::string text;
    const char* problem;
  } cases[] = {
      {"", "the file is empty"},
      {"  \n", "the file is empty"},
      {"{\n  \"format\": \"trestlar-project\",\n  \"version\": 1,\n}\n", "line 4, column 1: syntax error"},
      {"{\"format\": \"trestlar-project\"", "line 1, column 30: syntax error while parsing object - unexpected end"},
      {"{\"format\": \"trestlar-project\", \"x\": \"\xFF\"}",
       "line 1, column 38: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; last read: "
       "'\"\\xFF'"},
      {"// a comment\n{}", "line 1, column 1: syntax error"},
      {"[1, 2]", "the top level must be an object"},
      {R"({"version": 1, )" + kSettings + "}", "not a Trestlar project file (\"format\" is missing)"},
      {R"({"format": "other", "version": 1, )" + kSettings + "}", "\"format\" must be \"trestlar-project\""},
      {R"({"format": "trestlar-project", )" + kSettings + "}", "\"version\" is missing"},
      {R"({"format": "trestlar-project", "version": "1", )" + kSettings + "}", "\"version\" must be a whole number"},
      {R"({"format": "trestlar-project", "version": 1.5, )" + kSettings + "}", "\"version\" must be a whole number"},
      {R"({"format": "trestlar-project", "version": 1e400})", ": number overflow parsing '1e400'"},
      {R"({"format": "trestlar-project", "version": 7})", "unknown schema version 7 (this build reads 1 to 2)"},
      {R"({"format": "trestlar-project", "version": -1})", "unknown schema version -1 (this build reads 1 to 2)"},
      {R"({"format": "trestlar-project", "version": 1})", "\"settings\" is missing"},
      {kHead + R"("settings": []})", "\"settings\" must be an object"},
      {kHead + R"("settings": {}})", "\"settings.workingUnits\" is missing"},
      {kHead + R"("settings": {"workingUnits": 3}})", "\"settings.workingUnits\" must be a string"},
      {kHead + R"("settings": {"workingUnits": "furlongs"}})",
       "\"settings.workingUnits\" must be \"metric\", \"imperial\" or a unit's name (\"metres\", \"centimetres\", "
       "\"millimetres\", \"feetAndFractionalInches\", \"feetAndDecimalInches\", \"decimalFeet\", "
       "\"fractionalInches\", \"decimalInches\"), not \"furlongs\""},
      {kHead + R"("settings": {"workingUnits": "metric", "groupsSuspended": "yes"}})",
       "\"settings.groupsSuspended\" must be true or false"},
      {kHead + kSettings + R"(, "library": ["lib"]})", "\"library\" must be an object"},
      {kHead + kSettings + R"(, "library": {"folders": "lib"}})", "\"library.folders\" must be an array"},
      {kHead + kSettings + R"(, "library": {"folders": ["lib", 2]}})", "\"library.folders[1]\" must be a string"},
      {kHead + kSettings + R"(, "library": {"folders": [""]}})", "\"library.folders[0]\" must not be empty"},
      {kHead + kSettings + R"(, "moduleData": "x"})", "\"moduleData\" must be an object"},
      {kHead + kSettings + R"(, "moduleData": {}})", "\"moduleData.data\" is missing"},
      {kHead + kSettings + R"(, "moduleData": {"data": 5}})", "\"moduleData.data\" must be a string"},
      {kHead + kSettings + R"(, "moduleData": {"encoding": "zip", "data": ""}})",
       "\"moduleData.encoding\" must be \"text\" or \"base64\", not \"zip\""},
      {kHead + kSettings + R"(, "moduleData": {"encoding": "base64", "data": "abc"}})",
       "\"moduleData.data\" is not valid base64"},
      {kHead + kSettings + R"(, "moduleData": {"encoding": "base64", "data": "ab=c"}})",
       "\"moduleData.data\" is not valid base64"},
  };
  // A host with a project open: a refused open must leave it as it is.
  standin::Host host;
  host.newProject();
  host.setModuleData("<open/>");
  std::string file = path("bad.trestlar");
  for (const Case& c : cases) {
    writeFile(file, c.text);
    std::string error;
    EXPECT_FALSE(host.openProject(file, error)) << c.text;
    EXPECT_EQ(error.rfind(file + ": ", 0), 0u) << error;
    EXPECT_NE(error.find(c.problem), std::string::npos) << c.text << "\n" << error;
    EXPECT_EQ(readFile(file), c.text);
    EXPECT_TRUE(host.projectOpen());
    EXPECT_EQ(host.projectPath(), "");
    EXPECT_EQ(host.moduleData(), "<open/>");
  }
}

TEST_F(ProjectFileTest, FilesThatCannotBeReadAreRefusedWithTheReason) {
  ASSERT_TRUE(fs::create_directory(path("folder.trestlar")));
  struct Case {
    std::string file;
    const char* problem;
  } cases[] = {{path("missing.trestlar"), "cannot read the file (No such file or directory)"},
               {path("folder.trestlar"), "is a folder, not a project file"}};
  for (const Case& c : cases) {
    ProjectData data = sample();
    std::string error;
    EXPECT_FALSE(standin::readProjectFile(c.file, data, error));
    EXPECT_EQ(error, c.file + ": " + c.problem);
    EXPECT_TRUE(data == sample());
  }
}

TEST_F(ProjectFileTest, AFailedSaveLeavesTheTargetAsItWasAndNoTemporaryFile) {
  const std::string kept = "{\"format\": \"trestlar-project\", \"version\": 1, \"settings\": {}}\n";
  std::string file = path("kept.trestlar");
  writeFile(file, kept);
  ASSERT_TRUE(fs::create_directory(path("folder.trestlar")));
  ProjectData big = sample();
  big.moduleData.assign(100000, 'x');

  // Writing stops part way when the process may not grow a file past 64 bytes.
  struct rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string fullError;
  bool wrote = standin::writeProjectFile(file, big, fullError);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(fullError, file + ": cannot write the file (File too large)");
  EXPECT_EQ(readFile(file), kept);

  struct Case {
    std::string target;
    const char* reason;
  } cases[] = {{path("folder.trestlar"), "it is not a regular file"},
               {path("no-such-folder/x.trestlar"), "No such file or directory"}};
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(standin::writeProjectFile(c.target, sample(), error)) << c.target;
    EXPECT_EQ(error, c.target + ": cannot write the file (" + c.reason + ")");
  }
  EXPECT_TRUE(fs::is_directory(path("folder.trestlar")));
  EXPECT_TRUE(fs::is_empty(path("folder.trestlar")));
  EXPECT_TRUE(leftovers(dir_).empty());
}

TEST_F(ProjectFileTest, ASaveReplacesOnlyARegularFileAndAReadOnlyOneOnlyWithConsent) {
  ASSERT_EQ(::mkfifo(path("pipe.trestlar").c_str(), 0644), 0);
  fs::create_symlink(path("pipe.trestlar"), path("to-pipe.trestlar"));
  const std::string kept = "{\"format\": \"trestlar-project\", \"version\": 1, \"settings\": {}}\n";
  writeFile(path("locked.trestlar"), kept);
  ::chmod(path("locked.trestlar").c_str(), 0444);
  standin::Host host;
  host.newProject();
  int saves = 0;
  host.setSaveCheck([&saves](std::string&) { return ++saves > 0; });
  struct Case {
    std::string target;
    const char* reason;
  } cases[] = {{path("pipe.trestlar"), "it is not a regular file"},
               {path("to-pipe.trestlar"), "it is not a regular file"},
               {path("locked.trestlar"), "it is read-only"}};
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(standin::writeProjectFile(c.target, sample(), error)) << c.target;
    EXPECT_EQ(error, c.target + ": cannot write the file (" + c.reason + ")");
    error.clear();
    EXPECT_FALSE(host.saveProject(c.target, error)) << c.target;
    EXPECT_EQ(error, c.target + ": cannot write the file (" + c.reason + ")");
  }
  // Refused before the save is announced or checked.
  EXPECT_EQ(saves, 0);
  struct stat st;
  ASSERT_EQ(::lstat(path("pipe.trestlar").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(readFile(path("locked.trestlar")), kept);

  // With consent a read-only file is replaced and stays read-only.
  std::string error;
  ASSERT_TRUE(host.saveProject(path("locked.trestlar"), error, true)) << error;
  EXPECT_EQ(saves, 1);
  EXPECT_NE(readFile(path("locked.trestlar")), kept);
  ASSERT_EQ(::stat(path("locked.trestlar").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_TRUE(leftovers(dir_).empty());
}

TEST_F(ProjectFileTest, TheSaveCheckRefusesASaveAfterItIsAnnouncedAndBeforeTheFileIsWritten) {
  const std::string kept =
      "{\"format\": \"trestlar-project\", \"version\": 1, \"settings\": {\"workingUnits\": \"metric\"}}\n";
  writeFile(path("p.trestlar"), kept);
  standin::Host host;
  std::string error;
  ASSERT_TRUE(host.openProject(path("p.trestlar"), error)) << error;
  host.setModuleData("<changed/>");
  host.setSaveCheck([](std::string& why) {
    why = "the command failed";
    return false;
  });
  EXPECT_FALSE(host.saveProject("", error));
  EXPECT_EQ(error, "the command failed");
  EXPECT_EQ(readFile(path("p.trestlar")), kept);
  host.setSaveCheck(nullptr);
  ASSERT_TRUE(host.saveProject("", error)) << error;
  EXPECT_NE(readFile(path("p.trestlar")).find("<changed/>"), std::string::npos);
}

TEST_F(ProjectFileTest, HostSavesOnlyAnOpenProjectToAFileAndKeepsItsFileWhenASaveFails) {
  standin::Host host;
  std::string error;
  EXPECT_FALSE(host.saveProject(path("a.trestlar"), error));
  EXPECT_EQ(error, "no project is open");
  host.newProject();
  EXPECT_FALSE(host.saveProject("", error));
  EXPECT_EQ(error, "the project has no file yet; name the file to save it to");

  host.setWorkingUnits(WorkingUnits::Imperial);
  host.setGroupsSuspended(true);
  host.setLibraryFolders({"library"});
  host.setModuleData("<m/>");
  ASSERT_TRUE(host.saveProject(path("a.trestlar"), error)) << error;
  EXPECT_EQ(host.projectPath(), path("a.trestlar"));
  EXPECT_FALSE(host.saveProject(path("missing/b.trestlar"), error));
  EXPECT_EQ(host.projectPath(), path("a.trestlar"));

  host.closeProject();
  EXPECT_FALSE(host.projectOpen());
  EXPECT_EQ(host.workingUnits(), WorkingUnits::Metric);
  EXPECT_TRUE(host.moduleData().empty());
  ASSERT_TRUE(host.openProject(path("a.trestlar"), error)) << error;
  EXPECT_EQ(host.workingUnits(), WorkingUnits::Imperial);
  EXPECT_TRUE(host.groupsSuspended());
  EXPECT_EQ(host.moduleData(), "<m/>");
  EXPECT_EQ(host.resolvedLibraryFolders(), std::vector<std::string>{path("library")});
}

TEST(ProjectLibraryFolderTest, RelativeFoldersResolveAgainstTheProjectFilesFolder) {
  struct Case {
    const char* project;
    const char* folder;
    const char* resolved;
  } cases[] = {
      {"/p/barn.trestlar", "library", "/p/library"},
      {"/p/barn.trestlar", "../shared/lib", "/p/../shared/lib"},
      {"/p/barn.trestlar", "/abs/lib", "/abs/lib"},
      {"barn.trestlar", "library", "library"},
      {"C:\\p\\barn.trestlar", "parts\\timber", "C:/p/parts/timber"},
      {"/p/barn.trestlar", "D:\\lib", "D:/lib"},
  };
  for (const Case& c : cases) EXPECT_EQ(standin::resolveLibraryFolder(c.project, c.folder), c.resolved) << c.folder;
}

// A merge handler whose behaviour a test chooses, recording what the host hands it.
struct FakeMerge {
  enum Leave { kNothing, kNewBlock, kDataToMerge, kProjectData, kForeign, kError };
  static Leave leave;
  static int calls;
  static int32_t mode;
  static std::string moduleName;
  static bool projectDataNull;
  static std::string projectData, dataToMerge;
  static bool destinationClear;

  static platform::GSErr handler(int32_t m, const char* name, platform::GSHandle project, platform::GSHandle merging,
                                 platform::GSHandle* destination) {
    standin::MemoryManager& memory = standin::Host::current()->memory();
    ++calls;
    mode = m;
    moduleName = name ? name : "(null)";
    projectDataNull = project == nullptr;
    projectData = project ? std::string(*project, std::size_t(memory.size(project))) : "";
    dataToMerge = merging ? std::string(*merging, std::size_t(memory.size(merging))) : "";
    destinationClear = destination && !*destination;
    static char foreignBlock[4] = "xyz";
    static char* foreign = foreignBlock;
    switch (leave) {
      case kNothing:
        break;
      case kNewBlock:
      case kError: {
        platform::GSHandle block = memory.newHandle(6);
        std::memcpy(*block, "merged", 6);
        *destination = block;
        break;
      }
      case kDataToMerge:
        *destination = merging;
        break;
      case kProjectData:
        *destination = project;
        break;
      case kForeign:
        *destination = &foreign;
        break;
    }
    return leave == kError ? platform::kErrGeneral : platform::kNoError;
  }
};
FakeMerge::Leave FakeMerge::leave = FakeMerge::kNothing;
int FakeMerge::calls = 0;
int32_t FakeMerge::mode = 0;
std::string FakeMerge::moduleName;
bool FakeMerge::projectDataNull = false;
std::string FakeMerge::projectData;
std::string FakeMerge::dataToMerge;
bool FakeMerge::destinationClear = false;

TEST(ProjectMergeTest, TheHandlerGetsBothBlocksAndTheHostTakesWhatItLeavesAndFreesEverything) {
  const std::string incoming = "<timberPrefs><rate>42</rate></timberPrefs>";
  struct Case {
    const char* own;  // the open project's module data
    FakeMerge::Leave leave;
    bool ok;
    std::string result;
  } cases[] = {
      {"<own/>", FakeMerge::kNothing, true, "<own/>"},
      {"<own/>", FakeMerge::kNewBlock, true, "merged"},
      {"", FakeMerge::kNewBlock, true, "merged"},
      {"<own/>", FakeMerge::kDataToMerge, true, incoming},
      {"<own/>", FakeMerge::kProjectData, true, "<own/>"},
      {"<own/>", FakeMerge::kForeign, false, "<own/>"},
      {"<own/>", FakeMerge::kError, false, "<own/>"},
  };
  for (const Case& c : cases) {
    standin::Host host;
    ASSERT_EQ(host.table().HostInstallModuleDataMergeHandler(host.token(), &FakeMerge::handler), platform::kNoError);
    host.newProject();
    host.setModuleData(c.own);
    FakeMerge::leave = c.leave;
    FakeMerge::calls = 0;
    std::string error;
    EXPECT_EQ(host.mergeProject(fixturePath("merge-source.trestlar"), error), c.ok) << c.leave << " " << error;
    EXPECT_EQ(error.empty(), c.ok) << error;
    EXPECT_EQ(host.moduleData(), c.result) << c.leave;
    EXPECT_EQ(host.memory().liveHandles(), 0u) << c.leave;
    ASSERT_EQ(FakeMerge::calls, 1);
    EXPECT_EQ(FakeMerge::mode, standin::kModuleDataMergeMode);
    EXPECT_EQ(FakeMerge::moduleName, "");
    EXPECT_EQ(FakeMerge::projectDataNull, std::string(c.own).empty());
    EXPECT_EQ(FakeMerge::projectData, c.own);
    EXPECT_EQ(FakeMerge::dataToMerge, incoming);
    EXPECT_TRUE(FakeMerge::destinationClear);
  }
}

TEST(ProjectMergeTest, NothingIsMergedFromAFileWithoutModuleDataOrIntoNoProject) {
  standin::Host host;
  ASSERT_EQ(host.table().HostInstallModuleDataMergeHandler(host.token(), &FakeMerge::handler), platform::kNoError);
  FakeMerge::calls = 0;
  std::string error;
  EXPECT_FALSE(host.mergeProject(fixturePath("merge-source.trestlar"), error));
  EXPECT_NE(error.find("no project is open"), std::string::npos) << error;
  host.newProject();
  host.setModuleData("<own/>");
  EXPECT_TRUE(host.mergeProject(fixturePath("minimal.trestlar"), error)) << error;
  EXPECT_FALSE(host.mergeProject(fixturePath("missing.trestlar"), error));
  EXPECT_EQ(error.rfind(fixturePath("missing.trestlar") + ": cannot read", 0), 0u) << error;
  EXPECT_EQ(FakeMerge::calls, 0);
  EXPECT_EQ(host.moduleData(), "<own/>");
}

}  // namespace
