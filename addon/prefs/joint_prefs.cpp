#include "prefs/joint_prefs.h"

#include <set>
#include <string>
#include <utility>

#include "prefs/prefs_defaults.h"
#include "storage/xml_shipping_proxies.h"

namespace varnholt {

namespace {

const PrefsField kJointFields[] = {
    {"name", "JOINTID"},
    {"description", "JOINTDESC"},
    {"additionalLength", "ADDEDLENGTH"},
    {"additionalHours", "ADDEDHOURS"},
};
constexpr std::size_t kJointFieldCount = sizeof kJointFields / sizeof kJointFields[0];

// The file name is string 6 of the defaults list; the embedded document FILE 201.
constexpr int32_t kDefaultFileName = 6;
constexpr int32_t kDefaultDocument = 201;

}  // namespace

Joint::Joint(lunvik::CadString jointName, lunvik::CadString jointDescription, double length, double hours)
    : name(std::move(jointName)), description(std::move(jointDescription)), additionalLength(length),
      additionalHours(hours) {}

const lunvik::CadString& Joint::tag() {
  static const lunvik::CadString name("joint");
  return name;
}

std::size_t Joint::count() const { return kJointFieldCount; }

std::unique_ptr<lunvik::Shipping> Joint::child(std::size_t index) {
  if (index >= kJointFieldCount) return nullptr;
  const char* field = kJointFields[index].tag;
  switch (index) {
    case 0: return prefsUnit(&name, field);
    case 1: return prefsUnit(&description, field);
    case 2: return prefsUnit(&additionalLength, field);
    default: return prefsUnit(&additionalHours, field);
  }
}

void Joint::reset() {
  name.clear();
  description.clear();
  additionalLength = 0.0;
  additionalHours = 0.0;
}

Joint& JointPrefs::add(const lunvik::CadString& name, const lunvik::CadString& description,
                       double additionalLength, double additionalHours) {
  auto joint = std::make_unique<Joint>(name, description, additionalLength, additionalHours);
  Joint& added = *joint;
  joints().push_back(std::move(joint));
  return added;
}

bool JointPrefs::loadDefaults() {
  // Read into a package of its own, whose completion must not read the defaults again; the
  // list changes only when the defaults read whole.
  JointPrefs read;
  read.loadingDefaults_ = true;
  const DefaultsSource source = readDefaultDocument(read, kDefaultFileName, "Default Joints", kDefaultDocument);
  if (source == DefaultsSource::noFolder) return false;
  if (source == DefaultsSource::damaged || (source == DefaultsSource::userFile && read.joints().empty())) {
    reportUnreadableDefaults(kDefaultFileName, "Default Joints");
    return false;
  }
  joints() = std::move(read.joints());
  return true;
}

bool JointPrefs::writeDefaultFile() {
  std::unique_ptr<lunvik::DataFile> file = defaultFile();
  return file && writeDocument(*this, *file);
}

std::unique_ptr<lunvik::DataFile> JointPrefs::defaultFile() {
  return userDefaultFile(kDefaultFileName, "Default Joints");
}

const lunvik::CadString& JointPrefs::tag() {
  static const lunvik::CadString name("jointPrefs");
  return name;
}

lunvik::Package* JointPrefs::clone() const { return new JointPrefs(*this); }

std::size_t JointPrefs::count() const { return 4; }

std::unique_ptr<lunvik::Shipping> JointPrefs::child(std::size_t index) {
  return index == 0 ? lunvik::shippingProxy(jointList) : nullptr;
}

void JointPrefs::reset() { jointList.reset(); }

bool JointPrefs::complete() {
  if (!loadingDefaults_ && joints().empty()) loadDefaults();
  return true;
}

void JointPrefs::merge(const lunvik::Package& other) {
  const auto* incoming = dynamic_cast<const JointPrefs*>(&other);
  if (!incoming || incoming == this) return;
  std::set<std::string> names;
  for (const auto& joint : joints()) names.insert(joint->name.str());
  for (const auto& joint : incoming->joints()) {
    if (!names.insert(joint->name.str()).second) continue;
    joints().push_back(std::make_unique<Joint>(*joint));
  }
}

bool JointPrefs::translateLegacyKey(lunvik::CadString& key) const {
  if (key == tag()) {
    key = jointList.tagName();
    return true;
  }
  if (key == jointList.tagName()) {
    key = Joint::tag();
    return true;
  }
  return translateFieldKey(key, kJointFields, kJointFieldCount);
}

}  // namespace varnholt
