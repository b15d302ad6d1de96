// The stand-in host's model: its tools fire the database notifications in the host's order,
// groups and edits behave as the host's, and the project file carries the model.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/library/library_index.h"
#include "host/model/project_model.h"
#include "host/project/project_file.h"

namespace {

using standin::Host;
using standin::ProjectData;

std::string fixture(const std::string& name) { return std::string(TRESTLAR_FIXTURES) + "/model/" + name; }

class HostModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.newProject();
    ASSERT_TRUE(host_.addLibraryFolder(fixture("library")));
    host_.model().setNotifier([this](const platform::ElementNotifyRecord& r) {
      std::string text = std::to_string(r.code);
      if (r.code == platform::kEditElement) text += ":" + std::to_string(r.param);
      events_.push_back(text);
    });
  }
  standin::ProjectModel& model() { return host_.model(); }

  Host host_;
  std::vector<std::string> events_;
};

TEST_F(HostModelTest, PlacingCopyingAndEditingNotifyInTheHostsOrder) {
  // New elements are reported for the kinds the add-on catches only.
  ASSERT_NE(model().placeObject("Timber", {}, 0, 0, 0, 0), nullptr);
  EXPECT_EQ(events_, (std::vector<std::string>{"-1", "-2"}));
  events_.clear();
  ASSERT_EQ(host_.table().HostCatchNewElement(host_.token(), platform::kObject, 0, true), platform::kNoError);
  standin::HostElement* e = model().placeObject("Timber", {}, 1, 1, 0, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(events_, (std::vector<std::string>{"-1", "1", "-2"}));
  events_.clear();
  platform::EditRecord move{};
  move.kind = int32_t(platform::fourcc("DRAG"));
  move.flag = 1;
  move.first = {1, 1, 0};
  move.second = {3, 2, 0};
  platform::Guid g = e->header().guid;
  uint32_t stamp = e->header().modiStamp;
  auto moved = model().edit({g}, move);
  EXPECT_EQ(events_, (std::vector<std::string>{"-1", "4:" + std::to_string(int32_t(platform::fourcc("DRAG"))), "-2"}));
  EXPECT_EQ(moved[0], g);
  EXPECT_DOUBLE_EQ(e->record.part.pos.x, 3);
  EXPECT_NE(e->header().modiStamp, stamp);
  events_.clear();
  move.flag = 0;  // keep the original: a copy
  auto copies = model().edit({g}, move);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_NE(copies[0], g);
  EXPECT_EQ(events_, (std::vector<std::string>{"-1", "2", "-2"}));
  standin::HostElement* copy = model().find(copies[0]);
  ASSERT_NE(copy, nullptr);
  EXPECT_DOUBLE_EQ(copy->record.part.pos.x, 5);
  EXPECT_EQ(copy->libraryPart, "Timber");
  events_.clear();
  EXPECT_TRUE(model().changeParameters(g, {}));
  EXPECT_EQ(events_, (std::vector<std::string>{"-1", "3", "-2"}));
}

TEST_F(HostModelTest, RotateAndMirrorTurnThePlacement) {
  standin::HostElement* e = model().placeObject("Timber", {}, 2, 0, 0, 0);
  platform::EditRecord rotate{};
  rotate.kind = int32_t(platform::fourcc("ROTA"));
  rotate.flag = 1;
  rotate.first = {1, 0, 0};
  rotate.second = {0, 1, 0};
  model().edit({e->header().guid}, rotate);
  EXPECT_NEAR(e->record.part.pos.x, 0, 1e-12);
  EXPECT_NEAR(e->record.part.pos.y, 2, 1e-12);
  EXPECT_NEAR(e->record.part.angle, 1.5707963267948966, 1e-12);
  platform::EditRecord mirror{};
  mirror.kind = int32_t(platform::fourcc("MIRR"));
  mirror.flag = 1;
  mirror.first = {1, -5, 0};
  mirror.second = {1, 5, 0};
  model().edit({e->header().guid}, mirror);
  EXPECT_NEAR(e->record.part.pos.x, 2, 1e-12);
  EXPECT_EQ(e->record.part.mirrored, 1);
}

TEST_F(HostModelTest, APlacedPartStandsAsHighAsItsPartsDefaultHeight) {
  ASSERT_TRUE(host_.addLibraryFolder(fixture("parts")));
  // "Bracket" is 0.5 m high by default; a given ZZYZX wins; a part without one keeps the
  // host's 1 m.
  standin::ParameterValue given = standin::ParameterValue::ofNumber("ZZYZX", 0.8);
  given.type = platform::kParamLength;
  struct Case {
    const char* part;
    std::vector<standin::ParameterValue> values;
    double height;
  } cases[] = {{"Bracket", {}, 0.5}, {"Bracket", {given}, 0.8}, {"Timber", {}, 1.0}};
  for (const Case& c : cases) {
    standin::HostElement* e = model().placeObject(c.part, c.values, 0, 0, 0, 0);
    ASSERT_NE(e, nullptr) << c.part;
    EXPECT_DOUBLE_EQ(e->record.part.height, c.height) << c.part;
    platform::Box3DRecord box{};
    ASSERT_TRUE(standin::elementBox(*e, box)) << c.part;
    EXPECT_DOUBLE_EQ(box.zMax - box.zMin, c.height) << c.part;
  }
}

TEST_F(HostModelTest, NestedGroupsHaveAnImmediateAndAMainGroup) {
  auto* a = model().placeObject("Timber", {}, 0, 0, 0, 0);
  auto* b = model().placeObject("Timber", {}, 1, 0, 0, 0);
  auto* c = model().placeObject("Timber", {}, 2, 0, 0, 0);
  platform::Guid inner = model().group({a->header().guid, b->header().guid});
  platform::Guid outer = model().group({inner, c->header().guid});
  EXPECT_EQ(a->header().groupGuid, inner);
  EXPECT_EQ(model().mainGroup(a->header().guid), outer);
  model().select(a->header().guid, true);
  EXPECT_EQ(model().selection().size(), 3u);
  model().deselectAll();
  host_.setGroupsSuspended(true);
  model().select(a->header().guid, true);
  EXPECT_EQ(model().selection().size(), 1u);
}

TEST_F(HostModelTest, TheProjectFileCarriesTheModel) {
  std::string error;
  ASSERT_TRUE(host_.openProject(fixture("barn.trestlar"), error)) << error;
  standin::ProjectModel& m = host_.model();
  auto objects = m.elements(m.plan(), platform::kObject);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0]->parameters.size(), 5u);
  EXPECT_EQ(objects[0]->record.part.libIndex, host_.library().find("Timber", 0));
  EXPECT_EQ(objects[0]->userData, "TSTR");
  EXPECT_FALSE(platform::isZero(objects[0]->header().groupGuid));
  auto hatches = m.elements(m.plan(), platform::kHatch);
  ASSERT_EQ(hatches.size(), 1u);
  EXPECT_EQ(hatches[0]->polygon.ends, (std::vector<int32_t>{0, 5, 9}));
  EXPECT_EQ(hatches[0]->polygon.arcs.size(), 1u);
  const standin::StoredAttribute* grain = m.storedAttribute(platform::kAttrFill, 256);
  ASSERT_NE(grain, nullptr);
  EXPECT_STREQ(grain->record.header.name, "Oak grain");
  EXPECT_EQ(reinterpret_cast<const platform::FillBody*>(grain->record.body)->pattern[7], 0x18);
  const standin::StoredAttribute* workshop = m.storedAttribute(platform::kAttrZoneCategory, 256);
  ASSERT_NE(workshop, nullptr);
  ASSERT_EQ(workshop->parameters.size(), 1u);
  EXPECT_DOUBLE_EQ(workshop->parameters[0].record.value.real, 3.2);
  standin::HostDatabase* section = m.databaseNamed("A-A");
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(section->id.number, 4);
  auto proxies = m.elements(*section, platform::kSectionProxy);
  ASSERT_EQ(proxies.size(), 1u);
  EXPECT_EQ(proxies[0]->header().databaseNumber, 4);

  ProjectData data;
  data.settings.workingUnits = standin::WorkingUnits::Metric;
  data.libraryFolders = {"library"};
  data.model = m.save();
  std::string text;
  ASSERT_TRUE(standin::serialiseProject(data, text, error)) << error;
  ProjectData back;
  ASSERT_TRUE(standin::parseProject(text, "round", back, error)) << error;
  EXPECT_TRUE(back == data) << text;
  // The same model once more through the host: saved and opened again.
  char pattern[] = "/tmp/trestlar-model-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  std::string saved = std::string(pattern) + "/barn.trestlar";
  ASSERT_TRUE(host_.saveProject(saved, error)) << error;
  ASSERT_TRUE(host_.openProject(saved, error)) << error;
  ProjectData again;
  again.settings = data.settings;
  again.libraryFolders = data.libraryFolders;
  again.model = host_.model().save();
  EXPECT_TRUE(again == data);
  std::filesystem::remove_all(pattern);
}

