#include "shell/product_menu.h"

#include "runtime/addon.h"

namespace varnholt {

using lunvik::EventSpec;
using lunvik::kProductCategory;
using platform::fourcc;

ProductMenu::ProductMenu(int16_t menuList, int16_t promptList, int32_t position, int32_t flags,
                         std::vector<MenuCommand> commands)
    : MenuSubscriber(menuList, promptList, position, flags) {
  for (const MenuCommand& c : commands) {
    if (c.item < 1) continue;
    if (commands_.size() < std::size_t(c.item)) commands_.resize(std::size_t(c.item), MenuCommand{0, 0, CommandForm::Plain, 0});
    commands_[std::size_t(c.item) - 1] = c;
  }
}

const MenuCommand* ProductMenu::command(int32_t item) const {
  if (item < 1 || std::size_t(item) > commands_.size()) return nullptr;
  const MenuCommand& c = commands_[std::size_t(item) - 1];
  return c.kind ? &c : nullptr;
}

bool ProductMenu::menuSelected(lunvik::MenuEvent& event) {
  const MenuCommand* c = command(event.itemIndex());
  lunvik::Addon* addon = lunvik::theAddon();
  if (!c || !addon) return false;
  EventSpec spec(kProductCategory, c->kind);
  switch (c->form) {
    case CommandForm::Toggle: {
      lunvik::ToggleEvent command(spec, c->value);
      return addon->takeEvent(command);
    }
    case CommandForm::Long: {
      lunvik::LongEvent command(spec, c->value);
      return addon->takeEvent(command);
    }
    case CommandForm::Plain:
      break;
  }
  lunvik::Event command(spec);
  return addon->takeEvent(command);
}

namespace {

MenuCommand plain(int32_t item, const char (&kind)[5]) { return {item, fourcc(kind), CommandForm::Plain, 0}; }
MenuCommand toggle(int32_t item, const char (&kind)[5], int32_t on) { return {item, fourcc(kind), CommandForm::Toggle, on}; }
MenuCommand preset(int32_t item, int32_t number) { return {item, fourcc("ALGN"), CommandForm::Long, number}; }

std::vector<MenuCommand> alignCommands() {
  std::vector<MenuCommand> commands{plain(1, "ALGN"), preset(2, 0)};
  for (int32_t n = 1; n <= 10; ++n) commands.push_back(preset(3 + n, n));
  return commands;
}

}  // namespace

ProfileMenu::ProfileMenu()
    : ProductMenu(32500, 32510, 0, 0,
                  {plain(1, "NEPF"), plain(2, "UPPF"), plain(3, "EXPF"), plain(5, "UDPF"), plain(6, "SWAP")}) {}

AssemblyMenu::AssemblyMenu()
    : ProductMenu(32501, 32511, 0, 0,
                  {plain(1, "NEAS"), plain(2, "UPAS"), plain(3, "DEAS"), plain(5, "GPAS"), plain(6, "GMAS"),
                   plain(8, "SPAS"), plain(9, "SMAS")}) {}

JointsMenu::JointsMenu()
    : ProductMenu(32502, 32512, 0, 0,
                  {plain(1, "SAJN"), plain(2, "SUJN"), plain(3, "SNJN"), plain(5, "ZOJN"), plain(6, "SFJN"),
                   plain(7, "CFJN")}) {}

ToolsMenu::ToolsMenu()
    : ProductMenu(32503, 32513, 0, 0,
                  {plain(1, "ROTL"), plain(2, "SPTL"), plain(3, "BDPF"), plain(4, "OETL"), plain(6, "USTL"),
                   plain(7, "RCTL"), plain(8, "DOTL"), plain(10, "ECTL"), plain(11, "UCTL")}) {}

ScheduleMenu::ScheduleMenu()
    : ProductMenu(32504, 32514, 0, 0,
                  {plain(1, "STTL"), plain(2, "ENTM"), plain(3, "CLTN"), toggle(5, "TCID", 1), toggle(6, "TCID", 0),
                   toggle(7, "TLBL", 1), toggle(8, "TLBL", 0)}) {}

PrefsMenu::PrefsMenu() : ProductMenu(32505, 32515, 0, 1, {plain(1, "EPPE"), plain(2, "EJPE"), plain(3, "ERPE")}) {}

AboutMenu::AboutMenu() : ProductMenu(32506, 32516, 0, 1, {plain(1, "ABDI")}) {}

AlignMenu::AlignMenu() : ProductMenu(32507, 32517, 4, 0, alignCommands()) {}

}  // namespace varnholt
