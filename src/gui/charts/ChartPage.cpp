#include "gui/charts/ChartPage.h"

#include "gui/charts/BarChart.h"
#include "gui/charts/NavigationPanel.h"
#include "core/analysis/Analysis.h"
#include "gui/MainLayout.h"

#include <QString>
#include <QWidget>

#include <cstddef>
#include <string>
#include <utility>

namespace tolvane {

namespace {

QString textOf(const std::string& text)
{
    return QString::fromStdString(text);
}

void placeAt(QWidget* widget, const TwipRect& r, double dpi)
{
    widget->setGeometry(twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi), twipsToPixels(r.width, dpi),
        twipsToPixels(r.height, dpi));
}

} // namespace

ChartPage::ChartPage(Analysis& analysis, const std::array<QWidget*, 7>& frames, QObject* parent)
    : QObject(parent)
    , analysis_(analysis)
{
    for (std::size_t i = 1; i <= 6; ++i) {
        auto* chart = new BarChart(frames[i]);
        chart->setObjectName(QStringLiteral("MSChart1(%1)").arg(i));
        charts_[i] = chart;
    }
    // Made after chart 1, so the panel lies over the chart's right edge where
    // the two meet.
    panel_ = new NavigationPanel(frames[1]);

    connect(panel_, &NavigationPanel::upClicked, this, &ChartPage::CommandUP_Click);
    connect(panel_, &NavigationPanel::downClicked, this, &ChartPage::CommandDown_Click);
    connect(panel_, &NavigationPanel::leftClicked, this, &ChartPage::CommandL_Click);
    connect(panel_, &NavigationPanel::rightClicked, this, &ChartPage::CommandR_Click);
}

BarChart* ChartPage::chart(int number) const
{
    return number >= 1 && number <= 6 ? charts_[static_cast<std::size_t>(number)] : nullptr;
}

void ChartPage::showDesigned()
{
    const TotalsCharts designed = designedTotalsCharts();
    charts_[1]->setRows({});
    charts_[2]->setRows(designed.year);
    charts_[3]->setRows(designed.month);
    charts_[4]->setRows(designed.day);
    charts_[5]->setRows(designed.weekday);
    charts_[6]->setRows(designed.hour);
    panel_->showCaptions(QString(), QString(), textOf(analysis_.navigation.Label2));
}

void ChartPage::showAnalysis()
{
    const TotalsCharts& totals = analysis_.totals;
    charts_[1]->setRows(analysis_.periodChart.rows);
    charts_[2]->setRows(totals.year);
    charts_[3]->setRows(totals.month);
    charts_[4]->setRows(totals.day);
    charts_[5]->setRows(totals.weekday);
    charts_[6]->setRows(totals.hour);
    showCaptions();
    applyStyles();
}

void ChartPage::applyStyles()
{
    for (std::size_t i = 1; i <= 6; ++i)
        charts_[i]->setBarStyle(analysis_.styles[i]);
}

void ChartPage::layout(const MainLayout& layout, double dpi)
{
    for (std::size_t i = 1; i <= 6; ++i)
        placeAt(charts_[i], layout.msChart[i], dpi);
    panel_->placeControls(dpi);
    placeAt(panel_, layout.frame3, dpi);
}

void ChartPage::setRunning(bool running)
{
    panel_->setButtonsEnabled(!running);
}

void ChartPage::CommandUP_Click()
{
    showPeriod(analysis_.navigation.CommandUP());
}

void ChartPage::CommandDown_Click()
{
    showPeriod(analysis_.navigation.CommandDown());
}

void ChartPage::CommandL_Click()
{
    showPeriod(analysis_.navigation.CommandL());
}

void ChartPage::CommandR_Click()
{
    showPeriod(analysis_.navigation.CommandR());
}

void ChartPage::showPeriod(std::optional<PeriodDrawing> drawing)
{
    // A button that could not act drew nothing, and the chart stays as it is.
    if (!drawing)
        return;
    analysis_.periodChart = std::move(*drawing);
    charts_[1]->setRows(analysis_.periodChart.rows);
    showCaptions();
}

void ChartPage::showCaptions()
{
    panel_->showCaptions(
        textOf(analysis_.periodChart.from), textOf(analysis_.periodChart.to), textOf(analysis_.navigation.Label2));
}

} // namespace tolvane
