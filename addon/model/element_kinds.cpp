#include "model/element_kinds.h"

#include <cmath>
#include <cstring>

#include "geometry/tolerance.h"
#include "model/drawing.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"

namespace lunvik {

namespace {

std::unique_ptr<CadString> idOf(const char (&id)[16]) {
  return std::make_unique<CadString>(CadString(id, strnlen(id, sizeof id)));
}

void setIdText(char (&id)[16], const CadString& text) {
  CadString cut = text.truncated(15);
  std::memset(id, 0, sizeof id);
  std::memcpy(id, cut.c_str(), cut.size());
}

std::unique_ptr<Pen> penOf(int16_t index) { return index < 0 ? nullptr : std::make_unique<Pen>(index); }

bool mainPart(int32_t part) { return part == 0 || part == 1; }

}  // namespace

// ---- ComponentElem ----

ComponentElem::ComponentElem(const platform::ElementRecord& record, const ElementLink& link) : Element(record, link) {
  ParameterMemo::setOwner(this);
  GableMemo::setOwner(this);
}

ComponentElem::ComponentElem(int32_t typeID) : Element(typeID) {
  ParameterMemo::setOwner(this);
  GableMemo::setOwner(this);
  ParameterMemo::setLoaded(true);
  GableMemo::setLoaded(true);
}

ComponentElem::ComponentElem(const ComponentElem& other)
    : Element(other), ParameterMemo(other), GableMemo(other), defaultA_(other.defaultA_), defaultB_(other.defaultB_),
      fromDefaults_(other.fromDefaults_) {
  ParameterMemo::setOwner(this);
  GableMemo::setOwner(this);
}

std::unique_ptr<CadString> ComponentElem::getId() const { return idOf(part().id); }
void ComponentElem::setId(const CadString& text) { setIdText(part().id, text); }
std::unique_ptr<Pen> ComponentElem::getPen(int32_t p) const { return mainPart(p) ? penOf(part().pen) : nullptr; }
std::unique_ptr<Fill> ComponentElem::getFill(int32_t p) const {
  return mainPart(p) && part().fill > 0 ? std::make_unique<Fill>(part().fill) : nullptr;
}
std::unique_ptr<LineStyle> ComponentElem::getLineStyle(int32_t p) const {
  return mainPart(p) && part().lineType > 0 ? std::make_unique<LineStyle>(part().lineType) : nullptr;
}
std::unique_ptr<Material> ComponentElem::getMaterial(int32_t p) const {
  return mainPart(p) && part().material > 0 ? std::make_unique<Material>(part().material) : nullptr;
}
int32_t ComponentElem::setPen(const Pen& pen, int32_t p) {
  if (mainPart(p)) part().pen = int16_t(pen.index());
  return pen.index();
}
int32_t ComponentElem::setFill(const Fill& fill, int32_t p) {
  if (mainPart(p) && fill.index() > 0) part().fill = int16_t(fill.index());
  return fill.index();
}
int32_t ComponentElem::setLineStyle(const LineStyle& style, int32_t p) {
  if (mainPart(p) && style.index() > 0) part().lineType = int16_t(style.index());
  return style.index();
}
int32_t ComponentElem::setMaterial(const Material& material, int32_t p) {
  if (mainPart(p) && material.index() > 0) part().material = int16_t(material.index());
  return material.index();
}

CadPoint ComponentElem::position() const { return CadPoint(part().pos.x, part().pos.y, part().level); }

double ComponentElem::elevation(bool absolute) const {
  return part().level + (absolute ? storeyElevation() : 0.0);
}
double ComponentElem::height() const { return part().height; }
void ComponentElem::setPosition(const CadPoint& point) {
  part().pos.x = point.getX();
  part().pos.y = point.getY();
}
void ComponentElem::setElevation(double value, bool absolute) {
  part().level = value - (absolute ? storeyElevation() : 0.0);
}

std::unique_ptr<CadCube> ComponentElem::ownBox() const {
  double a = part().xRatio, b = part().yRatio, c = std::cos(part().angle), s = std::sin(part().angle);
  // A mirrored part extends to the other side of its placement point.
  if (part().mirrored) a = -a;
  double xs[4] = {0, a * c, a * c - b * s, -b * s}, ys[4] = {0, a * s, a * s + b * c, b * c};
  double x0 = xs[0], x1 = xs[0], y0 = ys[0], y1 = ys[0];
  for (int i = 1; i < 4; ++i) {
    x0 = std::min(x0, xs[i]);
    x1 = std::max(x1, xs[i]);
    y0 = std::min(y0, ys[i]);
    y1 = std::max(y1, ys[i]);
  }
  double z = elevation(true);
  return std::make_unique<CadCube>(CadPoint(part().pos.x + x0, part().pos.y + y0, z),
                                   CadPoint(part().pos.x + x1, part().pos.y + y1, z + part().height));
}

ComponentLink ComponentElem::componentLink() const {
  int32_t type = platform::kPartObject;
  switch (typeID()) {
    case platform::kWindow: type = platform::kPartWindow; break;
    case platform::kDoor: type = platform::kPartDoor; break;
    case platform::kLamp: type = platform::kPartLamp; break;
    case platform::kLabel: type = platform::kPartLabel; break;
    case platform::kZone: type = platform::kPartZone; break;
    default: break;
  }
  int32_t index = part().libIndex;
  return ComponentLink(index > 0 ? type : 0, index > 0 ? index : 0);
}

bool ComponentElem::loadDefaultParameters() {
  if (part().libIndex <= 0) return false;
  double a = 0, b = 0;
  platform::GSHandle handle = nullptr;
  platform::GSErr err =
      host().call(&platform::HostFunctionTable::HostGetLibraryPartParameters, part().libIndex, &a, &b, &handle);
  if (err != platform::kNoError) {
    ParameterList::disposeHostRecords(handle);
    return false;
  }
  ParameterList defaults;
  bool read = defaults.fromHostRecords(handle);
  ParameterList::disposeHostRecords(handle);
  if (!read) return false;
  ParameterList::operator=(defaults);
  ParameterMemo::setLoaded(true);
  defaultA_ = a;
  defaultB_ = b;
  fromDefaults_ = true;
  return true;
}

bool ComponentElem::loadMemo(int32_t mask, MemoStore* store) {
  if (!deferMemoLoading()) {
    if (!GableMemo::isLoaded()) mask |= platform::kMemoGables;
    if (!ParameterMemo::isLoaded()) mask |= platform::kMemoParams;
  }
  std::unique_ptr<ElementMemoStore> own;
  bool defaults = false;
  if (!store) {
    own = fetchMemo(mask);
    // The library part's defaults stand in when the host has no parameters for the element.
    if ((mask & platform::kMemoParams) && (!own || !own->params())) defaults = loadDefaultParameters();
    if (!own) {
      if (mask & platform::kMemoGables) GableMemo::setLoaded(true);
      if (mask & platform::kMemoParams) ParameterMemo::setLoaded(true);
      return defaults;
    }
    store = own.get();
  }
  bool result = true;
  if (mask & platform::kMemoGables) result = GableMemo::read(*store);
  if ((mask & platform::kMemoParams) && !defaults) {
    fromDefaults_ = false;
    result = ParameterMemo::read(*store);
  }
  return result;
}

std::unique_ptr<ElementMemoStore> ComponentElem::buildMemo(int32_t& mask) const {
  mask = 0;
  auto store = std::make_unique<ElementMemoStore>();
  if (!GableMemo::write(*store) || !ParameterMemo::write(*store)) return nullptr;
  if (store->params()) mask |= platform::kMemoParams;
  if (store->gables()) mask |= platform::kMemoGables;
  return store;
}

void ComponentElem::setComponent(int32_t libraryIndex, bool resetSize, const ParameterList* defaults) {
  part().libIndex = libraryIndex;
  if (resetSize) {
    defaultA_ = 0;
    defaultB_ = 0;
  }
  if (defaults) {
    ParameterMemo::ensureLoaded(platform::kMemoParams);
    ParameterList old(parameters());
    ParameterList::operator=(*defaults);
    ParameterMemo::setLoaded(true);
    ParameterList::merge(old);
  }
}

// ---- polygon kinds ----

PolygonElement::PolygonElement(const platform::ElementRecord& record, const ElementLink& link)
    : Element(record, link) {
  PolygonMemo::setOwner(this);
}

PolygonElement::PolygonElement(int32_t typeID, std::unique_ptr<CadPoly> polygon) : Element(typeID) {
  PolygonMemo::setOwner(this);
  loadDefaults();
  PolygonMemo::setLoaded(true);
  setPolygon(std::move(polygon));
}

PolygonElement::PolygonElement(const PolygonElement& other)
    : Element(other), PolygonMemo(other), kindFlag_(other.kindFlag_) {
  PolygonMemo::setOwner(this);
}

std::unique_ptr<CadString> PolygonElement::getId() const { return idOf(poly().id); }
void PolygonElement::setId(const CadString& text) { setIdText(poly().id, text); }

std::unique_ptr<CadPoly> PolygonElement::outline() const {
  auto* self = const_cast<PolygonElement*>(this);
  self->ensureLoaded(platform::kMemoPolygon);
  return polygon_ ? polygon_->clone() : nullptr;
}

std::unique_ptr<platform::ElementRecord> PolygonElement::hostRecord() const {
  auto record = Element::hostRecord();
  auto& p = record->polygon;
  p.coordCount = p.contourCount = p.arcCount = 0;
  if (const CadPoly* poly = polygon()) {
    int32_t coords = 0, arcs = 0;
    auto count = [&](const CadPoly& ring, bool closed) {
      coords += int32_t(ring.vertexCount()) + (closed ? 1 : 0);
      for (std::size_t i = 0; i < ring.vertexCount(); ++i)
        if ((i > 0 || closed) && ring.vertex(i).isArc(kTolerance)) ++arcs;
    };
    count(*poly, poly->isClosed());
    for (std::size_t h = 0; h < poly->holeCount(); ++h) count(poly->hole(h), true);
    p.coordCount = coords;
    p.contourCount = int32_t(1 + poly->holeCount());
    p.arcCount = arcs;
  }
  return record;
}

bool PolygonElement::loadMemo(int32_t mask, MemoStore* store) {
  if (!deferMemoLoading() && (!PolygonMemo::isLoaded() || !polygon_)) mask |= platform::kMemoPolygon;
  std::unique_ptr<ElementMemoStore> own;
  if (!store) {
    own = fetchMemo(mask);
    if (!own) {
      PolygonMemo::setLoaded(true);
      return false;
    }
    store = own.get();
  }
  if (!(mask & platform::kMemoPolygon)) return true;
  // A record announcing arcs with no arc part in the memo reads as no polygon.
  if (poly().arcCount > 0 && !store->arcs()) {
    PolygonMemo::setLoaded(true);
    polygon_.reset();
    return false;
  }
  return PolygonMemo::read(*store);
}

std::unique_ptr<ElementMemoStore> PolygonElement::buildMemo(int32_t& mask) const {
  mask = 0;
  const_cast<PolygonElement*>(this)->ensureLoaded(platform::kMemoPolygon);
  auto store = std::make_unique<ElementMemoStore>();
  if (!PolygonMemo::write(*store)) return nullptr;
  if (store->coords()) mask |= platform::kMemoPolygon;
  return store;
}

Hatch::Hatch(std::unique_ptr<CadPoly> polygon) : PolygonElement(platform::kHatch, nullptr) {
  if (polygon) polygon->setClosed(true);
  setPolygon(std::move(polygon));
}

std::unique_ptr<Element> Hatch::create(const platform::ElementRecord& record, const ElementLink& link) {
  return record.header.typeID == kKind ? std::make_unique<Hatch>(record, link) : nullptr;
}

std::unique_ptr<Pen> Hatch::getPen(int32_t part) const {
  switch (part) {
    case 0:
    case 1: return penOf(poly().contourPen);
    case 5: return penOf(poly().fillPen);
    case 7: return penOf(poly().fillBackgroundPen);
    default: return nullptr;
  }
}
std::unique_ptr<Fill> Hatch::getFill(int32_t part) const {
  return mainPart(part) && poly().fill != 0 ? std::make_unique<Fill>(poly().fill) : nullptr;
}
std::unique_ptr<LineStyle> Hatch::getLineStyle(int32_t part) const {
  return mainPart(part) && poly().lineType != 0 ? std::make_unique<LineStyle>(poly().lineType) : nullptr;
}
std::unique_ptr<TextStyle> Hatch::getTextStyle(int32_t part) const {
  return mainPart(part) ? std::make_unique<TextStyle>(poly().textFont, poly().textStyle, poly().textSize) : nullptr;
}
int32_t Hatch::setPen(const Pen& pen, int32_t part) {
  int16_t i = int16_t(pen.index());
  switch (part) {
    case 0: poly().contourPen = poly().fillPen = poly().fillBackgroundPen = i; break;
    case 1: poly().contourPen = i; break;
    case 5: poly().fillPen = i; break;
    case 7: poly().fillBackgroundPen = i; break;
    default: break;
  }
  return pen.index();
}
int32_t Hatch::setFill(const Fill& fill, int32_t part) {
  if (fill.index() > 0 && mainPart(part)) poly().fill = int16_t(fill.index());
  return fill.index();
}
int32_t Hatch::setLineStyle(const LineStyle& style, int32_t part) {
  if (mainPart(part)) poly().lineType = int16_t(style.index());
  return style.index();
}
void Hatch::setTextStyle(const TextStyle& style, int32_t part) {
  if (!mainPart(part)) return;
  poly().textFont = style.font();
  poly().textStyle = style.style();
  poly().textSize = style.size();
}

PolyLine::PolyLine(std::unique_ptr<CadPoly> polygon) : PolygonElement(platform::kPolyLine, std::move(polygon)) {}

std::unique_ptr<Element> PolyLine::create(const platform::ElementRecord& record, const ElementLink& link) {
  return record.header.typeID == kKind ? std::make_unique<PolyLine>(record, link) : nullptr;
}
std::unique_ptr<Pen> PolyLine::getPen(int32_t part) const { return mainPart(part) ? penOf(poly().contourPen) : nullptr; }
std::unique_ptr<LineStyle> PolyLine::getLineStyle(int32_t part) const {
  return mainPart(part) && poly().lineType != 0 ? std::make_unique<LineStyle>(poly().lineType) : nullptr;
}
int32_t PolyLine::setPen(const Pen& pen, int32_t part) {
  if (mainPart(part)) poly().contourPen = int16_t(pen.index());
  return pen.index();
}
int32_t PolyLine::setLineStyle(const LineStyle& style, int32_t part) {
  if (mainPart(part)) poly().lineType = int16_t(style.index());
  return style.index();
}

std::unique_ptr<Pen> SolidPolygonElement::getPen(int32_t part) const {
  switch (part) {
    case 0:
    case 1: return penOf(poly().contourPen);
    case 9: return penOf(poly().fillPen);
    case 10: return penOf(poly().fillBackgroundPen);
    default: return nullptr;
  }
}
std::unique_ptr<Fill> SolidPolygonElement::getFill(int32_t part) const {
  return mainPart(part) && poly().fill != 0 ? std::make_unique<Fill>(poly().fill) : nullptr;
}
std::unique_ptr<LineStyle> SolidPolygonElement::getLineStyle(int32_t part) const {
  return mainPart(part) && poly().lineType != 0 ? std::make_unique<LineStyle>(poly().lineType) : nullptr;
}
std::unique_ptr<Material> SolidPolygonElement::getMaterial(int32_t part) const {
  return mainPart(part) && poly().material != 0 ? std::make_unique<Material>(poly().material) : nullptr;
}
int32_t SolidPolygonElement::setPen(const Pen& pen, int32_t part) {
  int16_t i = int16_t(pen.index());
  switch (part) {
    case 0: poly().contourPen = poly().fillPen = poly().fillBackgroundPen = i; break;
    case 1: poly().contourPen = i; break;
    case 9: poly().fillPen = i; break;
    case 10: poly().fillBackgroundPen = i; break;
    default: break;
  }
  return pen.index();
}
int32_t SolidPolygonElement::setFill(const Fill& fill, int32_t part) {
  if (fill.index() > 0 && mainPart(part)) poly().fill = int16_t(fill.index());
  return fill.index();
}
int32_t SolidPolygonElement::setLineStyle(const LineStyle& style, int32_t part) {
  if (mainPart(part)) poly().lineType = int16_t(style.index());
  return style.index();
}
int32_t SolidPolygonElement::setMaterial(const Material& material, int32_t part) {
  if (material.index() > 0 && mainPart(part)) poly().material = int16_t(material.index());
  return material.index();
}
CadPoint SolidPolygonElement::position() const {
  auto o = outline();
  if (!o || o->vertexCount() == 0) return CadPoint(0, 0, poly().level);
  return CadPoint(o->vertex(0).getX(), o->vertex(0).getY(), poly().level);
}
void SolidPolygonElement::setPosition(const CadPoint& point) {
  ensureLoaded(platform::kMemoPolygon);
  if (!polygon_ || polygon_->vertexCount() == 0) return;
  CadPoint from = position();
  *polygon_ += CadPoint(point.getX() - from.getX(), point.getY() - from.getY(), 0);
}

// ---- solid kinds ----

std::unique_ptr<CadString> SolidElement::getId() const { return idOf(record_.solid.id); }
void SolidElement::setId(const CadString& text) { setIdText(record_.solid.id, text); }
std::unique_ptr<Pen> SolidElement::getPen(int32_t part) const {
  if (mainPart(part)) return penOf(record_.solid.pen);
  if (part == 9) return penOf(record_.solid.fillPen);
  return nullptr;
}
std::unique_ptr<Fill> SolidElement::getFill(int32_t part) const {
  return mainPart(part) && record_.solid.fill ? std::make_unique<Fill>(record_.solid.fill) : nullptr;
}
std::unique_ptr<LineStyle> SolidElement::getLineStyle(int32_t part) const {
  return mainPart(part) && record_.solid.lineType ? std::make_unique<LineStyle>(record_.solid.lineType) : nullptr;
}
std::unique_ptr<Material> SolidElement::getMaterial(int32_t part) const {
  return mainPart(part) && record_.solid.material ? std::make_unique<Material>(record_.solid.material) : nullptr;
}
int32_t SolidElement::setPen(const Pen& pen, int32_t part) {
  int16_t i = int16_t(pen.index());
  if (part == 0) record_.solid.pen = record_.solid.fillPen = i;
  if (part == 1) record_.solid.pen = i;
  if (part == 9) record_.solid.fillPen = i;
  return pen.index();
}
CadPoint SolidElement::position() const {
  return CadPoint(record_.solid.begC.x, record_.solid.begC.y, record_.solid.level);
}
CadPoint SolidElement::endPoint() const {
  return CadPoint(record_.solid.endC.x, record_.solid.endC.y, record_.solid.level);
}
std::unique_ptr<CadPoly> SolidElement::outline() const {
  // The footprint: the reference line widened by the width to its left.
  const auto& s = record_.solid;
  double dx = s.endC.x - s.begC.x, dy = s.endC.y - s.begC.y, len = std::hypot(dx, dy);
  if (len < kTolerance && s.width < kTolerance) return nullptr;
  double nx = len > kTolerance ? -dy / len * s.width : 0, ny = len > kTolerance ? dx / len * s.width : s.depth;
  auto poly = std::make_unique<CadPoly>(4);
  poly->add(s.begC.x, s.begC.y);
  poly->add(s.endC.x, s.endC.y);
  poly->add(s.endC.x + nx, s.endC.y + ny);
  poly->add(s.begC.x + nx, s.begC.y + ny);
  return poly;
}
void SolidElement::setPosition(const CadPoint& point) {
  auto& s = record_.solid;
  double dx = point.getX() - s.begC.x, dy = point.getY() - s.begC.y;
  s.begC = {point.getX(), point.getY()};
  s.endC = {s.endC.x + dx, s.endC.y + dy};
}

// ---- lines ----

std::unique_ptr<Pen> LineElement::getPen(int32_t part) const { return mainPart(part) ? penOf(record_.line.pen) : nullptr; }
std::unique_ptr<LineStyle> LineElement::getLineStyle(int32_t part) const {
  return mainPart(part) && record_.line.lineType ? std::make_unique<LineStyle>(record_.line.lineType) : nullptr;
}
std::unique_ptr<ArrowStyle> LineElement::getArrowStyle(int32_t part) const {
  return mainPart(part) ? std::make_unique<ArrowStyle>(record_.line.arrowType, record_.line.arrowSize) : nullptr;
}
int32_t LineElement::setPen(const Pen& pen, int32_t part) {
  if (mainPart(part)) record_.line.pen = int16_t(pen.index());
  return pen.index();
}
int32_t LineElement::setLineStyle(const LineStyle& style, int32_t part) {
  if (mainPart(part)) record_.line.lineType = int16_t(style.index());
  return style.index();
}
void LineElement::setArrowStyle(const ArrowStyle& style, int32_t part) {
  if (!mainPart(part)) return;
  record_.line.arrowType = style.type();
  record_.line.arrowSize = style.size();
}
CadPoint LineElement::position() const { return CadPoint(record_.line.begC.x, record_.line.begC.y, record_.line.level); }
CadPoint LineElement::endPoint() const { return CadPoint(record_.line.endC.x, record_.line.endC.y, record_.line.level); }
double LineElement::perimeter() const {
  return std::hypot(record_.line.endC.x - record_.line.begC.x, record_.line.endC.y - record_.line.begC.y);
}
void LineElement::setPosition(const CadPoint& point) {
  auto& l = record_.line;
  double dx = point.getX() - l.begC.x, dy = point.getY() - l.begC.y;
  l.begC = {point.getX(), point.getY()};
  l.endC = {l.endC.x + dx, l.endC.y + dy};
}
void LineElement::setEndPoint(const CadPoint& point) { record_.line.endC = {point.getX(), point.getY()}; }

Line::Line(const CadPoint& begin, const CadPoint& end) : LineElement(platform::kLine) {
  loadDefaultsRecord();
  record_.line.begC = {begin.getX(), begin.getY()};
  record_.line.endC = {end.getX(), end.getY()};
}
std::unique_ptr<Element> Line::create(const platform::ElementRecord& record, const ElementLink& link) {
  return record.header.typeID == kKind ? std::make_unique<Line>(record, link) : nullptr;
}
std::unique_ptr<Element> Hotspot::create(const platform::ElementRecord& record, const ElementLink& link) {
  return record.header.typeID == kKind ? std::make_unique<Hotspot>(record, link) : nullptr;
}
std::unique_ptr<Element> LinearDimension::create(const platform::ElementRecord& record, const ElementLink& link) {
  return record.header.typeID == kKind ? std::make_unique<LinearDimension>(record, link) : nullptr;
}

// ---- circles ----

Circle::Circle(const CadPoint& centre, double radius, double beginAngle, double endAngle, bool whole)
    : Element(whole ? platform::kCircle : platform::kArc) {
  loadDefaultsRecord();
  auto& c = record_.circle;
  c.origC = {centre.getX(), centre.getY()};
  c.r = radius;
  c.begAng = beginAngle;
  c.endAng = endAngle;
  c.whole = whole ? 1 : 0;
}
std::unique_ptr<Element> Circle::create(const platform::ElementRecord& record, const ElementLink& link) {
  int32_t k = record.header.typeID;
  return k == platform::kArc || k == platform::kCircle ? std::make_unique<Circle>(record, link) : nullptr;
}
std::unique_ptr<CadString> Circle::getId() const { return idOf(record_.circle.id); }
void Circle::setId(const CadString& text) { setIdText(record_.circle.id, text); }
std::unique_ptr<Pen> Circle::getPen(int32_t part) const { return mainPart(part) ? penOf(record_.circle.pen) : nullptr; }
std::unique_ptr<LineStyle> Circle::getLineStyle(int32_t part) const {
  return mainPart(part) && record_.circle.lineType ? std::make_unique<LineStyle>(record_.circle.lineType) : nullptr;
}
int32_t Circle::setPen(const Pen& pen, int32_t part) {
  if (mainPart(part)) record_.circle.pen = int16_t(pen.index());
  return pen.index();
}
int32_t Circle::setLineStyle(const LineStyle& style, int32_t part) {
  if (mainPart(part)) record_.circle.lineType = int16_t(style.index());
  return style.index();
}
CadPoint Circle::position() const { return CadPoint(record_.circle.origC.x, record_.circle.origC.y, 0); }
double Circle::perimeter() const {
  const auto& c = record_.circle;
  if (isCircle()) return 2 * kPi * c.r;
  double sweep = c.endAng - c.begAng;
  while (sweep < 0) sweep += 2 * kPi;
  return sweep * c.r;
}
double Circle::area() const { return isCircle() ? kPi * record_.circle.r * record_.circle.r : 0.0; }
void Circle::setPosition(const CadPoint& point) { record_.circle.origC = {point.getX(), point.getY()}; }

// ---- texts ----

Text::Text(const CadString& content, const CadPoint& at) : Element(platform::kText) {
  loadDefaultsRecord();
  record_.text.loc = {at.getX(), at.getY()};
  content_ = content;
  contentLoaded_ = true;
}
std::unique_ptr<Element> Text::create(const platform::ElementRecord& record, const ElementLink& link) {
  return record.header.typeID == kKind ? std::make_unique<Text>(record, link) : nullptr;
}
std::unique_ptr<Pen> Text::getPen(int32_t part) const { return mainPart(part) ? penOf(record_.text.pen) : nullptr; }
int32_t Text::setPen(const Pen& pen, int32_t part) {
  if (mainPart(part)) record_.text.pen = int16_t(pen.index());
  return pen.index();
}
std::unique_ptr<TextStyle> Text::getTextStyle(int32_t part) const {
  return mainPart(part) ? std::make_unique<TextStyle>(record_.text.font, int16_t(record_.text.style), record_.text.size)
                        : nullptr;
}
CadPoint Text::position() const { return CadPoint(record_.text.loc.x, record_.text.loc.y, 0); }
void Text::setPosition(const CadPoint& point) { record_.text.loc = {point.getX(), point.getY()}; }

bool Text::loadMemo(int32_t mask, MemoStore* store) {
  std::unique_ptr<ElementMemoStore> own;
  if (!store) {
    own = fetchMemo(mask | platform::kMemoText);
    store = own.get();
  }
  contentLoaded_ = true;
  if (!store || !store->text() || !*store->text()) return false;
  platform::GSHandle h = store->text();
  content_ = CadString(*h, strnlen(*h, handleSize(h)));
  return true;
}
std::unique_ptr<ElementMemoStore> Text::buildMemo(int32_t& mask) const {
  auto store = std::make_unique<ElementMemoStore>();
  const CadString& text = content();
  store->text() = newHandle(text.c_str(), text.size() + 1);
  if (!store->text()) return nullptr;
  mask = platform::kMemoText;
  return store;
}
const CadString& Text::content() const {
  if (!contentLoaded_) const_cast<Text*>(this)->loadMemo(platform::kMemoText, nullptr);
  return content_;
}
void Text::setContent(const CadString& text) {
  content_ = text;
  contentLoaded_ = true;
}

// ---- groups, proxies, images ----

std::unique_ptr<Element> Group::create(const platform::ElementRecord& record, const ElementLink& link) {
  return record.header.typeID == kKind ? std::make_unique<Group>(record, link) : nullptr;
}
CadString Group::name() const { return CadString(record_.group.name, strnlen(record_.group.name, 32)); }
void Group::setName(const CadString& name) {
  CadString cut = name.truncated(31);
  std::memset(record_.group.name, 0, 32);
  std::memcpy(record_.group.name, cut.c_str(), cut.size());
}
bool Group::loadMemo(int32_t mask, MemoStore* store) {
  std::unique_ptr<ElementMemoStore> own;
  if (!store) {
    own = fetchMemo(mask | platform::kMemoMembers);
    store = own.get();
  }
  membersLoaded_ = true;
  members_.clear();
  if (!store || !store->members() || !*store->members()) return false;
  std::size_t n = handleSize(store->members()) / sizeof(platform::Guid);
  const auto* g = reinterpret_cast<const platform::Guid*>(*store->members());
  members_.assign(g, g + n);
  return true;
}
const std::vector<platform::Guid>& Group::members() const {
  if (!membersLoaded_) const_cast<Group*>(this)->loadMemo(platform::kMemoMembers, nullptr);
  return members_;
}

std::unique_ptr<Element> ProxyElem::create(const platform::ElementRecord& record, const ElementLink& link) {
  return record.header.typeID == kKind ? std::make_unique<ProxyElem>(record, link) : nullptr;
}
ElementLink ProxyElem::target() const {
  const auto& p = record_.proxy;
  return ElementLink(p.targetType, p.targetIndex, p.targetGuid,
                     platform::DatabaseRecord{p.targetDatabaseKind, p.targetDatabaseNumber, 0, p.targetDatabaseIndex});
}

std::unique_ptr<Element> ImageElement::create(const platform::ElementRecord& record, const ElementLink& link) {
  return record.header.typeID == platform::kImage ? std::make_unique<ImageElement>(record, link) : nullptr;
}

void registerElementFamily(std::multimap<int32_t, ElementCreator>& list) {
  const std::pair<int32_t, ElementCreator> table[] = {
      {platform::kWall, &Wall::create},
      {platform::kColumn, &Column::create},
      {platform::kBeam, &Beam::create},
      {platform::kWindow, &Window::create},
      {platform::kDoor, &Door::create},
      {platform::kObject, &Object::create},
      {platform::kLamp, &Lamp::create},
      {platform::kSlab, &Slab::create},
      {platform::kRoof, &Roof::create},
      {platform::kMesh, &Mesh::create},
      {platform::kDimension, &LinearDimension::create},
      {platform::kText, &Text::create},
      {platform::kLabel, &Label::create},
      {platform::kZone, &ZoneElem::create},
      {platform::kHatch, &Hatch::create},
      {platform::kLine, &Line::create},
      {platform::kPolyLine, &PolyLine::create},
      {platform::kArc, &Circle::create},
      {platform::kCircle, &Circle::create},
      {platform::kHotspot, &Hotspot::create},
      {platform::kSectionReference, &SectionReference::create},
      {platform::kGroup, &Group::create},
      {platform::kSectionProxy, &ProxyElem::create},
      {platform::kPlacedDrawing, &PlacedDrawing::create},
      {platform::kImage, &ImageElement::create},
      {platform::kElevationReference, &ElevationReference::create},
      {platform::kCurtainWall, &CurtainWall::create},
      {platform::kCurtainWallSegment, &CurtainWallSegment::create},
      {platform::kCurtainWallFrame, &CurtainWallFrame::create},
      {platform::kCurtainWallPanel, &CurtainWallPanel::create},
      {platform::kCurtainWallJunction, &CurtainWallJunction::create},
      {platform::kCurtainWallAccessory, &CurtainWallAccessory::create},
  };
  for (const auto& entry : table) list.emplace(entry.first, entry.second);
}

void ElementCreators::registerFramework() {
  framework_.clear();
  registerElementFamily(framework_);
}

}  // namespace lunvik
