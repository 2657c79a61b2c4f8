#pragma once

#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/insights/PlayRows.h"
#include "core/insights/SongView.h"
#include "core/rankings/RankingView.h"
#include "core/review/YearReview.h"
#include "core/trends/PeriodChart.h"
#include "report/ReportOptions.h"

#include <optional>
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
    // The period chart's cursor and day caption where periodChart was drawn.
    ChartDate chartCursor = analysis.navigation.cursor;
    std::string dayCaption = analysis.navigation.dayCaption;
    RowList playRows = {}; // the rows the plays view lists: all, or those --search keeps
    std::optional<SongView> song = {}; // --view song: the song --title names
    std::optional<YearReview> year = {}; // --view year: the year asked for
};

// The members a view prints beyond the file's figures.
struct ViewParts {
    bool summary = false;
    bool plays = false;
    bool charts = false;
    std::vector<RankingKind> rankings;
    bool song = false;
    bool calendar = false;
    bool sessions = false;
    bool streaks = false;
    bool records = false;
    bool year = false;
};
ViewParts partsOf(View view);

} // namespace tolvane::report
