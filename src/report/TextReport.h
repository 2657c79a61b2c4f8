#pragma once

#include "report/ReportData.h"

#include <cstdio>
#include <string_view>

namespace tolvane::report {

// A rendering for a terminal: aligned tables and bar rows.
void writeTextReport(std::FILE* out, const ReportData& data);

// Columns a text takes on a terminal: East Asian wide characters take two.
std::size_t displayWidth(std::string_view utf8);

} // namespace tolvane::report
