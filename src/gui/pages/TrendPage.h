#pragma once

#include "core/trends/ChartNavigation.h"
#include "core/trends/PeriodChart.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QTabWidget;

namespace tolvane {

class BarChart;
class HistoryNotifier;
class NavigationPanel;

// The usage-trend page: one tab a chart ("総合", "年別", "月別", "日別",
// "曜日別", "時間帯別"), drawn from the window's history when it changes. The first, the period chart,
// has the navigation panel at its right; on its tab the keys ←, →, + and −
// do what the panel's buttons do, Home and End show the period of the first
// and last play at the same level, and clicking a bar zooms into its period.
class TrendPage final : public QWidget {
    Q_OBJECT

public:
    // The history must outlive the page.
    explicit TrendPage(const HistoryNotifier& history, QWidget* parent = nullptr);

    int chartCount() const { return static_cast<int>(charts_.size()); }
    // Charts count from 0 in tab order; null outside.
    BarChart* chart(int index) const;
    NavigationPanel* navigationPanel() const { return panel_; }
    QTabWidget* chartTabs() const { return tabs_; }

    // Before any analysis: the charts' fixed labels without values, the period chart empty.
    void showDesigned();
    // The history's charts, the period chart at level 1: after a load or a
    // new view period. keepGoing is asked between charts, so a window can
    // take input while they are drawn; false leaves the rest as they were.
    void showAnalysis(const std::function<bool()>& keepGoing = {});
    // After a followed log grew: the totals anew, and the period chart over
    // the wider span at the level and place the user left it.
    void showAppended();
    // The bar styles as the history holds them.
    void applyStyles();
    // The period chart's level, cursor and buttons as shown.
    const ChartNavigation& navigation() const { return navigation_; }
    const PeriodDrawing& periodChart() const { return periodChart_; }
    // The buttons are off while an analysis runs.
    void setRunning(bool running);

private slots:
    void zoomIn();
    void zoomOut();
    void showEarlier();
    void showLater();
    void showFirstPlay();
    void showLastPlay();
    void zoomIntoBar(int index);

private:
    void showPeriod(std::optional<PeriodDrawing> drawing);
    void showCaptions();

    const HistoryNotifier& history_;
    ChartNavigation navigation_;
    PeriodDrawing periodChart_;
    QTabWidget* tabs_;
    std::vector<BarChart*> charts_;
    NavigationPanel* panel_ = nullptr;
    bool running_ = false;
};

} // namespace tolvane
