#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/cad_arc.h"
#include "geometry/cad_line.h"
#include "geometry/leveller.h"
#include "geometry/plane.h"
#include "geometry/rotater.h"
#include "geometry_test_support.h"

namespace lunvik {
namespace {

using testing::expectPoint;

TEST(RotaterTest, AnAngleWithinTheToleranceIsInactive) {
  const XRotater r(0.000005);
  EXPECT_FALSE(r.isActive());
  CadPoint p(1, 2, 3);
  r.rotate(p);
  expectPoint(p, 1, 2, 3, 0.0);
  CadLine l(CadPoint(0, 1, 0), CadPoint(0, 0, 1));
  r.rotate(l);
  expectPoint(l.start(), 0, 1, 0, 0.0);
}

struct AxisCase {
  const char* name;
  std::unique_ptr<Rotater> rotater;
  CadPoint from;
  CadPoint to;
};

TEST(RotaterTest, AxisFormulas) {
  AxisCase cases[] = {
      {"X by -90", std::make_unique<XRotater>(-kHalfPi), CadPoint(0, 1, 0), CadPoint(0, 0, -1)},
      {"X by 90", std::make_unique<XRotater>(kHalfPi), CadPoint(0, 0, 1), CadPoint(0, -1, 0)},
      {"Y by 90", std::make_unique<YRotater>(kHalfPi), CadPoint(1, 0, 0), CadPoint(0, 0, -1)},
      {"Y by 90, z", std::make_unique<YRotater>(kHalfPi), CadPoint(0, 0, 1), CadPoint(1, 0, 0)},
      {"Z by 90", std::make_unique<ZRotater>(kHalfPi), CadPoint(1, 0, 0), CadPoint(0, 1, 0)},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    CadPoint p = c.from;
    c.rotater->rotate(p);
    expectPoint(p, c.to.getX(), c.to.getY(), c.to.getZ(), 1e-12);
  }
}

TEST(RotaterTest, YRotaterReportsTheAngleItWasGiven) {
  YRotater y(kHalfPi);
  EXPECT_NEAR(y.getAngle(), kHalfPi, 1e-15);
  EXPECT_EQ(y.axis(), 1);
  y.invert();
  EXPECT_NEAR(y.getAngle(), -kHalfPi, 1e-15);
  const auto c = y.clone();
  EXPECT_EQ(c->axis(), 1);
  EXPECT_NEAR(c->getAngle(), -kHalfPi, 1e-15);
}

TEST(RotaterTest, InvertUndoesTheRotation) {
  for (auto* r : {static_cast<Rotater*>(new XRotater(0.4)), static_cast<Rotater*>(new YRotater(-1.2)),
                  static_cast<Rotater*>(new ZRotater(2.5))}) {
    std::unique_ptr<Rotater> owned(r);
    CadPoint p(0.3, -1.7, 2.2);
    owned->rotate(p);
    owned->invert();
    owned->rotate(p);
    expectPoint(p, 0.3, -1.7, 2.2, 1e-12);
  }
}

TEST(RotaterTest, RotatesArcsAboutTheAxisKeepingTheAxisUp) {
  // A counter-clockwise quarter arc turned upside down about X runs clockwise seen from above.
  CadArc arc(CadPoint(0, 0, 0), CadPoint(1, 0, 0), CadPoint(0, 1, 0), false);
  const XRotater flip(kPi);
  flip.rotate(arc);
  expectPoint(arc.axis().toPoint(), 0, 0, 1, 1e-9);
  expectPoint(arc.startPoint(), 1, 0, 0, 1e-9);
  expectPoint(arc.endPoint(), 0, -1, 0, 1e-9);
  EXPECT_NEAR(arc.sweep(), -kHalfPi, 1e-9);
  // A full circle survives a rotation (its start and end coincide).
  CadArc circle(CadPoint(0, 0, 0), Vector3(0, 0, 1), 2.0, 0.0, kTwoPi);
  ZRotater(kHalfPi).rotate(circle);
  EXPECT_NEAR(std::fabs(circle.sweep()), kTwoPi, 1e-12);
  expectPoint(circle.startPoint(), 0, 2, 0, 1e-9);
}

TEST(RotaterTest, RotatesPlanesAndPolygons) {
  Plane p(CadPoint(0, 0, 1), Vector3(0, 0, 1));
  XRotater(kHalfPi).rotate(p);
  expectPoint(p.normal().toPoint(), 0, -1, 0, 1e-12);
  EXPECT_NEAR(p.getOffset(), 1.0, 1e-12);
  CadPoly square = testing::poly({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
  square.addHole(std::make_unique<CadPoly>(testing::poly({{0.2, 0.2}, {0.2, 0.4}, {0.4, 0.4}})));
  ZRotater(kPi).rotate(square);
  expectPoint(square.vertex(2), -1, -1, 0, 1e-12);
  expectPoint(square.hole(0).vertex(1), -0.2, -0.4, 0, 1e-12);
}

struct LevelCase {
  Vector3 direction;
  double turn;
};

TEST(LevellerTest, MapsTheDirectionOntoPlusZ) {
  const LevelCase cases[] = {{Vector3(1, 0, 0), 0.0}, {Vector3(0, 1, 0), 0.0},  {Vector3(0, 0, -1), 0.0},
                             {Vector3(1, 2, 3), 0.7}, {Vector3(-4, 0.5, -2), 2.0}, {Vector3(0, 0, 1), 1.0}};
  for (const auto& c : cases) {
    const Leveller lev(c.direction, c.turn);
    CadPoint d = c.direction.unit().toPoint();
    lev.level(d);
    expectPoint(d, 0, 0, 1, 1e-12);
  }
}

TEST(LevellerTest, ThePlusXDirectionAndItsInverse) {
  Leveller lev(Vector3(1, 0, 0), 0.0);
  CadPoint p(1, 0, 0);
  lev.level(p);
  expectPoint(p, 0, 0, 1, 1e-12);
  lev.invert();
  CadPoint q(0, 0, 1);
  lev.level(q);
  expectPoint(q, 1, 0, 0, 1e-12);
}

TEST(LevellerTest, LevellingThenInvertingRestoresRandomPoints) {
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> u(-10.0, 10.0);
  for (int round = 0; round < 50; ++round) {
    const Vector3 dir(u(rng), u(rng), u(rng));
    const double turn = u(rng);
    Leveller lev(dir, turn);
    Leveller back(lev);
    back.invert();
    const CadPoint original(u(rng), u(rng), u(rng));
    CadPoint p = original;
    lev.level(p);
    // Levelling is a rotation: lengths survive.
    EXPECT_NEAR(Vector3(p).length(), Vector3(original).length(), 1e-9);
    back.level(p);
    expectPoint(p, original.getX(), original.getY(), original.getZ(), 1e-9);
  }
}

TEST(LevellerTest, TheTurnRotatesAboutZLast) {
  Leveller lev(Vector3(0, 0, 1), kHalfPi);
  CadPoint p(1, 0, 0);
  lev.level(p);
  expectPoint(p, 0, -1, 0, 1e-12);  // a ZRotater of -turn
  lev.setTurn(0.0);
  CadPoint q(1, 0, 0);
  lev.level(q);
  expectPoint(q, 1, 0, 0, 1e-12);
}

}  // namespace
}  // namespace lunvik
