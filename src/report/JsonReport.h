#pragma once

#include "core/analysis/AnalysisFailure.h"
#include "report/JsonWriter.h"
#include "report/ReportData.h"

#include <cstdio>
#include <string_view>

namespace tolvane::report {

void writeJsonReport(std::FILE* out, const ReportData& data);
// The members every view prints first: file, size_bytes, size_kb, entries, accepted.
void writeFileMembers(JsonWriter& json, const ReportData& data);
// {"error": {"kind": ..., "line": ..., "message": ...}}
void writeJsonError(std::FILE* out, const AnalysisFailure& failure);
// The same for any failure of a report: line 0 is null; with several logs the
// error has a file member, null when no log is to blame (file empty).
void writeJsonFailure(std::FILE* out, std::string_view kind, long line, std::string_view message,
    bool severalLogs = false, std::string_view file = {});

} // namespace tolvane::report
