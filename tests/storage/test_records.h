// Small shippable records for the storage tests: a plain record, one holding a list and one
// holding a map, built only from the framework's units, lists and maps.
#pragma once

#include <memory>

#include "storage/xml_shipping.h"
#include "storage/xml_shipping_list.h"
#include "storage/xml_shipping_map.h"
#include "storage/xml_shipping_proxies.h"
#include "storage/xml_shipping_units.h"

namespace storage_test {

using lunvik::CadString;
using lunvik::Shipping;

// A surface finish, shipped by name.
enum class Finish { sawn = 0, planed = 1, sanded = 2 };

struct FinishNames {
  static constexpr const char* names[] = {"sawn", "planed", "sanded"};
  static constexpr int count = 3;
  static constexpr int fallback = 1;
};

}  // namespace storage_test

template <>
struct lunvik::ShippingText<storage_test::Finish>
    : lunvik::ShippingEnumText<storage_test::Finish, storage_test::FinishNames> {};

namespace storage_test {

// A plain record of every field type.
class Plank : public lunvik::XMLShippingAssembly {
 public:
  CadString name = "Untitled";
  short pieces = 0;
  double length = 0.0;
  bool graded = false;
  Finish finish = Finish::planed;
  int completions = 0;  // how often complete was called

  std::size_t count() const override { return 5; }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    switch (index) {
      case 0: return std::make_unique<lunvik::XMLShippingProxyUnit<CadString>>(&name, "name");
      case 1: return std::make_unique<lunvik::XMLShippingProxyUnit<short>>(&pieces, "count");
      case 2: return std::make_unique<lunvik::XMLShippingProxyUnit<double>>(&length, "length");
      case 3: return std::make_unique<lunvik::XMLShippingProxyUnit<bool>>(&graded, "graded");
      case 4: return std::make_unique<lunvik::XMLShippingProxyUnit<Finish>>(&finish, "finish");
      default: return nullptr;
    }
  }
  bool complete() override {
    ++completions;
    return true;
  }
  const CadString& tagName() const override { return tag(); }
  static const CadString& tag() {
    static const CadString t("plank");
    return t;
  }
};

// A record holding a list of planks.
class Rack : public lunvik::XMLShippingAssembly {
 public:
  CadString label;
  lunvik::XMLShippingList<Plank> planks{"plankList"};

  std::size_t count() const override { return 2; }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    switch (index) {
      case 0: return std::make_unique<lunvik::XMLShippingProxyUnit<CadString>>(&label, "label");
      case 1: return lunvik::shippingProxy(planks);
      default: return nullptr;
    }
  }
  const CadString& tagName() const override { return tag(); }
  static const CadString& tag() {
    static const CadString t("rack");
    return t;
  }
};

// A record holding a map from a length to a price.
class PriceTable : public lunvik::XMLShippingAssembly {
 public:
  CadString supplier;
  lunvik::XMLShippingUnitMap<double, double> prices{"priceList", "price", "keyLength", "cost"};

  std::size_t count() const override { return 2; }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    switch (index) {
      case 0:
        return std::make_unique<lunvik::XMLShippingProxyUnit<CadString>>(&supplier, "supplier");
      case 1: return lunvik::shippingProxy(prices);
      default: return nullptr;
    }
  }
  const CadString& tagName() const override { return tag(); }
  static const CadString& tag() {
    static const CadString t("priceTable");
    return t;
  }
};

// A plank whose name and count are written as attributes of its element.
class MarkedPlank : public Plank {
 public:
  std::unique_ptr<Shipping> child(std::size_t index) override {
    switch (index) {
      case 0: return std::make_unique<lunvik::XMLShippingProxyUnit<CadString>>(&name, "name", true);
      case 1: return std::make_unique<lunvik::XMLShippingProxyUnit<short>>(&pieces, "count", true);
      default: return Plank::child(index);
    }
  }
};

// A list whose elements are lists of the same kind: trees nested as deep as wanted.
class Nest : public lunvik::XMLShippingList<Nest> {
 public:
  Nest() : XMLShippingList<Nest>("nest") {}
  // A chain of depth nests, each holding the next.
  static std::unique_ptr<Nest> chain(int depth) {
    auto root = std::make_unique<Nest>();
    Nest* last = root.get();
    for (int i = 1; i < depth; ++i) {
      last->items().push_back(std::make_unique<Nest>());
      last = &last->items()[0];
    }
    return root;
  }
  // The number of nested levels, this one included.
  int depth() const {
    int levels = 1;
    for (const Nest* n = this; !n->items().empty(); n = &n->items()[0]) ++levels;
    return levels;
  }
};

}  // namespace storage_test
