#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/event.h"
#include "runtime/publisher.h"
#include "runtime/subscriber.h"

namespace {

using lunvik::Event;
using lunvik::EventSpec;
using lunvik::Publisher;
using lunvik::Subscriber;
using platform::fourcc;

const EventSpec kSpecA(fourcc("VRNH"), fourcc("AAAA"));
const EventSpec kSpecB(fourcc("VRNH"), fourcc("BBBB"));

// Records what it hears into a shared log and answers as it is told.
class Recorder : public Subscriber {
 public:
  Recorder(std::string name, EventSpec spec, std::vector<std::string>& log, bool takes = false)
      : name_(std::move(name)), spec_(spec), log_(log), takes_(takes) {}
  EventSpec spec() const override { return spec_; }
  bool takeEvent(Event&) override {
    log_.push_back(name_);
    if (onEvent) onEvent();
    return takes_;
  }
  bool acceptsEnvironment() override { return pass("env"); }
  bool registerWithHost() override { return pass("reg"); }
  bool installHandlers() override { return pass("init"); }

  std::function<void()> onEvent;
  bool passAnswer = true;

 private:
  bool pass(const char* which) {
    log_.push_back(name_ + ":" + which);
    return passAnswer;
  }
  std::string name_;
  EventSpec spec_;
  std::vector<std::string>& log_;
  bool takes_;
};

TEST(EventSpecTest, OrdersByCategoryThenKindAsUnsignedNumbers) {
  EventSpec high(0x80000000u, 1);
  EventSpec low(fourcc("HOST"), 0xFFFFFFFFu);
  EXPECT_TRUE(low < high);
  EXPECT_FALSE(high < low);
  EXPECT_TRUE(EventSpec(1, 1) < EventSpec(1, 0x80000000u));
  EXPECT_EQ(EventSpec(1, 2), EventSpec(1, 2));
  EXPECT_NE(EventSpec(1, 2), EventSpec(2, 1));
}

TEST(PublisherTest, PublishingWithoutSubscriptionsCreatesNoList) {
  Publisher p;
  Event e(kSpecA);
  EXPECT_FALSE(p.publish(e));
  EXPECT_EQ(p.subscriptions(), nullptr);
  EXPECT_FALSE(p.runRegistrationPass());
}

TEST(PublisherTest, DeliversInSubscriptionOrderUntilOneTakes) {
  std::vector<std::string> log;
  Recorder first("first", kSpecA, log), taker("taker", kSpecA, log, true), last("last", kSpecA, log);
  Recorder other("other", kSpecB, log);
  Publisher p;
  for (Subscriber* s : std::vector<Subscriber*>{&first, &other, &taker, &last}) p.subscribe(s);
  Event e(kSpecA);
  EXPECT_TRUE(p.publish(e));
  EXPECT_EQ(log, (std::vector<std::string>{"first", "taker"}));
}

TEST(PublisherTest, SubscribingTwiceLeavesOneEntryAtTheEndOfItsGroup) {
  std::vector<std::string> log;
  Recorder a("a", kSpecA, log), b("b", kSpecA, log);
  Publisher p;
  p.subscribe(&a);
  p.subscribe(&b);
  p.subscribe(&a);
  EXPECT_EQ(p.subscriptions()->size(), 2u);
  Event e(kSpecA);
  p.publish(e);
  EXPECT_EQ(log, (std::vector<std::string>{"b", "a"}));
}

TEST(PublisherTest, SubscriberMayUnsubscribeItselfOrAnotherDuringDelivery) {
  std::vector<std::string> log;
  Recorder a("a", kSpecA, log), b("b", kSpecA, log), c("c", kSpecA, log), d("d", kSpecA, log);
  Publisher p;
  for (Recorder* s : {&a, &b, &c, &d}) p.subscribe(s);
  a.onEvent = [&] { p.unsubscribe(&a); };
  // b removes the entry the walk is about to visit next.
  b.onEvent = [&] { p.unsubscribe(&c); };
  Event e(kSpecA);
  EXPECT_FALSE(p.publish(e));
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "d"}));
  log.clear();
  EXPECT_FALSE(p.publish(e));
  EXPECT_EQ(log, (std::vector<std::string>{"b", "d"}));
  EXPECT_EQ(p.subscriptions()->size(), 2u);
}

