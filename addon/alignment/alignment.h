// "Align Selection...", "Align Again" and "Preset 1" to "Preset 10": the selected elements of
// the current drawing are aligned or distributed along X, Y and Z, grouped elements together.
#pragma once

#include <cstdint>

#include "runtime/subscriber.h"

namespace varnholt {

// Takes ('VRNH', 'ALGN'): a plain event asks for the alignment dialog, a long event 0 aligns
// again with the working preset, a long event n with stored preset n (copied over the working
// preset first). Either every element moves or none does, in one undo step "Alignment".
class Alignment : public lunvik::Subscriber {
 public:
  // What a run came to.
  enum class Outcome {
    nothing,    // no drawing, no preferences, fewer than two elements or clusters, or nothing to move
    cancelled,  // the dialog was cancelled (or could not be shown)
    moved,      // the clusters moved
    locked,     // an element is locked, on a locked layer or in a locked group; nothing moved
    failed,     // the host refused something; nothing moved
  };
  // The command of a plain event: the dialog.
  static constexpr int32_t kDialog = -1;

  lunvik::EventSpec spec() const override;
  // Runs the event's command; always takes the event.
  bool takeEvent(lunvik::Event& event) override;
  // Runs a command: kDialog, 0 (the working preset) or a stored preset's number.
  Outcome run(int32_t command);
};

}  // namespace varnholt
