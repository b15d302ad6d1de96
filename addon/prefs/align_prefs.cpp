#include "prefs/align_prefs.h"

#include <utility>

#include "prefs/prefs_defaults.h"
#include "storage/xml_shipping_proxies.h"

namespace varnholt {

namespace {

const char* const kPresetFields[] = {"name", "xType", "xOrigin", "yType", "yOrigin", "zType", "zOrigin"};
constexpr std::size_t kPresetFieldCount = sizeof kPresetFields / sizeof kPresetFields[0];

// The factory presets: the name's string index in list 32527, the name used when that string
// is missing, and the values along X, Y and Z.
struct FactoryPreset {
  int32_t nameIndex;
  const char* name;
  int x, xFrom, y, yFrom, z, zFrom;
};
const FactoryPreset kFactoryPresets[AlignPrefs::kFactoryPresetCount] = {
    {17, "Default", 0, 0, 0, 0, 0, 0},
    {18, "Align Left", 1, 0, 0, 0, 0, 0},
    {19, "Align Centre (X)", 1, 1, 0, 0, 0, 0},
    {20, "Align Right", 1, 2, 0, 0, 0, 0},
    {21, "Align Front", 0, 0, 1, 0, 0, 0},
    {22, "Align Centre (Y)", 0, 0, 1, 1, 0, 0},
    {23, "Align Back", 0, 0, 1, 2, 0, 0},
    {24, "Align Bottom", 0, 0, 0, 0, 1, 0},
    {25, "Align Centre (Z)", 0, 0, 0, 0, 1, 1},
    {26, "Align Top", 0, 0, 0, 0, 1, 2},
    {27, "Tabulate", 1, 0, 2, 3, 1, 0},
};

}  // namespace

AlignPreset::AlignPreset(lunvik::CadString presetName, Type x, Origin xFrom, Type y, Origin yFrom, Type z,
                         Origin zFrom)
    : name(std::move(presetName)), xType(x), xOrigin(xFrom), yType(y), yOrigin(yFrom), zType(z), zOrigin(zFrom) {}

const lunvik::CadString& AlignPreset::tag() {
  static const lunvik::CadString tagName("alignPreset");
  return tagName;
}

std::size_t AlignPreset::count() const { return kPresetFieldCount; }

std::unique_ptr<lunvik::Shipping> AlignPreset::child(std::size_t index) {
  if (index >= kPresetFieldCount) return nullptr;
  const char* field = kPresetFields[index];
  switch (index) {
    case 0: return prefsUnit(&name, field);
    case 1: return prefsUnit(&xType, field);
    case 2: return prefsUnit(&xOrigin, field);
    case 3: return prefsUnit(&yType, field);
    case 4: return prefsUnit(&yOrigin, field);
    case 5: return prefsUnit(&zType, field);
    default: return prefsUnit(&zOrigin, field);
  }
}

void AlignPreset::reset() {
  name.clear();
  xType = yType = zType = Type::ignore;
  xOrigin = yOrigin = zOrigin = Origin::begin;
}

AlignPrefs::AlignPrefs() { reset(); }

const lunvik::CadString& AlignPrefs::tag() {
  static const lunvik::CadString name("alignPrefs");
  return name;
}

lunvik::Package* AlignPrefs::clone() const { return new AlignPrefs(*this); }

std::size_t AlignPrefs::count() const { return 1; }

std::unique_ptr<lunvik::Shipping> AlignPrefs::child(std::size_t index) {
  return index == 0 ? lunvik::shippingProxy(presetList) : nullptr;
}

void AlignPrefs::reset() {
  presetList.reset();
  presets().reserve(kFactoryPresetCount);
  for (const FactoryPreset& p : kFactoryPresets) {
    presets().push_back(std::make_unique<AlignPreset>(
        defaultText(kAlignPresetStrings, p.nameIndex, p.name), AlignPreset::Type(p.x), AlignPreset::Origin(p.xFrom),
        AlignPreset::Type(p.y), AlignPreset::Origin(p.yFrom), AlignPreset::Type(p.z), AlignPreset::Origin(p.zFrom)));
  }
}

bool AlignPrefs::complete() {
  if (presets().size() < kFactoryPresetCount) reset();
  return true;
}

bool AlignPrefs::translateLegacyKey(lunvik::CadString& key) const {
  if (key == tag()) {
    key = presetList.tagName();
    return true;
  }
  if (key == presetList.tagName()) {
    key = AlignPreset::tag();
    return true;
  }
  return false;
}

}  // namespace varnholt