TEST(PublisherTest, NestedPublishSeesTheSameSubscriptions) {
  std::vector<std::string> log;
  Recorder outer("outer", kSpecA, log), inner("inner", kSpecB, log, true);
  Publisher p;
  p.subscribe(&outer);
  p.subscribe(&inner);
  outer.onEvent = [&] {
    Event nested(kSpecB);
    EXPECT_TRUE(p.publish(nested));
    p.unsubscribe(&inner);
  };
  Event e(kSpecA);
  p.publish(e);
  EXPECT_EQ(log, (std::vector<std::string>{"outer", "inner"}));
  Event again(kSpecB);
  EXPECT_FALSE(p.publish(again));
}

TEST(PublisherTest, PassesWalkTheWholeListInOrderAndRunOnce) {
  std::vector<std::string> log;
  Recorder b1("b1", kSpecB, log), a1("a1", kSpecA, log), a2("a2", kSpecA, log);
  Publisher p;
  p.subscribe(&b1);
  p.subscribe(&a1);
  p.subscribe(&a2);
  EXPECT_TRUE(p.runEnvironmentPass());
  EXPECT_EQ(log, (std::vector<std::string>{"a1:env", "a2:env", "b1:env"}));
  log.clear();
  EXPECT_FALSE(p.runEnvironmentPass());
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(p.runRegistrationPass());
  EXPECT_TRUE(p.runInitialisationPass());
  EXPECT_FALSE(p.runRegistrationPass());
  EXPECT_FALSE(p.runInitialisationPass());
}

TEST(PublisherTest, PassStopsAtTheFirstRefusalAndDoesNotRunAgain) {
  std::vector<std::string> log;
  Recorder a("a", kSpecA, log), b("b", kSpecA, log), c("c", kSpecB, log);
  b.passAnswer = false;
  Publisher p;
  for (Recorder* s : {&a, &b, &c}) p.subscribe(s);
  EXPECT_FALSE(p.runRegistrationPass());
  EXPECT_EQ(log, (std::vector<std::string>{"a:reg", "b:reg"}));
  b.passAnswer = true;
  log.clear();
  EXPECT_FALSE(p.runRegistrationPass());
  EXPECT_TRUE(log.empty());
}

TEST(PublisherTest, PassWithoutListDoesNotSetItsFlag) {
  std::vector<std::string> log;
  Recorder a("a", kSpecA, log);
  Publisher p;
  EXPECT_FALSE(p.runInitialisationPass());
  p.subscribe(&a);
  EXPECT_TRUE(p.runInitialisationPass());
  EXPECT_EQ(log, (std::vector<std::string>{"a:init"}));
}

// The framework's database subscribers route only their own code.
class NewOnly : public lunvik::NewElementSubscriber {
 public:
  NewOnly() : NewElementSubscriber(0, 0) {}
  bool elementEvent(lunvik::DatabaseEvent& e) override {
    codes.push_back(e.code());
    return true;
  }
  std::vector<int32_t> codes;
};

TEST(SubscriberTest, DatabaseSubscribersHearOnlyTheirCode) {
  NewOnly s;
  Publisher p;
  p.subscribe(&s);
  for (int32_t code : {lunvik::kDataBegin, lunvik::kNewElement, lunvik::kCopyElement, lunvik::kDataEnd}) {
    lunvik::DatabaseEvent e(code, lunvik::ElementLink(), 0);
    EXPECT_EQ(p.publish(e), code == lunvik::kNewElement) << code;
  }
  EXPECT_EQ(s.codes, (std::vector<int32_t>{lunvik::kNewElement}));
}

}  // namespace
