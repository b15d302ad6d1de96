// Library-part records exchanged with the host's library.
//
// A file location is a memory handle holding the location's full path, zero-terminated;
// whoever receives one from the host disposes of it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/host_types.h"

namespace platform {

// Library-part type codes.
enum : int32_t {
  kPartWindow = 2,
  kPartDoor = 3,
  kPartObject = 4,
  kPartLamp = 5,
  kPartZone = 6,
  kPartProperty = 7,
  kPartLabel = 9,
  kPartMacro = 10,
};

// One library part: 1336 bytes.
struct LibraryPartRecord {
  int32_t typeID;            // part type; 0 = any when searching
  int32_t index;             // index in the loaded libraries, from 1; 0 = none
  uint16_t name[256];        // zero-terminated
  uint16_t fileName[256];    // zero-terminated
  uint8_t pad1032[2];
  uint8_t optionFlag1;       // at 1034
  uint8_t optionFlag2;       // at 1035
  uint8_t pad1036[4];
  int16_t value1040;         // copied back after saving
  uint8_t pad1042[30];
  GSHandle location;         // at 1072: the part's file location, or null
  char ownId[128];           // at 1080: two GUIDs in braces joined by a hyphen
  char parentId[128];        // at 1208
};

static_assert(sizeof(LibraryPartRecord) == 1336, "the library-part record is 1336 bytes");
static_assert(offsetof(LibraryPartRecord, optionFlag1) == 1034, "option flags at 1034");
static_assert(offsetof(LibraryPartRecord, value1040) == 1040, "value at 1040");
static_assert(offsetof(LibraryPartRecord, location) == 1072, "location at 1072");
static_assert(offsetof(LibraryPartRecord, ownId) == 1080, "identifiers at 1080");

// The part's details record: 3200 bytes of the host's, passed through.
struct LibraryPartDetails {
  int32_t fixedSize;  // 1 when the part's box size may not be stretched
  int32_t autoHotspots;  // 1 when the host adds the box's hotspots
  uint8_t reserved[3192];
};

static_assert(sizeof(LibraryPartDetails) == 3200, "the details record is 3200 bytes");

// A section's header: its code and two words left 0.
struct LibraryPartSectionHeader {
  uint32_t code;  // 'PARD', '1DSC', '2DSC', '3DSC', 'VLSC', 'UISC', 'CTXT', 'PICT', 'GIFF', ...
  int32_t word1;
  int32_t word2;
};

static_assert(sizeof(LibraryPartSectionHeader) == 12, "a section header is 12 bytes");

// The answer of HostGetLibraryPartSection for a section the part lists but holds no data for.
constexpr GSErr kErrSectionNoData = int32_t(0x810600CDu);

// The resource type of library parts embedded in a resource module (their text form).
constexpr uint32_t kResourceLibraryPart = 0x4C505254u;  // 'LPRT'

// The list of an add-on's built-in library (resource id 1 of this type in its own module), read
// when it calls HostRegisterBuiltInLibrary: text, one part a line, "ID<TAB>FILE NAME", ID the
// part's file resource (its text may follow the 32-bit length); '#' lines and blank lines are
// ignored.
constexpr uint32_t kResourceBuiltInLibrary = 0x424C4942u;  // 'BLIB'

// Converts between 8-bit text and the records' zero-terminated 16-bit text (characters above
// one byte read as '?').
inline void toWide(const char* text, uint16_t* out, int size) {
  int i = 0;
  for (; text && text[i] && i < size - 1; ++i) out[i] = static_cast<unsigned char>(text[i]);
  out[i] = 0;
}

}  // namespace platform
