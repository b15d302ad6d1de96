// The host's tools reach the add-on's database subscribers, whose links find the elements the
// host placed, copied or edited: the path the timber database keeps members consistent by.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model_fixture.h"
#include "runtime/subscriber.h"
#include "shell/varnholt_addon.h"
#include "timber/timber_database.h"

namespace {

// Records every database notification and reads the element each one names.
class Recorder : public lunvik::DatabaseSubscriber {
 public:
  Recorder() : DatabaseSubscriber(platform::kObject, 0) {}
  bool databaseEvent(lunvik::DatabaseEvent& event) override {
    std::string entry = std::to_string(event.code());
    if (event.code() > 0) {
      auto element = lunvik::theAddon()->project()->plan().findByGuid(event.link());
      auto* object = dynamic_cast<lunvik::Object*>(element.get());
      entry += object ? " x=" + std::to_string(int(object->position().getX())) : " unread";
      if (object && event.code() == lunvik::kNewElement) object->setUserData("TSTR", false, true, 0);
    }
    events.push_back(entry);
    return false;
  }
  std::vector<std::string> events;
};

class NotificationTest : public testing_support::ModelHost {
 protected:
  void SetUp() override {
    ModelHost::SetUp();
    // The recorder hears each notification before the timber database takes it.
    lunvik::Addon* addon = lunvik::theAddon();
    auto* product = dynamic_cast<varnholt::VarnholtAddon*>(addon);
    ASSERT_NE(product, nullptr);
    ASSERT_NE(product->timberDatabase(), nullptr);
    const auto& timbers = product->timberDatabase()->subscribers();
    for (const auto& s : timbers) addon->unsubscribe(s.get());
    addon->subscribe(&recorder_);
    for (const auto& s : timbers) addon->subscribe(s.get());
    ASSERT_TRUE(recorder_.installHandlers());
  }
  void TearDown() override {
    lunvik::theAddon()->unsubscribe(&recorder_);
    ModelHost::TearDown();
  }
  Recorder recorder_;
};

TEST_F(NotificationTest, PlacedCopiedAndMovedObjectsReachTheSubscriber) {
  standin::HostElement* placed = place(2, 0);
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(recorder_.events, (std::vector<std::string>{"-1", "1 x=2", "-2"}));
  EXPECT_TRUE(placed->hasUserData);  // the subscriber tagged the new element
  recorder_.events.clear();
  platform::EditRecord copy{};
  copy.kind = int32_t(platform::fourcc("DRAG"));
  copy.flag = 0;
  copy.second = {5, 0, 0};
  model().edit({placed->header().guid}, copy);
  EXPECT_EQ(recorder_.events, (std::vector<std::string>{"-1", "2 x=7", "-2"}));
  recorder_.events.clear();
  copy.flag = 1;
  model().edit({placed->header().guid}, copy);
  EXPECT_EQ(recorder_.events, (std::vector<std::string>{"-1", "4 x=7", "-2"}));
}

TEST_F(NotificationTest, AnElementTheAddonStoresIsReportedAsNew) {
  lunvik::Object object;
  object.setComponent(host().library().find("Timber", 0), false, nullptr);
  object.setPosition(lunvik::CadPoint(9, 1, 0));
  ASSERT_TRUE(plan().store(object, true));
  EXPECT_EQ(recorder_.events, (std::vector<std::string>{"-1", "1 x=9", "-2"}));
  EXPECT_EQ(model().elements(model().plan(), platform::kObject)[0]->libraryPart, "Timber");
}

}  // namespace
