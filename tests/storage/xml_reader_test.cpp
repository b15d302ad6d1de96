#include "storage/xml_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "storage/data_buffer.h"
#include "storage/storage_host.h"
#include "storage/test_records.h"
#include "storage/xml_writer.h"

namespace storage_test {
namespace {

using lunvik::DataBufferIn;
using lunvik::DataBufferOut;
using lunvik::XMLReader;
using lunvik::XMLWriter;

bool readText(Shipping& root, const std::string& text) {
  return XMLReader().read(root, text.data(), text.size());
}

std::string written(Shipping& root, bool declaration = false) {
  DataBufferOut out;
  EXPECT_TRUE(XMLWriter().write(root, out, declaration));
  return out.takeBytes();
}

std::string plankWith(const std::string& field, const std::string& text) {
  return "<plank><" + field + ">" + text + "</" + field + "></plank>";
}

void expectSamePlank(const Plank& a, const Plank& b) {
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.pieces, b.pieces);
  EXPECT_EQ(a.length, b.length);
  EXPECT_EQ(a.graded, b.graded);
  EXPECT_EQ(a.finish, b.finish);
}

TEST(XmlReader, PlainRecordsRoundTrip) {
  struct Case {
    const char* name;
    short count;
    double length;
    bool graded;
    Finish finish;
  } cases[] = {
      {"Softwood", 1, 2.5, true, Finish::sanded},
      {"a<b & 'c' \"d\" >", -1, -0.125, false, Finish::sawn},
      {"", -32768, 1e-05, true, Finish::planed},
      {"tab\tand\nline", 32767, 123456, false, Finish::sanded},
      {"&amp; stays text", 0, 1.5e+100, true, Finish::sawn},
  };
  for (const Case& c : cases) {
    Plank original;
    original.name = c.name;
    original.pieces = c.count;
    original.length = c.length;
    original.graded = c.graded;
    original.finish = c.finish;
    for (bool declaration : {false, true}) {
      Plank copy;
      ASSERT_TRUE(readText(copy, written(original, declaration))) << c.name;
      expectSamePlank(copy, original);
      EXPECT_EQ(copy.completions, 1);
    }
  }
}

TEST(XmlReader, RecordHoldingAListRoundTrips) {
  Rack original;
  original.label = "Barn";
  for (int i = 0; i < 3; ++i) {
    auto p = std::make_unique<Plank>();
    p->name = CadString(("p" + std::to_string(i)).c_str());
    p->pieces = short(i * 7 - 5);
    p->length = i * 0.75;
    p->graded = i % 2 == 1;
    p->finish = Finish(i);
    original.planks.items().push_back(std::move(p));
  }
  Rack copy;
  ASSERT_TRUE(readText(copy, written(original, true)));
  EXPECT_EQ(copy.label, "Barn");
  ASSERT_EQ(copy.planks.items().size(), 3u);
  for (std::size_t i = 0; i < 3; ++i)
    expectSamePlank(copy.planks.items()[i], original.planks.items()[i]);

  Rack empty;
  Rack emptyCopy;
  emptyCopy.planks.items().push_back(std::make_unique<Plank>());
  ASSERT_TRUE(readText(emptyCopy, written(empty)));
  EXPECT_TRUE(emptyCopy.planks.items().empty());
}

TEST(XmlReader, RecordHoldingAMapRoundTrips) {
  PriceTable original;
  original.supplier = "Mill";
  original.prices.put(4.8, 96);
  original.prices.put(0.6, 7.25);
  original.prices.put(2.4, 40);
  PriceTable copy;
  copy.prices.put(9, 9);
  ASSERT_TRUE(readText(copy, written(original)));
  EXPECT_EQ(copy.supplier, "Mill");
  EXPECT_EQ(copy.prices.entries(), original.prices.entries());
}

TEST(XmlReader, MapPairsReadInAnyOrderOfEntriesAndFields) {
  PriceTable table;
  ASSERT_TRUE(readText(table,
                       "<priceTable><priceList>"
                       "<price><cost>3</cost><keyLength>3</keyLength></price>"
                       "<price><keyLength>1</keyLength><cost>1</cost></price>"
                       "<price><keyLength>3</keyLength><cost>33</cost></price>"
                       "</priceList></priceTable>"));
  const auto& entries = table.prices.entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries.begin()->first, 1);
  EXPECT_EQ(entries.at(3), 33);  // a repeated key takes the later value
}

