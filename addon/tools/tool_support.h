// What the product's commands share: the undo step a command runs in, and the drawing's window
// brought to the front when a command ends.
#pragma once

#include <cstdint>

#include "runtime/cad_string.h"

namespace lunvik {
class Drawing;
}  // namespace lunvik

namespace varnholt {

// A command's undo step (string list 32526), open from construction to destruction.
class CommandStep {
 public:
  explicit CommandStep(int32_t undoNameItem);
  ~CommandStep();
  CommandStep(const CommandStep&) = delete;
  CommandStep& operator=(const CommandStep&) = delete;
  // True when the host opened the step.
  bool opened() const { return id_ != 0; }

 private:
  uint32_t id_ = 0;
};

// Brings the drawing's window to the front (HostAutomate 'CHWD'); a host that cannot leaves
// it where it is.
void bringToFront(lunvik::Drawing& drawing);

// Item index of one of the add-on's string lists.
lunvik::CadString productText(int32_t list, int32_t item);

}  // namespace varnholt
