#pragma once

#include "core/trends/PeriodChart.h"

#include <QObject>

#include <array>
#include <optional>

class QWidget;

namespace tolvane {

class Analysis;
class BarChart;
class NavigationPanel;
struct MainLayout;

// The six trend charts MSChart1(1)..MSChart1(6) and the period chart's panel
// Frame3, fed from an Analysis. The charts go into the chart pages given;
// the panel goes into page 1 beside its chart.
class ChartPage final : public QObject {
    Q_OBJECT

public:
    // frames[1..6] are Frame2(1)..Frame2(6), none null; they own the charts
    // and the panel. The analysis must outlive the page.
    ChartPage(Analysis& analysis, const std::array<QWidget*, 7>& frames, QObject* parent = nullptr);

    BarChart* chart(int number) const; // 1..6; null otherwise
    NavigationPanel* panel() const { return panel_; }

    // Before any analysis: the charts' fixed labels without values, chart 1 empty.
    void showDesigned();
    // After a completed analysis: every chart, the captions and the bar styles.
    void showAnalysis();
    // The bar styles of charts 1..6 as the analysis holds them.
    void applyStyles();

    // The charts at their design places with the layout's sizes, the panel
    // at its computed place.
    void layout(const MainLayout& layout, double dpi);
    // The buttons are off while an analysis runs.
    void setRunning(bool running);

    void CommandUP_Click();
    void CommandDown_Click();
    void CommandL_Click();
    void CommandR_Click();

private:
    void showPeriod(std::optional<PeriodDrawing> drawing);
    void showCaptions();

    Analysis& analysis_;
    std::array<BarChart*, 7> charts_{};
    NavigationPanel* panel_ = nullptr;
};

} // namespace tolvane
