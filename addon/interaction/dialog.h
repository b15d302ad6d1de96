// Dialogs over the host's dialog manager: a publisher that owns its controls and turns each DG
// message into an interface event.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>

#include "interaction/dialog_control.h"
#include "interaction/interface_event.h"
#include "runtime/containers.h"
#include "runtime/publisher.h"
#include "runtime/subscriber.h"

namespace lunvik {

class Dialog;

// The open-dialog table: dialogs by serial number (the user value DG hands back).
class DialogList : public std::map<int32_t, Dialog*> {};

// Closes every open modeless dialog when the project closes (32) or the host quits (64);
// takes no event.
class DialogProjectSubscriber : public ProjectSubscriber {
 public:
  bool projectEvent(ProjectEvent& event) override;
};

// The framework's interface registries, built when the framework starts: the open dialogs,
// the serial counter, the event creators by DG message, the dialog project subscriber and the
// flag of the host progress window.
class InterfaceRegistry {
 public:
  InterfaceRegistry();
  ~InterfaceRegistry();
  InterfaceRegistry(const InterfaceRegistry&) = delete;
  InterfaceRegistry& operator=(const InterfaceRegistry&) = delete;

  DialogList& dialogs() { return dialogs_; }
  int32_t nextSerial() { return serial_++; }
  // The creator of a DG message's event, or null.
  InterfaceEventCreator creator(int16_t message) const;
  // Subscribes the dialog project subscriber to the add-on the first time.
  void subscribeProjectWatch();
  bool progressOpen = false;

 private:
  DialogList dialogs_;
  int32_t serial_ = 1;
  std::map<int16_t, InterfaceEventCreator> creators_;
  std::unique_ptr<DialogProjectSubscriber> projectWatch_;
  bool watching_ = false;
};

// The registries of the running framework (null when it is stopped).
InterfaceRegistry* interfaceRegistry();

// A dialog of the add-on's dialog resources.
class Dialog : public Publisher {
 public:
  // The owning list of the dialog's controls.
  class ControlList : public List<DialogControl> {};

  Dialog(int32_t resourceId, bool modal, bool restoreSize = false, bool restorePosition = false);
  // Unregisters, closes a modeless dialog that is open and deletes the controls.
  ~Dialog() override;

  // Creates the controls; called when DG reports the dialog initialised.
  virtual void setupControls() {}
  // The user accepted (OK).
  virtual void accept() {}
  // The user cancelled.
  virtual void cancel() {}
  // The dialog has closed.
  virtual void closed() {}
  // Delivers an event: to the control of its item, or to every control when it has none; then,
  // when no control took it, to the dialog's own subscribers.
  virtual bool deliver(InterfaceEvent& event);

  // Modal: runs DG's modal loop and answers the item that closed the dialog (1 OK, 2 Cancel),
  // 0 when the resource cannot be opened. Modeless: opens the dialog once (answers 1) and
  // brings it to the front when activate is set; 0 when it cannot be opened.
  int32_t run(bool activate = true);
  // Closes a modeless dialog.
  void close();

  int32_t resourceId() const { return resourceId_; }
  bool modal() const { return modal_; }
  // The DG id while the dialog is open, else 0.
  int16_t dialId() const { return dialId_; }
  bool isOpen() const { return dialId_ != 0; }
  int32_t serial() const { return serial_; }
  // Whether DG is asked to restore the stored size and position.
  bool restoresSize() const { return restoreSize_; }
  bool restoresPosition() const { return restorePosition_; }
  // Sets the dialog's title.
  void setTitle(const CadString& title);

  ControlList& controls() { return controls_; }
  // Takes ownership of a control and answers it.
  template <typename C>
  C* add(C* control) {
    controls_.push_back(control);
    for (int16_t id : control->items()) index_[id] = control;
    return control;
  }
  // The control of an item, or null.
  DialogControl* control(int16_t item) const;
  // Takes ownership of a subscriber the dialog's code made, subscribes it to a control (or,
  // when control is null, to the dialog) and answers it.
  template <typename S>
  S* attach(DialogControl* control, S* subscriber) {
    handlers_.push_back(subscriber);
    if (control) control->subscribe(subscriber);
    else subscribe(subscriber);
    return subscriber;
  }

  // DG's message handler of every dialog: finds the dialog by its serial and handles the
  // message (unknown serials answer 0).
  static int16_t handleMessage(int16_t message, int16_t dialId, int16_t item, intptr_t serial, intptr_t data);

 private:
  int16_t handle(int16_t message, int16_t dialId, int16_t item, intptr_t data);

  ControlList controls_;
  std::unordered_map<int16_t, DialogControl*> index_;
  List<Subscriber> handlers_;
  int32_t resourceId_;
  bool modal_;
  bool restoreSize_;
  bool restorePosition_;
  int16_t dialId_ = 0;
  int32_t serial_ = 0;
};

}  // namespace lunvik
