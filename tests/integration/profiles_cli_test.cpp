// New Profile, Upgrade Object and Rotate from session scripts: the README's worked examples as
// written, the put list of a holed and arced polygon byte for byte, the refusals, and members
// turned in the plan, in a section and mirrored, and turned back.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <strings.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <nlohmann/json.hpp>
#include <string>

#include "host/core/host.h"
#include "host/library/part_file.h"
#include "support/cli_runner.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing_support::readFile;
using testing_support::runTrestlar;

constexpr double kPi = 3.14159265358979323846;

double angleGap(double a, double b) {
  double d = std::fmod(a - b, 2 * kPi);
  if (d > kPi) d -= 2 * kPi;
  if (d <= -kPi) d += 2 * kPi;
  return std::fabs(d);
}

class ProfilesCli : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-profiles-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    fs::create_directories(dir_ + "/config");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  // The workshop example and its parts folder, copied.
  std::string workshop() {
    fs::copy_file(std::string(TRESTLAR_SOURCE_DIR) + "/examples/workshop.trestlar", dir_ + "/workshop.trestlar");
    fs::copy(std::string(TRESTLAR_SOURCE_DIR) + "/examples/parts", dir_ + "/parts", fs::copy_options::recursive);
    return dir_ + "/workshop.trestlar";
  }
  // The sample with its library beside it.
  std::string barn() {
    fs::copy_file(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar", dir_ + "/barn.trestlar");
    fs::create_directory_symlink(std::string(TRESTLAR_SOURCE_DIR) + "/library", dir_ + "/library");
    return dir_ + "/barn.trestlar";
  }
  testing_support::CliRun run(const std::string& project, const std::string& script, const std::string& out = "") {
    const std::string file = dir_ + "/script" + std::to_string(++scripts_) + ".txt";
    std::ofstream(file) << script;
    return runTrestlar("run " + project + " " + file + (out.empty() ? "" : " -o " + out), dir_ + "/config");
  }
  // The README's fenced block that starts with first.
  static std::string readmeBlock(const std::string& first) {
    const std::string readme = readFile(std::string(TRESTLAR_SOURCE_DIR) + "/README.md");
    const std::size_t from = readme.find("```\n" + first);
    if (from == std::string::npos) return std::string();
    const std::size_t to = readme.find("```\n", from + 4);
    return readme.substr(from + 4, to - from - 4);
  }
  static json project(const std::string& path) { return json::parse(readFile(path)); }
  // An element of the saved project by its element ID, or by its library part.
  static const json* element(const json& p, const std::string& key, const std::string& value) {
    for (const json& e : p["elements"])
      if (e.value(key, std::string()) == value) return &e;
    return nullptr;
  }
  static double parameter(const json& e, const std::string& name) {
    for (const json& p : e["parameters"])
      if (strcasecmp(p["name"].get<std::string>().c_str(), name.c_str()) == 0) return p["value"].get<double>();
    return std::nan("");
  }
  static double field(const json& e, const char* name) { return e["record"].value(name, 0.0); }
  static standin::LibraryPart part(const std::string& file) {
    standin::LibraryPart p;
    std::string problem;
    EXPECT_TRUE(standin::readPartText(readFile(file), p, problem)) << problem;
    return p;
  }
  static std::string putBlock(const standin::LibraryPart& p) {
    const standin::PartSection* s = p.section(0x33445343u);
    if (!s) return std::string();
    std::size_t from = s->data.find("!LUNVIK_PROFILE_START"), to = s->data.find("!LUNVIK_PROFILE_END");
    return from == std::string::npos || to == std::string::npos ? std::string() : s->data.substr(from + 21, to - from - 21);
  }
  // The body box of the element of a GUID in a saved project.
  static bool bodyBox(const std::string& path, const std::string& guid, standin::Vec3& low, standin::Vec3& high) {
    standin::Host host;
    std::string error;
    if (!host.openProject(path, error)) return false;
    platform::Guid g{};
    if (!standin::parseGuid(guid, g)) return false;
    standin::HostElement* e = host.model().find(g);
    if (!e) return false;
    int32_t first = 0, last = -1;
    if (!host.bodies().bodyRange(e->record.header.typeID, e->record.header.index, first, last)) return false;
    const standin::GeneratedBody* b = host.bodies().body(first);
    if (!b) return false;
    low = b->boxMin;
    high = b->boxMax;
    return true;
  }

  std::string dir_;
  int scripts_ = 0;
};

