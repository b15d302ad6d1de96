// Records of the host's 3D model: bodies and their polygons, polygon-edge entries, edges,
// vertices and normals, and the element quantities query.
//
// Indices of a body's components count from 1 within the body. A polygon lists its contours
// as a run of polygon-edge entries: each entry is an edge index, negative when the contour
// runs the edge from its second vertex to its first, and 0 ends a contour before the next
// (the stand-in host writes each contour as a chain of positive entries). A polygon's normal
// index is negative when the stored normal must be reversed. Vertices are in the body's own
// frame; the body's matrix takes them into the model.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/geometry_records.h"

namespace platform {

// Component type codes of HostGet3DComponent.
enum : int32_t {
  kComponentBody = 1,
  kComponentPolygon = 2,
  kComponentPolygonEdge = 3,
  kComponentEdge = 4,
  kComponentVertex = 5,
  kComponentNormal = 6,
};

// The range of an element's bodies.
struct Element3DInfo {
  int32_t firstBody;  // from 1
  int32_t lastBody;   // first - 1 when the element has no body
};

// A body.
struct Body3DRecord {
  int32_t status;       // the host's status word, passed through
  int16_t colour;       // the body's pen
  int16_t material;     // the body's material index
  int32_t polygonCount;
  int32_t edgeCount;
  int32_t vertexCount;
  int32_t padding;
  TransformRecord matrix;  // body frame to model
  float box[6];            // x, y, z of the minimum corner, then of the maximum, in the model
};

// A polygon: its run of polygon-edge entries and its normal.
struct Polygon3DRecord {
  int32_t firstEntry;  // first polygon-edge entry, from 1
  int32_t lastEntry;
  int32_t normal;      // normal index; negative: reverse it
  int32_t material;
};

// An edge between two vertices.
struct Edge3DRecord {
  int32_t vertex1;
  int32_t vertex2;
  int32_t flags;  // 1: the edge is smooth (between facets of a curved surface)
  int32_t padding;
};

// A vertex or a normal vector.
struct Vector3DRecord {
  double x;
  double y;
  double z;
};

// One component, addressed by type, body and index; the host fills the member of its type.
struct Component3DRecord {
  int32_t typeCode;  // kComponentBody ... kComponentNormal
  int32_t body;      // body index in the model, from 1
  int32_t index;     // component index within the body, from 1 (ignored for a body)
  int32_t padding;
  union {
    Body3DRecord body;
    Polygon3DRecord polygon;
    int32_t edgeEntry;  // a polygon-edge entry
    Edge3DRecord edge;
    Vector3DRecord vertex;
    Vector3DRecord normal;
  } data;
};

// The quantities query of an element.
struct ElementQueryRecord {
  int32_t typeID;     // element kind
  int32_t index;      // element index
  double accuracy;    // largest error allowed in lengths, metres
};

// The element's quantities.
struct ElementQuantityRecord {
  double volume;   // cubic metres
  double surface;  // square metres
};

static_assert(offsetof(Body3DRecord, matrix) == 24, "the body matrix at 24");
static_assert(sizeof(Vector3DRecord) == 24, "three doubles");

}  // namespace platform
