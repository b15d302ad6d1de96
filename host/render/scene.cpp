#include "host/render/scene.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "host/bodies/body_store.h"
#include "host/core/host.h"
#include "host/model/stored_parameter.h"
#include "host/render/member_marks.h"
#include "host/render/projection.h"

namespace standin {

namespace picture_colours {
const Rgb kBackground{255, 255, 255};
const Rgb kEdge{51, 51, 51};
const Rgb kHighlight{230, 97, 0};
const Rgb kOtherObject{176, 176, 176};
const Rgb kCheckedJoint{46, 139, 58};
const Rgb kUncheckedJoint{214, 39, 40};
const Rgb kTrace{0, 102, 204};

Rgb timberType(std::size_t index) {
  static const Rgb kPalette[] = {{200, 161, 101}, {127, 168, 106}, {107, 143, 184}, {194, 124, 124},
                                 {156, 127, 184}, {208, 184, 79},  {90, 165, 160},  {184, 138, 90}};
  return kPalette[index % (sizeof kPalette / sizeof kPalette[0])];
}
}  // namespace picture_colours

namespace {

namespace colours = picture_colours;

constexpr double kPi = 3.14159265358979323846;
// Where the 3D view looks from: south-south-west, 30 degrees above the horizon.
constexpr double kAzimuth = 4.0 * kPi / 3.0;
constexpr double kElevation = kPi / 6.0;
// Texts are sized in millimetres on paper at the host's drawing scale, 1:100.
constexpr double kTextMetresPerSize = 0.1;
const char* const kNoTimberType = "no timber type";

bool polygonKind(int32_t k) {
  return k == platform::kSlab || k == platform::kRoof || k == platform::kMesh || k == platform::kHatch ||
         k == platform::kPolyLine || k == platform::kPlacedDrawing;
}
bool solidKind(int32_t k) {
  return k == platform::kWall || k == platform::kColumn || k == platform::kBeam ||
         (k >= platform::kCurtainWall && k <= platform::kCurtainWallAccessory);
}
bool placedPart(int32_t k) {
  return k == platform::kWindow || k == platform::kDoor || k == platform::kObject || k == platform::kLamp ||
         k == platform::kLabel || k == platform::kZone || k == platform::kSectionReference ||
         k == platform::kElevationReference;
}
bool cutPlaneKind(int32_t kind) {
  return kind == platform::kDatabaseSection || kind == platform::kDatabaseElevation ||
         kind == platform::kDatabaseInteriorElevation;
}

Rgb shaded(Rgb c, double factor) {
  auto channel = [factor](uint8_t v) { return uint8_t(std::lround(std::min(255.0, std::max(0.0, v * factor)))); };
  return {channel(c.r), channel(c.g), channel(c.b)};
}

Vec3 transformed(const platform::TransformRecord& m, const Vec3& p) {
  return {m.tmx[0] * p.x + m.tmx[1] * p.y + m.tmx[2] * p.z + m.tmx[3],
          m.tmx[4] * p.x + m.tmx[5] * p.y + m.tmx[6] * p.z + m.tmx[7],
          m.tmx[8] * p.x + m.tmx[9] * p.y + m.tmx[10] * p.z + m.tmx[11]};
}

// A polygon memo's contours as point lists, arcs laid out in steps of at most ten degrees.
// Closed contours leave out their repeated first point.
std::vector<std::vector<PicturePoint>> contoursOf(const StoredPolygon& polygon, bool& closed) {
  std::vector<std::vector<PicturePoint>> out;
  const auto& c = polygon.coords;
  closed = !(c.empty() || (c[0].x == -1.0 && c[0].y == 0.0));
  std::unordered_map<int32_t, double> arcs;
  for (const platform::PolyArcRecord& a : polygon.arcs) arcs[a.endIndex] = a.angle;
  for (std::size_t k = 1; k < polygon.ends.size(); ++k) {
    const int32_t first = polygon.ends[k - 1] + 1, last = polygon.ends[k];
    if (first < 1 || last < first || std::size_t(last) >= c.size()) break;
    std::vector<PicturePoint> contour{{c[std::size_t(first)].x, c[std::size_t(first)].y}};
    for (int32_t i = first + 1; i <= last; ++i) {
      const platform::Coord2D& p = c[std::size_t(i - 1)];
      const platform::Coord2D& q = c[std::size_t(i)];
      auto arc = arcs.find(i);
      const double angle = arc == arcs.end() ? 0.0 : arc->second;
      const double chord = std::hypot(q.x - p.x, q.y - p.y);
      if (std::fabs(angle) > 1e-5 && chord > 1e-9 && std::fabs(angle) < 2 * kPi) {
        // The centre lies on the chord's left for a counter-clockwise arc.
        const double d = chord / 2 / std::tan(angle / 2);
        const double cx = (p.x + q.x) / 2 - (q.y - p.y) / chord * d, cy = (p.y + q.y) / 2 + (q.x - p.x) / chord * d;
        const double start = std::atan2(p.y - cy, p.x - cx), r = std::hypot(p.x - cx, p.y - cy);
        const int steps = std::max(2, int(std::ceil(std::fabs(angle) / (kPi / 18))));
        for (int s = 1; s < steps; ++s) {
          const double a = start + angle * s / steps;
          contour.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
        }
      }
      contour.push_back({q.x, q.y});
    }
    const bool closeIt = closed || k > 1;
    if (closeIt && contour.size() > 1 && contour.front().x == contour.back().x && contour.front().y == contour.back().y)
      contour.pop_back();
    out.push_back(std::move(contour));
  }
  return out;
}

// An item drawn among the bodies, at its depth (items of equal depth keep their order).
struct Deep {
  double depth = 0;
  PictureItem item;
};

class SceneBuilder {
 public:
  SceneBuilder(Host& host, const ViewChoice& view) : host_(host), model_(host.model()), view_(view) {
    for (const platform::Guid& g : model_.selection()) selected_.insert(g);
    for (const FileStorey& s : model_.storeys()) storeyElevation_[s.index] = s.elevation;
    switch (view.kind) {
      case ViewChoice::Kind::Plan:
        projection_ = Projection::plan();
        break;
      case ViewChoice::Kind::Model3D:
        projection_ = Projection::axonometric(kAzimuth, kElevation);
        break;
      case ViewChoice::Kind::CutPlane: {
        const HostDatabase* db = model_.database(view.database);
        const platform::SegmentRecord cut = db ? db->cut : platform::SegmentRecord{};
        projection_ = Projection::cutLine(cut.start.x, cut.start.y, cut.end.x, cut.end.y);
        section_ = db && db->id.kind == platform::kDatabaseSection;
        break;
      }
    }
  }

