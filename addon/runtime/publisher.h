// Publishers deliver events to their subscribers in the order of their subscription keys.
#pragma once

#include <map>
#include <memory>
#include <unordered_map>

#include "runtime/event.h"

namespace lunvik {

class Subscriber;

// Subscriptions ordered by spec and, within a spec, by the order they were made. The list
// points to its subscribers and never owns them.
class SubscriptionList {
 public:
  // Adds s under spec after every entry of an equal spec; s must not be listed already.
  void add(const EventSpec& spec, Subscriber* s);
  // Removes s; false when it is not listed.
  bool remove(Subscriber* s);
  // Delivers event to the entries of its spec in order until one takes it.
  bool deliver(Event& event);
  // Calls pass on every entry in list order until one answers false.
  template <typename Pass>
  bool walkAll(Pass pass) {
    WalkGuard guard(*this);
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
      if (it->second && !pass(*it->second)) return false;
    return true;
  }
  // The number of live entries.
  std::size_t size() const { return index_.size(); }

 private:
  using Entries = std::multimap<EventSpec, Subscriber*>;

  // While a walk is in progress removed entries are only blanked, so that no walk is left on
  // an erased entry; the outermost walk sweeps them when it ends.
  class WalkGuard {
   public:
    explicit WalkGuard(SubscriptionList& list) : list_(list) { ++list_.walking_; }
    ~WalkGuard() {
      if (--list_.walking_ == 0) list_.sweep();
    }
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;

   private:
    SubscriptionList& list_;
  };

  void sweep();

  Entries entries_;
  std::unordered_map<Subscriber*, Entries::iterator> index_;
  int walking_ = 0;
  bool blanked_ = false;
};

// Keeps subscriptions and publishes events to them; runs the three passes once each.
class Publisher {
 public:
  Publisher() = default;
  virtual ~Publisher();
  Publisher(const Publisher&) = delete;
  Publisher& operator=(const Publisher&) = delete;

  // Subscribes s (listed once, at the end of its spec's group).
  virtual void subscribe(Subscriber* s);
  // Removes s's subscription; nothing when it has none.
  virtual void unsubscribe(Subscriber* s);
  // Delivers event to the subscribers of its spec until one takes it.
  virtual bool publish(Event& event);

  // Asks every subscriber whether it accepts the environment; at most once.
  bool runEnvironmentPass();
  // Has every subscriber register with the host; at most once.
  bool runRegistrationPass();
  // Has every subscriber install its host handlers; at most once.
  bool runInitialisationPass();

  // The subscription list, or null before the first subscription.
  SubscriptionList* subscriptions() const { return list_.get(); }

 protected:
  // Publishes to this publisher's own subscribers only.
  bool publishToSubscribers(Event& event);

 private:
  template <typename Pass>
  bool runPass(bool& flag, Pass pass);

  bool environmentChecked_ = false;
  bool registered_ = false;
  bool initialised_ = false;
  std::unique_ptr<SubscriptionList> list_;
};

}  // namespace lunvik
