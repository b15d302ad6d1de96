#include "host/render/member_marks.h"

#include <strings.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "host/library/part_file.h"
#include "platform/parameter_records.h"

namespace standin {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The parameters a member's marks are read from, by slot.
enum Slot {
  kSeasonType, kTimberName, kTimberNo, kShowCutID, kShowLabel, kShowSyms, kShowSyms3, kCutIDPos, kCutTextHt,
  kJointTextHt, kJointX, kJointY, kJointZ, kValidSt, kValidEn, kIntValid1, kIntValid2, kIntValid3, kIntOffset1,
  kIntOffset2, kIntOffset3, kIncline, kSwivel, kSlotCount
};

const char* const kSlotNames[kSlotCount] = {
    "seasontype", "timbername", "timberno",  "showcutid", "showlabel",  "showsyms",   "showsyms3", "cutidpos",
    "cuttextht",  "jointtextht", "jointx",   "jointy",    "jointz",     "validst",    "validen",   "intvalid1",
    "intvalid2",  "intvalid3",  "intoffset1", "intoffset2", "intoffset3", "incline",   "swivel"};

const std::unordered_map<std::string_view, int>& slotIndex() {
  static const std::unordered_map<std::string_view, int> index = [] {
    std::unordered_map<std::string_view, int> m;
    for (int i = 0; i < kSlotCount; ++i) m.emplace(kSlotNames[i], i);
    return m;
  }();
  return index;
}

// A parameter found for a slot: the element's own or the part's default.
struct Found {
  const StoredParameter* stored = nullptr;
  const PartParameter* fallback = nullptr;

  bool present() const { return stored || fallback; }
  double number(std::size_t at, double otherwise) const {
    if (stored) {
      if (stored->record.typeID == platform::kParamString) return otherwise;
      if (stored->record.shape == platform::kShapeArray)
        return at < stored->numbers.size() ? stored->numbers[at] : otherwise;
      return at == 0 ? stored->record.value.real : otherwise;
    }
    if (fallback && !fallback->isText()) return at < fallback->numbers.size() ? fallback->numbers[at] : otherwise;
    return otherwise;
  }
  std::string text() const {
    if (stored) {
      if (stored->record.typeID != platform::kParamString) return std::string();
      if (stored->record.shape == platform::kShapeArray) return stored->texts.empty() ? std::string() : stored->texts[0];
      std::string out;
      for (std::size_t i = 0; i < 256 && stored->record.value.text[i]; ++i)
        out += stored->record.value.text[i] < 256 ? char(stored->record.value.text[i]) : '?';
      return out;
    }
    if (fallback && fallback->isText() && !fallback->texts.empty()) return fallback->texts[0];
    return std::string();
  }
};

bool kindCode(const std::string& bytes) {
  static const char* const kCodes[] = {"RECT", "TAPR", "TPEG", "JOWL", "CAMB", "SQRO", "ROTA", "CURV",
                                       "CUST", "LATH", "ROUN", "EXTR", "SECT", "ASSM", "BLOB"};
  if (bytes.size() < 4) return false;
  const char reversed[4] = {bytes[3], bytes[2], bytes[1], bytes[0]};
  for (const char* code : kCodes)
    if (std::memcmp(bytes.data(), code, 4) == 0 || std::memcmp(reversed, code, 4) == 0) return true;
  return false;
}

}  // namespace

bool isTimberMember(const HostElement& element) {
  const int32_t kind = element.header().typeID;
  return (kind == platform::kObject || kind == platform::kLamp) && element.hasUserData && kindCode(element.userData);
}

