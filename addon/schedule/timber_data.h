// The flat, costed schedule record of one timber member, and the arithmetic of schedules:
// number texts, joint extensions and hours, unit costs, size rounding, schedule rows, their
// order and the grouping of cutting lists.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/element_link.h"
#include "model/parameter_list.h"
#include "runtime/cad_string.h"

namespace varnholt {

class JointPrefs;
class ProjectPrefs;
class TimberPrefs;

// Cubic metres to cubic feet: the volume factor of non-metric working units.
constexpr double kCubicFeetPerCubicMetre = 35.31466672148859;
// Equality of lengths in schedules.
constexpr double kScheduleTolerance = 0.00001;

// A member's schedule dimensions as its dimension cache holds them.
struct ScheduleDimensions {
  double extendedLength = 0;  // length plus both extra lengths, unrounded
  double width = 0;           // unrounded
  double depth = 0;           // unrounded
  double roundedLength = 0;
  double roundedWidth = 0;
  double roundedDepth = 0;
  bool valid = false;         // the rounded values have been computed
};

// One schedule record per timber member; every real starts at 0 and a value that cannot be
// read stays 0 or empty.
struct TimberData {
  lunvik::CadString numberText;     // the formatted timber number
  lunvik::CadString elementId;      // the element's ID text
  lunvik::CadString sortNumber;     // TimberNo left-padded with "0" to 5 characters
  lunvik::CadString specification;  // seasonType
  int16_t number = 0;               // TimberNo; 0 when not numbered
  double length = 0;
  double width = 0;
  double depth = 0;
  lunvik::CadString description;    // timberName, else the library part's name
  double roundedLength = 0;
  double roundedWidth = 0;
  double roundedDepth = 0;
  double extendedLength = 0;
  double cacheWidth = 0;
  double cacheDepth = 0;
  double actualVolume = 0;          // cubic metres, from the host's quantities
  double boundingVolume = 0;        // BoundVol
  double unitCost = 0;              // baseCost of its timber type, 0 when none
  double hours = 0;                 // jointHours
  lunvik::ElementLink link;         // the member's element
};

// The twelve values of a timber schedule row (volumes in display units, lengths in metres).
struct ScheduleRow {
  lunvik::CadString description;
  double width = 0;
  double depth = 0;
  double length = 0;
  double actualVolume = 0;
  double cubicVolume = 0;
  lunvik::CadString consId;
  lunvik::CadString number;
  lunvik::CadString type;
  double cost = 0;
  double hours = 0;
  double costIncLabour = 0;
};

// One cutting-list group: consecutive members of one number text, specification and rounded
// size.
struct CuttingGroup {
  lunvik::CadString numberText;
  lunvik::CadString specification;
  lunvik::CadString description;  // of its first member
  double width = 0;
  double depth = 0;
  double length = 0;
  int32_t quantity = -1;          // -1 before the first member
  double singleVolume = 0;        // length x width x depth
  double unitFactor = 1;
  double hours = 0;

  // The cutting-list "Cubic Vol": unit factor x single volume x quantity.
  double cubicVolume() const { return unitFactor * singleVolume * quantity; }
};

// The timber number as decimal digits, left-padded with "0" to width (never truncated; a
// negative number keeps its sign first).
std::string paddedDigits(int16_t number, int width);
// TimberNo as the sort key: decimal digits left-padded to 5 characters.
lunvik::CadString sortNumberOf(int16_t number);
// A TimberNo value read as a real, as the 16-bit number it stands for (out-of-range values
// are clamped, a value that is no number reads 0).
int16_t timberNumberOf(double value);
// The volume factor of a working length unit code of the host: 1 for the metric units 0, 1
// and 2 (metres, centimetres, millimetres), else cubic feet per cubic metre.
double volumeFactorOfUnits(int32_t units);
// The volume factor of the host's working units. Asks the host each time; metric when the
// host cannot tell.
double volumeFactor();

// The preferences of one schedule, indexed once: number format, increments and labour rate
// of the project, joint types and timber specifications. Built for one report and dropped.
class ScheduleCosting {
 public:
  // Takes what it needs from the packages (any may be null) and the volume factor.
  ScheduleCosting(const ProjectPrefs* project, const JointPrefs* joints, const TimberPrefs* timbers,
                  double volumeFactor);

