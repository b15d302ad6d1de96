#include "timber/kind_code.h"

#include <gtest/gtest.h>

#include <string>

namespace varnholt {
namespace {

struct KindCase {
  const char* bytes;
  TimberKind kind;
};

class KindOfUserData : public ::testing::TestWithParam<KindCase> {};

TEST_P(KindOfUserData, ReadsTheFirstFourBytesInEitherOrder) {
  const KindCase& c = GetParam();
  EXPECT_EQ(kindOfUserData(std::string(c.bytes)), c.kind) << c.bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, KindOfUserData,
    ::testing::Values(KindCase{"RECT", TimberKind::rectilinear}, KindCase{"TCER", TimberKind::rectilinear},
                      KindCase{"TAPR", TimberKind::taper}, KindCase{"RPAT", TimberKind::taper},
                      KindCase{"TPEG", TimberKind::peg}, KindCase{"JOWL", TimberKind::jowl},
                      KindCase{"CAMB", TimberKind::camber}, KindCase{"SQRO", TimberKind::squareRound},
                      KindCase{"ROTA", TimberKind::roundTaper}, KindCase{"CURV", TimberKind::curved},
                      KindCase{"VRUC", TimberKind::curved}, KindCase{"CUST", TimberKind::custom},
                      KindCase{"LATH", TimberKind::lathe}, KindCase{"ROUN", TimberKind::round},
                      KindCase{"EXTR", TimberKind::extrusion}, KindCase{"SECT", TimberKind::constSection},
                      KindCase{"ASSM", TimberKind::assembly}, KindCase{"BLOB", TimberKind::blob},
                      KindCase{"BOLB", TimberKind::blob},
                      // Only the first four bytes count.
                      KindCase{"RECTANGLE", TimberKind::rectilinear},
                      // Unknown codes, short data and mixed orders are no timber.
                      KindCase{"RECX", TimberKind::none}, KindCase{"REC", TimberKind::none},
                      KindCase{"", TimberKind::none}, KindCase{"ERCT", TimberKind::none},
                      KindCase{"rect", TimberKind::none}));

TEST(KindCode, LettersRoundTrip) {
  for (int k = int(TimberKind::rectilinear); k <= int(TimberKind::blob); ++k) {
    TimberKind kind = TimberKind(k);
    std::string letters = kindLetters(kind);
    ASSERT_EQ(letters.size(), 4u);
    EXPECT_EQ(kindOfUserData(letters), kind) << letters;
    EXPECT_EQ(kindOfCode(kindCode(kind)), kind);
  }
  EXPECT_EQ(kindLetters(TimberKind::none), "");
}

TEST(KindCode, UserDataWithBinaryBytesIsNoTimber) {
  std::string data("\0\0\0\0", 4);
  EXPECT_EQ(kindOfUserData(data), TimberKind::none);
  EXPECT_EQ(kindOfUserData(std::string("\xFF\xFE\xFD\xFC")), TimberKind::none);
}

TEST(KindCode, LibraryPartNameItems) {
  EXPECT_EQ(libraryPartNameItem(TimberKind::rectilinear), 32);
  EXPECT_EQ(libraryPartNameItem(TimberKind::round), 37);
  EXPECT_EQ(libraryPartNameItem(TimberKind::curved), 7);
  EXPECT_EQ(libraryPartNameItem(TimberKind::assembly), 11);
  EXPECT_EQ(libraryPartNameItem(TimberKind::custom), 0);
  EXPECT_EQ(libraryPartNameItem(TimberKind::extrusion), 0);
  EXPECT_EQ(libraryPartNameItem(TimberKind::lathe), 0);
  EXPECT_EQ(libraryPartNameItem(TimberKind::constSection), 0);
  EXPECT_EQ(libraryPartNameItem(TimberKind::blob), 0);
}

}  // namespace
}  // namespace varnholt
