#include "host/bodies/body_store.h"

#include <cctype>
#include <set>

namespace standin {

namespace {

void appendBytes(std::string& key, const void* data, std::size_t size) {
  key.append(static_cast<const char*>(data), size);
}

void appendText(std::string& key, const std::string& text) {
  uint64_t size = text.size();
  appendBytes(key, &size, sizeof size);
  key += text;
}

// The source in bytes: equal keys make equal bodies. Every text carries its length, so no
// two sources share a key.
std::string sourceKey(const BodySource& s) {
  std::string key;
  std::size_t size = s.kind.size() + s.script3D.size() + 64;
  for (const PartParameter& p : s.parameters) size += p.name.size() + 24 + p.numbers.size() * sizeof(double);
  key.reserve(size);
  appendText(key, s.kind);
  const double place[4] = {s.placement.x, s.placement.y, s.placement.z, s.placement.angle};
  appendBytes(key, place, sizeof place);
  key += s.placement.mirrored ? '1' : '0';
  uint64_t count = s.parameters.size();
  appendBytes(key, &count, sizeof count);
  for (const PartParameter& p : s.parameters) {
    appendText(key, p.name);
    const int32_t shape[4] = {p.typeID, p.isArray ? 1 : 0, p.rows, p.columns};
    appendBytes(key, shape, sizeof shape);
    uint64_t n = p.numbers.size();
    appendBytes(key, &n, sizeof n);
    if (n) appendBytes(key, p.numbers.data(), n * sizeof(double));
    n = p.texts.size();
    appendBytes(key, &n, sizeof n);
    for (const std::string& t : p.texts) appendText(key, t);
  }
  appendText(key, s.script3D);
  return key;
}

}  // namespace

BodySource bodySourceFor(const LibraryPart& part, const std::vector<PartParameter>& elementValues,
                         const BodyPlacement& placement) {
  BodySource source;
  source.parameters = elementValues;
  std::set<std::string> have;
  for (const PartParameter& p : elementValues) have.insert(lowerText(p.name));
  for (const PartParameter& p : part.parameters)
    if (!have.count(lowerText(p.name))) source.parameters.push_back(p);
  if (const PartSection* script = part.section(0x33445343u /* '3DSC' */)) source.script3D = script->data;
  source.placement = placement;
  return source;
}

void BodyStore::place(int32_t typeID, int32_t index, BodySource source) {
  placed_[{typeID, index}] = std::move(source);
  placedRevision_[{typeID, index}] = ++placedCounter_;
}

void BodyStore::remove(int32_t typeID, int32_t index) {
  placed_.erase({typeID, index});
  placedRevision_.erase({typeID, index});
  generated_.erase({typeID, index});
}

void BodyStore::clearModel() {
  generated_.clear();
  bodies_.clear();
}

void BodyStore::clear() {
  placed_.clear();
  placedRevision_.clear();
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

bool BodyStore::currentRevision(int32_t typeID, int32_t index, uint64_t& revision) const {
  auto it = placedRevision_.find({typeID, index});
  if (it != placedRevision_.end()) {
    // Placed sources count down from the top so they never meet the provider's tokens.
    revision = ~it->second;
    return true;
  }
  return revision_ && revision_(typeID, index, revision);
}

const BodyStore::Generated* BodyStore::generate(int32_t typeID, int32_t index) {
  uint64_t revision = 0;
  const bool revised = currentRevision(typeID, index, revision);
  auto known = generated_.find({typeID, index});
  if (revised && known != generated_.end() && known->second.revised && known->second.revision == revision)
    return &known->second;
  // A body depends only on the parameters its generator asked for, so the fingerprint covers
  // those alone: a change of any other parameter keeps the body and its numbers.
  const bool printable = !placed_.count({typeID, index}) && fingerprint_;
  std::string print;
  if (printable && known != generated_.end() && !known->second.print.empty() &&
      fingerprint_(typeID, index, known->second.reads, print) && known->second.print == print) {
    known->second.revised = revised;
    known->second.revision = revision;
    return &known->second;
  }
  BodySource s;
  if (!source(typeID, index, s)) {
    generated_.erase({typeID, index});
    return nullptr;
  }
  ParameterValues values(s.parameters);
  std::unordered_set<std::string> reads;
  values.trackReads(&reads);
  if (s.kind.empty()) s.kind = bodyKindOf(values);
  std::string key = sourceKey(s);
  if (known != generated_.end() && known->second.key == key) {
    // The same source reads the same parameters, so the reads kept stand.
    known->second.revised = revised;
    known->second.revision = revision;
    if (!printable || !fingerprint_(typeID, index, known->second.reads, known->second.print))
      known->second.print.clear();
    return &known->second;
  }
  // Bodies once handed out keep their numbers; a changed element gets new ones.
  GeneratedModel model = generateBodies(s.kind, values, s.placement, s.script3D);
  values.trackReads(nullptr);
  Generated g;
  g.key = std::move(key);
  g.revised = revised;
  g.revision = revision;
  g.reads = std::move(reads);
  if (printable && !fingerprint_(typeID, index, g.reads, g.print)) g.print.clear();
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
