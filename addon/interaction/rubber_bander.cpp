#include "interaction/rubber_bander.h"

#include "geometry/cad_arc.h"
#include "geometry/cad_poly.h"
#include "geometry/tolerance.h"
#include "platform/host_table.h"
#include "platform/input_records.h"
#include "runtime/host_interface.h"

namespace lunvik {

RubberBander::~RubberBander() = default;

void RubberBander::begin() {}

void RubberBander::draw(const PolyPoint*, const PolyPoint&, bool, bool) {}

bool RubberBander::drawLine(const CadPoint& from, const CadPoint& to) {
  platform::Coord3D a = from.getCoord3D();
  platform::Coord3D b = to.getCoord3D();
  return host().call(&platform::HostFunctionTable::HostInterface, platform::fourcc("DRLI"), &a, &b, nullptr) ==
         platform::kNoError;
}

bool RubberBander::drawArc(const CadArc& arc) {
  if (!arc.isValid(kTolerance)) return true;
  // Each step ends where the arc swept that far ends.
  CadArc part(arc);
  CadPoint from = arc.startPoint();
  for (int step = 1; step <= kArcSteps; ++step) {
    part.setSweep(arc.sweep() * step / kArcSteps);
    CadPoint to = part.endPoint();
    if (!drawLine(from, to)) return false;
    from = to;
  }
  return true;
}

bool RubberBander::drawEdge(const CadPoint& from, const PolyPoint& to) {
  if (!to.isArc(kTolerance)) return drawLine(from, to);
  return drawArc(CadArc(from, to));
}

bool RubberBander::drawPolygon(const CadPoly& polygon) {
  const int count = int(polygon.vertexCount());
  if (count < 2) return true;
  const int first = polygon.isClosed() ? 0 : 1;
  for (int i = count - 1; i >= first; --i) {
    const PolyPoint& from = polygon[std::size_t(polygon.wrap(i - 1))];
    if (!drawEdge(from, polygon[std::size_t(i)])) return false;
  }
  return true;
}

}  // namespace lunvik
