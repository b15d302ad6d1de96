#include "storage/text_database.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/memory.h"
#include "storage/data_buffer.h"
#include "storage/storage_host.h"

namespace storage_test {
namespace {

using lunvik::CadString;
using lunvik::TextDatabase;
using lunvik::TextField;
using lunvik::TextRecord;

using Rows = std::vector<std::vector<std::string>>;

std::vector<std::string> fieldsOf(const TextRecord& record) {
  std::vector<std::string> fields;
  for (const auto& f : record.fields()) fields.push_back(f->text().str());
  return fields;
}

Rows rowsOf(const TextDatabase& table) {
  Rows rows;
  for (const auto& r : table.records()) rows.push_back(fieldsOf(*r));
  return rows;
}

bool parse(TextDatabase& table, const std::string& text, bool header, const char* recordSeparator,
           const char* fieldSeparator) {
  return table.parse(text.data(), text.size(), header, recordSeparator, fieldSeparator);
}

TEST(TextRecord, ParseTakesThePiecesBeforeEachSeparator) {
  struct Case {
    const char* text;
    const char* separator;
    std::vector<std::string> fields;
  } cases[] = {
      {"a,b,c", ",", {"a", "b"}}, {"a,b,c,", ",", {"a", "b", "c"}},
      {",,", ",", {"", ""}},      {"", ",", {}},
      {"no separator", ",", {}},  {"x\r\ny\r\n", "\r\n", {"x", "y"}},
  };
  for (const Case& c : cases) {
    TextRecord record;
    record.add("stale");
    ASSERT_TRUE(record.parse(c.text, c.separator)) << c.text;
    EXPECT_EQ(fieldsOf(record), c.fields) << c.text;
  }
  TextRecord record;
  record.add("kept");
  EXPECT_FALSE(record.parse("a,b", ""));
  EXPECT_EQ(fieldsOf(record), std::vector<std::string>{"kept"});
}

TEST(TextRecord, FormatCloneAndFieldForms) {
  TextRecord record;
  record.add("Tenon");
  record.add("").setDouble(1500007);
  record.add("").setInteger(-12);
  record.add("").setBoolean(true);
  EXPECT_EQ(record.format("\t", "\r\n"), "Tenon\t1.50001e+06\t-12\t1\t\r\n");
  auto copy = record.clone();
  record.field(0)->setText("changed");
  EXPECT_EQ(fieldsOf(*copy), (std::vector<std::string>{"Tenon", "1.50001e+06", "-12", "1"}));
  EXPECT_EQ(record.field(9), nullptr);

  struct Case {
    const char* text;
    bool isShort;
    int16_t shortValue;
    bool isUnsigned;
    uint32_t unsignedValue;
    bool isDouble;
    double doubleValue;
  } cases[] = {
      {"12", true, 12, true, 12, true, 12},
      {" -3", true, -3, false, 0, true, -3},
      {"40000", false, 0, true, 40000, true, 40000},
      {"4294967296", false, 0, false, 0, true, 4294967296.0},
      {"2.75m", true, 2, true, 2, true, 2.75},
      {"abc", false, 0, false, 0, false, 0},
      {"", false, 0, false, 0, false, 0},
  };
  for (const Case& c : cases) {
    TextField f{CadString(c.text)};
    int16_t s = 99;
    uint32_t u = 99;
    double d = 99;
    EXPECT_EQ(f.toShort(s), c.isShort) << c.text;
    EXPECT_EQ(s, c.isShort ? c.shortValue : 99) << c.text;
    EXPECT_EQ(f.toUnsigned(u), c.isUnsigned) << c.text;
    EXPECT_EQ(u, c.isUnsigned ? c.unsignedValue : 99u) << c.text;
    EXPECT_EQ(f.toDouble(d), c.isDouble) << c.text;
    EXPECT_EQ(d, c.isDouble ? c.doubleValue : 99) << c.text;
    EXPECT_EQ(f.length(), std::string(c.text).size());
  }
}

TEST(TextDatabase, ParsesRecordsAndChoosesTheFieldSeparator) {
  struct Case {
    const char* text;
    const char* recordSeparator;
    const char* fieldSeparator;
    Rows rows;
  } cases[] = {
      {"a,b,c\nd,e\n", "\n", "", {{"a", "b", "c"}, {"d", "e"}}},  // no tab: commas
      {"a,b\tc\nd\te\n", "\n", "", {{"a,b", "c"}, {"d", "e"}}},   // a tab anywhere: tabs
      {"x;y;\r\nz\r\n\r\nlast", "\r\n", ";", {{"x", "y"}, {"z"}, {}, {"last"}}},
      {"a\tb\t", "\n", "\t", {{"a", "b"}}},
      {"", "\n", "", {}},
      {"\n\n", "\n", "", {{}, {}}},
  };
  for (const Case& c : cases) {
    TextDatabase table;
    ASSERT_TRUE(parse(table, c.text, false, c.recordSeparator, c.fieldSeparator)) << c.text;
    EXPECT_EQ(rowsOf(table), c.rows) << c.text;
    EXPECT_EQ(table.header(), nullptr);
  }
}

TEST(TextDatabase, HeaderRecordNamesTheColumns) {
  TextDatabase table;
  ASSERT_TRUE(parse(table, "JOINTID\tJOINTDESC\tADDEDLENGTH\t\r\nTenon2\tover 8 inch\t0.1\t\r\n",
                    true, "\r\n", "\t"));
  ASSERT_NE(table.header(), nullptr);
  EXPECT_EQ(fieldsOf(*table.header()),
            (std::vector<std::string>{"JOINTID", "JOINTDESC", "ADDEDLENGTH"}));
  EXPECT_EQ(table.columnCount(), 3u);
  EXPECT_EQ(rowsOf(table), (Rows{{"Tenon2", "over 8 inch", "0.1"}}));
  auto blank = table.newRecord();
  EXPECT_EQ(fieldsOf(*blank), (std::vector<std::string>{"", "", ""}));

  TextDatabase none;
  EXPECT_EQ(none.columnCount(), 0u);
  EXPECT_EQ(none.newRecord()->count(), 0u);
}

TEST(TextDatabase, RecordAcrossABlockBoundaryReadsAsIfReadAtOnce) {
  const std::size_t block = TextDatabase::kBlockSize;
  // Each layout puts a different piece across the first boundary: a field, the field
  // separator, the record separator's two bytes, and a record longer than a whole block.
  struct Layout {
    std::size_t lead;       // bytes of the first record before its separator
    std::size_t longField;  // length of the second record's first field
  } layouts[] = {
      {block - 10, 20}, {block - 3, 5}, {block - 1, 4}, {block - 2, 4}, {100, 3 * block}};
  for (const Layout& layout : layouts) {
    const std::string first(layout.lead - 1, 'a');  // plus its tab
    const std::string longField(layout.longField, 'b');
    const std::string text = first + "\t\r\n" + longField + "\tend\t\r\nlast\t\r\n";
    TextDatabase table;
    ASSERT_TRUE(parse(table, text, false, "\r\n", "\t"));
    EXPECT_EQ(rowsOf(table), (Rows{{first}, {longField, "end"}, {"last"}})) << layout.lead;
  }
  // Every position of the boundary within a short record sequence.
  std::string base;
  Rows expected;
  for (int i = 0; i < 3000; ++i) {
    base += "r" + std::to_string(i) + "\tv\t\r\n";
    expected.push_back({"r" + std::to_string(i), "v"});
  }
  for (std::size_t pad = 0; pad < 12; ++pad) {
    std::string padded = std::string(pad, 'p') + "\t\r\n" + base;
    TextDatabase table;
    ASSERT_TRUE(parse(table, padded, true, "\r\n", "\t"));
    EXPECT_EQ(rowsOf(table), expected) << pad;
  }
}

TEST(TextDatabase, WritesHeaderThenRecordsEachFieldFollowedBySeparator) {
  TextDatabase table;
  auto header = std::make_unique<TextRecord>();
  header->add("NAME");
  header->add("COST");
  table.setHeader(std::move(header));
  for (const char* name : {"Softwood", "Green"}) {
    auto record = table.newRecord();
    record->field(0)->setText(name);
    record->field(1)->setInteger(400);
    table.add(std::move(record));
  }
  const char* expected = "NAME\tCOST\t\r\nSoftwood\t400\t\r\nGreen\t400\t\r\n";
  CadString text;
  ASSERT_TRUE(table.write(text, "\r\n", "\t"));
  EXPECT_EQ(text, expected);

  lunvik::DataBufferOut out;
  ASSERT_TRUE(table.write(out, "\r\n", "\t"));
  EXPECT_EQ(out.bytes(), expected);

  platform::GSHandle handle = nullptr;
  EXPECT_FALSE(table.write(handle, "\r\n", "\t"));  // no host memory
  EXPECT_EQ(handle, nullptr);
  StorageHost host;
  ASSERT_TRUE(table.write(handle, "\r\n", "\t"));
  lunvik::HandleOwner owner(handle);
  EXPECT_EQ(std::string(*handle, lunvik::handleSize(handle)), expected);

  // Read back from a stream: the same table.
  lunvik::DataBufferIn in(out.bytes());
  TextDatabase copy;
  ASSERT_TRUE(copy.read(in, true, "\r\n", ""));
  EXPECT_EQ(fieldsOf(*copy.header()), (std::vector<std::string>{"NAME", "COST"}));
  EXPECT_EQ(rowsOf(copy), rowsOf(table));
}

TEST(TextDatabase, FindListOperationsAndRefusedParses) {
  TextDatabase table;
  ASSERT_TRUE(parse(table, "a,1,\nb,2,\n,3,\nb,4,\n", false, "\n", ","));
  EXPECT_EQ(table.find("b"), 1);
  EXPECT_EQ(table.find(""), 2);
  EXPECT_EQ(table.find("B"), -1);
  EXPECT_EQ(table.find("z"), -1);

  auto extra = std::make_unique<TextRecord>();
  extra->add("first");
  table.insert(0, std::move(extra));
  EXPECT_EQ(table.find("b"), 2);
  table.remove(0);
  EXPECT_EQ(table.count(), 4u);

  // Refused: the table keeps what it had.
  EXPECT_FALSE(parse(table, "x,y\n", false, "", ","));
  EXPECT_FALSE(table.parse(nullptr, 5, false, "\n", ","));
  EXPECT_EQ(table.count(), 4u);

  class Broken : public lunvik::CadIO {
    bool read(void*, std::size_t, std::size_t& got) override {
      got = 0;
      return false;
    }
  } broken;
  EXPECT_FALSE(table.read(broken, false, "\n", ","));
  EXPECT_EQ(table.count(), 4u);
  table.clear();
  EXPECT_EQ(table.count(), 0u);
}

}  // namespace
}  // namespace storage_test