TEST(XmlReader, MoreThanSixSignificantDigitsDoNotReadBackExactly) {
  Plank p;
  p.length = 1500007;
  const std::string text = written(p);
  EXPECT_NE(text.find("<length>1.50001e+06</length>"), std::string::npos);
  Plank copy;
  ASSERT_TRUE(readText(copy, text));
  EXPECT_EQ(copy.length, 1500010);
}

TEST(XmlReader, BooleanWords) {
  struct Case {
    const char* text;
    bool reads;
    bool value;
  } cases[] = {
      {"true", true, true},    {"1", true, true},       {"false", true, false},
      {"0", true, false},      {"TRUE", true, true},  // letter case is ignored by the comparison
      {"yes", false, false},   {"", false, false},      {"2", false, false},
      {" true", false, false}, {"truex", false, false},
  };
  for (const Case& c : cases) {
    Plank p;
    p.graded = !c.value;
    EXPECT_EQ(readText(p, plankWith("graded", c.text)), c.reads) << c.text;
    if (c.reads) {
      EXPECT_EQ(p.graded, c.value) << c.text;
    }
  }
}

TEST(XmlReader, NumberTexts) {
  struct DoubleCase {
    const char* text;
    bool reads;
    double value;
  } doubles[] = {
      {"12.5", true, 12.5},
      {"  7", true, 7},
      {"1e3", true, 1000},
      {"-0.25", true, -0.25},
      {"+.5", true, 0.5},
      {"3.5kg", true, 3.5},
      {"1.50001e+06", true, 1500010},
      {"", true, 0},
      {"1e", true, 1},
      {"1e-999", true, 0},
      // No number, or none a double holds: the read fails instead of passing a made-up value.
      {"abc", false, 0},
      {"inf", false, 0},
      {"-inf", false, 0},
      {"nan", false, 0},
      {"NaN", false, 0},
      {"-", false, 0},
      {"1e999", false, 0},
      {"-1e999", false, 0},
  };
  for (const DoubleCase& c : doubles) {
    Plank p;
    p.length = 42;
    EXPECT_EQ(readText(p, plankWith("length", c.text)), c.reads) << c.text;
    if (c.reads) {
      EXPECT_EQ(p.length, c.value) << c.text;
    }
  }
  struct ShortCase {
    const char* text;
    short value;
  } shorts[] = {
      {"65535", -1},      {"-5", -5},    {"32768", -32768},
      {"-32768", -32768}, {"12abc", 12}, {"70000", 0},
      {"-40000", 0},      {"x", 0},      {"99999999999999999999999", 0},
  };
  for (const ShortCase& c : shorts) {
    Plank p;
    p.pieces = 42;
    ASSERT_TRUE(readText(p, plankWith("count", c.text))) << c.text;
    EXPECT_EQ(p.pieces, c.value) << c.text;
  }
}

TEST(XmlReader, EnumerationNames) {
  struct Case {
    const char* text;
    Finish value;
  } cases[] = {
      {"sanded", Finish::sanded}, {"sawn", Finish::sawn},    {"SAWN", Finish::sawn},
      {"0", Finish::sawn},        {"2", Finish::sanded},     {"3", Finish::planed},
      {"-1", Finish::planed},     {"bogus", Finish::planed}, {"", Finish::planed},
  };
  for (const Case& c : cases) {
    Plank p;
    p.finish = Finish::sawn;
    ASSERT_TRUE(readText(p, plankWith("finish", c.text))) << c.text;
    EXPECT_EQ(p.finish, c.value) << c.text;
  }
}

TEST(XmlReader, UnknownElementsAreSkippedWithEverythingInside) {
  Plank p;
  ASSERT_TRUE(readText(p,
                       "<plank>\n"
                       "\t<name>Kept</name>\n"
                       "\t<extra a=\"1\"><count>9</count><deeper><count>8</count><x/></deeper>"
                       "<!-- </extra> --><![CDATA[</extra>]]></extra>\n"
                       "\t<count>4</count>\n"
                       "</plank>\n"));
  EXPECT_EQ(p.name, "Kept");
  EXPECT_EQ(p.pieces, 4);
}

TEST(XmlReader, EndTagOfAnotherNameFailsTheRead) {
  const char* texts[] = {
      "<plank><name>a</name></plonk>",
      "<plank><name>a</nam></plank>",
      "<rack><plankList><plank></plankList></plank></rack>",
  };
  for (const char* text : texts) {
    Rack rack;
    Plank plank;
    Shipping& root =
        std::string(text).rfind("<rack>", 0) == 0 ? static_cast<Shipping&>(rack) : plank;
    EXPECT_FALSE(readText(root, text)) << text;
  }
}

