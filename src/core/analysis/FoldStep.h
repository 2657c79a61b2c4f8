#pragma once

#include "core/analysis/AnalysisFailure.h"
#include "core/insights/ViewPeriod.h"
#include "core/log/PlayRecord.h"

#include <cstddef>
#include <optional>

namespace tolvane {

class Analysis;

// Folds a history's entries and plays into its figures: every entry's date
// into the chart counts and the calendar, every play into the rankings and
// the rows of the view span, then the charts. A full read, a followed append
// and a new view period all go through here, so the figures always say the
// same of the same plays.
//
// Within a view span, an entry counts for the charts when its day lies in
// the span; a play is one of its rows as the span load filter would take it:
// from the first day of the span on, until the first play, in history order,
// whose day is past its last.
class FoldStep final {
public:
    explicit FoldStep(Analysis& analysis) noexcept
        : a_(analysis)
    {
    }

    // Starts the figures again from nothing, for span.
    void restart(ViewSpan span);
    // One entry's date; false, counting nothing, when a part of it is out of
    // the calendar's range (the reader never reports such a date).
    bool entry(const PlayDate& date);
    // The play of a row of the data list, in history order. A failure when
    // its max combo does not fit the rankings; nothing is changed then.
    std::optional<AnalysisFailure> play(std::size_t row);
    // The charts as the counts stand: the period chart at level 1 over the
    // whole span of entries, and the totals. False when no entry counted,
    // and then the charts are those of nothing.
    bool draw();

private:
    Analysis& a_;
};

} // namespace tolvane
