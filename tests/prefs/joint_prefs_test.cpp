#include "prefs/joint_prefs.h"

#include <gtest/gtest.h>

#include <string>
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
using varnholt::Joint;
using varnholt::JointPrefs;

struct JointRow {
  const char* name;
  const char* description;
  double length;
  double hours;
};

// The joints the add-on carries as its defaults.
const JointRow kDefaultJoints[] = {
    {"Tenon1.5", "perpendicular up to 8 inch", 0.1, 1.5},
    {"Tenon2", "perpendicular over 8 inch", 0.1, 2},
    {"RaftFootTenon", "Principal Rafter mortise amp tenon", 0.12, 2},
    {"RaftBridle", "Principal Rafter bridle", 0, 1.2},
    {"Shaping 1", "e.g.simple taper", 0, 1},
    {"Shaping 2", "jowl, camber, large brace", 0, 2},
    {"Shaping 3", "complex shaping", 0, 3},
    {"Purl Splay", "purlin splay per end", 0.3, 1},
    {"PurlRaft Cog", "housed cog mid on rafter", 0, 1.5},
    {"ScarfEHBrdl6", "4,8,4", 0.25, 6},
    {"ScarfSqtBrdl4", "7 bridle", 0.2, 2.5},
    {"End cut.25", "Purlin, plate, tie etc", 0, 0.25},
    {"TieCog", "Tie beam to top plate", 0, 1.25},
    {"ChamferLarge", "Chamfer above 1inch", 0, 0.75},
    {"Rebate", "Glazing rebate for 2m post", 0, 0.3},
    {"BalusHousing", "small machine housing", 0.05, 0.15},
    {"King Post", "shaping King Post", 0, 3.5},
};

std::vector<std::string> names(const JointPrefs& prefs) {
  std::vector<std::string> out;
  for (const auto& joint : prefs.joints()) out.push_back(joint->name.str());
  return out;
}

class JointPrefsTest : public prefs_test::PrefsHost {};

TEST_F(JointPrefsTest, EmbedsTheDefaultJointsAsTheWriterWritesThem) {
  JointPrefs expected;
  for (const JointRow& row : kDefaultJoints) expected.add(row.name, row.description, row.length, row.hours);
  auto document = lunvik::Environment::instance().resource(platform::kResourceFile, 201);
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(std::string(document->begin(), document->end()), written(expected, true));
}

TEST_F(JointPrefsTest, HasOneListAmongFourChildren) {
  JointPrefs prefs;
  EXPECT_EQ(prefs.count(), 4u);
  EXPECT_NE(prefs.child(0), nullptr);
  for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(prefs.child(i), nullptr) << i;
  prefs.add("Tenon2", "", 0.1, 2);
  EXPECT_EQ(written(prefs),
            "<jointPrefs>\n\t<jointList>\n\t\t<joint>\n\t\t\t<name>Tenon2</name>\n\t\t\t<description></description>\n"
            "\t\t\t<additionalLength>0.1</additionalLength>\n\t\t\t<additionalHours>2</additionalHours>\n"
            "\t\t</joint>\n\t</jointList>\n</jointPrefs>\n");
  prefs.clear();
  EXPECT_TRUE(prefs.joints().empty());
}

TEST_F(JointPrefsTest, CompletesAnEmptyListFromTheEmbeddedJoints) {
  usePreferencesFolder();
  JointPrefs prefs;
  ASSERT_TRUE(readText(prefs, "<jointPrefs><jointList/></jointPrefs>"));
  ASSERT_EQ(prefs.joints().size(), 17u);
  for (std::size_t i = 0; i < 17; ++i) {
    const Joint& joint = prefs.joints()[i];
    EXPECT_EQ(joint.name.str(), kDefaultJoints[i].name);
    EXPECT_EQ(joint.description.str(), kDefaultJoints[i].description);
    EXPECT_EQ(joint.additionalLength, kDefaultJoints[i].length);
    EXPECT_EQ(joint.additionalHours, kDefaultJoints[i].hours);
  }
  // A list that was read stays as it is.
  ASSERT_TRUE(readText(prefs, "<jointPrefs><jointList><joint><name>Only</name></joint></jointList></jointPrefs>"));
  EXPECT_EQ(names(prefs), std::vector<std::string>{"Only"});
}

TEST_F(JointPrefsTest, LeavesTheListEmptyWithoutAPreferencesFolder) {
  host().setApplicationDataFolder("");
  JointPrefs prefs;
  EXPECT_TRUE(prefs.complete());
  EXPECT_TRUE(prefs.joints().empty());
  EXPECT_EQ(JointPrefs::defaultFile(), nullptr);
  EXPECT_FALSE(prefs.writeDefaultFile());
}

TEST_F(JointPrefsTest, TakesTheUsersDefaultFileWhenThereIsOne) {
  const std::string folder = usePreferencesFolder();
  JointPrefs mine;
  mine.add("Dovetail", "lap", 0.05, 0.5);
  mine.add("Peg", "", 0, 0.1);
  ASSERT_TRUE(mine.writeDefaultFile());

  auto file = JointPrefs::defaultFile();
  ASSERT_NE(file, nullptr);
  std::string text;
  ASSERT_TRUE(file->readAll(text));
  EXPECT_EQ(text, written(mine, true));
  uint32_t type = 0, creator = 0;
  ASSERT_TRUE(host().files().type(folder + "/Default Joints.xml", type, creator));
  EXPECT_EQ(type, platform::fourcc("    "));
  EXPECT_EQ(creator, platform::fourcc(" XML"));

  JointPrefs prefs;
  EXPECT_TRUE(prefs.complete());
  EXPECT_EQ(names(prefs), (std::vector<std::string>{"Dovetail", "Peg"}));
  EXPECT_EQ(prefs.joints()[0].additionalLength, 0.05);
}

