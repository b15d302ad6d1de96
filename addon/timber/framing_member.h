// The product's own timber members: joints, numbering, scheduling and display on top of the
// common timber operations, and one class per timber kind.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "timber/crafted.h"

namespace varnholt {

class JointPrefs;

// The joints of a member: 0 start, 1 end, 2-4 the intermediate joints.
enum JointIndex : int { kStartJoint = 0, kEndJoint = 1, kFirstIntermediateJoint = 2, kJointCount = 5 };

// The schedule dimensions of a member, all unrounded or rounded to the project's increments.
struct DimensionCache {
  double extendedLength = 0;  // length plus both extra lengths
  double width = 0;
  double depth = 0;
  double roundedLength = 0;   // extended length up to the length increment
  double roundedWidth = 0;    // width to the nearest section increment
  double roundedDepth = 0;
  bool valid = false;         // the rounded values have been computed
};

// A timber of the product's own library parts.
class FramingMember : public CraftedObject {
 public:
  FramingMember(const platform::ElementRecord& record, const lunvik::ElementLink& link)
      : CraftedObject(record, link) {}
  FramingMember(const FramingMember&) = default;

  bool updateScheduleData(const std::vector<lunvik::CadPoint>* preferredVertices,
                          const lunvik::CadCube* boundingBlock) override;
  bool timberName(lunvik::CadString& name) const override;
  bool setTimberName(const lunvik::CadString& name) override;
  lunvik::ComponentLink libraryPart() const override;

  // ---- appended operations, in slot order ----
  // `startOffset`.
  virtual bool startOffset(double& value) const;
  // `endOffset`.
  virtual bool endOffset(double& value) const;
  // `StLock`.
  virtual bool stLock(bool& on) const;
  // `EnLock`.
  virtual bool enLock(bool& on) const;
  // `TimberNo`.
  virtual bool setTimberNo(int32_t number);
  // Joint positions along the axis clipped by the cuts, and the cut number's position; the
  // developed length of kinds with their own path from the preferred vertices.
  virtual bool layoutJoints(const std::vector<lunvik::CadPoint>* preferredVertices);
  // Row index of `jointX`, `jointY`, `jointZ`, when the arrays have that row.
  virtual bool setJointPosition(int index, const lunvik::CadPoint& point);
  // The offset of joint which (0 `startOffset`, 1 `endOffset`, 2-4 `IntOffset1`-`IntOffset3`).
  virtual bool setJointOffset(int which, double value);
  // Copies the display settings (pens, text heights, joint symbols, cut number) of another
  // member.
  virtual bool copyDisplaySettings(const FramingMember& from);

  // ---- composite operations ----
  // Total labour hours of the joints: from the joint preferences for locked joints, else the
  // joint's own hours; false without joint preferences or when an own-hours value is missing
  // (hours then holds the total so far).
  bool jointHours(double& hours) const;
  bool jointHours(const JointPrefs* joints, double& hours) const;
  // Extra length at the start: `extLenSt` when `StLock` is off, else the joint's additional
  // length from the joint preferences (0 without them or without a matching joint).
  bool startExtension(double& value) const;
  bool endExtension(double& value) const;
  bool startExtension(const JointPrefs* joints, double& value) const;
  bool endExtension(const JointPrefs* joints, double& value) const;
  // Fills the dimension cache from the unrounded values, rounds them with the project's
  // increments, writes `BoundVol` and `roundLen`; false when the preferences are missing
  // (the unrounded values then stand as the rounded ones) or a write failed.
  bool setRoundedDimensions(double extendedLength, double width, double depth);
  // The offset of joint which; false when missing.
  bool jointOffset(int which, double& value) const;
  // The rounded length: the cache when valid, else `roundLen`.
  bool roundedLength(double& value) const;
  // The rounded extended length, width and depth: the dimension cache once computed, else
  // the parameters' length with both extensions and the section, rounded to the project's
  // increments. False without the project preferences or the sizes.
  bool roundedSizes(double& length, double& width, double& depth) const;
  // Records what the member is numbered for: `enumSeason`, its rounded sizes in `enumLen`,
  // `enumWid`, `enumDeep` (each followed by fitBoxToTimber when fitBoxes is set) and number
  // in `enumTNum`.
  void recordNumbering(int32_t number, bool fitBoxes);
  // The dimension cache.
  const DimensionCache& dimensions() const { return cache_; }
  DimensionCache& dimensions() { return cache_; }

