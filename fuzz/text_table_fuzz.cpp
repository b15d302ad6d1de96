// Fuzzes the text-table parser. The first byte picks the separators and whether there is a
// header; the rest is the text. The table must match a plain split of the whole text (so the
// blocks the parser takes the text in never show), and, for separators that cannot run into
// each other, writing the table and parsing the result must give the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "storage/data_buffer.h"
#include "storage/text_database.h"

namespace {

using Row = std::vector<std::string>;

struct Separators {
  const char* record;
  const char* field;  // empty: the parser chooses a tab or a comma
  bool roundTrips;    // no separator can be formed by a field beside the other
};

const Separators kSeparators[] = {
    {"\r\n", "\t", true}, {"\n", ",", true},  {"\n", "", false},   {"\r\n", "", false},
    {";", ",", true},     {"ab", "a", false}, {"\t", "\t", false}, {"--", "-", false},
};

std::vector<std::string> split(const std::string& text, const std::string& separator,
                               bool withRemainder) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string::npos;
       start = at + separator.size())
    pieces.push_back(text.substr(start, at - start));
  if (withRemainder && start < text.size()) pieces.push_back(text.substr(start));
  return pieces;
}

// The table as the whole text split at once.
std::vector<Row> reference(const std::string& text, const std::string& recordSeparator,
                           std::string fieldSeparator) {
  if (fieldSeparator.empty()) fieldSeparator = text.find('\t') != std::string::npos ? "\t" : ",";
  std::vector<Row> rows;
  for (const std::string& record : split(text, recordSeparator, true))
    rows.push_back(split(record, fieldSeparator, true));
  return rows;
}

Row fieldsOf(const lunvik::TextRecord& record) {
  Row row;
  for (const auto& field : record.fields()) row.push_back(field->text().str());
  return row;
}

// The header (when there is one) and the records.
std::vector<Row> rowsOf(const lunvik::TextDatabase& table) {
  std::vector<Row> rows;
  if (table.header()) rows.push_back(fieldsOf(*table.header()));
  for (const auto& record : table.records()) rows.push_back(fieldsOf(*record));
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Separators& separators =
      kSeparators[data[0] % (sizeof kSeparators / sizeof kSeparators[0])];
  const bool header = data[0] & 0x80;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  lunvik::TextDatabase table;
  if (!table.parse(text.data(), text.size(), header, separators.record, separators.field))
    std::abort();
  if (rowsOf(table) != reference(text, separators.record, separators.field)) std::abort();
  if (header && !table.count() && !table.header() && !text.empty()) std::abort();

  // Every field reader takes any text.
  for (const auto& record : table.records()) {
    for (const auto& field : record->fields()) {
      int16_t s;
      uint32_t u;
      double d;
      field->toShort(s);
      field->toUnsigned(u);
      field->toDouble(d);
    }
  }
  if (const lunvik::TextRecord* last = table.count() ? table.record(table.count() - 1) : nullptr)
    if (last->count() && table.find(last->field(0)->text()) < 0) std::abort();

  if (separators.roundTrips) {
    const std::string field = *separators.field ? separators.field : "\t";
    lunvik::DataBufferOut out;
    if (!table.write(out, separators.record, field.c_str())) std::abort();
    lunvik::DataBufferIn in(out.bytes());
    lunvik::TextDatabase copy;
    if (!copy.read(in, header, separators.record, field.c_str())) std::abort();
    if (rowsOf(copy) != rowsOf(table)) std::abort();
  }

  lunvik::TextRecord record;
  record.parse(lunvik::CadString(text), separators.field);
  return 0;
}
