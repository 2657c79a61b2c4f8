#pragma once

#include "report/ReportData.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::report {

// A rendering for a terminal: aligned tables and bar rows.
void writeTextReport(std::FILE* out, const ReportData& data);

// An aligned table: a header line, then one line per row.
void writeTextTable(
    std::FILE* out, const std::vector<std::string>& headers, const std::vector<std::vector<std::string>>& rows);

// Columns a text takes on a terminal: East Asian wide characters take two.
std::size_t displayWidth(std::string_view utf8);

} // namespace tolvane::report
