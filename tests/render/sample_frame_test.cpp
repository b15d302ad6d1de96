// The bundled sample is a frame that stands: its members' bodies as the host builds them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "host/core/host.h"
#include "host/model/stored_parameter.h"
#include "support/loaded_host.h"

namespace {

// Where a member's body lies and which way its axis runs.
struct Body {
  standin::Vec3 low, high;  // its box in the model
  standin::Vec3 axis;       // its frame's x axis in the model
  double yOffset = 0, width = 0;
};

class SampleFrame : public testing_support::LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    std::string error;
    ASSERT_TRUE(host().openProject(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar", error)) << error;
    standin::ProjectModel& model = host().model();
    for (standin::HostElement* e : model.elements(model.plan(), platform::kObject)) {
      int32_t first = 0, last = -1;
      ASSERT_TRUE(host().bodies().bodyRange(platform::kObject, e->header().index, first, last));
      ASSERT_EQ(first, last);
      const standin::GeneratedBody* b = host().bodies().body(first);
      ASSERT_NE(b, nullptr);
      Body body{b->boxMin, b->boxMax, {b->matrix.tmx[0], b->matrix.tmx[4], b->matrix.tmx[8]}};
      for (const standin::StoredParameter& p : e->parameters) {
        if (std::strcmp(p.record.name, "yOffset") == 0) body.yOffset = p.record.value.real;
        if (std::strcmp(p.record.name, "profWide") == 0) body.width = p.record.value.real;
      }
      bodies_[standin::elementId(e->record)] = body;
    }
    ASSERT_EQ(bodies_.size(), 35u);
  }

  // The members whose IDs start with prefix.
  std::map<std::string, Body> members(const std::string& prefix) const {
    std::map<std::string, Body> out;
    for (const auto& b : bodies_)
      if (b.first.compare(0, prefix.size(), prefix) == 0) out.insert(b);
    return out;
  }

  std::map<std::string, Body> bodies_;
};

constexpr double kNear = 1e-6;

TEST_F(SampleFrame, PostsRiseFromTheGroundToTheirHeightOnTheGrid) {
  std::map<std::string, Body> posts = members("PST");
  ASSERT_EQ(posts.size(), 6u);
  for (const auto& [id, post] : posts) {
    SCOPED_TRACE(id);
    EXPECT_NEAR(post.low.z, 0.0, kNear);
    EXPECT_NEAR(post.high.z, 3.0, kNear);
    EXPECT_NEAR(post.axis.z, 1.0, kNear);
    // 0.2 square, centred on x = 0, 4 or 8 and y = 0 or 5.
    const double x = (post.low.x + post.high.x) / 2, y = (post.low.y + post.high.y) / 2;
    EXPECT_NEAR(post.high.x - post.low.x, 0.2, kNear);
    EXPECT_NEAR(std::remainder(x, 4.0), 0.0, kNear);
    EXPECT_NEAR(std::remainder(y, 5.0), 0.0, kNear);
  }
}

TEST_F(SampleFrame, BracesAndRaftersRiseFromTheirFeet) {
  const struct {
    const char* prefix;
    double rise;    // the axis' climb per metre of its length
    double bottom;  // the body's lowest and highest points
    double top;
  } cases[] = {
      // 45 degrees, from the posts up to the tie beams' undersides at 3.2.
      {"BRC", std::sqrt(0.5), 3.2 - 1.2 * std::sqrt(0.5) - 0.15 * std::sqrt(0.5), 3.2},
      // From the tie beams' tops at 3.45 over a run of 2.5 m: sqrt(3.2^2 - 2.5^2) = 1.9975 up.
      {"RFT", 1.997498 / 3.2, 3.45, 3.45 + 1.997498 + 0.15 * 2.5 / 3.2},
  };
  for (const auto& c : cases) {
    std::map<std::string, Body> found = members(c.prefix);
    ASSERT_EQ(found.size(), 6u);
    for (const auto& [id, member] : found) {
      SCOPED_TRACE(id);
      EXPECT_NEAR(member.axis.z, c.rise, 1e-5);
      EXPECT_NEAR(member.low.z, c.bottom, 1e-5);
      EXPECT_NEAR(member.high.z, c.top, 1e-5);
    }
  }
  // The rafters of each frame meet at the ridge, y = 2.5.
  for (const auto& [id, rafter] : members("RFT")) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(std::fabs(rafter.high.y - 2.5) < kNear || std::fabs(rafter.low.y - 2.5) < kNear);
  }
}

TEST_F(SampleFrame, PlatesTieBeamsAndPurlinsLieOnWhatCarriesThem) {
  const struct {
    const char* prefix;
    std::size_t count;
    double bottom, top;
  } cases[] = {
      {"WPL", 4, 3.0, 3.2},   // on the posts
      {"TIE", 3, 3.2, 3.45},  // on the plates
      // On the rafters' top face halfway up: 3.45 + 1.25 x 0.799 + 0.15 / 0.78125.
      {"PRL", 4, 4.640749, 4.790749},
  };
  for (const auto& c : cases) {
    std::map<std::string, Body> found = members(c.prefix);
    ASSERT_EQ(found.size(), c.count);
    for (const auto& [id, member] : found) {
      SCOPED_TRACE(id);
      EXPECT_NEAR(member.low.z, c.bottom, 1e-5);
      EXPECT_NEAR(member.high.z, c.top, 1e-5);
      EXPECT_NEAR(member.axis.z, 0.0, kNear);
    }
  }
}

TEST_F(SampleFrame, EveryMemberCarriesItsOwnAnchorOffset) {
  // A bottom-middle anchor puts the axis in the middle of the width: yOffset is half the width
  // back, whatever the member's width.
  for (const auto& [id, member] : bodies_) {
    SCOPED_TRACE(id);
    ASSERT_GT(member.width, 0);
    EXPECT_NEAR(member.yOffset, -member.width / 2, 1e-12);
  }
  EXPECT_NEAR(bodies_.at("BRC-02").yOffset, -0.05, 1e-12);
  EXPECT_NEAR(bodies_.at("WPL-22").yOffset, -0.075, 1e-12);
}

}  // namespace