TEST(XmlReader, MalformedTextFailsWithoutHarm) {
  const char* texts[] = {
      "<rack>",
      "<rack><label>x</label>",
      "</rack>",
      "<rack><!-- never closed </rack>",
      "<rack><![CDATA[ never closed </rack>",
      "<rack><? never closed",
      "<rack><unknown><a></a>",
      "<",
      "<>",
      "<rack",
      "<rack><label x=\"1>x</label></rack>",
      "<rack><label x=1>x</label></rack>",
      "<rack><label x>x</label></rack>",
      "<rack><label =\"1\">x</label></rack>",
      "<!DOCTYPE rack [ <!ENTITY a \"b\">",
      "<rack></ >",
  };
  for (const char* text : texts) {
    Rack rack;
    EXPECT_FALSE(readText(rack, text)) << text;
  }
}

TEST(XmlReader, TextOutsideElementsAndEmptyInputRead) {
  const char* texts[] = {"", "   \n", "<?xml version=\"1.0\"?>\n<rack/>\ntrailing words",
                         "<!DOCTYPE rack [ <!ELEMENT rack ANY> ]><rack></rack>"};
  for (const char* text : texts) {
    Rack rack;
    EXPECT_TRUE(readText(rack, text)) << text;
  }
}

TEST(XmlReader, CommentsInstructionsCharacterDataAndEntities) {
  struct Case {
    const char* content;
    const char* name;
  } cases[] = {
      {"&lt;&amp;&gt;&apos;&quot;", "<&>'\""},
      {"&amp;lt;", "&lt;"},
      {"a&nbsp;b &#65; & c", "a&nbsp;b &#65; & c"},
      {"<![CDATA[a<b&amp;]]>", "a<b&amp;"},
      {"x<![CDATA[]]>y", "xy"},
      {"ab<!-- <name>no</name> -- -->cd", "abcd"},
      {"ab<?pi <x> ?>cd", "abcd"},
      {"a<ignored>b</ignored>c", "ac"},
      {"", ""},
  };
  for (const Case& c : cases) {
    Plank p;
    ASSERT_TRUE(readText(p, std::string("<plank><name>") + c.content + "</name></plank>"))
        << c.content;
    EXPECT_EQ(p.name, c.name) << c.content;
  }
}

TEST(XmlReader, AttributesReadLikeChildElements) {
  Plank p;
  ASSERT_TRUE(
      readText(p,
               "<plank name=\"Post &amp; beam\" count = \"3\" colour=\"red\" finish=\"sanded\">"
               "<length>2</length></plank>"));
  EXPECT_EQ(p.name, "Post & beam");
  EXPECT_EQ(p.pieces, 3);
  EXPECT_EQ(p.length, 2);
  EXPECT_EQ(p.finish, Finish::sanded);

  MarkedPlank marked;
  marked.name = "Tie > beam";
  marked.pieces = -7;
  MarkedPlank copy;
  ASSERT_TRUE(readText(copy, written(marked)));
  EXPECT_EQ(copy.name, "Tie > beam");
  EXPECT_EQ(copy.pieces, -7);

  Plank bad;
  EXPECT_FALSE(readText(bad, "<plank graded=\"maybe\"/>"));
}

TEST(XmlReader, ContainersAreResetEachTimeTheirElementOccurs) {
  Rack rack;
  rack.label = "old";
  for (int i = 0; i < 3; ++i) rack.planks.items().push_back(std::make_unique<Plank>());
  ASSERT_TRUE(
      readText(rack,
               "<rack><plankList><plank><name>a</name></plank></plankList>"
               "<plankList><plank><name>b</name></plank><plank><count>5</count></plank></plankList>"
               "</rack>"));
  EXPECT_EQ(rack.label, "");  // the rack itself was reset when its element began
  ASSERT_EQ(rack.planks.items().size(), 2u);
  EXPECT_EQ(rack.planks.items()[0].name, "b");
  // A new element is reset before it is read: fields its element leaves out have their
  // reset state, not the constructor's default.
  EXPECT_EQ(rack.planks.items()[1].name, "");
  EXPECT_EQ(rack.planks.items()[1].finish, Finish::sawn);
  EXPECT_EQ(rack.planks.items()[1].pieces, 5);
}

TEST(XmlReader, CompleteIsCalledAtEachEndTagAndCanFailTheRead) {
  Rack rack;
  ASSERT_TRUE(readText(
      rack,
      "<rack><plankList><plank/><plank></plank><plank><name>x</name></plank></plankList></rack>"));
  ASSERT_EQ(rack.planks.items().size(), 3u);
  for (const auto& p : rack.planks.items()) EXPECT_EQ(p->completions, 1);

  class Refusing : public Plank {
   public:
    bool complete() override { return false; }
  } refusing;
  EXPECT_FALSE(readText(refusing, "<plank><name>x</name></plank>"));
  EXPECT_FALSE(readText(refusing, "<plank/>"));
}

