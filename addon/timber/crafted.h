// The timber interface every timber member offers, and its object and lamp forms.
//
// A timber member is a placed library part (an object, or a lamp) whose element carries a
// timber kind code in its user data. All its state lives in the element's GDL parameters;
// the classes here read and write them by name and derive the values that follow from them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "geometry/cad_cube.h"
#include "geometry/cad_point.h"
#include "geometry/cad_poly.h"
#include "geometry/matrix.h"
#include "geometry/vector3.h"
#include "model/component_link.h"
#include "model/element_kinds.h"
#include "runtime/cad_string.h"
#include "timber/cut_list.h"
#include "timber/kind_code.h"

namespace lunvik {
class Drawing;
class Element3D;
}  // namespace lunvik

namespace varnholt {

// Indices of the parameters common to both parameter sets (parameterName).
enum TimberParameter : int {
  kEdgePenParameter = 0,
  kFillPenParameter = 1,
  kCutCountParameter = 2,
  kSwivelParameter = 3,
  kInclineParameter = 4,
  kPrevSwivelParameter = 5,
  kPrevInclineParameter = 6,
  kCutAngleParameter = 7,
  kCutOffsetParameter = 8,
  kStretchyParameter = 9,
  kSpotsParameter = 10,
  kSpotCountParameter = 11,
  kIdParameter = 12,
  kVerticalAnchorLetters = 13,
  kHorizontalAnchorLetters = 14,
};

// The anchor types of `anchorType`.
enum class AnchorType : int { standard = 0, custom = 1, profile = 2 };

// The common operations of every timber member, in slot order. Reads answer false, leaving
// their output unchanged, when a parameter is missing or of another kind; writes answer false
// and change nothing then. Writes change the element's parameters in memory; the element is
// written back to the host by store().
class Crafted {
 public:
  virtual ~Crafted();
  // A copy of the timber object of the same class.
  virtual std::unique_ptr<Crafted> cloneCrafted() const = 0;
  // The far end of the axis: the placement point moved by `length` in the plan direction of
  // the element's angle, at the slope -`incline`.
  virtual bool endPoint(lunvik::CadPoint& point) const;
  // The width used for geometry (`profWide`).
  virtual bool sectionWidth(double& width) const;
  // `profWide`.
  virtual bool profileWidth(double& width) const;
  // `profDeep`.
  virtual bool profileDepth(double& depth) const;
  // `length`.
  virtual bool length(double& length) const;
  // The axis as an open polyline in local coordinates: (0,0,0) to (`length`,0,0).
  virtual bool axisPath(lunvik::CadPoly& path) const;
  // (`xOffset`, `yOffset`, `zOffset`); with halfSection half the width is added to y and
  // half the depth to z (the axis start).
  virtual bool anchorOffset(lunvik::CadPoint& offset, bool halfSection) const;
  // The kind code text (`ID`).
  virtual bool typeId(lunvik::CadString& id) const;
  // `isStretchy`.
  virtual bool isStretchy(bool& on) const;
  // `isSwept`.
  virtual bool isSwept(bool& on) const;
  // `anchorY`.
  virtual bool anchorY(double& value) const;
  // `anchorZ`.
  virtual bool anchorZ(double& value) const;
  // The version of the part's parameter scheme; false when the part is no valid timber.
  virtual bool objectVersion(int32_t& version) const;
  // True for kinds whose axis is not the straight default.
  virtual bool hasOwnPath() const { return false; }
  // profileWidth and profileDepth; true only when both read.
  virtual bool sectionSize(double& width, double& depth) const;
  // The library part of the kind, by name; an invalid link for kinds without one.
  virtual lunvik::ComponentLink libraryPart() const;
  // `timberName`, or the element's library part name when that is empty.
  virtual bool timberName(lunvik::CadString& name) const;

