#include "storage/xml_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <sstream>
#include <string>

#include "storage/data_buffer.h"
#include "storage/shipping_text.h"
#include "storage/test_records.h"

namespace storage_test {
namespace {

using lunvik::DataBufferOut;
using lunvik::XMLWriter;

std::string written(Shipping& root, bool declaration = false) {
  DataBufferOut out;
  EXPECT_TRUE(XMLWriter().write(root, out, declaration));
  return out.takeBytes();
}

std::unique_ptr<Plank> plank(const char* name, short count, double length, bool graded,
                             Finish finish) {
  auto p = std::make_unique<Plank>();
  p->name = name;
  p->pieces = count;
  p->length = length;
  p->graded = graded;
  p->finish = finish;
  return p;
}

TEST(XmlWriter, WritesOneTagPerLineIndentedByTabs) {
  Rack rack;
  rack.label = "Oak store";
  rack.planks.items().push_back(plank("Beam", 3, 2.5, true, Finish::sanded));
  rack.planks.items().push_back(plank("", 0, 0.0, false, Finish::sawn));

  EXPECT_EQ(written(rack, true),
            "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n"
            "<rack>\n"
            "\t<label>Oak store</label>\n"
            "\t<plankList>\n"
            "\t\t<plank>\n"
            "\t\t\t<name>Beam</name>\n"
            "\t\t\t<count>3</count>\n"
            "\t\t\t<length>2.5</length>\n"
            "\t\t\t<graded>true</graded>\n"
            "\t\t\t<finish>sanded</finish>\n"
            "\t\t</plank>\n"
            "\t\t<plank>\n"
            "\t\t\t<name></name>\n"
            "\t\t\t<count>0</count>\n"
            "\t\t\t<length>0</length>\n"
            "\t\t\t<graded>false</graded>\n"
            "\t\t\t<finish>sawn</finish>\n"
            "\t\t</plank>\n"
            "\t</plankList>\n"
            "</rack>\n");
}

TEST(XmlWriter, EmptyListIsOneEmptyElementTagAndModuleTextHasNoDeclaration) {
  Rack rack;
  EXPECT_EQ(written(rack), "<rack>\n\t<label></label>\n\t<plankList/>\n</rack>\n");

  Nest nest;
  EXPECT_EQ(written(nest), "<nest/>\n");
}

TEST(XmlWriter, ElementsFollowEachOtherWhenWrittenToOneStream) {
  Plank a;
  Rack b;
  DataBufferOut out;
  XMLWriter writer;
  ASSERT_TRUE(writer.write(b, out));
  ASSERT_TRUE(writer.write(a, out));
  EXPECT_EQ(out.bytes(),
            "<rack>\n\t<label></label>\n\t<plankList/>\n</rack>\n"
            "<plank>\n\t<name>Untitled</name>\n\t<count>0</count>\n\t<length>0</length>\n"
            "\t<graded>false</graded>\n\t<finish>planed</finish>\n</plank>\n");
}

TEST(XmlWriter, DoublesTakeTheStandardStreamsDefaultForm) {
  const double values[] = {0.1,
                           1.5,
                           2,
                           400,
                           0.0,
                           -0.0,
                           1500007,
                           1234567,
                           123456,
                           999999.5,
                           0.0001,
                           0.00001,
                           1e-300,
                           1e100,
                           -2.5,
                           3.14159265358979,
                           1.0 / 3,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::infinity(),
                           6.283185307179586,
                           0.025};
  for (double v : values) {
    std::ostringstream stream;
    stream << v;
    EXPECT_EQ(lunvik::formatDouble(v).str(), stream.str()) << v;
  }
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {0.1, "0.1"},       {1.5, "1.5"},      {2, "2"}, {400, "400"}, {1500007, "1.50001e+06"},
      {123456, "123456"}, {0.00001, "1e-05"}};
  for (const Case& c : cases) EXPECT_EQ(lunvik::formatDouble(c.value).str(), c.text);
}

TEST(XmlWriter, UnitTextForms) {
  struct Case {
    short count;
    bool graded;
    Finish finish;
    const char* countText;
    const char* gradedText;
    const char* finishText;
    Finish stored;  // writing clamps the stored value into the named range
  } cases[] = {
      {-1, true, Finish::sawn, "65535", "true", "sawn", Finish::sawn},
      {-32768, false, Finish::planed, "32768", "false", "planed", Finish::planed},
      {32767, false, Finish::sanded, "32767", "false", "sanded", Finish::sanded},
      {0, false, Finish(7), "0", "false", "sanded", Finish::sanded},
      {0, false, Finish(-3), "0", "false", "sawn", Finish::sawn},
  };
  for (const Case& c : cases) {
    Plank p;
    p.pieces = c.count;
    p.graded = c.graded;
    p.finish = c.finish;
    const std::string text = written(p);
    EXPECT_NE(text.find(std::string("<count>") + c.countText + "</count>"), std::string::npos)
        << text;
    EXPECT_NE(text.find(std::string("<graded>") + c.gradedText + "</graded>"), std::string::npos)
        << text;
    EXPECT_NE(text.find(std::string("<finish>") + c.finishText + "</finish>"), std::string::npos)
        << text;
    EXPECT_EQ(p.finish, c.stored);
  }
}

TEST(XmlWriter, EscapesAmpersandFirstThenTheOtherFour) {
  struct Case {
    const char* text;
    const char* escaped;
  } cases[] = {
      {"a&b<c>'d\"e", "a&amp;b&lt;c&gt;&apos;d&quot;e"},
      {"&lt;", "&amp;lt;"},
      {"<<&&", "&lt;&lt;&amp;&amp;"},
      {"plain text", "plain text"},
  };
  for (const Case& c : cases) {
    Plank p;
    p.name = c.text;
    EXPECT_NE(written(p).find(std::string("<name>") + c.escaped + "</name>"), std::string::npos)
        << c.text;
  }
}

TEST(XmlWriter, AttributeUnitsGoIntoTheStartTag) {
  MarkedPlank p;
  p.name = "Post \"A\"";
  p.pieces = 2;
  EXPECT_EQ(written(p),
            "<plank name=\"Post &quot;A&quot;\" count=\"2\">\n"
            "\t<length>0</length>\n"
            "\t<graded>false</graded>\n"
            "\t<finish>planed</finish>\n"
            "</plank>\n");
}

// A record whose every child is an attribute.
class Marker : public lunvik::XMLShippingAssembly {
 public:
  short id = 3;
  CadString label = "a<b";
  std::size_t count() const override { return 2; }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    if (index == 0) return std::make_unique<lunvik::XMLShippingProxyUnit<short>>(&id, "id", true);
    if (index == 1)
      return std::make_unique<lunvik::XMLShippingProxyUnit<CadString>>(&label, "label", true);
    return nullptr;
  }
  const CadString& tagName() const override {
    static const CadString tag("marker");
    return tag;
  }
};

