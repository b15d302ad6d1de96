// Fuzzes the XML reader with a tree of small containers: a record of every unit type (two of
// them attributes), a list of such records, a map, and lists nested in themselves to any depth.
// When a text reads, the tree is written, read into a fresh tree and written again: the two
// written texts must be the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "storage/data_buffer.h"
#include "storage/shipping_text.h"
#include "storage/xml_reader.h"
#include "storage/xml_shipping.h"
#include "storage/xml_shipping_list.h"
#include "storage/xml_shipping_map.h"
#include "storage/xml_shipping_proxies.h"
#include "storage/xml_shipping_units.h"
#include "storage/xml_writer.h"

namespace fuzz {

using lunvik::CadString;
using lunvik::Shipping;

enum class Grain { straight = 0, spiral = 1, wavy = 2, burr = 3 };

struct GrainNames {
  static constexpr const char* names[] = {"straight", "spiral", "wavy", "burr"};
  static constexpr int count = 4;
  static constexpr int fallback = 0;
};

}  // namespace fuzz

template <>
struct lunvik::ShippingText<fuzz::Grain> : lunvik::ShippingEnumText<fuzz::Grain, fuzz::GrainNames> {
};

namespace fuzz {

class Leaf : public lunvik::XMLShippingAssembly {
 public:
  CadString name;
  short pieces = 0;
  double length = 0;
  bool sound = false;
  Grain grain = Grain::straight;

  std::size_t count() const override { return 5; }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    switch (index) {
      case 0: return std::make_unique<lunvik::XMLShippingProxyUnit<CadString>>(&name, "name", true);
      case 1: return std::make_unique<lunvik::XMLShippingProxyUnit<short>>(&pieces, "pieces", true);
      case 2: return std::make_unique<lunvik::XMLShippingProxyUnit<double>>(&length, "length");
      case 3: return std::make_unique<lunvik::XMLShippingProxyUnit<bool>>(&sound, "sound");
      case 4: return std::make_unique<lunvik::XMLShippingProxyUnit<Grain>>(&grain, "grain");
      default: return nullptr;
    }
  }
  const CadString& tagName() const override {
    static const CadString tag("leaf");
    return tag;
  }
};

class Nest : public lunvik::XMLShippingList<Nest> {
 public:
  Nest() : XMLShippingList<Nest>("nest") {}
};

class Tree : public lunvik::XMLShippingAssembly {
 public:
  CadString label;
  Leaf leaf;
  lunvik::XMLShippingList<Leaf> leaves{"leafList"};
  lunvik::XMLShippingUnitMap<double, double> prices{"priceList", "price", "keyLength", "cost"};
  Nest nest;

  std::size_t count() const override { return 5; }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    switch (index) {
      case 0: return std::make_unique<lunvik::XMLShippingProxyUnit<CadString>>(&label, "label");
      case 1: return lunvik::shippingProxy(leaf);
      case 2: return lunvik::shippingProxy(leaves);
      case 3: return lunvik::shippingProxy(prices);
      case 4: return lunvik::shippingProxy(nest);
      default: return nullptr;
    }
  }
  const CadString& tagName() const override {
    static const CadString tag("tree");
    return tag;
  }
};

bool written(Tree& tree, std::string& text) {
  lunvik::DataBufferOut out;
  if (!lunvik::XMLWriter().write(tree, out, true)) return false;
  text = out.takeBytes();
  return true;
}

}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  fuzz::Tree tree;
  if (!lunvik::XMLReader().read(tree, reinterpret_cast<const char*>(data), size)) return 0;
  std::string first;
  // A tree read at the reader's full depth is one level too deep to be written under its root.
  if (!fuzz::written(tree, first)) return 0;
  fuzz::Tree copy;
  if (!lunvik::XMLReader().read(copy, first.data(), first.size())) std::abort();
  std::string second;
  if (!fuzz::written(copy, second) || second != first) std::abort();
  return 0;
}
