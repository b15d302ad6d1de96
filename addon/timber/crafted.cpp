#include "timber/crafted.h"

#include <algorithm>
#include <cmath>

#include "geometry/tolerance.h"
#include "model/component_source.h"
#include "model/drawing.h"
#include "model/element3d.h"
#include "model/library.h"
#include "model/project.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"
#include "timber/axis_path.h"
#include "timber/parameter_access.h"

namespace varnholt {

using lunvik::CadPoint;
using lunvik::CadString;
using lunvik::kPi;
using lunvik::kTolerance;
using lunvik::kTwoPi;
using lunvik::Matrix3x3;

namespace {

constexpr const char* kProductNames[] = {"timberPen", "fillPen", "numCuts",    "swivel",   "incline",
                                         "prevSwivel", "prevIncline", "cutAngle", "cutOffset", "isStretchy",
                                         "spots",      "spotCount", "ID",         "BMT",      "RML"};
constexpr const char* kBlobNames[] = {"lunvik_edgePen",    "lunvik_fillPen",     "lunvik_cutCount", "lunvik_swivel",
                                      "lunvik_incline",    "lunvik_prevSwivel",  "lunvik_prevIncline",
                                      "lunvik_cutAngle",   "lunvik_cutOffset",   "lunvik_isStretchy",
                                      "lunvik_spots",      "lunvik_spotCount",   "lunvik_ID", "BMT", "RML"};
constexpr int kNameCount = int(sizeof(kProductNames) / sizeof(kProductNames[0]));

// The user-data flags a timber's kind code is stored with.
constexpr int32_t kKindCodeFlags = 0x1000003;

// An angle in [0, 2pi).
double normaliseAngle(double a) {
  a = std::fmod(a, kTwoPi);
  if (a < 0) a += kTwoPi;
  if (std::fabs(a - kTwoPi) <= kTolerance) a = 0;
  return a;
}

bool nearZero(double v) { return std::fabs(v) <= kTolerance; }

// The text of string list 32521 item, or the fallback when the list has none.
CadString fixedName(int32_t item, const char* fallback) {
  CadString text = lunvik::Environment::instance().string(32521, item);
  return text.empty() ? CadString(fallback) : text;
}

// The directions of the member's length, width and depth in its own plan frame (before the
// plan angle): incline about y, then swivel about x.
void memberDirections(double incline, double swivel, lunvik::Vector3 dir[3]) {
  double ci = std::cos(incline), si = std::sin(incline), cs = std::cos(swivel), ss = std::sin(swivel);
  dir[0] = lunvik::Vector3(ci, 0, -si);
  dir[1] = lunvik::Vector3(si * ss, cs, ci * ss);
  dir[2] = lunvik::Vector3(si * cs, -ss, ci * cs);
}

bool axisParallel(double angle) { return nearZero(std::sin(angle)) || nearZero(std::cos(angle)); }

}  // namespace

Crafted::~Crafted() = default;

// ---- parameter helpers ----

const char* Crafted::nameOf(int index) const {
  if (index < 0 || index >= kNameCount) return nullptr;
  return isBlob() ? kBlobNames[index] : kProductNames[index];
}

CadString Crafted::parameterName(int index) const {
  const char* name = nameOf(index);
  return name ? CadString(name) : CadString();
}

const char* Blob::blobParameterName(int index) { return index >= 0 && index < kNameCount ? kBlobNames[index] : nullptr; }

bool Crafted::getNumber(const char* name, double& value) const { return name && readNumber(parameters(), name, value); }
bool Crafted::getInteger(const char* name, int32_t& value) const { return name && readInteger(parameters(), name, value); }
bool Crafted::getFlag(const char* name, bool& value) const { return name && readBoolean(parameters(), name, value); }
bool Crafted::getText(const char* name, CadString& value) const { return name && readText(parameters(), name, value); }
bool Crafted::putNumber(const char* name, double value) { return name && writeNumber(parameters(), name, value); }
bool Crafted::putText(const char* name, const CadString& value) { return name && writeText(parameters(), name, value); }

// ---- reads ----

bool Crafted::endPoint(CadPoint& point) const {
  double len = 0, slope = 0;
  if (!length(len) || !incline(slope)) return false;
  double a = planAngle();
  CadPoint p = placement();
  point = CadPoint(p.getX() + len * std::cos(slope) * std::cos(a), p.getY() + len * std::cos(slope) * std::sin(a),
                   p.getZ() - len * std::sin(slope));
  return true;
}

bool Crafted::sectionWidth(double& width) const { return profileWidth(width); }
bool Crafted::profileWidth(double& width) const { return getNumber("profWide", width); }
bool Crafted::profileDepth(double& depth) const { return getNumber("profDeep", depth); }
bool Crafted::length(double& value) const { return getNumber("length", value); }

bool Crafted::axisPath(lunvik::CadPoly& path) const {
  double len = 0;
  if (!length(len)) return false;
  auto poly = polylineOf(straightAxis(len));
  path = std::move(*poly);
  return true;
}

bool Crafted::anchorOffset(CadPoint& offset, bool halfSection) const {
  double x = 0, y = 0, z = 0;
  if (!getNumber("xOffset", x) || !getNumber("yOffset", y) || !getNumber("zOffset", z)) return false;
  if (halfSection) {
    double w = 0, d = 0;
    if (!sectionWidth(w) || !profileDepth(d)) return false;
    y += w / 2;
    z += d / 2;
  }
  offset = CadPoint(x, y, z);
  return true;
}

bool Crafted::typeId(CadString& id) const { return getText(nameOf(kIdParameter), id); }
bool Crafted::isStretchy(bool& on) const { return getFlag(nameOf(kStretchyParameter), on); }
bool Crafted::isSwept(bool& on) const { return getFlag("isSwept", on); }
bool Crafted::anchorY(double& value) const { return getNumber("anchorY", value); }
bool Crafted::anchorZ(double& value) const { return getNumber("anchorZ", value); }

bool Crafted::objectVersion(int32_t& version) const {
  CadString v, h;
  bool hasV = getText("vAnchor", v), hasH = getText("hAnchor", h);
  if (hasV && hasH && !v.empty() && !h.empty()) {
    version = 1;
    return true;
  }
  int32_t stored = 0;
  if (getInteger("lunvik_version", stored)) {
    version = stored;
    return true;
  }
  CadString type, pick;
  if (hasV && hasH && getText("anchorType", type) && getText("anchorPick", pick)) {
    version = 2;
    return true;
  }
  return false;
}

bool Crafted::sectionSize(double& width, double& depth) const {
  double w = 0, d = 0;
  if (!profileWidth(w) || !profileDepth(d)) return false;
  width = w;
  depth = d;
  return true;
}

lunvik::ComponentLink Crafted::libraryPart() const { return lunvik::ComponentLink(); }

bool Crafted::timberName(CadString& name) const { return getText("timberName", name); }

// ---- the element ----

const lunvik::ElementLink& Crafted::timberLink() const { return timberElement().link(); }
lunvik::Drawing* Crafted::timberDrawing() const { return timberElement().drawing(); }

std::unique_ptr<lunvik::Element3D> Crafted::element3D() const {
  lunvik::Addon* addon = lunvik::theAddon();
  return std::make_unique<lunvik::Element3D>(timberLink(), addon ? addon->project() : nullptr);
}

lunvik::ParameterList& Crafted::parameters() { return timberElement().parameters(); }
const lunvik::ParameterList& Crafted::parameters() const { return timberElement().parameters(); }
int32_t Crafted::libraryIndex() const { return timberElement().libraryIndex(); }
bool Crafted::timberUserData(std::string& data) const { return timberElement().userData(data); }

bool Crafted::boxSize(double& a, double& b, double& zzyzx) const {
  double va = 0, vb = 0, vz = 0;
  if (!getNumber("A", va) || !getNumber("B", vb) || !getNumber("ZZYZX", vz)) return false;
  a = va;
  b = vb;
  zzyzx = vz;
  return true;
}

CadPoint Crafted::placement() const { return timberElement().position(); }
int16_t Crafted::timberLayer() const { return timberElement().layerIndex(); }
int16_t Crafted::timberStorey() const { return timberElement().storey(); }
double Crafted::planAngle() const { return timberElement().angle(); }
bool Crafted::isMirrored() const { return timberElement().isMirrored(); }

void Crafted::setPlacement(const CadPoint& point) { timberElement().setPosition(point); }
void Crafted::setPlanAngle(double angle) { timberElement().setAngle(angle); }
void Crafted::setMirrored(bool on) { timberElement().record().part.mirrored = on ? 1 : 0; }

bool Crafted::setTimberUserData(const std::string& data) { return setKindUserData(timberElement(), data); }

bool setKindUserData(lunvik::Element& element, const std::string& data) {
  if (data.empty()) return false;
  lunvik::HandleOwner handle(lunvik::newHandle(data.data(), data.size()));
  if (!handle.get()) return false;
  platform::UserDataRecord record{};
  record.version = 1;
  record.platform = lunvik::Environment::platformCode();
  record.flags = kKindCodeFlags;
  record.data = handle.get();
  platform::ElementHeader header = element.header();
  if (lunvik::host().call(&platform::HostFunctionTable::HostSetElementUserData, &header, &record) !=
      platform::kNoError)
    return false;
  element.header() = header;
  element.setLink(lunvik::ElementLink(header));
  return true;
}

bool Crafted::setSizeA(double a) {
  lunvik::ComponentElem& element = timberElement();
  element.setSize(a, element.sizeB());
  return putNumber("A", a);
}

bool Crafted::setSizeB(double b) {
  lunvik::ComponentElem& element = timberElement();
  element.setSize(element.sizeA(), b);
  return putNumber("B", b);
}

bool Crafted::setHeight(double zzyzx) {
  timberElement().record().part.height = zzyzx;
  return putNumber("ZZYZX", zzyzx);
}

void Crafted::setTimberLayer(int16_t layer) { timberElement().header().layer = layer; }
void Crafted::setTimberDrawing(lunvik::Drawing* drawing) { timberElement().setDrawing(drawing); }
void Crafted::setLibraryIndex(int32_t index) { timberElement().record().part.libIndex = index; }

bool Crafted::store() {
  lunvik::Drawing* drawing = timberDrawing();
  return drawing && drawing->store(timberElement());
}

bool Crafted::update() { return store(); }

// ---- orientation and anchors ----

bool Crafted::storedSwivel(double& value) const { return getNumber(nameOf(kSwivelParameter), value); }

bool Crafted::swivel(double& value) const {
  double stored = 0;
  if (!storedSwivel(stored)) return false;
  value = isMirrored() ? normaliseAngle(kTwoPi - stored) : stored;
  return true;
}

bool Crafted::setSwivel(double value) {
  return putNumber(nameOf(kSwivelParameter), isMirrored() ? normaliseAngle(kTwoPi - value) : value);
}

bool Crafted::incline(double& value) const { return getNumber(nameOf(kInclineParameter), value); }
bool Crafted::setIncline(double value) { return putNumber(nameOf(kInclineParameter), value); }

double Crafted::orientationAngle() const {
  double a = planAngle();
  return isMirrored() ? normaliseAngle(a + kPi) : a;
}

bool Crafted::orientation(Matrix3x3& matrix) const {
  double slope = 0, roll = 0;
  if (!incline(slope) || !storedSwivel(roll)) return false;
  Matrix3x3 m = Matrix3x3::rotationZ(orientationAngle());
  if (isMirrored()) m *= Matrix3x3(-1, 1, 1);
  m *= Matrix3x3::rotationY(slope);
  m *= Matrix3x3::rotationX(roll);
  matrix = m;
  return true;
}

bool Crafted::anchorIndices(int& vertical, int& horizontal) const {
  int32_t version = 0;
  if (!objectVersion(version)) return false;
  if (version < 2) {
    CadString v, h;
    if (!getText("vAnchor", v) || !getText("hAnchor", h)) return false;
    int vi = -1, hi = -1;
    const char* vWords[] = {"Bottom", "Centre", "Top"};
    const char* hWords[] = {"Right", "Centre", "Left"};
    for (int i = 0; i < 3; ++i) {
      if (v == fixedName(1 + i, vWords[i])) vi = i;
      if (h == fixedName(4 + i, hWords[i])) hi = i;
    }
    if (vi < 0 || hi < 0) return false;
    vertical = vi;
    horizontal = hi;
    return true;
  }
  CadString pick;
  if (!getText("anchorPick", pick) || pick.length() < 2) return false;
  const std::string vLetters = "BMT", hLetters = "RML";
  std::size_t vi = vLetters.find(pick[0]), hi = hLetters.find(pick[1]);
  if (vi == std::string::npos || hi == std::string::npos) return false;
  vertical = int(vi);
  horizontal = int(hi);
  return true;
}

bool Crafted::anchorType(AnchorType& type) const {
  CadString text;
  if (!getText("anchorType", text)) return false;
  if (text == "Standard") type = AnchorType::standard;
  else if (text == "Custom") type = AnchorType::custom;
  else if (text == "Profile") type = AnchorType::profile;
  else return false;
  return true;
}

bool Crafted::applyAnchor() {
  AnchorType type = AnchorType::standard;
  if (!anchorType(type)) return false;
  if (type == AnchorType::custom) return true;
  double y = 0, z = 0;
  if (type == AnchorType::profile) {
    if (!anchorY(y) || !anchorZ(z)) return false;
  } else {
    int v = 0, h = 0;
    double w = 0, d = 0;
    if (!anchorIndices(v, h) || !sectionWidth(w) || !profileDepth(d)) return false;
    y = h * w * -0.5;
    z = v * d * -0.5;
  }
  return putNumber("xOffset", 0) && putNumber("yOffset", y) && putNumber("zOffset", z);
}

// ---- upgrade and box synchronisation ----

bool Crafted::upgrade(int32_t version) {
  bool ok = putNumber("lunvik_version", 2);
  if (version >= 2) return ok;
  int v = 0, h = 0;
  {
    CadString vText, hText;
    if (getText("vAnchor", vText) && getText("hAnchor", hText) && !vText.empty() && !hText.empty()) {
      if (anchorIndices(v, h)) {
        std::string pick;
        pick += "BMT"[v];
        pick += "RML"[h];
        ok = putText("anchorPick", CadString(pick.c_str())) && ok;
      } else {
        ok = false;
      }
      ok = putText("hAnchor", CadString()) && ok;
      ok = putText("vAnchor", CadString()) && ok;
      ok = putText("anchorType", CadString("Standard")) && ok;
    }
  }
  int32_t count = 0;
  double first = 0;
  if (getInteger("chamferCount", count) && readCell(parameters(), "chamferOffset", 0, 0, first)) {
    int n = 0;
    for (const char* corner : {"TL", "TR", "BL", "BR"}) {
      std::string cham = std::string(corner) + "Cham", len = std::string(corner) + "ChLen",
                  start = std::string(corner) + "StartOff";
      double width = 0, along = 0, offset = 0;
      if (!getNumber(cham.c_str(), width) || !getNumber(len.c_str(), along)) continue;
      if (width > kTolerance && along > kTolerance) {
        getNumber(start.c_str(), offset);
        if (writeCell(parameters(), "chamferOffset", n, 0, offset)) {
          writeCell(parameters(), "chamferWide", n, 0, width);
          writeCell(parameters(), "chamferLong", n, 0, along);
          writeTextCell(parameters(), "chamferSpec", n, CadString(corner));
          ++n;
        }
      }
      putNumber(cham.c_str(), 0);
    }
    ok = putNumber("chamferCount", n) && ok;
  }
  return ok;
}

namespace {

// The box extents (A along x, B along y, ZZYZX up) of a member of the sizes in a direction.
void boxExtents(double incline, double swivel, double len, double width, double depth, double out[3]) {
  lunvik::Vector3 dir[3];
  memberDirections(incline, swivel, dir);
  const double size[3] = {len, width, depth};
  for (int axis = 0; axis < 3; ++axis) {
    out[axis] = 0;
    for (int k = 0; k < 3; ++k) {
      double c = axis == 0 ? dir[k].x : axis == 1 ? dir[k].y : dir[k].z;
      // A direction across the axis adds nothing, not a rounding error's worth.
      if (!nearZero(c)) out[axis] += std::fabs(c) * size[k];
    }
  }
}

}  // namespace

bool Crafted::syncFromRotation() {
  double s = 0, i = 0, ps = 0, pi = 0;
  const char* prevS = nameOf(kPrevSwivelParameter);
  const char* prevI = nameOf(kPrevInclineParameter);
  if (!storedSwivel(s) || !incline(i) || !getNumber(prevS, ps) || !getNumber(prevI, pi)) return false;
  if (std::fabs(s - ps) <= kTolerance && std::fabs(i - pi) <= kTolerance) return true;
  bool ok = true;
  double len = 0, w = 0, d = 0;
  if (axisParallel(s) && axisParallel(i) && length(len) && sectionWidth(w) && profileDepth(d)) {
    double box[3];
    boxExtents(i, s, len, w, d, box);
    ok = setSizeA(box[0]) && setSizeB(box[1]) && setHeight(box[2]);
  }
  double a = 0, b = 0, z = 0;
  ok = putNumber(prevS, s) && putNumber(prevI, i) && ok;
  if (boxSize(a, b, z)) {
    putNumber("prevA", a);
    putNumber("prevB", b);
    putNumber("prevZzyzx", z);
  }
  updateFlatLength();
  return ok;
}

bool Crafted::fitBoxToTimber() {
  double s = 0, i = 0, len = 0, w = 0, d = 0;
  if (!storedSwivel(s) || !incline(i) || !length(len) || !sectionWidth(w) || !profileDepth(d)) return false;
  double box[3];
  boxExtents(i, s, len, w, d, box);
  bool ok = true;
  if (box[0] > kTolerance) ok = setSizeA(box[0]) && ok;
  if (box[1] > kTolerance) ok = setSizeB(box[1]) && ok;
  if (box[2] > kTolerance) ok = setHeight(box[2]) && ok;
  return ok;
}

bool Crafted::updateFlatLength() {
  double len = 0, i = 0;
  if (!length(len) || !incline(i)) return false;
  return putNumber("flatLength", len * std::cos(i));
}

bool Crafted::syncFromBox() {
  bool swept = false;
  if (!isSwept(swept) || !swept) return true;
  double a = 0, b = 0, z = 0, pa = 0, pb = 0, s = 0, i = 0;
  if (!boxSize(a, b, z) || !getNumber("prevA", pa) || !getNumber("prevB", pb) || !storedSwivel(s) || !incline(i))
    return false;
  // A part without `prevZzyzx` never takes its height.
  double pz = z;
  getNumber("prevZzyzx", pz);
  if (!axisParallel(s) || !axisParallel(i)) return true;
  const double box[3] = {a, b, z}, previous[3] = {pa, pb, pz};
  lunvik::Vector3 dir[3];
  memberDirections(i, s, dir);
  bool ok = true, sectionChanged = false;
  for (int axis = 0; axis < 3; ++axis) {
    if (std::fabs(box[axis] - previous[axis]) <= kTolerance) continue;
    for (int k = 0; k < 3; ++k) {
      double c = axis == 0 ? dir[k].x : axis == 1 ? dir[k].y : dir[k].z;
      if (std::fabs(std::fabs(c) - 1) > kTolerance) continue;
      ok = (k == 0 ? setLength(box[axis]) : k == 1 ? setSectionWidth(box[axis]) : setProfileDepth(box[axis])) && ok;
      sectionChanged = sectionChanged || k > 0;
      break;
    }
  }
  // A standard anchor is measured across the section, so a new width or depth moves it.
  if (sectionChanged) applyAnchor();
  // The box follows the member, so that the next stretch starts from the member's sizes.
  ok = fitBoxToTimber() && ok;
  if (boxSize(a, b, z)) {
    putNumber("prevA", a);
    putNumber("prevB", b);
    putNumber("prevZzyzx", z);
  }
  return ok;
}

// ---- writes ----

bool Crafted::setSectionWidth(double width) { return putNumber("profWide", width); }

bool Crafted::setProfileWidth(double width) {
  if (!putNumber("profWide", width)) return false;
  putNumber("prevWide", width);
  return true;
}

bool Crafted::setProfileDepth(double depth) {
  if (!putNumber("profDeep", depth)) return false;
  putNumber("prevDeep", depth);
  return true;
}

bool Crafted::setLength(double value) {
  if (!putNumber("length", value)) return false;
  putNumber("prevLength", value);
  return true;
}

bool Crafted::setAnchorOffset(const CadPoint& offset) {
  return putNumber("xOffset", offset.getX()) && putNumber("yOffset", offset.getY()) &&
         putNumber("zOffset", offset.getZ());
}

bool Crafted::storeTypeId() {
  CadString id;
  if (!typeId(id) || id.empty()) return false;
  return setTimberUserData(std::string(id.c_str(), id.length()));
}

bool Crafted::setCutOffsets(const std::vector<double>& offsets) {
  const char* name = nameOf(kCutOffsetParameter);
  int32_t rows = 0, columns = 0;
  if (!parameterShape(parameters(), name, rows, columns) || int32_t(offsets.size()) > rows) return false;
  for (std::size_t i = 0; i < offsets.size(); ++i)
    if (!writeCell(parameters(), name, int32_t(i), 0, offsets[i])) return false;
  return true;
}

bool Crafted::spots(std::vector<CadPoint>& rows) const {
  const char* name = nameOf(kSpotsParameter);
  int32_t count = 0, capacity = 0, columns = 0;
  if (!getInteger(nameOf(kSpotCountParameter), count) || !numberShape(parameters(), name, capacity, columns) ||
      columns < 3)
    return false;
  count = std::max(0, std::min(count, capacity));
  std::vector<CadPoint> out;
  out.reserve(std::size_t(count));
  for (int32_t r = 0; r < count; ++r) {
    double x = 0, y = 0, z = 0;
    // A row that is no point is left out.
    if (readCell(parameters(), name, r, 0, x) && readCell(parameters(), name, r, 1, y) &&
        readCell(parameters(), name, r, 2, z))
      out.emplace_back(x, y, z);
  }
  rows = std::move(out);
  return true;
}

bool Crafted::writeSpots(const std::vector<CadPoint>& rows) {
  const char* name = nameOf(kSpotsParameter);
  int32_t capacity = 0, columns = 0;
  if (!numberShape(parameters(), name, capacity, columns) || columns < 3) return false;
  int32_t n = int32_t(std::min<std::size_t>(std::size_t(capacity), rows.size()));
  for (int32_t r = 0; r < n; ++r) {
    const CadPoint& p = rows[std::size_t(r)];
    if (!writeCell(parameters(), name, r, 0, p.getX()) || !writeCell(parameters(), name, r, 1, p.getY()) ||
        !writeCell(parameters(), name, r, 2, p.getZ())) {
      // The rows written so far are all the array holds.
      putNumber(nameOf(kSpotCountParameter), r);
      return false;
    }
  }
  return putNumber(nameOf(kSpotCountParameter), n);
}

bool Crafted::moveSpots(const lunvik::Vector3& by) {
  std::vector<CadPoint> rows;
  if (!spots(rows)) return false;
  for (std::size_t r = rows.size(); r-- > 0;) rows[r] = rows[r] + by.toPoint();
  return writeSpots(rows);
}

bool Crafted::setStretchy(bool on) { return putNumber(nameOf(kStretchyParameter), on ? 1 : 0); }
bool Crafted::setSmooth(bool on) { return putNumber("isSmooth", on ? 1 : 0); }

bool Crafted::normaliseSpots() {
  std::vector<CadPoint> rows;
  if (!spots(rows)) return false;
  std::sort(rows.begin(), rows.end(), [](const CadPoint& a, const CadPoint& b) {
    if (a.getX() != b.getX()) return a.getX() < b.getX();
    if (a.getY() != b.getY()) return a.getY() < b.getY();
    return a.getZ() < b.getZ();
  });
  std::vector<CadPoint> kept;
  kept.reserve(rows.size());
  for (const CadPoint& p : rows) {
    if (!kept.empty()) {
      const CadPoint& q = kept.back();
      if (std::fabs(p.getX() - q.getX()) <= kTolerance && std::fabs(p.getY() - q.getY()) <= kTolerance &&
          std::fabs(p.getZ() - q.getZ()) <= kTolerance)
        continue;
    }
    kept.push_back(p);
  }
  return writeSpots(kept);
}

bool Crafted::resetPlacement() {
  bool ok = putNumber(nameOf(kSwivelParameter), 0) && putNumber(nameOf(kInclineParameter), 0);
  setPlanAngle(0);
  setPlacement(CadPoint(0, 0, 0));
  return ok;
}

bool Crafted::setAnchorY(double value) { return putNumber("anchorY", value); }
bool Crafted::setAnchorZ(double value) { return putNumber("anchorZ", value); }
bool Crafted::setTimberName(const CadString& name) { return putText("timberName", name); }

// ---- cut planes, hotspots and recalculation ----

bool Crafted::cutCount(int32_t& count) const {
  int32_t n = 0;
  if (!getInteger(nameOf(kCutCountParameter), n)) return false;
  if (n > 0) {
    int32_t angleRows = 0, angleColumns = 0, offsetRows = 0, offsetColumns = 0;
    if (!numberShape(parameters(), nameOf(kCutAngleParameter), angleRows, angleColumns) || angleColumns < 2 ||
        !numberShape(parameters(), nameOf(kCutOffsetParameter), offsetRows, offsetColumns))
      return false;
    n = std::min(n, std::min(angleRows, offsetRows));
  }
  count = std::max(n, 0);
  return true;
}

bool Crafted::cutPlanes(CutList& list) const {
  int32_t count = 0;
  double len = 0;
  CadPoint base;
  if (!cutCount(count) || !length(len) || !anchorOffset(base, true)) return false;
  const char* angles = nameOf(kCutAngleParameter);
  const char* offsets = nameOf(kCutOffsetParameter);
  for (int32_t i = 0; i < count; ++i) {
    double a0 = 0, a1 = 0, offset = 0;
    if (!readCell(parameters(), angles, i, 0, a0) || !readCell(parameters(), angles, i, 1, a1) ||
        !readCell(parameters(), offsets, i, 0, offset))
      return false;
    list.push_back(std::make_unique<SplitPlane>(SplitPlane::fromCut(a0, a1, offset, len, base)));
  }
  return true;
}

bool Crafted::bodyPoints(std::vector<CadPoint>& preferred, std::vector<CadPoint>& others,
                         lunvik::CadCube& block) const {
  Matrix3x3 m;
  CadPoint offset;
  if (!orientation(m) || !anchorOffset(offset, true)) return false;
  Matrix3x3 inverse = m.transpose();
  CadPoint at = placement();
  std::unique_ptr<lunvik::Element3D> model = element3D();
  bool any = false;
  for (const auto& body : model->bodies()) {
    const auto& vertices = body->vertices();
    std::vector<char> used(vertices.size(), 0);
    const auto& edges = body->edges();
    for (const auto& face : body->faces()) {
      auto mark = [&](const std::vector<int32_t>& list) {
        for (int32_t e : list) {
          std::size_t k = std::size_t(std::abs(e));
          if (k >= edges.size()) continue;
          if (std::size_t(edges[k].first) < used.size()) used[std::size_t(edges[k].first)] = 1;
          if (std::size_t(edges[k].second) < used.size()) used[std::size_t(edges[k].second)] = 1;
        }
      };
      mark(face->data().edges);
      for (const auto& hole : face->holes()) mark(hole->data().edges);
    }
    for (std::size_t v = 0; v < vertices.size(); ++v) {
      CadPoint local = ((*vertices[v] - at) * inverse) - offset;
      if (!std::isfinite(local.getX()) || !std::isfinite(local.getY()) || !std::isfinite(local.getZ())) continue;
      if (!any) block = lunvik::CadCube(local, local);
      else block.add(local);
      any = true;
      (used[v] ? others : preferred).push_back(local);
    }
  }
  return any;
}

namespace {

// Takes up to room points of a set into rows: evenly spaced when there are more, else all of
// them, last first.
void takeSpots(const std::vector<CadPoint>& set, std::size_t room, std::vector<CadPoint>& rows) {
  if (room == 0 || set.empty()) return;
  if (set.size() > room) {
    double step = double(set.size() - 1) / double(room);
    for (std::size_t k = 0; k < room; ++k) rows.push_back(set[std::min(set.size() - 1, std::size_t(double(k) * step))]);
  } else {
    for (std::size_t k = set.size(); k-- > 0;) rows.push_back(set[k]);
  }
}

}  // namespace

bool Crafted::recalculate(bool rebuild) {
  lunvik::Drawing* drawing = timberDrawing();
  int32_t capacity = 0, columns = 0;
  if (!drawing || !parameterShape(parameters(), nameOf(kSpotsParameter), capacity, columns)) return false;
  // A hotspot array that cannot hold points is left as it is; the member is measured all the
  // same.
  const bool hasSpots = numberShape(parameters(), nameOf(kSpotsParameter), capacity, columns) && columns >= 3;
  if (hasSpots) putNumber(nameOf(kSpotCountParameter), 0);
  if (rebuild && setSmooth(false)) {
    update();
    setSmooth(true);
  }
  syncFromBox();
  // The host builds the body from the stored parameters: store what changed first.
  store();
  std::vector<CadPoint> preferred, others;
  lunvik::CadCube block;
  bool hasBody = bodyPoints(preferred, others, block);
  if (hasSpots) {
    std::vector<CadPoint> rows;
    rows.reserve(std::min<std::size_t>(std::size_t(capacity), preferred.size() + others.size()));
    takeSpots(preferred, std::size_t(capacity), rows);
    takeSpots(others, std::size_t(capacity) - rows.size(), rows);
    writeSpots(rows);
    normaliseSpots();
  }
  const std::vector<CadPoint>& marks = preferred.empty() && measuredAlongAxis() ? others : preferred;
  bool ok = updateScheduleData(&marks, hasBody ? &block : nullptr);
  store();
  return ok && hasSpots;
}

bool Crafted::updateScheduleData(const std::vector<CadPoint>*, const lunvik::CadCube*) { return true; }

// ---- object and lamp forms ----

std::unique_ptr<lunvik::Element> CraftedObject::clone() const { return std::make_unique<CraftedObject>(*this); }
std::unique_ptr<Crafted> CraftedObject::cloneCrafted() const { return std::make_unique<CraftedObject>(*this); }
std::unique_ptr<lunvik::Element> CraftedLamp::clone() const { return std::make_unique<CraftedLamp>(*this); }
std::unique_ptr<Crafted> CraftedLamp::cloneCrafted() const { return std::make_unique<CraftedLamp>(*this); }

std::unique_ptr<lunvik::Element> BlobObject::clone() const { return std::make_unique<BlobObject>(*this); }
std::unique_ptr<Crafted> BlobObject::cloneCrafted() const { return std::make_unique<BlobObject>(*this); }
std::unique_ptr<lunvik::Element> BlobLamp::clone() const { return std::make_unique<BlobLamp>(*this); }
std::unique_ptr<Crafted> BlobLamp::cloneCrafted() const { return std::make_unique<BlobLamp>(*this); }

bool BlobObject::length(double& value) const { return getNumber("A", value); }
bool BlobLamp::length(double& value) const { return getNumber("A", value); }
bool BlobObject::typeId(CadString& id) const { return getText("lunvik_ID", id); }

bool Blob::width(const Crafted& timber, double& value) { return timber.getNumber("B", value); }
bool Blob::depth(const Crafted& timber, double& value) { return timber.getNumber("ZZYZX", value); }

bool Blob::origin(CadPoint& offset) {
  offset = CadPoint(0, 0, 0);
  return true;
}

bool Blob::recordRotation(Crafted& timber) {
  double s = 0, i = 0;
  if (!timber.storedSwivel(s) || !timber.incline(i)) return false;
  return timber.putNumber(timber.parameterName(kPrevSwivelParameter).c_str(), s) &&
         timber.putNumber(timber.parameterName(kPrevInclineParameter).c_str(), i);
}
bool BlobLamp::typeId(CadString& id) const { return getText("lunvik_ID", id); }

}  // namespace varnholt
