// Dialog layouts: the add-on's dialog resources read, and bad layout texts refused.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "host/dialogs/dialog_layout.h"
#include "platform/resource_module.h"
#include "runtime/environment.h"

namespace {

using standin::DialogLayout;
using standin::parseDialogLayout;

TEST(DialogLayoutTest, EveryDialogTheAddonOpensHasALayoutThatReads) {
  const platform::ResourceModule& module = lunvik::addonResourceModule();
  std::set<int32_t> ids;
  for (uint32_t i = 0; i < module.count; ++i) {
    const platform::ResourceEntry& e = module.entries[i];
    if (e.type != platform::kResourceDialog) continue;
    DialogLayout layout;
    std::string error;
    EXPECT_TRUE(parseDialogLayout(std::string(reinterpret_cast<const char*>(e.data), e.size), layout, error))
        << "dialog " << e.id << ": " << error;
    EXPECT_FALSE(layout.title.empty()) << e.id;
    ids.insert(e.id);
  }
  for (int32_t id : {32510, 32511, 32512, 32513, 32514, 32515, 32516, 32518, 32522, 32523, 32524, 32525, 32526,
                     32527, 32600, 32601})
    EXPECT_EQ(ids.count(id), 1u) << id;
}

TEST(DialogLayoutTest, ItemsCarryTheirKindTextAndOptions) {
  DialogLayout layout;
  std::string error;
  ASSERT_TRUE(parseDialogLayout("# joints\n"
                                "title \"Joint Preferences\"\n"
                                "item 12 list \"Timber Joints\" tabs 110 200 60 60\n"
                                "item 14 button \"Del\\\"ete\" disabled\n"
                                "item 11 length \"\" hidden min 0.001 max 5\n"
                                "item 4 radio \"A\" group 2\n"
                                "item 6 popup \"\" entries \"x\" \"y\"\n",
                                layout, error))
      << error;
  EXPECT_EQ(layout.title, "Joint Preferences");
  ASSERT_EQ(layout.items.size(), 5u);
  EXPECT_EQ(layout.items[0].kind, platform::kDGList);
  EXPECT_EQ(layout.items[0].tabs, (std::vector<int16_t>{110, 200, 60, 60}));
  EXPECT_EQ(layout.items[1].text, "Del\"ete");
  EXPECT_FALSE(layout.items[1].enabled);
  EXPECT_FALSE(layout.items[2].visible);
  EXPECT_TRUE(layout.items[2].hasMinimum && layout.items[2].hasMaximum);
  EXPECT_DOUBLE_EQ(layout.items[2].maximum, 5);
  EXPECT_EQ(layout.items[3].group, 2);
  EXPECT_EQ(layout.items[4].entries, (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(layout.items[4].value, 1);
}

TEST(DialogLayoutTest, BadLayoutsAreRefusedWithTheirLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"item 1 knob \"x\"", "line 1: unknown item kind 'knob'"},
      {"item 1 button \"OK\"\nitem 1 button \"again\"", "line 2: item 1 is given twice"},
      {"item 0 button \"OK\"", "line 1: the item id must be a whole number from 1 to 32767"},
      {"item 1 button \"OK", "line 1: a text has no closing quote"},
      {"item 1 button OK", "line 1: the item's text must be in double quotes"},
      {"item 1 button \"OK\" sparkly", "line 1: unknown option 'sparkly'"},
      {"item 1 text \"\" tabs 10", "line 1: only lists have tabs"},
      {"item 1 length \"\" min", "line 1: min needs a number"},
      {"window \"x\"", "line 1: unknown statement 'window'"},
      {"item 1 button", "line 1: expected item ID KIND \"TEXT\" [OPTIONS]"},
  };
  for (const Case& c : cases) {
    DialogLayout layout;
    layout.title = "kept";
    std::string error;
    EXPECT_FALSE(parseDialogLayout(c.text, layout, error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
    EXPECT_EQ(layout.title, "kept");
  }
}

}  // namespace