  Picture build(const TraceMarks* trace) {
    picture_.setTitle(view_.name);
    HostDatabase* own = view_.kind == ViewChoice::Kind::Plan       ? &model_.plan()
                        : view_.kind == ViewChoice::Kind::CutPlane ? model_.database(view_.database)
                                                                   : nullptr;
    collectBodies(own);
    assignTimberColours();
    if (own) drawPolygons(*own);
    drawSolids();
    if (own) {
      drawLines(*own);
      drawTexts(*own);
    }
    drawMarks();
    if (trace) drawTrace(*trace);
    addLegend();
    return std::move(picture_);
  }

 private:
  // A placed part drawn by its bodies.
  struct Placed {
    const HostElement* element = nullptr;
    double level = 0;                      // its placement's elevation
    int32_t first = 0;                     // its bodies in the host's 3D model ...
    int32_t last = -1;
    int viewModel = -1;                    // ... or its own model's place in viewModels_
    bool member = false;
    MemberMarks marks;
    bool viewFrame = false;                // placed in a section's own frame
  };

  bool highlighted(const HostElement& e) const { return selected_.count(e.header().guid) != 0; }

  double storeyElevation(const HostElement& e) const {
    auto it = storeyElevation_.find(e.header().storey);
    return it == storeyElevation_.end() ? 0.0 : it->second;
  }