  bool hasProjectPrefs() const { return hasProject_; }
  bool hasJointPrefs() const { return hasJoints_; }
  double volumeFactor() const { return volumeFactor_; }
  double labourCost() const { return labourCost_; }

  // The number text: numPrefix + digits padded to numPadding + numSuffix; the plain digits
  // without project preferences.
  lunvik::CadString numberText(int16_t number) const;
  // roundDimensions: length up to lengthInc, width and depth to the nearest sectionInc, in
  // place; false (values left) without project preferences.
  bool roundDimensions(double& length, double& width, double& depth) const;
  // baseCost of the first specification of that name; 0 when none.
  double unitCostOf(const lunvik::CadString& specification) const;

  // The extra length at the start (end: false) of a member with these parameters: extLenSt
  // for an unlocked joint (false when it is missing), else the additionalLength of the last
  // joint type of the member's type name (0 when none or without joint preferences).
  bool extension(const lunvik::ParameterList& parameters, bool start, double& value) const;
  // jointHours: the labour hours of the member's five joints. False with total 0 without
  // joint preferences; false with the total so far when an own-hours parameter is missing.
  bool jointHours(const lunvik::ParameterList& parameters, double& total) const;

  // The schedule row of a record.
  ScheduleRow scheduleRow(const TimberData& data) const;
  // The rounded L, W, D of a record as its rows use them.
  void rowDimensions(const TimberData& data, double& length, double& width, double& depth) const;
  // The cutting-list groups of records in schedule order.
  std::vector<CuttingGroup> cuttingList(const std::vector<TimberData>& sorted) const;

 private:
  struct JointType {
    double hours = 0;        // additionalHours summed over the types of this name
    double lastLength = 0;   // additionalLength of the last type of this name
  };

  bool hasProject_ = false;
  bool hasJoints_ = false;
  double volumeFactor_ = 1;
  double labourCost_ = 0;
  double lengthInc_ = 0;
  double sectionInc_ = 0;
  lunvik::CadString prefix_;
  lunvik::CadString suffix_;
  int padding_ = 0;
  lunvik::CadString none_;
  std::unordered_map<std::string, JointType> joints_;
  std::unordered_map<std::string, double> costs_;
};

// What a member's element tells a schedule beside its parameters.
struct MemberFacts {
  lunvik::CadString elementId;  // the element's ID text
  lunvik::CadString partName;   // its library part's name (the description when timberName is empty)
  double actualVolume = 0;      // the host's quantities volume, 0 when unavailable
  lunvik::ElementLink link;
  bool curved = false;          // a curved member: its depth is half its length
};

// The record of a member from its parameters (TimberNo, seasonType, timberName, length,
// profWide, profDeep, roundLen, BoundVol, the joints' hours), its dimension cache and its
// element's facts. The member should have been recalculated first.
TimberData makeTimberData(const lunvik::ParameterList& parameters, const ScheduleDimensions& cache,
                          const MemberFacts& facts, const ScheduleCosting& costing);

// Texts in schedule order: an empty text first, then the host's comparison with letter case
// ignored. Answers <0, 0 or >0.
int compareScheduleText(const lunvik::CadString& a, const lunvik::CadString& b);
// The schedule order: description, sort number, rounded width and depth (equal within
// 0.00001), rounded length.
bool scheduleBefore(const TimberData& a, const TimberData& b);
// Sorts records in schedule order.
void sortSchedule(std::vector<TimberData>& records);

}  // namespace varnholt
