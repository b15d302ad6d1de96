#include "host/bodies/element_bodies.h"

#include <cstring>

#include "host/core/host.h"

namespace standin {

namespace {

std::string narrow(const uint16_t* text, std::size_t max) {
  std::string out;
  for (std::size_t i = 0; i < max && text[i]; ++i) out += text[i] < 256 ? char(text[i]) : '?';
  return out;
}

PartParameter partParameter(const StoredParameter& stored) {
  const platform::HostParameterRecord& r = stored.record;
  PartParameter p;
  p.name = std::string(r.name, strnlen(r.name, sizeof r.name));
  p.typeID = r.typeID;
  p.flags = r.flags;
  if (r.shape == platform::kShapeArray) {
    p.isArray = true;
    p.rows = r.dim1 > 0 ? r.dim1 : 1;
    p.columns = r.dim2 > 0 ? r.dim2 : 1;
    p.numbers = stored.numbers;
    p.texts = stored.texts;
  } else if (r.typeID == platform::kParamString) {
    p.texts.push_back(narrow(r.value.text, 256));
  } else {
    p.numbers.push_back(r.value.real);
  }
  return p;
}

}  // namespace

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
