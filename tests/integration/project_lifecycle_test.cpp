// Projects opened, saved, closed and merged in the stand-in host with the real add-on loaded.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/project/project_file.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "runtime/memory.h"
#include "support/loaded_host.h"

namespace {

namespace fs = std::filesystem;
using platform::fourcc;
using platform::HostFunctionTable;

std::string fixturePath(const std::string& name) { return std::string(TRESTLAR_FIXTURES) + "/projects/" + name; }

const char* const kStored = "<projectPrefs><name>stored at save</name></projectPrefs>";

// A project subscriber inside the add-on: records the notifications, stores module data
// before a save and reads it back when a project opens, as the add-on's packages do.
class ProjectRecorder : public lunvik::ProjectSubscriber {
 public:
  bool projectEvent(lunvik::ProjectEvent& event) override {
    codes.push_back(event.code());
    if (event.code() == platform::kProjectPreSave) {
      lunvik::HandleOwner block(lunvik::newHandle(kStored, std::char_traits<char>::length(kStored)));
      platform::ModuleDataRecord record{};
      record.dataVersion = 1;
      record.platform = lunvik::Environment::platformCode();
      record.dataHdl = block.get();
      lunvik::host().call(&HostFunctionTable::HostStoreModuleData, &record);
    }
    if (event.code() == platform::kProjectOpen) {
      platform::ModuleDataRecord record{};
      opened.clear();
      if (lunvik::host().call(&HostFunctionTable::HostGetModuleData, &record) == platform::kNoError) {
        lunvik::HandleOwner block(record.dataHdl);
        opened.assign(*block.get(), lunvik::handleSize(block.get()));
      }
      int32_t value = -1;
      lunvik::host().call(&HostFunctionTable::HostEnvironment, fourcc("GWUN"), &value, nullptr, nullptr);
      units = value;
      suspended = lunvik::Environment::instance().groupsSuspended();
    }
    return false;
  }
  std::vector<int32_t> codes;
  std::string opened;  // the module data read when the project opened
  int32_t units = -1;
  bool suspended = false;
};

// Records every block the add-on stores as module data, whichever part of it stores.
struct StoreSpy {
  static std::vector<std::string> stored;
  static platform::GSErr (*real)(platform::HostToken, const platform::ModuleDataRecord*);
  static platform::GSErr store(platform::HostToken token, const platform::ModuleDataRecord* record) {
    standin::MemoryManager& memory = standin::Host::current()->memory();
    platform::GSHandle block = record ? record->dataHdl : nullptr;
    stored.push_back(block && memory.size(block) > 0 ? std::string(*block, std::size_t(memory.size(block))) : "");
    return real(token, record);
  }
};
std::vector<std::string> StoreSpy::stored;
platform::GSErr (*StoreSpy::real)(platform::HostToken, const platform::ModuleDataRecord*) = nullptr;

// Records the module-data merges the add-on hears.
class MergeRecorder : public lunvik::ModuleSubscriber {
 public:
  bool moduleEvent(lunvik::ModuleEvent& event) override {
    modes.push_back(event.mode());
    destinationGiven = event.destination() != nullptr && *event.destination() == nullptr;
    return false;
  }
  std::vector<int32_t> modes;
  bool destinationGiven = false;
};

class ProjectLifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = std::make_unique<standin::Host>();
    platform::HostFunctionTable table = host_->table();
    StoreSpy::real = table.HostStoreModuleData;
    table.HostStoreModuleData = &StoreSpy::store;
    host_->setTable(table);
    std::string error;
    ASSERT_TRUE(host_->load(testing_support::linkedAddon(), error)) << error;
    char pattern[] = "/tmp/trestlar-lifecycle-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    lunvik::theAddon()->subscribe(&recorder_);
  }
  void TearDown() override {
    if (lunvik::theAddon()) lunvik::theAddon()->unsubscribe(&recorder_);
    host_.reset();
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  standin::Host& host() { return *host_; }

  std::unique_ptr<standin::Host> host_;
  std::string dir_;
  ProjectRecorder recorder_;
};

