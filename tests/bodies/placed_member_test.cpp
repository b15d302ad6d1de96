// A timber member placed with the host's own tool: its bodies come from its library part's
// generator, and the element's box is its 3D model's extent.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/model/project_model.h"
#include "model/drawing.h"
#include "model/element.h"
#include "model/element_kinds.h"
#include "model/parameter.h"
#include "model/parameter_list.h"
#include "model/element3d.h"
#include "model/project.h"
#include "platform/body_records.h"
#include "runtime/addon.h"
#include "support/loaded_host.h"

namespace {

class PlacedMemberTest : public testing_support::LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    host().newProject();
    ASSERT_TRUE(host().addLibraryFolder(std::string(TRESTLAR_SOURCE_DIR) + "/library"));
  }

  standin::HostElement* place(const char* part, double length, double x, double y, double angle) {
    standin::ParameterValue v;
    v.name = "length";
    v.type = platform::kParamLength;
    v.number = length;
    return host().model().placeObject(part, {v}, x, y, 0, angle);
  }
};

TEST_F(PlacedMemberTest, APlacedMembersBodyIsItsPartsShapeWhereItStands) {
  standin::HostElement* placed = place("Rectilinear", 5, 1, 2, 3.14159265358979323846 / 2);
  ASSERT_NE(placed, nullptr);
  lunvik::ElementLink link(placed->header());
  lunvik::Element3D model(link);
  ASSERT_EQ(model.bodies().size(), 1u);
  lunvik::CadCube box;
  ASSERT_TRUE(model.extent(box));
  // Turned a quarter: the 5 m axis runs along y from the placement point, 0.2 x 0.2 section
  // centred across it and standing on it.
  EXPECT_NEAR(box.min().getY(), 2, 1e-6);
  EXPECT_NEAR(box.max().getY(), 7, 1e-6);
  EXPECT_NEAR(box.min().getX(), 0.9, 1e-6);
  EXPECT_NEAR(box.max().getX(), 1.1, 1e-6);
  EXPECT_NEAR(box.min().getZ(), 0, 1e-6);
  EXPECT_NEAR(box.max().getZ(), 0.2, 1e-6);

  platform::ElementQueryRecord query{link.typeID(), link.index(), 0.00001};
  platform::ElementQuantityRecord answer{};
  ASSERT_EQ(host().table().HostElementQuery(host().token(), &query, &answer), platform::kNoError);
  EXPECT_NEAR(answer.volume, 5 * 0.2 * 0.2, 1e-9);  // the default cuts are square at both ends
}

TEST_F(PlacedMemberTest, TheElementsBoundingBoxIsItsModelsExtent) {
  standin::HostElement* placed = place("Round", 3, 0, 0, 0);
  ASSERT_NE(placed, nullptr);
  auto element = lunvik::theAddon()->project()->plan().findByGuid(lunvik::ElementLink(placed->header()));
  ASSERT_NE(element, nullptr);
  std::unique_ptr<lunvik::CadCube> box = element->boundingBox();
  ASSERT_NE(box, nullptr);
  EXPECT_NEAR(box->min().getX(), 0, 1e-6);
  EXPECT_NEAR(box->max().getX(), 3, 1e-6);
  ASSERT_NE(element->model3D(), nullptr);
  EXPECT_EQ(element->model3D()->bodies().size(), 1u);
  std::unique_ptr<lunvik::Element3D> taken = element->takeModel3D();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(taken->bodies().size(), 1u);
}

