// Upgrade Object inside the stand-in host: a plain object's part takes the blob code and the
// `lunvik_` parameters and its objects become BLOB members; upgrading again changes nothing; a
// part that cannot be written is saved beside as its name + "+"; profile parts are rebuilt from
// the current template with their own profile.
#include <gtest/gtest.h>

#include <string>

#include "profile_fixture.h"

namespace {

using namespace profile_testing;

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
  return n;
}

std::string section(const standin::LibraryPart& part, const char* code) {
  uint32_t c = 0;
  standin::codeFromText(code, c);
  const standin::PartSection* s = part.section(c);
  return s ? s->data : std::string();
}

class UpgradeTest : public ProfileHost {
 protected:
  void SetUp() override {
    ProfileHost::SetUp();
    fs::copy_file(std::string(TRESTLAR_FIXTURES) + "/timber/library/Plain Box.gsm", folder_ + "/Plain Box.gsm");
    host().touchLibrary();
  }
  standin::HostElement* placeBox(double x) {
    standin::HostElement* e = model().placeObject(
        "Plain Box", {standin::ParameterValue::ofNumber("A", 2), standin::ParameterValue::ofNumber("B", 0.3),
                      standin::ParameterValue::ofNumber("ZZYZX", 0.4)},
        x, 0, 0, 0);
    return e;
  }
  void upgrade(const std::vector<standin::HostElement*>& selected) {
    model().deselectAll();
    for (standin::HostElement* e : selected) model().select(e->record.header.guid, true);
    chooseMenu("Framing/Component/Upgrade Object");
  }
};

TEST_F(UpgradeTest, APlainObjectTakesTheBlobCodeAndBecomesAMember) {
  standin::HostElement* box = placeBox(0);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->hasUserData);
  upgrade({box});
  ASSERT_EQ(host().alerts().size(), 1u);
  EXPECT_EQ(host().alerts()[0].text, "Would you like to upgrade this object with the latest features?");
  standin::LibraryPart part = partFile("Plain Box");
  // The parameters, after the part's own, in their order.
  const char* added[] = {"lunvik_settings", "lunvik_edgePen", "lunvik_fillPen", "lunvik_cutCount", "lunvik_swivel",
                         "lunvik_incline", "lunvik_prevSwivel", "lunvik_prevIncline", "lunvik_ID", "lunvik_cutAngle",
                         "lunvik_cutOffset", "lunvik_isStretchy", "lunvik_spots", "lunvik_spotCount", "lunvik_version",
                         "AC_show2DHotspotsIn3D"};
  ASSERT_EQ(part.parameters.size(), 3u + 16u);
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(part.parameters[3 + i].name, added[i]);
  EXPECT_EQ(part.parameter("lunvik_ID")->texts.at(0), "BLOB");
  EXPECT_EQ(part.parameter("lunvik_spots")->rows, 100);
  EXPECT_EQ(part.parameter("lunvik_cutAngle")->columns, 2);
  EXPECT_EQ(part.parameter("lunvik_prevSwivel")->flags, 129);
  EXPECT_EQ(part.parameter("lunvik_swivel")->flags, 1);
  // An empty 2D script gets a fragment to draw; the 3D code ends in the jump back.
  const std::string script2D = section(part, "2DSC"), script3D = section(part, "3DSC");
  EXPECT_NE(script2D.find("!LUNVIK_BLOB_END\r\nfragment2 1, 1\n"), std::string::npos) << script2D;
  EXPECT_NE(script3D.find("!LUNVIK_BLOB_END\r\nBLOCK A, B, ZZYZX\n!LUNVIK_BLOB_START\ngoto 0\n!LUNVIK_BLOB_END\n"),
            std::string::npos)
      << script3D;
  EXPECT_EQ(section(part, "1DSC").compare(0, 18, "!LUNVIK_BLOB_START"), 0);

  standin::HostElement* member = model().find(box->record.header.guid);
  ASSERT_NE(member, nullptr);
  EXPECT_EQ(member->userData, "BLOB");
  EXPECT_EQ(member->userFlags, 0x1000003);
  EXPECT_DOUBLE_EQ(value(*member, "A"), 2);
  EXPECT_DOUBLE_EQ(value(*member, "B"), 0.3);
  EXPECT_DOUBLE_EQ(value(*member, "ZZYZX"), 0.4);
  EXPECT_DOUBLE_EQ(value(*member, "lunvik_swivel"), 0);
  ASSERT_EQ(host().undoSteps().size(), 1u);
  EXPECT_EQ(host().undoSteps()[0].name, "Upgrade Object");
  // It still draws its box.
  double volume = 0, surface = 0;
  ASSERT_TRUE(host().bodies().quantities(platform::kObject, member->record.header.index, volume, surface));
  EXPECT_NEAR(volume, 2 * 0.3 * 0.4, 1e-9);
}

