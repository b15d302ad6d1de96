// Dialog layouts: the text form of the add-on's dialog resources ('GDLG') and the items the
// stand-in dialog manager builds from them.
//
// One statement a line; words are separated by blanks, texts are in double quotes (a backslash
// before a quote or a backslash takes it as it is); "#" starts a comment line.
//
//   title "Joint Preferences"
//   item 1 button "OK"
//   item 12 list "Timber Joints" tabs 110 200 60 60
//   item 11 length "" min 0.001
//   item 4 radio "Timber schedule" group 1
//   item 14 button "Delete" disabled
//
// Item kinds: button, static, text, int, real, length, angle, check, radio, popup, list,
// layer, pen, progress, group. Options after the text: disabled, hidden, group N (radio
// buttons of one group), min X, max X (number fields), tabs W... (list columns and their
// widths), entries "A" "B"... (a pop-up's first entries), multiple (a list that selects more
// than one row), rect L T R B.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/dialog_operations.h"

namespace standin {

// One item of a dialog as the dialog manager keeps it.
struct DialogItem {
  int16_t id = 0;
  int32_t kind = platform::kDGNoItem;
  std::string text;               // button and static texts, text fields, list titles
  double value = 0.0;             // check, radio, pop-up (1-based entry), number fields
  bool enabled = true;
  bool visible = true;
  int32_t group = 0;              // radio group
  bool hasMinimum = false;
  bool hasMaximum = false;
  double minimum = 0.0;
  double maximum = 0.0;
  platform::DGRect rect;
  int32_t font = 0;
  // pop-ups
  std::vector<std::string> entries;
  std::vector<bool> entryEnabled;
  // lists
  bool multiple = false;
  std::vector<int16_t> tabs;                   // column widths
  std::vector<std::vector<std::string>> rows;  // cells by row, then tab field
  std::vector<bool> selected;                  // by row
  std::map<int32_t, int16_t> fieldItems;       // tab field -> item laid on it
  int32_t fieldRow = 0;                        // the row those items lie on (0 none)
};

// A dialog resource read from its text.
struct DialogLayout {
  std::string title;
  std::vector<DialogItem> items;  // in the order written
};

// The word of an item kind ("button", ...); "item" for an unknown kind.
const char* itemKindName(int32_t kind);

// Reads a layout; false with error ("line N: ...") when the text is not a layout. Item ids
// are positive and unique.
bool parseDialogLayout(const std::string& text, DialogLayout& layout, std::string& error);

}  // namespace standin
