// The arithmetic of alignment: clusters aligned on a common side or centre, or distributed,
// checked against positions worked out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alignment/cluster.h"

namespace {

using varnholt::AlignPreset;
using varnholt::Cluster;
using varnholt::ClusterList;
using Type = AlignPreset::Type;
using Origin = AlignPreset::Origin;

// One box along an axis: from lo to hi; the other axes are 0 to 1.
struct Span {
  double lo, hi;
};

lunvik::CadCube boxAlong(int axis, const Span& s) {
  lunvik::CadPoint lo(0, 0, 0), hi(1, 1, 1);
  lo[axis] = s.lo;
  hi[axis] = s.hi;
  return lunvik::CadCube(lo, hi);
}

ClusterList clustersAlong(int axis, const std::vector<Span>& spans) {
  ClusterList list;
  for (const Span& s : spans) list.push_back(new Cluster(lunvik::ElementLink(), boxAlong(axis, s)));
  return list;
}

AlignPreset onAxis(int axis, Type type, Origin origin) {
  AlignPreset p;
  Type* types[3] = {&p.xType, &p.yType, &p.zType};
  Origin* origins[3] = {&p.xOrigin, &p.yOrigin, &p.zOrigin};
  *types[axis] = type;
  *origins[axis] = origin;
  return p;
}

// Widths 1, 2 and 3 between 0 and 10, listed out of order: the middle one first.
const std::vector<Span> kThree = {{1.5, 3.5}, {0, 1}, {7, 10}};

struct Case {
  const char* what;
  Type type;
  Origin origin;
  std::vector<Span> spans;
  std::vector<double> offsets;  // per span, in the order given
};

const Case kCases[] = {
    // Align: every reference point onto the overall box's.
    {"align begin", Type::align, Origin::begin, kThree, {-1.5, 0, -7}},
    {"align middle", Type::align, Origin::middle, kThree, {2.5, 4.5, -3.5}},
    {"align end: every right edge at the overall maximum", Type::align, Origin::end, kThree, {6.5, 9, 0}},
    {"align equal works as begin", Type::align, Origin::equal, kThree, {-1.5, 0, -7}},
    // Equal: packed from 0 with gaps of (10 - 6) / 2 = 2.
    {"distribute equal", Type::distribute, Origin::equal, kThree, {1.5, 0, 0}},
    // Begin: left sides from 0 in steps of (10 - 0 - 3) / 2 = 3.5.
    {"distribute begin", Type::distribute, Origin::begin, kThree, {2, 0, 0}},
    // Middle: centres from 0.5 in steps of (10 - 0.5 - 1.5) / 2 = 4.
    {"distribute middle", Type::distribute, Origin::middle, kThree, {2, 0, 0}},
    // End: right sides from 1 in steps of (10 - 1) / 2 = 4.5.
    {"distribute end", Type::distribute, Origin::end, kThree, {2, 0, 0}},
    // Sizes 4 + 5 + 4 = 13 over 10: a gap of -1.5, so they overlap.
    {"distribute equal with negative gaps", Type::distribute, Origin::equal, {{0, 4}, {3, 8}, {6, 10}}, {0, -0.5, 0}},
    // The widest comes first and reaches 9: the last by its left side is moved to end there,
    // in steps of (9 - 0 - 1) / 2 = 4.
    {"distribute begin, the last one narrow", Type::distribute, Origin::begin, {{0, 9}, {2, 3}, {4, 5}}, {0, 2, 4}},
    {"ignore", Type::ignore, Origin::end, kThree, {0, 0, 0}},
};

TEST(ClusterTest, AlignAndDistributeAlongEveryAxis) {
  for (int axis = 0; axis < 3; ++axis) {
    for (const Case& c : kCases) {
      ClusterList list = clustersAlong(axis, c.spans);
      list.arrange(onAxis(axis, c.type, c.origin));
      for (std::size_t i = 0; i < c.spans.size(); ++i) {
        const lunvik::CadPoint& offset = list[i].offset();
        EXPECT_NEAR(offset[axis], c.offsets[i], 1e-9) << c.what << ", axis " << axis << ", box " << i;
        // The other axes stay.
        EXPECT_NEAR(offset[(axis + 1) % 3], 0, 1e-9) << c.what << ", axis " << axis;
        EXPECT_NEAR(offset[(axis + 2) % 3], 0, 1e-9) << c.what << ", axis " << axis;
      }
    }
  }
}

TEST(ClusterTest, EqualKeysKeepTheOrderTheClustersWereMadeIn) {
  // Two boxes start at 0: the first made comes first, so it stays and the second follows it.
  ClusterList list = clustersAlong(0, {{0, 2}, {0, 1}, {8, 10}});
  list.arrange(onAxis(0, Type::distribute, Origin::equal));
  // Gap (10 - 5) / 2 = 2.5: 0-2, 4.5-5.5, 8-10.
  EXPECT_NEAR(list[0].offset()[0], 0, 1e-9);
  EXPECT_NEAR(list[1].offset()[0], 4.5, 1e-9);
  EXPECT_NEAR(list[2].offset()[0], 0, 1e-9);
}

TEST(ClusterTest, TheAxesOffsetsAddUpAsTabulateDoes) {
  // Tabulate: left sides aligned, equal gaps front to back, bottoms aligned.
  ClusterList list;
  list.push_back(new Cluster(lunvik::ElementLink(), lunvik::CadCube({2, 0, 0.5}, {3, 1, 3})));
  list.push_back(new Cluster(lunvik::ElementLink(), lunvik::CadCube({0, 6, 0}, {0.5, 8, 2})));
  list.push_back(new Cluster(lunvik::ElementLink(), lunvik::CadCube({1, 2, 1}, {1.2, 3, 1.5})));
  AlignPreset tabulate("Tabulate", Type::align, Origin::begin, Type::distribute, Origin::equal, Type::align,
                       Origin::begin);
  list.arrange(tabulate);
  // y: sizes 1 + 1 + 2 over 8, gaps of 2: 0-1, 3-4, 6-8.
  const double want[3][3] = {{-2, 0, -0.5}, {0, 0, 0}, {-1, 1, -1}};
  for (std::size_t i = 0; i < 3; ++i)
    for (int axis = 0; axis < 3; ++axis)
      EXPECT_NEAR(list[i].offset()[axis], want[i][axis], 1e-9) << "box " << i << ", axis " << axis;
  EXPECT_FALSE(list[0].stays());
  EXPECT_TRUE(list[1].stays());
}

TEST(ClusterTest, AClusterIsTheUnionOfItsMembersBoxes) {
  Cluster c(lunvik::ElementLink(), lunvik::CadCube({1, 1, 0}, {0, 0, 2}));
  c.add(lunvik::ElementLink(), lunvik::CadCube({3, -1, 1}, {4, 0.5, 1.5}));
  EXPECT_EQ(c.members().size(), 2u);
  EXPECT_NEAR(c.minimum(0), 0, 1e-12);
  EXPECT_NEAR(c.minimum(1), -1, 1e-12);
  EXPECT_NEAR(c.size(0), 4, 1e-12);
  EXPECT_NEAR(c.size(1), 2, 1e-12);
  EXPECT_NEAR(c.size(2), 2, 1e-12);
}

TEST(ClusterTest, ReferenceFractions) {
  EXPECT_EQ(varnholt::referenceFraction(Origin::begin), 0);
  EXPECT_EQ(varnholt::referenceFraction(Origin::middle), 0.5);
  EXPECT_EQ(varnholt::referenceFraction(Origin::end), 1);
  EXPECT_EQ(varnholt::referenceFraction(Origin::equal), 0);
}

}  // namespace
