// Leaf values: proxy units over a field of a record, and units that own their value (the
// keys and values of shipped maps).
#pragma once

#include <cmath>
#include <utility>

#include "storage/shipping_text.h"
#include "storage/xml_shipping.h"

namespace lunvik {

// A leaf over a field inside its owning record: the field's address, the tag and the
// attribute flag. Records answer one from child(i) for each plain field.
template <typename T>
class XMLShippingProxyUnit : public XMLShippingUnit {
 public:
  XMLShippingProxyUnit(T* field, CadString tag, bool attribute = false)
      : field_(field), tag_(std::move(tag)) {
    setAttribute(attribute);
  }
  XMLShippingProxyUnit(T* field, const char* tag, bool attribute = false)
      : field_(field), tag_(tag) {
    setAttribute(attribute);
  }

  void reset() override { ShippingText<T>::reset(*field_); }
  bool toText(CadString& out) override { return ShippingText<T>::toText(*field_, out); }
  bool fromText(const CadString& text) override { return ShippingText<T>::fromText(text, *field_); }
  void* valueAddress() override { return field_; }
  void setValue(const void* value) override {
    if (value) *field_ = *static_cast<const T*>(value);
  }
  const CadString& tagName() const override { return tag_; }

 private:
  T* field_;
  CadString tag_;
};

// A leaf that owns its value.
template <typename T>
class XMLShippingValueUnit : public XMLShippingUnit {
 public:
  explicit XMLShippingValueUnit(CadString tag, T value = T())
      : value_(std::move(value)), tag_(std::move(tag)) {}

  void reset() override { ShippingText<T>::reset(value_); }
  bool toText(CadString& out) override { return ShippingText<T>::toText(value_, out); }
  bool fromText(const CadString& text) override { return ShippingText<T>::fromText(text, value_); }
  void* valueAddress() override { return &value_; }
  void setValue(const void* value) override {
    if (value) value_ = *static_cast<const T*>(value);
  }
  const CadString& tagName() const override { return tag_; }

  // The value.
  const T& value() const { return value_; }
  T& value() { return value_; }
  // Replaces the value.
  void set(T value) { value_ = std::move(value); }

 private:
  T value_;
  CadString tag_;
};

// Orders map keys. For doubles it is a total order: NaN sorts after every number and equals
// every NaN, so a NaN key cannot break a map.
template <typename T>
struct ShippingKeyLess {
  bool operator()(const T& a, const T& b) const { return a < b; }
};

template <>
struct ShippingKeyLess<double> {
  bool operator()(double a, double b) const {
    if (std::isnan(a)) return false;
    if (std::isnan(b)) return true;
    return a < b;
  }
};

// The key unit of a map: an owned value of type T with its tag (XMLShippingUnitKey<double>
// keys the maps keyed by a length or another double).
template <typename T>
class XMLShippingUnitKey : public XMLShippingValueUnit<T> {
 public:
  using XMLShippingValueUnit<T>::XMLShippingValueUnit;

  friend bool operator<(const XMLShippingUnitKey& a, const XMLShippingUnitKey& b) {
    return ShippingKeyLess<T>()(a.value(), b.value());
  }
};

}  // namespace lunvik
