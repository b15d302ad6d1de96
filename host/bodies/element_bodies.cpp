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

template <class T>
void append(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// What an element's body source is made of, in short bytes: its part, placement, storey and
// library revisions and the names, shapes and values of its parameters among names (the
// descriptions do not make bodies). Texts end at their zero, so every parameter's bytes are
// self-delimiting.
void fingerprint(Host& host, const HostElement& element, const std::unordered_set<std::string>& names,
                 std::string& out) {
  const platform::PlacedPartRecord& placed = element.record.part;
  out.clear();
  out.reserve(64 + element.parameters.size() * 24);
  append(out, placed.libIndex);
  append(out, host.library().revision());
  append(out, host.model().storeyRevision());
  append(out, element.header().storey);
  append(out, placed.pos);
  append(out, placed.level);
  append(out, placed.angle);
  append(out, placed.mirrored);
  out.append(element.libraryPart);
  out.push_back('\0');
  for (const StoredParameter& p : element.parameters) {
    const platform::HostParameterRecord& r = p.record;
    const std::size_t length = strnlen(r.name, sizeof r.name);
    if (!names.count(lowerText(std::string(r.name, length)))) continue;
    out.append(r.name, length);
    out.push_back('\0');
    append(out, r.typeID);
    append(out, r.shape);
    if (r.shape == platform::kShapeArray) {
      append(out, r.dim1);
      append(out, r.dim2);
      append(out, p.numbers.size());
      out.append(reinterpret_cast<const char*>(p.numbers.data()), p.numbers.size() * sizeof(double));
      append(out, p.texts.size());
      for (const std::string& t : p.texts) {
        out.append(t);
        out.push_back('\0');
      }
    } else if (r.typeID == platform::kParamString) {
      std::size_t n = 0;
      while (n < 256 && r.value.text[n]) ++n;
      out.append(reinterpret_cast<const char*>(r.value.text), n * sizeof(uint16_t));
      out.append(2, '\0');
    } else {
      append(out, r.value.real);
    }
  }
}

void connectFingerprints(Host& host) {
  host.bodies().setFingerprint([&host](int32_t typeID, int32_t index, const std::unordered_set<std::string>& names,
                                       std::string& print) {
    const HostElement* element = planElement(host, typeID, index);
    if (!element) return false;
    fingerprint(host, *element, names, print);
    return true;
  });
}

}  // namespace

void connectElementBodies(Host& host) {
  connectFingerprints(host);
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
