#include "prefs/project_prefs.h"

#include <gtest/gtest.h>

#include <string>

#include "prefs/package_codes.h"
#include "prefs_fixture.h"
#include "storage/object_store.h"
#include "support/legacy_block.h"

namespace {

using prefs_test::readText;
using prefs_test::written;
using varnholt::ProjectPrefs;

class ProjectPrefsTest : public prefs_test::PrefsHost {};

const char* const kDefaultText =
    "<projectPrefs>\n"
    "\t<headingState>false</headingState>\n"
    "\t<reportType>schedule</reportType>\n"
    "\t<projectNo></projectNo>\n"
    "\t<personID></personID>\n"
    "\t<labourCost>0</labourCost>\n"
    "\t<lengthInc>0.25</lengthInc>\n"
    "\t<sectionInc>0.025</sectionInc>\n"
    "\t<loadTimber>true</loadTimber>\n"
    "\t<loadSteel>true</loadSteel>\n"
    "\t<numPrefix></numPrefix>\n"
    "\t<numSuffix></numSuffix>\n"
    "\t<numPadding>0</numPadding>\n"
    "</projectPrefs>\n";

TEST_F(ProjectPrefsTest, WritesItsDefaultsInFieldOrder) {
  ProjectPrefs prefs;
  EXPECT_EQ(written(prefs), kDefaultText);
}

TEST_F(ProjectPrefsTest, ReadsBackEveryFieldAndResetsToTheDefaults) {
  ProjectPrefs prefs;
  prefs.headingState = true;
  prefs.reportType = ProjectPrefs::Report::cutlist;
  prefs.projectNo = "P-17 <barn>";
  prefs.personID = "J&K";
  prefs.labourCost = 32.5;
  prefs.lengthInc = 0.3;
  prefs.sectionInc = 0.01;
  prefs.loadTimber = false;
  prefs.loadSteel = false;
  prefs.numPrefix = "T";
  prefs.numSuffix = "-a";
  prefs.numPadding = 3;
  const std::string text = written(prefs);

  ProjectPrefs back;
  ASSERT_TRUE(readText(back, text));
  EXPECT_EQ(written(back), text);
  EXPECT_EQ(back.reportType, ProjectPrefs::Report::cutlist);
  EXPECT_EQ(back.projectNo.str(), "P-17 <barn>");

  back.clear();
  EXPECT_EQ(written(back), kDefaultText);
  // A package element that leaves fields out gives them their defaults.
  ASSERT_TRUE(readText(prefs, "<projectPrefs><numPadding>2</numPadding></projectPrefs>"));
  EXPECT_EQ(prefs.numPadding, 2);
  EXPECT_EQ(prefs.lengthInc, 0.25);
  EXPECT_TRUE(prefs.loadTimber);
  EXPECT_TRUE(prefs.projectNo.empty());
}

TEST_F(ProjectPrefsTest, ReadsTheReportTypeFromItsWordsOrANumber) {
  struct Case {
    const char* text;
    ProjectPrefs::Report expected;
  } cases[] = {{"schedule", ProjectPrefs::Report::schedule},
               {"cutlist", ProjectPrefs::Report::cutlist},
               {"1", ProjectPrefs::Report::cutlist},
               {"2", ProjectPrefs::Report::schedule},
               {"lathe", ProjectPrefs::Report::schedule}};
  for (const Case& c : cases) {
    ProjectPrefs prefs;
    prefs.reportType = ProjectPrefs::Report::cutlist;
    ASSERT_TRUE(readText(prefs, std::string("<projectPrefs><reportType>") + c.text + "</reportType></projectPrefs>"))
        << c.text;
    EXPECT_EQ(prefs.reportType, c.expected) << c.text;
  }
  ProjectPrefs prefs;
  prefs.reportType = static_cast<ProjectPrefs::Report>(5);
  EXPECT_NE(written(prefs).find("<reportType>cutlist</reportType>"), std::string::npos);
  EXPECT_EQ(prefs.reportType, ProjectPrefs::Report::cutlist);
}

TEST_F(ProjectPrefsTest, ImportsALegacyTable) {
  testing_support::LegacyBlock legacy(false);
  legacy.add(varnholt::kProjectPrefsCode,
             "HEADING_STATE\tREPORT_TYPE\tPROJECTNO\tPERSONID\tLABOURCOST\tLENGTHINC\tSECTIONINC\tLOADTIMBER\t"
             "LOADSTEEL\tNUM_PREFIX\tNUM_SUFFIX\tNUM_PADDING\tOBSOLETE\t\r\n"
             "1\t1\tBarn & Byre\tRH\t28.5\t0.3\t0.02\t0\t1\tT\tX\t4\tjunk\t\r\n");
  const std::string bytes = legacy.bytes(99);
  lunvik::ObjectStore store("lunvikPreferenceStore");
  store.add(ProjectPrefs());
  ASSERT_TRUE(store.read(bytes.data(), bytes.size()));
  auto* prefs = static_cast<ProjectPrefs*>(store.get(varnholt::kProjectPrefsCode));
  ASSERT_NE(prefs, nullptr);
  EXPECT_TRUE(prefs->headingState);
  EXPECT_EQ(prefs->reportType, ProjectPrefs::Report::cutlist);
  EXPECT_EQ(prefs->projectNo.str(), "Barn & Byre");
  EXPECT_EQ(prefs->personID.str(), "RH");
  EXPECT_EQ(prefs->labourCost, 28.5);
  EXPECT_EQ(prefs->lengthInc, 0.3);
  EXPECT_EQ(prefs->sectionInc, 0.02);
  EXPECT_FALSE(prefs->loadTimber);
  EXPECT_TRUE(prefs->loadSteel);
  EXPECT_EQ(prefs->numPrefix.str(), "T");
  EXPECT_EQ(prefs->numSuffix.str(), "X");
  EXPECT_EQ(prefs->numPadding, 4);
}

TEST_F(ProjectPrefsTest, TranslatesOnlyItsLegacyKeys) {
  struct Case {
    const char* key;
    const char* translated;  // null: no translation
  } cases[] = {{"HEADING_STATE", "headingState"}, {"NUM_PADDING", "numPadding"}, {"PROJECTNO", "projectNo"},
               {"projectPrefs", nullptr},         {"projectNo", nullptr},         {"JOINTID", nullptr}};
  const ProjectPrefs prefs;
  for (const Case& c : cases) {
    lunvik::CadString key(c.key);
    EXPECT_EQ(prefs.translateLegacyKey(key), c.translated != nullptr) << c.key;
    if (c.translated) {
      EXPECT_EQ(key.str(), c.translated);
    }
  }
}

}  // namespace
