// Typed control values and their conversions.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "interaction/control_setting.h"
#include "support/loaded_host.h"

namespace {

using lunvik::ControlSetting;

struct Case {
  const char* name;
  std::shared_ptr<ControlSetting> setting;
  int32_t integer;
  double real;
  std::string text;
};

TEST(ControlSettingTest, EachTypeReadsAsIntegerRealAndText) {
  const Case cases[] = {
      {"text of a number", std::make_shared<lunvik::StringSetting>("2.75"), 2, 2.75, "2.75"},
      {"text without one", std::make_shared<lunvik::StringSetting>("Oak"), 0, 0.0, "Oak"},
      {"integer", std::make_shared<lunvik::IntegerSetting>(-4), -4, -4.0, "-4"},
      {"real", std::make_shared<lunvik::RealSetting>(0.1234567), 0, 0.1234567, "0.123457"},
      {"real rounds", std::make_shared<lunvik::RealSetting>(2.5), 3, 2.5, "2.5"},
      {"length", std::make_shared<lunvik::LengthSetting>(0.25), 0, 0.25, "0.25"},
      {"menu entry", std::make_shared<lunvik::MenuSetting>(3, "Tenon2"), 3, 3.0, "Tenon2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.setting->integer(), c.integer);
    EXPECT_DOUBLE_EQ(c.setting->real(), c.real);
    EXPECT_EQ(c.setting->text().str(), c.text);
    std::unique_ptr<ControlSetting> copy(c.setting->copy());
    EXPECT_EQ(copy->text().str(), c.text);
    EXPECT_EQ(typeid(*copy), typeid(*c.setting));
  }
}

TEST(ControlSettingTest, TextThatDoesNotReadLeavesANumberAsItWas) {
  lunvik::IntegerSetting whole(7);
  whole.setText("seven");
  EXPECT_EQ(whole.integer(), 7);
  whole.setText(" 12 ");
  EXPECT_EQ(whole.integer(), 12);
  lunvik::RealSetting real(1.5);
  for (const char* bad : {"", "1.5.2", "inf", "2m"}) {
    real.setText(bad);
    EXPECT_DOUBLE_EQ(real.real(), 1.5) << bad;
  }
  real.setText("-0.5");
  EXPECT_DOUBLE_EQ(real.real(), -0.5);
}

// Lengths and angles are read and written in the host's formats.
class HostFormatTest : public testing_support::LoadedHost {};

TEST_F(HostFormatTest, LengthsAndAnglesReadAsTheHostWritesThem) {
  lunvik::LengthSetting length(1.0);
  length.setText("250mm");
  EXPECT_DOUBLE_EQ(length.real(), 0.25);
  length.setText("a lot");
  EXPECT_DOUBLE_EQ(length.real(), 0.25);
  lunvik::AngleSetting angle;
  angle.setText("90");
  EXPECT_NEAR(angle.real(), 1.5707963267948966, 1e-12);
  EXPECT_EQ(angle.text().str(), "90");
}

TEST(ControlSettingTest, HugeRealsClampWhenReadAsIntegers) {
  EXPECT_EQ(lunvik::RealSetting(1e300).integer(), INT32_MAX);
  EXPECT_EQ(lunvik::RealSetting(-1e300).integer(), INT32_MIN);
  EXPECT_EQ(lunvik::StringSetting("1e300").integer(), INT32_MAX);
  lunvik::IntegerSetting whole;
  whole.setReal(1e20);
  EXPECT_EQ(whole.integer(), INT32_MAX);
}

}  // namespace
