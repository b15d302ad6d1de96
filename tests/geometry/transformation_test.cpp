#include <gtest/gtest.h>

#include <cstring>

#include "geometry/transformation.h"
#include "platform/host_types.h"

namespace lunvik {
namespace {

TEST(TransformationTest, TheConstructorFillsTheRecord) {
  const Transformation t(int32_t(platform::fourcc("ROTA")), true, CadPoint(1, 2, 3));
  const platform::EditRecord& r = t.record();
  EXPECT_EQ(r.kind, int32_t(platform::fourcc("ROTA")));
  EXPECT_EQ(r.flag, 0);  // the original is kept
  EXPECT_EQ(r.origin.x, 1.0);
  EXPECT_EQ(r.origin.y, 2.0);
  const uint8_t zero[64] = {};
  EXPECT_EQ(std::memcmp(r.reserved, zero, sizeof zero), 0);
}

TEST(TransformationTest, MoveTransformIsADragFromThePoint) {
  const MoveTransform m(CadPoint(1, 0, 2), CadPoint(5, 5, 0));
  const platform::EditRecord& r = m.record();
  EXPECT_EQ(r.kind, int32_t(platform::fourcc("DRAG")));
  EXPECT_EQ(r.flag, 1);
  EXPECT_EQ(r.first.x, 5.0);
  EXPECT_EQ(r.second.x, 6.0);
  EXPECT_EQ(r.second.z, 2.0);
  EXPECT_EQ(r.third.x, 0.0);
  const auto c = m.clone();
  EXPECT_NE(dynamic_cast<MoveTransform*>(c.get()), nullptr);
  EXPECT_TRUE(*c == m);
}

struct DragCase {
  const char* name;
  CadPoint offset;
  bool equal;
};

TEST(TransformationTest, EqualityComparesThePointsWithTheTolerance) {
  const MoveTransform base(CadPoint(1, 0, 0), CadPoint(0, 0, 0));
  const DragCase cases[] = {
      {"same", CadPoint(1, 0, 0), true},
      {"end 0.000005 apart", CadPoint(1.000005, 0, 0), true},
      {"end 0.00002 apart", CadPoint(1.00002, 0, 0), false},
  };
  for (const auto& c : cases) EXPECT_EQ(base == MoveTransform(c.offset, CadPoint()), c.equal) << c.name;
  EXPECT_FALSE(base == Transformation(int32_t(platform::fourcc("DRAG")), true, CadPoint()));
}

TEST(TransformListTest, CopiesCloneTheMembers) {
  TransformList list;
  list.push_back(std::make_unique<MoveTransform>(CadPoint(1, 0, 0), CadPoint()));
  list.push_back(std::make_unique<Transformation>(7, true, CadPoint(2, 2, 0)));
  TransformList copy(list);
  ASSERT_EQ(copy.size(), 2u);
  EXPECT_NE(&copy[0], &list[0]);
  EXPECT_NE(dynamic_cast<MoveTransform*>(&copy[0]), nullptr);
  EXPECT_TRUE(copy[1] == list[1]);
  copy[1].record().origin.x = 9.0;
  EXPECT_EQ(list[1].record().origin.x, 2.0);
  TransformList assigned;
  assigned = list;
  EXPECT_EQ(assigned.size(), 2u);
}

}  // namespace
}  // namespace lunvik