TEST_F(JointPrefsTest, ADefaultFileThatDoesNotReadIsAnErrorAndNoList) {
  struct Case {
    const char* what;
    const char* text;
  } cases[] = {
      {"cut short after one joint",
       "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n<jointPrefs>\n\t<jointList>\n\t\t<joint>\n"
       "\t\t\t<name>Halved</name>\n\t\t</joint>\n\t\t<joi"},
      {"an empty list", "<jointPrefs><jointList/></jointPrefs>"},
      {"not a joint document", "<timberPrefs/>"},
      {"empty", ""},
  };
  usePreferencesFolder();
  auto file = JointPrefs::defaultFile();
  ASSERT_NE(file, nullptr);
  for (const Case& c : cases) {
    writeFile(file->path(), c.text);
    host().clearRecords();
    // The file stays the only source: the embedded joints do not stand in for it.
    JointPrefs prefs;
    EXPECT_TRUE(prefs.complete()) << c.what;
    EXPECT_TRUE(prefs.joints().empty()) << c.what;
    // A list that has joints keeps them.
    prefs.add("Kept", "", 0, 0);
    EXPECT_FALSE(prefs.loadDefaults()) << c.what;
    EXPECT_EQ(names(prefs), std::vector<std::string>{"Kept"}) << c.what;
    ASSERT_EQ(host().alerts().size(), 2u) << c.what;
    for (const auto& alert : host().alerts()) {
      EXPECT_EQ(alert.kind, platform::kAlertError) << c.what;
      EXPECT_EQ(alert.text.rfind("The default list in the preferences folder is empty or could not be read", 0), 0u)
          << c.what;
    }
  }
}

TEST_F(JointPrefsTest, MergesJointsOfNewNamesAtTheEnd) {
  struct Case {
    std::vector<std::string> mine, incoming, expected;
  } cases[] = {
      {{"Tenon1.5", "Tenon2"}, {"Tenon2", "Scarf"}, {"Tenon1.5", "Tenon2", "Scarf"}},
      {{"Tenon2"}, {"Peg", "Tenon2", "Lap", "Peg"}, {"Tenon2", "Peg", "Lap"}},
      {{}, {"A", "B"}, {"A", "B"}},
      {{"A"}, {}, {"A"}},
  };
  for (const Case& c : cases) {
    JointPrefs mine, incoming;
    for (const auto& name : c.mine) mine.add(name, "mine", 1, 1);
    for (const auto& name : c.incoming) incoming.add(name, "theirs", 2, 2);
    mine.merge(incoming);
    EXPECT_EQ(names(mine), c.expected);
    // Joints already there keep their values; new ones are copies.
    for (const auto& joint : mine.joints()) {
      bool wasMine = false;
      for (const auto& name : c.mine) wasMine = wasMine || name == joint->name.str();
      EXPECT_EQ(joint->description.str(), wasMine ? "mine" : "theirs");
    }
  }
  JointPrefs mine, incoming;
  incoming.add("New", "", 0, 0);
  mine.merge(incoming);
  incoming.joints()[0].name = "Changed";
  EXPECT_EQ(mine.joints()[0].name.str(), "New");
}

TEST_F(JointPrefsTest, ImportsALegacyTableAsItsList) {
  for (bool bigEndian : {false, true}) {
    testing_support::LegacyBlock legacy(bigEndian);
    legacy.add(varnholt::kJointPrefsCode,
               "JOINTID\tJOINTDESC\tADDEDLENGTH\tADDEDHOURS\tCOLOUR\t\r\n"
               "Tenon\tmortise & tenon\t0.1\t1.5\tred\t\r\n"
               "Scarf\t<long>\t0.25\t6\tblue\t\r\n");
    const std::string bytes = legacy.bytes(5);
    lunvik::ObjectStore store("lunvikPreferenceStore");
    store.add(JointPrefs());
    ASSERT_TRUE(store.read(bytes.data(), bytes.size()));
    auto* prefs = static_cast<JointPrefs*>(store.get(varnholt::kJointPrefsCode));
    ASSERT_NE(prefs, nullptr);
    ASSERT_EQ(names(*prefs), (std::vector<std::string>{"Tenon", "Scarf"}));
    EXPECT_EQ(prefs->joints()[0].description.str(), "mortise & tenon");
    EXPECT_EQ(prefs->joints()[1].description.str(), "<long>");
    EXPECT_EQ(prefs->joints()[1].additionalLength, 0.25);
    EXPECT_EQ(prefs->joints()[1].additionalHours, 6);
  }
}

TEST_F(JointPrefsTest, TranslatesItsTagsDownToTheJointsAndTheirKeys) {
  struct Case {
    const char* key;
    const char* translated;  // null: no translation
  } cases[] = {{"jointPrefs", "jointList"},        {"jointList", "joint"},
               {"JOINTID", "name"},                {"JOINTDESC", "description"},
               {"ADDEDLENGTH", "additionalLength"}, {"ADDEDHOURS", "additionalHours"},
               {"joint", nullptr},                 {"TIMBER_NAME", nullptr}};
  const JointPrefs prefs;
  for (const Case& c : cases) {
    lunvik::CadString key(c.key);
    EXPECT_EQ(prefs.translateLegacyKey(key), c.translated != nullptr) << c.key;
    if (c.translated) {
      EXPECT_EQ(key.str(), c.translated);
    }
  }
}

}  // namespace
