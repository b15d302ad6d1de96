#include "alignment/preset_menu.h"

#include <algorithm>

#include "prefs/align_prefs.h"
#include "runtime/addon.h"
#include "runtime/environment.h"

namespace varnholt {

int32_t storedPresetCount(const AlignPrefs& prefs) {
  const auto stored = int32_t(std::min<std::size_t>(prefs.presets().size(), kStoredPresetSlots + 1));
  return std::max(stored - 1, 0);
}

lunvik::CadString presetLabel(const AlignPrefs& prefs, int32_t n) {
  lunvik::CadString label;
  if (n >= 1 && std::size_t(n) < prefs.presets().size()) {
    // A name is data: a line break or a tab in it must not break the menu's line.
    std::string text = prefs.presets()[std::size_t(n)].name.str();
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, ' ');
    label = text;
  }
  // The prompt list repeats the menu's name before the entries.
  if (!label.hasVisibleText())
    label = lunvik::Environment::instance().string(kAlignPromptStrings, 1 + kFirstPresetItem + n - 1);
  return label;
}

void copyPresetValues(const AlignPreset& from, AlignPreset& to) {
  to.xType = from.xType;
  to.xOrigin = from.xOrigin;
  to.yType = from.yType;
  to.yOrigin = from.yOrigin;
  to.zType = from.zType;
  to.zOrigin = from.zOrigin;
}

void showPresetNames(lunvik::Addon& addon, const AlignPrefs& prefs) {
  const int32_t count = storedPresetCount(prefs);
  for (int32_t n = 1; n <= count; ++n)
    addon.setMenuItemText(kAlignMenuStrings, kFirstPresetItem + n - 1, presetLabel(prefs, n));
}

}  // namespace varnholt
