// Progress windows: the host's own (one at a time) and the add-on's custom progress dialog,
// shown only for operations that take a while.
#pragma once

#include <cstdint>
#include <functional>

#include <boost/shared_ptr.hpp>

#include "interaction/controls.h"
#include "interaction/dialog.h"

namespace lunvik {

// The host's progress window (HostInterface). At most one is open at a time; callers hold it
// through a shared reference and it closes when the last reference goes.
class ProgressWindow {
 public:
  // Opens the window with a title and a number of phases; null while another is open or when
  // the host refuses.
  static boost::shared_ptr<ProgressWindow> open(const CadString& title, int32_t phases);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Sets a phase's text and maximum.
  void setPhase(int32_t phase, const CadString& text, int32_t maximum);
  void setValue(int32_t value);
  void increment(int32_t step = 1);
  // Whether the user asked to stop.
  bool cancelled() const;
  // Closes the window (also done when it is destroyed).
  void close();
  bool isOpen() const { return open_; }
  // Whether a host progress window is open in this process.
  static bool anyOpen();

 private:
  ProgressWindow() = default;
  bool open_ = false;
};

// The custom progress dialog (resource 32601: 1 phase line, 2 Cancel, 3 progress bar,
// 4 phase text, 5 time text).
class ProgressDialog : public Dialog {
 public:
  static constexpr int32_t kResource = 32601;
  ProgressDialog() : Dialog(kResource, false) {}
  void setupControls() override;
  // The user pressed Cancel.
  bool cancelPressed() const { return cancelPressed_; }
  // Shows the texts and the bar (0 to 100).
  void showState(const CadString& phaseLine, const CadString& phaseText, const CadString& timeText, int32_t percent);

 private:
  bool cancelPressed_ = false;
};

// A progress window of the add-on's own that appears only once the operation has run two
// seconds, with the remaining time estimated from the progress so far.
class CustomProgressWindow {
 public:
  // Seconds from any fixed start.
  using Clock = std::function<double()>;
  // The window of an operation starting now; clock defaults to the host's time.
  CustomProgressWindow(const CadString& title, int32_t phases, Clock clock = Clock());
  ~CustomProgressWindow();
  CustomProgressWindow(const CustomProgressWindow&) = delete;
  CustomProgressWindow& operator=(const CustomProgressWindow&) = delete;

  // Starts the next phase (up to the number of phases) with its text and maximum (at least 1).
  void startPhase(const CadString& text, int32_t maximum);
  void setValue(int32_t value);
  void increment(int32_t step = 1) { setValue(value_ + step); }
  // Whether the user asked to stop; the time text then reads "Cancelling...".
  bool cancelled();

  // Whether the dialog has been shown.
  bool shown() const { return dialog_ != nullptr; }
  int32_t phase() const { return phase_; }
  // "Phase n of N".
  CadString phaseLine() const;
  const CadString& phaseText() const { return phaseText_; }
  // The remaining time as last shown.
  const CadString& timeText() const { return timeText_; }
  // The text of a number of minutes left ("About a minute", "Less than a minute", "N minutes").
  static CadString minutesText(long minutes);

 private:
  // Shows the dialog once two seconds have passed and refreshes it.
  void update();
  double now() const;

  CadString title_;
  int32_t phases_;
  Clock clock_;
  double start_;
  double lastTimeUpdate_ = -1.0;
  int32_t phase_ = 0;
  int32_t maximum_ = 1;
  int32_t value_ = 0;
  bool cancelled_ = false;
  bool unavailable_ = false;  // the dialog could not be opened
  CadString phaseText_;
  CadString timeText_;
  std::unique_ptr<ProgressDialog> dialog_;
};

// The string list of the progress texts.
constexpr int32_t kProgressStrings = 32761;

}  // namespace lunvik
