// The put list of a profile part: its rows byte for byte, number forms, holes and arcs, the
// hotspots and their limit, and the profile block of the 3D script it replaces.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>

#include "geometry/cad_poly.h"
#include "model/component_parameters.h"
#include "model/component_source.h"
#include "profiles/profile_writer.h"
#include "support/loaded_host.h"

namespace {

using lunvik::CadPoly;
using lunvik::CadString;
using lunvik::ComponentParameter;
using varnholt::ProfileKind;
using varnholt::ProfileWriter;

constexpr double kPi = 3.14159265358979323846;

CadPoly ring(std::initializer_list<std::array<double, 3>> vertices, bool closed = true) {
  CadPoly p(0, 0, closed);
  for (const auto& v : vertices) p.add(v[0], v[1], v[2]);
  return p;
}

// A 2 x 1 outline whose edge up its right side is a half circle bulging out, with a square
// hole.
CadPoly outlineWithHoleAndArc() {
  CadPoly p = ring({{0, 0, 0}, {2, 0, 0}, {2, 1, kPi}, {0, 1, 0}});
  p.addHole(std::make_unique<CadPoly>(ring({{0.5, 0.25, 0}, {1, 0.25, 0}, {1, 0.75, 0}, {0.5, 0.75, 0}})));
  return p;
}

ComponentParameter spots(int rows) {
  ComponentParameter p;
  p.name = CadString("Spots");
  p.typeID = platform::kParamLength;
  p.isArray = true;
  p.rows = rows;
  p.columns = 3;
  p.numbers.assign(std::size_t(rows) * 3, -9);
  return p;
}

TEST(ProfileWriterText, AHoleAndAnArcEdgeGiveTheseRowsByteForByte) {
  ProfileWriter writer(ProfileKind::section, 3);
  const CadString text = writer.putList(outlineWithHoleAndArc());
  EXPECT_EQ(text.str(),
            "\r\nput 0,1,15,\r\n0,0,15,\r\n2,0,15,\r\n2,0.5,915,\r\n0.0,180,4015,\r\n0,1,15,\r\n0,1,-1,\r\n"
            "0.5,0.75,15,\r\n0.5,0.25,15,\r\n1,0.25,15,\r\n1,0.75,15,\r\n0.5,0.75,15,\r\n0.5,0.75,-1\r\n");
}

TEST(ProfileWriterText, ALatheWritesItsOwnStatuses) {
  ProfileWriter writer(ProfileKind::lathe, 2 * kPi);
  CadPoly p = ring({{0, 0.1, 0}, {1, 0.1, 0}, {1, 0.2, -kPi / 2}});
  EXPECT_EQ(writer.putList(p).str(), "\r\nput 1,0.2,2,\r\n0,0.1,2,\r\n1,0.1,2,\r\n1.05,0.15,902,\r\n0.0,-90,4002\r\n");
}

TEST(ProfileWriterText, AnOpenProfileStartsAtItsFirstVertexAndHasNoClosingRow) {
  ProfileWriter writer(ProfileKind::elevation, 0.1);
  EXPECT_EQ(writer.putList(ring({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, false)).str(),
            "\r\nput 0,0,15,\r\n1,0,15,\r\n1,1,15\r\n");
}

TEST(ProfileWriterText, NumbersAreRoundedToTheNearestHundredMillionthInSixDigits) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {{0.16034712, "0.160347"}, {-168.00912, "-168.009"}, {0.00001, "1e-05"},     {0, "0"},
               {-0.000000001, "0"},      {2.0000000000000004, "2"}, {1234567.8, "1.23457e+06"}, {0.5, "0.5"}};
  for (const Case& c : cases) EXPECT_EQ(ProfileWriter::number(c.value).str(), c.text) << c.value;
}

TEST(ProfileWriterText, ADegenerateArcWritesNoRowForItsEdge) {
  // The arc's chord has no length: it has no radius to draw.
  ProfileWriter writer(ProfileKind::section, 1);
  CadPoly p = ring({{0, 0, 0}, {1, 0, 0}, {1, 0, kPi / 2}, {0, 1, 0}});
  ComponentParameter rows = spots(10);
  EXPECT_EQ(writer.putList(p, &rows).str(), "\r\nput 0,1,15,\r\n0,0,15,\r\n1,0,15,\r\n0,1,15\r\n");
  // Its vertex still has its hotspots.
  EXPECT_EQ(writer.spotCount(), 8);
}

TEST(ProfileWriterSpots, EachVertexGivesTwoHotspotsAcrossTheExtrusion) {
  struct Case {
    ProfileKind kind;
    double first[3];
    double second[3];
  } cases[] = {{ProfileKind::elevation, {2, 0, 0}, {2, 0, 0.5}},
               {ProfileKind::section, {0, 0, 2}, {0.5, 0, 2}},
               {ProfileKind::lathe, {0, 0, 2}, {0.5, 0, 2}}};
  for (const Case& c : cases) {
    ProfileWriter writer(c.kind, 0.5);
    ComponentParameter rows = spots(10);
    writer.putList(ring({{0, 1, 0}, {2, 0, 0}, {2, 1, 0}}), &rows);
    // The first vertex after the start is (0, 1); the second (2, 0) fills rows 2 and 3.
    for (int k = 0; k < 3; ++k) {
      EXPECT_DOUBLE_EQ(rows.numbers[std::size_t(6 + k)], c.first[k]) << int(c.kind) << " " << k;
      EXPECT_DOUBLE_EQ(rows.numbers[std::size_t(9 + k)], c.second[k]) << int(c.kind) << " " << k;
    }
  }
}

TEST(ProfileWriterSpots, HotspotsStopAtTheArraySizeButThePutListHoldsEveryVertex) {
  // 80 vertices into an elevation template's 150 rows: 75 vertices get their two rows.
  CadPoly p(0, 0, true);
  for (int i = 0; i < 80; ++i) p.add(std::cos(2 * kPi * i / 80), std::sin(2 * kPi * i / 80));
  ProfileWriter writer(ProfileKind::elevation, 0.1);
  ComponentParameter rows = spots(150);
  const std::string text = writer.putList(p, &rows).str();
  EXPECT_EQ(writer.spotCount(), 150);
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 1u + 81u);
}

