// The add-on's embedded resources as the host's resource manager reads them.
//
// The add-on's resource module is a table of entries built into the library at build time.
// The add-on makes it current with HostSetResourceModule before it asks for a string or a
// resource and restores the previous module afterwards; the host reads only the current one.
//
// String lists ('STR#') are stored as text: one item a line, "N<TAB>text", N the 1-based
// item index; lines ending in CR LF or LF; lines starting with '#' and blank lines are
// ignored; a missing index reads as empty text. Within a text, "\t" stands for a tab,
// "\n" for a line feed and "\\" for a backslash.
#pragma once

#include <cstdint>

namespace platform {

// One embedded resource.
struct ResourceEntry {
  uint32_t type;          // four-character resource type ('STR#', 'FILE', 'GDLG', ...)
  int32_t id;             // resource id
  const unsigned char* data;
  uint32_t size;
};

// A module's resources, in no particular order.
struct ResourceModule {
  const char* name;       // the module's name, for messages
  const ResourceEntry* entries;
  uint32_t count;
};

constexpr uint32_t kResourceStrings = 0x53545223u; // 'STR#'
constexpr uint32_t kResourceFile = 0x46494C45u;    // 'FILE'
constexpr uint32_t kResourceDialog = 0x47444C47u;  // 'GDLG'

}  // namespace platform
