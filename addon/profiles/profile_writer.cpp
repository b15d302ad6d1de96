#include "profiles/profile_writer.h"

#include <cmath>
#include <cstring>
#include <sstream>

#include "geometry/cad_arc.h"
#include "geometry/tolerance.h"
#include "model/component_source.h"

namespace varnholt {

using lunvik::CadString;
using lunvik::ComponentParameter;

const char* const kProfileStart = "!LUNVIK_PROFILE_START";
const char* const kProfileEnd = "!LUNVIK_PROFILE_END";

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
const CadString kRowEnd("\r\n");
const CadString kFieldEnd(",");

bool blockBounds(const std::string& script, std::size_t& from, std::size_t& to) {
  std::size_t start = script.find(kProfileStart);
  if (start == std::string::npos) return false;
  from = start + std::strlen(kProfileStart);
  std::size_t end = script.find(kProfileEnd, from);
  if (end == std::string::npos) return false;
  to = end;
  return true;
}

// The parameter of a name in a part's parameters (letter case ignored), or null.
ComponentParameter* spotsOf(lunvik::ParametricSource& source) { return source.parameters().parameter(CadString("spots")); }

}  // namespace

bool profileBlock(const CadString& script, CadString& block) {
  std::size_t from = 0, to = 0;
  if (!blockBounds(script.str(), from, to)) return false;
  block = CadString(script.str().substr(from, to - from));
  return true;
}

bool replaceProfileBlock(CadString& script, const CadString& block) {
  std::string text = script.str();
  std::size_t from = 0, to = 0;
  if (!blockBounds(text, from, to)) return false;
  text.replace(from, to - from, block.str());
  script = CadString(text);
  return true;
}

const ProfileWriter::Statuses& ProfileWriter::statuses(ProfileKind kind) {
  static const Statuses kExtruded{"15", "915", "4015", "-1", "79"};
  static const Statuses kTurned{"2", "902", "4002", "-1", "1"};
  return kind == ProfileKind::lathe ? kTurned : kExtruded;
}

ProfileWriter::ProfileWriter(ProfileKind kind, double extrusion)
    : status_(statuses(kind)), extrusion_(extrusion), kind_(kind) {}

CadString ProfileWriter::number(double value) {
  double rounded = std::floor(value / 1e-8 + 0.5) * 1e-8;
  // A value that rounds to nothing is written as 0, not as -0.
  if (rounded == 0) rounded = 0;
  std::ostringstream out;
  out << rounded;
  return CadString(out.str());
}

void ProfileWriter::row(const CadString& x, const CadString& y, const char* status) {
  auto record = std::make_unique<lunvik::TextRecord>();
  record->add(x);
  record->add(y);
  record->add(CadString(status));
  table_.add(std::move(record));
}

void ProfileWriter::hotspots(const lunvik::CadPoint& vertex, ComponentParameter* spots) {
  if (counter_ >= limit_) return;
  const double x = vertex.getX(), y = vertex.getY(), z = vertex.getZ();
  // Two rows per vertex: where the extrusion starts and where it ends.
  const bool elevation = kind_ == ProfileKind::elevation;
  const double rows[2][3] = {{elevation ? x : z, y, elevation ? z : x},
                             {elevation ? x : z + extrusion_, y, elevation ? z + extrusion_ : x}};
  for (int r = 0; r < 2; ++r) {
    std::size_t at = std::size_t(counter_ + r) * std::size_t(spots->columns);
    for (int c = 0; c < 3 && c < spots->columns; ++c)
      if (at + std::size_t(c) < spots->numbers.size()) spots->numbers[at + std::size_t(c)] = rows[r][c];
  }
  counter_ += 2;
}

void ProfileWriter::contour(const lunvik::CadPoly& ring, bool holes, ComponentParameter* spots) {
  const std::size_t n = ring.vertexCount();
  if (n == 0) return;
  const bool closed = ring.isClosed();
  previous_ = ring.vertex(closed ? n - 1 : 0);
  row(number(previous_.getX()), number(previous_.getY()), status_.edge);
  for (std::size_t i = closed ? 0 : 1; i < n; ++i) {
    const lunvik::PolyPoint& vertex = ring.vertex(i);
    if (spots) hotspots(vertex, spots);
    if (std::fabs(vertex.arcAngle()) <= lunvik::kTolerance) {
      row(number(vertex.getX()), number(vertex.getY()), status_.edge);
    } else {
      lunvik::CadArc arc(previous_, vertex);
      // An arc without sweep or radius has nothing to draw; its hotspots stand.
      if (std::fabs(arc.sweep()) > lunvik::kTolerance && std::fabs(arc.radius()) > lunvik::kTolerance) {
        row(number(arc.centre().getX()), number(arc.centre().getY()), status_.centre);
        row(CadString("0.0"), number(arc.sweep() * kDegreesPerRadian), status_.arc);
      }
    }
    previous_ = vertex;
  }
  if (holes) row(number(ring.vertex(n - 1).getX()), number(ring.vertex(n - 1).getY()), status_.end);
}

CadString ProfileWriter::putList(const lunvik::CadPoly& polygon, ComponentParameter* spots) {
  table_.clear();
  counter_ = 0;
  limit_ = spots && spots->isArray && spots->columns >= 3 ? spots->rows : 0;
  const bool holes = polygon.holeCount() > 0;
  contour(polygon, holes, limit_ > 0 ? spots : nullptr);
  for (std::size_t h = 0; h < polygon.holeCount(); ++h) contour(polygon.hole(h), holes, limit_ > 0 ? spots : nullptr);
  if (table_.count() == 0) return CadString();
  // The statement's head goes before the first field, and its last comma comes off.
  lunvik::TextField* first = table_.record(0)->field(0);
  first->setText(CadString("\r\nput ") + first->text());
  CadString text;
  table_.write(text, kRowEnd, kFieldEnd);
  std::string out = text.str();
  std::size_t last = out.rfind(",\r\n");
  if (last != std::string::npos && last + 3 == out.size()) out.erase(last, 1);
  return CadString(out);
}

bool ProfileWriter::write(lunvik::ParametricSource& source, const lunvik::CadPoly& polygon) {
  CadString script = source.script3D();
  CadString old;
  if (!profileBlock(script, old)) return false;
  ComponentParameter* spots = spotsOf(source);
  std::vector<double> kept;
  if (spots) kept = spots->numbers;
  CadString block = putList(polygon, spots);
  if (!replaceProfileBlock(script, block)) {
    if (spots) spots->numbers = kept;
    return false;
  }
  source.setScript3D(script);
  // A lathe keeps the template's count, so that it shows the template's box hotspots.
  if (kind_ != ProfileKind::lathe)
    source.parameters().setNumber(CadString("spotCount"), counter_);
  return true;
}

}  // namespace varnholt