  // ---- the member's own parameters ----
  bool timberNo(int32_t& number) const { return getInteger("TimberNo", number); }
  bool seasonType(lunvik::CadString& name) const { return getText("seasonType", name); }
  bool setSeasonType(const lunvik::CadString& name) { return putText("seasonType", name); }
  bool incInSched(bool& on) const { return getFlag("IncInSched", on); }
  bool setIncInSched(bool on) { return putNumber("IncInSched", on ? 1 : 0); }
  bool boundVol(double& value) const { return getNumber("BoundVol", value); }
  bool actVol(double& value) const { return getNumber("actVol", value); }
  bool roundLen(double& value) const { return getNumber("roundLen", value); }
  bool extLenSt(double& value) const { return getNumber("extLenSt", value); }
  bool extLenEn(double& value) const { return getNumber("extLenEn", value); }
  bool enumWid(double& value) const { return getNumber("enumWid", value); }
  bool enumDeep(double& value) const { return getNumber("enumDeep", value); }
  bool enumLen(double& value) const { return getNumber("enumLen", value); }
  bool enumTNum(int32_t& value) const { return getInteger("enumTNum", value); }
  bool enumSeason(lunvik::CadString& value) const { return getText("enumSeason", value); }
  bool setEnumWid(double value) { return putNumber("enumWid", value); }
  bool setEnumDeep(double value) { return putNumber("enumDeep", value); }
  bool setEnumLen(double value) { return putNumber("enumLen", value); }
  bool setEnumTNum(int32_t value) { return putNumber("enumTNum", value); }
  bool setEnumSeason(const lunvik::CadString& value) { return putText("enumSeason", value); }
  bool showSyms(lunvik::CadString& value) const { return getText("showSyms", value); }
  bool setShowSyms(const lunvik::CadString& value) { return putText("ShowSyms", value); }
  bool showSyms3(bool& on) const { return getFlag("showSyms3", on); }
  bool showCutID(bool& on) const { return getFlag("showCutID", on); }
  bool setShowCutID(bool on) { return putNumber("ShowCutID", on ? 1 : 0); }
  bool showLabel(bool& on) const { return getFlag("showLabel", on); }
  bool setShowLabel(bool on) { return putNumber("showLabel", on ? 1 : 0); }
  // Joint which: its type (`JuncTypeSt`, `JuncTypeEn`, `IntJuncType1`-`IntJuncType3`).
  bool jointType(int which, lunvik::CadString& type) const;
  bool setJointType(int which, const lunvik::CadString& type);
  // Its checked flag (`ValidSt`, `ValidEn`, `IntValid1`-`IntValid3`).
  bool jointValid(int which, bool& on) const;
  bool setJointValid(int which, bool on);
  // Its lock (`StLock`, `EnLock`, `J1Lock`-`J3Lock`).
  bool jointLock(int which, bool& on) const;
  // Its own hours (`TimeAllocSt`, `TimeAllocEn`, `IntTimeAll1`-`IntTimeAll3`).
  bool jointTime(int which, double& hours) const;

  // The parameter names of joint which; null outside 0-4.
  static const char* jointTypeName(int which);
  static const char* jointValidName(int which);
  static const char* jointLockName(int which);
  static const char* jointTimeName(int which);
  static const char* jointOffsetName(int which);

 protected:
  // The axis path in the frame of the cut planes (the axis start offset included).
  virtual bool jointPath(std::vector<lunvik::CadPoint>& points) const;

