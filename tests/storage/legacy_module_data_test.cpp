#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "storage/legacy_module_data.h"
#include "storage/object_store.h"
#include "support/legacy_block.h"
#include "support/loaded_host.h"
#include "test_packages.h"

namespace {

using lunvik::ObjectStore;
using platform::fourcc;
using store_test::ListPackage;
using store_test::PlainPackage;

using testing_support::LegacyBlock;

class LegacyModuleDataTest : public testing_support::LoadedHost, public ::testing::WithParamInterface<bool> {
 protected:
  std::unique_ptr<ObjectStore> store() {
    auto s = std::make_unique<ObjectStore>("lunvikPreferenceStore");
    s->add(PlainPackage());
    s->add(ListPackage());
    return s;
  }
};

TEST_P(LegacyModuleDataTest, ImportsPlainAndListPackagesInEitherByteOrder) {
  LegacyBlock legacy(GetParam());
  legacy.add(fourcc("PLNP"), "WIDTH\tNAME\tOBSOLETE\t\r\n0.5\tOak & Ash\tx\t\r\n0.75\tElm\t\t\r\n");
  legacy.add(fourcc("ZZZZ"), "whatever");
  legacy.add(fourcc("LSTP"), "ITEMNAME\tITEMLENGTH\t\r\nTenon\t0.1\t\r\nScarf\t0.25\t\r\n");
  std::string bytes = legacy.bytes(123456);
  auto s = store();
  ASSERT_TRUE(s->read(bytes.data(), bytes.size()));
  EXPECT_EQ(s->timestamp(), 123456u);
  auto* plain = static_cast<PlainPackage*>(s->get(fourcc("PLNP")));
  // A later record overwrites an earlier one; fields without a translation are dropped.
  EXPECT_EQ(plain->width, 0.75);
  EXPECT_EQ(plain->name.str(), "Elm");
  EXPECT_EQ(plain->pieces, 0);
  auto& items = static_cast<ListPackage*>(s->get(fourcc("LSTP")))->items.items();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].name.str(), "Tenon");
  EXPECT_EQ(items[1].length, 0.25);
}

// A package's block that does not read fails the whole import and names its package: passing
// the package off in its reset state would let the next save lose what the project stored.
TEST_P(LegacyModuleDataTest, ABlockThatDoesNotReadStopsTheImportAndNamesItsPackage) {
  struct Case {
    const char* what;
    uint32_t code;
    std::string table;
    uint32_t version;
    const char* package;
  } cases[] = {
      {"unknown version", fourcc("PLNP"), "WIDTH\t\r\n0.5\t\r\n", 2, "plainPrefs"},
      {"record wider than the header", fourcc("LSTP"), "ITEMNAME\t\r\nTenon\t0.1\t\r\n", 1, "listPrefs"},
      {"value that is no number", fourcc("PLNP"), "WIDTH\t\r\nwide\t\r\n", 1, "plainPrefs"},
      {"infinite value", fourcc("LSTP"), "ITEMNAME\tITEMLENGTH\t\r\nTenon\tinf\t\r\n", 1, "listPrefs"},
  };
  for (const Case& c : cases) {
    LegacyBlock legacy(GetParam());
    if (c.code != fourcc("PLNP")) legacy.add(fourcc("PLNP"), "WIDTH\t\r\n0.5\t\r\n");
    legacy.add(c.code, c.table, c.version);
    std::string bytes = legacy.bytes(1);
    auto s = store();
    EXPECT_FALSE(s->read(bytes.data(), bytes.size())) << c.what;
    EXPECT_TRUE(s->unread()) << c.what;
    EXPECT_EQ(s->unreadPackage().str(), c.package) << c.what;
    EXPECT_EQ(s->count(), 0u) << c.what;
  }
}

TEST_P(LegacyModuleDataTest, LengthsPastTheBlockStopTheImport) {
  struct Case {
    const char* what;
    int lengthAdjust;
    int totalAdjust;
    std::size_t cut;  // bytes removed from the end
  } cases[] = {{"total shorter than the entries", 0, -5, 0},
               {"data cut short", 0, 0, 4},
               {"header only", 0, 0, 0}};
  for (const Case& c : cases) {
    LegacyBlock legacy(GetParam());
    legacy.add(fourcc("PLNP"), "WIDTH\t\r\n0.5\t\r\n", 1, c.lengthAdjust);
    std::string bytes = legacy.bytes(1, c.totalAdjust);
    if (std::string(c.what) == "header only") bytes.resize(12);
    bytes.resize(bytes.size() - c.cut);
    auto s = store();
    EXPECT_FALSE(s->read(bytes.data(), bytes.size())) << c.what;
    EXPECT_EQ(s->count(), 0u) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, LegacyModuleDataTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("BigEndian") : std::string("LittleEndian");
                         });

}  // namespace