  // Elements of a database the view shows: live, on a layer that is shown, and in the plan on
  // the current storey.
  bool shown(const HostElement& e, bool anyStorey) {
    int32_t bits = platform::kFilterVisible;
    if (!anyStorey) bits |= platform::kFilterCurrentStorey;
    return model_.passes(e, bits);
  }

  const LibraryPart* partOf(const HostElement& e) {
    LibraryIndex& library = host_.library();
    const LibraryPart* part = library.part(e.record.part.libIndex);
    if (!part && !e.libraryPart.empty()) part = library.part(library.find(e.libraryPart, 0));
    return part;
  }

  // The bodies of a placed part, once every body is made (making one moves the others).
  std::vector<const GeneratedBody*> bodiesOf(const Placed& p) const {
    std::vector<const GeneratedBody*> bodies;
    if (p.viewModel >= 0) {
      for (const GeneratedBody& b : viewModels_[std::size_t(p.viewModel)].bodies) bodies.push_back(&b);
      return bodies;
    }
    for (int32_t i = p.first; i <= p.last; ++i)
      if (const GeneratedBody* b = host_.bodies().body(i)) bodies.push_back(b);
    return bodies;
  }

  void addPlaced(const HostElement& e, double level, int32_t first, int32_t last, int viewModel) {
    Placed p;
    p.element = &e;
    p.level = level;
    p.first = first;
    p.last = last;
    p.viewModel = viewModel;
    p.member = isTimberMember(e);
    if (p.member) p.marks = readMemberMarks(e, partOf(e));
    placed_.push_back(std::move(p));
  }

  void collectBodies(HostDatabase* own) {
    const bool plan = view_.kind == ViewChoice::Kind::Plan;
    HostDatabase& planDb = model_.plan();
    BodyStore& store = host_.bodies();
    for (int32_t kind : {platform::kObject, platform::kLamp}) {
      for (HostElement* e : model_.elements(planDb, kind)) {
        if (!shown(*e, !plan)) continue;
        int32_t first = 0, last = -1;
        const double level = storeyElevation(*e) + e->record.part.level;
        if (!store.bodyRange(kind, e->header().index, first, last) || last < first) {
          if (plan) boxOutline(*e, level);
          continue;
        }
        addPlaced(*e, level, first, last, -1);
      }
    }
    if (plan) {
      // Placed parts of other kinds have no 3D model: the plan shows their boxes.
      for (auto& kind : planDb.kinds)
        if (placedPart(kind.first) && kind.first != platform::kObject && kind.first != platform::kLamp)
          for (HostElement* e : model_.elements(planDb, kind.first))
            if (shown(*e, false)) boxOutline(*e, storeyElevation(*e) + e->record.part.level);
    }
    // A section shows what reaches behind its cut line.
    if (section_)
      placed_.erase(std::remove_if(placed_.begin(), placed_.end(),
                                   [this](const Placed& p) { return !reachesBehind(bodiesOf(p)); }),
                    placed_.end());
    if (view_.kind == ViewChoice::Kind::CutPlane && own) collectViewObjects(*own);
  }

  // A section's own objects and lamps: their bodies in the view's frame (x along the cut
  // line, y across it, z up).
  void collectViewObjects(HostDatabase& db) {
    for (int32_t kind : {platform::kObject, platform::kLamp}) {
      for (HostElement* e : model_.elements(db, kind)) {
        if (!shown(*e, true)) continue;
        const LibraryPart* part = partOf(*e);
        if (!part) continue;
        std::vector<PartParameter> values;
        values.reserve(e->parameters.size());
        for (const StoredParameter& p : e->parameters) values.push_back(partParameter(p));
        const platform::PlacedPartRecord& r = e->record.part;
        BodySource source = bodySourceFor(*part, values, {r.pos.x, r.pos.y, r.level, r.angle, r.mirrored != 0});
        ParameterValues parameters(source.parameters);
        if (source.kind.empty()) source.kind = bodyKindOf(parameters);
        GeneratedModel made = generateBodies(source.kind, parameters, source.placement, source.script3D);
        if (made.bodies.empty()) continue;
        viewModels_.push_back(std::move(made));
        addPlaced(*e, r.level, 0, -1, int(viewModels_.size()) - 1);
        placed_.back().viewFrame = true;
      }
    }
  }

