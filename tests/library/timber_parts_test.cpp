// The timber library parts: every part loads, carries the timber parameters and its kind
// code, and draws a body of the right size with the generator of its kind.
#include <gtest/gtest.h>

#include <string>

#include "host/bodies/body_generator.h"
#include "host/library/library_index.h"

namespace {

struct PartCase {
  const char* name;
  const char* kind;
  bool hasBody;
};

const PartCase kParts[] = {
    {"Rectilinear", "RECT", true},        {"Tapered Timber", "TAPR", true}, {"Peg", "TPEG", true},
    {"Jowl Post", "JOWL", true},          {"Cambered Timber", "CAMB", true},
    {"Square to Round Post", "SQRO", true}, {"Round Tapered", "ROTA", true}, {"Round", "ROUN", true},
    {"Curved Timber", "CURV", true},      {"Assembly", "ASSM", false},
};

// Parameters every timber part carries (a sample across the whole table).
const char* const kCommon[] = {"length", "profWide", "profDeep", "timberWid", "swivel", "incline", "numCuts",
                               "cutAngle", "cutOffset", "spots", "spotCount", "xOffset", "yOffset", "zOffset",
                               "anchorType", "anchorPick", "hAnchor", "vAnchor", "lunvik_version", "arcToler",
                               "chamferSpec", "BRStartOff", "TimberNo", "seasonType", "BoundVol", "actVol",
                               "JuncTypeSt", "IntJuncType3", "IntValid3", "J3Lock", "IntOffset3", "IntTimeAll3",
                               "jointZ", "showSyms", "cutIDPos", "cutTextHt", "A", "B", "ZZYZX"};

TEST(TimberParts, EveryPartLoadsWithTheTimberParametersAndItsKindCode) {
  standin::LibraryIndex index;
  index.rebuild({std::string(TRESTLAR_SOURCE_DIR) + "/library"});
  EXPECT_TRUE(index.messages().empty()) << index.messages().front();
  for (const PartCase& c : kParts) {
    int32_t at = index.find(c.name, 4);
    ASSERT_NE(at, 0) << c.name;
    const standin::LibraryPart& part = *index.part(at);
    standin::ParameterValues values(part.parameters);
    EXPECT_EQ(standin::bodyKindOf(values), c.kind) << c.name;
    for (const char* name : kCommon) EXPECT_NE(part.parameter(name), nullptr) << c.name << " has no " << name;
    EXPECT_EQ(values.text("anchorPick"), "BM") << c.name;
    EXPECT_EQ(values.number("lunvik_version", 0), 2) << c.name;
    ASSERT_NE(part.section(0x33445343u /* 3DSC */), nullptr) << c.name;
    EXPECT_TRUE(index.descends(part.ownId, index.part(index.find("Timber Member", 4))->ownId)) << c.name;

    standin::GeneratedModel model = standin::generateBodies(c.kind, values, standin::BodyPlacement{});
    EXPECT_EQ(!model.bodies.empty(), c.hasBody) << c.name;
    if (!c.hasBody) continue;
    // Standing on the placement point with its axis along x, from 0 to length.
    const standin::GeneratedBody& body = model.bodies[0];
    EXPECT_NEAR(body.boxMin.x, 0, 1e-6) << c.name;
    EXPECT_NEAR(body.boxMax.x, values.number("length", 0), 1e-6) << c.name;
    EXPECT_NEAR(body.boxMin.z, 0, 5e-3) << c.name;  // faceted round sections stop short of it
    EXPECT_NEAR(body.boxMin.y + body.boxMax.y, 0, 1e-6) << c.name;
    EXPECT_GT(model.volume, 0) << c.name;
  }
}

}  // namespace