TEST(XmlWriter, RecordOfAttributesOnlyIsAnEmptyElementTag) {
  Marker m;
  EXPECT_EQ(written(m), "<marker id=\"3\" label=\"a&lt;b\"/>\n");
}

TEST(XmlWriter, AbsentElementsAreLeftOut) {
  Rack rack;
  rack.planks.items().push_back(plank("first", 1, 1, false, Finish::sawn));
  rack.planks.items().push_back(plank("second", 2, 2, false, Finish::sawn));
  rack.planks.items()[0].setPresent(false);
  std::string text = written(rack);
  EXPECT_EQ(text.find("first"), std::string::npos);
  EXPECT_NE(text.find("<name>second</name>"), std::string::npos);

  rack.planks.items()[1].setPresent(false);
  EXPECT_EQ(written(rack), "<rack>\n\t<label></label>\n\t<plankList/>\n</rack>\n");
}

TEST(XmlWriter, MapEntriesInAscendingKeyOrderWithKeyAndValueSideBySide) {
  PriceTable table;
  table.supplier = "Mill";
  table.prices.put(3.0, 30);
  table.prices.put(1.0, 12.5);
  table.prices.put(2.5, 20);
  EXPECT_EQ(written(table),
            "<priceTable>\n"
            "\t<supplier>Mill</supplier>\n"
            "\t<priceList>\n"
            "\t\t<price>\n\t\t\t<keyLength>1</keyLength>\n\t\t\t<cost>12.5</cost>\n\t\t</price>\n"
            "\t\t<price>\n\t\t\t<keyLength>2.5</keyLength>\n\t\t\t<cost>20</cost>\n\t\t</price>\n"
            "\t\t<price>\n\t\t\t<keyLength>3</keyLength>\n\t\t\t<cost>30</cost>\n\t\t</price>\n"
            "\t</priceList>\n"
            "</priceTable>\n");
}

TEST(XmlWriter, PairOfKeyAndRecordWritesTheRecordsFieldsBesideTheKey) {
  auto value = plank("Sill", 1, 4, true, Finish::planed);
  lunvik::XMLShippingPair pair(
      "entry", std::make_unique<lunvik::XMLShippingUnitKey<double>>("keyLength", 0.5),
      std::move(value));
  EXPECT_EQ(written(pair),
            "<entry>\n\t<keyLength>0.5</keyLength>\n\t<name>Sill</name>\n\t<count>1</count>\n"
            "\t<length>4</length>\n\t<graded>true</graded>\n\t<finish>planed</finish>\n</entry>\n");
}

// A stream that accepts a number of bytes and then reports an error.
class FailingStream : public lunvik::CadIO {
 public:
  explicit FailingStream(std::size_t capacity) : capacity_(capacity) {}
  bool write(const void*, std::size_t size) override {
    if (size > capacity_) return false;
    capacity_ -= size;
    return true;
  }

 private:
  std::size_t capacity_;
};

TEST(XmlWriter, FailsWhenTheStreamReportsAnError) {
  Rack small;
  FailingStream none(0);
  EXPECT_FALSE(XMLWriter().write(small, none));

  // Large enough to be handed to the stream in several pieces before the end.
  Rack large;
  for (int i = 0; i < 5000; ++i)
    large.planks.items().push_back(plank("plank", short(i), i, true, Finish::sawn));
  FailingStream some(100000);
  EXPECT_FALSE(XMLWriter().write(large, some));
  FailingStream enough(100000000);
  EXPECT_TRUE(XMLWriter().write(large, enough));
}

TEST(XmlWriter, RefusesTreesNestedBeyondTheReadersBound) {
  auto within = Nest::chain(XMLWriter::kMaxDepth);
  DataBufferOut out;
  EXPECT_TRUE(XMLWriter().write(*within, out));
  auto beyond = Nest::chain(XMLWriter::kMaxDepth + 1);
  DataBufferOut out2;
  EXPECT_FALSE(XMLWriter().write(*beyond, out2));
}

}  // namespace
}  // namespace storage_test
