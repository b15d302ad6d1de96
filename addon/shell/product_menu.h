// The product's menus: each turns its items into product command events.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/subscriber.h"

namespace varnholt {

// How a menu item's command event is built.
enum class CommandForm { Plain, Toggle, Long };

// One menu item and the command it raises.
struct MenuCommand {
  int32_t item;      // 1-based index in the menu's string list entries
  uint32_t kind;     // the command event's kind (category 'VRNH')
  CommandForm form;
  int32_t value;     // the toggle flag or the long value
};

// A product menu: its string lists, position, flags and the commands of its items.
class ProductMenu : public lunvik::MenuSubscriber {
 public:
  ProductMenu(int16_t menuList, int16_t promptList, int32_t position, int32_t flags,
              std::vector<MenuCommand> commands);
  // Builds the item's command event and gives it to the add-on; false for a separator.
  bool menuSelected(lunvik::MenuEvent& event) override;
  // The command of a 1-based item, or null (separators have none).
  const MenuCommand* command(int32_t item) const;

 private:
  std::vector<MenuCommand> commands_;  // indexed by item - 1; kind 0 for a separator
};

// "Framing" > "Component".
class ProfileMenu : public ProductMenu {
 public:
  ProfileMenu();
};

// "Framing" > "Assembly".
class AssemblyMenu : public ProductMenu {
 public:
  AssemblyMenu();
};

// "Framing" > "Joint".
class JointsMenu : public ProductMenu {
 public:
  JointsMenu();
};

// "Framing" > "Tools".
class ToolsMenu : public ProductMenu {
 public:
  ToolsMenu();
};

// "Framing" > "Schedule".
class ScheduleMenu : public ProductMenu {
 public:
  ScheduleMenu();
};

// "Framing" > "Preferences".
class PrefsMenu : public ProductMenu {
 public:
  PrefsMenu();
};

// "Framing" > "About Trestlar...".
class AboutMenu : public ProductMenu {
 public:
  AboutMenu();
};

// "Alignment".
class AlignMenu : public ProductMenu {
 public:
  AlignMenu();
};

}  // namespace varnholt