TEST_F(PlacedMemberTest, SwappingTheLibraryPartKeepsSharedValuesAndRedrawsTheMember) {
  standin::HostElement* placed = place("Rectilinear", 3.2, 0, 0, 0);
  ASSERT_NE(placed, nullptr);
  lunvik::Plan& plan = lunvik::theAddon()->project()->plan();
  auto element = plan.findByGuid(lunvik::ElementLink(placed->header()));
  auto* object = dynamic_cast<lunvik::Object*>(element.get());
  ASSERT_NE(object, nullptr);
  // The new part's defaults, as the host's library gives them.
  int32_t taper = host().library().find("Tapered Timber", 0);
  double a = 0, b = 0;
  platform::GSHandle records = nullptr;
  ASSERT_EQ(host().table().HostGetLibraryPartParameters(host().token(), taper, &a, &b, &records), platform::kNoError);
  lunvik::ParameterList defaults;
  bool read = defaults.fromHostRecords(records);
  lunvik::ParameterList::disposeHostRecords(records);
  ASSERT_TRUE(read);
  object->setComponent(taper, false, &defaults);
  auto* length = dynamic_cast<lunvik::LengthParameter*>(object->parameter("length"));
  auto* endWide = dynamic_cast<lunvik::LengthParameter*>(object->parameter("endWide"));
  ASSERT_TRUE(length && endWide);
  EXPECT_DOUBLE_EQ(length->get(), 3.2);
  EXPECT_DOUBLE_EQ(endWide->get(), 0.15);
  // The kind code is shared by name too; a swap gives the member the new part's.
  lunvik::Parameter* id = object->parameter("ID");
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(id->getText(), lunvik::CadString("RECT"));
  ASSERT_TRUE(id->setText(defaults.parameter("ID")->getText()));
  ASSERT_TRUE(plan.store(*object));

  platform::ElementQueryRecord query{platform::kObject, placed->header().index, 0.00001};
  platform::ElementQuantityRecord answer{};
  ASSERT_EQ(host().table().HostElementQuery(host().token(), &query, &answer), platform::kNoError);
  // A taper from the kept 0.2 x 0.2 to the new part's 0.15 x 0.2 over 3.2 m.
  double w1 = 0.2, d1 = 0.2, w2 = 0.15, d2 = 0.2;
  EXPECT_NEAR(answer.volume, 3.2 * (w1 * d1 / 3 + (w1 * d2 + w2 * d1) / 6 + w2 * d2 / 3), 1e-9);
}

TEST_F(PlacedMemberTest, AnAssemblyMarkerHasNoBodiesAndNoModelBox) {
  standin::HostElement* placed = place("Assembly", 1, 0, 0, 0);
  ASSERT_NE(placed, nullptr);
  lunvik::Element3D model{lunvik::ElementLink(placed->header())};
  EXPECT_TRUE(model.bodies().empty());
}

TEST_F(PlacedMemberTest, BodiesAreMadeAnewOnlyWhenTheValuesTheyAreMadeFromChange) {
  standin::HostElement* placed = place("Rectilinear", 2, 0, 0, 0);
  ASSERT_NE(placed, nullptr);
  const int32_t type = placed->record.header.typeID, index = placed->record.header.index;
  int32_t first = 0, last = 0, again = 0, end = 0;
  ASSERT_TRUE(host().bodies().bodyRange(type, index, first, last));
  // A new stamp over the same values keeps the bodies, and so does a changed value the
  // generator never read (the hotspot count).
  host().model().touch(*placed);
  ASSERT_TRUE(host().bodies().bodyRange(type, index, again, end));
  EXPECT_EQ(again, first);
  bool spotCount = false;
  for (standin::StoredParameter& p : placed->parameters)
    if (std::string(p.record.name) == "spotCount") {
      p.record.value.real += 3;
      spotCount = true;
    }
  ASSERT_TRUE(spotCount);
  host().model().touch(*placed);
  ASSERT_TRUE(host().bodies().bodyRange(type, index, again, end));
  EXPECT_EQ(again, first);
  // A changed value, a moved element and a changed storey elevation each make new ones.
  for (const char* what : {"value", "position", "storey"}) {
    SCOPED_TRACE(what);
    if (std::string(what) == "value") {
      for (standin::StoredParameter& p : placed->parameters)
        if (std::string(p.record.name) == "length") p.record.value.real = 2.5;
    } else if (std::string(what) == "position") {
      placed->record.part.pos.x += 1;
    } else {
      host().model().setStoreys({standin::FileStorey{0, 1.5, "Raised"}}, 0);
    }
    if (std::string(what) != "storey") host().model().touch(*placed);
    int32_t now = 0, nowLast = 0;
    ASSERT_TRUE(host().bodies().bodyRange(type, index, now, nowLast));
    EXPECT_GT(now, again);
    again = now;
  }
  double volume = 0, surface = 0;
  ASSERT_TRUE(host().bodies().quantities(type, index, volume, surface));
  EXPECT_NEAR(volume, 2.5 * 0.2 * 0.2, 1e-9);
}

}  // namespace
