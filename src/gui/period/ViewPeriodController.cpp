#include "gui/period/ViewPeriodController.h"

#include "gui/calendar/CalendarPage.h"
#include "gui/models/DayFilterBar.h"
#include "gui/search/PlayFilterProxy.h"
#include "gui/pages/RankingPage.h"
#include "gui/pages/TrendPage.h"
#include "gui/period/ViewPeriodBar.h"
#include "gui/sessions/SessionsPage.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

ViewPeriodController::ViewPeriodController(Analysis& analysis, Views views, QObject* parent)
    : QObject(parent)
    , analysis_(analysis)
    , views_(views)
{
    connect(&views_.periodBar, &ViewPeriodBar::spanChanged, this, &ViewPeriodController::applySpan);
    connect(&views_.sessions, &SessionsPage::gapChanged, this, &ViewPeriodController::applyGap);
    connect(&views_.calendar, &CalendarPage::dayChosen, this, &ViewPeriodController::showDay);
    connect(&views_.dayFilterBar, &DayFilterBar::showAllPlays, &views_.dayFilter, &PlayFilterProxy::clearDay);
    views_.periodBar.setEnabled(false);
}

void ViewPeriodController::analysisStarting()
{
    views_.periodBar.setEnabled(false);
    views_.dayFilter.clearDay();
    views_.dayFilterBar.hide();
    rows_.clear();
    figures_ = {};
    views_.calendar.setCalendar({});
    views_.sessions.clear();
}

void ViewPeriodController::analysisCompleted()
{
    rows_ = allRows(analysis_.plays);
    DateValue first = 0;
    if (!analysis_.plays.empty()) {
        first = analysis_.plays.row(0).date;
        for (std::size_t r = 1; r < analysis_.plays.size(); ++r)
            first = std::min(first, analysis_.plays.row(r).date);
    }
    views_.periodBar.setPlays(std::floor(first), lastPlayDay(analysis_.plays));
    views_.periodBar.setEnabled(true);
    refreshHabits();
}

void ViewPeriodController::applySpan(ViewSpan span)
{
    if (!analysis_.navigation.analysisDone && analysis_.entryDates.empty())
        return;
    narrowAnalysis(analysis_, span, rows_);
    if (const auto shown = views_.rankings.shownRanking())
        views_.rankings.showRanking(*shown);
    else
        views_.rankings.clearRows();
    views_.trends.showAnalysis();
    views_.dayFilter.clearDay();
    views_.dayFilterBar.hide();
    refreshHabits();
}

void ViewPeriodController::applyGap(int minutes)
{
    figures_.sessions = buildSessions(analysis_.plays, figures_.timeline, minutes);
    if (!figures_.timeline.empty())
        figures_.streaks = buildStreaks(figures_.calendar, figures_.sessions);
    views_.sessions.setFigures(figures_);
}

void ViewPeriodController::refreshHabits()
{
    figures_ = buildHabitFigures(analysis_.plays, rows_, views_.sessions.gapMinutes());
    views_.calendar.setCalendar(figures_.calendar);
    views_.sessions.setFigures(figures_);
}

void ViewPeriodController::showDay(QDate date)
{
    views_.dayFilter.setDay(serialDay(date.year(), date.month(), date.day()), rows_);
    views_.dayFilterBar.showDay(date, views_.dayFilter.rowCount());
    emit dataListWanted();
}

} // namespace tolvane
