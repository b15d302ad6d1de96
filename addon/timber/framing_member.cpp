#include "timber/framing_member.h"

#include <algorithm>
#include <cmath>

#include "geometry/tolerance.h"
#include "model/component_source.h"
#include "model/library.h"
#include "model/project.h"
#include "prefs/joint_prefs.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "runtime/host_interface.h"
#include "timber/axis_path.h"
#include "timber/increments.h"
#include "timber/parameter_access.h"

namespace varnholt {

using lunvik::CadPoint;
using lunvik::CadString;
using lunvik::kHalfPi;
using lunvik::kPi;
using lunvik::kTolerance;

namespace {

constexpr const char* kTypeNames[] = {"JuncTypeSt", "JuncTypeEn", "IntJuncType1", "IntJuncType2", "IntJuncType3"};
constexpr const char* kValidNames[] = {"ValidSt", "ValidEn", "IntValid1", "IntValid2", "IntValid3"};
constexpr const char* kLockNames[] = {"StLock", "EnLock", "J1Lock", "J2Lock", "J3Lock"};
constexpr const char* kTimeNames[] = {"TimeAllocSt", "TimeAllocEn", "IntTimeAll1", "IntTimeAll2", "IntTimeAll3"};
constexpr const char* kOffsetNames[] = {"startOffset", "endOffset", "IntOffset1", "IntOffset2", "IntOffset3"};

const char* pick(const char* const* names, int which) { return which >= 0 && which < kJointCount ? names[which] : nullptr; }

// The accuracy the host is asked to compute quantities to.
constexpr double kQuantityAccuracy = 0.00001;

CadString fixedName(int32_t item, const char* fallback) {
  CadString text = lunvik::Environment::instance().string(32521, item);
  return text.empty() ? CadString(fallback) : text;
}

JointPrefs* jointPreferences() {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Project* project = addon ? addon->project() : nullptr;
  return project ? dynamic_cast<JointPrefs*>(project->store().get(JointPrefs::kCode)) : nullptr;
}

// Writes value number index of a number parameter counted row by row.
bool writeFlat(lunvik::ParameterList& list, const char* name, int32_t index, double value) {
  int32_t rows = 0, columns = 0;
  if (!parameterShape(list, name, rows, columns) || columns <= 0) return false;
  return writeCell(list, name, index / columns, index % columns, value);
}

std::vector<CadPoint> shifted(const std::vector<CadPoint>& points, const CadPoint& by) {
  std::vector<CadPoint> out;
  out.reserve(points.size());
  for (const CadPoint& p : points) out.push_back(p + by);
  return out;
}

}  // namespace

CadString libraryPartName(TimberKind kind) {
  switch (kind) {
    case TimberKind::rectilinear: return fixedName(32, "Rectilinear");
    case TimberKind::taper: return fixedName(33, "Tapered Timber");
    case TimberKind::peg: return fixedName(34, "Peg");
    case TimberKind::jowl: return fixedName(35, "Jowl Post");
    case TimberKind::camber: return fixedName(36, "Cambered Timber");
    case TimberKind::squareRound: return fixedName(38, "Square to Round Post");
    case TimberKind::roundTaper: return fixedName(39, "Round Tapered");
    case TimberKind::round: return fixedName(37, "Round");
    case TimberKind::curved: return fixedName(7, "Curved Timber");
    case TimberKind::assembly: return fixedName(11, "Assembly");
    default: return CadString();
  }
}

const char* FramingMember::jointTypeName(int which) { return pick(kTypeNames, which); }
const char* FramingMember::jointValidName(int which) { return pick(kValidNames, which); }
const char* FramingMember::jointLockName(int which) { return pick(kLockNames, which); }
const char* FramingMember::jointTimeName(int which) { return pick(kTimeNames, which); }
const char* FramingMember::jointOffsetName(int which) { return pick(kOffsetNames, which); }

bool FramingMember::jointType(int which, CadString& type) const { return getText(jointTypeName(which), type); }
bool FramingMember::setJointType(int which, const CadString& type) { return putText(jointTypeName(which), type); }
bool FramingMember::jointValid(int which, bool& on) const { return getFlag(jointValidName(which), on); }
bool FramingMember::setJointValid(int which, bool on) { return putNumber(jointValidName(which), on ? 1 : 0); }
bool FramingMember::jointLock(int which, bool& on) const { return getFlag(jointLockName(which), on); }
bool FramingMember::jointTime(int which, double& hours) const { return getNumber(jointTimeName(which), hours); }
bool FramingMember::jointOffset(int which, double& value) const { return getNumber(jointOffsetName(which), value); }

bool FramingMember::startOffset(double& value) const { return jointOffset(kStartJoint, value); }
bool FramingMember::endOffset(double& value) const { return jointOffset(kEndJoint, value); }
bool FramingMember::stLock(bool& on) const { return jointLock(kStartJoint, on); }
bool FramingMember::enLock(bool& on) const { return jointLock(kEndJoint, on); }
bool FramingMember::setTimberNo(int32_t number) { return putNumber("TimberNo", number); }
bool FramingMember::setJointOffset(int which, double value) { return putNumber(jointOffsetName(which), value); }

bool FramingMember::setJointPosition(int index, const CadPoint& point) {
  int32_t rx = 0, ry = 0, rz = 0, c = 0;
  if (index < 0 || !parameterShape(parameters(), "jointX", rx, c) || !parameterShape(parameters(), "jointY", ry, c) ||
      !parameterShape(parameters(), "jointZ", rz, c) || index >= rx || index >= ry || index >= rz)
    return false;
  return writeCell(parameters(), "jointX", index, 0, point.getX()) &&
         writeCell(parameters(), "jointY", index, 0, point.getY()) &&
         writeCell(parameters(), "jointZ", index, 0, point.getZ());
}

bool FramingMember::copyDisplaySettings(const FramingMember& from) {
  bool ok = true;
  for (const char* name : {"timberPen", "fillPen", "circPenAll", "circPenUn", "cutTextPen", "jointTextHt", "cutTextHt",
                           "showSyms3", "showCutID", "showLabel"}) {
    double value = 0;
    if (from.getNumber(name, value)) ok = putNumber(name, value) && ok;
  }
  CadString symbols;
  if (from.getText("showSyms", symbols)) ok = putText("ShowSyms", symbols) && ok;
  setTimberLayer(from.timberLayer());
  return ok;
}

// ---- names and parts ----

bool FramingMember::timberName(CadString& name) const {
  CadString stored;
  if (!getText("timberName", stored)) return false;
  if (stored.empty()) {
    lunvik::Library* library = lunvik::projectLibrary();
    int32_t type = timberElement().typeID() == platform::kLamp ? platform::kPartLamp : platform::kPartObject;
    lunvik::ComponentLink link(type, libraryIndex(), library);
    if (library && link.isValid()) {
      std::unique_ptr<lunvik::ComponentSource> source = library->getElement(link);
      if (source) stored = source->name();
    }
  }
  name = stored;
  return true;
}

bool FramingMember::setTimberName(const CadString& name) { return putText("timberName", name); }

lunvik::ComponentLink FramingMember::libraryPart() const {
  CadString name = libraryPartName(kind());
  if (name.empty()) return lunvik::ComponentLink();
  return lunvik::ComponentLink(name, platform::kPartObject, lunvik::projectLibrary());
}

// ---- extensions and hours ----

namespace {

bool extension(const FramingMember& member, const JointPrefs* joints, int which, const char* own, double& value) {
  bool locked = false;
  if (!member.jointLock(which, locked)) return false;
  if (!locked) return member.getNumber(own, value);
  double length = 0;
  CadString type;
  if (joints && member.jointType(which, type))
    for (const auto& joint : joints->joints())
      if (joint->name == type) length = joint->additionalLength;
  value = length;
  return true;
}

}  // namespace

bool FramingMember::startExtension(const JointPrefs* joints, double& value) const {
  return extension(*this, joints, kStartJoint, "extLenSt", value);
}
bool FramingMember::endExtension(const JointPrefs* joints, double& value) const {
  return extension(*this, joints, kEndJoint, "extLenEn", value);
}
bool FramingMember::startExtension(double& value) const { return startExtension(jointPreferences(), value); }
bool FramingMember::endExtension(double& value) const { return endExtension(jointPreferences(), value); }

bool FramingMember::jointHours(double& hours) const { return jointHours(jointPreferences(), hours); }

bool FramingMember::jointHours(const JointPrefs* joints, double& hours) const {
  double total = 0;
  if (!joints) {
    hours = 0;
    return false;
  }
  const CadString none = fixedName(27, "None");
  for (int which = 0; which < kJointCount; ++which) {
    CadString type;
    if (!jointType(which, type) || type == none) continue;
    bool locked = false;
    if (jointLock(which, locked) && locked) {
      bool matched = false;
      for (const auto& joint : joints->joints())
        if (joint->name == type) {
          total += joint->additionalHours;
          matched = true;
        }
      if (matched) continue;
    }
    double own = 0;
    if (!jointTime(which, own)) {
      hours = total;
      return false;
    }
    total += own;
  }
  hours = total;
  return true;
}

// ---- schedule data ----

bool FramingMember::setRoundedDimensions(double extendedLength, double width, double depth) {
  cache_.extendedLength = extendedLength;
  cache_.width = width;
  cache_.depth = depth;
  double l = extendedLength, w = width, d = depth;
  bool ok = roundDimensions(l, w, d);
  cache_.roundedLength = l;
  cache_.roundedWidth = w;
  cache_.roundedDepth = d;
  cache_.valid = true;
  ok = putNumber("BoundVol", l * w * d) && ok;
  ok = putNumber("roundLen", l) && ok;
  return ok;
}

bool FramingMember::roundedSizes(double& length, double& width, double& depth) const {
  if (cache_.valid) {
    length = cache_.roundedLength;
    width = cache_.roundedWidth;
    depth = cache_.roundedDepth;
    return true;
  }
  double l = 0, w = 0, d = 0, start = 0, end = 0;
  if (!this->length(l) || !sectionSize(w, d)) return false;
  startExtension(start);
  endExtension(end);
  l += start + end;
  if (!roundDimensions(l, w, d)) return false;
  length = l;
  width = w;
  depth = d;
  return true;
}

void FramingMember::recordNumbering(int32_t number, bool fitBoxes) {
  lunvik::CadString season;
  seasonType(season);
  setEnumSeason(season);
  double l = 0, w = 0, d = 0;
  if (roundedSizes(l, w, d)) {
    setEnumLen(l);
    if (fitBoxes) fitBoxToTimber();
    setEnumWid(w);
    if (fitBoxes) fitBoxToTimber();
    setEnumDeep(d);
    if (fitBoxes) fitBoxToTimber();
  }
  setEnumTNum(number);
}

bool FramingMember::roundedLength(double& value) const {
  if (cache_.valid) {
    value = cache_.roundedLength;
    return true;
  }
  return roundLen(value);
}

bool FramingMember::updateScheduleData(const std::vector<CadPoint>* preferredVertices,
                                       const lunvik::CadCube* boundingBlock) {
  platform::ElementQueryRecord query{};
  query.typeID = timberElement().typeID();
  query.index = timberLink().index();
  query.accuracy = kQuantityAccuracy;
  platform::ElementQuantityRecord answer{};
  double volume = 0;
  if (lunvik::host().call(&platform::HostFunctionTable::HostElementQuery, &query, &answer) == platform::kNoError &&
      std::isfinite(answer.volume))
    volume = answer.volume;
  bool ok = putNumber("actVol", volume);
  if (!boundingBlock) return ok;

  double x = boundingBlock->max().getX() - boundingBlock->min().getX();
  double y = boundingBlock->max().getY() - boundingBlock->min().getY();
  double z = boundingBlock->max().getZ() - boundingBlock->min().getZ();
  if (y > z && y > x) std::swap(x, y);
  else if (z > x) std::swap(x, z);
  double start = 0, end = 0;
  startExtension(start);
  endExtension(end);
  ok = setRoundedDimensions(start + x + end, y, z) && ok;
  layoutJoints(preferredVertices);
  return ok;
}

bool FramingMember::jointPath(std::vector<CadPoint>& points) const {
  lunvik::CadPoly path;
  CadPoint offset;
  if (!axisPath(path) || !anchorOffset(offset, true)) return false;
  points = shifted(pointsOf(path), offset);
  return true;
}

bool FramingMember::layoutJoints(const std::vector<CadPoint>* preferredVertices) {
  std::vector<CadPoint> points;
  if (!jointPath(points) || points.size() < 2) return false;
  AxisWalk walk(points);
  bool ok = true;
  CadPoint offset;
  if (hasOwnPath() && preferredVertices && !preferredVertices->empty() && anchorOffset(offset, true)) {
    double developed = 0, width = 0, depth = 0;
    if (walk.developedLength(shifted(*preferredVertices, offset), developed) && sectionSize(width, depth)) {
      double start = 0, end = 0;
      startExtension(start);
      endExtension(end);
      ok = setRoundedDimensions(start + developed + end, width, depth) && ok;
    }
  }
  CutList cuts;
  // A missing cut parameter leaves the cuts read so far.
  if (!cutPlanes(cuts)) ok = false;
  for (const auto& plane : cuts) walk.clip(*plane, kTolerance);
  double startDistance = 0, endDistance = 0;
  CadPoint first, last;
  if (!walk.clippedExtent(startDistance, endDistance, first, last)) return ok;
  setJointPosition(kStartJoint, first);
  setJointOffset(kStartJoint, startDistance);
  setJointPosition(kEndJoint, last);
  setJointOffset(kEndJoint, endDistance);
  for (int which = kFirstIntermediateJoint; which < kJointCount; ++which) {
    double at = 0;
    if (jointOffset(which, at)) setJointPosition(which, walk.pointAt(at));
  }
  int32_t rows = 0, columns = 0;
  if (parameterShape(parameters(), "cutIDPos", rows, columns) && rows * columns >= 3) {
    CadPoint mid = walk.pointAt((startDistance + endDistance) / 2);
    writeFlat(parameters(), "cutIDPos", 0, mid.getX());
    writeFlat(parameters(), "cutIDPos", 1, mid.getY());
    writeFlat(parameters(), "cutIDPos", 2, mid.getZ());
  }
  return ok;
}

// ---- upgrades ----

#define VARNHOLT_GENERAL_UPGRADE(Class) \
  bool Class::upgrade(int32_t version) { return Crafted::upgrade(version); }
VARNHOLT_GENERAL_UPGRADE(Rectilinear)
VARNHOLT_GENERAL_UPGRADE(Peg)
VARNHOLT_GENERAL_UPGRADE(SquareRound)
VARNHOLT_GENERAL_UPGRADE(RoundTaper)
VARNHOLT_GENERAL_UPGRADE(Lathe)
VARNHOLT_GENERAL_UPGRADE(Assembly)
VARNHOLT_GENERAL_UPGRADE(Custom)
VARNHOLT_GENERAL_UPGRADE(Profiled)
#undef VARNHOLT_GENERAL_UPGRADE

bool QuarterTurnMember::upgrade(int32_t version) {
  bool ok = Crafted::upgrade(version);
  if (version < 2) ok = quarterTurn() && ok;
  return ok;
}

bool QuarterTurnMember::quarterTurn() {
  double wide = 0, deep = 0, roll = 0, y = 0, z = 0;
  int v = 0, h = 0;
  if (!profileWidth(wide) || !profileDepth(deep) || !storedSwivel(roll) || !getNumber("yOffset", y) ||
      !getNumber("zOffset", z) || !anchorIndices(v, h))
    return false;
  bool ok = setProfileWidth(deep) && setProfileDepth(wide);
  ok = putNumber(nameOf(kSwivelParameter), roll - kHalfPi) && ok;
  std::string letters;
  letters += "BMT"[h];
  letters += "RML"[2 - v];
  ok = putText("anchorPick", CadString(letters.c_str())) && ok;
  ok = putNumber("yOffset", -z - wide) && putNumber("zOffset", y) && ok;
  std::vector<CadPoint> rows;
  if (spots(rows)) {
    for (CadPoint& p : rows) p = CadPoint(p.getX(), -p.getZ() + deep, p.getY());
    ok = writeSpots(rows) && ok;
  }
  int32_t cuts = 0;
  if (cutCount(cuts)) {
    for (int32_t i = 0; i < cuts; ++i) {
      double a0 = 0;
      if (readCell(parameters(), nameOf(kCutAngleParameter), i, 0, a0))
        writeCell(parameters(), nameOf(kCutAngleParameter), i, 0, a0 + kHalfPi);
    }
  }
  return ok;
}

bool Jowl::upgrade(int32_t version) {
  bool ok = QuarterTurnMember::upgrade(version);
  double head = 0, middle = 0;
  if (version < 2 && getNumber("headDeep", head) && getNumber("midOffsetX", middle))
    ok = putNumber("midOffsetX", head - middle) && ok;
  return ok;
}

bool Camber::upgrade(int32_t version) {
  bool ok = QuarterTurnMember::upgrade(version);
  double top = 0, deep = 0;
  if (version >= 2 || !getNumber("topOffset", top) || !profileDepth(deep)) return ok;
  ok = setProfileDepth(deep - top) && ok;
  int32_t cuts = 0;
  if (!cutCount(cuts)) return ok;
  for (int32_t i = 0; i < cuts; ++i) {
    double a0 = 0, a1 = 0, offset = 0;
    if (!readCell(parameters(), nameOf(kCutAngleParameter), i, 0, a0) ||
        !readCell(parameters(), nameOf(kCutAngleParameter), i, 1, a1) ||
        !readCell(parameters(), nameOf(kCutOffsetParameter), i, 0, offset))
      continue;
    lunvik::Vector3 n = SplitPlane::cutNormal(a0, a1);
    // A lengthwise cut does not cross the lowered line.
    if (std::fabs(n.x) <= kTolerance) continue;
    double x = n.z * top / (2 * n.x);
    if (std::sin(a1) > kTolerance) x = -x;
    writeCell(parameters(), nameOf(kCutOffsetParameter), i, 0, offset + x);
  }
  return ok;
}

// ---- round tapered members ----

bool RoundTaper::syncFromBox() {
  double w0 = 0, d0 = 0, w = 0, d = 0;
  const bool sized = sectionSize(w0, d0);
  bool ok = FramingMember::syncFromBox();
  bool swept = false;
  if (!sized || !isSwept(swept) || !swept || !sectionSize(w, d) || std::fabs(w - d) <= kTolerance) return ok;
  const bool depthOnly = std::fabs(d - d0) > kTolerance && std::fabs(w - w0) <= kTolerance;
  const double diameter = depthOnly ? d : w;
  ok = setProfileWidth(diameter) && setProfileDepth(diameter) && ok;
  applyAnchor();
  // Again, now only to fit the box to the round section.
  return FramingMember::syncFromBox() && ok;
}

// ---- curved members ----

bool Curved::sectionWidth(double& width) const { return getNumber("timberWid", width); }
bool Curved::setSectionWidth(double width) { return putNumber("timberWid", width); }

bool Curved::profileDepth(double& depth) const {
  double len = 0;
  if (!length(len)) return false;
  depth = len * 0.5;
  return true;
}

bool Curved::axisPath(lunvik::CadPoly& path) const {
  double len = 0, tolerance = kDefaultArcTolerance;
  if (!length(len)) return false;
  getNumber("arcToler", tolerance);
  path = std::move(*polylineOf(curvedAxis(len, tolerance)));
  return true;
}

bool Curved::jointPath(std::vector<CadPoint>& points) const { return FramingMember::jointPath(points); }

bool Curved::curvedDimensions() {
  // The half ring's radius is half its chord; the band lies inside it.
  double radius = 0;
  if (!profileDepth(radius) || radius <= kTolerance || cache_.depth <= kTolerance) return false;
  int32_t count = 0;
  if (getInteger(nameOf(kSpotCountParameter), count) && count == 0) recalculate(false);
  double width = 0;
  getNumber("timberWid", width);
  std::vector<CadPoint> rows;
  spots(rows);
  double low = 3 * kPi, high = -3 * kPi, outer = 0;
  for (const CadPoint& p : rows) {
    double a = std::atan2(p.getZ(), p.getX() - radius);
    low = std::min(low, a);
    high = std::max(high, a);
    outer = std::max(outer, std::hypot(p.getX() - radius, p.getZ()));
  }
  double len = 2 * radius;
  if (!rows.empty() && std::fabs(width) > kTolerance && width < radius) {
    // Centred on pi/2 the band runs from pi/2 - span/2 to pi/2 + span/2 at its outer radius.
    double start = 0, end = 0;
    startExtension(start);
    endExtension(end);
    len = outer * (high - low) + start + end;
  }
  return setRoundedDimensions(len, width, cache_.depth);
}

// ---- custom members ----

bool Custom::applyAnchor() {
  AnchorType type = AnchorType::standard;
  if (!anchorType(type)) return false;
  if (type == AnchorType::custom) return true;
  double len = 0, x = 0, y = 0;
  if (!length(len)) return false;
  if (type == AnchorType::profile) {
    if (!anchorZ(x) || !anchorY(y)) return false;
  } else {
    int v = 0, h = 0;
    double w = 0;
    if (!anchorIndices(v, h) || !sectionWidth(w)) return false;
    x = (2 - v) * len * -0.5;
    y = h * w * -0.5;
  }
  double rise = 0;
  bool locked = false;
  if (getNumber("hPath", rise) && std::fabs(rise) > kTolerance && getFlag("lockLength", locked) && locked &&
      len > kTolerance) {
    // The bend angle of an arc of developed length len and rise |hPath|, by Newton's method.
    double s = std::fabs(rise), angle = 8 * s / len;
    for (int step = 0; step < 6; ++step) {
      double half = angle / 2;
      double f = len * (1 - std::cos(half)) / angle - s;
      double df = len * (std::sin(half) / 2 * angle - (1 - std::cos(half))) / (angle * angle);
      if (std::fabs(df) <= 1e-12) break;
      angle -= f / df;
    }
    if (std::fabs(angle) > kTolerance) {
      double sign = rise < 0 ? -1.0 : 1.0;
      x *= std::fabs(2 * sign * len / angle * std::sin(angle / 2)) / len;
    }
  }
  return putNumber("xOffset", x) && putNumber("yOffset", y) && putNumber("zOffset", 0);
}

// ---- constant-section members ----

bool Profiled::axisPath(lunvik::CadPoly& path) const {
  ProfiledAxis axis;
  if (!length(axis.length)) return false;
  getNumber("hPath", axis.hPath);
  getNumber("vPath", axis.vPath);
  getNumber("hEnd", axis.hEnd);
  getNumber("vEnd", axis.vEnd);
  getNumber("startExtend", axis.startExtend);
  getNumber("endExtend", axis.endExtend);
  getNumber("twist", axis.twist);
  if (!getNumber("arcToler", axis.tolerance)) axis.tolerance = kDefaultArcTolerance;
  anchorOffset(axis.start, true);
  path = std::move(*polylineOf(profiledAxis(axis)));
  return true;
}

bool Profiled::measuredAlongAxis() const {
  for (const char* name : {"hPath", "vPath", "hEnd", "vEnd"}) {
    double value = 0;
    if (getNumber(name, value) && std::fabs(value) > kTolerance) return true;
  }
  return false;
}

bool Profiled::jointPath(std::vector<CadPoint>& points) const {
  lunvik::CadPoly path;
  if (!axisPath(path)) return false;
  points = pointsOf(path);
  return true;
}

}  // namespace varnholt
