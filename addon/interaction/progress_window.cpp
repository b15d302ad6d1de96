#include "interaction/progress_window.h"

#include <algorithm>
#include <cmath>

#include "runtime/environment.h"

namespace lunvik {

using platform::fourcc;
using platform::HostFunctionTable;

namespace {

platform::GSErr interfaceCall(uint32_t code, const void* p1 = nullptr, const void* p2 = nullptr,
                              const void* p3 = nullptr) {
  return host().call(&HostFunctionTable::HostInterface, code, const_cast<void*>(p1), const_cast<void*>(p2),
                     const_cast<void*>(p3));
}

}  // namespace

boost::shared_ptr<ProgressWindow> ProgressWindow::open(const CadString& title, int32_t phases) {
  InterfaceRegistry* registry = interfaceRegistry();
  if (!registry || registry->progressOpen) return boost::shared_ptr<ProgressWindow>();
  if (interfaceCall(fourcc("IPWD"), title.c_str(), &phases) != platform::kNoError)
    return boost::shared_ptr<ProgressWindow>();
  registry->progressOpen = true;
  boost::shared_ptr<ProgressWindow> window(new ProgressWindow());
  window->open_ = true;
  return window;
}

ProgressWindow::~ProgressWindow() { close(); }

bool ProgressWindow::anyOpen() {
  InterfaceRegistry* registry = interfaceRegistry();
  return registry && registry->progressOpen;
}

void ProgressWindow::setPhase(int32_t phase, const CadString& text, int32_t maximum) {
  if (open_) interfaceCall(fourcc("SPRP"), &phase, text.c_str(), &maximum);
}

void ProgressWindow::setValue(int32_t value) {
  if (open_) interfaceCall(fourcc("SPRV"), &value);
}

void ProgressWindow::increment(int32_t step) {
  if (open_) interfaceCall(fourcc("IPRV"), &step);
}

bool ProgressWindow::cancelled() const { return open_ && interfaceCall(fourcc("CANC")) == platform::kErrCancelled; }

void ProgressWindow::close() {
  if (!open_) return;
  open_ = false;
  interfaceCall(fourcc("CPWD"));
  if (InterfaceRegistry* registry = interfaceRegistry()) registry->progressOpen = false;
}

void ProgressDialog::setupControls() {
  add(new StaticText(*this, 1));
  add(new StaticText(*this, 4));
  add(new StaticText(*this, 5));
  add(new RealText(*this, 3));
  attach(add(new Button(*this, 2)), new ActionCall([this](ActionEvent& e) {
           cancelPressed_ = true;
           e.reply(0);
           return true;
         }));
}

void ProgressDialog::showState(const CadString& phaseLine, const CadString& phaseText, const CadString& timeText,
                               int32_t percent) {
  if (!isOpen()) return;
  if (DialogControl* c = control(1)) c->setItemText(phaseLine);
  if (DialogControl* c = control(4)) c->setItemText(phaseText);
  if (DialogControl* c = control(5)) c->setItemText(timeText);
  if (auto* bar = dynamic_cast<RealText*>(control(3))) bar->setValue(percent);
}

CustomProgressWindow::CustomProgressWindow(const CadString& title, int32_t phases, Clock clock)
    : title_(title), phases_(std::max(phases, 1)), clock_(std::move(clock)) {
  start_ = now();
}

CustomProgressWindow::~CustomProgressWindow() {
  if (dialog_) dialog_->close();
}

double CustomProgressWindow::now() const {
  if (clock_) return clock_();
  auto time = host().operation(&HostFunctionTable::TMGetTime);
  return time ? double(time()) : 0.0;
}

CadString CustomProgressWindow::phaseLine() const {
  Environment& env = Environment::instance();
  return env.string(kProgressStrings, 1) + CadString(std::to_string(phase_)) + env.string(kProgressStrings, 2) +
         CadString(std::to_string(phases_));
}

CadString CustomProgressWindow::minutesText(long minutes) {
  Environment& env = Environment::instance();
  if (minutes == 1) return env.string(kProgressStrings, 3);
  if (minutes == 0) return env.string(kProgressStrings, 4);
  return CadString(std::to_string(minutes)) + env.string(kProgressStrings, 5);
}

void CustomProgressWindow::startPhase(const CadString& text, int32_t maximum) {
  if (phase_ < phases_) ++phase_;
  phaseText_ = text;
  maximum_ = std::max(maximum, 1);
  value_ = 0;
  update();
}

void CustomProgressWindow::setValue(int32_t value) {
  value_ = std::min(std::max(value, 0), maximum_);
  update();
}

bool CustomProgressWindow::cancelled() {
  if (!cancelled_ && dialog_ && dialog_->cancelPressed()) {
    cancelled_ = true;
    timeText_ = Environment::instance().string(kProgressStrings, 6);
    update();
  }
  return cancelled_;
}

void CustomProgressWindow::update() {
  double u = now() - start_;
  if (!dialog_ && u < 2.0) return;
  if (!cancelled_ && (lastTimeUpdate_ < 0 || now() - lastTimeUpdate_ >= 4.0)) {
    int32_t n = std::max(phase_, 1);
    double done = (double(value_) / double(maximum_) + double(n) - 1.0) / double(phases_);
    if (done > 0) {
      long minutes = std::lround((u / done - u) / 60.0);
      timeText_ = minutesText(std::max(minutes, 0L));
      lastTimeUpdate_ = now();
    }
  }
  if (!dialog_) {
    if (unavailable_) return;
    auto dialog = std::make_unique<ProgressDialog>();
    if (dialog->run() == 0) {
      unavailable_ = true;
      return;
    }
    dialog->setTitle(title_);
    dialog_ = std::move(dialog);
  }
  int32_t n = std::max(phase_, 1);
  double done = (double(value_) / double(maximum_) + double(n) - 1.0) / double(phases_);
  dialog_->showState(phaseLine(), phaseText_, timeText_, int32_t(std::lround(done * 100.0)));
}

}  // namespace lunvik
