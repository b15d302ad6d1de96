// Element, memo, selection, user-data, storey and attribute records exchanged with the host's
// databases.
//
// Field order and widths follow the host's records; pointer-holding records (the memo, user
// data) take this build's pointer width, as in host_records.h. Where the host leaves a layout
// to us, the header below documents it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/geometry_records.h"
#include "platform/host_types.h"

namespace platform {

// A 16-byte element GUID; all zero means none.
struct Guid {
  uint8_t bytes[16];
};

inline bool isZero(const Guid& g) {
  for (uint8_t b : g.bytes)
    if (b) return false;
  return true;
}
inline bool operator==(const Guid& a, const Guid& b) { return std::memcmp(a.bytes, b.bytes, 16) == 0; }
inline bool operator!=(const Guid& a, const Guid& b) { return !(a == b); }

// Database kinds reported by HostDatabase 'GDAT'.
enum : int32_t {
  kDatabasePlan = 1, kDatabaseSection = 2, kDatabaseDetail = 3, kDatabaseModel = 4, kDatabaseLayout = 5,
  kDatabaseMasterLayout = 9, kDatabaseElevation = 10, kDatabaseInteriorElevation = 11, kDatabaseWorksheet = 12,
  kDatabaseDocument3D = 13,
};

// A database's identity: its kind, a 16-bit number and a 32-bit index (plan and model: 0, 0).
struct DatabaseRecord {
  int32_t kind;
  int16_t number;
  int16_t padding;
  int32_t index;
};

// Element kinds the add-on names.
enum : int32_t {
  kWall = 1, kColumn = 2, kBeam = 3, kWindow = 4, kDoor = 5, kObject = 6, kLamp = 7, kSlab = 8, kRoof = 9,
  kMesh = 10, kDimension = 11, kText = 15, kLabel = 16, kZone = 17, kHatch = 18, kLine = 19, kPolyLine = 20,
  kArc = 21, kCircle = 22, kHotspot = 24, kSectionReference = 25, kGroup = 28, kSectionProxy = 29,
  kPlacedDrawing = 30, kImage = 31, kElevationReference = 33, kCurtainWall = 37, kCurtainWallSegment = 38,
  kCurtainWallFrame = 39, kCurtainWallPanel = 40, kCurtainWallJunction = 41, kCurtainWallAccessory = 42,
  kLastSteppedKind = 32,
};

// The 104-byte header every element record starts with. The host fills everything but the
// kind, variation, layer and storey when it creates an element.
struct ElementHeader {
  int32_t typeID;          // 0: element kind
  uint32_t variation;      // 4: sub-kind ('Vrnh' for the add-on's tool elements)
  int32_t index;           // 8: index in its database, from 1; 0 = not in the host
  Guid guid;               // 12
  int16_t layer;           // 28: layer attribute index
  int16_t storey;          // 30: storey number (plan)
  Guid groupGuid;          // 32: the immediate group, zero when none
  uint32_t modiStamp;      // 48: changes on every change of the element
  int32_t databaseKind;    // 52: where the element lives: the database's kind,
  int32_t databaseIndex;   // 56: its index
  uint8_t hasMemo;         // 60
  uint8_t locked;          // 61
  uint8_t hasUserData;     // 62
  uint8_t marked;          // 63: linked to the add-on (HostLinkElement)
  int32_t drawIndex;       // 64: drawing order
  int16_t databaseNumber;  // 68: and its number (with kind and index its DatabaseRecord)
  uint8_t reserved[34];    // 70
};

static_assert(sizeof(ElementHeader) == 104, "the element header is 104 bytes");
static_assert(offsetof(ElementHeader, databaseNumber) == 68, "the database number at 68");

// The placed library parts: windows, doors, objects, lamps, labels, zones, section and
// elevation references.
struct PlacedPartRecord {
  ElementHeader head;
  int32_t libIndex;        // the library part, from 1
  int16_t pen;
  int16_t lineType;
  int16_t material;
  int16_t fill;
  int16_t fillPen;
  int16_t padding;
  Coord2D pos;             // the placement point
  double level;            // elevation above the storey
  double angle;            // rotation in the plan, radians
  double xRatio;           // A size
  double yRatio;           // B size
  double height;
  uint8_t mirrored;
  uint8_t padding2[7];
  char id[16];
};

// The polygon kinds: slabs, roofs, meshes, hatches, polylines, placed drawings.
struct PolygonElementRecord {
  ElementHeader head;
  int16_t contourPen;
  int16_t fillPen;
  int16_t fillBackgroundPen;
  int16_t lineType;
  int16_t fill;
  int16_t material;
  int16_t textFont;        // the text part: font index, style bits, size
  int16_t textStyle;
  double textSize;
  double level;
  double thickness;
  int32_t coordCount;      // polygon counts: coordinates, contours, arcs
  int32_t contourCount;
  int32_t arcCount;
  int32_t padding;
  char id[16];
};

// The linear kinds: walls, columns, beams, curtain walls and their parts.
struct SolidElementRecord {
  ElementHeader head;
  int16_t pen;
  int16_t fillPen;
  int16_t lineType;
  int16_t fill;
  int16_t material;
  int16_t padding[3];
  Coord2D begC;
  Coord2D endC;
  double level;
  double height;
  double width;
  double depth;
  double angle;
  char id[16];
};

// Lines, hotspots and dimensions.
struct LineRecord {
  ElementHeader head;
  int16_t pen;
  int16_t lineType;
  int16_t arrowType;
  int16_t padding;
  double arrowSize;
  Coord2D begC;
  Coord2D endC;
  double level;
};

// Arcs and circles.
struct CircleRecord {
  ElementHeader head;
  int16_t pen;
  int16_t lineType;
  uint8_t whole;           // a full circle
  uint8_t padding[3];
  Coord2D origC;
  double r;
  double begAng;
  double endAng;
  char id[16];
};

// Texts; the content is in the memo.
struct TextRecord {
  ElementHeader head;
  int16_t pen;
  int16_t font;
  int32_t style;
  double size;
  double angle;
  Coord2D loc;
  double width;
  double height;
};

// Groups; the members are in the memo.
struct GroupRecord {
  ElementHeader head;
  char name[32];
  int32_t value1;
  int32_t value2;
  int32_t memberCount;
};

// A section-view proxy: a plan element as a section or elevation shows it.
struct ProxyRecord {
  ElementHeader head;
  int32_t targetType;
  int32_t targetIndex;
  Guid targetGuid;
  int32_t targetDatabaseKind;
  int32_t targetDatabaseIndex;
  int16_t targetDatabaseNumber;
  int16_t padding;
  double h;                // the element's position along the cut line
  double v;                // and its height
};

// The host's full element record: 2760 bytes, one kind's record over the header.
union ElementRecord {
  ElementHeader header;
  PlacedPartRecord part;
  PolygonElementRecord polygon;
  SolidElementRecord solid;
  LineRecord line;
  CircleRecord circle;
  TextRecord text;
  GroupRecord group;
  ProxyRecord proxy;
  uint8_t bytes[2760];
};

static_assert(sizeof(ElementRecord) == 2760, "the element record is 2760 bytes");

// An arc of a polygon memo: the indices of its first and last coordinate and its angle.
struct PolyArcRecord {
  int32_t begIndex;
  int32_t endIndex;
  double angle;
};

static_assert(sizeof(PolyArcRecord) == 16, "a polygon arc is 16 bytes");

// An element's memo: 45 handles (180 bytes on a 32-bit build). Whoever receives a memo from
// the host disposes of its handles. The same record is an attribute's memo, of which params
// (a zone category's stamp parameters) and skins (a composite's skins) are used.
struct ElementMemoRecord {
  GSHandle coords;         // Coord2D x (n + 1); record 0 is (0, 0) closed or (-1, 0) open
  GSHandle contourEnds;    // int32 x (c + 1)
  GSHandle arcs;           // PolyArcRecord x a
  GSHandle vertexIDs;      // int32 x (n + 1); entry 0 the greatest vertex number
  GSHandle params;         // HostParameterRecord x p
  GSHandle gables;         // 88-byte records
  GSHandle text;           // a text's content, zero-terminated
  GSHandle members;        // a group's members: Guid x m
  GSHandle skins;          // an attribute memo: a composite's skins, CompositeSkinRecord x s
  GSHandle reserved[36];
};

static_assert(sizeof(ElementMemoRecord) == 45 * sizeof(GSHandle), "the memo is 45 handles");

// Memo mask bits.
enum : int32_t {
  kMemoPolygon = 1, kMemoGables = 2, kMemoParams = 4, kMemoText = 8, kMemoMembers = 16, kMemoSkins = 32,
  kMemoAll = int32_t(0xEFFFFFFF),
};

// A selection item: 32 bytes.
struct SelectionItem {
  int32_t itemCode;        // selection-item code of the element kind
  int32_t reserved;
  Guid guid;
  int32_t inIndex;
  int32_t itemFlags;
};

static_assert(sizeof(SelectionItem) == 32, "a selection item is 32 bytes");

// The add-on's user data on an element.
struct UserDataRecord {
  int16_t version;         // 1
  uint16_t platform;       // 0x5757
  int32_t flags;           // the host's user-data flags, passed through
  GSHandle data;           // the data: the caller's handle on set; a new handle on get
  int32_t value;           // the caller's value
  int32_t padding;
};

// One storey: 64 bytes.
struct StoreyRecord {
  int16_t index;           // the storey number
  int16_t number2;
  uint8_t flag;
  uint8_t padding[3];
  double elevation;
  char name[48];
};

static_assert(sizeof(StoreyRecord) == 64, "a storey record is 64 bytes");
static_assert(offsetof(StoreyRecord, elevation) == 8, "storey elevation at 8");
static_assert(offsetof(StoreyRecord, name) == 16, "storey name at 16");

// Attribute type codes.
enum : int32_t {
  kAttrPen = 1, kAttrLayer = 2, kAttrLineType = 3, kAttrFill = 4, kAttrComposite = 5, kAttrMaterial = 6,
  kAttrCity = 7, kAttrZoneCategory = 9, kAttrFont = 10,
};

// An attribute's header, at the start of every attribute record.
struct AttributeHeader {
  int16_t typeID;
  int16_t index;
  int16_t flags;           // layers: bit 0 hidden, bit 1 locked
  int16_t padding;
  char name[32];
};

// An attribute: its header and the type's own part (kept as bytes; FillBody and
// CompositeBody lay out those of fills and composites).
struct AttributeRecord {
  AttributeHeader header;
  uint8_t body[216];
};

static_assert(sizeof(AttributeRecord) == 256, "an attribute record is 256 bytes");

// Fill kinds.
enum : int16_t { kFillPattern = 0, kFillSolid = 1, kFillEmpty = 2 };

// The body of a fill: its kind and its 8 x 8 pattern, one byte a row (bit 7 the leftmost
// dot), drawn at the spacing and angle given.
struct FillBody {
  int16_t kind;            // kFillPattern, kFillSolid or kFillEmpty
  int16_t padding[3];
  uint8_t pattern[8];
  double spacing;          // metres between the pattern's repeats on paper
  double angle;            // radians
};

// The body of a composite: the number of its skins (in the memo's skins) and the pattern its
// cut shows.
struct CompositeBody {
  int16_t skinCount;
  int16_t padding[3];
  uint8_t pattern[8];
};

// One skin of a composite, outside first.
struct CompositeSkinRecord {
  int16_t fill;            // fill attribute index
  int16_t pen;             // the fill's pen
  int16_t flags;           // bit 0: a core skin
  int16_t padding;
  double thickness;        // metres
};

static_assert(sizeof(FillBody) <= sizeof(AttributeRecord::body), "a fill body fits the record");
static_assert(sizeof(CompositeBody) <= sizeof(AttributeRecord::body), "a composite body fits the record");
static_assert(sizeof(CompositeSkinRecord) == 16, "a skin record is 16 bytes");

// Layer flag bits.
enum : int16_t { kLayerHidden = 1, kLayerLocked = 2 };

// Database notification codes of ElementNotifyRecord.
enum : int32_t { kDataBegin = -1, kDataEnd = -2, kNewElement = 1, kCopyElement = 2, kChangeElement = 3, kEditElement = 4 };

// Filter bits of HostFilterElement (README.md, "Host model"). An element passes when it
// meets every bit set.
enum : int32_t {
  kFilterEditable = 1,        // neither locked nor on a locked layer
  kFilterVisible = 2,         // on a layer that is shown
  kFilterCurrentStorey = 4,   // a plan element on the current storey
  kFilterHasUserData = 8,     // carries the add-on's user data
  kFilterModelElement = 16,   // an element of the building model (walls to meshes, placed parts)
  kFilterNotGrouped = 32,     // in no group
  kFilterSelected = 64,       // in the selection
};

}  // namespace platform
