#include "prefs/timber_prefs.h"

#include <set>
#include <string>
#include <utility>

#include "prefs/prefs_defaults.h"
#include "storage/xml_shipping_proxies.h"

namespace varnholt {

namespace {

const PrefsField kSpecificationFields[] = {
    {"name", "TIMBER_NAME"},
    {"baseCost", "TIMBER_COST"},
    {"lengthCostingList", nullptr},
};
constexpr std::size_t kSpecificationFieldCount = sizeof kSpecificationFields / sizeof kSpecificationFields[0];

// The file name is string 10 of the defaults list; the embedded document FILE 202.
constexpr int32_t kDefaultFileName = 10;
constexpr int32_t kDefaultDocument = 202;

lunvik::CadString defaultSpecificationName() { return defaultText(kPrefsDefaultStrings, 9, "Untitled"); }

}  // namespace

TimberSpecification::TimberSpecification() : name(defaultSpecificationName()) {}

TimberSpecification::TimberSpecification(lunvik::CadString gradeName, double cost)
    : name(std::move(gradeName)), baseCost(cost) {}

const lunvik::CadString& TimberSpecification::tag() {
  static const lunvik::CadString name("timberSpecification");
  return name;
}

std::size_t TimberSpecification::count() const { return kSpecificationFieldCount; }

std::unique_ptr<lunvik::Shipping> TimberSpecification::child(std::size_t index) {
  switch (index) {
    case 0: return prefsUnit(&name, kSpecificationFields[0].tag);
    case 1: return prefsUnit(&baseCost, kSpecificationFields[1].tag);
    case 2: return lunvik::shippingProxy(lengthCostingList);
    default: return nullptr;
  }
}

void TimberSpecification::reset() {
  name = defaultSpecificationName();
  baseCost = 0.0;
  lengthCostingList.clearEntries();
}

TimberSpecification& TimberPrefs::add(const lunvik::CadString& name, double baseCost) {
  auto specification = std::make_unique<TimberSpecification>(name, baseCost);
  TimberSpecification& added = *specification;
  specifications().push_back(std::move(specification));
  return added;
}

bool TimberPrefs::loadDefaults() {
  // Read into a package of its own, whose completion must not read the defaults again; the
  // list changes only when the defaults read whole.
  TimberPrefs read;
  read.loadingDefaults_ = true;
  const DefaultsSource source = readDefaultDocument(read, kDefaultFileName, "Default Timbers", kDefaultDocument);
  if (source == DefaultsSource::noFolder) return false;
  if (source == DefaultsSource::damaged || (source == DefaultsSource::userFile && read.specifications().empty())) {
    reportUnreadableDefaults(kDefaultFileName, "Default Timbers");
    return false;
  }
  specifications() = std::move(read.specifications());
  return true;
}

bool TimberPrefs::writeDefaultFile() {
  std::unique_ptr<lunvik::DataFile> file = defaultFile();
  return file && writeDocument(*this, *file);
}

std::unique_ptr<lunvik::DataFile> TimberPrefs::defaultFile() {
  return userDefaultFile(kDefaultFileName, "Default Timbers");
}

const lunvik::CadString& TimberPrefs::tag() {
  static const lunvik::CadString name("timberPrefs");
  return name;
}

lunvik::Package* TimberPrefs::clone() const { return new TimberPrefs(*this); }

std::size_t TimberPrefs::count() const { return 1; }

std::unique_ptr<lunvik::Shipping> TimberPrefs::child(std::size_t index) {
  return index == 0 ? lunvik::shippingProxy(timberSpecList) : nullptr;
}

void TimberPrefs::reset() { timberSpecList.reset(); }

bool TimberPrefs::complete() {
  if (!loadingDefaults_ && specifications().empty()) loadDefaults();
  return true;
}

void TimberPrefs::merge(const lunvik::Package& other) {
  const auto* incoming = dynamic_cast<const TimberPrefs*>(&other);
  if (!incoming || incoming == this) return;
  std::set<std::string> names;
  for (const auto& specification : specifications()) names.insert(specification->name.str());
  for (const auto& specification : incoming->specifications()) {
    if (!names.insert(specification->name.str()).second) continue;
    specifications().push_back(std::make_unique<TimberSpecification>(*specification));
  }
}

bool TimberPrefs::translateLegacyKey(lunvik::CadString& key) const {
  if (key == tag()) {
    key = timberSpecList.tagName();
    return true;
  }
  if (key == timberSpecList.tagName()) {
    key = TimberSpecification::tag();
    return true;
  }
  return translateFieldKey(key, kSpecificationFields, kSpecificationFieldCount);
}

}  // namespace varnholt
