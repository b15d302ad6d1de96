// Rounding of schedule sizes to the project's increments.
#pragma once

namespace varnholt {

class ProjectPrefs;

// A value rounded to a multiple of inc. Upwards: a value within half a millimetre of a
// multiple is that multiple, anything else goes up to the next one. Otherwise the nearest
// multiple, halves up. An increment of 0.00001 or less leaves the value as it is.
double roundToIncrement(bool upwards, double value, double inc);

// Rounds length upwards to lengthInc and width and depth to the nearest sectionInc, in place.
void roundDimensions(double lengthInc, double sectionInc, double& length, double& width, double& depth);

// The same with the increments of the open project's preferences; false, and the values
// unchanged, when there are none.
bool roundDimensions(double& length, double& width, double& depth);

// The open project's preferences, or null when no project is open.
ProjectPrefs* projectPreferences();

}  // namespace varnholt
