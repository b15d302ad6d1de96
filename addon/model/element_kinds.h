// The element family: one class per host element kind.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/component_link.h"
#include "model/element.h"
#include "model/memo.h"

namespace lunvik {

// ---- placed library parts ----

// The base of placed library parts: parameters and gables, the library part and its size.
class ComponentElem : public Element, public ParameterMemo, public GableMemo {
 public:
  ComponentElem(const platform::ElementRecord& record, const ElementLink& link);
  explicit ComponentElem(int32_t typeID);
  ComponentElem(const ComponentElem& other);

  std::unique_ptr<CadString> getId() const override;
  void setId(const CadString& text) override;
  std::unique_ptr<Pen> getPen(int32_t part) const override;
  std::unique_ptr<Fill> getFill(int32_t part) const override;
  std::unique_ptr<LineStyle> getLineStyle(int32_t part) const override;
  std::unique_ptr<Material> getMaterial(int32_t part) const override;
  int32_t setPen(const Pen& pen, int32_t part) override;
  int32_t setFill(const Fill& fill, int32_t part) override;
  int32_t setLineStyle(const LineStyle& style, int32_t part) override;
  int32_t setMaterial(const Material& material, int32_t part) override;
  CadPoint position() const override;
  double elevation(bool absolute) const override;
  double height() const override;
  void setPosition(const CadPoint& point) override;
  void setElevation(double value, bool absolute) override;
  // Gable part (2) and parameter part (4) of mask, from store or from the element's drawing.
  // Without a store, when the host has no parameters for the element, the library part's
  // default parameters stand in (parametersAreDefaults(), defaultA(), defaultB()).
  bool loadMemo(int32_t mask, MemoStore* store) override;
  // A memo with the gable and parameter parts; null when a part fails.
  std::unique_ptr<ElementMemoStore> buildMemo(int32_t& mask) const override;

  // The library part (index in the loaded libraries, from 1).
  int32_t libraryIndex() const { return part().libIndex; }
  // The element's library part: of the part type that goes with the element's kind, in the
  // project's library; not valid when the element names no part.
  ComponentLink componentLink() const;
  // Makes the element refer to another library part. With resetSize the default size is
  // cleared; with defaults (the new part's default parameters) the element takes them and
  // merges its old values into them, so every value whose parameter still exists is kept.
  void setComponent(int32_t libraryIndex, bool resetSize, const ParameterList* defaults);
  // The plan rotation, radians.
  double angle() const { return part().angle; }
  void setAngle(double angle) { part().angle = angle; }
  // The A and B sizes of the record.
  double sizeA() const { return part().xRatio; }
  double sizeB() const { return part().yRatio; }
  void setSize(double a, double b) { part().xRatio = a; part().yRatio = b; }
  bool isMirrored() const { return part().mirrored != 0; }
  // The library part's default size (A, B) when the parameters came from its defaults.
  double defaultA() const { return defaultA_; }
  double defaultB() const { return defaultB_; }
  // True when the parameters are the library part's defaults (the host had none for the
  // element); they become the element's own when it is stored.
  bool parametersAreDefaults() const { return fromDefaults_; }
  // All parameters (loaded on first use).
  ParameterList& parameters() { return *this; }
  const ParameterList& parameters() const { return *this; }

 protected:
  const platform::PlacedPartRecord& part() const { return record_.part; }
  platform::PlacedPartRecord& part() { return record_.part; }
  // The footprint A by B from the placement point, turned by the angle, height high.
  std::unique_ptr<CadCube> ownBox() const override;
  // Takes the library part's default parameters and size; false when the host has none.
  bool loadDefaultParameters();

  double defaultA_ = 0;
  double defaultB_ = 0;
  bool fromDefaults_ = false;
};

#define LUNVIK_COMPONENT_KIND(Class, Kind)                                                             \
  class Class : public ComponentElem {                                                                 \
   public:                                                                                             \
    static constexpr int32_t kKind = Kind;                                                             \
    Class(const platform::ElementRecord& record, const ElementLink& link) : ComponentElem(record, link) {} \
    Class() : ComponentElem(Kind) {}                                                                   \
    std::unique_ptr<Element> clone() const override { return std::make_unique<Class>(*this); }       \
    static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link) { \
      return record.header.typeID == Kind ? std::make_unique<Class>(record, link) : nullptr;          \
    }                                                                                                  \
  };

