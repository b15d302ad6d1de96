// A preference store with the product's seven packages, as the add-on registers them, reading
// module data as a project brings it (XML, or an earlier version's binary-headed block).
// Whatever the bytes, reading never crashes. What reads is written, and from then on reading
// and writing is stable: a package absent from the bytes comes back in its reset state (an
// empty joint list) and is completed (the default joints) only once its element is read, so
// it is the second text written that must read back to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_host.h"
#include "prefs/align_prefs.h"
#include "prefs/frame_prefs.h"
#include "prefs/framing_template_prefs.h"
#include "prefs/joint_prefs.h"
#include "prefs/profile_prefs.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "storage/object_store.h"

namespace {

// A store holding the seven packages at their defaults, in the add-on's order of registration.
void addPackages(lunvik::ObjectStore& store) {
  store.add(varnholt::JointPrefs());
  store.add(varnholt::ProjectPrefs());
  store.add(varnholt::TimberPrefs());
  store.add(varnholt::FramePrefs());
  store.add(varnholt::FramingTemplatePrefs());
  store.add(varnholt::ProfilePrefs());
  store.add(varnholt::AlignPrefs());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // The packages complete themselves from the user's default files and the add-on's embedded
  // documents: a loaded host answers for both.
  static std::unique_ptr<standin::Host> host = [] {
    auto made = fuzz::loadedHost();
    made->newProject();
    return made;
  }();
  (void)host;
  lunvik::ObjectStore store("lunvikPreferenceStore");
  addPackages(store);
  if (!store.read(reinterpret_cast<const char*>(data), size)) return 0;
  std::string written[3];
  if (!store.writeText(written[0])) std::abort();
  for (int i = 1; i < 3; ++i) {
    lunvik::ObjectStore again("lunvikPreferenceStore");
    addPackages(again);
    if (!again.read(written[i - 1].data(), written[i - 1].size()) || !again.writeText(written[i])) std::abort();
  }
  if (written[2] != written[1]) std::abort();
  return 0;
}
