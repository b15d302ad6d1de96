#include "prefs/profile_prefs.h"

#include "prefs/prefs_defaults.h"

namespace varnholt {

namespace {

const char* const kTags[] = {"profileThick",   "profileLength", "profileSweep", "profileName",
                             "profileLibrary", "profilePath",   "profileType"};
constexpr std::size_t kFieldCount = sizeof kTags / sizeof kTags[0];

constexpr double kFullTurn = 6.283185307179586;

}  // namespace

ProfilePrefs::ProfilePrefs() { setDefaults(); }

const lunvik::CadString& ProfilePrefs::tag() {
  static const lunvik::CadString name("profilePrefs");
  return name;
}

lunvik::Package* ProfilePrefs::clone() const { return new ProfilePrefs(*this); }

std::size_t ProfilePrefs::count() const { return kFieldCount; }

std::unique_ptr<lunvik::Shipping> ProfilePrefs::child(std::size_t index) {
  if (index >= kFieldCount) return nullptr;
  const char* name = kTags[index];
  switch (index) {
    case 0: return prefsUnit(&profileThick, name);
    case 1: return prefsUnit(&profileLength, name);
    case 2: return prefsUnit(&profileSweep, name);
    case 3: return prefsUnit(&profileName, name);
    case 4: return prefsUnit(&profileLibrary, name);
    case 5: return prefsUnit(&profilePath, name);
    default: return prefsUnit(&profileType, name);
  }
}

void ProfilePrefs::reset() { setDefaults(); }

void ProfilePrefs::setDefaults() {
  // The thickness shares its string with the curve tools' thickness but falls back to 0.15.
  profileThick = defaultNumber(1, 0.15);
  profileLength = defaultNumber(19, 1.0);
  profileSweep = kFullTurn;
  profileName = defaultText(kPrefsDefaultStrings, 4, "Untitled");
  profileLibrary = defaultText(kPrefsDefaultStrings, 5, "Untitled");
  profilePath.clear();
  profileType = Type::section;
}

bool ProfilePrefs::translateLegacyKey(lunvik::CadString&) const { return false; }

}  // namespace varnholt