TEST_F(ProfilesCli, TheReadmesChannelExampleRunsAsWritten) {
  const std::string script = readmeBlock("# channel.txt");
  ASSERT_FALSE(script.empty());
  const std::string file = workshop();
  testing_support::CliRun r = run(file, script);
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_TRUE(fs::exists(dir_ + "/parts/Channel.gsm"));
  const standin::LibraryPart channel = part(dir_ + "/parts/Channel.gsm");
  // The part file's rows as the README shows them.
  const std::string shown = readmeBlock("section 3DSC crlf");
  ASSERT_FALSE(shown.empty());
  const std::string rows = shown.substr(shown.find("!LUNVIK_PROFILE_START\n") + 22);
  std::string expected = "\r\n";
  for (std::size_t at = 0; at < rows.size() && rows.compare(at, 19, "!LUNVIK_PROFILE_END") != 0;) {
    std::size_t stop = rows.find('\n', at);
    expected += rows.substr(at, stop - at) + "\r\n";
    at = stop + 1;
  }
  EXPECT_EQ(putBlock(channel), expected);
  const json saved = project(file);
  const json* member = element(saved, "libraryPart", "Channel");
  ASSERT_NE(member, nullptr);
  EXPECT_NEAR(parameter(*member, "incline"), -kPi / 2, 1e-12);
  standin::Vec3 low, high;
  ASSERT_TRUE(bodyBox(file, (*member)["guid"], low, high));
  EXPECT_NEAR(high.z - low.z, 3, 1e-9);
}

TEST_F(ProfilesCli, TheReadmesBracketIsUpgradedAndStoodUp) {
  const std::string script = readmeBlock("# bracket.txt");
  ASSERT_FALSE(script.empty());
  const std::string file = workshop();
  testing_support::CliRun r = run(file, script);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(readFile(dir_ + "/parts/Bracket.gsm").find("lunvik_incline"), std::string::npos);
  const json saved = project(file);
  const json* bracket = element(saved, "libraryPart", "Bracket");
  ASSERT_NE(bracket, nullptr);
  EXPECT_NEAR(parameter(*bracket, "lunvik_incline"), -kPi / 2, 1e-12);
  standin::Vec3 low, high;
  ASSERT_TRUE(bodyBox(file, (*bracket)["guid"], low, high));
  EXPECT_NEAR(low.x, 1.95, 1e-9);
  EXPECT_NEAR(high.x, 2, 1e-9);
  EXPECT_NEAR(high.z, 0.6, 1e-9);
}

TEST_F(ProfilesCli, TheReadmesRafterTurnsToTheInclineItShows) {
  const std::string script = readmeBlock("# rafter.txt");
  ASSERT_FALSE(script.empty());
  const std::string file = barn();
  testing_support::CliRun r = run(file, script, dir_ + "/turned.trestlar");
  ASSERT_EQ(r.status, 0) << r.err;
  const json saved = project(dir_ + "/turned.trestlar");
  const json* rafter = element(saved, "id", "RFT-03");
  ASSERT_NE(rafter, nullptr);
  const double incline = parameter(*rafter, "incline");
  // The sample's -0.6741305066673152 steepened by 15 degrees.
  EXPECT_NEAR(incline, -0.6741305066673152 - kPi / 12, 1e-4);
  const std::string readme = readFile(std::string(TRESTLAR_SOURCE_DIR) + "/README.md");
  EXPECT_NE(readme.find("`{\"name\": \"incline\", \"type\": \"angle\", \"value\": " + json(incline).dump() + "}`"),
            std::string::npos)
      << json(incline).dump();
}

