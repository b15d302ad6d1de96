#include "host/bodies/element_bodies.h"

#include <cstring>

#include "host/core/host.h"
#include "host/model/stored_parameter.h"

namespace standin {

void connectElementBodies(Host& host) {
  host.bodies().setProvider([&host](int32_t typeID, int32_t index, BodySource& source) {
    if (typeID != platform::kObject && typeID != platform::kLamp) return false;
    // The 3D model shows the plan's elements under their plan indices.
    HostDatabase& plan = host.model().plan();
    auto kind = plan.kinds.find(typeID);
    if (kind == plan.kinds.end() || index < 1 || std::size_t(index) > kind->second.size()) return false;
    const HostElement& element = *kind->second[std::size_t(index) - 1];
    if (element.deleted) return false;
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
