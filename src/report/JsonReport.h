#pragma once

#include "core/analysis/AnalysisFailure.h"
#include "report/ReportData.h"

#include <cstdio>

namespace tolvane::report {

void writeJsonReport(std::FILE* out, const ReportData& data);
// {"error": {"kind": ..., "line": ..., "message": ...}}
void writeJsonError(std::FILE* out, const AnalysisFailure& failure);

} // namespace tolvane::report
