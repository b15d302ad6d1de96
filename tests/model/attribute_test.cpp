// Attributes written through the host: layers shown, hidden, locked and created, fills,
// composites with their skins and zone categories with their parameters, kept in the project
// file.
#include <gtest/gtest.h>

#include <string>

#include "model/attribute.h"
#include "model_fixture.h"

namespace {

using lunvik::Layer;

class AttributeTest : public testing_support::ModelHost {
 protected:
  // Saves the project and opens it again.
  void saveAndReopen() {
    std::string error;
    const std::string path = appData() + "/attributes.trestlar";
    ASSERT_TRUE(host().saveProject(path, error)) << error;
    ASSERT_TRUE(host().openProject(path, error)) << error;
  }
};

TEST_F(AttributeTest, HidingAndLockingALayerIsWrittenBackToTheHost) {
  Layer layer(1);
  ASSERT_TRUE(layer.setHidden(true));
  ASSERT_NE(model().layer(1), nullptr);
  EXPECT_TRUE(model().layer(1)->hidden);
  ASSERT_TRUE(layer.setLocked(true));
  EXPECT_TRUE(model().layer(1)->locked);
  ASSERT_TRUE(layer.setHidden(false));
  EXPECT_FALSE(model().layer(1)->hidden);
  EXPECT_TRUE(model().layer(1)->locked);
  EXPECT_EQ(model().layer(1)->name, "Layer 1");
  // A fresh wrapper reads what the host keeps.
  EXPECT_TRUE(Layer(1).isLocked());
  EXPECT_FALSE(Layer(1).isHidden());
}

TEST_F(AttributeTest, TheCatalogueForgetsALayerThatChanged) {
  lunvik::Specification& catalogue = project().specification();
  const Layer* cached = catalogue.layer(1);
  ASSERT_NE(cached, nullptr);
  EXPECT_FALSE(cached->isHidden());
  Layer layer(1, &catalogue);
  ASSERT_TRUE(layer.setHidden(true));
  const Layer* fresh = catalogue.layer(1);
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(fresh->isHidden());
  EXPECT_TRUE(Layer(1, &catalogue).isHidden());
}

TEST_F(AttributeTest, ANewLayerIsCreatedSavedAndReadBack) {
  Layer timber(0);
  timber.setName("Timber");
  ASSERT_TRUE(timber.setHidden(true));  // not in the host yet: only the flag
  ASSERT_TRUE(timber.create()) << timber.lastError();
  EXPECT_EQ(timber.index(), 2);
  const standin::FileLayer* made = model().layer(2);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->name, "Timber");
  EXPECT_TRUE(made->hidden);
  // New profiles show and unlock the timber layer.
  ASSERT_TRUE(timber.setHidden(false));
  ASSERT_TRUE(timber.setLocked(true));
  saveAndReopen();
  made = model().layer(2);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->name, "Timber");
  EXPECT_FALSE(made->hidden);
  EXPECT_TRUE(made->locked);
  Layer back(2);
  EXPECT_EQ(back.name(), "Timber");
  EXPECT_TRUE(back.isLocked());
}

TEST_F(AttributeTest, AnEmptyOrTakenNameAndAMissingLayerAreRefused) {
  Layer unnamed(0);
  EXPECT_FALSE(unnamed.create());
  EXPECT_EQ(unnamed.lastError(), platform::kErrBadParameter);
  Layer twin(0);
  twin.setName("LAYER 1");
  EXPECT_FALSE(twin.create());
  EXPECT_EQ(model().layers().size(), 1u);
  // A layer the host does not have cannot be written; its flags stay as they were.
  Layer ghost(77);
  EXPECT_FALSE(ghost.setHidden(true));
  EXPECT_FALSE(ghost.isHidden());
  EXPECT_EQ(model().layer(77), nullptr);
  // Renaming onto another's name is refused and leaves the host's layer alone.
  Layer second(0);
  second.setName("Second");
  ASSERT_TRUE(second.create());
  second.setName("layer 1");
  EXPECT_FALSE(second.store());
  EXPECT_EQ(model().layer(second.index())->name, "Second");
}

