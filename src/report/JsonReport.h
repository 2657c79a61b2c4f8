#pragma once

#include "core/analysis/AnalysisFailure.h"
#include "report/JsonWriter.h"
#include "report/ReportData.h"

#include <cstdio>

namespace tolvane::report {

void writeJsonReport(std::FILE* out, const ReportData& data);
// The members every view prints first: file, size_bytes, size_kb, entries, accepted.
void writeFileMembers(JsonWriter& json, const ReportData& data);
// {"error": {"kind": ..., "line": ..., "message": ...}}
void writeJsonError(std::FILE* out, const AnalysisFailure& failure);

} // namespace tolvane::report