  DimensionCache cache_;
};

#define VARNHOLT_TIMBER_KIND(Class, Base, Kind)                                                  \
  class Class : public Base {                                                                    \
   public:                                                                                       \
    using Base::Base;                                                                            \
    std::unique_ptr<lunvik::Element> clone() const override { return std::make_unique<Class>(*this); } \
    std::unique_ptr<Crafted> cloneCrafted() const override { return std::make_unique<Class>(*this); } \
    TimberKind kind() const override { return Kind; }                                            \
    bool upgrade(int32_t version) override;                                                      \
  };

// "Rectilinear": a rectangular section.
VARNHOLT_TIMBER_KIND(Rectilinear, FramingMember, TimberKind::rectilinear)
// "Peg".
VARNHOLT_TIMBER_KIND(Peg, FramingMember, TimberKind::peg)
// "Square to Round Post".
VARNHOLT_TIMBER_KIND(SquareRound, FramingMember, TimberKind::squareRound)
// "Lathe Timber" (the base part of new lathed members).
VARNHOLT_TIMBER_KIND(Lathe, FramingMember, TimberKind::lathe)
// "Assembly".
VARNHOLT_TIMBER_KIND(Assembly, FramingMember, TimberKind::assembly)

#undef VARNHOLT_TIMBER_KIND

// "Round Tapered": a round section of one diameter, `profWide` (`profDeep` the same),
// narrowing to `endWide`.
class RoundTaper : public FramingMember {
 public:
  using FramingMember::FramingMember;
  std::unique_ptr<lunvik::Element> clone() const override { return std::make_unique<RoundTaper>(*this); }
  std::unique_ptr<Crafted> cloneCrafted() const override { return std::make_unique<RoundTaper>(*this); }
  TimberKind kind() const override { return TimberKind::roundTaper; }
  bool upgrade(int32_t version) override;
  // The box synchronisation, then one diameter for width and depth: the depth when only the
  // depth changed, else the width.
  bool syncFromBox() override;
};

// The kinds of version-1 parts whose axis convention is a quarter turn off.
class QuarterTurnMember : public FramingMember {
 public:
  using FramingMember::FramingMember;
  // The general upgrade, then the quarter turn of a version-1 part.
  bool upgrade(int32_t version) override;

 protected:
  // Turns a version-1 part's sizes, swivel, anchor, offsets, hotspots and cuts by a quarter.
  bool quarterTurn();
};

// "Tapered Timber".
class Taper : public QuarterTurnMember {
 public:
  using QuarterTurnMember::QuarterTurnMember;
  std::unique_ptr<lunvik::Element> clone() const override { return std::make_unique<Taper>(*this); }
  std::unique_ptr<Crafted> cloneCrafted() const override { return std::make_unique<Taper>(*this); }
  TimberKind kind() const override { return TimberKind::taper; }
};

// "Jowl Post".
class Jowl : public QuarterTurnMember {
 public:
  using QuarterTurnMember::QuarterTurnMember;
  std::unique_ptr<lunvik::Element> clone() const override { return std::make_unique<Jowl>(*this); }
  std::unique_ptr<Crafted> cloneCrafted() const override { return std::make_unique<Jowl>(*this); }
  TimberKind kind() const override { return TimberKind::jowl; }
  // The quarter turn, then `midOffsetX` = `headDeep` - `midOffsetX`.
  bool upgrade(int32_t version) override;
};

// "Cambered Timber".
class Camber : public QuarterTurnMember {
 public:
  using QuarterTurnMember::QuarterTurnMember;
  std::unique_ptr<lunvik::Element> clone() const override { return std::make_unique<Camber>(*this); }
  std::unique_ptr<Crafted> cloneCrafted() const override { return std::make_unique<Camber>(*this); }
  TimberKind kind() const override { return TimberKind::camber; }
  // The quarter turn, then the depth less `topOffset` and each cut moved for the lowered top.
  bool upgrade(int32_t version) override;
};

// "Curved Timber": a half ring over its chord `length`.
class Curved : public QuarterTurnMember {
 public:
  using QuarterTurnMember::QuarterTurnMember;
  std::unique_ptr<lunvik::Element> clone() const override { return std::make_unique<Curved>(*this); }
  std::unique_ptr<Crafted> cloneCrafted() const override { return std::make_unique<Curved>(*this); }
  TimberKind kind() const override { return TimberKind::curved; }
  // `timberWid`.
  bool sectionWidth(double& width) const override;
  bool setSectionWidth(double width) override;
  // Half the chord: `length` x 0.5.
  bool profileDepth(double& depth) const override;
  // The half circle over the chord, in x-z.
  bool axisPath(lunvik::CadPoly& path) const override;
  bool hasOwnPath() const override { return true; }
  // Recomputes the dimension cache of a curved member from its hotspots.
  virtual bool curvedDimensions();

