#include <gtest/gtest.h>

#include <stdexcept>

#include "geometry/cad_cube.h"
#include "geometry_test_support.h"

namespace lunvik {
namespace {

using testing::expectPoint;

struct BoxCase {
  CadPoint point;
  int plan;
  int space;
};

TEST(CadCubeTest, LocateAnswersFourOnlyNearCorners) {
  const CadCube box(CadPoint(0, 0, 0), CadPoint(2, 1, 3));
  const BoxCase cases[] = {
      {CadPoint(1, 0.5, 1), kLocInside, kLocInside},
      {CadPoint(1, 0, 0), kLocInside, kLocInside},          // middle of a side
      {CadPoint(2, 1, 1.5), kLocOn, kLocInside},            // plan corner, middle height
      {CadPoint(2.000005, 0, 3), kLocOn, kLocOn},           // a corner within the tolerance
      {CadPoint(2.00002, 0.5, 1), kLocOutside, kLocOutside},
      {CadPoint(1, 0.5, 4), kLocInside, kLocOutside},        // above the box
  };
  for (const auto& c : cases) {
    EXPECT_EQ(box.locate2D(c.point, kTolerance), c.plan) << c.point.getX() << "," << c.point.getY();
    EXPECT_EQ(box.locate(c.point, kTolerance), c.space) << c.point.getX() << "," << c.point.getY();
  }
}

TEST(CadCubeTest, AddNormalisesAndWidens) {
  CadCube box(CadPoint(2, 2, 2), CadPoint(0, 0, 0));
  box.add(CadPoint(3, -1, 1));
  expectPoint(box.min(), 0, -1, 0);
  expectPoint(box.max(), 3, 2, 2);
  box.add(CadCube(CadPoint(-5, 0, 0), CadPoint(0, 0, 9)));
  expectPoint(box.min(), -5, -1, 0);
  expectPoint(box.max(), 3, 2, 9);
}

TEST(CadCubeTest, SizesAnchorsAndRecords) {
  CadCube box(CadPoint(0, 0, 0), CadPoint(4, 2, 1));
  EXPECT_EQ(box.size(0), 4.0);
  EXPECT_EQ(box.size(2), 1.0);
  EXPECT_THROW(box.size(3), std::out_of_range);
  EXPECT_EQ(box.maxDimension(), 4.0);
  EXPECT_EQ(box.area(), 8.0);
  EXPECT_EQ(box.volume(), 8.0);
  expectPoint(box.anchorPoint(0), 0, 0, 0);
  expectPoint(box.anchorPoint(4), 2, 1, 0);
  expectPoint(box.anchorPoint(8), 4, 2, 0);
  expectPoint(box.anchorPoint(5), 4, 1, 0);
  const platform::BoxRecord r = CadCube(CadPoint(4, 2, 0), CadPoint(0, 0, 0)).getBox();
  EXPECT_EQ(r.xMin, 0.0);
  EXPECT_EQ(r.yMax, 2.0);
  box.centreAt(CadPoint(0, 0, 0));
  expectPoint(box.min(), -2, -1, -0.5);
  box.scale(2.0);
  expectPoint(box.max(), 4, 2, 1);
  box.grow(1.0);
  expectPoint(box.min(), -5, -3, -2);
}

TEST(CadCubeTest, Overlaps) {
  const CadCube a(CadPoint(0, 0, 0), CadPoint(1, 1, 1));
  EXPECT_TRUE(a.overlaps(CadCube(CadPoint(1, 1, 1), CadPoint(2, 2, 2))));  // touching
  EXPECT_FALSE(a.overlaps(CadCube(CadPoint(0, 0, 1.1), CadPoint(1, 1, 2))));
  EXPECT_TRUE(a.overlaps2D(CadCube(CadPoint(0, 0, 1.1), CadPoint(1, 1, 2))));
  EXPECT_FALSE(a.overlaps2D(CadCube(CadPoint(2, 0, 0), CadPoint(3, 1, 1))));
}

}  // namespace
}  // namespace lunvik