  // ---- the underlying element ----
  // The element.
  virtual lunvik::ComponentElem& timberElement() = 0;
  virtual const lunvik::ComponentElem& timberElement() const = 0;
  // Its link.
  virtual const lunvik::ElementLink& timberLink() const;
  // The drawing it was read from, or null.
  virtual lunvik::Drawing* timberDrawing() const;
  // Its 3D model as the host built it.
  virtual std::unique_ptr<lunvik::Element3D> element3D() const;
  // Its parameters.
  virtual lunvik::ParameterList& parameters();
  virtual const lunvik::ParameterList& parameters() const;
  // Its library part index.
  virtual int32_t libraryIndex() const;
  // Its user data; false when it carries none.
  virtual bool timberUserData(std::string& data) const;
  // The size A, B and the height ZZYZX of the element's box.
  virtual bool boxSize(double& a, double& b, double& zzyzx) const;
  // The placement point (x, y and the elevation).
  virtual lunvik::CadPoint placement() const;
  // The element's layer.
  virtual int16_t timberLayer() const;
  // The element's storey.
  virtual int16_t timberStorey() const;
  // The element's rotation in the plan.
  virtual double planAngle() const;
  // True when the element is mirrored.
  virtual bool isMirrored() const;

  // Converts a part of an earlier parameter scheme to version 2.
  virtual bool upgrade(int32_t version);
  // Re-derives `A`, `B`, `ZZYZX` after `swivel` or `incline` changed.
  virtual bool syncFromRotation();
  // Sets `A`, `B`, `ZZYZX` from length, width and depth for the current direction, leaving
  // any size that would be zero.
  virtual bool fitBoxToTimber();
  // `flatLength` = `length` x cos(`incline`).
  virtual bool updateFlatLength();
  // For a swept part: takes a stretched `A`, `B` or `ZZYZX` into length, width or depth
  // (re-applying the anchor when the section changed), then fits the box to the member and
  // records it.
  virtual bool syncFromBox();
  // Writes the geometric width (`profWide`).
  virtual bool setSectionWidth(double width);
  // `profWide` and `prevWide`.
  virtual bool setProfileWidth(double width);
  // `profDeep` and `prevDeep`.
  virtual bool setProfileDepth(double depth);
  // `length` and `prevLength`.
  virtual bool setLength(double length);
  // `xOffset`, `yOffset`, `zOffset`.
  virtual bool setAnchorOffset(const lunvik::CadPoint& offset);
  // Copies the kind code text into the element's user data.
  virtual bool storeTypeId();
  // Writes `cutOffset`, one value per cut.
  virtual bool setCutOffsets(const std::vector<double>& offsets);
  // Adds a vector to every row of `spots`.
  virtual bool moveSpots(const lunvik::Vector3& by);
  // `isStretchy`.
  virtual bool setStretchy(bool on);
  // `isSmooth`.
  virtual bool setSmooth(bool on);
  // Sorts the `spots` rows, drops rows equal to their predecessor, rewrites `spotCount`.
  virtual bool normaliseSpots();
  // Rebuilds the hotspots from the 3D body, then the schedule data; rebuild first forces a
  // fresh 3D body. False, changing nothing, without a drawing or a `spots` parameter; false
  // too when `spots` is no number array of three columns, which is then left as it is while
  // the schedule data is measured.
  virtual bool recalculate(bool rebuild);
  // Stores the actual and bounding volumes (product members only; others do nothing).
  virtual bool updateScheduleData(const std::vector<lunvik::CadPoint>* preferredVertices,
                                  const lunvik::CadCube* boundingBlock);
  // `swivel`, `incline` and the element's angle 0, its placement point the origin.
  virtual bool resetPlacement();
  // `anchorY`.
  virtual bool setAnchorY(double value);
  // `anchorZ`.
  virtual bool setAnchorZ(double value);
  // `timberName` (product parts).
  virtual bool setTimberName(const lunvik::CadString& name);
  // Kept for the slot order; does nothing.
  virtual void spare() {}

  // ---- element forwarders ----
  // The placement point.
  virtual void setPlacement(const lunvik::CadPoint& point);
  // The plan angle.
  virtual void setPlanAngle(double angle);
  // The mirror flag.
  virtual void setMirrored(bool on);
  // The element's user data (with the kind code's flags).
  virtual bool setTimberUserData(const std::string& data);
  // The size A (record and parameter).
  virtual bool setSizeA(double a);
  // The layer.
  virtual void setTimberLayer(int16_t layer);
  // The size B (record and parameter).
  virtual bool setSizeB(double b);
  // The height ZZYZX (record and parameter).
  virtual bool setHeight(double zzyzx);
  // The element's drawing.
  virtual void setTimberDrawing(lunvik::Drawing* drawing);
  // Writes the element back through its drawing; false without one.
  virtual bool store();
  // Has the drawing write and rebuild the element.
  virtual bool update();
  // The library part.
  virtual void setLibraryIndex(int32_t index);

