// Interface events: what a dialog's DG messages become, with the receiver a subscriber
// replies through, and the subscribers that listen for them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <boost/shared_ptr.hpp>

#include "platform/dialog_operations.h"
#include "runtime/event.h"
#include "runtime/subscriber.h"

namespace lunvik {

class Dialog;

// A message sent to a receiver.
class Message {
 public:
  virtual ~Message() = default;
};

// A reply to a DG message: a 16-bit value.
class ItemMessage : public Message {
 public:
  explicit ItemMessage(int16_t value) : value_(value) {}
  int16_t value() const { return value_; }

 private:
  int16_t value_;
};

// Something messages are sent to.
class Receiver {
 public:
  virtual ~Receiver() = default;
  // Takes a message.
  virtual void receive(const boost::shared_ptr<Message>& message) = 0;
};

// Keeps the value of the last ItemMessage as the reply to DG.
class ItemReceiver : public Receiver {
 public:
  explicit ItemReceiver(int16_t reply = 0) : reply_(reply) {}
  void receive(const boost::shared_ptr<Message>& message) override;
  int16_t reply() const { return reply_; }

 private:
  int16_t reply_;
};

// Event kinds of category 'INTF'.
constexpr uint32_t kActionEventKind = platform::fourcc("ACEV");
constexpr uint32_t kItemEventKind = platform::fourcc("ITEV");
constexpr uint32_t kDialogEventKind = platform::fourcc("DIVE");
constexpr uint32_t kChangeEventKind = platform::fourcc("CHEV");
constexpr uint32_t kFocusEventKind = platform::fourcc("FOEV");
constexpr uint32_t kKeyEventKind = platform::fourcc("KEEV");
constexpr uint32_t kMouseEventKind = platform::fourcc("MOES");
constexpr uint32_t kPaintEventKind = platform::fourcc("PAEV");
constexpr uint32_t kDropEventKind = platform::fourcc("DEVT");

// A DG message of a dialog as an event: the item concerned (0 none), the message and its data,
// and the receiver of the reply.
class InterfaceEvent : public Event {
 public:
  InterfaceEvent(uint32_t kind, Dialog& dialog, int16_t message, int16_t item, intptr_t data,
                 ItemReceiver& receiver)
      : Event(EventSpec(kInterfaceCategory, kind)), dialog_(dialog), message_(message), item_(item),
        data_(data), receiver_(receiver) {}

  Dialog& dialog() const { return dialog_; }
  int16_t message() const { return message_; }
  // The item concerned; 0 for the dialog as a whole.
  int16_t item() const { return item_; }
  intptr_t data() const { return data_; }
  ItemReceiver& receiver() const { return receiver_; }
  // Sends the receiver an ItemMessage with value (the reply to DG).
  void reply(int16_t value) const;

 private:
  Dialog& dialog_;
  int16_t message_;
  int16_t item_;
  intptr_t data_;
  ItemReceiver& receiver_;
};

#define LUNVIK_INTERFACE_EVENT(Name, Kind)                                                      \
  class Name : public InterfaceEvent {                                                         \
   public:                                                                                     \
    Name(Dialog& dialog, int16_t message, int16_t item, intptr_t data, ItemReceiver& receiver) \
        : InterfaceEvent(Kind, dialog, message, item, data, receiver) {}                       \
  };

// Initialise, close and the dialog's own messages (1, 3, 11, 12, 14).
LUNVIK_INTERFACE_EVENT(DialogEvent, kDialogEventKind)
// A click or double click (4, 5).
LUNVIK_INTERFACE_EVENT(ActionEvent, kActionEventKind)
// A value or selection change (6).
LUNVIK_INTERFACE_EVENT(ItemEvent, kItemEventKind)
// A value being changed (7).
LUNVIK_INTERFACE_EVENT(ChangeEvent, kChangeEventKind)
// A mouse press (8).
LUNVIK_INTERFACE_EVENT(MouseEvent, kMouseEventKind)
// A focus change (9).
LUNVIK_INTERFACE_EVENT(FocusEvent, kFocusEventKind)
// A key press (10).
LUNVIK_INTERFACE_EVENT(KeyEvent, kKeyEventKind)
// An item to draw (16).
LUNVIK_INTERFACE_EVENT(PaintEvent, kPaintEventKind)
// A drop (17).
LUNVIK_INTERFACE_EVENT(DropEvent, kDropEventKind)

#undef LUNVIK_INTERFACE_EVENT

// Makes the event of one DG message.
using InterfaceEventCreator =
    std::unique_ptr<InterfaceEvent> (*)(Dialog& dialog, int16_t message, int16_t item, intptr_t data,
                                        ItemReceiver& receiver);

// Hears clicks.
class ActionSubscriber : public Subscriber {
 public:
  EventSpec spec() const override { return EventSpec(kInterfaceCategory, kActionEventKind); }
  bool takeEvent(Event& event) override;
  // A click; true takes it.
  virtual bool action(ActionEvent& event) = 0;
};

// Hears value changes.
class ItemSubscriber : public Subscriber {
 public:
  EventSpec spec() const override { return EventSpec(kInterfaceCategory, kItemEventKind); }
  bool takeEvent(Event& event) override;
  // A change; true takes it.
  virtual bool itemChanged(ItemEvent& event) = 0;
};

// Hears the dialog's own messages.
class DialogSubscriber : public Subscriber {
 public:
  EventSpec spec() const override { return EventSpec(kInterfaceCategory, kDialogEventKind); }
  bool takeEvent(Event& event) override;
  // A dialog message; true takes it.
  virtual bool dialogEvent(DialogEvent& event) = 0;
};

// A click subscriber that runs a function (product dialogs' buttons).
class ActionCall : public ActionSubscriber {
 public:
  explicit ActionCall(std::function<bool(ActionEvent&)> call) : call_(std::move(call)) {}
  // A button whose work keeps the dialog open (replies 0).
  static ActionCall* staysOpen(std::function<void()> work) {
    return new ActionCall([work = std::move(work)](ActionEvent& e) {
      work();
      e.reply(0);
      return true;
    });
  }
  bool action(ActionEvent& event) override { return call_(event); }

 private:
  std::function<bool(ActionEvent&)> call_;
};

// A change subscriber that runs a function.
class ItemCall : public ItemSubscriber {
 public:
  explicit ItemCall(std::function<bool(ItemEvent&)> call) : call_(std::move(call)) {}
  bool itemChanged(ItemEvent& event) override { return call_(event); }

 private:
  std::function<bool(ItemEvent&)> call_;
};

}  // namespace lunvik
