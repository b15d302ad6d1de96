#include "prefs/framing_template_prefs.h"

#include "prefs/prefs_defaults.h"
#include "storage/xml_shipping_proxies.h"

namespace varnholt {

namespace {

const PrefsField kFields[] = {
    {"label", "LABEL"},           {"name", "NAME"},           {"startJoint", "START_JOINT"},
    {"endJoint", "END_JOINT"},    {"type", "TYPE"},           {"width", "WIDTH"},
    {"depth", "DEPTH"},           {"length", "LENGTH"},       {"fillPen", "FILL_PEN"},
    {"edgePen", "EDGE_PEN"},      {"startState", "START_STATE"}, {"endState", "END_STATE"},
    {"useName", "USE_NAME"},      {"useStart", "USE_START"},  {"useEnd", "USE_END"},
    {"useType", "USE_TYPE"},      {"useWidth", "USE_WIDTH"},  {"useDepth", "USE_DEPTH"},
    {"useLength", "USE_LENGTH"},  {"useFill", "USE_FILL"},    {"useEdge", "USE_EDGE"},
    {"midJoint1", nullptr},       {"midJoint2", nullptr},     {"midJoint3", nullptr},
    {"mid1State", nullptr},       {"mid2State", nullptr},     {"mid3State", nullptr},
    {"useMid1", nullptr},         {"useMid2", nullptr},       {"useMid3", nullptr},
    {"midOffset1", nullptr},      {"midOffset2", nullptr},    {"midOffset3", nullptr},
};
constexpr std::size_t kFieldCount = sizeof kFields / sizeof kFields[0];

}  // namespace

FramingTemplate::FramingTemplate() : label(defaultText(kPrefsDefaultStrings, 18, "Untitled")) {}

const lunvik::CadString& FramingTemplate::tag() {
  static const lunvik::CadString tagName("frameTemplate");
  return tagName;
}

bool FramingTemplate::translateKey(lunvik::CadString& key) {
  return translateFieldKey(key, kFields, kFieldCount);
}

std::size_t FramingTemplate::count() const { return kFieldCount; }

std::unique_ptr<lunvik::Shipping> FramingTemplate::child(std::size_t index) {
  if (index >= kFieldCount) return nullptr;
  const char* field = kFields[index].tag;
  switch (index) {
    case 0: return prefsUnit(&label, field);
    case 1: return prefsUnit(&name, field);
    case 2: return prefsUnit(&startJoint, field);
    case 3: return prefsUnit(&endJoint, field);
    case 4: return prefsUnit(&type, field);
    case 5: return prefsUnit(&width, field);
    case 6: return prefsUnit(&depth, field);
    case 7: return prefsUnit(&length, field);
    case 8: return prefsUnit(&fillPen, field);
    case 9: return prefsUnit(&edgePen, field);
    case 10: return prefsUnit(&startState, field);
    case 11: return prefsUnit(&endState, field);
    case 12: return prefsUnit(&useName, field);
    case 13: return prefsUnit(&useStart, field);
    case 14: return prefsUnit(&useEnd, field);
    case 15: return prefsUnit(&useType, field);
    case 16: return prefsUnit(&useWidth, field);
    case 17: return prefsUnit(&useDepth, field);
    case 18: return prefsUnit(&useLength, field);
    case 19: return prefsUnit(&useFill, field);
    case 20: return prefsUnit(&useEdge, field);
    case 21: return prefsUnit(&midJoint1, field);
    case 22: return prefsUnit(&midJoint2, field);
    case 23: return prefsUnit(&midJoint3, field);
    case 24: return prefsUnit(&mid1State, field);
    case 25: return prefsUnit(&mid2State, field);
    case 26: return prefsUnit(&mid3State, field);
    case 27: return prefsUnit(&useMid1, field);
    case 28: return prefsUnit(&useMid2, field);
    case 29: return prefsUnit(&useMid3, field);
    case 30: return prefsUnit(&midOffset1, field);
    case 31: return prefsUnit(&midOffset2, field);
    default: return prefsUnit(&midOffset3, field);
  }
}

void FramingTemplate::reset() {
  // Every field but the edge pen resets to its empty state.
  ShippingContainer::reset();
  edgePen = 1;
}

const lunvik::CadString& FramingTemplatePrefs::tag() {
  static const lunvik::CadString name("frameTemplatePrefs");
  return name;
}

lunvik::Package* FramingTemplatePrefs::clone() const { return new FramingTemplatePrefs(*this); }

std::size_t FramingTemplatePrefs::count() const { return 1; }

std::unique_ptr<lunvik::Shipping> FramingTemplatePrefs::child(std::size_t index) {
  return index == 0 ? lunvik::shippingProxy(frameTemplateList) : nullptr;
}

void FramingTemplatePrefs::reset() { frameTemplateList.reset(); }

bool FramingTemplatePrefs::translateLegacyKey(lunvik::CadString& key) const {
  if (key == tag()) {
    key = frameTemplateList.tagName();
    return true;
  }
  if (key == frameTemplateList.tagName()) {
    key = FramingTemplate::tag();
    return true;
  }
  return FramingTemplate::translateKey(key);
}

}  // namespace varnholt
