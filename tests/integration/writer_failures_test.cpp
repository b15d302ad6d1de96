// The add-on's writers of whole files (the report, the user's default files, the ProjectData
// macro) under a host whose file operations fail: the old file stays byte for byte, nothing is
// left beside it, and the failure is said. And default files that do not read are no list.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/core/fault_table.h"
#include "model/project.h"
#include "prefs/joint_prefs.h"
#include "prefs/timber_prefs.h"
#include "runtime/addon.h"
#include "support/dialog_script.h"
#include "support/loaded_host.h"

namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using varnholt::JointPrefs;
using varnholt::TimberPrefs;

constexpr int32_t kProjectDialog = 32514;
constexpr int32_t kJointDialog = 32515;
constexpr int32_t kReportsDialog = 32516;
constexpr int32_t kReportingDialog = 32512;

// The file operations a whole-file write goes through, each made to fail in turn.
const char* const kWriteOperations[] = {"IOOpenFile", "IOWriteFile", "IOCloseFile", "IOSetFileType", "IOReplaceFile"};

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::vector<std::string> names(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& entry : fs::directory_iterator(folder)) out.push_back(entry.path().filename());
  std::sort(out.begin(), out.end());
  return out;
}

template <typename P>
P& package() {
  auto* p = dynamic_cast<P*>(lunvik::theAddon()->project()->store().get(P::kCode));
  if (!p) throw std::runtime_error("package missing");
  return *p;
}

std::vector<std::string> jointNames() {
  std::vector<std::string> out;
  for (const auto& j : package<JointPrefs>().joints()) out.push_back(j->name.str());
  return out;
}

std::vector<std::string> timberNames() {
  std::vector<std::string> out;
  for (const auto& t : package<TimberPrefs>().specifications()) out.push_back(t->name.str());
  return out;
}

// A loaded host whose table goes through the fault plan; a new project is open.
class WriterFailuresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-writes-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    appData_ = pattern;
    host_ = std::make_unique<standin::Host>();
    host_->setApplicationDataFolder(appData_);
    host_->setTable(standin::faultyTable(host_->table(), plan_));
    std::string error;
    ASSERT_TRUE(host_->load(linkedAddon(), error)) << error;
    host_->newProject();
    host_->clearRecords();
    prefsFolder_ = appData_ + "/Trestlar";
  }
  void TearDown() override {
    host_.reset();
    std::error_code ignored;
    fs::remove_all(appData_, ignored);
  }

  // The next call of operation fails.
  void failNext(const char* operation) {
    plan_ = standin::FaultPlan();
    plan_.only = operation;
    plan_.failAt = 1;
  }
  // Nothing fails; answers whether the planned failure was made.
  bool heal() {
    bool fired = plan_.fired;
    plan_ = standin::FaultPlan();
    return fired;
  }
  void choose(const std::string& item, int32_t dialog, const Actions& actions) {
    host_->dialogs().queueDialog(dialog, actions);
    standin::MenuItem menu;
    ASSERT_TRUE(host_->findMenuItem("Framing/Preferences/" + item, menu));
    host_->chooseMenuItem(menu.menuList, menu.itemIndex);
    EXPECT_EQ(host_->dialogs().scriptError(), "");
  }
  // The texts of the error alerts shown since the last call.
  std::vector<std::string> errorAlerts() {
    std::vector<std::string> out;
    for (const auto& alert : host_->alerts())
      if (alert.kind == platform::kAlertError) out.push_back(alert.text);
    host_->clearRecords();
    return out;
  }

  standin::Host& host() { return *host_; }

  standin::FaultPlan plan_;
  std::unique_ptr<standin::Host> host_;
  std::string appData_;
  std::string prefsFolder_;
};

TEST_F(WriterFailuresTest, AReportThatCannotBeWrittenLeavesTheOldOneAndFails) {
  const std::string path = appData_ + "/Timber Schedule.txt";
  const std::string old = "Description\tType\r\nold\trow\r\n";
  for (const char* operation : kWriteOperations) {
    writeFile(path, old);
    host().dialogs().queueDialog(kReportingDialog, {setItem(6, "on"), pressOk()});
    failNext(operation);
    std::string error;
    EXPECT_FALSE(host().saveAs(path, "Timber Schedule", error)) << operation;
    EXPECT_TRUE(heal()) << operation;
    EXPECT_EQ(error, path + ": the Timber Schedule could not be written") << operation;
    EXPECT_EQ(readFile(path), old) << operation;
    EXPECT_EQ(names(appData_), (std::vector<std::string>{"Timber Schedule.txt", "Trestlar"})) << operation;
  }
  // Without a failure the new report takes the old one's place.
  host().dialogs().queueDialog(kReportingDialog, {setItem(6, "on"), pressOk()});
  std::string error;
  ASSERT_TRUE(host().saveAs(path, "Timber Schedule", error)) << error;
  EXPECT_EQ(readFile(path).rfind("Description\tWidth\t", 0), 0u);
  EXPECT_EQ(names(appData_), (std::vector<std::string>{"Timber Schedule.txt", "Trestlar"}));
}

