// The text tables of the two reports and the file layout they are written in: one line per
// record, fields separated by one TAB, every line ended by CR LF, no quoting.
#pragma once

#include <string>
#include <vector>

#include "runtime/cad_string.h"
#include "schedule/timber_data.h"
#include "storage/text_database.h"

namespace lunvik {
class CadIO;
}

namespace varnholt {

// The twelve column headings of the timber schedule, in order.
const std::vector<lunvik::CadString>& scheduleHeadings();
// The nine column headings of the cutting list, in order.
const std::vector<lunvik::CadString>& cuttingListHeadings();

// A metre value as the reports write sizes: the host's number-to-text with precision 6.
lunvik::CadString sizeText(double metres);
// A real in the standard stream's default form (six significant digits).
lunvik::CadString streamText(double value);
// A text of the project as a report field: a TAB, CR or LF, which would split the field or
// its row, becomes a space.
lunvik::CadString fieldText(const lunvik::CadString& text);

// Fills table (emptied first) with the timber schedule of records in schedule order: the
// heading record when headings is set, then one record per timber.
void fillScheduleTable(lunvik::TextDatabase& table, const std::vector<TimberData>& sorted,
                       const ScheduleCosting& costing, bool headings);
// Fills table (emptied first) with the cutting list of records in schedule order: the heading
// record when headings is set, then one record per group.
void fillCuttingTable(lunvik::TextDatabase& table, const std::vector<TimberData>& sorted,
                      const ScheduleCosting& costing, bool headings);

// The table in the report layout: the heading first, fields joined by TAB, CR LF after every
// line.
std::string reportText(const lunvik::TextDatabase& table);
// Writes the table in the report layout to an open stream; false when the stream fails.
bool writeReportTable(lunvik::CadIO& stream, const lunvik::TextDatabase& table);

}  // namespace varnholt
