// Placed library parts: an object the host holds no parameters for takes its library part's
// defaults, and it names its library part.
#include <gtest/gtest.h>

#include <string>

#include "host/library/library_index.h"
#include "model/component_source.h"
#include "model/element_kinds.h"
#include "model/library.h"
#include "model_fixture.h"

namespace {

class ComponentElemTest : public testing_support::ModelHost {
 protected:
  void SetUp() override {
    ModelHost::SetUp();
    ASSERT_TRUE(host().addLibraryFolder(std::string(TRESTLAR_FIXTURES) + "/model/parts"));
    bracket_ = host().library().find("Bracket", 0);
    ASSERT_NE(bracket_, 0);
  }

  // An object of part index at (x, y) that the host holds no parameters for.
  standin::HostElement& bare(int32_t part, double x, double y) {
    platform::ElementRecord r = model().defaults(platform::kObject);
    r.part.libIndex = part;
    r.part.pos = {x, y};
    return model().create(model().plan(), r);
  }

  std::unique_ptr<lunvik::Object> read(const standin::HostElement& e) {
    auto element = plan().findByGuid(lunvik::ElementLink(e.header()));
    return std::unique_ptr<lunvik::Object>(dynamic_cast<lunvik::Object*>(element.release()));
  }

  int32_t bracket_ = 0;
};

TEST_F(ComponentElemTest, AnObjectWithoutParametersTakesItsPartsDefaults) {
  standin::HostElement& placed = bare(bracket_, 1, 2);
  ASSERT_TRUE(placed.parameters.empty());
  auto object = read(placed);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->parameters().count(), 6);
  auto* reach = dynamic_cast<lunvik::LengthParameter*>(object->parameter("REACH"));
  ASSERT_NE(reach, nullptr);
  EXPECT_DOUBLE_EQ(reach->get(), 0.35);
  auto* holes = dynamic_cast<lunvik::RealParameter*>(object->parameter("holes"));
  ASSERT_NE(holes, nullptr);
  EXPECT_EQ(holes->rows(), 3);
  EXPECT_DOUBLE_EQ(holes->get(2, 1), 0.2);
  EXPECT_TRUE(object->parametersAreDefaults());
  EXPECT_DOUBLE_EQ(object->defaultA(), 0.4);
  EXPECT_DOUBLE_EQ(object->defaultB(), 0.25);

  // Stored, the defaults become the element's own parameters.
  reach->set(0.5);
  ASSERT_TRUE(plan().store(*object));
  ASSERT_EQ(placed.parameters.size(), 6u);
  auto again = read(placed);
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(again->parametersAreDefaults());
  EXPECT_DOUBLE_EQ(again->defaultA(), 0.0);
  EXPECT_DOUBLE_EQ(dynamic_cast<lunvik::LengthParameter*>(again->parameter("reach"))->get(), 0.5);
}

TEST_F(ComponentElemTest, TheDefaultsStandInAlsoWhenTheWholeMemoIsRead) {
  standin::HostElement& placed = bare(bracket_, 0, 0);
  lunvik::WholeMemoScope whole;
  auto object = read(placed);
  ASSERT_NE(object, nullptr);
  EXPECT_TRUE(object->parametersAreDefaults());
  EXPECT_EQ(object->parameters().count(), 6);
}

TEST_F(ComponentElemTest, AnObjectWithItsOwnParametersKeepsThem) {
  standin::HostElement* placed = place(0, 0, {{"length", 2.5}});
  ASSERT_NE(placed, nullptr);
  auto object = read(*placed);
  ASSERT_NE(object, nullptr);
  EXPECT_FALSE(object->parametersAreDefaults());
  ASSERT_NE(object->parameter("length"), nullptr);
  EXPECT_EQ(object->parameter("reach"), nullptr);
}

TEST_F(ComponentElemTest, APartTheHostDoesNotKnowLeavesTheListEmpty) {
  auto object = read(bare(999, 0, 0));
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->parameters().count(), 0);
  EXPECT_FALSE(object->parametersAreDefaults());
}

TEST_F(ComponentElemTest, AnObjectNamesItsLibraryPart) {
  auto object = read(bare(bracket_, 0, 0));
  ASSERT_NE(object, nullptr);
  lunvik::ComponentLink link = object->componentLink();
  EXPECT_TRUE(link.isValid());
  EXPECT_EQ(link.type(), platform::kPartObject);
  EXPECT_EQ(link.index(), bracket_);
  auto source = project().library().getComponent(link, nullptr);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->name(), "Bracket");
  // A lamp's link is of the lamp type; an element of no part names none.
  lunvik::Lamp lamp;
  EXPECT_FALSE(lamp.componentLink().isValid());
  platform::ElementRecord r = model().defaults(platform::kLamp);
  r.part.libIndex = bracket_;
  lunvik::Lamp placedLamp(r, lunvik::ElementLink(r.header));
  EXPECT_EQ(placedLamp.componentLink().type(), platform::kPartLamp);
}

}  // namespace