TEST_F(ProfilesCli, AHoledArcedPolygonGivesThePutListByteForByte) {
  // The outline turned a quarter back is 0 <= x <= 2 (a half circle bulging to 2.5) by
  // 0 <= y <= 1, with a square hole.
  const std::string file = workshop();
  testing_support::CliRun r = run(file,
                                  "draw hatch 0 0 0 2 -1 2 arc=180deg -1 0 hole -0.25 0.5 -0.25 1 -0.75 1 -0.75 0.5 as=p\n"
                                  "pick p\n"
                                  "dialog 32511\n  choose 4 Section\n  set 6 Holed\n  set 10 2\n"
                                  "point 0 0\n"
                                  "menu \"Framing/Component/New Profile...\"\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(putBlock(part(dir_ + "/parts/Holed.gsm")),
            "\r\nput 0,1,15,\r\n0,0,15,\r\n2,0,15,\r\n2,0.5,915,\r\n0.0,180,4015,\r\n0,1,15,\r\n0,1,-1,\r\n"
            "0.5,0.75,15,\r\n0.5,0.25,15,\r\n1,0.25,15,\r\n1,0.75,15,\r\n0.5,0.75,15,\r\n0.5,0.75,-1\r\n");
}

TEST_F(ProfilesCli, ALatheWhoseAxisCutsTheProfileIsRefusedAndNothingWritten) {
  const std::string file = workshop();
  testing_support::CliRun r = run(file,
                                  "draw hatch 0 -0.1 1 -0.1 1 0.1 0 0.1 as=p\npick p\n"
                                  "dialog 32511\n  choose 4 Lathe\n  set 6 Spindle\n"
                                  "point 0 0\npoint 1 0\nmenu \"Framing/Component/New Profile...\"\n");
  // The alert is an error: the run fails and saves nothing.
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("The central line of a lathed object should not cut though the profile"), std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(dir_ + "/parts/Spindle.gsm"));
  EXPECT_EQ(readFile(file), readFile(std::string(TRESTLAR_SOURCE_DIR) + "/examples/workshop.trestlar"));
}

TEST_F(ProfilesCli, AnEmptyOrTakenNameKeepsTheDialogOpen) {
  const std::string file = workshop();
  testing_support::CliRun r = run(file,
                                  "draw hatch 0 0 1 0 1 1 0 1 as=p\npick p\n"
                                  "dialog 32511\n  choose 4 Section\n  set 6 \"  \"\n  ok\n  set 6 bracket\n  ok\n"
                                  "  set 6 \"Square Post\"\n  ok\n"
                                  "point 0 0\nmenu \"Framing/Component/New Profile...\"\n");
  // The alerts are errors, so the run saves no project, but the command went on with the
  // third name.
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("Please enter a name for the new profile"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("An object with this name already exists in your loaded libraries"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir_ + "/parts/Square Post.gsm"));
  EXPECT_EQ(readFile(dir_ + "/parts/Bracket.gsm"), readFile(std::string(TRESTLAR_SOURCE_DIR) + "/examples/parts/Bracket.gsm"));
}

