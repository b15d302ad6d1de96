#include "timber/increments.h"

#include <gtest/gtest.h>

#include <cmath>

namespace varnholt {
namespace {

struct RoundCase {
  bool upwards;
  double value;
  double inc;
  double expected;
};

class RoundToIncrement : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundToIncrement, Table) {
  const RoundCase& c = GetParam();
  EXPECT_NEAR(roundToIncrement(c.upwards, c.value, c.inc), c.expected, 1e-9)
      << (c.upwards ? "up " : "nearest ") << c.value << " by " << c.inc;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundToIncrement,
    ::testing::Values(
        // Upwards: within half a millimetre of a multiple counts as on it.
        RoundCase{true, 2.3004, 0.1, 2.3}, RoundCase{true, 2.3006, 0.1, 2.4}, RoundCase{true, 2.2996, 0.1, 2.3},
        RoundCase{true, 2.2994, 0.1, 2.3}, RoundCase{true, 2.3, 0.1, 2.3}, RoundCase{true, 3.0, 0.25, 3.0},
        RoundCase{true, 3.01, 0.25, 3.25}, RoundCase{true, 0.0, 0.25, 0.0}, RoundCase{true, 0.0004, 0.25, 0.0},
        RoundCase{true, 0.0006, 0.25, 0.25},
        // Nearest, halves up.
        RoundCase{false, 0.149, 0.025, 0.15}, RoundCase{false, 0.1374, 0.025, 0.125},
        RoundCase{false, 0.1376, 0.025, 0.15}, RoundCase{false, 0.0125, 0.025, 0.025},
        RoundCase{false, 0.2, 0.025, 0.2},
        // No increment: unchanged.
        RoundCase{true, 2.3456, 0.0, 2.3456}, RoundCase{false, 2.3456, 0.0, 2.3456},
        RoundCase{true, 2.3456, 0.00001, 2.3456}, RoundCase{false, 2.3456, -0.1, 2.3456},
        // An increment that is no number is none.
        RoundCase{true, 2.3456, std::nan(""), 2.3456}, RoundCase{false, 2.3456, std::nan(""), 2.3456}));

TEST(RoundDimensions, LengthUpSectionToNearest) {
  double length = 3.01, width = 0.149, depth = 0.1374;
  roundDimensions(0.25, 0.025, length, width, depth);
  EXPECT_NEAR(length, 3.25, 1e-9);
  EXPECT_NEAR(width, 0.15, 1e-9);
  EXPECT_NEAR(depth, 0.125, 1e-9);
}

TEST(RoundDimensions, WithoutAProjectFailsAndLeavesTheValues) {
  double length = 3.01, width = 0.149, depth = 0.1374;
  EXPECT_FALSE(roundDimensions(length, width, depth));
  EXPECT_EQ(length, 3.01);
  EXPECT_EQ(width, 0.149);
  EXPECT_EQ(depth, 0.1374);
}

}  // namespace
}  // namespace varnholt
