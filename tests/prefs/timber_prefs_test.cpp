#include "prefs/timber_prefs.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/resource_module.h"
#include "prefs/package_codes.h"
#include "prefs_fixture.h"
#include "runtime/environment.h"
#include "storage/object_store.h"
#include "support/legacy_block.h"

namespace {

using prefs_test::readText;
using prefs_test::written;
using varnholt::TimberPrefs;
using varnholt::TimberSpecification;

std::vector<std::pair<std::string, double>> specifications(const TimberPrefs& prefs) {
  std::vector<std::pair<std::string, double>> out;
  for (const auto& timber : prefs.specifications()) out.emplace_back(timber->name.str(), timber->baseCost);
  return out;
}

class TimberPrefsTest : public prefs_test::PrefsHost {};

TEST_F(TimberPrefsTest, EmbedsTheDefaultTimbersAndCompletesAnEmptyListWithThem) {
  TimberPrefs expected;
  expected.add("Softwood", 400);
  expected.add("Green", 500);
  expected.add("Seasoned", 2800);
  expected.add("Steady", 1300);
  auto document = lunvik::Environment::instance().resource(platform::kResourceFile, 202);
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(std::string(document->begin(), document->end()), written(expected, true));

  usePreferencesFolder();
  TimberPrefs prefs;
  ASSERT_TRUE(readText(prefs, "<timberPrefs/>"));
  EXPECT_EQ(specifications(prefs), specifications(expected));
  for (const auto& timber : prefs.specifications()) EXPECT_EQ(timber->lengthCostingList.count(), 0u);
}

TEST_F(TimberPrefsTest, TakesTheUsersDefaultFileWhenThereIsOne) {
  usePreferencesFolder();
  TimberPrefs mine;
  mine.add("Oak", 900).lengthCostingList.put(6, 1100);
  ASSERT_TRUE(mine.writeDefaultFile());
  TimberPrefs prefs;
  prefs.loadDefaults();
  ASSERT_EQ(specifications(prefs), specifications(mine));
  EXPECT_EQ(prefs.specifications()[0].lengthCostingList.entries().at(6.0), 1100);

  // A damaged file is no list, not even of what it holds before it breaks off, and the
  // embedded timbers do not stand in for it: the error alert says so.
  writeFile(TimberPrefs::defaultFile()->path(), "<timberPrefs><timberSpecList><timberSpecification><name>Ash</name>");
  host().clearRecords();
  TimberPrefs damaged;
  EXPECT_TRUE(damaged.complete());
  EXPECT_TRUE(damaged.specifications().empty());
  ASSERT_EQ(host().alerts().size(), 1u);
  EXPECT_EQ(host().alerts()[0].kind, platform::kAlertError);
  EXPECT_FALSE(prefs.loadDefaults());
  EXPECT_EQ(specifications(prefs), specifications(mine));  // left as it was
}

TEST_F(TimberPrefsTest, WritesLengthCostingsInAscendingLength) {
  const std::vector<std::vector<double>> orders = {{6, 2.5, 4}, {2.5, 4, 6}, {4, 6, 2.5}};
  const std::string expected =
      "<timberSpecification>\n\t<name>Oak</name>\n\t<baseCost>900</baseCost>\n\t<lengthCostingList>\n"
      "\t\t<lengthCosting>\n\t\t\t<keyLength>2.5</keyLength>\n\t\t\t<cost>25</cost>\n\t\t</lengthCosting>\n"
      "\t\t<lengthCosting>\n\t\t\t<keyLength>4</keyLength>\n\t\t\t<cost>40</cost>\n\t\t</lengthCosting>\n"
      "\t\t<lengthCosting>\n\t\t\t<keyLength>6</keyLength>\n\t\t\t<cost>60</cost>\n\t\t</lengthCosting>\n"
      "\t</lengthCostingList>\n</timberSpecification>\n";
  for (const auto& order : orders) {
    TimberSpecification timber("Oak", 900);
    for (double length : order) timber.lengthCostingList.put(length, length * 10);
    EXPECT_EQ(written(timber), expected);
  }
  // Read in any order, the costings come back sorted; a repeated length keeps the last cost.
  TimberSpecification back;
  ASSERT_TRUE(readText(back,
                       "<timberSpecification><name>Oak</name><baseCost>900</baseCost><lengthCostingList>"
                       "<lengthCosting><keyLength>6</keyLength><cost>1</cost></lengthCosting>"
                       "<lengthCosting><keyLength>2.5</keyLength><cost>25</cost></lengthCosting>"
                       "<lengthCosting><keyLength>4</keyLength><cost>40</cost></lengthCosting>"
                       "<lengthCosting><keyLength>6</keyLength><cost>60</cost></lengthCosting>"
                       "</lengthCostingList></timberSpecification>"));
  EXPECT_EQ(written(back), expected);
}

TEST_F(TimberPrefsTest, ASpecificationStartsAndResetsAsAnUntitledOneWithoutCosts) {
  TimberSpecification timber;
  EXPECT_EQ(written(timber),
            "<timberSpecification>\n\t<name>Untitled</name>\n\t<baseCost>0</baseCost>\n\t<lengthCostingList/>\n"
            "</timberSpecification>\n");
  timber.name = "Elm";
  timber.baseCost = 12;
  timber.lengthCostingList.put(3, 4);
  timber.clear();
  EXPECT_EQ(timber.name.str(), "Untitled");
  EXPECT_EQ(timber.baseCost, 0);
  EXPECT_EQ(timber.lengthCostingList.count(), 0u);
}

TEST_F(TimberPrefsTest, MergesSpecificationsOfNewNamesAtTheEnd) {
  TimberPrefs mine, incoming;
  mine.add("Softwood", 400);
  mine.add("Green", 500);
  incoming.add("Green", 999);
  incoming.add("Oak", 900).lengthCostingList.put(5, 7);
  incoming.add("Softwood", 1);
  mine.merge(incoming);
  EXPECT_EQ(specifications(mine),
            (std::vector<std::pair<std::string, double>>{{"Softwood", 400}, {"Green", 500}, {"Oak", 900}}));
  EXPECT_EQ(mine.specifications()[2].lengthCostingList.entries().at(5.0), 7);
}

TEST_F(TimberPrefsTest, ImportsALegacyTableAsItsList) {
  testing_support::LegacyBlock legacy(true);
  legacy.add(varnholt::kTimberPrefsCode, "TIMBER_NAME\tTIMBER_COST\t\r\nLarch\t450\t\r\nOak\t900\t\r\n");
  const std::string bytes = legacy.bytes(5);
  lunvik::ObjectStore store("lunvikPreferenceStore");
  store.add(TimberPrefs());
  ASSERT_TRUE(store.read(bytes.data(), bytes.size()));
  auto* prefs = static_cast<TimberPrefs*>(store.get(varnholt::kTimberPrefsCode));
  ASSERT_NE(prefs, nullptr);
  EXPECT_EQ(specifications(*prefs), (std::vector<std::pair<std::string, double>>{{"Larch", 450}, {"Oak", 900}}));
}

}  // namespace
