// A database's whole identity (kind, number and index) through the add-on: elements of a
// numbered view are read and stored through their links, the current view survives a switch
// of group suspension, and the drawing's pixel size.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "model_fixture.h"
#include "runtime/environment.h"

namespace {

using platform::DatabaseRecord;

// A database's identity as text, for comparing and showing.
std::string id(const DatabaseRecord& d) {
  return std::to_string(d.kind) + "/" + std::to_string(d.number) + "/" + std::to_string(d.index);
}

class DatabaseIdentityTest : public testing_support::ModelHost {};

TEST_F(DatabaseIdentityTest, AnElementOfANumberedViewIsReadAndStoredThroughItsLink) {
  DatabaseRecord section = model().addCutPlane(platform::kDatabaseSection, 0, 0, 10, 0, 0, "A-A", 5);
  ASSERT_EQ(section.number, 5);
  standin::HostElement* placed = model().placeObject("Timber", {}, 2, 0, 1, 0, &section);
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(placed->header().databaseNumber, 5);
  lunvik::ElementLink link(placed->header());
  EXPECT_EQ(id(link.database()), id(section));
  lunvik::Drawing* view = project().drawing(link.database());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(id(view->identity()), id(section));
  ASSERT_TRUE(model().setCurrent(model().plan().id));
  auto element = view->findByGuid(link);
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(id(element->link().database()), id(section));
  ASSERT_TRUE(view->store(*element)) << view->lastError();
  EXPECT_EQ(id(model().current()), id(section));
  // The host lists the view with its number, and names it as the current database.
  EXPECT_EQ(project().workingDrawing(), view);
}

TEST_F(DatabaseIdentityTest, TheDrawingsPixelSizeIsOneScreenPixelAtTheDrawingsScale) {
  place(0, 0);
  place(20, 10);
  // 1:100 on a screen of 96 pixels an inch.
  EXPECT_NEAR(plan().pixelSize(), 0.0254 / 96 * 100, 1e-12);
  EXPECT_NEAR(plan().scale(), 100, 1e-12);
}

// Wraps the host's table so that switching group suspension leaves the plan current, as a
// host whose group mode belongs to the plan's window does.
platform::HostFunctionTable gInner{};
standin::Host* gHost = nullptr;

platform::GSErr suspendInThePlan(platform::HostToken token, const void* elements, int32_t count, uint32_t code) {
  platform::GSErr result = gInner.HostElementTool(token, elements, count, code);
  if (code == platform::fourcc("SUSP") && result == platform::kNoError) gHost->model().setCurrent(gHost->model().plan().id);
  return result;
}

class GroupSuspensionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    appData_ = pattern;
    host_ = std::make_unique<standin::Host>();
    host_->setApplicationDataFolder(appData_);
    gInner = host_->table();
    gHost = host_.get();
    platform::HostFunctionTable table = gInner;
    table.HostElementTool = &suspendInThePlan;
    host_->setTable(table);
    std::string error;
    ASSERT_TRUE(host_->load(testing_support::linkedAddon(), error)) << error;
    host_->newProject();
  }
  void TearDown() override {
    host_.reset();
    gHost = nullptr;
    std::error_code ignored;
    std::filesystem::remove_all(appData_, ignored);
  }

  std::unique_ptr<standin::Host> host_;
  std::string appData_;
};

TEST_F(GroupSuspensionTest, SwitchingSuspensionKeepsTheSameView) {
  standin::ProjectModel& m = host_->model();
  m.addCutPlane(platform::kDatabaseSection, 0, 0, 10, 0, 0, "A-A");
  DatabaseRecord numbered = m.addCutPlane(platform::kDatabaseSection, 0, 5, 10, 5, 0, "B-B", 7);
  ASSERT_TRUE(m.setCurrent(numbered));
  lunvik::Environment::instance().setGroupsSuspended(true);
  EXPECT_TRUE(host_->groupsSuspended());
  EXPECT_EQ(id(m.current()), id(numbered));
  lunvik::Environment::instance().setGroupsSuspended(false);
  EXPECT_FALSE(host_->groupsSuspended());
  EXPECT_EQ(id(m.current()), id(numbered));
}

}  // namespace
