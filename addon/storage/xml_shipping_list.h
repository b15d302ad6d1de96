// A shipped list of like elements owned by the list.
#pragma once

#include <memory>
#include <utility>

#include "runtime/containers.h"
#include "storage/xml_shipping.h"
#include "storage/xml_shipping_proxies.h"

namespace lunvik {

// An owning list of T (a default-constructible record or unit of the XML world), written as
// <tag> with one element per item. newChild appends a default T whatever the tag; reset
// empties the list. Copies copy every element (T must be copyable then).
template <typename T>
class XMLShippingList : public XMLShippingArray {
 public:
  explicit XMLShippingList(CadString tag) : tag_(std::move(tag)) {}
  XMLShippingList(const XMLShippingList& other) : XMLShippingArray(other), tag_(other.tag_) {
    copyItems(other);
  }
  XMLShippingList& operator=(const XMLShippingList& other) {
    if (this != &other) {
      XMLShippingArray::operator=(other);
      tag_ = other.tag_;
      items_.clear();
      copyItems(other);
    }
    return *this;
  }

  void reset() override { items_.clear(); }
  std::size_t count() const override { return items_.size(); }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    T* item = items_.get(index);
    return item ? shippingProxy(*item) : nullptr;
  }
  std::unique_ptr<Shipping> newChild(const CadString&) override {
    auto item = std::make_unique<T>();
    T& added = *item;
    items_.push_back(std::move(item));
    return shippingProxy(added);
  }
  const CadString& tagName() const override { return tag_; }

  // The elements.
  List<T>& items() { return items_; }
  const List<T>& items() const { return items_; }

 private:
  void copyItems(const XMLShippingList& other) {
    items_.reserve(other.items_.size());
    for (const auto& item : other.items_) items_.push_back(std::make_unique<T>(*item));
  }

  CadString tag_;
  List<T> items_;
};

}  // namespace lunvik