  bool reachesBehind(const std::vector<const GeneratedBody*>& bodies) const {
    for (const GeneratedBody* b : bodies)
      for (const Vec3& v : b->vertices)
        if (projection_.depth(transformed(b->matrix, v)) <= 1e-9) return true;
    return false;
  }

  // Every timber type of the plan's members takes its colour, so that a type has the same
  // colour in every view; the legend lists those drawn.
  void assignTimberColours() {
    std::vector<std::string> types;
    for (int32_t kind : {platform::kObject, platform::kLamp})
      for (HostElement* e : model_.elements(model_.plan(), kind))
        if (isTimberMember(*e)) types.push_back(memberTimberType(*e, partOf(*e)));
    for (const Placed& p : placed_)
      if (p.member) types.push_back(p.marks.timberType);
    std::sort(types.begin(), types.end(), [](const std::string& a, const std::string& b) {
      int order = strcasecmp(a.c_str(), b.c_str());
      return order != 0 ? order < 0 : a < b;
    });
    types.erase(std::unique(types.begin(), types.end()), types.end());
    for (std::size_t i = 0; i < types.size(); ++i) typeColours_.emplace_back(types[i], colours::timberType(i));
    for (std::size_t i = 0; i < typeColours_.size(); ++i) typeIndex_[typeColours_[i].first] = i;
  }

  Rgb colourOf(const Placed& p) const {
    if (!p.member) return colours::kOtherObject;
    auto it = typeIndex_.find(p.marks.timberType);
    return it == typeIndex_.end() ? colours::kOtherObject : typeColours_[it->second].second;
  }

  // The plan is drawn flat; elsewhere tops are lightest, then the faces toward the viewer.
  double shade(const Vec3& normal, const Projection& projection) const {
    if (view_.kind == ViewChoice::Kind::Plan) return 1.0;
    return 0.62 + 0.23 * std::max(0.0, normal.z) + 0.15 * std::max(0.0, projection.toward(normal));
  }

  void highlight(PictureItem& item, bool on) {
    item.highlighted = on;
    if (!on) return;
    item.stroke = colours::kHighlight;
    item.strokeWidth = 2.0;
    anyHighlighted_ = true;
  }

  // The faces of every body that face the viewer, and the boxes and outlines among them, far
  // to near.
  void drawSolids() {
    const Projection frame = Projection::viewFrame();
    for (const Placed& p : placed_) {
      const std::vector<const GeneratedBody*> bodies = bodiesOf(p);
      const Projection& projection = p.viewFrame ? frame : projection_;
      const Rgb colour = colourOf(p);
      if (!p.member) anyOtherObject_ = true;
      for (const GeneratedBody* body : bodies) {
        std::vector<Vec3> model(body->vertices.size());
        for (std::size_t i = 0; i < model.size(); ++i) model[i] = transformed(body->matrix, body->vertices[i]);
        for (std::size_t f = 0; f < body->faces.size(); ++f) {
          const Vec3& normal = body->normals[f];
          if (projection.toward(normal) <= 1e-9) continue;
          const std::vector<int32_t>& loop = body->faces[f];
          Deep deep;
          PictureItem& item = deep.item;
          item.shape = PictureItem::Shape::Polygon;
          item.role = PictureRole::Face;
          item.points.reserve(loop.size());
          for (int32_t v : loop) {
            item.points.push_back(projection.project(model[std::size_t(v)]));
            deep.depth += projection.depth(model[std::size_t(v)]);
          }
          deep.depth /= double(loop.size());
          item.contourEnds = {item.points.size()};
          item.filled = true;
          item.fill = shaded(colour, shade(normal, projection));
          item.stroke = colours::kEdge;
          item.strokeWidth = 0.75;
          item.element = p.element->header().guid;
          highlight(item, highlighted(*p.element));
          deep_.push_back(std::move(deep));
        }
      }
    }
    std::stable_sort(deep_.begin(), deep_.end(), [](const Deep& a, const Deep& b) { return a.depth < b.depth; });
    for (Deep& d : deep_) picture_.add(std::move(d.item));
    deep_.clear();
  }

