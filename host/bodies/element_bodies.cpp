#include "host/bodies/element_bodies.h"

#include <cstring>

#include "host/core/host.h"
#include "host/model/stored_parameter.h"

namespace standin {

namespace {

// The plan's live object or lamp of index, or null: the 3D model shows the plan's elements
// under their plan indices.
const HostElement* planElement(Host& host, int32_t typeID, int32_t index) {
  if (typeID != platform::kObject && typeID != platform::kLamp) return nullptr;
  HostDatabase& plan = host.model().plan();
  auto kind = plan.kinds.find(typeID);
  if (kind == plan.kinds.end() || index < 1 || std::size_t(index) > kind->second.size()) return nullptr;
  const HostElement* element = kind->second[std::size_t(index) - 1].get();
  return element->deleted ? nullptr : element;
}

}  // namespace

void connectElementBodies(Host& host) {
  // An element's source changes only with its own stamp, its library part or the storeys.
  host.bodies().setRevision([&host](int32_t typeID, int32_t index, uint64_t& revision) {
    const HostElement* element = planElement(host, typeID, index);
    if (!element) return false;
    uint32_t shared = host.library().revision() * 2654435761u + host.model().storeyRevision();
    revision = (uint64_t(element->header().modiStamp) << 32) | shared;
    return true;
  });
  host.bodies().setProvider([&host](int32_t typeID, int32_t index, BodySource& source) {
    const HostElement* found = planElement(host, typeID, index);
    if (!found) return false;
    const HostElement& element = *found;
    const platform::PlacedPartRecord& placed = element.record.part;
    LibraryIndex& library = host.library();
    const LibraryPart* part = library.part(placed.libIndex);
    if (!part && !element.libraryPart.empty()) part = library.part(library.find(element.libraryPart, 0));
    if (!part) return false;
    std::vector<PartParameter> values;
    values.reserve(element.parameters.size());
    for (const StoredParameter& p : element.parameters) values.push_back(partParameter(p));
    double storey = 0;
    for (const FileStorey& s : host.model().storeys())
      if (s.index == element.header().storey) storey = s.elevation;
    BodyPlacement at{placed.pos.x, placed.pos.y, storey + placed.level, placed.angle, placed.mirrored != 0};
    source = bodySourceFor(*part, values, at);
    return true;
  });
}

}  // namespace standin
