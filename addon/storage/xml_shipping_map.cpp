#include "storage/xml_shipping_map.h"

#include "storage/xml_shipping_proxies.h"

namespace lunvik {

namespace {

// The number of children a part of a pair contributes: a unit itself, a container its own.
// A missing part contributes nothing.
std::size_t partCount(const Shipping* part) {
  if (!part) return 0;
  if (auto* container = shippingContainer(const_cast<Shipping*>(part))) return container->count();
  return 1;
}

std::unique_ptr<Shipping> partChild(Shipping* part, std::size_t index) {
  if (!part) return nullptr;
  if (auto* container = shippingContainer(part)) return container->child(index);
  return index == 0 ? shippingProxy(*part) : nullptr;
}

std::unique_ptr<Shipping> partChildByName(Shipping* part, const CadString& tag) {
  if (!part) return nullptr;
  if (auto* container = shippingContainer(part))
    return container->isArray() ? container->newChild(tag) : container->childByName(tag);
  const XMLShipping* xml = xmlShipping(part);
  return xml && sameTag(xml->tagName(), tag) ? shippingProxy(*part) : nullptr;
}

}  // namespace

XMLShippingPair::XMLShippingPair(CadString tag, std::unique_ptr<Shipping> key,
                                 std::unique_ptr<Shipping> value)
    : tag_(std::move(tag)), key_(std::move(key)), value_(std::move(value)) {}

void XMLShippingPair::reset() {
  if (value_) value_->reset();
  if (key_) key_->reset();
}

std::size_t XMLShippingPair::count() const {
  return partCount(key_.get()) + partCount(value_.get());
}

std::unique_ptr<Shipping> XMLShippingPair::child(std::size_t index) {
  std::size_t keyParts = partCount(key_.get());
  return index < keyParts ? partChild(key_.get(), index)
                          : partChild(value_.get(), index - keyParts);
}

std::unique_ptr<Shipping> XMLShippingPair::childByName(const CadString& tag) {
  if (auto found = partChildByName(key_.get(), tag)) return found;
  return partChildByName(value_.get(), tag);
}

const CadString& XMLShippingPair::tagName() const { return tag_; }

XMLShippingMap* xmlMapByCast(Shipping* object) { return dynamic_cast<XMLShippingMap*>(object); }

}  // namespace lunvik