LUNVIK_COMPONENT_KIND(Object, platform::kObject)
LUNVIK_COMPONENT_KIND(Lamp, platform::kLamp)
LUNVIK_COMPONENT_KIND(Window, platform::kWindow)
LUNVIK_COMPONENT_KIND(Door, platform::kDoor)
LUNVIK_COMPONENT_KIND(Label, platform::kLabel)
LUNVIK_COMPONENT_KIND(ZoneElem, platform::kZone)
LUNVIK_COMPONENT_KIND(SectionReference, platform::kSectionReference)
LUNVIK_COMPONENT_KIND(ElevationReference, platform::kElevationReference)

#undef LUNVIK_COMPONENT_KIND

// ---- polygon kinds ----

// The base of the kinds with a polygon memo (slabs, roofs, meshes, hatches, polylines, placed
// drawings).
class PolygonElement : public Element, public PolygonMemo {
 public:
  PolygonElement(const platform::ElementRecord& record, const ElementLink& link);
  // A new element of kind from a polygon (taken over; may be null), with the host's defaults.
  PolygonElement(int32_t typeID, std::unique_ptr<CadPoly> polygon);
  PolygonElement(const PolygonElement& other);

  std::unique_ptr<CadString> getId() const override;
  // As many whole characters as fit in 15 bytes.
  void setId(const CadString& text) override;
  std::unique_ptr<CadPoly> outline() const override;
  double elevation(bool absolute) const override { return poly().level + (absolute ? storeyElevation() : 0.0); }
  void setElevation(double value, bool absolute) override {
    poly().level = value - (absolute ? storeyElevation() : 0.0);
  }
  std::unique_ptr<platform::ElementRecord> hostRecord() const override;
  bool loadMemo(int32_t mask, MemoStore* store) override;
  std::unique_ptr<ElementMemoStore> buildMemo(int32_t& mask) const override;
  bool needsMemo() const override { return true; }
  // The kind's own flag.
  bool kindFlag() const { return kindFlag_; }
  void setKindFlag(bool flag) { kindFlag_ = flag; }
  // Reads the host's defaults for a new element of the kind into the stored record.
  platform::GSErr loadDefaults() { return loadDefaultsRecord(); }

 protected:
  const platform::PolygonElementRecord& poly() const { return record_.polygon; }
  platform::PolygonElementRecord& poly() { return record_.polygon; }
  bool kindFlag_ = false;
};

// A hatch (kind 18): contour pen, two fill pens, fill, line type, ID and text style.
class Hatch : public PolygonElement {
 public:
  static constexpr int32_t kKind = platform::kHatch;
  Hatch(const platform::ElementRecord& record, const ElementLink& link) : PolygonElement(record, link) {}
  // A new hatch of polygon (stored closed) with the host's defaults.
  explicit Hatch(std::unique_ptr<CadPoly> polygon);
  std::unique_ptr<Element> clone() const override { return std::make_unique<Hatch>(*this); }
  static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link);
  // Parts 0 and 1 the contour pen, 5 the first fill pen, 7 the second.
  std::unique_ptr<Pen> getPen(int32_t part) const override;
  std::unique_ptr<Fill> getFill(int32_t part) const override;
  std::unique_ptr<LineStyle> getLineStyle(int32_t part) const override;
  std::unique_ptr<TextStyle> getTextStyle(int32_t part) const override;
  // Part 0 sets all three pens; 1 the contour pen; 5 and 7 the fill pens.
  int32_t setPen(const Pen& pen, int32_t part) override;
  int32_t setFill(const Fill& fill, int32_t part) override;
  int32_t setLineStyle(const LineStyle& style, int32_t part) override;
  void setTextStyle(const TextStyle& style, int32_t part) override;
};