TEST_F(ProfilesCli, ALevelMemberTurnedAQuarterAboutAnAxisAcrossItStandsUpright) {
  const std::string file = barn();
  testing_support::CliRun r = run(file,
                                  "place tool Rectilinear 10 10 A=3 B=0.2 as=beam\npick none\npick beam\n"
                                  "point 10 10\npoint 10 11\narc 9 10\nmenu Framing/Tools/Rotate\n",
                                  dir_ + "/out.trestlar");
  ASSERT_EQ(r.status, 0) << r.err;
  const json saved = project(dir_ + "/out.trestlar");
  const json* beam = nullptr;
  for (const json& e : saved["elements"])
    if (e.value("libraryPart", std::string()) == "Rectilinear" && field(e, "x") == 10) beam = &e;
  ASSERT_NE(beam, nullptr);
  EXPECT_NEAR(field(*beam, "x"), 10, 1e-12);
  EXPECT_NEAR(field(*beam, "y"), 10, 1e-12);
  EXPECT_NEAR(field(*beam, "level"), 0, 1e-12);
  EXPECT_NEAR(parameter(*beam, "incline"), -kPi / 2, 1e-12);
  EXPECT_NEAR(parameter(*beam, "swivel"), 0, 1e-12);
  standin::Vec3 low, high;
  ASSERT_TRUE(bodyBox(dir_ + "/out.trestlar", (*beam)["guid"], low, high));
  EXPECT_NEAR(low.x, 9.8, 1e-9);
  EXPECT_NEAR(high.x, 10, 1e-9);
  EXPECT_NEAR(low.y, 9.9, 1e-9);
  EXPECT_NEAR(high.y, 10.1, 1e-9);
  EXPECT_NEAR(low.z, 0, 1e-9);
  EXPECT_NEAR(high.z, 3, 1e-9);
}

// A member placed by a first run, then changed in the saved file (mirrored, or shown in a
// section), then turned by a second.
class ProfilesCliEdited : public ProfilesCli {
 protected:
  std::string placed() {
    const std::string file = barn();
    testing_support::CliRun r = run(file, "place tool Rectilinear 1.3 0.7 A=3 B=0.2 angle=0.4 as=beam\n",
                                    dir_ + "/placed.trestlar");
    EXPECT_EQ(r.status, 0) << r.err;
    saved_ = project(dir_ + "/placed.trestlar");
    for (json& e : saved_["elements"])
      if (e.value("libraryPart", std::string()) == "Rectilinear" && field(e, "x") == 1.3) guid_ = e["guid"];
    return dir_ + "/placed.trestlar";
  }
  void write(const json& p) { std::ofstream(dir_ + "/placed.trestlar", std::ios::trunc) << p.dump(2); }
  json& beam(json& p) {
    for (json& e : p["elements"])
      if (e["guid"] == guid_) return e;
    return p;
  }

  json saved_;
  std::string guid_;
};

TEST_F(ProfilesCliEdited, ARotationThenItsInverseReturnsEveryParameter) {
  const std::string file = placed();
  ASSERT_FALSE(guid_.empty());
  const double ax = 0.2, ay = -0.5, bx = 2.1, by = 0.9;
  const double r = std::hypot(bx - ax, by - ay), az = std::atan2(by - ay, bx - ax), turn = 0.65;
  auto arc = [&](double a) {
    std::ostringstream s;
    s << std::setprecision(17) << ax + r * std::cos(az + a) << " " << ay + r * std::sin(az + a);
    return s.str();
  };
  std::ostringstream script;
  script << std::setprecision(17) << "pick none\npick " << guid_ << "\npoint " << ax << " " << ay << "\npoint " << bx
         << " " << by << "\narc " << arc(turn) << "\nmenu Framing/Tools/Rotate\n"
         << "point " << ax << " " << ay << "\npoint " << bx << " " << by << "\narc " << arc(-turn)
         << " cw\nmenu Framing/Tools/Rotate\n";
  testing_support::CliRun run2 = run(file, script.str(), dir_ + "/back.trestlar");
  ASSERT_EQ(run2.status, 0) << run2.err;
  json back = project(dir_ + "/back.trestlar");
  const json& before = beam(saved_);
  const json& after = beam(back);
  for (const char* f : {"x", "y", "level"}) EXPECT_NEAR(field(after, f), field(before, f), 1e-9) << f;
  EXPECT_LT(angleGap(field(after, "angle"), field(before, "angle")), 1e-9);
  for (const json& p : before["parameters"]) {
    if (!p.contains("value") || !p["value"].is_number()) continue;
    const std::string name = p["name"];
    const double was = p["value"], now = parameter(after, name);
    if (name == "incline" || name == "swivel" || name == "prevIncline" || name == "prevSwivel")
      EXPECT_LT(angleGap(now, was), 1e-9) << name;
    else
      EXPECT_NEAR(now, was, 1e-9) << name;
  }
}