  // A plan outline among the bodies, at the height of its top.
  void outline(const HostElement& e, std::vector<PicturePoint> points, double top, Rgb fill) {
    Deep deep;
    deep.depth = top;
    PictureItem& item = deep.item;
    item.shape = PictureItem::Shape::Polygon;
    item.role = PictureRole::Outline;
    item.points = std::move(points);
    item.contourEnds = {item.points.size()};
    item.filled = true;
    item.fill = fill;
    item.stroke = colours::kEdge;
    item.strokeWidth = 0.75;
    item.element = e.header().guid;
    highlight(item, highlighted(e));
    deep_.push_back(std::move(deep));
  }

  // A placed part without a body: its box from its placement point along its own axes.
  void boxOutline(const HostElement& e, double level) {
    const platform::PlacedPartRecord& r = e.record.part;
    const double c = std::cos(r.angle), s = std::sin(r.angle), mirror = r.mirrored ? -1.0 : 1.0;
    std::vector<PicturePoint> points;
    for (const auto& corner : {std::pair<double, double>{0, 0}, {r.xRatio, 0}, {r.xRatio, r.yRatio}, {0, r.yRatio}}) {
      const double x = corner.first * mirror, y = corner.second;
      points.push_back({r.pos.x + x * c - y * s, r.pos.y + x * s + y * c});
    }
    outline(e, std::move(points), level + r.height, {235, 235, 235});
    anyOtherObject_ = true;
  }

  // Walls, beams and curtain walls widened to the left of their reference line, columns
  // around their point.
  void solidOutline(const HostElement& e) {
    const platform::SolidElementRecord& r = e.record.solid;
    std::vector<PicturePoint> points;
    if (e.header().typeID == platform::kColumn) {
      const double c = std::cos(r.angle), s = std::sin(r.angle), w = r.width / 2, d = (r.depth > 0 ? r.depth : r.width) / 2;
      for (const auto& corner : {std::pair<double, double>{-w, -d}, {w, -d}, {w, d}, {-w, d}})
        points.push_back({r.begC.x + corner.first * c - corner.second * s, r.begC.y + corner.first * s + corner.second * c});
    } else {
      const double dx = r.endC.x - r.begC.x, dy = r.endC.y - r.begC.y, l = std::hypot(dx, dy);
      if (l <= 1e-9) return;
      const double nx = -dy / l * r.width, ny = dx / l * r.width;
      points = {{r.begC.x, r.begC.y}, {r.endC.x, r.endC.y}, {r.endC.x + nx, r.endC.y + ny}, {r.begC.x + nx, r.begC.y + ny}};
    }
    outline(e, std::move(points), storeyElevation(e) + r.level + r.height, {215, 215, 215});
  }

  // Slabs, roofs, meshes, hatches, polylines and drawings under everything else; walls,
  // columns and beams join the bodies.
  void drawPolygons(HostDatabase& db) {
    const bool plan = view_.kind == ViewChoice::Kind::Plan;
    for (auto& kind : db.kinds) {
      if (solidKind(kind.first)) {
        if (plan)
          for (HostElement* e : model_.elements(db, kind.first))
            if (shown(*e, !plan)) solidOutline(*e);
        continue;
      }
      if (!polygonKind(kind.first)) continue;
      for (HostElement* e : model_.elements(db, kind.first)) {
        if (!shown(*e, !plan) || e->polygon.empty()) continue;
        bool closed = true;
        std::vector<std::vector<PicturePoint>> contours = contoursOf(e->polygon, closed);
        if (contours.empty()) continue;
        PictureItem item;
        item.role = PictureRole::Polygon;
        item.element = e->header().guid;
        item.stroke = {85, 85, 85};
        const bool open = kind.first == platform::kPolyLine || !closed;
        if (open) {
          item.shape = PictureItem::Shape::Polyline;
          item.points = contours.front();
        } else {
          item.shape = PictureItem::Shape::Polygon;
          for (auto& c : contours) {
            item.points.insert(item.points.end(), c.begin(), c.end());
            item.contourEnds.push_back(item.points.size());
          }
          item.filled = true;
          switch (kind.first) {
            case platform::kSlab: item.fill = {217, 217, 217}; break;
            case platform::kRoof: item.fill = {232, 213, 196}; break;
            case platform::kMesh: item.fill = {213, 232, 212}; break;
            case platform::kHatch: item.fill = {223, 230, 238}; break;
            default: item.fill = {248, 248, 248}; break;
          }
        }
        highlight(item, highlighted(*e));
        picture_.add(std::move(item));
      }
    }
  }