TEST_F(HostModelTest, AnElementThatDoesNotFitItsKindIsRefusedByName) {
  const std::string head = R"({"format": "trestlar-project", "version": 2, "settings": {"workingUnits": "metric"},
      "elements": [)";
  const std::string g = R"("guid": "54524553-0000-4000-0000-000000000001")";
  struct Case {
    std::string element;
    std::string problem;
  } cases[] = {
      {"{" + g + R"(, "kind": "object"})", "elements[0] (object 54524553-0000-4000-0000-000000000001): an object needs \"libraryPart\""},
      {"{" + g + R"(, "kind": "hatch"})", "a hatch needs \"polygon\""},
      {"{" + g + R"(, "kind": "line", "polygon": {"contours": [[[0,0],[1,0]]]}})", "a line has no polygon"},
      {"{" + g + R"(, "kind": "line", "record": {"libIndex": 3}})", "a line has no record field \"libIndex\""},
      {"{" + g + R"(, "kind": "slab", "polygon": {"contours": [[[0,0],[1,0]]]}})", "a closed contour needs three vertices"},
      {"{" + g + R"(, "kind": "spaceship"})", "unknown kind \"spaceship\""},
      {"{" + g + R"(, "kind": "object", "libraryPart": "Timber", "parameters": [{"name": "x", "type": "cheese", "value": 1}]})",
       "unknown parameter type \"cheese\""},
      {"{" + g + R"(, "kind": "object", "libraryPart": "Timber", "database": "section 4"})", "no database \"section 4\""},
      {"{" + g + R"(, "kind": "proxy", "target": "54524553-0000-4000-0000-000000000009"})", "a proxy lives in a section"},
      {"{" + g + R"(, "kind": "text", "group": "54524553-0000-4000-0000-0000000000FF", "text": "x"})", "no group"},
      {"{" + g + R"(, "kind": "text", "text": "a"}, {)" + g + R"(, "kind": "text", "text": "b"})", "is used twice"},
      {R"({"guid": "nope", "kind": "text", "text": "a"})", "\"elements[0].guid\" is not a GUID"},
  };
  for (const Case& c : cases) {
    ProjectData data;
    std::string error;
    EXPECT_FALSE(standin::parseProject(head + c.element + "]}", "bad.trestlar", data, error)) << c.element;
    EXPECT_NE(error.find(c.problem), std::string::npos) << error;
    EXPECT_EQ(error.rfind("bad.trestlar: ", 0), 0u) << error;
  }
}