  // Sets `yOffset` and `zOffset` (and `xOffset` 0) from the anchor.
  virtual bool applyAnchor();
  // The parameter name of an index of the common set; empty for an unknown index.
  virtual lunvik::CadString parameterName(int index) const;

  // ---- helpers over the operations above ----
  // The kind of the class.
  virtual TimberKind kind() const = 0;
  // `swivel` as the user sees it: for a mirrored element 2pi minus the stored value.
  bool swivel(double& value) const;
  bool setSwivel(double value);
  // `incline`.
  bool incline(double& value) const;
  bool setIncline(double value);
  // The stored `swivel`.
  bool storedSwivel(double& value) const;
  // The plan angle the orientation uses: for a mirrored element the angle + pi, modulo 2pi.
  double orientationAngle() const;
  // The member's orientation: plan angle, mirror, `incline`, stored `swivel`; false when an
  // angle is missing.
  bool orientation(lunvik::Matrix3x3& matrix) const;
  // The anchor: vertical index (0 bottom, 1 middle, 2 top) and horizontal index (0 right,
  // 1 middle, 2 left); false for texts that do not read.
  bool anchorIndices(int& vertical, int& horizontal) const;
  // The anchor type; false for a text that does not read.
  bool anchorType(AnchorType& type) const;
  // The number of cuts: `numCuts` kept within the rows that `cutAngle` (two columns) and
  // `cutOffset` hold, 0 for a count below 1. False when the count, or for a count above 0
  // either array, is missing or no number array.
  bool cutCount(int32_t& count) const;
  // The cut planes, in the frame of anchorOffset(with half the section); false when a cut
  // parameter is missing or a cut does not read (the list then holds the cuts read so far).
  bool cutPlanes(CutList& list) const;
  // The `spotCount` rows of `spots` in use (no more than the array holds, rows that are no
  // points left out); false when either is missing or `spots` is no number array of three
  // columns.
  bool spots(std::vector<lunvik::CadPoint>& rows) const;
  // Writes rows into `spots` (as many as it holds) and their number into `spotCount`; false
  // when `spots` is no number array of three columns or a write fails.
  bool writeSpots(const std::vector<lunvik::CadPoint>& rows);

  // Reads and writes by parameter name, through the common helpers.
  bool getNumber(const char* name, double& value) const;
  bool getInteger(const char* name, int32_t& value) const;
  bool getFlag(const char* name, bool& value) const;
  bool getText(const char* name, lunvik::CadString& value) const;
  bool putNumber(const char* name, double value);
  bool putText(const char* name, const lunvik::CadString& value);

 protected:
  Crafted() = default;
  Crafted(const Crafted&) = default;
  Crafted& operator=(const Crafted&) = default;
  // The parameter name of a common index.
  const char* nameOf(int index) const;
  // True for the parts of the `lunvik_` set.
  virtual bool isBlob() const { return false; }
  // True when the member is measured along its own axis by every vertex of its body, the
  // body marking no axis points of its own.
  virtual bool measuredAlongAxis() const { return false; }
  // Hotspots and the bounding block of the 3D body in the axis-start frame, vertices that are
  // no points left out; false without a body.
  bool bodyPoints(std::vector<lunvik::CadPoint>& preferred, std::vector<lunvik::CadPoint>& others,
                  lunvik::CadCube& block) const;
};

// A timber that is an object element.
class CraftedObject : public lunvik::Object, public Crafted {
 public:
  CraftedObject(const platform::ElementRecord& record, const lunvik::ElementLink& link) : Object(record, link) {}
  CraftedObject(const CraftedObject&) = default;
  std::unique_ptr<lunvik::Element> clone() const override;
  std::unique_ptr<Crafted> cloneCrafted() const override;
  lunvik::ComponentElem& timberElement() override { return *this; }
  const lunvik::ComponentElem& timberElement() const override { return *this; }
  bool isMirrored() const override { return Object::isMirrored(); }
  lunvik::ParameterList& parameters() override { return Object::parameters(); }
  const lunvik::ParameterList& parameters() const override { return Object::parameters(); }
  int32_t libraryIndex() const override { return Object::libraryIndex(); }
  TimberKind kind() const override { return TimberKind::none; }
};

// A timber that is a lamp element.
class CraftedLamp : public lunvik::Lamp, public Crafted {
 public:
  CraftedLamp(const platform::ElementRecord& record, const lunvik::ElementLink& link) : Lamp(record, link) {}
  CraftedLamp(const CraftedLamp&) = default;
  std::unique_ptr<lunvik::Element> clone() const override;
  std::unique_ptr<Crafted> cloneCrafted() const override;
  lunvik::ComponentElem& timberElement() override { return *this; }
  const lunvik::ComponentElem& timberElement() const override { return *this; }
  bool isMirrored() const override { return Lamp::isMirrored(); }
  lunvik::ParameterList& parameters() override { return Lamp::parameters(); }
  const lunvik::ParameterList& parameters() const override { return Lamp::parameters(); }
  int32_t libraryIndex() const override { return Lamp::libraryIndex(); }
  TimberKind kind() const override { return TimberKind::none; }
};

// Supplies the names of the `lunvik_` parameter set. An upgraded object is measured by its own
// box: its length is `A`, its width `B` and its depth `ZZYZX`, its frame starts at its origin,
// and turning it never changes its box (the blob code turns the object as it is).
class Blob {
 public:
  virtual ~Blob() = default;
  // The `lunvik_` name of a common index; null for an unknown index.
  static const char* blobParameterName(int index);