TEST(XmlReader, TopLevelElementsAreMatchedToTheRootsChildren) {
  // Module data: several elements one after another and no enclosing element.
  Rack rack;
  ASSERT_TRUE(readText(rack,
                       "<label>Shed</label>\n<unknownPackage><a><b/></a></unknownPackage>\n"
                       "<plankList><plank><name>p</name></plank></plankList>\n"));
  EXPECT_EQ(rack.label, "Shed");
  ASSERT_EQ(rack.planks.items().size(), 1u);
  EXPECT_EQ(rack.planks.items()[0].name, "p");

  // A list read at the top level from its own document.
  lunvik::XMLShippingList<Plank> list("plankList");
  ASSERT_TRUE(readText(list, "<plankList><plank/><plank/></plankList>"));
  EXPECT_EQ(list.items().size(), 2u);
}

TEST(XmlReader, NestingIsBoundedAndSkippedElementsNestWithoutLimit) {
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<nest>";
    for (int i = 0; i < depth; ++i) text += "</nest>";
    return text;
  };
  Nest within;
  ASSERT_TRUE(readText(within, nested(XMLReader::kMaxDepth)));
  EXPECT_EQ(within.depth(), XMLReader::kMaxDepth);
  Nest beyond;
  EXPECT_FALSE(readText(beyond, nested(XMLReader::kMaxDepth + 1)));
  Nest far;
  EXPECT_FALSE(readText(far, nested(100000)));

  std::string skipped = "<rack>";
  for (int i = 0; i < 100000; ++i) skipped += "<x>";
  for (int i = 0; i < 100000; ++i) skipped += "</x>";
  skipped += "<label>after</label></rack>";
  Rack rack;
  ASSERT_TRUE(readText(rack, skipped));
  EXPECT_EQ(rack.label, "after");
}

TEST(XmlReader, ReadsFromAStream) {
  Rack original;
  original.label = "streamed";
  const std::string text = written(original, true);
  DataBufferIn in(text);
  Rack copy;
  ASSERT_TRUE(XMLReader().read(copy, in));
  EXPECT_EQ(copy.label, "streamed");
}

TEST(XmlReader, ReadsADocumentWrittenElsewhere) {
  std::ifstream file(TRESTLAR_FIXTURES "/storage/foreign_rack.xml", std::ios::binary);
  ASSERT_TRUE(file);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  Rack rack;
  ASSERT_TRUE(readText(rack, text));
  EXPECT_EQ(rack.label, "North & south bay");
  ASSERT_EQ(rack.planks.items().size(), 3u);
  const Plank& tie = rack.planks.items()[0];
  EXPECT_EQ(tie.name, "Tie beam");
  EXPECT_EQ(tie.pieces, 2);
  EXPECT_EQ(tie.length, 5.4);
  EXPECT_TRUE(tie.graded);
  EXPECT_EQ(tie.finish, Finish::sanded);
  EXPECT_EQ(rack.planks.items()[1].name, "");  // an empty element: the reset state
  const Plank& brace = rack.planks.items()[2];
  EXPECT_EQ(brace.name, "Brace <45>");
  EXPECT_EQ(brace.pieces, -1);
  EXPECT_EQ(brace.length, -0.3);
}

TEST(XmlReader, TagsAndWordsCompareThroughTheHost) {
  {
    StorageHost host;
    Plank p;
    ASSERT_TRUE(readText(p, "<PLANK><NAME>a</NAME><Graded>True</Graded></PLANK>"));
    EXPECT_EQ(p.name, "a");
    EXPECT_TRUE(p.graded);
    EXPECT_GT(host.log().compareCalls, 0);
  }
  {
    StorageHost host;
    host.log().caseSensitive = true;
    Plank p;
    ASSERT_TRUE(readText(p, "<PLANK><name>a</name></PLANK>"));  // names nothing: skipped
    EXPECT_EQ(p.name, "Untitled");
    EXPECT_FALSE(readText(p, "<plank><graded>True</graded></plank>"));
    // Texts the writer wrote read back whatever the comparison does with letter case.
    Plank original;
    original.graded = true;
    original.finish = Finish::sanded;
    Plank copy;
    ASSERT_TRUE(readText(copy, written(original)));
    expectSamePlank(copy, original);
  }
}

}  // namespace
}  // namespace storage_test
