#include "gui/period/ViewPeriodController.h"

#include "gui/HistoryNotifier.h"
#include "gui/calendar/CalendarPage.h"
#include "gui/models/DayFilterBar.h"
#include "gui/pages/RankingPage.h"
#include "gui/pages/TrendPage.h"
#include "gui/period/ViewPeriodBar.h"
#include "gui/search/PlayFilterProxy.h"
#include "gui/sessions/SessionsPage.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

ViewPeriodController::ViewPeriodController(HistoryNotifier& history, Views views, QObject* parent)
    : QObject(parent)
    , history_(history)
    , views_(views)
{
    connect(&views_.periodBar, &ViewPeriodBar::spanChanged, this, &ViewPeriodController::applySpan);
    connect(&views_.sessions, &SessionsPage::gapChanged, this, &ViewPeriodController::applyGap);
    connect(&views_.calendar, &CalendarPage::dayChosen, this, &ViewPeriodController::showDay);
    connect(&views_.dayFilterBar, &DayFilterBar::showAllPlays, &views_.dayFilter, &PlayFilterProxy::clearDay);
    connect(&history_, &HistoryNotifier::replaced, this, &ViewPeriodController::historyReplaced);
    connect(&history_, &HistoryNotifier::appended, this, &ViewPeriodController::historyAppended);
    views_.periodBar.setEnabled(false);
}

const RowList& ViewPeriodController::rows() const
{
    return history_.history().analysis().rows;
}

void ViewPeriodController::analysisStarting()
{
    views_.periodBar.setEnabled(false);
}

void ViewPeriodController::analysisEnded()
{
    views_.periodBar.setEnabled(!history_.history().empty());
}

void ViewPeriodController::showPlaysSpan()
{
    const PlayList& plays = history_.history().analysis().plays;
    DateValue first = 0;
    if (!plays.empty()) {
        first = plays.row(0).date;
        for (std::size_t r = 1; r < plays.size(); ++r)
            first = std::min(first, plays.row(r).date);
    }
    views_.periodBar.setPlays(std::floor(first), lastPlayDay(plays));
}

void ViewPeriodController::historyReplaced()
{
    views_.dayFilter.clearDay();
    views_.dayFilterBar.hide();
    showPlaysSpan();
    views_.periodBar.setEnabled(!history_.history().empty());
    refreshHabits();
}

void ViewPeriodController::historyAppended()
{
    views_.periodBar.extendPlays(lastPlayDay(history_.history().analysis().plays));
    refreshHabits();
}

void ViewPeriodController::applySpan(ViewSpan span)
{
    if (history_.history().empty())
        return;
    history_.narrow(span);
    views_.dayFilter.clearDay();
    views_.dayFilterBar.hide();
    refreshHabits();
}

void ViewPeriodController::applyGap(int minutes)
{
    const PlayList& plays = history_.history().analysis().plays;
    figures_.sessions = buildSessions(plays, figures_.timeline, minutes);
    if (!figures_.timeline.empty())
        figures_.streaks = buildStreaks(figures_.calendar, figures_.sessions);
    views_.sessions.setFigures(figures_);
}

void ViewPeriodController::refreshHabits()
{
    figures_ = buildHabitFigures(history_.history().analysis().plays, rows(), views_.sessions.gapMinutes());
    views_.calendar.setCalendar(figures_.calendar);
    views_.sessions.setFigures(figures_);
}

void ViewPeriodController::showDay(QDate date)
{
    views_.dayFilter.setDay(serialDay(date.year(), date.month(), date.day()), rows());
    views_.dayFilterBar.showDay(date, views_.dayFilter.rowCount());
    emit dataListWanted();
}

} // namespace tolvane
