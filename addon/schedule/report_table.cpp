#include "schedule/report_table.h"

#include <cstdio>
#include <memory>
#include <sstream>

#include "platform/host_table.h"
#include "runtime/host_interface.h"
#include "storage/cad_io.h"

namespace varnholt {

namespace {

void setHeadings(lunvik::TextDatabase& table, const std::vector<lunvik::CadString>& headings) {
  auto header = std::make_unique<lunvik::TextRecord>();
  for (const auto& heading : headings) header->add(heading);
  table.setHeader(std::move(header));
}

void appendLine(std::string& out, const lunvik::TextRecord& record) {
  bool first = true;
  for (const auto& field : record.fields()) {
    if (!first) out += '\t';
    out += field->text().str();
    first = false;
  }
  out += "\r\n";
}

}  // namespace

const std::vector<lunvik::CadString>& scheduleHeadings() {
  static const std::vector<lunvik::CadString> headings{
      "Description", "Width", "Depth",  "Length", "Actual Vol", "Cubic Vol",
      "Cons ID",     "Number", "Type", "Cost",   "Hours",      "Cost Inc Labour"};
  return headings;
}

const std::vector<lunvik::CadString>& cuttingListHeadings() {
  static const std::vector<lunvik::CadString> headings{"Description", "Type",     "Number",    "Width", "Depth",
                                                       "Length",      "Quantity", "Cubic Vol", "Hours"};
  return headings;
}

lunvik::CadString sizeText(double metres) {
  char buffer[64];
  if (auto convert = lunvik::host().operation(&platform::HostFunctionTable::DGDoubleToString)) {
    int32_t length = convert(metres, 6, buffer, int32_t(sizeof buffer));
    if (length >= 0 && std::size_t(length) < sizeof buffer) return lunvik::CadString(buffer);
    std::string big(std::size_t(length) + 1, '\0');
    convert(metres, 6, &big[0], int32_t(big.size()));
    big.resize(std::size_t(length));
    return big;
  }
  // Without the host's routine the same decimal form.
  std::string text(400, '\0');
  text.resize(std::size_t(std::snprintf(&text[0], text.size(), "%.6f", metres)));
  return text;
}

lunvik::CadString streamText(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

lunvik::CadString fieldText(const lunvik::CadString& text) {
  std::string out = text.str();
  for (char& c : out)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return out;
}

void fillScheduleTable(lunvik::TextDatabase& table, const std::vector<TimberData>& sorted,
                       const ScheduleCosting& costing, bool headings) {
  table.clear();
  if (headings) setHeadings(table, scheduleHeadings());
  for (const TimberData& data : sorted) {
    ScheduleRow row = costing.scheduleRow(data);
    auto record = std::make_unique<lunvik::TextRecord>();
    record->add(fieldText(row.description));
    record->add(sizeText(row.width));
    record->add(sizeText(row.depth));
    record->add(sizeText(row.length));
    record->add(streamText(row.actualVolume));
    record->add(streamText(row.cubicVolume));
    record->add(fieldText(row.consId));
    record->add(fieldText(row.number));
    record->add(fieldText(row.type));
    record->add(streamText(row.cost));
    record->add(streamText(row.hours));
    record->add(streamText(row.costIncLabour));
    table.add(std::move(record));
  }
}

void fillCuttingTable(lunvik::TextDatabase& table, const std::vector<TimberData>& sorted,
                      const ScheduleCosting& costing, bool headings) {
  table.clear();
  if (headings) setHeadings(table, cuttingListHeadings());
  for (const CuttingGroup& group : costing.cuttingList(sorted)) {
    auto record = std::make_unique<lunvik::TextRecord>();
    record->add(fieldText(group.description));
    record->add(fieldText(group.specification));
    record->add(fieldText(group.numberText));
    record->add(sizeText(group.width));
    record->add(sizeText(group.depth));
    record->add(sizeText(group.length));
    record->add(std::to_string(group.quantity));
    record->add(streamText(group.cubicVolume()));
    record->add(streamText(group.hours));
    table.add(std::move(record));
  }
}

std::string reportText(const lunvik::TextDatabase& table) {
  std::string out;
  if (table.header()) appendLine(out, *table.header());
  for (const auto& record : table.records()) appendLine(out, *record);
  return out;
}

bool writeReportTable(lunvik::CadIO& stream, const lunvik::TextDatabase& table) {
  std::string text = reportText(table);
  return stream.write(text.data(), text.size());
}

}  // namespace varnholt
