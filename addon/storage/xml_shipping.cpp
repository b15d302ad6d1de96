#include "storage/xml_shipping.h"

#include <cstring>

namespace lunvik {

Shipping::~Shipping() = default;

void Shipping::setPresent(bool present) { present_ = present; }

void Shipping::clear() { reset(); }

bool Shipping::complete() { return true; }

bool Shipping::isPresent() const { return present_; }

XMLShipping::~XMLShipping() = default;

bool ShippingUnit::isAttribute() const { return attribute_; }

void ShippingUnit::setAttribute(bool attribute) { attribute_ = attribute; }

void ShippingContainer::reset() {
  for (std::size_t i = count(); i-- > 0;)
    if (auto c = child(i)) c->reset();
}

bool ShippingAssembly::isArray() const { return false; }

std::unique_ptr<Shipping> ShippingAssembly::newChild(const CadString&) { return nullptr; }

std::unique_ptr<Shipping> XMLShippingAssembly::childByName(const CadString& tag) {
  // The child after the last match first: in a text written by XMLWriter it is the one.
  if (auto c = child(lookupStart_)) {
    const XMLShipping* xml = xmlShipping(c.get());
    if (xml && sameTag(xml->tagName(), tag)) {
      ++lookupStart_;
      return c;
    }
  }
  const std::size_t n = count();
  for (std::size_t i = 0; i < n; ++i) {
    if (i == lookupStart_) continue;
    auto c = child(i);
    const XMLShipping* xml = xmlShipping(c.get());
    if (xml && sameTag(xml->tagName(), tag)) {
      lookupStart_ = i + 1;
      return c;
    }
  }
  return nullptr;
}

bool ShippingArray::isArray() const { return true; }

std::unique_ptr<Shipping> XMLShippingArray::childByName(const CadString& tag) {
  for (std::size_t i = 0, n = count(); i < n; ++i) {
    auto c = child(i);
    const XMLShipping* xml = xmlShipping(c.get());
    if (xml && sameTag(xml->tagName(), tag)) return c;
  }
  return nullptr;
}

XMLShipping* xmlShippingByCast(Shipping* object) { return dynamic_cast<XMLShipping*>(object); }

XMLShippingUnit* xmlUnitByCast(Shipping* object) { return dynamic_cast<XMLShippingUnit*>(object); }

XMLShippingAssembly* xmlAssemblyByCast(Shipping* object) {
  return dynamic_cast<XMLShippingAssembly*>(object);
}

XMLShippingArray* xmlArrayByCast(Shipping* object) {
  return dynamic_cast<XMLShippingArray*>(object);
}

ShippingContainer* shippingContainerByCast(Shipping* object) {
  return dynamic_cast<ShippingContainer*>(object);
}

ShippingUnit* shippingUnitByCast(Shipping* object) { return dynamic_cast<ShippingUnit*>(object); }

bool sameTagNoCase(const char* a, std::size_t length, const CadString& b) {
  // The host comparison works on null-terminated text; a name with a null byte in it never
  // equals a tag.
  if (std::memchr(a, '\0', length)) return false;
  return CadString(a, length).equalsNoCase(b);
}

}  // namespace lunvik
