#pragma once

#include "core/trends/PeriodChart.h"
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "report/ReportOptions.h"
#include "core/rankings/RankingView.h"

#include <string>
#include <vector>

namespace tolvane::report {

// What a report prints: the analysis of one log and how it was asked for.
struct ReportData {
    const ReportOptions& options;
    const Analysis& analysis;
    const RunOutcome& outcome;
    std::vector<std::string> confirmation;
    PeriodDrawing periodChart; // as the chart buttons would show it
};

// The members a view prints beyond the file's figures.
struct ViewParts {
    bool summary = false;
    bool plays = false;
    bool charts = false;
    std::vector<RankingKind> rankings;
};
ViewParts partsOf(View view);

} // namespace tolvane::report