  void line(const HostElement& e, PicturePoint a, PicturePoint b, PictureRole role) {
    PictureItem item;
    item.shape = PictureItem::Shape::Polyline;
    item.role = role;
    item.points = {a, b};
    item.stroke = {34, 34, 34};
    item.element = e.header().guid;
    highlight(item, highlighted(e));
    picture_.add(std::move(item));
  }

  void drawLines(HostDatabase& db) {
    const bool anyStorey = view_.kind != ViewChoice::Kind::Plan;
    for (int32_t kind : {platform::kLine, platform::kHotspot, platform::kDimension})
      for (HostElement* e : model_.elements(db, kind)) {
        if (!shown(*e, anyStorey)) continue;
        const platform::LineRecord& r = e->record.line;
        const PicturePoint a{r.begC.x, r.begC.y}, b{r.endC.x, r.endC.y};
        if (kind == platform::kHotspot) {
          const double s = 0.05;
          line(*e, {a.x - s, a.y}, {a.x + s, a.y}, PictureRole::Line);
          line(*e, {a.x, a.y - s}, {a.x, a.y + s}, PictureRole::Line);
          continue;
        }
        line(*e, a, b, PictureRole::Line);
        if (kind == platform::kDimension) {
          // Ticks across both ends.
          const double s = 0.05;
          for (const PicturePoint& p : {a, b}) line(*e, {p.x - s, p.y - s}, {p.x + s, p.y + s}, PictureRole::Line);
        }
      }
    for (int32_t kind : {platform::kArc, platform::kCircle})
      for (HostElement* e : model_.elements(db, kind)) {
        if (!shown(*e, anyStorey)) continue;
        const platform::CircleRecord& r = e->record.circle;
        PictureItem item;
        item.shape = PictureItem::Shape::Arc;
        item.role = PictureRole::Arc;
        item.centre = {r.origC.x, r.origC.y};
        item.radius = std::fabs(r.r);
        const bool whole = kind == platform::kCircle || r.whole;
        item.beginAngle = whole ? 0.0 : r.begAng;
        item.endAngle = whole ? 2 * kPi : r.endAng;
        item.stroke = {34, 34, 34};
        item.element = e->header().guid;
        highlight(item, highlighted(*e));
        picture_.add(std::move(item));
      }
  }

  void text(PicturePoint at, const std::string& content, double height, double angle, bool centred, PictureRole role,
            Rgb colour, const HostElement* e) {
    PictureItem item;
    item.shape = PictureItem::Shape::Text;
    item.role = role;
    item.points = {at};
    item.text = content;
    item.textHeight = height;
    item.angle = angle;
    item.centred = centred;
    item.stroked = false;
    item.filled = true;
    item.fill = colour;
    if (e) {
      item.element = e->header().guid;
      if (highlighted(*e) && role == PictureRole::Text) {
        item.highlighted = true;
        item.fill = colours::kHighlight;
        anyHighlighted_ = true;
      }
    }
    picture_.add(std::move(item));
  }