// A polyline (kind 20): one pen and one line type; an open polygon stays open.
class PolyLine : public PolygonElement {
 public:
  static constexpr int32_t kKind = platform::kPolyLine;
  PolyLine(const platform::ElementRecord& record, const ElementLink& link) : PolygonElement(record, link) {}
  explicit PolyLine(std::unique_ptr<CadPoly> polygon);
  std::unique_ptr<Element> clone() const override { return std::make_unique<PolyLine>(*this); }
  static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link);
  std::unique_ptr<Pen> getPen(int32_t part) const override;
  std::unique_ptr<LineStyle> getLineStyle(int32_t part) const override;
  int32_t setPen(const Pen& pen, int32_t part) override;
  int32_t setLineStyle(const LineStyle& style, int32_t part) override;
  std::unique_ptr<CadString> getId() const override { return nullptr; }
  void setId(const CadString&) override {}
};

// Slabs, roofs, meshes and placed drawings: the polygon kinds with pens, fill and material.
class SolidPolygonElement : public PolygonElement {
 public:
  using PolygonElement::PolygonElement;
  std::unique_ptr<Pen> getPen(int32_t part) const override;
  std::unique_ptr<Fill> getFill(int32_t part) const override;
  std::unique_ptr<LineStyle> getLineStyle(int32_t part) const override;
  std::unique_ptr<Material> getMaterial(int32_t part) const override;
  int32_t setPen(const Pen& pen, int32_t part) override;
  int32_t setFill(const Fill& fill, int32_t part) override;
  int32_t setLineStyle(const LineStyle& style, int32_t part) override;
  int32_t setMaterial(const Material& material, int32_t part) override;
  CadPoint position() const override;
  void setPosition(const CadPoint& point) override;
  // The slab's thickness.
  double thickness() const { return poly().thickness; }
  void setThickness(double t) { poly().thickness = t; }
};

#define LUNVIK_POLYGON_KIND(Class, Kind)                                                                  \
  class Class : public SolidPolygonElement {                                                              \
   public:                                                                                                \
    static constexpr int32_t kKind = Kind;                                                                \
    Class(const platform::ElementRecord& record, const ElementLink& link) : SolidPolygonElement(record, link) {} \
    explicit Class(std::unique_ptr<CadPoly> polygon) : SolidPolygonElement(Kind, std::move(polygon)) {}  \
    std::unique_ptr<Element> clone() const override { return std::make_unique<Class>(*this); }          \
    static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link) { \
      return record.header.typeID == Kind ? std::make_unique<Class>(record, link) : nullptr;             \
    }                                                                                                     \
  };

LUNVIK_POLYGON_KIND(Slab, platform::kSlab)
LUNVIK_POLYGON_KIND(Roof, platform::kRoof)
LUNVIK_POLYGON_KIND(Mesh, platform::kMesh)
LUNVIK_POLYGON_KIND(PlacedDrawing, platform::kPlacedDrawing)

#undef LUNVIK_POLYGON_KIND

// ---- linear and solid kinds ----

// Walls, columns, beams and the curtain-wall kinds: a reference line, level, height, pens.
class SolidElement : public Element {
 public:
  using Element::Element;
  std::unique_ptr<CadString> getId() const override;
  void setId(const CadString& text) override;
  std::unique_ptr<Pen> getPen(int32_t part) const override;
  std::unique_ptr<Fill> getFill(int32_t part) const override;
  std::unique_ptr<LineStyle> getLineStyle(int32_t part) const override;
  std::unique_ptr<Material> getMaterial(int32_t part) const override;
  int32_t setPen(const Pen& pen, int32_t part) override;
  CadPoint position() const override;
  double elevation(bool absolute) const override {
    return record_.solid.level + (absolute ? storeyElevation() : 0.0);
  }
  double height() const override { return record_.solid.height; }
  std::unique_ptr<CadPoly> outline() const override;
  void setPosition(const CadPoint& point) override;
  void setElevation(double value, bool absolute) override {
    record_.solid.level = value - (absolute ? storeyElevation() : 0.0);
  }
  // The reference line's end.
  CadPoint endPoint() const;
};