TEST_F(ProjectLifecycleTest, NotificationsReachTheAddonInTheHostsOrder) {
  std::string file = dir_ + "/barn.trestlar";
  std::string error;
  host().newProject();
  ASSERT_TRUE(host().saveProject(file, error)) << error;
  host().closeProject();
  host().closeProject();  // nothing is open: nothing is announced
  ASSERT_TRUE(host().openProject(file, error)) << error;
  ASSERT_TRUE(host().saveProject("", error)) << error;
  host().newProject();  // closes the open project first
  host().unload();
  EXPECT_EQ(recorder_.codes, (std::vector<int32_t>{1, 8, 32, 4, 8, 32, 1, 32, 64}));
  EXPECT_EQ(lunvik::theAddon(), nullptr);
  EXPECT_EQ(host().memory().liveHandles(), 0u);
}

TEST_F(ProjectLifecycleTest, ARefusedOpenAnnouncesNothingAndKeepsTheOpenProject) {
  std::string error;
  ASSERT_TRUE(host().openProject(fixturePath("full.trestlar"), error)) << error;
  recorder_.codes.clear();
  std::string bad = dir_ + "/bad.trestlar";
  ASSERT_TRUE(standin::writeProjectFile(bad, standin::ProjectData(), error)) << error;
  ASSERT_EQ(::truncate(bad.c_str(), 20), 0);
  EXPECT_FALSE(host().openProject(bad, error));
  EXPECT_NE(error.find(bad + ": line "), std::string::npos) << error;
  EXPECT_TRUE(recorder_.codes.empty());
  EXPECT_EQ(host().projectPath(), fixturePath("full.trestlar"));
}

TEST_F(ProjectLifecycleTest, ModuleDataTheAddonStoresDuringTheSaveIsWrittenAndReadBackOnOpen) {
  std::string error;
  ASSERT_TRUE(host().openProject(fixturePath("full.trestlar"), error)) << error;
  EXPECT_EQ(recorder_.opened, "<projectPrefs><name>Long Barn</name></projectPrefs>");

  std::string file = dir_ + "/barn.trestlar";
  StoreSpy::stored.clear();
  ASSERT_TRUE(host().saveProject(file, error)) << error;
  // The recorder stores first; whatever the add-on stored last is the project's data.
  ASSERT_FALSE(StoreSpy::stored.empty());
  EXPECT_EQ(StoreSpy::stored.front(), kStored);
  standin::ProjectData data;
  ASSERT_TRUE(standin::readProjectFile(file, data, error)) << error;
  EXPECT_EQ(data.moduleData, StoreSpy::stored.back());
  EXPECT_EQ(host().moduleData(), StoreSpy::stored.back());

  host().closeProject();
  EXPECT_TRUE(host().moduleData().empty());
  recorder_.opened = "not read";
  ASSERT_TRUE(host().openProject(file, error)) << error;
  EXPECT_EQ(recorder_.opened, data.moduleData);
}

TEST_F(ProjectLifecycleTest, TheAddonReadsTheProjectsSettings) {
  struct Case {
    const char* file;
    int32_t units;
    bool suspended;
  } cases[] = {{"minimal.trestlar", 0, false}, {"full.trestlar", 3, true}, {"minimal.trestlar", 0, false}};
  // "metric" is metres (0), "imperial" feet and fractional inches (3).
  for (const Case& c : cases) {
    std::string error;
    ASSERT_TRUE(host().openProject(fixturePath(c.file), error)) << error;
    EXPECT_EQ(recorder_.units, c.units) << c.file;
    EXPECT_EQ(recorder_.suspended, c.suspended) << c.file;
  }
}

TEST_F(ProjectLifecycleTest, MergingAProjectCallsTheAddonsHandlerAndFreesTheBlocks) {
  MergeRecorder merges;
  lunvik::theAddon()->subscribe(&merges);
  std::string error;
  ASSERT_TRUE(host().openProject(fixturePath("full.trestlar"), error)) << error;
  std::size_t handles = host().memory().liveHandles();
  EXPECT_TRUE(host().mergeProject(fixturePath("minimal.trestlar"), error)) << error;  // no module data
  EXPECT_TRUE(merges.modes.empty());
  EXPECT_TRUE(host().mergeProject(fixturePath("merge-source.trestlar"), error)) << error;
  lunvik::theAddon()->unsubscribe(&merges);
  EXPECT_EQ(merges.modes, std::vector<int32_t>{standin::kModuleDataMergeMode});
  EXPECT_TRUE(merges.destinationGiven);
  EXPECT_EQ(host().memory().liveHandles(), handles);
  EXPECT_EQ(host().projectPath(), fixturePath("full.trestlar"));
}

}  // namespace