  void drawTexts(HostDatabase& db) {
    const bool anyStorey = view_.kind != ViewChoice::Kind::Plan;
    for (HostElement* e : model_.elements(db, platform::kText)) {
      if (!shown(*e, anyStorey)) continue;
      const platform::TextRecord& r = e->record.text;
      text({r.loc.x, r.loc.y}, e->text, r.size * kTextMetresPerSize, r.angle, false, PictureRole::Text, {0, 0, 0}, e);
    }
  }

  // What the members' library parts draw: joint symbols, cut numbers and labels.
  void drawMarks() {
    const bool model3D = view_.kind == ViewChoice::Kind::Model3D;
    const Projection frame = Projection::viewFrame();
    for (const Placed& p : placed_) {
      if (!p.member) continue;
      const Projection& projection = p.viewFrame ? frame : projection_;
      const MemberMarks& m = p.marks;
      if (!model3D || m.symbols3D) {
        for (const MemberJoint& joint : m.joints) {
          if (!jointShown(m.symbols, joint)) continue;
          jointSymbol(*p.element, projection.project(memberPoint(*p.element, p.level, m, joint.at)), m.jointSize,
                      joint.checked);
        }
      }
      if (model3D) continue;
      const PicturePoint at = projection.project(memberPoint(*p.element, p.level, m, m.cutPosition));
      if (m.showCutNumber)
        text(at, std::to_string(m.number), m.cutTextHeight, 0, true, PictureRole::CutNumber, {0, 0, 0}, p.element);
      if (m.showLabel) {
        // The label stands one line below the cut number.
        text({at.x, at.y - 1.3 * m.cutTextHeight}, m.description, m.cutTextHeight, 0, true, PictureRole::Label,
             {0, 0, 0}, p.element);
      }
    }
  }

  // A circle at the joint: a tick in it when the joint is checked, a cross when it is not.
  void jointSymbol(const HostElement& e, PicturePoint at, double radius, bool checked) {
    const PictureRole role = checked ? PictureRole::JointChecked : PictureRole::JointUnchecked;
    const Rgb colour = checked ? colours::kCheckedJoint : colours::kUncheckedJoint;
    PictureItem circle;
    circle.shape = PictureItem::Shape::Arc;
    circle.role = role;
    circle.centre = at;
    circle.radius = radius;
    circle.endAngle = 2 * kPi;
    circle.stroke = colour;
    circle.strokeWidth = 1.5;
    circle.element = e.header().guid;
    picture_.add(circle);
    const double r = radius * 0.6;
    PictureItem sign;
    sign.shape = PictureItem::Shape::Polyline;
    sign.role = role;
    sign.stroke = colour;
    sign.strokeWidth = 1.5;
    sign.element = e.header().guid;
    if (checked) {
      sign.points = {{at.x - r, at.y}, {at.x - r / 3, at.y - r * 0.7}, {at.x + r, at.y + r * 0.7}};
      picture_.add(sign);
    } else {
      sign.points = {{at.x - r, at.y - r}, {at.x + r, at.y + r}};
      picture_.add(sign);
      sign.points = {{at.x - r, at.y + r}, {at.x + r, at.y - r}};
      picture_.add(sign);
    }
    (checked ? anyChecked_ : anyUnchecked_) = true;
  }

  // A point of the trace: in a section or elevation the view's own coordinates (along the
  // cut line, up), elsewhere a model point.
  PicturePoint traced(const TraceMarks::Click& c) const {
    if (view_.kind == ViewChoice::Kind::CutPlane) return {c.x, c.y};
    return projection_.project({c.x, c.y, c.z});
  }

