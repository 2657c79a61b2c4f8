#pragma once

#include "report/ReportData.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::report {

// A single table view as CSV: UTF-8, RFC 4180 quoting, CR LF line ends, one
// header line. With --csv-safe, a text a spreadsheet would take for a
// formula starts with "'".
void writeCsvReport(std::FILE* out, const ReportData& data);

// One CSV line of cells, CR LF at its end.
void writeCsvLine(std::FILE* out, const std::vector<std::string>& cells);

} // namespace tolvane::report
