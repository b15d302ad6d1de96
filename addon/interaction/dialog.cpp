#include "interaction/dialog.h"

#include <vector>

#include "interaction/dg_calls.h"
#include "runtime/addon.h"
#include "runtime/environment.h"

namespace lunvik {

using platform::HostFunctionTable;

namespace {

template <typename E>
std::unique_ptr<InterfaceEvent> make(Dialog& dialog, int16_t message, int16_t item, intptr_t data,
                                     ItemReceiver& receiver) {
  return std::make_unique<E>(dialog, message, item, data, receiver);
}

// Makes the add-on's resources current for DG calls that read them, then restores the
// previous module.
class AddonResources {
 public:
  AddonResources() : set_(host().operation(&HostFunctionTable::RSSetResourceModule)) {
    if (set_) previous_ = set_(&addonResourceModule());
  }
  ~AddonResources() {
    if (set_) set_(previous_);
  }
  AddonResources(const AddonResources&) = delete;
  AddonResources& operator=(const AddonResources&) = delete;

 private:
  decltype(HostFunctionTable::RSSetResourceModule) set_;
  const platform::ResourceModule* previous_ = nullptr;
};

}  // namespace

InterfaceRegistry* interfaceRegistry() { return Environment::instance().interfaceRegistry(); }

bool DialogProjectSubscriber::projectEvent(ProjectEvent& event) {
  if (event.code() != platform::kProjectClose && event.code() != platform::kProjectQuit) return false;
  InterfaceRegistry* registry = interfaceRegistry();
  if (!registry) return false;
  // Copied: closing a dialog may make its owner forget it.
  std::vector<Dialog*> open;
  for (auto& entry : registry->dialogs())
    if (!entry.second->modal() && entry.second->isOpen()) open.push_back(entry.second);
  for (Dialog* d : open) d->close();
  return false;
}

InterfaceRegistry::InterfaceRegistry() {
  using namespace platform;
  for (int16_t m : {kDGMsgInit, kDGMsgClose, kDGMsgGrow, kDGMsgActivate, kDGMsgTopStatus}) creators_[m] = &make<DialogEvent>;
  creators_[kDGMsgClick] = &make<ActionEvent>;
  creators_[kDGMsgDoubleClick] = &make<ActionEvent>;
  creators_[kDGMsgChange] = &make<ItemEvent>;
  creators_[kDGMsgTrack] = &make<ChangeEvent>;
  creators_[kDGMsgMouse] = &make<MouseEvent>;
  creators_[kDGMsgFocus] = &make<FocusEvent>;
  creators_[kDGMsgKey] = &make<KeyEvent>;
  creators_[kDGMsgUpdate] = &make<PaintEvent>;
  creators_[kDGMsgDrop] = &make<DropEvent>;
}

InterfaceRegistry::~InterfaceRegistry() {
  if (watching_ && theAddon() && projectWatch_) theAddon()->unsubscribe(projectWatch_.get());
}

InterfaceEventCreator InterfaceRegistry::creator(int16_t message) const {
  auto it = creators_.find(message);
  return it == creators_.end() ? nullptr : it->second;
}

void InterfaceRegistry::subscribeProjectWatch() {
  if (watching_ || !theAddon()) return;
  projectWatch_ = std::make_unique<DialogProjectSubscriber>();
  theAddon()->subscribe(projectWatch_.get());
  watching_ = true;
}

Dialog::Dialog(int32_t resourceId, bool modal, bool restoreSize, bool restorePosition)
    : resourceId_(resourceId), modal_(modal), restoreSize_(restoreSize), restorePosition_(restorePosition) {
  if (InterfaceRegistry* registry = interfaceRegistry()) {
    serial_ = registry->nextSerial();
    registry->dialogs()[serial_] = this;
    registry->subscribeProjectWatch();
  }
}

Dialog::~Dialog() {
  if (InterfaceRegistry* registry = interfaceRegistry()) registry->dialogs().erase(serial_);
  if (!modal_ && dialId_ != 0) {
    int16_t id = dialId_;
    dialId_ = 0;
    dgDo(&HostFunctionTable::DGModelessClose, id);
  }
  controls_.clear();
  index_.clear();
}

DialogControl* Dialog::control(int16_t item) const {
  auto it = index_.find(item);
  return it == index_.end() ? nullptr : it->second;
}

void Dialog::setTitle(const CadString& title) { dgDo(&HostFunctionTable::DGSetDialogTitle, dialId_, title.c_str()); }

bool Dialog::deliver(InterfaceEvent& event) {
  if (event.item() != 0) {
    if (DialogControl* c = control(event.item()))
      if (c->handleEvent(event)) return true;
  } else {
    // Copied: a control's handler may add controls.
    std::vector<DialogControl*> all;
    for (auto& c : controls_) all.push_back(c.get());
    for (DialogControl* c : all)
      if (c->handleEvent(event)) return true;
  }
  return publish(event);
}

int32_t Dialog::run(bool activate) {
  if (modal_) {
    if (isOpen()) return 0;
    AddonResources resources;
    return dgCall(&HostFunctionTable::DGModalDialog, int32_t(0), resourceId_, &Dialog::handleMessage,
                  intptr_t(serial_));
  }
  if (!isOpen()) {
    AddonResources resources;
    int16_t id = dgCall(&HostFunctionTable::DGModelessInit, int16_t(0), resourceId_, &Dialog::handleMessage,
                        intptr_t(serial_));
    if (id == 0) return 0;
    // The dialog may have closed while its answers were given.
    if (!isOpen()) return 1;
  } else if (activate) {
    dgDo(&HostFunctionTable::DGBringToFront, dialId_);
  }
  return 1;
}

void Dialog::close() {
  if (modal_ || dialId_ == 0) return;
  int16_t id = dialId_;
  dgDo(&HostFunctionTable::DGModelessClose, id);
  // DG reports the close through the handler; forget the id even if it did not.
  dialId_ = 0;
}

int16_t Dialog::handleMessage(int16_t message, int16_t dialId, int16_t item, intptr_t serial, intptr_t data) {
  try {
    InterfaceRegistry* registry = interfaceRegistry();
    if (!registry) return 0;
    auto it = registry->dialogs().find(int32_t(serial));
    if (it == registry->dialogs().end()) return 0;
    return it->second->handle(message, dialId, item, data);
  } catch (...) {
    if (Addon* addon = theAddon()) addon->reportUnexpectedError();
    return 0;
  }
}

int16_t Dialog::handle(int16_t message, int16_t dialId, int16_t item, intptr_t data) {
  if (message == platform::kDGMsgInit) {
    dialId_ = dialId;
    setupControls();
  }
  int16_t reply = 0;
  InterfaceEventCreator creator = interfaceRegistry()->creator(message);
  if (creator) {
    ItemReceiver receiver(message == platform::kDGMsgClick ? item : 0);
    std::unique_ptr<InterfaceEvent> event = creator(*this, message, item, data, receiver);
    if (!modal_ && dynamic_cast<ActionEvent*>(event.get()))
      if (Addon* addon = theAddon()) addon->prepareForEvent();
    deliver(*event);
    reply = receiver.reply();
    if (message == platform::kDGMsgClick) {
      if (reply == 1 || reply == -1) accept();
      else if (reply == 2) cancel();
    }
  }
  if (message == platform::kDGMsgClose) {
    closed();
    dialId_ = 0;
  }
  return reply;
}

}  // namespace lunvik
