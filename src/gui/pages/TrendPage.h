#pragma once

#include "core/trends/PeriodChart.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QTabWidget;

namespace tolvane {

class Analysis;
class BarChart;
class NavigationPanel;

// The usage-trend page: one tab a chart ("総合", "年別", "月別", "日別",
// "曜日別", "時間帯別"), fed from an Analysis. The first, the period chart,
// has the navigation panel at its right; on its tab the keys ←, →, + and −
// do what the panel's buttons do, Home and End show the period of the first
// and last play at the same level, and clicking a bar zooms into its period.
class TrendPage final : public QWidget {
    Q_OBJECT

public:
    // The analysis must outlive the page.
    explicit TrendPage(Analysis& analysis, QWidget* parent = nullptr);

    int chartCount() const { return static_cast<int>(charts_.size()); }
    // Charts count from 0 in tab order; null outside.
    BarChart* chart(int index) const;
    NavigationPanel* navigationPanel() const { return panel_; }
    QTabWidget* chartTabs() const { return tabs_; }

    // Before any analysis: the charts' fixed labels without values, the period chart empty.
    void showDesigned();
    // After a completed analysis: every chart, the captions and the bar
    // styles. keepGoing is asked between charts, so a window can take input
    // while they are drawn; false leaves the rest as they were.
    void showAnalysis(const std::function<bool()>& keepGoing = {});
    // The bar styles as the analysis holds them.
    void applyStyles();
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

    Analysis& analysis_;
    QTabWidget* tabs_;
    std::vector<BarChart*> charts_;
    NavigationPanel* panel_ = nullptr;
    bool running_ = false;
};

} // namespace tolvane
