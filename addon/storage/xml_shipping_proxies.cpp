#include "storage/xml_shipping_proxies.h"

namespace lunvik {

void XMLShippingProxy::setPresent(bool present) { target_->setPresent(present); }
void XMLShippingProxy::clear() { target_->clear(); }
void XMLShippingProxy::reset() { target_->reset(); }
bool XMLShippingProxy::complete() { return target_->complete(); }
bool XMLShippingProxy::isPresent() const { return target_->isPresent(); }
const CadString& XMLShippingProxy::tagName() const { return target_->tagName(); }
bool XMLShippingProxy::toText(CadString& out) { return target_->toText(out); }
bool XMLShippingProxy::fromText(const CadString& text) { return target_->fromText(text); }
bool XMLShippingProxy::isAttribute() const { return target_->isAttribute(); }
void XMLShippingProxy::setAttribute(bool attribute) { target_->setAttribute(attribute); }
void* XMLShippingProxy::valueAddress() { return target_->valueAddress(); }
void XMLShippingProxy::setValue(const void* value) { target_->setValue(value); }

void XMLShippingProxyAssembly::setPresent(bool present) { target_->setPresent(present); }
void XMLShippingProxyAssembly::clear() { target_->clear(); }
void XMLShippingProxyAssembly::reset() { target_->reset(); }
bool XMLShippingProxyAssembly::complete() { return target_->complete(); }
bool XMLShippingProxyAssembly::isPresent() const { return target_->isPresent(); }
const CadString& XMLShippingProxyAssembly::tagName() const { return target_->tagName(); }
std::size_t XMLShippingProxyAssembly::count() const { return target_->count(); }
bool XMLShippingProxyAssembly::isArray() const { return target_->isArray(); }
std::unique_ptr<Shipping> XMLShippingProxyAssembly::child(std::size_t index) {
  return target_->child(index);
}
std::unique_ptr<Shipping> XMLShippingProxyAssembly::childByName(const CadString& tag) {
  return target_->childByName(tag);
}
std::unique_ptr<Shipping> XMLShippingProxyAssembly::newChild(const CadString& tag) {
  return target_->newChild(tag);
}

void XMLShippingProxyArray::setPresent(bool present) { target_->setPresent(present); }
void XMLShippingProxyArray::clear() { target_->clear(); }
void XMLShippingProxyArray::reset() { target_->reset(); }
bool XMLShippingProxyArray::complete() { return target_->complete(); }
bool XMLShippingProxyArray::isPresent() const { return target_->isPresent(); }
const CadString& XMLShippingProxyArray::tagName() const { return target_->tagName(); }
std::size_t XMLShippingProxyArray::count() const { return target_->count(); }
bool XMLShippingProxyArray::isArray() const { return target_->isArray(); }
std::unique_ptr<Shipping> XMLShippingProxyArray::child(std::size_t index) {
  return target_->child(index);
}
std::unique_ptr<Shipping> XMLShippingProxyArray::childByName(const CadString& tag) {
  return target_->childByName(tag);
}
std::unique_ptr<Shipping> XMLShippingProxyArray::newChild(const CadString& tag) {
  return target_->newChild(tag);
}

void XMLShippingProxyMap::setPresent(bool present) { target_->setPresent(present); }
void XMLShippingProxyMap::clear() { target_->clear(); }
void XMLShippingProxyMap::reset() { target_->reset(); }
bool XMLShippingProxyMap::complete() { return target_->complete(); }
bool XMLShippingProxyMap::isPresent() const { return target_->isPresent(); }
const CadString& XMLShippingProxyMap::tagName() const { return target_->tagName(); }
std::size_t XMLShippingProxyMap::count() const { return target_->count(); }
bool XMLShippingProxyMap::isArray() const { return target_->isArray(); }
std::unique_ptr<Shipping> XMLShippingProxyMap::child(std::size_t index) {
  return target_->child(index);
}
std::unique_ptr<Shipping> XMLShippingProxyMap::childByName(const CadString& tag) {
  return target_->childByName(tag);
}
std::unique_ptr<Shipping> XMLShippingProxyMap::newChild(const CadString& tag) {
  return target_->newChild(tag);
}
bool XMLShippingProxyMap::insert(XMLShippingPair& pair) { return target_->insert(pair); }

std::unique_ptr<Shipping> shippingProxy(Shipping& target) {
  if (auto* map = xmlMap(&target)) return shippingProxy(*map);
  if (auto* array = xmlArray(&target)) return shippingProxy(*array);
  if (auto* assembly = xmlAssembly(&target)) return shippingProxy(*assembly);
  if (auto* unit = xmlUnit(&target)) return shippingProxy(*unit);
  return nullptr;
}

}  // namespace lunvik
