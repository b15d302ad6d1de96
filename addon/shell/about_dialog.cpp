#include "shell/about_dialog.h"

namespace varnholt {

lunvik::EventSpec AboutDialog::spec() const {
  return lunvik::EventSpec(lunvik::kProductCategory, platform::fourcc("ABDI"));
}

bool AboutDialog::takeEvent(lunvik::Event&) {
  lunvik::Dialog box(kResource, true);
  box.run();
  return true;
}

}  // namespace varnholt
