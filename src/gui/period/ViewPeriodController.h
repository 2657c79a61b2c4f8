#pragma once

#include "core/analysis/PeriodView.h"

#include <QDate>
#include <QObject>

namespace tolvane {

class CalendarPage;
class DayFilterBar;
class PlayFilterProxy;
class RankingPage;
class SessionsPage;
class TrendPage;
class ViewPeriodBar;

// Keeps the views that follow the view period in step: on a new analysis or
// a new period it narrows the analysis's rankings and charts (see
// narrowAnalysis) and refills the rankings, the charts, the calendar and the
// sessions; a click on the calendar shows that day's plays in the data list.
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

    // The analysis and the views must outlive the controller.
    ViewPeriodController(Analysis& analysis, Views views, QObject* parent = nullptr);

    // The rows the views show: the view period's share of the data list.
    const RowList& rows() const { return rows_; }
    const HabitFigures& figures() const { return figures_; }

public slots:
    // A run starts: the day filter and the figures of the last log go.
    void analysisStarting();
    // A run completed: the whole log, the period chooser back on "全期間".
    void analysisCompleted();
    void applySpan(tolvane::ViewSpan span);
    void applyGap(int minutes);
    void showDay(QDate date);

signals:
    // The data list should come to the front (it shows a chosen day).
    void dataListWanted();

private:
    void refreshHabits();

    Analysis& analysis_;
    Views views_;
    RowList rows_;
    HabitFigures figures_;
};

} // namespace tolvane
