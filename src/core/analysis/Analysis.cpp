#include "core/analysis/Analysis.h"

#include <utility>

namespace tolvane {

void Analysis::replaceWith(Analysis& fresh) noexcept
{
    using std::swap;
    swap(plays, fresh.plays);
    swap(span, fresh.span);
    swap(rows, fresh.rows);
    swap(rowsEnded, fresh.rowsEnded);
    swap(rankings, fresh.rankings);
    swap(calendar, fresh.calendar);
    swap(counts, fresh.counts);
    swap(navigation, fresh.navigation);
    navigation.attach(calendar);
    fresh.navigation.attach(fresh.calendar);
    swap(entryDates, fresh.entryDates);
    swap(periodChart, fresh.periodChart);
    swap(totals, fresh.totals);
    swap(styles, fresh.styles);
}

} // namespace tolvane
