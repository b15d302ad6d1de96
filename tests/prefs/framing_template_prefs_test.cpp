#include "prefs/framing_template_prefs.h"

#include <gtest/gtest.h>

#include <string>

#include "prefs/package_codes.h"
#include "prefs_fixture.h"
#include "storage/object_store.h"
#include "support/legacy_block.h"

namespace {

using prefs_test::readText;
using prefs_test::written;
using varnholt::FramingTemplate;
using varnholt::FramingTemplatePrefs;

// The template's fields in their written order with the text of a new template.
const char* const kNewTemplate[][2] = {
    {"label", "Untitled"}, {"name", ""},           {"startJoint", ""},   {"endJoint", ""},     {"type", ""},
    {"width", "0"},        {"depth", "0"},         {"length", "0"},      {"fillPen", "0"},     {"edgePen", "1"},
    {"startState", "false"}, {"endState", "false"}, {"useName", "false"}, {"useStart", "false"},
    {"useEnd", "false"},   {"useType", "false"},   {"useWidth", "false"}, {"useDepth", "false"},
    {"useLength", "false"}, {"useFill", "false"},  {"useEdge", "false"},  {"midJoint1", ""},   {"midJoint2", ""},
    {"midJoint3", ""},     {"mid1State", "false"}, {"mid2State", "false"}, {"mid3State", "false"},
    {"useMid1", "false"},  {"useMid2", "false"},   {"useMid3", "false"},  {"midOffset1", "0"}, {"midOffset2", "0"},
    {"midOffset3", "0"},
};

std::string templateText(const char* label) {
  std::string out = "<frameTemplate>\n";
  for (const auto& field : kNewTemplate) {
    const std::string tag = field[0];
    out += "\t<" + tag + ">" + (tag == "label" ? label : field[1]) + "</" + tag + ">\n";
  }
  return out + "</frameTemplate>\n";
}

class FramingTemplatePrefsTest : public prefs_test::PrefsHost {};

TEST_F(FramingTemplatePrefsTest, ATemplateStartsUntitledAndResetsWithAnEmptyLabel) {
  FramingTemplate frame;
  EXPECT_EQ(written(frame), templateText("Untitled"));
  frame.name = "Rafter";
  frame.width = 0.1;
  frame.fillPen = 4;
  frame.edgePen = 6;
  frame.useMid2 = true;
  frame.midOffset3 = 2;
  frame.midJoint1 = "Tenon2";
  frame.clear();
  EXPECT_EQ(written(frame), templateText(""));
}

TEST_F(FramingTemplatePrefsTest, ReadsBackAListOfTemplates) {
  FramingTemplatePrefs prefs;
  auto frame = std::make_unique<FramingTemplate>();
  frame->label = "Post";
  frame->depth = 0.2;
  frame->useEdge = true;
  frame->midOffset2 = 1.5;
  prefs.templates().push_back(std::move(frame));
  prefs.templates().push_back(std::make_unique<FramingTemplate>());
  const std::string text = written(prefs);
  FramingTemplatePrefs back;
  ASSERT_TRUE(readText(back, text));
  ASSERT_EQ(back.templates().size(), 2u);
  EXPECT_EQ(written(back), text);
  back.clear();
  EXPECT_EQ(written(back), "<frameTemplatePrefs>\n\t<frameTemplateList/>\n</frameTemplatePrefs>\n");
}

TEST_F(FramingTemplatePrefsTest, ImportsALegacyTableAsItsList) {
  testing_support::LegacyBlock legacy(false);
  legacy.add(varnholt::kFramingTemplatePrefsCode,
             "LABEL\tNAME\tSTART_JOINT\tEND_JOINT\tTYPE\tWIDTH\tDEPTH\tLENGTH\tFILL_PEN\tEDGE_PEN\tSTART_STATE\t"
             "END_STATE\tUSE_NAME\tUSE_START\tUSE_END\tUSE_TYPE\tUSE_WIDTH\tUSE_DEPTH\tUSE_LENGTH\tUSE_FILL\t"
             "USE_EDGE\tMID_JOINT1\t\r\n"
             "Rafter\tR\tTenon2\tRaftBridle\tcommon\t0.1\t0.15\t4\t3\t5\t1\t0\t1\t1\t0\t0\t1\t0\t0\t1\t1\tLap\t\r\n"
             "Tie\t\r\n");
  const std::string bytes = legacy.bytes(1);
  lunvik::ObjectStore store("lunvikPreferenceStore");
  store.add(FramingTemplatePrefs());
  ASSERT_TRUE(store.read(bytes.data(), bytes.size()));
  auto* prefs = static_cast<FramingTemplatePrefs*>(store.get(varnholt::kFramingTemplatePrefsCode));
  ASSERT_NE(prefs, nullptr);
  ASSERT_EQ(prefs->templates().size(), 2u);
  const FramingTemplate& rafter = prefs->templates()[0];
  EXPECT_EQ(rafter.label.str(), "Rafter");
  EXPECT_EQ(rafter.endJoint.str(), "RaftBridle");
  EXPECT_EQ(rafter.type.str(), "common");
  EXPECT_EQ(rafter.depth, 0.15);
  EXPECT_EQ(rafter.length, 4);
  EXPECT_EQ(rafter.fillPen, 3);
  EXPECT_EQ(rafter.edgePen, 5);
  EXPECT_TRUE(rafter.startState);
  EXPECT_FALSE(rafter.endState);
  EXPECT_TRUE(rafter.useWidth);
  EXPECT_TRUE(rafter.useEdge);
  EXPECT_TRUE(rafter.midJoint1.empty());  // the middle joints had no legacy keys
  EXPECT_EQ(prefs->templates()[1].label.str(), "Tie");
}

}  // namespace