  void drawTrace(const TraceMarks& trace) {
    for (const TraceMarks::Line& l : trace.rubberLines) {
      PictureItem item;
      item.shape = PictureItem::Shape::Polyline;
      item.role = PictureRole::RubberLine;
      item.points = {traced(l.from), traced(l.to)};
      item.stroke = colours::kTrace;
      item.strokeWidth = 1.25;
      picture_.add(std::move(item));
    }
    for (std::size_t i = 0; i < trace.clicks.size(); ++i) {
      const PicturePoint at = traced(trace.clicks[i]);
      PictureItem dot;
      dot.shape = PictureItem::Shape::Arc;
      dot.role = PictureRole::Click;
      dot.centre = at;
      dot.radius = 0.06;
      dot.endAngle = 2 * kPi;
      dot.filled = true;
      dot.fill = colours::kTrace;
      dot.stroke = {255, 255, 255};
      picture_.add(std::move(dot));
      text({at.x + 0.1, at.y + 0.1}, std::to_string(i + 1), 0.2, 0, false, PictureRole::Click, colours::kTrace, nullptr);
    }
    anyClick_ = !trace.clicks.empty();
    anyRubberLine_ = !trace.rubberLines.empty();
  }

  void addLegend() {
    std::vector<bool> drawn(typeColours_.size(), false);
    for (const Placed& p : placed_)
      if (p.member) drawn[typeIndex_[p.marks.timberType]] = true;
    for (std::size_t i = 0; i < typeColours_.size(); ++i)
      if (drawn[i])
        picture_.addLegend(typeColours_[i].first.empty() ? kNoTimberType : typeColours_[i].first,
                           typeColours_[i].second, PictureRole::Face);
    if (anyOtherObject_) picture_.addLegend("other objects", colours::kOtherObject, PictureRole::Outline);
    if (anyChecked_) picture_.addLegend("checked joint", colours::kCheckedJoint, PictureRole::JointChecked);
    if (anyUnchecked_) picture_.addLegend("unchecked joint", colours::kUncheckedJoint, PictureRole::JointUnchecked);
    if (anyHighlighted_) picture_.addLegend("selected", colours::kHighlight, PictureRole::Outline);
    if (anyClick_) picture_.addLegend("click", colours::kTrace, PictureRole::Click);
    if (anyRubberLine_) picture_.addLegend("rubber line", colours::kTrace, PictureRole::RubberLine);
  }

  Host& host_;
  ProjectModel& model_;
  const ViewChoice& view_;
  Projection projection_;
  bool section_ = false;
  Picture picture_;
  std::unordered_set<platform::Guid, GuidHash> selected_;
  std::unordered_map<int32_t, double> storeyElevation_;
  std::vector<Placed> placed_;
  std::vector<GeneratedModel> viewModels_;
  std::vector<Deep> deep_;
  std::vector<std::pair<std::string, Rgb>> typeColours_;
  std::unordered_map<std::string, std::size_t> typeIndex_;
  bool anyOtherObject_ = false;
  bool anyChecked_ = false;
  bool anyUnchecked_ = false;
  bool anyHighlighted_ = false;
  bool anyClick_ = false;
  bool anyRubberLine_ = false;
};

}  // namespace

bool findView(ProjectModel& model, const std::string& name, ViewChoice& view) {
  if (strcasecmp(name.c_str(), "plan") == 0) {
    view = ViewChoice{ViewChoice::Kind::Plan, model.plan().id, "plan"};
    return true;
  }
  if (strcasecmp(name.c_str(), "3d") == 0) {
    view = ViewChoice{ViewChoice::Kind::Model3D, platform::DatabaseRecord{platform::kDatabaseModel, 0, 0, 0}, "3d"};
    return true;
  }
  for (const platform::DatabaseRecord& id : model.databaseIds()) {
    HostDatabase* db = model.database(id);
    if (!db || !cutPlaneKind(id.kind) || strcasecmp(db->name.c_str(), name.c_str()) != 0) continue;
    view = ViewChoice{ViewChoice::Kind::CutPlane, id, db->name};
    return true;
  }
  return false;
}

std::vector<std::string> viewNames(ProjectModel& model) {
  std::vector<std::string> names{"plan", "3d"};
  for (const platform::DatabaseRecord& id : model.databaseIds())
    if (HostDatabase* db = model.database(id); db && cutPlaneKind(id.kind)) names.push_back(db->name);
  return names;
}

Picture drawView(Host& host, const ViewChoice& view, const TraceMarks* trace) {
  SceneBuilder builder(host, view);
  return builder.build(trace);
}

}  // namespace standin