 protected:
  bool jointPath(std::vector<lunvik::CadPoint>& points) const override;
};

// "Custom Timber": custom profile parts; the anchor lies in the plane of the profile.
class Custom : public FramingMember {
 public:
  using FramingMember::FramingMember;
  std::unique_ptr<lunvik::Element> clone() const override { return std::make_unique<Custom>(*this); }
  std::unique_ptr<Crafted> cloneCrafted() const override { return std::make_unique<Custom>(*this); }
  TimberKind kind() const override { return TimberKind::custom; }
  bool upgrade(int32_t version) override;
  // The anchor in the profile's plane, corrected for a bend with a locked length.
  bool applyAnchor() override;
  lunvik::ComponentLink libraryPart() const override { return lunvik::ComponentLink(); }
};

// A constant cross-section along the axis: straight, or bent by `hPath` and `vPath`.
class Profiled : public FramingMember {
 public:
  using FramingMember::FramingMember;
  bool axisPath(lunvik::CadPoly& path) const override;
  bool hasOwnPath() const override { return true; }
  bool upgrade(int32_t version) override;

 protected:
  bool jointPath(std::vector<lunvik::CadPoint>& points) const override;
  // True when the axis is bent (`hPath`, `vPath`) or its far end moved (`hEnd`, `vEnd`).
  bool measuredAlongAxis() const override;
};

// "Round".
class Round : public Profiled {
 public:
  using Profiled::Profiled;
  std::unique_ptr<lunvik::Element> clone() const override { return std::make_unique<Round>(*this); }
  std::unique_ptr<Crafted> cloneCrafted() const override { return std::make_unique<Round>(*this); }
  TimberKind kind() const override { return TimberKind::round; }
};

// "Extruded Timber" (the base part of new extruded members).
class Extrusion : public Profiled {
 public:
  using Profiled::Profiled;
  std::unique_ptr<lunvik::Element> clone() const override { return std::make_unique<Extrusion>(*this); }
  std::unique_ptr<Crafted> cloneCrafted() const override { return std::make_unique<Extrusion>(*this); }
  TimberKind kind() const override { return TimberKind::extrusion; }
  lunvik::ComponentLink libraryPart() const override { return lunvik::ComponentLink(); }
};

// A constant-section member of a part of its own.
class ConstSection : public Profiled {
 public:
  using Profiled::Profiled;
  std::unique_ptr<lunvik::Element> clone() const override { return std::make_unique<ConstSection>(*this); }
  std::unique_ptr<Crafted> cloneCrafted() const override { return std::make_unique<ConstSection>(*this); }
  TimberKind kind() const override { return TimberKind::constSection; }
  lunvik::ComponentLink libraryPart() const override { return lunvik::ComponentLink(); }
};

// The library part name of a kind (string list 32521); empty for kinds without one.
lunvik::CadString libraryPartName(TimberKind kind);

}  // namespace varnholt