MemberMarks readMemberMarks(const HostElement& element, const LibraryPart* part) {
  Found found[kSlotCount];
  const auto& index = slotIndex();
  char lower[sizeof(platform::HostParameterRecord::name) + 1];
  for (const StoredParameter& p : element.parameters) {
    std::size_t n = strnlen(p.record.name, sizeof p.record.name);
    for (std::size_t i = 0; i < n; ++i) lower[i] = char(std::tolower(static_cast<unsigned char>(p.record.name[i])));
    auto it = index.find(std::string_view(lower, n));
    if (it != index.end() && !found[it->second].stored) found[it->second].stored = &p;
  }
  if (part)
    for (int i = 0; i < kSlotCount; ++i)
      if (!found[i].present()) found[i].fallback = part->parameter(kSlotNames[i]);

  MemberMarks m;
  m.timberType = found[kSeasonType].text();
  m.description = found[kTimberName].text();
  if (m.description.empty()) m.description = element.libraryPart;
  m.number = int(std::lround(found[kTimberNo].number(0, 0)));
  m.showCutNumber = found[kShowCutID].number(0, 0) != 0;
  m.showLabel = found[kShowLabel].number(0, 0) != 0;
  if (found[kShowSyms].present()) {
    const std::string symbols = found[kShowSyms].text();
    m.symbols = strcasecmp(symbols.c_str(), "All") == 0    ? JointSymbols::All
                : strcasecmp(symbols.c_str(), "None") == 0 ? JointSymbols::None
                                                            : JointSymbols::Unchecked;
  }
  m.symbols3D = found[kShowSyms3].number(0, 0) != 0;
  m.cutPosition = {found[kCutIDPos].number(0, 0), found[kCutIDPos].number(1, 0), found[kCutIDPos].number(2, 0)};
  m.cutTextHeight = found[kCutTextHt].number(0, 0.15);
  m.jointSize = found[kJointTextHt].number(0, 0.1);
  m.incline = found[kIncline].number(0, 0);
  m.swivel = found[kSwivel].number(0, 0);
  // Rows of the joint positions: 0 the start, 1 the end, 2 to 4 the intermediate joints. A
  // flag that cannot be read counts as checked.
  auto joint = [&](std::size_t row, Slot valid) {
    MemberJoint j;
    j.at = {found[kJointX].number(row, 0), found[kJointY].number(row, 0), found[kJointZ].number(row, 0)};
    j.checked = !found[valid].present() || found[valid].number(0, 1) != 0;
    m.joints.push_back(j);
  };
  joint(0, kValidSt);
  joint(1, kValidEn);
  const Slot offsets[3] = {kIntOffset1, kIntOffset2, kIntOffset3};
  const Slot valids[3] = {kIntValid1, kIntValid2, kIntValid3};
  for (std::size_t k = 0; k < 3; ++k)
    if (std::fabs(found[offsets[k]].number(0, 0)) > 1e-5) joint(2 + k, valids[k]);
  return m;
}

std::string memberTimberType(const HostElement& element, const LibraryPart* part) {
  Found found;
  for (const StoredParameter& p : element.parameters)
    if (strncasecmp(p.record.name, "seasonType", sizeof p.record.name) == 0) {
      found.stored = &p;
      break;
    }
  if (!found.stored && part) found.fallback = part->parameter("seasonType");
  return found.text();
}

bool jointShown(JointSymbols symbols, const MemberJoint& joint) {
  return symbols == JointSymbols::All || (symbols == JointSymbols::Unchecked && !joint.checked);
}

Vec3 memberPoint(const HostElement& element, double level, const MemberMarks& marks, const Vec3& local) {
  const platform::PlacedPartRecord& placed = element.record.part;
  double angle = placed.angle;
  const bool mirrored = placed.mirrored != 0;
  if (mirrored) angle += kPi;
  // Rx(swivel), then Ry(incline), the mirror and Rz(angle), as the body's frame is turned.
  const double cs = std::cos(marks.swivel), ss = std::sin(marks.swivel);
  Vec3 p{local.x, local.y * cs - local.z * ss, local.y * ss + local.z * cs};
  const double ci = std::cos(marks.incline), si = std::sin(marks.incline);
  p = {p.x * ci + p.z * si, p.y, -p.x * si + p.z * ci};
  if (mirrored) p.x = -p.x;
  const double ca = std::cos(angle), sa = std::sin(angle);
  p = {p.x * ca - p.y * sa, p.x * sa + p.y * ca, p.z};
  return {placed.pos.x + p.x, placed.pos.y + p.y, level + p.z};
}

}  // namespace standin
