#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "prefs/align_prefs.h"
#include "prefs/frame_prefs.h"
#include "prefs/framing_template_prefs.h"
#include "prefs/joint_prefs.h"
#include "prefs/package_codes.h"
#include "prefs/profile_prefs.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "prefs_fixture.h"
#include "storage/object_store.h"

namespace {

using prefs_test::readText;
using prefs_test::written;
using platform::fourcc;

// One package of the product: how to make it, what it is called, whether it holds a list, and
// a change to every kind of field it has.
struct PackageCase {
  const char* tag;
  uint32_t code;
  bool holdsList;
  std::function<std::unique_ptr<lunvik::Package>()> make;
  std::function<void(lunvik::Package&)> change;
};

template <typename T>
T& as(lunvik::Package& package) {
  return dynamic_cast<T&>(package);
}

std::vector<PackageCase> packageCases() {
  using namespace varnholt;
  return {
      {"alignPrefs", fourcc("ALNP"), true, [] { return std::make_unique<AlignPrefs>(); },
       [](lunvik::Package& p) {
         as<AlignPrefs>(p).presets()[3].xOrigin = AlignPreset::Origin::equal;
         as<AlignPrefs>(p).presets().push_back(std::make_unique<AlignPreset>());
       }},
      {"framePrefs", fourcc("FPRF"), false, [] { return std::make_unique<FramePrefs>(); },
       [](lunvik::Package& p) {
         as<FramePrefs>(p).curveThick = 0.2;
         as<FramePrefs>(p).curveLayer = 3;
       }},
      {"frameTemplatePrefs", fourcc("FRTP"), true, [] { return std::make_unique<FramingTemplatePrefs>(); },
       [](lunvik::Package& p) { as<FramingTemplatePrefs>(p).templates().push_back(std::make_unique<FramingTemplate>()); }},
      {"jointPrefs", fourcc("JNTP"), true, [] { return std::make_unique<JointPrefs>(); },
       [](lunvik::Package& p) { as<JointPrefs>(p).add("Tenon2", "over 8 inch", 0.1, 2); }},
      {"profilePrefs", fourcc("PPRF"), false, [] { return std::make_unique<ProfilePrefs>(); },
       [](lunvik::Package& p) {
         as<ProfilePrefs>(p).profileType = ProfilePrefs::Type::lathe;
         as<ProfilePrefs>(p).profileName = "Knee";
         as<ProfilePrefs>(p).profileLength = 2;
       }},
      {"projectPrefs", fourcc("PRJP"), false, [] { return std::make_unique<ProjectPrefs>(); },
       [](lunvik::Package& p) {
         as<ProjectPrefs>(p).loadSteel = false;
         as<ProjectPrefs>(p).lengthInc = 0.5;
         as<ProjectPrefs>(p).numPadding = -1;
         as<ProjectPrefs>(p).personID = "RH";
       }},
      {"timberPrefs", fourcc("REPP"), true, [] { return std::make_unique<TimberPrefs>(); },
       [](lunvik::Package& p) { as<TimberPrefs>(p).add("Oak", 900).lengthCostingList.put(3, 4); }},
  };
}

class PackagesTest : public prefs_test::PrefsHost {};

TEST_F(PackagesTest, EachPackageHasItsCodeTagCopiesAndResetState) {
  for (const PackageCase& c : packageCases()) {
    SCOPED_TRACE(c.tag);
    auto package = c.make();
    EXPECT_EQ(package->code(), c.code);
    EXPECT_EQ(package->tagName().str(), c.tag);
    const std::string defaults = written(*package);

    c.change(*package);
    const std::string changed = written(*package);
    ASSERT_NE(changed, defaults);
    std::unique_ptr<lunvik::Package> copy(package->clone());
    EXPECT_EQ(copy->code(), c.code);
    EXPECT_EQ(written(*copy), changed);
    std::unique_ptr<lunvik::Package> listCopy(package->listCopy());
    EXPECT_EQ(listCopy != nullptr, c.holdsList);
    if (listCopy) {
      EXPECT_EQ(written(*listCopy), changed);
    }

    // A copy is independent of its original.
    package->clear();
    EXPECT_EQ(written(*package), defaults);
    EXPECT_EQ(written(*copy), changed);
    ASSERT_TRUE(readText(*package, changed));
    EXPECT_EQ(written(*package), changed);

    // Merging keeps a package's own values unless it merges lists.
    auto fresh = c.make();
    fresh->merge(*copy);
    EXPECT_EQ(written(*fresh) == changed, c.code == fourcc("JNTP") || c.code == fourcc("REPP"));
  }
}

TEST_F(PackagesTest, AStoreWritesThePackagesInCodeOrderAndReadsThemBack) {
  lunvik::ObjectStore store("lunvikPreferenceStore");
  for (const PackageCase& c : packageCases()) {
    auto package = c.make();
    c.change(*package);
    store.add(*package);
  }
  std::string text;
  ASSERT_TRUE(store.writeText(text));
  std::size_t last = 0;
  for (const PackageCase& c : packageCases()) {
    const std::size_t at = text.find(std::string("<") + c.tag + ">");
    ASSERT_NE(at, std::string::npos) << c.tag;
    EXPECT_GE(at, last) << c.tag;
    last = at;
  }

  lunvik::ObjectStore back("lunvikPreferenceStore");
  for (const PackageCase& c : packageCases()) back.add(*c.make());
  ASSERT_TRUE(back.read(text.data(), text.size()));
  std::string again;
  ASSERT_TRUE(back.writeText(again));
  EXPECT_EQ(again, text);
}

TEST_F(PackagesTest, PackagesAbsentFromTheTextComeBackInTheirResetState) {
  usePreferencesFolder();
  lunvik::ObjectStore store("lunvikPreferenceStore");
  for (const PackageCase& c : packageCases()) {
    auto package = c.make();
    c.change(*package);
    store.add(*package);
  }
  const std::string text = "<frameTemplatePrefs/>";
  ASSERT_TRUE(store.read(text.data(), text.size()));
  EXPECT_EQ(static_cast<varnholt::ProjectPrefs*>(store.get(varnholt::kProjectPrefsCode))->lengthInc, 0.25);
  EXPECT_EQ(static_cast<varnholt::AlignPrefs*>(store.get(varnholt::kAlignPrefsCode))->presets().size(), 11u);
  // The joint and timber lists are empty until the product completes them.
  EXPECT_TRUE(static_cast<varnholt::JointPrefs*>(store.get(varnholt::kJointPrefsCode))->joints().empty());
  auto* timbers = static_cast<varnholt::TimberPrefs*>(store.get(varnholt::kTimberPrefsCode));
  EXPECT_TRUE(timbers->specifications().empty());
  EXPECT_TRUE(timbers->complete());
  EXPECT_EQ(timbers->specifications().size(), 4u);
}

}  // namespace