TEST_F(ProfilesCliEdited, AMirroredMemberTurnsAsItIsDrawn) {
  placed();
  json p = saved_;
  beam(p)["record"]["mirrored"] = 1;
  write(p);
  testing_support::CliRun r =
      run(dir_ + "/placed.trestlar",
          "pick none\npick " + guid_ + "\npoint 1.3 0\npoint 1.3 5\narc 0.3 0\nmenu Framing/Tools/Rotate\n",
          dir_ + "/out.trestlar");
  ASSERT_EQ(r.status, 0) << r.err;
  const json saved = project(dir_ + "/out.trestlar");
  const json* turned = nullptr;
  for (const json& e : saved["elements"])
    if (e["guid"] == guid_) turned = &e;
  ASSERT_NE(turned, nullptr);
  EXPECT_EQ(field(*turned, "mirrored"), 1);
  // A quarter turn about a line along y through its start: its far end, 3 m along 0.4, rises.
  standin::Vec3 low, high;
  ASSERT_TRUE(bodyBox(dir_ + "/out.trestlar", guid_, low, high));
  EXPECT_NEAR(high.z, 3 * std::cos(0.4), 0.2 + 1e-9);
  EXPECT_GT(high.z, 2.5);
  EXPECT_NEAR(field(*turned, "x"), 1.3, 1e-9);
  EXPECT_NEAR(field(*turned, "y"), 0.7, 1e-9);
}

TEST_F(ProfilesCliEdited, InASectionTheMemberTurnsInTheViewsPlane) {
  placed();
  json p = saved_;
  p["databases"] = json::array({{{"kind", "section"}, {"index", 1}, {"name", "S1"}, {"cut", {0, 0.7, 10, 0.7}},
                                 {"angle", kPi / 2}}});
  p["elements"].push_back({{"guid", "54524553-0000-4000-0000-0000000000F1"},
                           {"kind", "proxy"},
                           {"database", "section 1"},
                           {"target", guid_},
                           {"record", {{"h", 1.3}, {"v", 0}}}});
  // Lying along the cut line.
  beam(p)["record"]["angle"] = 0;
  write(p);
  testing_support::CliRun r = run(dir_ + "/placed.trestlar",
                                  "view S1\npick 54524553-0000-4000-0000-0000000000F1\n"
                                  "point 1.3 0\npoint 2.3 0\narc 1.3 1\nmenu Framing/Tools/Rotate\n",
                                  dir_ + "/out.trestlar");
  ASSERT_EQ(r.status, 0) << r.err;
  const json saved = project(dir_ + "/out.trestlar");
  const json* turned = nullptr;
  for (const json& e : saved["elements"])
    if (e["guid"] == guid_) turned = &e;
  ASSERT_NE(turned, nullptr);
  EXPECT_NEAR(parameter(*turned, "incline"), -kPi / 2, 1e-9);
  EXPECT_NEAR(field(*turned, "x"), 1.3, 1e-9);
  EXPECT_NEAR(field(*turned, "y"), 0.7, 1e-9);
  standin::Vec3 low, high;
  ASSERT_TRUE(bodyBox(dir_ + "/out.trestlar", guid_, low, high));
  EXPECT_NEAR(high.z, 3, 1e-9);
  EXPECT_NEAR(high.x, 1.3, 1e-9);
}

}  // namespace