TEST_F(AttributeTest, AFillKeepsItsKindPatternSpacingAndAngle) {
  lunvik::Fill grain(0);
  grain.setName("Oak grain");
  grain.setFillKind(platform::kFillPattern);
  grain.setRow(0, 0x81);
  grain.setDot(3, 4, true);
  grain.setSpacing(0.002);
  grain.setAngle(0.5);
  ASSERT_TRUE(grain.create()) << grain.lastError();
  EXPECT_GT(grain.index(), 255);  // past the fills every project has
  saveAndReopen();
  lunvik::Fill back(grain.index());
  EXPECT_EQ(back.name(), "Oak grain");
  EXPECT_EQ(back.fillKind(), platform::kFillPattern);
  EXPECT_EQ(back.row(0), 0x81);
  EXPECT_TRUE(back.dot(3, 4));
  EXPECT_FALSE(back.dot(3, 5));
  EXPECT_FALSE(back.dot(8, 0));
  EXPECT_DOUBLE_EQ(back.spacing(), 0.002);
  EXPECT_DOUBLE_EQ(back.angle(), 0.5);
  // A fill every project has can be changed too; its name is its number until then.
  lunvik::Fill solid(3);
  EXPECT_EQ(solid.name(), "3");
  solid.setFillKind(platform::kFillSolid);
  ASSERT_TRUE(solid.store());
  EXPECT_EQ(lunvik::Fill(3).fillKind(), platform::kFillSolid);
}

TEST_F(AttributeTest, ACompositeKeepsItsSkins) {
  lunvik::Composite wall(0);
  wall.setName("Oak frame wall");
  wall.skins().push_back(lunvik::Skin{5, 2, false, 0.02});
  wall.skins().push_back(lunvik::Skin{7, 3, true, 0.15});
  wall.setRow(7, 0xFF);
  ASSERT_TRUE(wall.create()) << wall.lastError();
  saveAndReopen();
  lunvik::Composite back(wall.index());
  EXPECT_EQ(back.skinCount(), 2);
  ASSERT_EQ(back.skins().size(), 2u);
  EXPECT_EQ(back.skins()[1].fill, 7);
  EXPECT_TRUE(back.skins()[1].core);
  EXPECT_DOUBLE_EQ(back.skins()[1].thickness, 0.15);
  EXPECT_EQ(back.row(7), 0xFF);
  // Storing a changed list of skins writes it; storing without reading them keeps them.
  back.skins().pop_back();
  ASSERT_TRUE(back.store());
  lunvik::Composite renamed(wall.index());
  renamed.setName("Oak boarding");
  ASSERT_TRUE(renamed.store());
  lunvik::Composite last(wall.index());
  EXPECT_EQ(last.name(), "Oak boarding");
  EXPECT_EQ(last.skinCount(), 1);
  ASSERT_EQ(last.skins().size(), 1u);
  EXPECT_EQ(last.skins()[0].fill, 5);
}

TEST_F(AttributeTest, AZoneCategoryKeepsItsStampParameters) {
  lunvik::ZoneSpec workshop(0);
  workshop.setName("Workshop");
  workshop.add(new lunvik::StringParameter("stampText", "", "Carpentry"));
  workshop.add(new lunvik::LengthParameter("ceiling", "", 3.2));
  ASSERT_TRUE(workshop.create()) << workshop.lastError();
  saveAndReopen();
  lunvik::ZoneSpec back(workshop.index());
  EXPECT_EQ(back.name(), "Workshop");
  ASSERT_EQ(back.count(), 2);
  auto* text = dynamic_cast<lunvik::StringParameter*>(back.parameter("STAMPTEXT"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->get().str(), "Carpentry");
  auto* ceiling = dynamic_cast<lunvik::LengthParameter*>(back.parameter("ceiling"));
  ASSERT_NE(ceiling, nullptr);
  EXPECT_DOUBLE_EQ(ceiling->get(), 3.2);
}

}  // namespace
