#include "prefs/frame_prefs.h"

#include <gtest/gtest.h>

#include <string>

#include "prefs/package_codes.h"
#include "prefs_fixture.h"
#include "storage/object_store.h"
#include "support/legacy_block.h"

namespace {

using prefs_test::written;
using varnholt::FramePrefs;

class FramePrefsTest : public prefs_test::PrefsHost {};

const char* const kDefaultText =
    "<framePrefs>\n\t<radialWidth>0.15</radialWidth>\n\t<curveThick>0.075</curveThick>\n"
    "\t<curveLevel>0</curveLevel>\n\t<curveLayer>1</curveLayer>\n</framePrefs>\n";

TEST_F(FramePrefsTest, WritesAndResetsToItsDefaults) {
  FramePrefs prefs;
  EXPECT_EQ(written(prefs), kDefaultText);
  prefs.radialWidth = 0.3;
  prefs.curveThick = 0.1;
  prefs.curveLevel = -1.5;
  prefs.curveLayer = 9;
  prefs.clear();
  EXPECT_EQ(written(prefs), kDefaultText);
}

TEST_F(FramePrefsTest, ImportsALegacyTable) {
  testing_support::LegacyBlock legacy(false);
  legacy.add(varnholt::kFramePrefsCode,
             "RADIAL_WIDTH\tCURVE_THICK\tCURVE_LEVEL\tCURVE_LAYER\t\r\n0.2\t0.05\t1.25\t7\t\r\n");
  const std::string bytes = legacy.bytes(1);
  lunvik::ObjectStore store("lunvikPreferenceStore");
  store.add(FramePrefs());
  ASSERT_TRUE(store.read(bytes.data(), bytes.size()));
  auto* prefs = static_cast<FramePrefs*>(store.get(varnholt::kFramePrefsCode));
  ASSERT_NE(prefs, nullptr);
  EXPECT_EQ(prefs->radialWidth, 0.2);
  EXPECT_EQ(prefs->curveThick, 0.05);
  EXPECT_EQ(prefs->curveLevel, 1.25);
  EXPECT_EQ(prefs->curveLayer, 7);
  lunvik::CadString own("framePrefs");
  EXPECT_FALSE(prefs->translateLegacyKey(own));
}

}  // namespace
