#include "storage/xml_shipping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/data_buffer.h"
#include "storage/test_records.h"
#include "storage/xml_reader.h"
#include "storage/xml_writer.h"

namespace storage_test {
namespace {

using lunvik::XMLShippingPair;
using lunvik::XMLShippingUnitKey;

std::string written(Shipping& root) {
  lunvik::DataBufferOut out;
  EXPECT_TRUE(lunvik::XMLWriter().write(root, out));
  return out.takeBytes();
}

TEST(XmlShipping, CopiesOfListsAndMapsAreDeepAndKeepTheirKind) {
  Rack rack;
  rack.planks.items().push_back(std::make_unique<Plank>());
  rack.planks.items()[0].name = "Ridge";
  lunvik::XMLShippingList<Plank> copy(rack.planks);
  copy.items()[0].name = "Changed";
  EXPECT_EQ(rack.planks.items()[0].name, "Ridge");
  EXPECT_EQ(copy.tagName(), "plankList");
  EXPECT_EQ(copy.xmlRole(), Shipping::XMLRole::array);

  PriceTable table;
  table.prices.put(1, 10);
  lunvik::XMLShippingUnitMap<double, double> prices(table.prices);
  prices.put(2, 20);
  EXPECT_EQ(table.prices.entries().size(), 1u);
  EXPECT_EQ(prices.xmlRole(), Shipping::XMLRole::map);
  EXPECT_EQ(prices.tagName(), "priceList");
  prices = table.prices;
  EXPECT_EQ(prices.entries(), table.prices.entries());
  EXPECT_EQ(prices.xmlRole(), Shipping::XMLRole::map);
}

// A unit that records the order in which units are reset.
class Recorder : public lunvik::XMLShippingValueUnit<CadString> {
 public:
  Recorder(const char* tag, std::vector<std::string>* log)
      : XMLShippingValueUnit(tag, "set"), log_(log) {}
  void reset() override {
    log_->push_back(tagName().str());
    XMLShippingValueUnit::reset();
  }

 private:
  std::vector<std::string>* log_;
};

class Recorded : public lunvik::XMLShippingAssembly {
 public:
  std::vector<std::string> log;
  Recorder a{"a", &log}, b{"b", &log}, c{"c", &log};
  std::size_t count() const override { return 3; }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    Recorder* units[] = {&a, &b, &c};
    return index < 3 ? lunvik::shippingProxy(*units[index]) : nullptr;
  }
  const CadString& tagName() const override {
    static const CadString tag("recorded");
    return tag;
  }
};

TEST(XmlShipping, ClearResetsTheChildrenLastFirst) {
  Recorded r;
  r.clear();
  EXPECT_EQ(r.log, (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(r.a.value(), "");
}

TEST(XmlShipping, ProxiesForwardEveryOperation) {
  lunvik::XMLShippingValueUnit<double> unit("width", 2.5);
  auto proxy = lunvik::shippingProxy(static_cast<Shipping&>(unit));
  auto* forwarded = lunvik::xmlUnit(proxy.get());
  ASSERT_NE(forwarded, nullptr);
  forwarded->setPresent(false);
  EXPECT_FALSE(unit.isPresent());
  forwarded->setAttribute(true);
  EXPECT_TRUE(unit.isAttribute());
  EXPECT_EQ(forwarded->valueAddress(), &unit.value());
  const double value = 7;
  forwarded->setValue(&value);
  EXPECT_EQ(unit.value(), 7);
  ASSERT_TRUE(forwarded->fromText("0.5"));
  EXPECT_EQ(unit.value(), 0.5);
  CadString text;
  ASSERT_TRUE(forwarded->toText(text));
  EXPECT_EQ(text, "0.5");
  EXPECT_EQ(lunvik::xmlShipping(proxy.get())->tagName(), "width");
  proxy.reset();  // deleting the wrapper leaves the unit
  EXPECT_EQ(unit.value(), 0.5);

  Rack rack;
  auto list = lunvik::shippingProxy(static_cast<Shipping&>(rack.planks));
  auto* container = lunvik::shippingContainer(list.get());
  ASSERT_NE(container, nullptr);
  EXPECT_TRUE(container->isArray());
  EXPECT_NE(container->newChild("anything"), nullptr);
  EXPECT_EQ(rack.planks.items().size(), 1u);
  EXPECT_EQ(container->count(), 1u);
  EXPECT_NE(container->childByName("plank"), nullptr);
  container->reset();
  EXPECT_TRUE(rack.planks.items().empty());
}

TEST(XmlShipping, PairLooksInTheKeyThenTheValue) {
  auto makePair = [](std::unique_ptr<Shipping> value) {
    return XMLShippingPair("entry", std::make_unique<XMLShippingUnitKey<double>>("keyLength", 2),
                           std::move(value));
  };
  XMLShippingPair withUnit =
      makePair(std::make_unique<lunvik::XMLShippingValueUnit<short>>("layer"));
  EXPECT_EQ(withUnit.count(), 2u);
  EXPECT_NE(withUnit.childByName("keyLength"), nullptr);
  EXPECT_NE(withUnit.childByName("layer"), nullptr);
  EXPECT_EQ(withUnit.childByName("other"), nullptr);

  XMLShippingPair withRecord = makePair(std::make_unique<Plank>());
  EXPECT_EQ(withRecord.count(), 6u);  // the key and the plank's five fields
  auto count = withRecord.childByName("count");
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(lunvik::xmlShipping(count.get())->tagName(), "count");

  auto planks = std::make_unique<lunvik::XMLShippingList<Plank>>("plankList");
  auto* list = planks.get();
  XMLShippingPair withList = makePair(std::move(planks));
  EXPECT_NE(withList.childByName("plank"), nullptr);  // a list answers a new element
  EXPECT_EQ(list->items().size(), 1u);

  // Read back from the side-by-side form.
  XMLShippingPair read = makePair(std::make_unique<Plank>());
  const std::string text =
      "<entry><keyLength>4</keyLength><name>Sill</name><count>3</count></entry>";
  ASSERT_TRUE(lunvik::XMLReader().read(read, text.data(), text.size()));
  EXPECT_EQ(static_cast<XMLShippingUnitKey<double>*>(read.key())->value(), 4);
  EXPECT_EQ(static_cast<Plank*>(read.value())->name, "Sill");
  EXPECT_EQ(static_cast<Plank*>(read.value())->pieces, 3);
}

// A unit that combines the two bases itself instead of deriving from XMLShippingUnit.
class OwnUnit : public lunvik::ShippingUnit, public lunvik::XMLShipping {
 public:
  CadString text = "own";
  void reset() override { text.clear(); }
  bool toText(CadString& out) override {
    out = text;
    return true;
  }
  bool fromText(const CadString& in) override {
    text = in;
    return true;
  }
  void* valueAddress() override { return &text; }
  void setValue(const void* value) override { text = *static_cast<const CadString*>(value); }
  const CadString& tagName() const override {
    static const CadString tag("own");
    return tag;
  }
};

TEST(XmlShipping, ShippingsOutsideTheXmlBasesAreStillWrittenAndRead) {
  OwnUnit unit;
  EXPECT_EQ(unit.xmlRole(), Shipping::XMLRole::none);
  EXPECT_EQ(written(unit), "<own>own</own>\n");
  OwnUnit copy;
  const std::string text = "<own>a &amp; b</own>";
  ASSERT_TRUE(lunvik::XMLReader().read(copy, text.data(), text.size()));
  EXPECT_EQ(copy.text, "a & b");
}

}  // namespace
}  // namespace storage_test