#define LUNVIK_SOLID_KIND(Class, Kind)                                                                    \
  class Class : public SolidElement {                                                                     \
   public:                                                                                                \
    static constexpr int32_t kKind = Kind;                                                                \
    Class(const platform::ElementRecord& record, const ElementLink& link) : SolidElement(record, link) {} \
    Class() : SolidElement(Kind) {}                                                                       \
    std::unique_ptr<Element> clone() const override { return std::make_unique<Class>(*this); }          \
    static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link) { \
      return record.header.typeID == Kind ? std::make_unique<Class>(record, link) : nullptr;             \
    }                                                                                                     \
  };

LUNVIK_SOLID_KIND(Wall, platform::kWall)
LUNVIK_SOLID_KIND(Column, platform::kColumn)
LUNVIK_SOLID_KIND(Beam, platform::kBeam)
LUNVIK_SOLID_KIND(CurtainWall, platform::kCurtainWall)
LUNVIK_SOLID_KIND(CurtainWallSegment, platform::kCurtainWallSegment)
LUNVIK_SOLID_KIND(CurtainWallFrame, platform::kCurtainWallFrame)
LUNVIK_SOLID_KIND(CurtainWallPanel, platform::kCurtainWallPanel)
LUNVIK_SOLID_KIND(CurtainWallJunction, platform::kCurtainWallJunction)
LUNVIK_SOLID_KIND(CurtainWallAccessory, platform::kCurtainWallAccessory)

#undef LUNVIK_SOLID_KIND

// Lines (19), hotspots (24) and linear dimensions (11): a pen, a line type and two points.
class LineElement : public Element {
 public:
  using Element::Element;
  std::unique_ptr<Pen> getPen(int32_t part) const override;
  std::unique_ptr<LineStyle> getLineStyle(int32_t part) const override;
  std::unique_ptr<ArrowStyle> getArrowStyle(int32_t part) const override;
  int32_t setPen(const Pen& pen, int32_t part) override;
  int32_t setLineStyle(const LineStyle& style, int32_t part) override;
  void setArrowStyle(const ArrowStyle& style, int32_t part) override;
  CadPoint position() const override;
  double elevation(bool absolute) const override {
    return record_.line.level + (absolute ? storeyElevation() : 0.0);
  }
  void setElevation(double value, bool absolute) override {
    record_.line.level = value - (absolute ? storeyElevation() : 0.0);
  }
  double perimeter() const override;
  void setPosition(const CadPoint& point) override;
  CadPoint endPoint() const;
  void setEndPoint(const CadPoint& point);
};

class Line : public LineElement {
 public:
  static constexpr int32_t kKind = platform::kLine;
  Line(const platform::ElementRecord& record, const ElementLink& link) : LineElement(record, link) {}
  // A new line from begin to end with the host's defaults.
  Line(const CadPoint& begin, const CadPoint& end);
  std::unique_ptr<Element> clone() const override { return std::make_unique<Line>(*this); }
  static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link);
};

class Hotspot : public LineElement {
 public:
  static constexpr int32_t kKind = platform::kHotspot;
  Hotspot(const platform::ElementRecord& record, const ElementLink& link) : LineElement(record, link) {}
  std::unique_ptr<Element> clone() const override { return std::make_unique<Hotspot>(*this); }
  static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link);
  double perimeter() const override { return 0.0; }
};

class LinearDimension : public LineElement {
 public:
  static constexpr int32_t kKind = platform::kDimension;
  LinearDimension(const platform::ElementRecord& record, const ElementLink& link) : LineElement(record, link) {}
  std::unique_ptr<Element> clone() const override { return std::make_unique<LinearDimension>(*this); }
  static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link);
};