TEST_F(HostModelTest, VersionOneFilesStillOpenWithAnEmptyModel) {
  ProjectData data;
  std::string error;
  ASSERT_TRUE(standin::parseProject(R"({"format": "trestlar-project", "version": 1, "settings": {"workingUnits": "metric"}})",
                                    "old.trestlar", data, error))
      << error;
  EXPECT_TRUE(data.model.elements.empty());
}

TEST_F(HostModelTest, AVersionOneFileKeepsTheElementsItCarriesThroughASave) {
  const std::string text = R"({"format": "trestlar-project", "version": 1, "settings": {"workingUnits": "metric"},
      "elements": [{"guid": "54524553-0000-4000-0000-000000000001", "kind": "text", "text": "kept"}]})";
  ProjectData data;
  std::string error;
  ASSERT_TRUE(standin::parseProject(text, "old.trestlar", data, error)) << error;
  ASSERT_EQ(data.model.elements.size(), 1u);

  char pattern[] = "/tmp/trestlar-model-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string file = std::string(pattern) + "/old.trestlar";
  std::ofstream(file) << text;
  ASSERT_TRUE(host_.openProject(file, error)) << error;
  ASSERT_TRUE(host_.saveProject(file, error)) << error;
  ProjectData saved;
  ASSERT_TRUE(standin::readProjectFile(file, saved, error)) << error;
  ASSERT_EQ(saved.model.elements.size(), 1u);
  std::ostringstream written;
  written << std::ifstream(file).rdbuf();
  EXPECT_NE(written.str().find("\"kept\""), std::string::npos);
  // A model section of the wrong shape is refused, not passed over.
  EXPECT_FALSE(standin::parseProject(R"({"format": "trestlar-project", "version": 1, "settings": {"workingUnits": "metric"},
      "elements": "not a list"})",
                                     "old.trestlar", data, error));
  EXPECT_NE(error.find("\"elements\" must be"), std::string::npos) << error;
  std::filesystem::remove_all(pattern);
}

}  // namespace