TEST_F(UpgradeTest, UpgradingTwiceLeavesOneBlockInEachScript) {
  standin::HostElement* box = placeBox(0);
  upgrade({box});
  const std::string once = readText(folder_ + "/Plain Box.gsm");
  upgrade({model().find(box->record.header.guid)});
  standin::LibraryPart part = partFile("Plain Box");
  EXPECT_EQ(count(section(part, "1DSC"), "!LUNVIK_BLOB_START"), 1u);
  EXPECT_EQ(count(section(part, "2DSC"), "!LUNVIK_BLOB_START"), 1u);
  EXPECT_EQ(count(section(part, "3DSC"), "!LUNVIK_BLOB_START"), 2u);
  EXPECT_EQ(count(section(part, "3DSC"), "goto 0"), 1u);
  EXPECT_EQ(count(section(part, "2DSC"), "fragment2"), 1u);
  EXPECT_EQ(part.parameters.size(), 3u + 16u);
  EXPECT_EQ(readText(folder_ + "/Plain Box.gsm"), once);
}

TEST_F(UpgradeTest, APartThatCannotBeWrittenIsSavedBesideAsItsNamePlus) {
  standin::HostElement* first = placeBox(0);
  standin::HostElement* second = placeBox(3);
  const std::string before = readText(folder_ + "/Plain Box.gsm");
  // The host writes a part through a new file beside it: a folder in its way makes it fail.
  fs::create_directory(folder_ + "/Plain Box.gsm.part-new");
  std::ofstream(folder_ + "/Plain Box.gsm.part-new/in the way") << "x";
  upgrade({first});
  EXPECT_EQ(readText(folder_ + "/Plain Box.gsm"), before);
  ASSERT_TRUE(fs::exists(folder_ + "/Plain Box+.gsm"));
  standin::LibraryPart plus = partFile("Plain Box+");
  EXPECT_EQ(plus.name, "Plain Box+");
  EXPECT_NE(section(plus, "CTXT").find("!LUNVIK_BLOB_START\nPlain Box\n!LUNVIK_BLOB_END\n"), std::string::npos);
  // Every object of the part in the drawing follows it.
  for (standin::HostElement* e : {first, second}) {
    standin::HostElement* now = model().find(e->record.header.guid);
    EXPECT_EQ(now->libraryPart, "Plain Box+");
    EXPECT_EQ(now->userData, "BLOB");
  }
}

TEST_F(UpgradeTest, ADeclinedQuestionChangesNothingAndNothingSelectedIsSaid) {
  standin::HostElement* box = placeBox(0);
  const std::string before = readText(folder_ + "/Plain Box.gsm");
  testing_support::answerAlert(host().dialogs(), "Cancel");
  upgrade({box});
  EXPECT_EQ(readText(folder_ + "/Plain Box.gsm"), before);
  EXPECT_FALSE(model().find(box->record.header.guid)->hasUserData);
  EXPECT_EQ(host().alerts().size(), 1u);
  upgrade({});
  ASSERT_EQ(host().alerts().size(), 2u);
  EXPECT_EQ(host().alerts()[1].text, "There are no upgradable objects selected");
  EXPECT_TRUE(host().undoSteps().empty());
}

TEST_F(UpgradeTest, AProfilePartIsRebuiltFromTheCurrentTemplateWithItsOwnProfile) {
  draw({{{0, 0}, {2, 0}, {2, 0.5}, {0, 0.5}}});
  answerProfileDialog("Section", "Old Section", "3");
  host().pointer().queue(standin::PointerAnswer::point(0, 0));
  chooseMenu("Framing/Component/New Profile...");
  ASSERT_TRUE(fs::exists(folder_ + "/Old Section.gsm"));
  const std::string profile = putBlock(partFile("Old Section"));
  // An older template's code around the same profile.
  std::string text = readText(folder_ + "/Old Section.gsm");
  const std::size_t code = text.find("DIM px[]");
  ASSERT_NE(code, std::string::npos);
  text.insert(code, "! an older template\n");
  std::ofstream(folder_ + "/Old Section.gsm", std::ios::trunc) << text;
  host().touchLibrary();
  upgrade({objects().front()});
  standin::LibraryPart part = partFile("Old Section");
  EXPECT_EQ(section(part, "3DSC").find("! an older template"), std::string::npos);
  EXPECT_EQ(putBlock(part), profile);
  EXPECT_DOUBLE_EQ(number(part, "length"), 3);
  EXPECT_DOUBLE_EQ(number(part, "anchorY"), 0);
  EXPECT_EQ(part.parameter("timberName")->texts.at(0), "Old Section");
}

}  // namespace
