// Timber kind codes: the four-character codes a timber library part keeps in its `ID` (or
// `lunvik_ID`) parameter and the add-on copies into the element's user data.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host_types.h"

namespace varnholt {

// The timber kinds, one per class of the family that a kind code selects.
enum class TimberKind : int {
  none = 0,
  rectilinear,
  taper,
  peg,
  jowl,
  camber,
  squareRound,
  roundTaper,
  curved,
  custom,
  lathe,
  round,
  extrusion,
  constSection,
  assembly,
  blob,
};

constexpr uint32_t kRectilinearCode = platform::fourcc("RECT");
constexpr uint32_t kTaperCode = platform::fourcc("TAPR");
constexpr uint32_t kPegCode = platform::fourcc("TPEG");
constexpr uint32_t kJowlCode = platform::fourcc("JOWL");
constexpr uint32_t kCamberCode = platform::fourcc("CAMB");
constexpr uint32_t kSquareRoundCode = platform::fourcc("SQRO");
constexpr uint32_t kRoundTaperCode = platform::fourcc("ROTA");
constexpr uint32_t kCurvedCode = platform::fourcc("CURV");
constexpr uint32_t kCustomCode = platform::fourcc("CUST");
constexpr uint32_t kLatheCode = platform::fourcc("LATH");
constexpr uint32_t kRoundCode = platform::fourcc("ROUN");
constexpr uint32_t kExtrusionCode = platform::fourcc("EXTR");
constexpr uint32_t kConstSectionCode = platform::fourcc("SECT");
constexpr uint32_t kAssemblyCode = platform::fourcc("ASSM");
constexpr uint32_t kBlobCode = platform::fourcc("BLOB");

// The code of a kind (0 for none).
uint32_t kindCode(TimberKind kind);
// The four letters of a kind's code ("" for none).
std::string kindLetters(TimberKind kind);
// The kind a code names, in either byte order; none for any other code.
TimberKind kindOfCode(uint32_t code);
// The kind named by the first four bytes of user data read as a 32-bit number (first byte
// high), in either byte order; none when there are fewer than four bytes or the code is unknown.
TimberKind kindOfUserData(const std::string& data);
// The item of string list 32521 holding the library part name of a kind; 0 for kinds whose
// parts the add-on does not address by name.
int32_t libraryPartNameItem(TimberKind kind);

}  // namespace varnholt
