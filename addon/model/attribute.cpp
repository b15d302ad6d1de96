#include "model/attribute.h"

#include <cstring>

#include "runtime/host_interface.h"

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

void Layer::setHidden(bool on) {
  int16_t f = flags();
  setFlags(int16_t(on ? f | platform::kLayerHidden : f & ~platform::kLayerHidden));
}
void Layer::setLocked(bool on) {
  int16_t f = flags();
  setFlags(int16_t(on ? f | platform::kLayerLocked : f & ~platform::kLayerLocked));
}

const Layer* Specification::layer(int32_t index) {
  if (Layer* cached = layers_.get(index)) return cached;
  auto layer = std::make_unique<Layer>(index);
  if (!layer->Attribute::load() || layer->header().index == 0) return nullptr;
  Layer* out = layer.get();
  layers_.put(index, std::move(layer));
  return out;
}

}  // namespace lunvik
