// Clicks in the drawing: the records of the host's input requests and the callbacks the host
// makes while one is in progress. The requests go through HostInterface:
//
//   HostInterface 'IPOI' (PointRequest*)    asks for one point
//   HostInterface 'ILIN' (LineRequest*)     asks for the end of a line from a given start
//   HostInterface 'IARC' (ArcRequest*)      asks for the end of an arc about a centre
//   HostInterface 'IPOL' (PolygonRequest*)  asks for a polygon from a given first vertex
//   HostInterface 'DRLI' (const Coord3D* from, const Coord3D* to)
//                                           draws one rubber line (feedback, see below)
//
// A request answers kNoError when the user clicked, and a non-zero result when the user
// cancelled (Escape, another tool: kErrCancelled) or the request could not be made; a request
// made while another is in progress is refused. Coordinates are those of the current view:
// in the plan x, y and z; in a section or elevation x runs along the cut line and y up, z 0.
//
// Feedback. While a request waits, the host calls its cursor callback (when the record gives
// one) whenever the cursor moves, in pairs: first with draw false to erase the feedback of the
// previous position, then with draw true to draw the feedback of the new one; after the click
// a last call with draw false erases it. The coordinate handed in is the cursor's position;
// the callback may write another position back. Rubber lines are drawn in an exclusive-or
// fashion, so an erase call must draw exactly the lines the draw call before it drew ('DRLI'
// is meant for these calls; a line drawn at other times is drawn once and stays until the
// host redraws the view).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/geometry_records.h"

namespace platform {

// The prompt the host shows in its status line while a request waits: at most this many
// bytes with the terminating zero.
constexpr int32_t kPromptSize = 256;

// Called on every cursor move of a request: the cursor's position (in, and out when the
// callback moves it) and whether the feedback is to be drawn (true) or erased (false).
using InputCursorFn = void (*)(Coord3D* cursor, bool draw);
// Called when the user adds a vertex to a polygon: its coordinate.
using PolygonVertexFn = void (*)(const Coord3D* vertex);
// Called when the user takes the last added vertex of a polygon back.
using PolygonTakeBackFn = void (*)();

// 'IPOI': one point.
struct PointRequest {
  char prompt[kPromptSize];   // zero-terminated
  InputCursorFn cursor;       // may be null: no feedback
  Coord3D point;              // answer: the clicked point
};

// 'ILIN': the end of a line drawn from a start the add-on gives.
struct LineRequest {
  char prompt[kPromptSize];
  InputCursorFn cursor;
  Coord3D start;              // the line's start
  Coord3D end;                // answer: the clicked end
};

// 'IARC': the end of an arc about a centre. The host answers the arc the user drew from the
// start, its end on the circle through the start: arcStart and arcEnd are its ends as the
// arc runs counter-clockwise, so the clicked end is arcEnd for an arc drawn counter-clockwise
// and arcStart (with clockwise set) for one drawn clockwise.
struct ArcRequest {
  char prompt[kPromptSize];
  InputCursorFn cursor;
  Coord3D centre;             // the arc's centre
  Coord3D start;              // the arc's start; the user clicks only the end when startGiven
  int32_t startGiven;         // 1: start is given (the only kind the stand-in host offers)
  int32_t clockwise;          // answer: 1 when the arc was drawn clockwise
  Coord3D arcStart;           // answer: the arc's counter-clockwise start
  Coord3D arcEnd;             // answer: the arc's counter-clockwise end
};

// 'IPOL': a closed polygon from a first vertex the add-on gives. Each vertex the user adds
// is handed to addVertex, each one taken back reported to takeBack (only vertices added in
// this request can be taken back); the user closes the polygon once it has at least
// kPolygonMinVertices vertices, the first one included.
struct PolygonRequest {
  char prompt[kPromptSize];
  InputCursorFn cursor;
  PolygonVertexFn addVertex;  // may be null
  PolygonTakeBackFn takeBack; // may be null
  Coord3D start;              // the first vertex
  int32_t vertexCount;        // answer: the vertices of the closed polygon, the first included
};

// The fewest vertices, the first one included, a polygon request closes with.
constexpr int32_t kPolygonMinVertices = 3;

static_assert(offsetof(PointRequest, cursor) == kPromptSize, "the prompt comes first");
static_assert(offsetof(LineRequest, cursor) == kPromptSize, "the prompt comes first");
static_assert(offsetof(ArcRequest, cursor) == kPromptSize, "the prompt comes first");
static_assert(offsetof(PolygonRequest, cursor) == kPromptSize, "the prompt comes first");

}  // namespace platform
