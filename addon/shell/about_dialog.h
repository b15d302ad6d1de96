// "About Trestlar...": the add-on's about box.
#pragma once

#include "interaction/dialog.h"
#include "runtime/subscriber.h"

namespace varnholt {

// Takes 'ABDI' and shows the about box (resource 32513) modally.
class AboutDialog : public lunvik::Subscriber {
 public:
  static constexpr int32_t kResource = 32513;
  lunvik::EventSpec spec() const override;
  // Shows the dialog; takes the event.
  bool takeEvent(lunvik::Event& event) override;
};

}  // namespace varnholt
