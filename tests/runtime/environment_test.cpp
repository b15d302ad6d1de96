#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/alert.h"
#include "runtime/environment.h"
#include "support/loaded_host.h"

namespace {

using lunvik::Environment;

class EnvironmentTest : public testing_support::LoadedHost {};

TEST_F(EnvironmentTest, StringListsReadByIndexAndMissingItemsAreEmpty) {
  const Environment& env = Environment::instance();
  EXPECT_EQ(env.string(32528, 1).str(), "Framing");
  EXPECT_EQ(env.string(32526, 21).str(), "Mark As Checked  Joint");
  EXPECT_EQ(env.string(32540, 4).str(), "Framing Tool");
  EXPECT_EQ(env.string(32760, 5).str(), "OK");
  EXPECT_TRUE(env.string(32528, 999).empty());
  EXPECT_TRUE(env.string(1234, 1).empty());
  // Reading restores whatever module was current.
  EXPECT_EQ(host().resources().current(), nullptr);
}

TEST_F(EnvironmentTest, RawResourceCopiesTheStoredBytes) {
  auto list = Environment::instance().rawResource(platform::kResourceStrings, 32528);
  ASSERT_NE(list, nullptr);
  std::string text(list->begin(), list->end());
  EXPECT_NE(text.find("1\tFraming"), std::string::npos);
  EXPECT_EQ(Environment::instance().rawResource(platform::kResourceFile, 9999), nullptr);
  EXPECT_EQ(Environment::instance().resource(platform::kResourceFile, 9999), nullptr);
  EXPECT_EQ(host().memory().liveHandles(), 0u);
}

TEST_F(EnvironmentTest, FoldersComeFromTheHost) {
  host().setApplicationDataFolder("/tmp/appdata");
  EXPECT_EQ(Environment::instance().applicationDataFolder().str(), "/tmp/appdata\\");
  EXPECT_EQ(Environment::instance().hostFolder(7), nullptr);
  host().setHostFolder(7, "/opt/host");
  auto folder = Environment::instance().hostFolder(7);
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->str(), "/opt/host");
}

TEST_F(EnvironmentTest, GroupSuspensionTogglesOnlyWhenItDiffers) {
  const Environment& env = Environment::instance();
  EXPECT_FALSE(env.groupsSuspended());
  env.setGroupsSuspended(false);
  EXPECT_EQ(host().callCount("HostElementTool"), 0);
  env.setGroupsSuspended(true);
  EXPECT_TRUE(host().groupsSuspended());
  EXPECT_EQ(host().callCount("HostElementTool"), 1);
  // The current database is put back after the tool ran.
  EXPECT_EQ(host().callCount("HostDatabase"), 2);
}

TEST_F(EnvironmentTest, CallsAreAllCountedButOnlyTheLastAreLogged) {
  const Environment& env = Environment::instance();
  host().clearRecords();
  const int toggles = int(standin::Host::kCallLogSize);
  for (int i = 0; i < toggles; ++i) env.setGroupsSuspended(i % 2 == 0);
  // Each toggle runs the element tool in its own database: three calls.
  EXPECT_EQ(host().callCount("HostElementTool"), toggles);
  const std::vector<std::string> log = host().callLog();
  ASSERT_EQ(log.size(), standin::Host::kCallLogSize);
  EXPECT_EQ(log.back(), "HostDatabase");
}

TEST_F(EnvironmentTest, AlertsUseDefaultTitlesAndScriptedAnswers) {
  struct Case {
    std::unique_ptr<lunvik::Alert> alert;
    int32_t kind;
    const char* title;
  };
  Case cases[] = {{std::make_unique<lunvik::NotifyAlert>(), platform::kAlertNotify, "Notification"},
                  {std::make_unique<lunvik::WarnAlert>(), platform::kAlertWarning, "Warning"},
                  {std::make_unique<lunvik::ErrorAlert>(""), platform::kAlertError, "Error"},
                  {std::make_unique<lunvik::ConfirmAlert>(), platform::kAlertWarning, "Confirmation"},
                  {std::make_unique<lunvik::ErrorAlert>("Schedule"), platform::kAlertError, "Schedule"}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.alert->kind(), c.kind);
    EXPECT_EQ(c.alert->title().str(), c.title);
  }
  lunvik::ConfirmAlert confirm;
  EXPECT_EQ(confirm.show("Go on?"), 1);  // nothing queued: the first button
  host().queueAlertAnswer(2);
  EXPECT_EQ(confirm.show("Go on?"), 2);
  ASSERT_EQ(host().alerts().size(), 2u);
  EXPECT_EQ(host().alerts()[1].buttons, (std::vector<std::string>{"OK", "Cancel"}));
  lunvik::NotifyAlert().show("Done");
  EXPECT_EQ(host().alerts()[2].buttons, std::vector<std::string>{"OK"});
}

}  // namespace
