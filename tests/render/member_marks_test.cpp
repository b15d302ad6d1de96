// What the timber parts draw on a member, read from its parameters, and where it lands.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "host/bodies/body_generator.h"
#include "host/model/stored_parameter.h"
#include "host/render/member_marks.h"

namespace {

using standin::HostElement;
using standin::JointSymbols;
using standin::MemberMarks;
using standin::Vec3;

constexpr double kPi = 3.14159265358979323846;

standin::StoredParameter number(const char* name, double value) {
  standin::PartParameter p;
  p.name = name;
  p.typeID = platform::kParamReal;
  p.numbers = {value};
  return standin::storedParameter(p, 0);
}
standin::StoredParameter text(const char* name, const char* value) {
  standin::PartParameter p;
  p.name = name;
  p.typeID = platform::kParamString;
  p.texts = {value};
  return standin::storedParameter(p, 0);
}
standin::StoredParameter column(const char* name, std::vector<double> values) {
  standin::PartParameter p;
  p.name = name;
  p.typeID = platform::kParamLength;
  p.isArray = true;
  p.rows = int32_t(values.size());
  p.numbers = std::move(values);
  return standin::storedParameter(p, 0);
}

HostElement member(const char* code) {
  HostElement e;
  e.record.header.typeID = platform::kObject;
  e.hasUserData = true;
  e.userData = code;
  return e;
}

TEST(MemberMarks, AMemberIsAnObjectOrLampTaggedWithATimberKindCode) {
  const struct {
    int32_t kind;
    bool userData;
    const char* code;
    bool member;
  } cases[] = {{platform::kObject, true, "RECT", true},  {platform::kObject, true, "TCER", true},
               {platform::kLamp, true, "BLOB", true},    {platform::kObject, true, "CURVxyz", true},
               {platform::kObject, true, "RECX", false}, {platform::kObject, true, "REC", false},
               {platform::kObject, false, "RECT", false}, {platform::kHatch, true, "RECT", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    HostElement e = member(c.code);
    e.record.header.typeID = c.kind;
    e.hasUserData = c.userData;
    EXPECT_EQ(standin::isTimberMember(e), c.member);
  }
}

TEST(MemberMarks, MarksAreReadFromTheMemberAndItsPartsDefaults) {
  HostElement e = member("RECT");
  e.libraryPart = "Rectilinear";
  e.parameters = {text("SEASONTYPE", "Oak"), number("TimberNo", 12), number("showcutid", 1), text("showSyms", "all"),
                  column("jointX", {0, 3, 1, 0, 2}), column("jointY", {0, 0, 0, 0, 0}), column("jointZ", {0.1, 0.1, 0.1}),
                  number("ValidSt", 1), number("ValidEn", 0), number("IntOffset1", 1), number("IntOffset3", 2), number("IntValid3", 1)};
  standin::LibraryPart part;
  part.name = "Rectilinear";
  standin::PartParameter label;
  label.name = "showLabel";
  label.typeID = platform::kParamBoolean;
  label.numbers = {1};
  part.parameters.push_back(label);

  MemberMarks m = standin::readMemberMarks(e, &part);
  EXPECT_EQ(m.timberType, "Oak");
  EXPECT_EQ(m.description, "Rectilinear");  // no timberName: the part's name
  EXPECT_EQ(m.number, 12);
  EXPECT_TRUE(m.showCutNumber);
  EXPECT_TRUE(m.showLabel);  // the part's default
  EXPECT_EQ(m.symbols, JointSymbols::All);
  EXPECT_NEAR(m.cutTextHeight, 0.15, 1e-12);
  // Start, end, and the intermediate joints 1 and 3, which have offsets.
  ASSERT_EQ(m.joints.size(), 4u);
  EXPECT_TRUE(m.joints[0].checked);
  EXPECT_FALSE(m.joints[1].checked);
  EXPECT_NEAR(m.joints[1].at.x, 3, 1e-12);
  EXPECT_NEAR(m.joints[2].at.x, 1, 1e-12);   // joint 1: row 2
  EXPECT_TRUE(m.joints[2].checked);           // a flag that cannot be read counts as checked
  EXPECT_NEAR(m.joints[3].at.x, 2, 1e-12);   // joint 3: row 4
  EXPECT_NEAR(m.joints[3].at.z, 0, 1e-12);   // past jointZ's rows
  EXPECT_TRUE(m.joints[3].checked);
  EXPECT_EQ(standin::memberTimberType(e, &part), "Oak");
}

TEST(MemberMarks, SymbolsShowAsTheSettingSays) {
  const standin::MemberJoint checked{{}, true}, open{{}, false};
  EXPECT_TRUE(standin::jointShown(JointSymbols::All, checked));
  EXPECT_TRUE(standin::jointShown(JointSymbols::All, open));
  EXPECT_FALSE(standin::jointShown(JointSymbols::Unchecked, checked));
  EXPECT_TRUE(standin::jointShown(JointSymbols::Unchecked, open));
  EXPECT_FALSE(standin::jointShown(JointSymbols::None, open));
  const struct {
    const char* setting;
    JointSymbols symbols;
  } cases[] = {{"All", JointSymbols::All}, {"NONE", JointSymbols::None}, {"Unchecked", JointSymbols::Unchecked},
               {"sometimes", JointSymbols::Unchecked}};
  for (const auto& c : cases) {
    HostElement e = member("RECT");
    e.parameters = {text("showSyms", c.setting)};
    EXPECT_EQ(standin::readMemberMarks(e, nullptr).symbols, c.symbols) << c.setting;
  }
}

TEST(MemberMarks, PointsOfTheTurnedFrameLandAsTheBodyStands) {
  const double r = std::sqrt(0.5);
  const struct {
    const char* what;
    double angle, incline, swivel;
    bool mirrored;
    Vec3 local, model;
  } cases[] = {
      {"level", 0, 0, 0, false, {1, 0, 0}, {11, 20, 5}},
      {"turned in plan", kPi / 2, 0, 0, false, {1, 0, 0}, {10, 21, 5}},
      {"rising upright", 0, -kPi / 2, 0, false, {1, 0, 0}, {10, 20, 6}},
      {"a positive incline lowers the far end", 0, kPi / 4, 0, false, {1, 0, 0}, {10 + r, 20, 5 - r}},
      {"swivelled", 0, 0, kPi / 2, false, {0, 1, 0}, {10, 20, 6}},
      {"mirrored", 0, 0, 0, true, {1, 1, 0}, {11, 19, 5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HostElement e = member("RECT");
    e.record.part.pos = {10, 20};
    e.record.part.angle = c.angle;
    e.record.part.mirrored = c.mirrored;
    MemberMarks m;
    m.incline = c.incline;
    m.swivel = c.swivel;
    Vec3 p = standin::memberPoint(e, 5, m, c.local);
    EXPECT_NEAR(p.x, c.model.x, 1e-12);
    EXPECT_NEAR(p.y, c.model.y, 1e-12);
    EXPECT_NEAR(p.z, c.model.z, 1e-12);
  }
}

TEST(MemberMarks, TheTurnedFrameIsTheBodysFrameLessItsAnchor) {
  // A member turned every way: a point of the turned frame lands where the body's matrix puts
  // that point less the axis start offset.
  std::vector<standin::PartParameter> values;
  for (const auto& v : std::vector<std::pair<const char*, double>>{{"length", 2}, {"profWide", 0.2}, {"profDeep", 0.3},
                                                                  {"incline", 0.4}, {"swivel", -0.7}, {"xOffset", 0.05},
                                                                  {"yOffset", -0.1}, {"zOffset", 0.02}}) {
    standin::PartParameter p;
    p.name = v.first;
    p.typeID = platform::kParamReal;
    p.numbers = {v.second};
    values.push_back(p);
  }
  standin::PartParameter id;
  id.name = "ID";
  id.typeID = platform::kParamString;
  id.texts = {"RECT"};
  values.push_back(id);
  for (bool mirrored : {false, true}) {
    standin::BodyPlacement at{1, 2, 3, 0.9, mirrored};
    standin::GeneratedModel model = standin::generateBodies("RECT", standin::ParameterValues(values), at);
    ASSERT_EQ(model.bodies.size(), 1u);
    const platform::TransformRecord& t = model.bodies[0].matrix;
    HostElement e = member("RECT");
    e.record.part.pos = {1, 2};
    e.record.part.angle = 0.9;
    e.record.part.mirrored = mirrored;
    MemberMarks m;
    m.incline = 0.4;
    m.swivel = -0.7;
    const Vec3 local{1.5, 0.2, -0.1};
    // The body frame's point local less the offset (0.05, -0.1 + 0.1, 0.02 + 0.15).
    const Vec3 q{local.x - 0.05, local.y - 0.0, local.z - 0.17};
    const Vec3 expected{t.tmx[0] * q.x + t.tmx[1] * q.y + t.tmx[2] * q.z + t.tmx[3],
                        t.tmx[4] * q.x + t.tmx[5] * q.y + t.tmx[6] * q.z + t.tmx[7],
                        t.tmx[8] * q.x + t.tmx[9] * q.y + t.tmx[10] * q.z + t.tmx[11]};
    const Vec3 p = standin::memberPoint(e, 3, m, local);
    EXPECT_NEAR(p.x, expected.x, 1e-12) << mirrored;
    EXPECT_NEAR(p.y, expected.y, 1e-12) << mirrored;
    EXPECT_NEAR(p.z, expected.z, 1e-12) << mirrored;
  }
}

}  // namespace
