// Recognising timbers among placed objects and lamps: the kind code in the user data, the
// parameter-scheme version and the one-time upgrade of version-1 parts.
#include <gtest/gtest.h>

#include "timber_fixture.h"

namespace {

using testing_support::MemberValues;
using varnholt::Crafted;
using varnholt::TimberKind;

class Recognition : public testing_support::TimberHost {};

struct RecognitionCase {
  const char* part;
  int32_t typeID;
  const char* userData;
  TimberKind kind;  // none: read as a plain element
};

class RecognitionTable : public Recognition, public ::testing::WithParamInterface<RecognitionCase> {};

TEST_P(RecognitionTable, TheKindCodeSelectsTheClass) {
  const RecognitionCase& c = GetParam();
  standin::HostElement* e = placeMember(c.part, {}, c.userData, false, 0, 0, 0, 0, c.typeID);
  ASSERT_NE(e, nullptr);
  std::unique_ptr<lunvik::Element> element = read(*e);
  ASSERT_NE(element, nullptr) << "every placed object reads as an element";
  auto* timber = dynamic_cast<Crafted*>(element.get());
  if (c.kind == TimberKind::none) {
    EXPECT_EQ(timber, nullptr) << c.part << " " << c.userData;
    return;
  }
  ASSERT_NE(timber, nullptr) << c.part << " " << c.userData;
  EXPECT_EQ(timber->kind(), c.kind);
  EXPECT_EQ(timber->timberLink().guidValue(), e->record.header.guid);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, RecognitionTable,
    ::testing::Values(RecognitionCase{"Rectilinear", platform::kObject, "RECT", TimberKind::rectilinear},
                      RecognitionCase{"Rectilinear", platform::kObject, "TCER", TimberKind::rectilinear},
                      RecognitionCase{"Curved Timber", platform::kObject, "CURV", TimberKind::curved},
                      RecognitionCase{"Round", platform::kObject, "NUOR", TimberKind::round},
                      RecognitionCase{"Jowl Post", platform::kObject, "JOWL", TimberKind::jowl},
                      // The code is the only key: a rectilinear part tagged as a peg is a peg.
                      RecognitionCase{"Rectilinear", platform::kObject, "TPEG", TimberKind::peg},
                      RecognitionCase{"Blob Post", platform::kObject, "BLOB", TimberKind::blob},
                      RecognitionCase{"Blob Lamp", platform::kLamp, "BLOB", TimberKind::blob},
                      RecognitionCase{"Rectilinear", platform::kObject, "", TimberKind::none},
                      RecognitionCase{"Rectilinear", platform::kObject, "XYZW", TimberKind::none},
                      RecognitionCase{"Rectilinear", platform::kObject, "RE", TimberKind::none}));

TEST_F(Recognition, BlobOnALampIsABlobLampAndOnAnObjectABlobObject) {
  standin::HostElement* lamp = placeMember("Blob Lamp", {}, "BLOB", false, 0, 0, 0, 0, platform::kLamp);
  standin::HostElement* object = placeMember("Blob Post", {}, "BOLB", false);
  std::unique_ptr<lunvik::Element> a, b;
  EXPECT_NE(readAs<varnholt::BlobLamp>(*lamp, a), nullptr);
  EXPECT_NE(readAs<varnholt::BlobObject>(*object, b), nullptr);
  auto* blob = dynamic_cast<Crafted*>(b.get());
  ASSERT_NE(blob, nullptr);
  // The lunvik_ parameter set.
  EXPECT_EQ(blob->parameterName(varnholt::kSpotsParameter), "lunvik_spots");
  lunvik::CadString id;
  ASSERT_TRUE(blob->typeId(id));
  EXPECT_EQ(id, "BLOB");
  double length = 0;
  ASSERT_TRUE(blob->length(length));
  EXPECT_DOUBLE_EQ(length, 2.0);
}

TEST_F(Recognition, APartWithoutAnyVersionMarkIsNoTimber) {
  standin::HostElement* e = placeMember("Rectilinear", {}, "RECT", false);
  dropParameter(*e, "lunvik_version");
  dropParameter(*e, "anchorPick");
  std::unique_ptr<lunvik::Element> element = read(*e);
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(dynamic_cast<Crafted*>(element.get()), nullptr);
}

TEST_F(Recognition, AVersionOnePartIsUpgradedOnceWhenFirstRead) {
  MemberValues values = {{"lunvik_version", 1.0}, {"vAnchor", "Top"},        {"hAnchor", "Left"},
                         {"anchorPick", "BM"},    {"TLCham", 0.02},         {"TLChLen", 0.5},
                         {"TLStartOff", 0.1},     {"BRCham", 0.01},         {"BRChLen", 0.0},
                         {"BLCham", 0.03},        {"BLChLen", 0.4},         {"BLStartOff", 0.2}};
  standin::HostElement* e = placeMember("Rectilinear", values, "RECT", false);
  std::unique_ptr<lunvik::Element> holder;
  Crafted* timber = readAs(*e, holder);
  ASSERT_NE(timber, nullptr);
  int32_t version = 0;
  ASSERT_TRUE(timber->objectVersion(version));
  EXPECT_EQ(version, 2);
  int v = -1, h = -1;
  ASSERT_TRUE(timber->anchorIndices(v, h));
  EXPECT_EQ(v, 2);
  EXPECT_EQ(h, 2);
  // Written back to the element: later reads find version 2 and leave it alone.
  EXPECT_EQ(hostNumber(*e, "lunvik_version"), 2);
  EXPECT_EQ(hostText(*e, "anchorPick"), "TL");
  EXPECT_EQ(hostText(*e, "hAnchor"), "");
  EXPECT_EQ(hostText(*e, "vAnchor"), "");
  EXPECT_EQ(hostText(*e, "anchorType"), "Standard");
  EXPECT_EQ(hostNumber(*e, "chamferCount"), 2);
  EXPECT_EQ(hostText(*e, "chamferSpec", 0), "TL");
  EXPECT_EQ(hostText(*e, "chamferSpec", 1), "BL");
  EXPECT_DOUBLE_EQ(hostNumber(*e, "chamferOffset", 1), 0.2);
  EXPECT_DOUBLE_EQ(hostNumber(*e, "chamferWide", 0), 0.02);
  EXPECT_DOUBLE_EQ(hostNumber(*e, "chamferLong", 1), 0.4);
  EXPECT_EQ(hostNumber(*e, "TLCham"), 0);
  EXPECT_EQ(hostNumber(*e, "BRCham"), 0);
  uint32_t stamp = e->record.header.modiStamp;
  std::unique_ptr<lunvik::Element> again;
  ASSERT_NE(readAs(*e, again), nullptr);
  EXPECT_EQ(e->record.header.modiStamp, stamp) << "a version-2 part is not written again";
}

TEST_F(Recognition, AQuarterTurnKindTurnsItsVersionOneConvention) {
  MemberValues values = {{"lunvik_version", 1.0}, {"vAnchor", "Bottom"}, {"hAnchor", "Centre"},
                         {"profWide", 0.2},       {"profDeep", 0.3},     {"yOffset", -0.1},
                         {"zOffset", 0.05},       {"swivel", 2.0},       {"numCuts", 1.0},
                         {"spotCount", 1.0},      {"spots", std::vector<double>(192, 0.0)}};
  values.back().second.cells[0] = 1;
  values.back().second.cells[1] = 2;
  values.back().second.cells[2] = 3;
  standin::HostElement* e = placeMember("Tapered Timber", values, "TAPR", false);
  std::unique_ptr<lunvik::Element> holder;
  ASSERT_NE(readAs<varnholt::Taper>(*e, holder), nullptr);
  EXPECT_DOUBLE_EQ(hostNumber(*e, "profWide"), 0.3);
  EXPECT_DOUBLE_EQ(hostNumber(*e, "profDeep"), 0.2);
  EXPECT_NEAR(hostNumber(*e, "swivel"), 2.0 - lunvik::kHalfPi, 1e-12);
  // Bottom-centre (0, 1) becomes vertical 1, horizontal 2.
  EXPECT_EQ(hostText(*e, "anchorPick"), "ML");
  EXPECT_NEAR(hostNumber(*e, "yOffset"), -0.05 - 0.2, 1e-12);
  EXPECT_NEAR(hostNumber(*e, "zOffset"), -0.1, 1e-12);
  // (1, 2, 3) turned a quarter about x is (1, -3, 2), then moved by the old depth in y.
  EXPECT_NEAR(hostNumber(*e, "spots", 0), 1, 1e-12);
  EXPECT_NEAR(hostNumber(*e, "spots", 1), -3 + 0.3, 1e-12);
  EXPECT_NEAR(hostNumber(*e, "spots", 2), 2, 1e-12);
  EXPECT_NEAR(hostNumber(*e, "cutAngle", 0), lunvik::kHalfPi, 1e-12);
}

TEST_F(Recognition, AnUpgradeTurnsOnlyTheCutRowsThatExist) {
  // A count as large as 32 bits go: the quarter turn and the camber's correction stop at the
  // arrays' 20 rows.
  for (const char* part : {"Tapered Timber", "Cambered Timber"}) {
    standin::HostElement* e = placeMember(part, {{"lunvik_version", 1.0}, {"vAnchor", "Bottom"},
                                                 {"hAnchor", "Centre"}, {"topOffset", 0.1}},
                                          part[0] == 'T' ? "TAPR" : "CAMB", false);
    ASSERT_NE(e, nullptr);
    reshapeParameter(*e, "numCuts", platform::kParamReal, 1, 0, {2147483647.0});
    std::unique_ptr<lunvik::Element> holder;
    ASSERT_NE(readAs(*e, holder), nullptr) << part;
    EXPECT_EQ(hostNumber(*e, "lunvik_version"), 2) << part;
    for (std::size_t row : {0u, 19u}) EXPECT_NEAR(hostNumber(*e, "cutAngle", row * 2), lunvik::kHalfPi, 1e-12) << part;
  }
}

TEST_F(Recognition, TheCreatorIsRegisteredForObjectsAndLampsOnly) {
  standin::HostElement* e = placeMember("Rectilinear", {}, "RECT", false);
  std::unique_ptr<lunvik::Element> element = read(*e);
  EXPECT_NE(dynamic_cast<varnholt::Rectilinear*>(element.get()), nullptr);
  platform::ElementRecord record = e->record;
  record.header.typeID = platform::kDoor;
  EXPECT_EQ(varnholt::createTimber(record, lunvik::ElementLink(record.header)), nullptr);
}

}  // namespace
