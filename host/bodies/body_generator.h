// The stand-in host's built-in 3D body generators. The host does not run GDL: a placed
// library part's bodies come from the generator of its kind code (the part's `ID` or
// `lunvik_ID` parameter), evaluated from the element's parameter values and placement
// (README.md, "3D bodies").
//
// Every generator works in the member's own frame: x along the axis from its start, y across
// the section's width and z across its depth, the section centred on the axis. The body's
// matrix places that frame: the placement point plus the anchor offset (`xOffset`,
// `yOffset` + width / 2, `zOffset` + depth / 2), turned by the plan angle (angle + pi and x
// negated for a mirrored element), `incline` about y and `swivel` about x. The end cuts
// (`numCuts`, `cutAngle`, `cutOffset`) clip the solid, and the volume is that of the clipped,
// faceted solid. Constant-section kinds (ROUN, SECT, EXTR) whose axis is bent or whose far end
// is moved sweep their section along that axis (member_axis.h), x then running along its chord.
//
// Profile parts draw the profile of their 3D script (put_profile.h): CUST its outline in the
// member's x-y plane from the axis start, extruded across the depth; EXTR its section (the
// profile's y across the width, its x across the depth) along the length; LATH its outline (x
// along the axis, y the distance from it) turned about the axis by `latheSweep`. A part of no
// kind draws its own code: its put profile extruded along `length`, else its `BLOCK`
// statements; an upgraded object (BLOB) draws its own code turned about its origin by
// `lunvik_incline` and `lunvik_swivel` and cut by the `lunvik_` cuts.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/library/part_file.h"
#include "platform/geometry_records.h"

namespace standin {

// A point or vector of the generators.
struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
};

// Where an element stands.
struct BodyPlacement {
  double x = 0;
  double y = 0;
  double z = 0;
  double angle = 0;  // plan angle, radians
  bool mirrored = false;
};

// Named parameter values (letter case ignored) with fallbacks for missing ones.
class ParameterValues {
 public:
  ParameterValues() = default;
  explicit ParameterValues(std::vector<PartParameter> parameters);
  // The first value of a number parameter; fallback when missing or a text.
  double number(const std::string& name, double fallback) const;
  // Value (row, column) of a number array; fallback when missing or outside it.
  double cell(const std::string& name, int row, int column, double fallback) const;
  // A text parameter's value; empty when missing.
  std::string text(const std::string& name) const;
  const std::vector<PartParameter>& parameters() const { return parameters_; }
  // Collects the lower-case names asked for from now on (null: stops), found or not.
  void trackReads(std::unordered_set<std::string>* reads) { reads_ = reads; }

 private:
  const PartParameter* find(const std::string& name) const;
  std::vector<PartParameter> parameters_;
  std::unordered_map<std::string, std::size_t> index_;  // lower-case name -> first position
  std::unordered_set<std::string>* reads_ = nullptr;
};

// One generated body: vertices in the member's frame, faces as vertex loops that run
// counter-clockwise seen from outside, the edges they use and one normal per face.
struct GeneratedBody {
  std::vector<Vec3> vertices;
  std::vector<std::vector<int32_t>> faces;
  std::vector<Vec3> normals;                      // per face, in the model
  std::vector<std::pair<int32_t, int32_t>> edges;  // vertex indices, first < second
  std::vector<std::vector<int32_t>> faceEdges;     // per face, its edges in loop order
  std::vector<int32_t> edgeEntries;               // every face's edges, face after face
  std::vector<int32_t> firstEntry;                // per face, its first place in edgeEntries
  platform::TransformRecord matrix{};             // member frame to model
  Vec3 boxMin;                                    // in the model
  Vec3 boxMax;
  int16_t pen = 1;
};

// What a generator makes of an element.
struct GeneratedModel {
  std::vector<GeneratedBody> bodies;  // bodies with faces only
  double volume = 0;                  // cubic metres, of the clipped solid
  double surface = 0;                 // square metres
};

// The generator kinds the host knows: RECT, TAPR, TPEG, JOWL, CAMB, SQRO, ROTA, ROUN, CURV,
// CUST, EXTR, LATH, SECT, BLOB, ASSM (no bodies), and parts of no kind drawn by their own code.
bool knownBodyKind(const std::string& kind);
// The kind code of a part's parameters: `ID`, else `lunvik_ID`.
std::string bodyKindOf(const ParameterValues& values);
// Generates the bodies of a part of kind (empty: a profile from script3D when it has one)
// from its parameter values and placement. A kind without a generator gives no bodies.
GeneratedModel generateBodies(const std::string& kind, const ParameterValues& values, const BodyPlacement& placement,
                              const std::string& script3D = std::string());
// The profile points the `put` statements of a 3D script list (three numbers a point: x, y,
// status), in order. Numbers are decimals standing on their own (not part of a name such as
// x1 or nan); a list holding one beyond 1000 km gives no points.
std::vector<std::pair<double, double>> profileFromScript(const std::string& script3D);

}  // namespace standin
