#include "host/bodies/body_store.h"

#include <cctype>
#include <cstdio>
#include <set>

namespace standin {

namespace {

std::string lowerName(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string sourceKey(const BodySource& s) {
  char placement[160];
  std::snprintf(placement, sizeof placement, "%.17g %.17g %.17g %.17g %d", s.placement.x, s.placement.y, s.placement.z,
                s.placement.angle, s.placement.mirrored ? 1 : 0);
  return s.kind + "\n" + placement + "\n" + writeParameterLines(s.parameters, 0, 0) + s.script3D;
}

}  // namespace

BodySource bodySourceFor(const LibraryPart& part, const std::vector<PartParameter>& elementValues,
                         const BodyPlacement& placement) {
  BodySource source;
  source.parameters = elementValues;
  std::set<std::string> have;
  for (const PartParameter& p : elementValues) have.insert(lowerName(p.name));
  for (const PartParameter& p : part.parameters)
    if (!have.count(lowerName(p.name))) source.parameters.push_back(p);
  if (const PartSection* script = part.section(0x33445343u /* '3DSC' */)) source.script3D = script->data;
  source.placement = placement;
  return source;
}

void BodyStore::place(int32_t typeID, int32_t index, BodySource source) {
  placed_[{typeID, index}] = std::move(source);
}

void BodyStore::remove(int32_t typeID, int32_t index) {
  placed_.erase({typeID, index});
  generated_.erase({typeID, index});
}

void BodyStore::clearModel() {
  generated_.clear();
  bodies_.clear();
}

void BodyStore::clear() {
  placed_.clear();
  generated_.clear();
  bodies_.clear();
}

bool BodyStore::source(int32_t typeID, int32_t index, BodySource& out) const {
  auto it = placed_.find({typeID, index});
  if (it != placed_.end()) {
    out = it->second;
    return true;
  }
  return provider_ && provider_(typeID, index, out);
}

const BodyStore::Generated* BodyStore::generate(int32_t typeID, int32_t index) {
  BodySource s;
  if (!source(typeID, index, s)) {
    generated_.erase({typeID, index});
    return nullptr;
  }
  ParameterValues values(s.parameters);
  if (s.kind.empty()) s.kind = bodyKindOf(values);
  std::string key = sourceKey(s);
  auto it = generated_.find({typeID, index});
  if (it != generated_.end() && it->second.key == key) return &it->second;
  // Bodies once handed out keep their numbers; a changed element gets new ones.
  GeneratedModel model = generateBodies(s.kind, values, s.placement, s.script3D);
  Generated g;
  g.key = key;
  g.first = int32_t(bodies_.size()) + 1;
  g.last = g.first + int32_t(model.bodies.size()) - 1;
  g.volume = model.volume;
  g.surface = model.surface;
  for (GeneratedBody& b : model.bodies) bodies_.push_back(std::move(b));
  return &(generated_[{typeID, index}] = std::move(g));
}

bool BodyStore::bodyRange(int32_t typeID, int32_t index, int32_t& first, int32_t& last) {
  const Generated* g = generate(typeID, index);
  if (!g) return false;
  first = g->first;
  last = g->last;
  return true;
}

const GeneratedBody* BodyStore::body(int32_t index) const {
  return index >= 1 && std::size_t(index) <= bodies_.size() ? &bodies_[std::size_t(index) - 1] : nullptr;
}

bool BodyStore::quantities(int32_t typeID, int32_t index, double& volume, double& surface) {
  const Generated* g = generate(typeID, index);
  if (!g) return false;
  volume = g->volume;
  surface = g->surface;
  return true;
}

}  // namespace standin
