#include "prefs/frame_prefs.h"

#include "prefs/prefs_defaults.h"

namespace varnholt {

namespace {

const PrefsField kFields[] = {
    {"radialWidth", "RADIAL_WIDTH"},
    {"curveThick", "CURVE_THICK"},
    {"curveLevel", "CURVE_LEVEL"},
    {"curveLayer", "CURVE_LAYER"},
};
constexpr std::size_t kFieldCount = sizeof kFields / sizeof kFields[0];

}  // namespace

FramePrefs::FramePrefs() { setDefaults(); }

const lunvik::CadString& FramePrefs::tag() {
  static const lunvik::CadString name("framePrefs");
  return name;
}

lunvik::Package* FramePrefs::clone() const { return new FramePrefs(*this); }

std::size_t FramePrefs::count() const { return kFieldCount; }

std::unique_ptr<lunvik::Shipping> FramePrefs::child(std::size_t index) {
  if (index >= kFieldCount) return nullptr;
  const char* name = kFields[index].tag;
  switch (index) {
    case 0: return prefsUnit(&radialWidth, name);
    case 1: return prefsUnit(&curveThick, name);
    case 2: return prefsUnit(&curveLevel, name);
    default: return prefsUnit(&curveLayer, name);
  }
}

void FramePrefs::reset() { setDefaults(); }

void FramePrefs::setDefaults() {
  radialWidth = defaultNumber(17, 0.15);
  curveThick = defaultNumber(1, 0.075);
  curveLevel = defaultNumber(2, 0.0);
  curveLayer = 1;
}

bool FramePrefs::translateLegacyKey(lunvik::CadString& key) const {
  return translateFieldKey(key, kFields, kFieldCount);
}

}  // namespace varnholt
