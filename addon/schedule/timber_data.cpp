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

namespace {

// The rank of each distinct text in schedule order, texts the host counts as equal sharing
// one. The host is asked about each pair once, while the ranks are made, so the order of the
// records rests on numbers the host can no longer change: a comparison that answers one way
// and then the other (a failing host) gives some order, never a sort past its records. A
// binary search stays within its range whatever the comparison answers.
std::unordered_map<std::string, int32_t> textRanks(const std::vector<TimberData>& records,
                                                   lunvik::CadString TimberData::*field) {
  std::unordered_map<std::string, int32_t> ranks;
  std::vector<const lunvik::CadString*> ordered;
  for (const TimberData& data : records) {
    const lunvik::CadString& text = data.*field;
    if (!ranks.emplace(text.str(), 0).second) continue;
    auto at = std::upper_bound(ordered.begin(), ordered.end(), &text,
                               [](const lunvik::CadString* a, const lunvik::CadString* b) {
                                 return compareScheduleText(*a, *b) < 0;
                               });
    ordered.insert(at, &text);
  }
  int32_t rank = 0;
  for (std::size_t i = 0; i < ordered.size(); ++i) {
    if (i > 0 && compareScheduleText(*ordered[i - 1], *ordered[i]) != 0) rank = int32_t(i);
    ranks[ordered[i]->str()] = rank;
  }
  return ranks;
}

}  // namespace

void sortSchedule(std::vector<TimberData>& records) {
  struct Key {
    int32_t description;
    int32_t number;
    double width;
    double depth;
    double length;
  };
  const auto descriptions = textRanks(records, &TimberData::description);
  const auto numbers = textRanks(records, &TimberData::sortNumber);
  std::vector<Key> keys;
  keys.reserve(records.size());
  for (const TimberData& data : records)
    keys.push_back({descriptions.at(data.description.str()), numbers.at(data.sortNumber.str()), data.roundedWidth,
                    data.roundedDepth, data.roundedLength});
  std::vector<std::size_t> order(records.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  // The tolerant width and depth make the order less than strict for sizes closer than the
  // tolerance; the keys are fixed, so every comparison of a pair answers alike.
  std::stable_sort(order.begin(), order.end(), [&keys](std::size_t i, std::size_t j) {
    const Key& a = keys[i];
    const Key& b = keys[j];
    if (a.description != b.description) return a.description < b.description;
    if (a.number != b.number) return a.number < b.number;
    if (!sameLength(a.width, b.width)) return a.width < b.width;
    if (!sameLength(a.depth, b.depth)) return a.depth < b.depth;
    return a.length < b.length;
  });
  std::vector<TimberData> sorted;
  sorted.reserve(records.size());
  for (std::size_t i : order) sorted.push_back(std::move(records[i]));
  records = std::move(sorted);
}

}  // namespace varnholt
