#include "interaction/interface_event.h"

#include <boost/make_shared.hpp>

namespace lunvik {

void ItemReceiver::receive(const boost::shared_ptr<Message>& message) {
  if (auto* item = dynamic_cast<const ItemMessage*>(message.get())) reply_ = item->value();
}

void InterfaceEvent::reply(int16_t value) const {
  boost::shared_ptr<Message> message = boost::make_shared<ItemMessage>(value);
  receiver_.receive(message);
}

bool ActionSubscriber::takeEvent(Event& event) {
  auto* e = dynamic_cast<ActionEvent*>(&event);
  return e && action(*e);
}

bool ItemSubscriber::takeEvent(Event& event) {
  auto* e = dynamic_cast<ItemEvent*>(&event);
  return e && itemChanged(*e);
}

bool DialogSubscriber::takeEvent(Event& event) {
  auto* e = dynamic_cast<DialogEvent*>(&event);
  return e && dialogEvent(*e);
}

}  // namespace lunvik
