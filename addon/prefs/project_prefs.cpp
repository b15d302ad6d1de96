#include "prefs/project_prefs.h"

#include "prefs/prefs_defaults.h"

namespace varnholt {

namespace {

const PrefsField kFields[] = {
    {"headingState", "HEADING_STATE"}, {"reportType", "REPORT_TYPE"}, {"projectNo", "PROJECTNO"},
    {"personID", "PERSONID"},          {"labourCost", "LABOURCOST"},  {"lengthInc", "LENGTHINC"},
    {"sectionInc", "SECTIONINC"},      {"loadTimber", "LOADTIMBER"},  {"loadSteel", "LOADSTEEL"},
    {"numPrefix", "NUM_PREFIX"},       {"numSuffix", "NUM_SUFFIX"},   {"numPadding", "NUM_PADDING"},
};
constexpr std::size_t kFieldCount = sizeof kFields / sizeof kFields[0];

}  // namespace

ProjectPrefs::ProjectPrefs() { setDefaults(); }

const lunvik::CadString& ProjectPrefs::tag() {
  static const lunvik::CadString name("projectPrefs");
  return name;
}

lunvik::Package* ProjectPrefs::clone() const { return new ProjectPrefs(*this); }

std::size_t ProjectPrefs::count() const { return kFieldCount; }

std::unique_ptr<lunvik::Shipping> ProjectPrefs::child(std::size_t index) {
  if (index >= kFieldCount) return nullptr;
  const char* name = kFields[index].tag;
  switch (index) {
    case 0: return prefsUnit(&headingState, name);
    case 1: return prefsUnit(&reportType, name);
    case 2: return prefsUnit(&projectNo, name);
    case 3: return prefsUnit(&personID, name);
    case 4: return prefsUnit(&labourCost, name);
    case 5: return prefsUnit(&lengthInc, name);
    case 6: return prefsUnit(&sectionInc, name);
    case 7: return prefsUnit(&loadTimber, name);
    case 8: return prefsUnit(&loadSteel, name);
    case 9: return prefsUnit(&numPrefix, name);
    case 10: return prefsUnit(&numSuffix, name);
    default: return prefsUnit(&numPadding, name);
  }
}

void ProjectPrefs::reset() { setDefaults(); }

void ProjectPrefs::setDefaults() {
  headingState = false;
  reportType = Report::schedule;
  projectNo.clear();
  personID.clear();
  labourCost = 0.0;
  lengthInc = defaultNumber(13, 0.25);
  sectionInc = defaultNumber(14, 0.025);
  loadTimber = true;
  loadSteel = true;
  numPrefix.clear();
  numSuffix.clear();
  numPadding = 0;
}

bool ProjectPrefs::translateLegacyKey(lunvik::CadString& key) const {
  return translateFieldKey(key, kFields, kFieldCount);
}

}  // namespace varnholt