using ProfileWriterPart = testing_support::LoadedHost;

std::unique_ptr<lunvik::ObjectSource> part(const std::string& script, int spotRows) {
  auto made = std::make_unique<lunvik::ObjectSource>(platform::LibraryPartRecord{}, lunvik::ComponentLink());
  lunvik::ObjectSource& source = *made;
  ComponentParameter count;
  count.name = CadString("SpotCount");
  count.typeID = platform::kParamInteger;
  count.numbers = {0};
  source.parameters().add(count);
  if (spotRows) source.parameters().add(spots(spotRows));
  source.setScript3D(CadString(script));
  return made;
}

TEST_F(ProfileWriterPart, TheProfileBlockIsReplacedAndTheHotspotsCounted) {
  const std::string before = "! head\r\n!LUNVIK_PROFILE_START\r\nput 0,0,15\r\n!LUNVIK_PROFILE_END\r\nREST\r\n";
  auto made = part(before, 100);
  lunvik::ObjectSource& source = *made;
  ProfileWriter writer(ProfileKind::section, 2);
  ASSERT_TRUE(writer.write(source, ring({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}})));
  EXPECT_EQ(source.script3D().str(),
            "! head\r\n!LUNVIK_PROFILE_START\r\nput 1,1,15,\r\n0,0,15,\r\n1,0,15,\r\n1,1,15\r\n!LUNVIK_PROFILE_END\r\nREST\r\n");
  double n = 0;
  ASSERT_TRUE(source.parameters().number(CadString("spotCount"), n));
  EXPECT_EQ(n, 6);
}

TEST_F(ProfileWriterPart, ALatheKeepsItsTemplatesHotspotCount) {
  auto made = part("!LUNVIK_PROFILE_START\r\n!LUNVIK_PROFILE_END\r\n", 100);
  lunvik::ObjectSource& source = *made;
  ProfileWriter writer(ProfileKind::lathe, kPi);
  ASSERT_TRUE(writer.write(source, ring({{0, 0.1, 0}, {1, 0.1, 0}, {1, 0.2, 0}})));
  double n = -1;
  ASSERT_TRUE(source.parameters().number(CadString("spotCount"), n));
  EXPECT_EQ(n, 0);
}

TEST_F(ProfileWriterPart, AScriptWithoutBothMarkersIsLeftAsItWas) {
  for (const char* script : {"put 0,0,15\r\n", "!LUNVIK_PROFILE_START\r\nput 0,0,15\r\n",
                             "!LUNVIK_PROFILE_END\r\n!LUNVIK_PROFILE_START\r\n"}) {
    auto made = part(script, 4);
    lunvik::ObjectSource& source = *made;
    ProfileWriter writer(ProfileKind::section, 2);
    EXPECT_FALSE(writer.write(source, ring({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}))) << script;
    EXPECT_EQ(source.script3D().str(), script);
    EXPECT_EQ(source.parameters().parameter(CadString("spots"))->numbers.front(), -9) << script;
  }
}

}  // namespace
