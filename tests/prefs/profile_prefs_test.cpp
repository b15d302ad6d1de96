#include "prefs/profile_prefs.h"

#include <gtest/gtest.h>

#include <string>

#include "prefs_fixture.h"

namespace {

using prefs_test::readText;
using prefs_test::written;
using varnholt::ProfilePrefs;

class ProfilePrefsTest : public prefs_test::PrefsHost {};

TEST_F(ProfilePrefsTest, WritesItsDefaults) {
  ProfilePrefs prefs;
  EXPECT_EQ(written(prefs),
            "<profilePrefs>\n\t<profileThick>0.075</profileThick>\n\t<profileLength>1</profileLength>\n"
            "\t<profileSweep>6.28319</profileSweep>\n\t<profileName>Untitled</profileName>\n"
            "\t<profileLibrary>Untitled</profileLibrary>\n\t<profilePath></profilePath>\n"
            "\t<profileType>section</profileType>\n</profilePrefs>\n");
  EXPECT_EQ(prefs.profileSweep, 6.283185307179586);
}

TEST_F(ProfilePrefsTest, ReadsTheTypeFromAWordOrANumberElseSection) {
  struct Case {
    const char* text;
    ProfilePrefs::Type expected;
  } cases[] = {{"elevation", ProfilePrefs::Type::elevation}, {"section", ProfilePrefs::Type::section},
               {"lathe", ProfilePrefs::Type::lathe},         {"0", ProfilePrefs::Type::elevation},
               {"2", ProfilePrefs::Type::lathe},             {"3", ProfilePrefs::Type::section},
               {"-1", ProfilePrefs::Type::section},          {"turned", ProfilePrefs::Type::section},
               {"", ProfilePrefs::Type::section}};
  for (const Case& c : cases) {
    ProfilePrefs prefs;
    prefs.profileType = ProfilePrefs::Type::elevation;
    ASSERT_TRUE(readText(prefs, std::string("<profilePrefs><profileType>") + c.text + "</profileType></profilePrefs>"))
        << c.text;
    EXPECT_EQ(prefs.profileType, c.expected) << c.text;
  }
}

TEST_F(ProfilePrefsTest, WritesAStoredTypeOutOfRangeAsTheNearestWordAndKeepsIt) {
  struct Case {
    int stored;
    const char* word;
    ProfilePrefs::Type kept;
  } cases[] = {{7, "lathe", ProfilePrefs::Type::lathe}, {-3, "elevation", ProfilePrefs::Type::elevation}};
  for (const Case& c : cases) {
    ProfilePrefs prefs;
    prefs.profileType = static_cast<ProfilePrefs::Type>(c.stored);
    EXPECT_NE(written(prefs).find(std::string("<profileType>") + c.word + "</profileType>"), std::string::npos);
    EXPECT_EQ(prefs.profileType, c.kept) << c.stored;
  }
}

TEST_F(ProfilePrefsTest, ResetsToItsDefaultsAndHasNoLegacyKeys) {
  ProfilePrefs prefs;
  const std::string defaults = written(prefs);
  prefs.profileThick = 0.2;
  prefs.profileLength = 3;
  prefs.profileSweep = 1;
  prefs.profileName = "Knee";
  prefs.profileLibrary = "Braces";
  prefs.profilePath = "C:\\parts";
  prefs.profileType = ProfilePrefs::Type::lathe;
  prefs.clear();
  EXPECT_EQ(written(prefs), defaults);
  for (const char* key : {"profilePrefs", "PROFILE_THICK", "profileThick"}) {
    lunvik::CadString name(key);
    EXPECT_FALSE(prefs.translateLegacyKey(name)) << key;
  }
}

}  // namespace
