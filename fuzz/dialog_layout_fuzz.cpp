// Fuzzes the reader of dialog layouts. Whatever the text, the reader answers without crashing;
// a layout it accepts has unique positive item ids, known kinds, and entries and tabs only
// where they belong.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "host/dialogs/dialog_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  standin::DialogLayout layout;
  std::string error;
  if (!standin::parseDialogLayout(text, layout, error)) {
    if (error.rfind("line ", 0) != 0) std::abort();
    return 0;
  }
  if (!error.empty()) std::abort();
  std::set<int16_t> ids;
  for (const standin::DialogItem& item : layout.items) {
    if (item.id < 1 || !ids.insert(item.id).second) std::abort();
    if (item.kind < platform::kDGButton || item.kind > platform::kDGGroupBox) std::abort();
    if (!item.entries.empty() && item.kind != platform::kDGPopup) std::abort();
    if (!item.tabs.empty() && item.kind != platform::kDGList) std::abort();
    if (item.entries.size() != item.entryEnabled.size()) std::abort();
  }
  return 0;
}
