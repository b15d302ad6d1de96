// Small preference packages for the store tests: a plain record, one holding a list and one
// holding a map, with legacy keys.
#pragma once

#include <memory>

#include "storage/package.h"
#include "storage/xml_shipping_list.h"
#include "storage/xml_shipping_map.h"
#include "storage/xml_shipping_proxies.h"
#include "storage/xml_shipping_units.h"

namespace store_test {

using lunvik::CadString;
using lunvik::Shipping;
using platform::fourcc;

template <typename T>
std::unique_ptr<Shipping> unit(T* field, const char* tag) {
  return std::make_unique<lunvik::XMLShippingProxyUnit<T>>(field, tag);
}

// A record of plain fields.
class PlainPackage : public lunvik::Package {
 public:
  double width = 0.25;
  bool flag = true;
  CadString name = "Untitled";
  short pieces = 3;

  Package* clone() const override { return new PlainPackage(*this); }
  uint32_t code() const override { return fourcc("PLNP"); }
  const CadString& tagName() const override {
    static const CadString tag("plainPrefs");
    return tag;
  }
  std::size_t count() const override { return 4; }
  std::unique_ptr<Shipping> child(std::size_t i) override {
    switch (i) {
      case 0: return unit(&width, "width");
      case 1: return unit(&flag, "flag");
      case 2: return unit(&name, "name");
      case 3: return unit(&pieces, "count");
      default: return nullptr;
    }
  }
  bool translateLegacyKey(CadString& key) const override {
    static const char* const map[][2] = {{"WIDTH", "width"}, {"FLAG", "flag"}, {"NAME", "name"}, {"COUNT", "count"}};
    for (const auto& m : map)
      if (key == m[0]) {
        key = m[1];
        return true;
      }
    return false;
  }
};

// One entry of the list package.
class Item : public lunvik::XMLShippingAssembly {
 public:
  CadString name;
  double length = 0;

  const CadString& tagName() const override {
    static const CadString tag("item");
    return tag;
  }
  std::size_t count() const override { return 2; }
  std::unique_ptr<Shipping> child(std::size_t i) override {
    return i == 0 ? unit(&name, "name") : i == 1 ? unit(&length, "length") : nullptr;
  }
};

// A record holding a list; merging appends entries of new names.
class ListPackage : public lunvik::Package {
 public:
  lunvik::XMLShippingList<Item> items{"itemList"};

  Package* clone() const override { return new ListPackage(*this); }
  Package* listCopy() const override { return clone(); }
  uint32_t code() const override { return fourcc("LSTP"); }
  const CadString& tagName() const override {
    static const CadString tag("listPrefs");
    return tag;
  }
  std::size_t count() const override { return 1; }
  std::unique_ptr<Shipping> child(std::size_t i) override { return i == 0 ? lunvik::shippingProxy(items) : nullptr; }
  void merge(const Package& other) override {
    const auto* incoming = dynamic_cast<const ListPackage*>(&other);
    if (!incoming) return;
    for (const auto& item : incoming->items.items()) {
      bool known = false;
      for (const auto& mine : items.items()) known = known || mine->name == item->name;
      if (!known) items.items().push_back(std::make_unique<Item>(*item));
    }
  }
  bool translateLegacyKey(CadString& key) const override {
    if (key == "listPrefs") key = "itemList";
    else if (key == "itemList") key = "item";
    else if (key == "ITEMNAME") key = "name";
    else if (key == "ITEMLENGTH") key = "length";
    else return false;
    return true;
  }
  // Adds an entry.
  void add(const char* name, double length) {
    auto item = std::make_unique<Item>();
    item->name = name;
    item->length = length;
    items.items().push_back(std::move(item));
  }
};

// A record holding a map from a length to a cost.
class MapPackage : public lunvik::Package {
 public:
  lunvik::XMLShippingUnitMap<double, double> costs{"costList", "cost", "keyLength", "value"};

  Package* clone() const override { return new MapPackage(*this); }
  uint32_t code() const override { return fourcc("MAPP"); }
  const CadString& tagName() const override {
    static const CadString tag("mapPrefs");
    return tag;
  }
  std::size_t count() const override { return 1; }
  std::unique_ptr<Shipping> child(std::size_t i) override { return i == 0 ? lunvik::shippingProxy(costs) : nullptr; }
};

}  // namespace store_test