// Arcs (21) and circles (22).
class Circle : public Element {
 public:
  Circle(const platform::ElementRecord& record, const ElementLink& link) : Element(record, link) {}
  // A new circle (whole) or arc with the host's defaults.
  Circle(const CadPoint& centre, double radius, double beginAngle, double endAngle, bool whole);
  std::unique_ptr<Element> clone() const override { return std::make_unique<Circle>(*this); }
  static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link);
  // True for a full circle.
  bool isCircle() const { return record_.circle.whole != 0 || typeID() == platform::kCircle; }
  std::unique_ptr<CadString> getId() const override;
  void setId(const CadString& text) override;
  std::unique_ptr<Pen> getPen(int32_t part) const override;
  std::unique_ptr<LineStyle> getLineStyle(int32_t part) const override;
  int32_t setPen(const Pen& pen, int32_t part) override;
  int32_t setLineStyle(const LineStyle& style, int32_t part) override;
  CadPoint position() const override;
  double perimeter() const override;
  double area() const override;
  void setPosition(const CadPoint& point) override;
  double radius() const { return record_.circle.r; }
  double beginAngle() const { return record_.circle.begAng; }
  double endAngle() const { return record_.circle.endAng; }
};

// Texts (15): the content in a text memo.
class Text : public Element {
 public:
  static constexpr int32_t kKind = platform::kText;
  Text(const platform::ElementRecord& record, const ElementLink& link) : Element(record, link) {}
  // A new text at a point with the host's defaults.
  Text(const CadString& content, const CadPoint& at);
  std::unique_ptr<Element> clone() const override { return std::make_unique<Text>(*this); }
  static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link);
  std::unique_ptr<Pen> getPen(int32_t part) const override;
  int32_t setPen(const Pen& pen, int32_t part) override;
  std::unique_ptr<TextStyle> getTextStyle(int32_t part) const override;
  CadPoint position() const override;
  double height() const override { return record_.text.height; }
  double width() const override { return record_.text.width; }
  void setPosition(const CadPoint& point) override;
  bool loadMemo(int32_t mask, MemoStore* store) override;
  std::unique_ptr<ElementMemoStore> buildMemo(int32_t& mask) const override;
  // The content (loaded on first use).
  const CadString& content() const;
  void setContent(const CadString& text);

 private:
  mutable CadString content_;
  mutable bool contentLoaded_ = false;
};

// A group (28): a name, two values and its members.
class Group : public Element {
 public:
  static constexpr int32_t kKind = platform::kGroup;
  Group(const platform::ElementRecord& record, const ElementLink& link) : Element(record, link) {}
  std::unique_ptr<Element> clone() const override { return std::make_unique<Group>(*this); }
  static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link);
  CadString name() const;
  void setName(const CadString& name);
  int32_t value1() const { return record_.group.value1; }
  int32_t value2() const { return record_.group.value2; }
  void setValue1(int32_t v) { record_.group.value1 = v; }
  void setValue2(int32_t v) { record_.group.value2 = v; }
  bool loadMemo(int32_t mask, MemoStore* store) override;
  // The GUIDs of the members (loaded on first use).
  const std::vector<platform::Guid>& members() const;

 private:
  mutable std::vector<platform::Guid> members_;
  mutable bool membersLoaded_ = false;
};

// A section-view proxy (29): a plan element as a section shows it.
class ProxyElem : public Element {
 public:
  static constexpr int32_t kKind = platform::kSectionProxy;
  ProxyElem(const platform::ElementRecord& record, const ElementLink& link) : Element(record, link) {}
  std::unique_ptr<Element> clone() const override { return std::make_unique<ProxyElem>(*this); }
  static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link);
  // The link of the element behind the proxy.
  ElementLink target() const;
  // The proxy's place in the view: along the cut line and up.
  double horizontal() const { return record_.proxy.h; }
  double vertical() const { return record_.proxy.v; }
};

// An image (31): kept as the host's record.
class ImageElement : public Element {
 public:
  ImageElement(const platform::ElementRecord& record, const ElementLink& link) : Element(record, link) {}
  std::unique_ptr<Element> clone() const override { return std::make_unique<ImageElement>(*this); }
  static std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link);
};

// Registers the element family in the framework's creator list.
void registerElementFamily(std::multimap<int32_t, ElementCreator>& list);

}  // namespace lunvik
