#include "gui/pages/TrendPage.h"

#include "core/trends/ChartJumps.h"
#include "gui/HistoryNotifier.h"
#include "gui/charts/BarChart.h"
#include "gui/charts/NavigationPanel.h"

#include <QHBoxLayout>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

namespace tolvane {

namespace {

QString textOf(const std::string& text)
{
    return QString::fromStdString(text);
}

// The charts in the order of kTrendChartCaptions: object name, and where
// their rows come from before and after an analysis.
struct ChartEntry {
    const char* name;
    ChartRows (*designed)();
    const ChartRows& (*analysed)(const Analysis&);
};

const ChartEntry kCharts[] = {
    {"periodChart", [] { return ChartRows{}; },
        [](const Analysis& a) -> const ChartRows& { return a.periodChart.rows; }},
    {"yearChart", [] { return designedTotalsCharts().year; },
        [](const Analysis& a) -> const ChartRows& { return a.totals.year; }},
    {"monthChart", [] { return designedTotalsCharts().month; },
        [](const Analysis& a) -> const ChartRows& { return a.totals.month; }},
    {"dayChart", [] { return designedTotalsCharts().day; },
        [](const Analysis& a) -> const ChartRows& { return a.totals.day; }},
    {"weekdayChart", [] { return designedTotalsCharts().weekday; },
        [](const Analysis& a) -> const ChartRows& { return a.totals.weekday; }},
    {"hourChart", [] { return designedTotalsCharts().hour; },
        [](const Analysis& a) -> const ChartRows& { return a.totals.hour; }},
};

static_assert(std::size(kCharts) == kTrendChartCount, "one entry for every chart the settings style");

} // namespace

TrendPage::TrendPage(const HistoryNotifier& history, QWidget* parent)
    : QWidget(parent)
    , history_(history)
    , navigation_(history.history().analysis().navigation)
    , tabs_(new QTabWidget(this))
{
    setObjectName(QStringLiteral("trendPage"));
    tabs_->setObjectName(QStringLiteral("chartTabs"));
    tabs_->setDocumentMode(false);
    // The chart tabs sit in a tab of the window's own: no second margin around them.
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(tabs_);

    for (std::size_t i = 0; i < std::size(kCharts); ++i) {
        const ChartEntry& entry = kCharts[i];
        auto* tab = new QWidget(tabs_);
        tab->setObjectName(QStringLiteral("%1Tab").arg(entry.name));
        auto* row = new QHBoxLayout(tab);
        auto* chart = new BarChart(tab);
        chart->setObjectName(QString::fromLatin1(entry.name));
        row->addWidget(chart, 1);
        charts_.push_back(chart);
        const std::string_view caption = kTrendChartCaptions[i];
        tabs_->addTab(tab, QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    }
    // The period chart's panel sits at its right.
    panel_ = new NavigationPanel(tabs_->widget(0));
    tabs_->widget(0)->layout()->addWidget(panel_);

    connect(panel_, &NavigationPanel::zoomInClicked, this, &TrendPage::zoomIn);
    connect(panel_, &NavigationPanel::zoomOutClicked, this, &TrendPage::zoomOut);
    connect(panel_, &NavigationPanel::earlierClicked, this, &TrendPage::showEarlier);
    connect(panel_, &NavigationPanel::laterClicked, this, &TrendPage::showLater);
    connect(charts_.front(), &BarChart::barClicked, this, &TrendPage::zoomIntoBar);

    // The keys work wherever the focus is on the period chart's tab.
    QWidget* periodTab = tabs_->widget(0);
    charts_.front()->setFocusPolicy(Qt::StrongFocus);
    const std::pair<QKeyCombination, void (TrendPage::*)()> keys[]
        = {{Qt::Key_Plus, &TrendPage::zoomIn}, {Qt::Key_Minus, &TrendPage::zoomOut},
            {Qt::Key_Left, &TrendPage::showEarlier}, {Qt::Key_Right, &TrendPage::showLater},
            {Qt::Key_Home, &TrendPage::showFirstPlay}, {Qt::Key_End, &TrendPage::showLastPlay}};
    for (const auto& [key, slot] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), periodTab);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
    }
}

