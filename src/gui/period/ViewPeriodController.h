#pragma once

#include "core/analysis/PeriodView.h"

#include <QDate>
#include <QObject>

namespace tolvane {

class CalendarPage;
class HistoryNotifier;
class DayFilterBar;
class PlayFilterProxy;
class RankingPage;
class SessionsPage;
class TrendPage;
class ViewPeriodBar;

// The view period: a new period narrows the history (the rankings and charts
// follow it through the history's narrowed signal); on every change of the
// history it refills the calendar, the sessions and the period bar's presets;
// a click on the calendar shows that day's plays in the data list.
class ViewPeriodController final : public QObject {
    Q_OBJECT

public:
    struct Views {
        ViewPeriodBar& periodBar;
        RankingPage& rankings;
        TrendPage& trends;
        CalendarPage& calendar;
        SessionsPage& sessions;
        PlayFilterProxy& dayFilter;
        DayFilterBar& dayFilterBar;
    };

    // The history and the views must outlive the controller.
    ViewPeriodController(HistoryNotifier& history, Views views, QObject* parent = nullptr);

    // The rows the views show: the view period's share of the data list.
    const RowList& rows() const;
    const HabitFigures& figures() const { return figures_; }

public slots:
    // A run starts: the period stays as it is until the run completes.
    void analysisStarting();
    // A run ended; after a failure the period bar comes back for the history still shown.
    void analysisEnded();
    // A new history: the whole of it, the period chooser back on "全期間".
    void historyReplaced();
    // A followed log grew: the habits and the presets take the new plays in.
    void historyAppended();
    void applySpan(tolvane::ViewSpan span);
    void applyGap(int minutes);
    void showDay(QDate date);

signals:
    // The data list should come to the front (it shows a chosen day).
    void dataListWanted();

private:
    void refreshHabits();
    void showPlaysSpan();

    HistoryNotifier& history_;
    Views views_;
    HabitFigures figures_;
};

} // namespace tolvane
