#include "prefs/align_prefs.h"

#include <gtest/gtest.h>

#include <string>

#include "prefs_fixture.h"

namespace {

using prefs_test::readText;
using prefs_test::written;
using varnholt::AlignPrefs;
using varnholt::AlignPreset;

struct PresetRow {
  const char* name;
  const char* words[6];  // xType, xOrigin, yType, yOrigin, zType, zOrigin
};

const PresetRow kFactoryPresets[] = {
    {"Default", {"ignore", "begin", "ignore", "begin", "ignore", "begin"}},
    {"Align Left", {"align", "begin", "ignore", "begin", "ignore", "begin"}},
    {"Align Centre (X)", {"align", "middle", "ignore", "begin", "ignore", "begin"}},
    {"Align Right", {"align", "end", "ignore", "begin", "ignore", "begin"}},
    {"Align Front", {"ignore", "begin", "align", "begin", "ignore", "begin"}},
    {"Align Centre (Y)", {"ignore", "begin", "align", "middle", "ignore", "begin"}},
    {"Align Back", {"ignore", "begin", "align", "end", "ignore", "begin"}},
    {"Align Bottom", {"ignore", "begin", "ignore", "begin", "align", "begin"}},
    {"Align Centre (Z)", {"ignore", "begin", "ignore", "begin", "align", "middle"}},
    {"Align Top", {"ignore", "begin", "ignore", "begin", "align", "end"}},
    {"Tabulate", {"align", "begin", "distribute", "equal", "align", "begin"}},
};
const char* const kFieldTags[] = {"xType", "xOrigin", "yType", "yOrigin", "zType", "zOrigin"};

// A preset's element as the writer writes it at depth levels of indentation.
std::string presetElement(const char* name, const char* const* words, int depth = 2) {
  const std::string outer(std::size_t(depth), '\t'), inner(std::size_t(depth + 1), '\t');
  std::string out = outer + "<alignPreset>\n" + inner + "<name>" + name + "</name>\n";
  for (int i = 0; i < 6; ++i) out += inner + "<" + kFieldTags[i] + ">" + words[i] + "</" + kFieldTags[i] + ">\n";
  return out + outer + "</alignPreset>\n";
}

std::string document(std::size_t presets) {
  std::string out = "<alignPrefs><presetList>";
  for (std::size_t i = 0; i < presets; ++i)
    out += "<alignPreset><name>Mine " + std::to_string(i) + "</name><zType>distribute</zType></alignPreset>";
  return out + "</presetList></alignPrefs>";
}

class AlignPrefsTest : public prefs_test::PrefsHost {};

TEST_F(AlignPrefsTest, WritesTheElevenFactoryPresets) {
  std::string expected = "<alignPrefs>\n\t<presetList>\n";
  for (const PresetRow& row : kFactoryPresets) expected += presetElement(row.name, row.words);
  expected += "\t</presetList>\n</alignPrefs>\n";
  AlignPrefs prefs;
  EXPECT_EQ(written(prefs), expected);
  prefs.presets().erase(0);
  prefs.presets()[0].name = "Changed";
  prefs.clear();
  EXPECT_EQ(written(prefs), expected);
}

TEST_F(AlignPrefsTest, ReplacesAListOfFewerThanElevenByTheFactoryPresets) {
  struct Case {
    std::size_t read;
    bool kept;
  } cases[] = {{0, false}, {10, false}, {11, true}, {12, true}};
  for (const Case& c : cases) {
    AlignPrefs prefs;
    ASSERT_TRUE(readText(prefs, document(c.read))) << c.read;
    ASSERT_EQ(prefs.presets().size(), c.kept ? c.read : 11u) << c.read;
    EXPECT_EQ(prefs.presets()[0].name.str(), c.kept ? "Mine 0" : "Default") << c.read;
    EXPECT_EQ(prefs.presets()[0].zType, c.kept ? AlignPreset::Type::distribute : AlignPreset::Type::ignore);
  }
  AlignPrefs prefs;
  ASSERT_TRUE(readText(prefs, "<alignPrefs/>"));
  EXPECT_EQ(prefs.presets().size(), 11u);
}

TEST_F(AlignPrefsTest, ReadsAndWritesThePresetWords) {
  struct Case {
    const char* text;
    AlignPreset::Origin origin;
  } cases[] = {{"begin", AlignPreset::Origin::begin}, {"middle", AlignPreset::Origin::middle},
               {"end", AlignPreset::Origin::end},     {"equal", AlignPreset::Origin::equal},
               {"3", AlignPreset::Origin::equal},     {"4", AlignPreset::Origin::begin},
               {"centre", AlignPreset::Origin::begin}};
  for (const Case& c : cases) {
    AlignPreset preset;
    preset.yOrigin = AlignPreset::Origin::end;
    ASSERT_TRUE(readText(preset, std::string("<alignPreset><yOrigin>") + c.text + "</yOrigin></alignPreset>"));
    EXPECT_EQ(preset.yOrigin, c.origin) << c.text;
  }
  AlignPreset preset("Odd", static_cast<AlignPreset::Type>(9), static_cast<AlignPreset::Origin>(-2),
                     AlignPreset::Type::distribute, AlignPreset::Origin::equal, AlignPreset::Type::align,
                     AlignPreset::Origin::middle);
  const char* const words[] = {"distribute", "begin", "distribute", "equal", "align", "middle"};
  // Values out of range are written as the nearest word and kept so.
  EXPECT_EQ(written(preset), presetElement("Odd", words, 0));
  EXPECT_EQ(preset.xType, AlignPreset::Type::distribute);
  EXPECT_EQ(preset.xOrigin, AlignPreset::Origin::begin);
}

TEST_F(AlignPrefsTest, TranslatesOnlyItsTagsDownToThePresets) {
  const AlignPrefs prefs;
  lunvik::CadString key("alignPrefs");
  ASSERT_TRUE(prefs.translateLegacyKey(key));
  EXPECT_EQ(key.str(), "presetList");
  ASSERT_TRUE(prefs.translateLegacyKey(key));
  EXPECT_EQ(key.str(), "alignPreset");
  EXPECT_FALSE(prefs.translateLegacyKey(key));
}

}  // namespace
