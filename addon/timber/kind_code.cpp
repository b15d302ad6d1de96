#include "timber/kind_code.h"

namespace varnholt {

namespace {

struct KindRow {
  TimberKind kind;
  uint32_t code;
  int32_t nameItem;
};

constexpr KindRow kKinds[] = {
    {TimberKind::rectilinear, kRectilinearCode, 32}, {TimberKind::taper, kTaperCode, 33},
    {TimberKind::peg, kPegCode, 34},                 {TimberKind::jowl, kJowlCode, 35},
    {TimberKind::camber, kCamberCode, 36},           {TimberKind::squareRound, kSquareRoundCode, 38},
    {TimberKind::roundTaper, kRoundTaperCode, 39},   {TimberKind::curved, kCurvedCode, 7},
    {TimberKind::custom, kCustomCode, 0},            {TimberKind::lathe, kLatheCode, 0},
    {TimberKind::round, kRoundCode, 37},             {TimberKind::extrusion, kExtrusionCode, 0},
    {TimberKind::constSection, kConstSectionCode, 0}, {TimberKind::assembly, kAssemblyCode, 11},
    {TimberKind::blob, kBlobCode, 0},
};

uint32_t swapBytes(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

const KindRow* rowOf(TimberKind kind) {
  for (const KindRow& row : kKinds)
    if (row.kind == kind) return &row;
  return nullptr;
}

}  // namespace

uint32_t kindCode(TimberKind kind) {
  const KindRow* row = rowOf(kind);
  return row ? row->code : 0;
}

std::string kindLetters(TimberKind kind) {
  uint32_t code = kindCode(kind);
  if (!code) return std::string();
  std::string letters(4, ' ');
  for (int i = 0; i < 4; ++i) letters[std::size_t(i)] = char((code >> (24 - 8 * i)) & 0xFF);
  return letters;
}

TimberKind kindOfCode(uint32_t code) {
  uint32_t swapped = swapBytes(code);
  for (const KindRow& row : kKinds)
    if (row.code == code || row.code == swapped) return row.kind;
  return TimberKind::none;
}

TimberKind kindOfUserData(const std::string& data) {
  if (data.size() < 4) return TimberKind::none;
  uint32_t code = 0;
  for (std::size_t i = 0; i < 4; ++i) code = (code << 8) | uint32_t(static_cast<unsigned char>(data[i]));
  return kindOfCode(code);
}

int32_t libraryPartNameItem(TimberKind kind) {
  const KindRow* row = rowOf(kind);
  return row ? row->nameItem : 0;
}

}  // namespace varnholt
