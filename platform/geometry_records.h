// Geometry records the add-on and the host exchange: coordinates, boxes, segments,
// transformation matrices and the edit-parameters record queued on elements.
//
// Plain structs; field order and widths follow the host's records (doubles and 32-bit
// integers as declared, also on a 64-bit build).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// A plan coordinate: metres.
struct Coord2D {
  double x;
  double y;
};

// A model-space coordinate: metres, z up.
struct Coord3D {
  double x;
  double y;
  double z;
};

// Two plan coordinates: the start and the end of a segment.
struct SegmentRecord {
  Coord2D start;
  Coord2D end;
};

// A plan box: the minimum and the maximum corner.
struct BoxRecord {
  double xMin;
  double yMin;
  double xMax;
  double yMax;
};

// A model box: the minimum and the maximum corner.
struct Box3DRecord {
  double xMin;
  double yMin;
  double zMin;
  double xMax;
  double yMax;
  double zMax;
};

// A 3x4 transformation: three rows of four, rotation and scale in the first three columns,
// the translation in the fourth; element (row, column) is at index row * 4 + column.
struct TransformRecord {
  double tmx[12];
};

// The parameters of one edit (move, copy, rotate, mirror and the like): 160 bytes.
struct EditRecord {
  int32_t kind;          // the edit's four-character code ('DRAG' for a move)
  uint8_t flag;          // 1 when the original is not kept
  uint8_t padding[3];
  Coord2D origin;        // the edit's plan origin
  Coord3D first;         // first point (a move: where the drag starts)
  Coord3D second;        // second point (a move: where the drag ends)
  Coord3D third;         // third point
  uint8_t reserved[64];  // always zero
};

static_assert(sizeof(Coord2D) == 16, "Coord2D is two doubles");
static_assert(sizeof(Coord3D) == 24, "Coord3D is three doubles");
static_assert(sizeof(SegmentRecord) == 32, "SegmentRecord is two plan coordinates");
static_assert(sizeof(BoxRecord) == 32, "BoxRecord is four doubles");
static_assert(sizeof(Box3DRecord) == 48, "Box3DRecord is six doubles");
static_assert(sizeof(TransformRecord) == 96, "TransformRecord is twelve doubles");
static_assert(sizeof(EditRecord) == 160, "EditRecord is 160 bytes");
static_assert(offsetof(EditRecord, flag) == 4, "flag at 4");
static_assert(offsetof(EditRecord, origin) == 8, "origin at 8");
static_assert(offsetof(EditRecord, first) == 24, "first point at 24");
static_assert(offsetof(EditRecord, second) == 48, "second point at 48");
static_assert(offsetof(EditRecord, third) == 72, "third point at 72");
static_assert(offsetof(EditRecord, reserved) == 96, "zero tail at 96");

}  // namespace platform
