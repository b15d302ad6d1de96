// An element's bodies read through the host's 3D components, against the generator's.
#include <gtest/gtest.h>

#include <cmath>

#include "host/bodies/body_generator.h"
#include "host/core/fault_table.h"
#include "runtime/host_interface.h"
#include "model/element3d.h"
#include "platform/parameter_records.h"
#include "support/loaded_host.h"
#include "support/part_parameters.h"

namespace {

using testing_support::number;
constexpr double kPi = 3.14159265358979323846;

standin::BodySource member() {
  standin::BodySource s;
  s.kind = "RECT";
  s.parameters = {number("length", 4), number("profWide", 0.2), number("profDeep", 0.3), number("yOffset", -0.1),
                  number("zOffset", -0.15), number("incline", 0.4, platform::kParamAngle),
                  number("swivel", 0.2, platform::kParamAngle), number("numCuts", 1, platform::kParamInteger)};
  standin::PartParameter angles;
  angles.name = "cutAngle";
  angles.typeID = platform::kParamAngle;
  angles.isArray = true;
  angles.rows = 1;
  angles.columns = 2;
  angles.numbers = {0, kPi / 4};
  standin::PartParameter offsets = number("cutOffset", 0);
  offsets.isArray = true;
  offsets.rows = 1;
  s.parameters.push_back(angles);
  s.parameters.push_back(offsets);
  s.placement = {2, 3, 1, 0.7, false};
  return s;
}

using Element3DTest = testing_support::LoadedHost;

TEST_F(Element3DTest, ABodyReadThroughTheComponentsHasTheGeneratorsVerticesAndBox) {
  standin::BodySource source = member();
  host().bodies().place(6, 12, source);
  standin::GeneratedModel expected =
      standin::generateBodies("RECT", standin::ParameterValues(source.parameters), source.placement);
  ASSERT_EQ(expected.bodies.size(), 1u);
  const standin::GeneratedBody& g = expected.bodies[0];

  lunvik::Element3D model(lunvik::ElementLink(6, 12, ""));
  ASSERT_EQ(model.bodies().size(), 1u);
  const lunvik::Body& body = *model.bodies()[0];
  ASSERT_EQ(body.vertices().size(), g.vertices.size());
  EXPECT_EQ(body.edges().size(), g.edges.size());
  ASSERT_EQ(body.faces().size(), g.faces.size());
  const double* m = g.matrix.tmx;
  for (std::size_t i = 0; i < g.vertices.size(); ++i) {
    // Each vertex is read once, in the order the faces first reach it; compare as sets.
    const standin::Vec3& v = g.vertices[i];
    double x = m[0] * v.x + m[1] * v.y + m[2] * v.z + m[3], y = m[4] * v.x + m[5] * v.y + m[6] * v.z + m[7],
           z = m[8] * v.x + m[9] * v.y + m[10] * v.z + m[11];
    bool found = false;
    for (const auto& p : body.vertices())
      found = found || (std::fabs(p->getX() - x) < 1e-9 && std::fabs(p->getY() - y) < 1e-9 && std::fabs(p->getZ() - z) < 1e-9);
    EXPECT_TRUE(found) << "vertex " << i;
  }
  const lunvik::CadCube& box = body.boundingBox();
  EXPECT_NEAR(box.min().getX(), g.boxMin.x, 1e-6);
  EXPECT_NEAR(box.min().getZ(), g.boxMin.z, 1e-6);
  EXPECT_NEAR(box.max().getY(), g.boxMax.y, 1e-6);
  for (std::size_t f = 0; f < g.faces.size(); ++f) EXPECT_EQ(body.faces()[f]->data().edges.size(), g.faces[f].size());
  // Faces and edges share the body's vertices: every edge end is a vertex of the list.
  for (const auto& e : body.edges()) EXPECT_LT(std::size_t(std::max(e.first, e.second)), body.vertices().size());
  // The normals point out of the body: away from its centre.
  lunvik::CadPoint centre = box.centre();
  for (std::size_t f = 0; f < body.faces().size(); ++f) {
    const auto& face = *body.faces()[f];
    const lunvik::CadPoint& a = *body.vertices()[std::size_t(body.edges()[std::size_t(face.data().edges[0])].first)];
    const lunvik::Vector3& n = face.normal();
    double side = n.x * (a.getX() - centre.getX()) + n.y * (a.getY() - centre.getY()) + n.z * (a.getZ() - centre.getZ());
    EXPECT_GT(side, 0) << "face " << f;
  }

  platform::ElementQueryRecord query{6, 12, 0.00001};
  platform::ElementQuantityRecord answer{};
  ASSERT_EQ(host().table().HostElementQuery(host().token(), &query, &answer), platform::kNoError);
  EXPECT_NEAR(answer.volume, 0.24 - 0.2 * 0.0225 / 2, 1e-9);
}

TEST_F(Element3DTest, AnElementWithoutAModelHasNoBodies) {
  lunvik::Element3D model(lunvik::ElementLink(6, 99, ""));
  EXPECT_TRUE(model.bodies().empty());
  lunvik::CadCube box;
  EXPECT_FALSE(model.extent(box));
}

TEST_F(Element3DTest, AFailedHostReadLeavesTheBodyOutAndNeverHalfRead) {
  host().bodies().place(6, 1, member());
  lunvik::Element3D whole(lunvik::ElementLink(6, 1, ""));
  ASSERT_EQ(whole.bodies().size(), 1u);
  std::size_t faces = whole.bodies()[0]->faces().size();
  const platform::HostFunctionTable original = lunvik::host().table();
  int fired = 0;
  for (int k = 1; k < 1000; ++k) {
    standin::FaultPlan plan;
    plan.failAt = k;
    lunvik::host().setTable(standin::faultyTable(original, plan));
    lunvik::Element3D model(lunvik::ElementLink(6, 1, ""));
    lunvik::host().setTable(original);
    if (!plan.fired) break;
    ++fired;
    if (!model.bodies().empty()) {
      EXPECT_EQ(model.bodies()[0]->faces().size(), faces) << "call " << k;
    }
  }
  EXPECT_GT(fired, 20);
}

}  // namespace