TEST_F(WriterFailuresTest, ADefaultFileThatCannotBeWrittenStaysAsItWas) {
  JointPrefs joints;
  joints.add("Mine", "", 0.1, 1);
  TimberPrefs timbers;
  timbers.add("Oak", 900);
  ASSERT_TRUE(joints.writeDefaultFile());
  ASSERT_TRUE(timbers.writeDefaultFile());
  const std::string jointFile = prefsFolder_ + "/Default Joints.xml";
  const std::string timberFile = prefsFolder_ + "/Default Timbers.xml";
  const std::string oldJoints = readFile(jointFile), oldTimbers = readFile(timberFile);
  const std::vector<std::string> before = names(prefsFolder_);
  joints.add("Second", "", 0, 0);
  timbers.add("Ash", 700);
  for (const char* operation : kWriteOperations) {
    failNext(operation);
    EXPECT_FALSE(joints.writeDefaultFile()) << operation;
    EXPECT_TRUE(heal()) << operation;
    failNext(operation);
    EXPECT_FALSE(timbers.writeDefaultFile()) << operation;
    EXPECT_TRUE(heal()) << operation;
    EXPECT_EQ(readFile(jointFile), oldJoints) << operation;
    EXPECT_EQ(readFile(timberFile), oldTimbers) << operation;
    EXPECT_EQ(names(prefsFolder_), before) << operation;
  }
}

TEST_F(WriterFailuresTest, TheMacroThatCannotBeWrittenAgainStaysAsItWas) {
  const std::string macro = prefsFolder_ + "/ProjectData.gdl";
  const std::string old = readFile(macro);
  ASSERT_NE(old.find("GLOB_USER_12 = \"\""), std::string::npos);
  const std::vector<std::string> before = names(prefsFolder_);
  for (const char* operation : kWriteOperations) {
    failNext(operation);
    // OK in the project dialog writes the macro again, with the new project number.
    choose("Project...", kProjectDialog, {setItem(4, "P-42"), pressOk()});
    EXPECT_TRUE(heal()) << operation;
    EXPECT_EQ(readFile(macro), old) << operation;
    EXPECT_EQ(names(prefsFolder_), before) << operation;
    const std::string alert = "The project preferences could not be updated. All timbers may not work correctly";
    EXPECT_EQ(errorAlerts(), std::vector<std::string>{alert}) << operation;
  }
  choose("Project...", kProjectDialog, {setItem(4, "P-42"), pressOk()});
  EXPECT_NE(readFile(macro).find("GLOB_USER_12 = \"P-42\""), std::string::npos);
}

TEST_F(WriterFailuresTest, ADefaultFileThatDoesNotReadIsAnErrorAndNoList) {
  const std::string unreadable =
      "The default list in the preferences folder is empty or could not be read, so it was not used";
  struct Case {
    const char* what;
    const char* joints;   // the text of "Default Joints.xml"
    const char* timbers;  // and of "Default Timbers.xml"
  } cases[] = {
      {"empty", "", ""},
      {"cut short", "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n<jointPrefs>\n\t<jointList>\n\t\t<joint>\n"
                    "\t\t\t<name>Halved</name>\n\t\t</joint>\n\t\t<joi",
       "<timberPrefs><timberSpecList><timberSpecification><name>Ash</name>"},
      {"an empty list", "<jointPrefs><jointList/></jointPrefs>", "<timberPrefs><timberSpecList/></timberPrefs>"},
      {"another document", "<timberPrefs/>", "<jointPrefs/>"},
  };
  const std::vector<std::string> joints = jointNames(), timbers = timberNames();
  ASSERT_EQ(joints.size(), 17u);
  ASSERT_EQ(timbers.size(), 4u);
  for (const Case& c : cases) {
    writeFile(prefsFolder_ + "/Default Joints.xml", c.joints);
    writeFile(prefsFolder_ + "/Default Timbers.xml", c.timbers);
    // "Apply Default" then OK: the lists stay as they were.
    choose("Joints...", kJointDialog, {clickItem(15), pressOk()});
    choose("Reports...", kReportsDialog, {clickItem(26), pressOk()});
    EXPECT_EQ(jointNames(), joints) << c.what;
    EXPECT_EQ(timberNames(), timbers) << c.what;
    EXPECT_EQ(errorAlerts(), (std::vector<std::string>{unreadable + " (Default Joints.xml)",
                                                       unreadable + " (Default Timbers.xml)"}))
        << c.what;
    // A project's empty list is not completed from them either.
    JointPrefs empty;
    EXPECT_TRUE(empty.complete());
    EXPECT_TRUE(empty.joints().empty()) << c.what;
    EXPECT_EQ(errorAlerts().size(), 1u) << c.what;
  }

  // A file that cannot be read is no list either.
  JointPrefs mine;
  mine.add("Mine", "", 0, 0);
  ASSERT_TRUE(mine.writeDefaultFile());
  failNext("IOReadFile");
  choose("Joints...", kJointDialog, {clickItem(15), pressOk()});
  EXPECT_TRUE(heal());
  EXPECT_EQ(jointNames(), joints);
  EXPECT_EQ(errorAlerts().size(), 1u);
  // And one that reads is applied.
  choose("Joints...", kJointDialog, {clickItem(15), pressOk()});
  EXPECT_EQ(jointNames(), std::vector<std::string>{"Mine"});
  EXPECT_TRUE(errorAlerts().empty());
}

}  // namespace