BarChart* TrendPage::chart(int index) const
{
    return index >= 0 && index < chartCount() ? charts_[static_cast<std::size_t>(index)] : nullptr;
}

void TrendPage::showDesigned()
{
    for (std::size_t i = 0; i < charts_.size(); ++i)
        charts_[i]->setRows(kCharts[i].designed());
    navigation_ = history_.history().analysis().navigation;
    periodChart_ = {};
    panel_->showCaptions(QString(), QString(), textOf(navigation_.dayCaption));
}

void TrendPage::showAnalysis(const std::function<bool()>& keepGoing)
{
    const Analysis& a = history_.history().analysis();
    if (!a.navigation.analysisDone) {
        showDesigned();
        return;
    }
    navigation_ = a.navigation;
    periodChart_ = a.periodChart;
    for (std::size_t i = 0; i < charts_.size(); ++i) {
        if (keepGoing && !keepGoing())
            return;
        charts_[i]->setRows(i == 0 ? periodChart_.rows : kCharts[i].analysed(a));
    }
    showCaptions();
    applyStyles();
}

void TrendPage::showAppended()
{
    const Analysis& a = history_.history().analysis();
    if (!a.navigation.analysisDone)
        return;
    if (navigation_.level <= 1 || !navigation_.analysisDone) {
        showAnalysis();
        return;
    }
    for (std::size_t i = 1; i < charts_.size(); ++i)
        charts_[i]->setRows(kCharts[i].analysed(a));
    navigation_.setBounds(a.counts.earliest(), a.counts.latest());
    const ChartDate at = navigation_.cursor;
    showPeriod(navigation_.drawAt(navigation_.level, CivilDate{at.year, at.month, at.day}));
}

void TrendPage::applyStyles()
{
    const Analysis& a = history_.history().analysis();
    for (std::size_t i = 0; i < charts_.size(); ++i)
        charts_[i]->setBarStyle(a.styles[i]);
}

void TrendPage::setRunning(bool running)
{
    running_ = running;
    panel_->setButtonsEnabled(!running);
}

void TrendPage::zoomIn()
{
    if (!running_) // the keys as the buttons: idle while a log is read
        showPeriod(navigation_.zoomIn());
}

void TrendPage::zoomOut()
{
    if (!running_) // the keys as the buttons: idle while a log is read
        showPeriod(navigation_.zoomOut());
}

void TrendPage::showEarlier()
{
    if (!running_) // the keys as the buttons: idle while a log is read
        showPeriod(navigation_.showEarlier());
}

void TrendPage::showLater()
{
    if (!running_) // the keys as the buttons: idle while a log is read
        showPeriod(navigation_.showLater());
}

void TrendPage::showFirstPlay()
{
    const ChartNavigation& nav = navigation_;
    if (const auto place = edgeTarget(nav.level, nav.earliest()); place && nav.analysisDone && !running_)
        showPeriod(navigation_.drawAt(place->level, place->date));
}

void TrendPage::showLastPlay()
{
    const ChartNavigation& nav = navigation_;
    if (const auto place = edgeTarget(nav.level, nav.latest()); place && nav.analysisDone && !running_)
        showPeriod(navigation_.drawAt(place->level, place->date));
}

void TrendPage::zoomIntoBar(int index)
{
    const ChartNavigation& nav = navigation_;
    if (!nav.analysisDone || running_ || index < 0)
        return;
    const auto place = barTarget(nav.level, {nav.cursor.year, nav.cursor.month, nav.cursor.day}, nav.earliest(),
        static_cast<std::size_t>(index), periodChart_.rows.size());
    if (place)
        showPeriod(navigation_.drawAt(place->level, place->date));
}

void TrendPage::showPeriod(std::optional<PeriodDrawing> drawing)
{
    // A button that could not act drew nothing, and the chart stays as it is.
    if (!drawing)
        return;
    periodChart_ = std::move(*drawing);
    charts_.front()->setRows(periodChart_.rows);
    showCaptions();
}

void TrendPage::showCaptions()
{
    panel_->showCaptions(textOf(periodChart_.from), textOf(periodChart_.to), textOf(navigation_.dayCaption));
    panel_->setLimits(navigation_.limits());
}

} // namespace tolvane
