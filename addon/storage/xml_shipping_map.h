// Shipped maps: a map is an array of pair elements, each holding a key shipping and a value
// shipping whose fields appear side by side in the pair's element.
#pragma once

#include <cstddef>
#include <iterator>
#include <map>
#include <memory>
#include <utility>

#include "storage/xml_shipping.h"
#include "storage/xml_shipping_units.h"

namespace lunvik {

class XMLShippingMap;

// One entry of a map: a key and a value, each a unit or a container. Its children are the
// key's (the key itself when it is a unit) followed by the value's.
class XMLShippingPair : public XMLShippingAssembly {
 public:
  // key and value are shippings of the XML world; a null part contributes no children.
  XMLShippingPair(CadString tag, std::unique_ptr<Shipping> key, std::unique_ptr<Shipping> value);

  // Resets the value, then the key.
  void reset() override;
  std::size_t count() const override;
  std::unique_ptr<Shipping> child(std::size_t index) override;
  // Looks in the key first, then in the value: a unit matches by its own tag, a record is
  // searched by its children's tags, an array answers a new element.
  std::unique_ptr<Shipping> childByName(const CadString& tag) override;
  const CadString& tagName() const override;

  // The key shipping, or null.
  Shipping* key() { return key_.get(); }
  // The value shipping, or null.
  Shipping* value() { return value_.get(); }
  // The map that made this pair with newChild, or null.
  const XMLShippingMap* maker() const { return maker_; }
  void setMaker(const XMLShippingMap* maker) { maker_ = maker; }

 protected:
  // Replaces the key and the value.
  void setParts(std::unique_ptr<Shipping> key, std::unique_ptr<Shipping> value) {
    key_ = std::move(key);
    value_ = std::move(value);
  }

 private:
  CadString tag_;
  std::unique_ptr<Shipping> key_;
  std::unique_ptr<Shipping> value_;
  const XMLShippingMap* maker_ = nullptr;
};

// An array of pairs. newChild answers a fresh pair; the reader hands it to insert once it has
// been read.
class XMLShippingMap : public XMLShippingArray {
 public:
  XMLShippingMap() { setXMLRole(XMLRole::map); }
  XMLShippingMap(const XMLShippingMap& other) : XMLShippingArray(other) {
    setXMLRole(XMLRole::map);
  }
  XMLShippingMap& operator=(const XMLShippingMap&) = default;

  // Stores the key and value of a pair that newChild made and that has been read; a key that
  // is present already takes the new value. False when the pair is not one of this map's.
  virtual bool insert(XMLShippingPair& pair) = 0;
};

// A map from plain keys K to plain values V in ascending key order, shipped as pairs holding
// an XMLShippingUnitKey<K> and a value unit: <mapTag><pairTag><keyTag>k</keyTag>
// <valueTag>v</valueTag></pairTag>...</mapTag>.
template <typename K, typename V>
class XMLShippingUnitMap : public XMLShippingMap {
 public:
  using Storage = std::map<K, V, ShippingKeyLess<K>>;

  XMLShippingUnitMap(CadString tag, CadString pairTag, CadString keyTag, CadString valueTag)
      : tag_(std::move(tag)),
        pairTag_(std::move(pairTag)),
        keyTag_(std::move(keyTag)),
        valueTag_(std::move(valueTag)) {}
  XMLShippingUnitMap(const XMLShippingUnitMap& other)
      : XMLShippingMap(other),
        tag_(other.tag_),
        pairTag_(other.pairTag_),
        keyTag_(other.keyTag_),
        valueTag_(other.valueTag_),
        entries_(other.entries_) {}
  XMLShippingUnitMap& operator=(const XMLShippingUnitMap& other) {
    if (this != &other) {
      XMLShippingMap::operator=(other);
      tag_ = other.tag_;
      pairTag_ = other.pairTag_;
      keyTag_ = other.keyTag_;
      valueTag_ = other.valueTag_;
      entries_ = other.entries_;
      cursorValid_ = false;
    }
    return *this;
  }

