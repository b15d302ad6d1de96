#include "model/attribute.h"

#include <cstring>

#include "model/project.h"
#include "runtime/addon.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"

namespace lunvik {

AttributeLink::AttributeLink(int32_t index, int32_t type, Specification* catalogue)
    : index_(index & 0xFFFF), type_(type), catalogue_(catalogue) {}

Attribute::Attribute(const AttributeLink& link) : link_(link) {}
Attribute::Attribute(const Attribute& other) = default;
Attribute::~Attribute() = default;

bool Attribute::load() const {
  platform::AttributeRecord record{};
  record.header.typeID = int16_t(link_.type());
  record.header.index = int16_t(link_.index());
  if (!link_.isValid() ||
      host().call(&platform::HostFunctionTable::HostEnvironment, platform::fourcc("GATT"), &record, nullptr,
                  nullptr) != platform::kNoError) {
    loaded_ = true;
    return false;
  }
  record_ = record;
  loaded_ = true;
  return true;
}

bool Attribute::isValid() const { return header().index != 0 && link_.isValid(); }
int16_t Attribute::flags() const { return header().flags; }
CadString Attribute::name() const {
  const auto& h = header();
  return CadString(h.name, strnlen(h.name, sizeof h.name));
}
void Attribute::setLink(const AttributeLink& link) {
  link_ = link;
  loaded_ = false;
  load();
}
void Attribute::setFlags(int16_t flags) { header().flags = flags; }
void Attribute::setName(const CadString& name) {
  CadString cut = name.truncated(31);
  auto& h = header();
  std::memset(h.name, 0, sizeof h.name);
  std::memcpy(h.name, cut.c_str(), cut.size());
}
std::unique_ptr<platform::AttributeRecord> Attribute::hostRecord() const {
  header();
  return std::make_unique<platform::AttributeRecord>(record_);
}
const platform::AttributeHeader& Attribute::header() const {
  if (!loaded_) load();
  return record_.header;
}
platform::AttributeHeader& Attribute::header() {
  if (!loaded_) load();
  return record_.header;
}

void Attribute::forgetCached() const {
  Addon* addon = theAddon();
  Project* project = addon ? addon->project() : nullptr;
  Specification* catalogues[2] = {link_.catalogue(), project ? &project->specification() : nullptr};
  for (Specification* catalogue : catalogues)
    if (catalogue) catalogue->forget(link_.type(), link_.index(), this);
}

bool Attribute::fetchMemo(std::unique_ptr<AttributeMemoStore>& store) const {
  if (!link_.isValid()) return false;
  platform::AttributeHeader h{};
  h.typeID = int16_t(link_.type());
  h.index = int16_t(link_.index());
  platform::ElementMemoRecord memo{};
  if (host().call(&platform::HostFunctionTable::HostEnvironment, platform::fourcc("GATM"), &h, &memo, nullptr) !=
      platform::kNoError) {
    AttributeMemoStore::freeMemo(memo);
    return false;
  }
  store = std::make_unique<AttributeMemoStore>(memo);
  return true;
}

bool Attribute::store() {
  if (!link_.isValid()) return false;
  platform::AttributeRecord record = *hostRecord();
  record.header.typeID = int16_t(link_.type());
  record.header.index = int16_t(link_.index());
  std::unique_ptr<AttributeMemoStore> memo = buildMemo();
  lastError_ = host().call(&platform::HostFunctionTable::HostModifyAttribute, &record, memo ? &memo->record() : nullptr);
  if (lastError_ != platform::kNoError) return false;
  record_ = record;
  loaded_ = true;
  forgetCached();
  return true;
}

bool Attribute::create() {
  platform::AttributeRecord record = *hostRecord();
  record.header.typeID = int16_t(link_.type());
  record.header.index = 0;
  std::unique_ptr<AttributeMemoStore> memo = buildMemo();
  lastError_ = host().call(&platform::HostFunctionTable::HostCreateAttribute, &record, memo ? &memo->record() : nullptr);
  if (lastError_ != platform::kNoError) return false;
  if (record.header.index <= 0) {
    lastError_ = platform::kErrGeneral;
    return false;
  }
  link_ = AttributeLink(record.header.index, link_.type(), link_.catalogue());
  record_ = record;
  loaded_ = true;
  forgetCached();
  return true;
}

// ---- patterns ----

bool Pattern::dot(int r, int column) const {
  if (r < 0 || r > 7 || column < 0 || column > 7) return false;
  return (patternRows()[r] >> (7 - column)) & 1;
}

void Pattern::setDot(int r, int column, bool on) {
  if (r < 0 || r > 7 || column < 0 || column > 7) return;
  uint8_t bit = uint8_t(1u << (7 - column));
  uint8_t& bits = patternRows()[r];
  bits = on ? uint8_t(bits | bit) : uint8_t(bits & ~bit);
}

uint8_t Pattern::row(int r) const { return r < 0 || r > 7 ? 0 : patternRows()[r]; }

void Pattern::setRow(int r, uint8_t dots) {
  if (r >= 0 && r <= 7) patternRows()[r] = dots;
}

// ---- fills, composites, zone categories ----

const platform::FillBody& Fill::body() const {
  header();
  return *reinterpret_cast<const platform::FillBody*>(record_.body);
}

platform::FillBody& Fill::body() {
  header();
  return *reinterpret_cast<platform::FillBody*>(record_.body);
}

Composite::Composite(int32_t index, Specification* catalogue)
    : Attribute(AttributeLink(index, platform::kAttrComposite, catalogue)) {
  // A composite the host does not hold yet has no skins to read.
  if (!link_.isValid()) ConstructionMemo::setLoaded(true);
}

Composite::Composite(const Composite& other) : Attribute(other), Pattern(other), ConstructionMemo(other) {}

std::vector<Skin>& Composite::skins() {
  ensureLoaded(platform::kMemoSkins);
  return ConstructionMemo::skins();
}

const std::vector<Skin>& Composite::skins() const {
  const_cast<Composite*>(this)->ensureLoaded(platform::kMemoSkins);
  return ConstructionMemo::skins();
}

int32_t Composite::skinCount() const {
  header();
  return reinterpret_cast<const platform::CompositeBody*>(record_.body)->skinCount;
}

bool Composite::load(int32_t, MemoStore* store) {
  std::unique_ptr<AttributeMemoStore> own;
  if (!store) {
    if (!fetchMemo(own)) {
      ConstructionMemo::setLoaded(true);
      return false;
    }
    store = own.get();
  }
  return ConstructionMemo::read(*store);
}

std::unique_ptr<AttributeMemoStore> Composite::buildMemo() const {
  if (!ConstructionMemo::isLoaded()) return nullptr;
  auto store = std::make_unique<AttributeMemoStore>();
  if (!ConstructionMemo::write(*store)) return nullptr;
  return store;
}

const uint8_t* Composite::patternRows() const {
  header();
  return reinterpret_cast<const platform::CompositeBody*>(record_.body)->pattern;
}

uint8_t* Composite::patternRows() {
  header();
  return reinterpret_cast<platform::CompositeBody*>(record_.body)->pattern;
}

ZoneSpec::ZoneSpec(int32_t index, Specification* catalogue)
    : Attribute(AttributeLink(index, platform::kAttrZoneCategory, catalogue)) {
  if (!link_.isValid()) ParameterMemo::setLoaded(true);
}

ZoneSpec::ZoneSpec(const ZoneSpec& other) : Attribute(other), ParameterMemo(other) {}

bool ZoneSpec::load(int32_t, MemoStore* store) {
  std::unique_ptr<AttributeMemoStore> own;
  if (!store) {
    if (!fetchMemo(own)) {
      ParameterMemo::setLoaded(true);
      return false;
    }
    store = own.get();
  }
  return ParameterMemo::read(*store);
}

std::unique_ptr<AttributeMemoStore> ZoneSpec::buildMemo() const {
  if (!ParameterMemo::isLoaded()) return nullptr;
  auto store = std::make_unique<AttributeMemoStore>();
  if (!ParameterMemo::write(*store)) return nullptr;
  return store;
}

bool Layer::load() const {
  // The catalogue's copy first: one host read per layer and command.
  if (Specification* catalogue = link_.catalogue()) {
    if (const Layer* cached = catalogue->layer(link_.index()); cached && cached != this) {
      record_ = cached->record_;
      loaded_ = true;
      return true;
    }
  }
  return Attribute::load();
}

bool Layer::setFlag(int16_t bit, bool on) {
  const int16_t old = flags();
  setFlags(int16_t(on ? old | bit : old & ~bit));
  // A layer the host does not hold yet takes the flag with its creation.
  if (!link_.isValid()) return true;
  if (store()) return true;
  setFlags(old);
  return false;
}

bool Layer::setHidden(bool on) { return setFlag(platform::kLayerHidden, on); }
bool Layer::setLocked(bool on) { return setFlag(platform::kLayerLocked, on); }

const Layer* Specification::layer(int32_t index) {
  if (Layer* cached = layers_.get(index)) return cached;
  auto layer = std::make_unique<Layer>(index);
  if (!layer->Attribute::load() || layer->header().index == 0) return nullptr;
  Layer* out = layer.get();
  layers_.put(index, std::move(layer));
  return out;
}

}  // namespace lunvik
