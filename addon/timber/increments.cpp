#include "timber/increments.h"

#include <cmath>

#include "model/project.h"
#include "prefs/project_prefs.h"
#include "runtime/addon.h"

namespace varnholt {

namespace {

constexpr double kIncrementTolerance = 0.00001;
// Values this close to a multiple count as on it when rounding upwards.
constexpr double kOnIncrement = 0.0005;

}  // namespace

double roundToIncrement(bool upwards, double value, double inc) {
  // No increment, or one that is no number, leaves the value as it is.
  if (!(inc > kIncrementTolerance)) return value;
  if (!upwards) return inc * std::floor((value + inc / 2) / inc);
  double r = inc * std::floor((value + kOnIncrement) / inc);
  double d = std::fmod(value, inc);
  if (std::fabs(d) <= kOnIncrement || std::fabs(inc - d) <= kOnIncrement) return r;
  return r + inc;
}

void roundDimensions(double lengthInc, double sectionInc, double& length, double& width, double& depth) {
  length = roundToIncrement(true, length, lengthInc);
  width = roundToIncrement(false, width, sectionInc);
  depth = roundToIncrement(false, depth, sectionInc);
}

ProjectPrefs* projectPreferences() {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Project* project = addon ? addon->project() : nullptr;
  return project ? dynamic_cast<ProjectPrefs*>(project->store().get(ProjectPrefs::kCode)) : nullptr;
}

bool roundDimensions(double& length, double& width, double& depth) {
  const ProjectPrefs* prefs = projectPreferences();
  if (!prefs) return false;
  roundDimensions(prefs->lengthInc, prefs->sectionInc, length, width, depth);
  return true;
}

}  // namespace varnholt
