#include <gtest/gtest.h>

#include <string>

#include "host/core/resource_manager.h"

namespace {

std::map<int32_t, std::string> parse(const std::string& text) {
  return standin::ResourceManager::parseStringList(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

TEST(ResourceManagerTest, ParsesNumberedItems) {
  auto items = parse("# a comment\r\n1\tFirst\r\n\n3\t two  spaces \n12\ttab\\there\\nline\\\\\n");
  EXPECT_EQ(items, (std::map<int32_t, std::string>{{1, "First"}, {3, " two  spaces "}, {12, "tab\there\nline\\"}}));
}

TEST(ResourceManagerTest, SkipsMalformedLines) {
  auto items = parse("x\tno number\n0\tzero\n-2\tnegative\n4 no tab\n\tno index\n5\t\n6");
  EXPECT_EQ(items, (std::map<int32_t, std::string>{{5, ""}}));
}

TEST(ResourceManagerTest, ReadsTheCurrentModuleOnly) {
  static const unsigned char list[] = "1\tHello\n2\tWorld\n";
  static const platform::ResourceEntry entries[] = {{platform::kResourceStrings, 10, list, sizeof list - 1}};
  static const platform::ResourceModule module{"test", entries, 1};
  standin::ResourceManager rm;
  std::string text;
  EXPECT_TRUE(rm.string(&module, 10, 2, text));
  EXPECT_EQ(text, "World");
  EXPECT_FALSE(rm.string(&module, 10, 3, text));
  EXPECT_FALSE(rm.string(&module, 11, 1, text));
  EXPECT_FALSE(rm.string(nullptr, 10, 1, text));
  EXPECT_EQ(rm.strings(&module, 10), (std::vector<std::string>{"Hello", "World"}));
  EXPECT_EQ(rm.setCurrent(&module), nullptr);
  EXPECT_EQ(rm.setCurrent(nullptr), &module);
}

}  // namespace
