// Elements of every kind are found by their element ID through the model's index.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/model/project_model.h"
#include "host/project/project_file.h"

namespace {

const char* const kProject = R"({
  "format": "trestlar-project", "version": 2, "settings": {"workingUnits": "metric"},
  "databases": [{"kind": "section", "index": 1, "name": "A-A", "cut": [0, 0, 5, 0], "angle": 0}],
  "elements": [
    {"guid": "54524553-0000-4000-0000-000000000001", "kind": "object", "id": "OBJ", "libraryPart": "Timber"},
    {"guid": "54524553-0000-4000-0000-000000000002", "kind": "hatch", "id": "HAT",
     "polygon": {"closed": true, "contours": [[[0, 0], [1, 0], [1, 1]]]}},
    {"guid": "54524553-0000-4000-0000-000000000003", "kind": "polyline", "id": "PL",
     "polygon": {"closed": false, "contours": [[[0, 0], [2, 0]]]}},
    {"guid": "54524553-0000-4000-0000-000000000004", "kind": "circle", "id": "CIR", "record": {"r": 1}},
    {"guid": "54524553-0000-4000-0000-000000000005", "kind": "arc", "id": "ARC", "record": {"r": 1}},
    {"guid": "54524553-0000-4000-0000-000000000006", "kind": "wall", "id": "WAL", "record": {"x2": 3}},
    {"guid": "54524553-0000-4000-0000-000000000007", "kind": "slab", "id": "SAME",
     "polygon": {"closed": true, "contours": [[[0, 0], [1, 0], [1, 1]]]}},
    {"guid": "54524553-0000-4000-0000-000000000008", "kind": "hatch", "id": "SAME", "database": "section 1",
     "polygon": {"closed": true, "contours": [[[0, 0], [1, 0], [1, 1]]]}},
    {"guid": "54524553-0000-4000-0000-000000000009", "kind": "hatch", "id": "SAME",
     "polygon": {"closed": true, "contours": [[[0, 0], [1, 0], [1, 1]]]}},
    {"guid": "54524553-0000-4000-0000-00000000000A", "kind": "line", "record": {"x2": 1}}
  ]
})";

class ElementIds : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::ProjectData data;
    std::string error;
    ASSERT_TRUE(standin::parseProject(kProject, "ids.trestlar", data, error)) << error;
    model_.load(data.model);
  }
  std::string guidOf(const standin::HostElement* e) { return standin::guidString(e->header().guid); }

  standin::ProjectModel model_;
};

TEST_F(ElementIds, EveryKindWithAnIdIsFoundByIt) {
  const struct {
    const char* id;
    int32_t kind;
  } cases[] = {{"OBJ", platform::kObject}, {"HAT", platform::kHatch}, {"PL", platform::kPolyLine},
               {"CIR", platform::kCircle}, {"ARC", platform::kArc},   {"WAL", platform::kWall}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    std::vector<standin::HostElement*> found = model_.findById(c.id);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->header().typeID, c.kind);
    EXPECT_EQ(standin::elementId(found[0]->record), c.id);
  }
  EXPECT_TRUE(model_.findById("").empty());
  EXPECT_TRUE(model_.findById("hat").empty());  // letter case counts
  EXPECT_TRUE(model_.findById("NONE").empty());
}

TEST_F(ElementIds, AnIdSharedByElementsAnswersThemAllInDatabaseKindAndIndexOrder) {
  std::vector<standin::HostElement*> found = model_.findById("SAME");
  ASSERT_EQ(found.size(), 3u);
  // The plan's slab (kind 8) and hatch (18), then the section's hatch.
  EXPECT_EQ(guidOf(found[0]), "54524553-0000-4000-0000-000000000007");
  EXPECT_EQ(guidOf(found[1]), "54524553-0000-4000-0000-000000000009");
  EXPECT_EQ(guidOf(found[2]), "54524553-0000-4000-0000-000000000008");
}

TEST_F(ElementIds, TheIndexFollowsNewChangedAndDeletedElements) {
  standin::HostElement* hatch = model_.findById("HAT").at(0);
  std::strncpy(hatch->record.polygon.id, "HAT-2", sizeof hatch->record.polygon.id - 1);
  model_.touch(*hatch);
  EXPECT_TRUE(model_.findById("HAT").empty());
  ASSERT_EQ(model_.findById("HAT-2").size(), 1u);

  model_.remove(*model_.findById("CIR").at(0));
  EXPECT_TRUE(model_.findById("CIR").empty());

  platform::ElementRecord r = model_.defaults(platform::kHatch);
  std::strncpy(r.polygon.id, "NEW", sizeof r.polygon.id - 1);
  standin::HostElement& made = model_.create(model_.plan(), r);
  ASSERT_EQ(model_.findById("NEW").size(), 1u);
  EXPECT_EQ(model_.findById("NEW")[0], &made);

  model_.clear();
  EXPECT_TRUE(model_.findById("HAT-2").empty());
}

TEST_F(ElementIds, APolylineKeepsItsIdThroughTheProjectFile) {
  standin::ModelData saved = model_.save();
  bool found = false;
  for (const standin::FileElement& e : saved.elements)
    if (e.kind == "polyline") {
      EXPECT_EQ(e.id, "PL");
      found = true;
    }
  EXPECT_TRUE(found);
}

}  // namespace
