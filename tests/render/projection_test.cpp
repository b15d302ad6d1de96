// The views' projections: where model points land in the picture and which way is near.
#include <gtest/gtest.h>

#include <cmath>

#include "host/render/projection.h"

namespace {

using standin::Projection;
using standin::Vec3;

constexpr double kPi = 3.14159265358979323846;
constexpr double kNear = 1e-12;

TEST(Projection, ViewsMapModelPointsByHand) {
  const struct {
    const char* what;
    Projection projection;
    Vec3 point;
    double x, y, depth;
  } cases[] = {
      {"plan", Projection::plan(), {2, 3, 4}, 2, 3, 4},
      // Along the line from (1, 1) to (5, 1): x from the first point, y up; a point on the
      // line's left (y > 1) lies behind it.
      {"cut line", Projection::cutLine(1, 1, 5, 1), {3, 4, 2}, 2, 2, -3},
      {"cut line, right side", Projection::cutLine(1, 1, 5, 1), {3, -1, 0}, 2, 0, 2},
      // Along +y from the origin: the view looks to -x.
      {"cut line up the plan", Projection::cutLine(0, 0, 0, 2), {-1, 1, 0.5}, 1, 0.5, -1},
      {"a view's own frame", Projection::viewFrame(), {2, 3, 4}, 2, 4, -3},
      // From the south (azimuth -90 degrees), level: x to the right, z up, -y toward us.
      {"axonometric from the south", Projection::axonometric(-kPi / 2, 0), {2, -3, 4}, 2, 4, 3},
      // From straight above: the plan's x and y, up toward us.
      {"axonometric from above", Projection::axonometric(-kPi / 2, kPi / 2), {2, 3, 4}, 2, 3, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    standin::PicturePoint p = c.projection.project(c.point);
    EXPECT_NEAR(p.x, c.x, kNear);
    EXPECT_NEAR(p.y, c.y, kNear);
    EXPECT_NEAR(c.projection.depth(c.point), c.depth, kNear);
  }
}

TEST(Projection, AFaceTowardTheViewerHasANormalTowardThem) {
  const Projection plan = Projection::plan();
  EXPECT_GT(plan.toward({0, 0, 1}), 0);
  EXPECT_LT(plan.toward({0, 0, -1}), 0);
  EXPECT_NEAR(plan.toward({1, 0, 0}), 0, kNear);
  // The 3D view looks from south-south-west and above: the south, west and top faces show.
  const Projection model = Projection::axonometric(4 * kPi / 3, kPi / 6);
  EXPECT_GT(model.toward({0, -1, 0}), 0);
  EXPECT_GT(model.toward({-1, 0, 0}), 0);
  EXPECT_GT(model.toward({0, 0, 1}), 0);
  EXPECT_LT(model.toward({0, 1, 0}), 0);
  EXPECT_LT(model.toward({1, 0, 0}), 0);
  // Its picture keeps up up.
  EXPECT_GT(model.project({0, 0, 1}).y, model.project({0, 0, 0}).y);
}

}  // namespace
