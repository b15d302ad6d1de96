#include "schedule/timber_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/host_table.h"
#include "prefs/joint_prefs.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "runtime/environment.h"
#include "runtime/host_interface.h"
#include "timber/increments.h"

namespace varnholt {

namespace {

// The product's texts of part names and joint words.
constexpr int32_t kNameStrings = 32521;
constexpr int32_t kNoneItem = 27;

const char* const kJointTypes[] = {"JuncTypeSt", "JuncTypeEn", "IntJuncType1", "IntJuncType2", "IntJuncType3"};
const char* const kJointLocks[] = {"StLock", "EnLock", "J1Lock", "J2Lock", "J3Lock"};
const char* const kJointHours[] = {"TimeAllocSt", "TimeAllocEn", "IntTimeAll1", "IntTimeAll2", "IntTimeAll3"};

bool sameLength(double a, double b) { return std::fabs(a - b) <= kScheduleTolerance; }

// A number parameter; a value that is no number (NaN, infinite) reads as missing, so that it
// never reaches a report.
bool number(const lunvik::ParameterList& parameters, const char* name, double& value) {
  double v = 0;
  if (!parameters.number(name, v) || !std::isfinite(v)) return false;
  value = v;
  return true;
}

// A boolean parameter: true when it reads as a non-zero number.
bool flag(const lunvik::ParameterList& parameters, const char* name) {
  double value = 0;
  return number(parameters, name, value) && value != 0;
}

}  // namespace

std::string paddedDigits(int16_t number, int width) {
  std::string digits = std::to_string(number);
  // The zeros of a negative number go after its sign.
  const std::size_t sign = number < 0 ? 1 : 0;
  if (width > 0 && digits.size() < std::size_t(width)) digits.insert(sign, std::size_t(width) - digits.size(), '0');
  return digits;
}

lunvik::CadString sortNumberOf(int16_t number) { return paddedDigits(number, 5); }

int16_t timberNumberOf(double value) {
  if (!std::isfinite(value)) return 0;
  value = std::trunc(value);
  if (value < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  if (value > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  return int16_t(value);
}

double volumeFactorOfUnits(int32_t units) {
  // Metres, centimetres and millimetres are the host's metric length units.
  return units >= 0 && units <= 2 ? 1 : kCubicFeetPerCubicMetre;
}

double volumeFactor() {
  int32_t units = 0;
  if (lunvik::host().call(&platform::HostFunctionTable::HostEnvironment, platform::fourcc("GWUN"), &units, nullptr,
                          nullptr) != platform::kNoError)
    return 1;
  return volumeFactorOfUnits(units);
}

// ---- ScheduleCosting ----

ScheduleCosting::ScheduleCosting(const ProjectPrefs* project, const JointPrefs* joints, const TimberPrefs* timbers,
                                 double factor)
    : volumeFactor_(factor), none_(lunvik::Environment::instance().string(kNameStrings, kNoneItem)) {
  if (none_.empty()) none_ = "None";
  if (project) {
    hasProject_ = true;
    labourCost_ = project->labourCost;
    lengthInc_ = project->lengthInc;
    sectionInc_ = project->sectionInc;
    prefix_ = project->numPrefix;
    suffix_ = project->numSuffix;
    padding_ = project->numPadding;
  }
  if (joints) {
    hasJoints_ = true;
    for (const auto& joint : joints->joints()) {
      JointType& type = joints_[joint->name.str()];
      type.hours += joint->additionalHours;
      type.lastLength = joint->additionalLength;
    }
  }
  if (timbers) {
    // The first specification of a name wins.
    for (const auto& type : timbers->specifications()) costs_.emplace(type->name.str(), type->baseCost);
  }
}

lunvik::CadString ScheduleCosting::numberText(int16_t number) const {
  if (!hasProject_) return paddedDigits(number, 0);
  return prefix_ + paddedDigits(number, padding_) + suffix_;
}

bool ScheduleCosting::roundDimensions(double& length, double& width, double& depth) const {
  if (!hasProject_) return false;
  varnholt::roundDimensions(lengthInc_, sectionInc_, length, width, depth);
  return true;
}

double ScheduleCosting::unitCostOf(const lunvik::CadString& specification) const {
  auto it = costs_.find(specification.str());
  return it == costs_.end() ? 0.0 : it->second;
}

bool ScheduleCosting::extension(const lunvik::ParameterList& parameters, bool start, double& value) const {
  if (!flag(parameters, start ? "StLock" : "EnLock")) return number(parameters, start ? "extLenSt" : "extLenEn", value);
  value = 0;
  if (!hasJoints_) return true;
  lunvik::CadString type;
  if (!parameters.text(start ? "JuncTypeSt" : "JuncTypeEn", type)) return true;
  auto it = joints_.find(type.str());
  if (it != joints_.end()) value = it->second.lastLength;
  return true;
}

bool ScheduleCosting::jointHours(const lunvik::ParameterList& parameters, double& total) const {
  total = 0;
  if (!hasJoints_) return false;
  for (int i = 0; i < 5; ++i) {
    lunvik::CadString type;
    if (!parameters.text(kJointTypes[i], type) || type == none_) continue;
    if (flag(parameters, kJointLocks[i])) {
      auto it = joints_.find(type.str());
      if (it != joints_.end()) {
        total += it->second.hours;
        continue;
      }
    }
    double own = 0;
    if (!number(parameters, kJointHours[i], own)) return false;
    total += own;
  }
  return true;
}

void ScheduleCosting::rowDimensions(const TimberData& data, double& length, double& width, double& depth) const {
  length = data.extendedLength;
  width = data.cacheWidth;
  depth = data.cacheDepth;
  roundDimensions(length, width, depth);
}

ScheduleRow ScheduleCosting::scheduleRow(const TimberData& data) const {
  ScheduleRow row;
  rowDimensions(data, row.length, row.width, row.depth);
  double cubic = row.length * row.width * row.depth;
  row.description = data.description;
  row.actualVolume = data.actualVolume * volumeFactor_;
  row.cubicVolume = cubic * volumeFactor_;
  row.consId = data.elementId;
  row.number = data.numberText;
  row.type = data.specification;
  row.cost = data.unitCost * volumeFactor_ * cubic;
  row.hours = data.hours;
  row.costIncLabour = labourCost_ * data.hours + row.cost;
  return row;
}

std::vector<CuttingGroup> ScheduleCosting::cuttingList(const std::vector<TimberData>& sorted) const {
  std::vector<CuttingGroup> groups;
  CuttingGroup group;
  group.unitFactor = volumeFactor_;
  for (const TimberData& data : sorted) {
    double length = 0, width = 0, depth = 0;
    rowDimensions(data, length, width, depth);
    if (group.quantity > 0 && data.specification == group.specification && data.numberText == group.numberText &&
        sameLength(width, group.width) && sameLength(depth, group.depth) && sameLength(length, group.length)) {
      ++group.quantity;
      group.hours += data.hours;
      continue;
    }
    if (group.quantity > 0) groups.push_back(group);
    group.numberText = data.numberText;
    group.specification = data.specification;
    group.description = data.description;
    group.width = width;
    group.depth = depth;
    group.length = length;
    group.quantity = 1;
    group.singleVolume = length * width * depth;
    group.hours = data.hours;
  }
  if (group.quantity > 0) groups.push_back(group);
  return groups;
}

// ---- records ----

TimberData makeTimberData(const lunvik::ParameterList& parameters, const ScheduleDimensions& cache,
                          const MemberFacts& facts, const ScheduleCosting& costing) {
  TimberData data;
  double timberNo = 0;
  if (number(parameters, "TimberNo", timberNo)) data.number = timberNumberOf(timberNo);
  data.numberText = costing.numberText(data.number);
  data.sortNumber = sortNumberOf(data.number);
  data.elementId = facts.elementId;
  parameters.text("seasonType", data.specification);
  number(parameters, "length", data.length);
  number(parameters, "profWide", data.width);
  if (facts.curved) data.depth = data.length / 2;
  else number(parameters, "profDeep", data.depth);
  if (!parameters.text("timberName", data.description) || data.description.empty()) data.description = facts.partName;
  if (cache.valid) data.roundedLength = cache.roundedLength;
  else number(parameters, "roundLen", data.roundedLength);
  data.roundedWidth = cache.roundedWidth;
  data.roundedDepth = cache.roundedDepth;
  data.extendedLength = cache.extendedLength;
  data.cacheWidth = cache.width;
  data.cacheDepth = cache.depth;
  data.actualVolume = facts.actualVolume;
  number(parameters, "BoundVol", data.boundingVolume);
  data.unitCost = costing.unitCostOf(data.specification);
  costing.jointHours(parameters, data.hours);
  data.link = facts.link;
  return data;
}

// ---- order ----

int compareScheduleText(const lunvik::CadString& a, const lunvik::CadString& b) {
  if (a.empty() || b.empty()) return a.empty() == b.empty() ? 0 : (a.empty() ? -1 : 1);
  return a.compareNoCase(b);
}

bool scheduleBefore(const TimberData& a, const TimberData& b) {
  if (int c = compareScheduleText(a.description, b.description)) return c < 0;
  if (int c = compareScheduleText(a.sortNumber, b.sortNumber)) return c < 0;
  if (!sameLength(a.roundedWidth, b.roundedWidth)) return a.roundedWidth < b.roundedWidth;
  if (!sameLength(a.roundedDepth, b.roundedDepth)) return a.roundedDepth < b.roundedDepth;
  return a.roundedLength < b.roundedLength;
}

void sortSchedule(std::vector<TimberData>& records) {
  // The tolerant width and depth keys are not a strict weak ordering for values closer than
  // the tolerance; a merge sort stays within bounds whatever the comparator answers, where an
  // introsort may not.
  std::stable_sort(records.begin(), records.end(), scheduleBefore);
}

}  // namespace varnholt