 protected:
  // The common operations of both upgraded kinds.
  static bool width(const Crafted& timber, double& value);
  static bool depth(const Crafted& timber, double& value);
  static bool origin(lunvik::CadPoint& offset);
  static bool recordRotation(Crafted& timber);
};

#define VARNHOLT_BLOB_MEASURES                                                                   \
  bool sectionWidth(double& value) const override { return Blob::width(*this, value); }         \
  bool profileWidth(double& value) const override { return Blob::width(*this, value); }         \
  bool profileDepth(double& value) const override { return Blob::depth(*this, value); }         \
  bool anchorOffset(lunvik::CadPoint& offset, bool) const override { return Blob::origin(offset); } \
  bool syncFromRotation() override { return Blob::recordRotation(*this); }                      \
  bool fitBoxToTimber() override { return true; }                                               \
  bool syncFromBox() override { return true; }

// Any object library part carrying the `lunvik_` parameters.
class BlobObject : public Blob, public CraftedObject {
 public:
  using CraftedObject::CraftedObject;
  std::unique_ptr<lunvik::Element> clone() const override;
  std::unique_ptr<Crafted> cloneCrafted() const override;
  TimberKind kind() const override { return TimberKind::blob; }
  // The length: the box size `A`.
  bool length(double& length) const override;
  bool typeId(lunvik::CadString& id) const override;
  bool updateScheduleData(const std::vector<lunvik::CadPoint>*, const lunvik::CadCube*) override { return true; }
  bool setTimberName(const lunvik::CadString&) override { return false; }
  VARNHOLT_BLOB_MEASURES

 protected:
  bool isBlob() const override { return true; }
};

// Any lamp library part carrying the `lunvik_` parameters.
class BlobLamp : public Blob, public CraftedLamp {
 public:
  using CraftedLamp::CraftedLamp;
  std::unique_ptr<lunvik::Element> clone() const override;
  std::unique_ptr<Crafted> cloneCrafted() const override;
  TimberKind kind() const override { return TimberKind::blob; }
  bool length(double& length) const override;
  bool typeId(lunvik::CadString& id) const override;
  bool updateScheduleData(const std::vector<lunvik::CadPoint>*, const lunvik::CadCube*) override { return true; }
  bool setTimberName(const lunvik::CadString&) override { return false; }
  VARNHOLT_BLOB_MEASURES

 protected:
  bool isBlob() const override { return true; }
};

#undef VARNHOLT_BLOB_MEASURES

// The timber wrapper of an element of kind object or lamp: chosen by the kind code of its
// user data (either byte order), checked by its version, upgraded once when of version 1.
// Null for anything else.
std::unique_ptr<lunvik::Element> createTimber(const platform::ElementRecord& record, const lunvik::ElementLink& link);
// The same for an element already read: a timber wrapper of it, or null.
std::unique_ptr<Crafted> asTimber(const lunvik::Element& element);
// Sets an element's user data to data (a kind code text) with the kind code's version,
// platform and flags; false when data is empty or the host refuses.
bool setKindUserData(lunvik::Element& element, const std::string& data);
// Registers createTimber for kinds 6 and 7 in the add-on's creator list (once).
void registerTimberCreators();
// Removes them.
void unregisterTimberCreators();

}  // namespace varnholt
