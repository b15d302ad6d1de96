// Wrappers that forward every operation to a shippable object they do not own: what
// containers hand out from child, childByName and newChild for their units, records, lists
// and maps.
#pragma once

#include <memory>

#include "storage/xml_shipping.h"
#include "storage/xml_shipping_map.h"

namespace lunvik {

// Forwards to a unit.
class XMLShippingProxy : public XMLShippingUnit {
 public:
  explicit XMLShippingProxy(XMLShippingUnit& target) : target_(&target) {}

  void setPresent(bool present) override;
  void clear() override;
  void reset() override;
  bool complete() override;
  bool isPresent() const override;
  bool toText(CadString& out) override;
  bool fromText(const CadString& text) override;
  bool isAttribute() const override;
  void setAttribute(bool attribute) override;
  void* valueAddress() override;
  void setValue(const void* value) override;
  const CadString& tagName() const override;

  // The wrapped unit.
  XMLShippingUnit& target() const { return *target_; }

 private:
  XMLShippingUnit* target_;
};

// Forwards to a record.
class XMLShippingProxyAssembly : public XMLShippingAssembly {
 public:
  explicit XMLShippingProxyAssembly(XMLShippingAssembly& target) : target_(&target) {}

  void setPresent(bool present) override;
  void clear() override;
  void reset() override;
  bool complete() override;
  bool isPresent() const override;
  std::size_t count() const override;
  bool isArray() const override;
  std::unique_ptr<Shipping> child(std::size_t index) override;
  std::unique_ptr<Shipping> childByName(const CadString& tag) override;
  std::unique_ptr<Shipping> newChild(const CadString& tag) override;
  const CadString& tagName() const override;

  // The wrapped record.
  XMLShippingAssembly& target() const { return *target_; }

 private:
  XMLShippingAssembly* target_;
};

// Forwards to a list.
class XMLShippingProxyArray : public XMLShippingArray {
 public:
  explicit XMLShippingProxyArray(XMLShippingArray& target) : target_(&target) {}

  void setPresent(bool present) override;
  void clear() override;
  void reset() override;
  bool complete() override;
  bool isPresent() const override;
  std::size_t count() const override;
  bool isArray() const override;
  std::unique_ptr<Shipping> child(std::size_t index) override;
  std::unique_ptr<Shipping> childByName(const CadString& tag) override;
  std::unique_ptr<Shipping> newChild(const CadString& tag) override;
  const CadString& tagName() const override;

  // The wrapped list.
  XMLShippingArray& target() const { return *target_; }

 private:
  XMLShippingArray* target_;
};

// Forwards to a map.
class XMLShippingProxyMap : public XMLShippingMap {
 public:
  explicit XMLShippingProxyMap(XMLShippingMap& target) : target_(&target) {}

  void setPresent(bool present) override;
  void clear() override;
  void reset() override;
  bool complete() override;
  bool isPresent() const override;
  std::size_t count() const override;
  bool isArray() const override;
  std::unique_ptr<Shipping> child(std::size_t index) override;
  std::unique_ptr<Shipping> childByName(const CadString& tag) override;
  std::unique_ptr<Shipping> newChild(const CadString& tag) override;
  const CadString& tagName() const override;
  bool insert(XMLShippingPair& pair) override;

  // The wrapped map.
  XMLShippingMap& target() const { return *target_; }

 private:
  XMLShippingMap* target_;
};

// The forwarding wrapper that fits target (map, list, record or unit); null when target is
// none of the XML shippable kinds.
std::unique_ptr<Shipping> shippingProxy(Shipping& target);

// The same, chosen when the type is known.
inline std::unique_ptr<Shipping> shippingProxy(XMLShippingUnit& target) {
  return std::make_unique<XMLShippingProxy>(target);
}
inline std::unique_ptr<Shipping> shippingProxy(XMLShippingAssembly& target) {
  return std::make_unique<XMLShippingProxyAssembly>(target);
}
inline std::unique_ptr<Shipping> shippingProxy(XMLShippingArray& target) {
  return std::make_unique<XMLShippingProxyArray>(target);
}
inline std::unique_ptr<Shipping> shippingProxy(XMLShippingMap& target) {
  return std::make_unique<XMLShippingProxyMap>(target);
}

}  // namespace lunvik