  void reset() override { clearEntries(); }
  std::size_t count() const override { return entries_.size(); }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    auto it = entryAt(index);
    if (it == entries_.end()) return nullptr;
    return std::make_unique<XMLShippingPair>(
        pairTag_, std::make_unique<XMLShippingUnitKey<K>>(keyTag_, it->first),
        std::make_unique<XMLShippingProxyUnit<V>>(&it->second, valueTag_));
  }
  std::unique_ptr<Shipping> newChild(const CadString&) override {
    auto pair = std::make_unique<Pair>(pairTag_, keyTag_, valueTag_);
    pair->setMaker(this);
    return pair;
  }
  bool insert(XMLShippingPair& pair) override {
    // A pair this map made is known by its maker; any other is checked by its parts' types.
    if (pair.maker() == this) {
      Pair& made = static_cast<Pair&>(pair);
      put(made.typedKey->value(), made.typedValue->value());
      return true;
    }
    auto* key = dynamic_cast<XMLShippingUnitKey<K>*>(pair.key());
    auto* value = dynamic_cast<XMLShippingValueUnit<V>*>(pair.value());
    if (!key || !value) return false;
    put(key->value(), value->value());
    return true;
  }
  const CadString& tagName() const override { return tag_; }

  // The entries in ascending key order.
  const Storage& entries() const { return entries_; }
  // Stores value under key, replacing what was there.
  void put(const K& key, const V& value) {
    entries_[key] = value;
    cursorValid_ = false;
  }
  // Removes the entry under key.
  void erase(const K& key) {
    entries_.erase(key);
    cursorValid_ = false;
  }
  // Removes every entry.
  void clearEntries() {
    entries_.clear();
    cursorValid_ = false;
  }

 private:
  // Entry index in key order. The writer asks for 0, 1, 2 ... in turn, so a cursor keeps each
  // step constant instead of walking from the first entry every time.
  typename Storage::iterator entryAt(std::size_t index) {
    if (index >= entries_.size()) return entries_.end();
    if (!cursorValid_ || index < cursorIndex_) {
      cursor_ = entries_.begin();
      cursorIndex_ = 0;
      cursorValid_ = true;
    }
    cursor_ = std::next(cursor_, std::ptrdiff_t(index - cursorIndex_));
    cursorIndex_ = index;
    return cursor_;
  }

  // The pairs newChild makes, with typed views of their parts.
  struct Pair : XMLShippingPair {
    Pair(const CadString& tag, const CadString& keyTag, const CadString& valueTag)
        : Pair(tag, std::make_unique<XMLShippingUnitKey<K>>(keyTag),
               std::make_unique<XMLShippingValueUnit<V>>(valueTag)) {}
    Pair(const CadString& tag, std::unique_ptr<XMLShippingUnitKey<K>> key,
         std::unique_ptr<XMLShippingValueUnit<V>> value)
        : XMLShippingPair(tag, nullptr, nullptr), typedKey(key.get()), typedValue(value.get()) {
      setParts(std::move(key), std::move(value));
    }
    XMLShippingUnitKey<K>* typedKey;
    XMLShippingValueUnit<V>* typedValue;
  };

  CadString tag_, pairTag_, keyTag_, valueTag_;
  Storage entries_;
  typename Storage::iterator cursor_{};
  std::size_t cursorIndex_ = 0;
  bool cursorValid_ = false;
};

XMLShippingMap* xmlMapByCast(Shipping* object);

// The object as a map of the XML world, or null when it is none.
inline XMLShippingMap* xmlMap(Shipping* object) {
  if (!object) return nullptr;
  if (object->xmlRole() == Shipping::XMLRole::map) return static_cast<XMLShippingMap*>(object);
  return object->xmlRole() == Shipping::XMLRole::none ? xmlMapByCast(object) : nullptr;
}

}  // namespace lunvik
