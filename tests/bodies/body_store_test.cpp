// The host's 3D model: element bodies made from their sources, made anew when a source
// changes, and the quantities that go with them.
#include <gtest/gtest.h>

#include <string>

#include "host/bodies/body_store.h"
#include "host/library/library_index.h"
#include "platform/parameter_records.h"

namespace {

standin::PartParameter length(const std::string& name, double value) {
  standin::PartParameter p;
  p.name = name;
  p.typeID = platform::kParamLength;
  p.numbers = {value};
  return p;
}

const standin::LibraryPart& libraryPart(standin::LibraryIndex& index, const char* name) {
  index.rebuild({std::string(TRESTLAR_SOURCE_DIR) + "/library"});
  return *index.part(index.find(name, 0));
}

TEST(BodyStore, AnElementTakesItsPartsDefaultsForTheValuesItLacks) {
  standin::LibraryIndex index;
  const standin::LibraryPart& rect = libraryPart(index, "Rectilinear");
  standin::BodySource source = standin::bodySourceFor(rect, {length("LENGTH", 5)}, standin::BodyPlacement{});
  standin::BodyStore store;
  store.place(6, 1, source);
  double volume = 0, surface = 0;
  ASSERT_TRUE(store.quantities(6, 1, volume, surface));
  EXPECT_NEAR(volume, 5 * 0.2 * 0.2, 1e-9);  // the element's length, the part's section
}

TEST(BodyStore, ChangedSourcesGetNewBodiesAndUnchangedOnesKeepTheirs) {
  standin::LibraryIndex index;
  const standin::LibraryPart& round = libraryPart(index, "Round");
  standin::BodyStore store;
  store.place(6, 4, standin::bodySourceFor(round, {}, standin::BodyPlacement{}));
  int32_t first = 0, last = 0;
  ASSERT_TRUE(store.bodyRange(6, 4, first, last));
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, 1);
  int32_t again = 0;
  ASSERT_TRUE(store.bodyRange(6, 4, again, last));
  EXPECT_EQ(again, first);

  store.place(6, 4, standin::bodySourceFor(round, {length("length", 1)}, standin::BodyPlacement{1, 0, 0, 0, false}));
  ASSERT_TRUE(store.bodyRange(6, 4, again, last));
  EXPECT_EQ(again, 2);
  ASSERT_NE(store.body(1), nullptr);  // bodies handed out before stay readable
  EXPECT_NEAR(store.body(2)->boxMax.x, 2, 1e-9);

  store.remove(6, 4);
  EXPECT_FALSE(store.bodyRange(6, 4, first, last));
  double volume = 0, surface = 0;
  EXPECT_FALSE(store.quantities(6, 4, volume, surface));
}

TEST(BodyStore, TheProviderAnswersForElementsNotPlacedByHand) {
  standin::BodyStore store;
  int asked = 0;
  store.setProvider([&](int32_t typeID, int32_t index, standin::BodySource& source) {
    ++asked;
    if (typeID != 6 || index != 3) return false;
    source.kind = "RECT";
    source.parameters = {length("length", 2), length("profWide", 0.1), length("profDeep", 0.1)};
    return true;
  });
  double volume = 0, surface = 0;
  ASSERT_TRUE(store.quantities(6, 3, volume, surface));
  EXPECT_NEAR(volume, 0.02, 1e-12);
  EXPECT_NEAR(surface, 4 * 2 * 0.1 + 2 * 0.01, 1e-12);
  EXPECT_FALSE(store.quantities(6, 2, volume, surface));
  EXPECT_EQ(asked, 2);
}

}  // namespace
