#include "runtime/publisher.h"

#include "runtime/subscriber.h"

namespace lunvik {

void SubscriptionList::add(const EventSpec& spec, Subscriber* s) {
  // multimap places an equal key after the existing ones.
  index_[s] = entries_.insert(Entries::value_type(spec, s));
}

bool SubscriptionList::remove(Subscriber* s) {
  auto found = index_.find(s);
  if (found == index_.end()) return false;
  if (walking_ > 0) {
    found->second->second = nullptr;
    blanked_ = true;
  } else {
    entries_.erase(found->second);
  }
  index_.erase(found);
  return true;
}

bool SubscriptionList::deliver(Event& event) {
  WalkGuard guard(*this);
  auto range = entries_.equal_range(event.spec());
  for (auto it = range.first; it != range.second;) {
    Subscriber* s = it->second;
    ++it;
    if (s && s->takeEvent(event)) return true;
  }
  return false;
}

void SubscriptionList::sweep() {
  if (!blanked_) return;
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->second) ++it;
    else it = entries_.erase(it);
  }
  blanked_ = false;
}

Publisher::~Publisher() = default;

void Publisher::subscribe(Subscriber* s) {
  if (!s) return;
  if (!list_) list_ = std::make_unique<SubscriptionList>();
  unsubscribe(s);
  list_->add(s->spec(), s);
}

void Publisher::unsubscribe(Subscriber* s) {
  if (list_) list_->remove(s);
}

bool Publisher::publish(Event& event) { return publishToSubscribers(event); }

bool Publisher::publishToSubscribers(Event& event) { return list_ ? list_->deliver(event) : false; }

template <typename Pass>
bool Publisher::runPass(bool& flag, Pass pass) {
  if (!list_ || flag) return false;
  flag = true;
  return list_->walkAll(pass);
}

bool Publisher::runEnvironmentPass() {
  return runPass(environmentChecked_, [](Subscriber& s) { return s.acceptsEnvironment(); });
}

bool Publisher::runRegistrationPass() {
  return runPass(registered_, [](Subscriber& s) { return s.registerWithHost(); });
}

bool Publisher::runInitialisationPass() {
  return runPass(initialised_, [](Subscriber& s) { return s.installHandlers(); });
}

}  // namespace lunvik
