// The stored alignment presets as menus and pop-ups show them: their labels and the Alignment
// menu's preset items.
#pragma once

#include <cstdint>

#include "runtime/cad_string.h"

namespace lunvik {
class Addon;
}

namespace varnholt {

class AlignPreset;
class AlignPrefs;

// The string lists of alignment: the dialogs' texts and messages, the Alignment menu and its
// prompts.
enum : int16_t {
  kAlignStrings = 32527,
  kAlignMenuStrings = 32507,
  kAlignPromptStrings = 32517,
};

// The most stored presets the menu and the dialogs offer (presets 1 to 10).
constexpr int32_t kStoredPresetSlots = 10;
// The menu item of stored preset 1; preset n is item n + 3.
constexpr int32_t kFirstPresetItem = 4;

// How many stored presets the menu and the dialogs offer: the list's size less the working
// preset, at most ten.
int32_t storedPresetCount(const AlignPrefs& prefs);

// Stored preset n (1-based) as one line of a menu or pop-up: its name with control characters
// made spaces; a name with nothing visible shows as the item's own text ("Preset n").
lunvik::CadString presetLabel(const AlignPrefs& prefs, int32_t n);

// Copies the six axis values of a preset (not its name).
void copyPresetValues(const AlignPreset& from, AlignPreset& to);

// Sets the Alignment menu's items 4 to 13 to the labels of stored presets 1 to 10.
void showPresetNames(lunvik::Addon& addon, const AlignPrefs& prefs);

}  // namespace varnholt
