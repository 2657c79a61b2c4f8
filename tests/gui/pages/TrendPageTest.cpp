#include "gui/pages/TrendPage.h"
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/log/Filter.h"
#include "gui/HistoryNotifier.h"
#include "gui/charts/BarChart.h"
#include "gui/charts/NavigationPanel.h"
#include "support/GuiTest.h"
#include "support/LogText.h"

#include <QApplication>
#include <QBarSet>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

namespace tolvane {
namespace {

testing::EntryText playAt(const std::string& dateTime)
{
    testing::EntryText entry;
    entry.date = "Date:" + dateTime;
    return entry;
}

class TrendPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureApplication(); }

    void SetUp() override
    {
        page = std::make_unique<TrendPage>(history);
        page->showDesigned();
    }

    void run(std::initializer_list<testing::EntryText> entries)
    {
        const std::string bytes = testing::logOf(entries);
        ASSERT_EQ(history.load({LogSource{{}, bytes}}, Filter{}, graph, {}).state, RunOutcome::State::Completed);
        page->showAnalysis();
    }

    QStringList labels(int chart) const { return column(chart, &BarChart::rowLabel); }
    QStringList values(int chart) const { return column(chart, &BarChart::rowValue); }
    QStringList column(int chart, QString (BarChart::*cell)(int) const) const
    {
        QStringList out;
        // Charts count from 1 here, as their tabs do for a user.
        for (int row = 1; row <= page->chart(chart - 1)->rowCount(); ++row)
            out << (page->chart(chart - 1)->*cell)(row);
        return out;
    }

    QStringList captions() const
    {
        QStringList out;
        for (const char* name : {"periodFromCaption", "periodToCaption", "periodUntilCaption"})
            out << page->navigationPanel()->findChild<QLabel*>(name)->text();
        return out;
    }

    void click(const char* button) { page->navigationPanel()->findChild<QPushButton*>(button)->click(); }
    BarChart* chart(int n) const { return page->chart(n - 1); }

    HistoryNotifier history;
    GraphSettings graph;
    std::unique_ptr<TrendPage> page;
};

TEST_F(TrendPageTest, DesignedContentUntilTheFirstAnalysisAndButtonsDoNothing)
{
    ASSERT_EQ(page->chartCount(), 6);
    EXPECT_EQ(page->chart(6), nullptr);

    EXPECT_EQ(labels(3), QString("１月 ２月 ３月 ４月 ５月 ６月 ７月 ８月 ９月 １０月 １１月 １２月").split(' '));
    EXPECT_EQ(values(3), QStringList(12, QString()));
    EXPECT_EQ(labels(5).first(), QStringLiteral("日曜日"));
    EXPECT_EQ(chart(2)->rowCount(), 0);

    for (const char* button : {"zoomInButton", "zoomOutButton", "earlierButton", "laterButton"})
        click(button);
    EXPECT_EQ(chart(1)->rowCount(), 0);
    EXPECT_EQ(captions(), QStringList({"", "", "まで"}));
}

TEST_F(TrendPageTest, AnalysisFillsEveryChartAndTheCaptions)
{
    // Tuesday 21:30, Sunday 0:30, Sunday 21:10.
    run({playAt("2001/11/20 21:30:00"), playAt("2001/12/02 00:30:00"), playAt("2002/02/03 21:10:00")});
    EXPECT_EQ(labels(1), QStringList({"2001/11", "2001/12", "2002/1", "2002/2"}));
    EXPECT_EQ(values(1), QStringList({"1", "1", "0", "1"}));
    EXPECT_EQ(captions(), QStringList({"2001年11月", "2002年2月", "まで"}));
    EXPECT_EQ(labels(2), QStringList({"2001年", "2002年"}));
    EXPECT_EQ(values(2), QStringList({"2", "1"}));
    EXPECT_EQ(values(3).mid(0, 3), QStringList({"", "1", ""}));
    EXPECT_EQ(values(4).mid(0, 3), QStringList({"", "1", "1"}));
    EXPECT_EQ(values(5).mid(0, 3), QStringList({"2", "", "1"}));
    EXPECT_EQ(values(6).mid(0, 2), QStringList({"1", "0"}));
}

TEST_F(TrendPageTest, ButtonsStepEveryLevelWithinTheLog)
{
    run({playAt("2001/11/20 21:30:00"), playAt("2001/12/02 00:30:00"), playAt("2002/02/03 21:10:00")});
    struct Step {
        const char* button;
        int rows;
        const char* from;
        const char* to;
    };
    // Each click, then what chart 1 shows; a click that cannot act leaves it.
    const Step steps[] = {{"zoomOutButton", 4, "2001年11月", "2002年2月"},
        {"earlierButton", 4, "2001年11月", "2002年2月"}, {"laterButton", 4, "2001年11月", "2002年2月"},
        {"zoomInButton", 12, "2001年1月", "2001年12月"}, {"earlierButton", 12, "2001年1月", "2001年12月"},
        {"laterButton", 12, "2002年1月", "2002年12月"}, {"laterButton", 12, "2002年1月", "2002年12月"},
        {"earlierButton", 12, "2001年1月", "2001年12月"}, {"zoomInButton", 31, "2001年12月1日", "2001年12月31日"},
        {"laterButton", 31, "2002年1月1日", "2002年1月31日"}, {"laterButton", 28, "2002年2月1日", "2002年2月28日"},
        {"laterButton", 28, "2002年2月1日", "2002年2月28日"}, {"zoomInButton", 7, "2002年1月27日", "2002年2月2日"},
        {"laterButton", 7, "2002年2月3日", "2002年2月9日"}, {"laterButton", 7, "2002年2月3日", "2002年2月9日"},
        {"zoomInButton", 24, "2002年2月3日0時", "2002年2月3日23時"},
        {"zoomInButton", 24, "2002年2月3日0時", "2002年2月3日23時"},
        {"laterButton", 24, "2002年2月3日0時", "2002年2月3日23時"},
        {"earlierButton", 24, "2002年2月2日0時", "2002年2月2日23時"},
        {"zoomOutButton", 7, "2002年1月27日", "2002年2月2日"}, {"zoomOutButton", 31, "2002年1月1日", "2002年1月31日"},
        {"zoomOutButton", 12, "2002年1月", "2002年12月"}, {"zoomOutButton", 4, "2001年11月", "2002年2月"},
        {"zoomOutButton", 4, "2001年11月", "2002年2月"}};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        // A button is enabled exactly when its click changes the chart; a
        // disabled one says why.
        const auto* button = page->navigationPanel()->findChild<QPushButton*>(steps[i].button);
        const bool enabled = button->isEnabled();
        EXPECT_EQ(enabled, !button->toolTip().contains("使えません")) << "step " << i;
        const QStringList before = captions();
        click(steps[i].button);
        EXPECT_EQ(enabled, captions() != before) << "step " << i;
        EXPECT_EQ(chart(1)->rowCount(), steps[i].rows) << "step " << i;
        EXPECT_EQ(captions().mid(0, 2), QStringList({steps[i].from, steps[i].to})) << "step " << i;
    }
    // Back out of the day, the fourth caption reads "まで" again.
    EXPECT_EQ(captions().at(2), QStringLiteral("まで"));
}

TEST_F(TrendPageTest, LeapFebruaryAndAWeekAcrossTheYearEnd)
{
    run({playAt("2000/02/10 12:00:00"), playAt("2000/03/01 12:00:00")});
    click("zoomInButton");
    click("zoomInButton");
    EXPECT_EQ(chart(1)->rowCount(), 29);
    EXPECT_EQ(labels(1).last(), QStringLiteral("2/29"));
    EXPECT_EQ(captions().at(1), QStringLiteral("2000年2月29日"));

    run({playAt("2002/01/02 12:00:00"), playAt("2002/01/20 12:00:00")});
    for (int i = 0; i < 3; ++i)
        click("zoomInButton");
    EXPECT_EQ(labels(1).first(), QStringLiteral("12/30(日曜日)"));
    EXPECT_EQ(labels(1).last(), QStringLiteral("1/5(土曜日)"));
    EXPECT_EQ(values(1).at(3), QStringLiteral("1"));
    EXPECT_EQ(captions().mid(0, 2), QStringList({"2001年12月30日", "2002年1月5日"}));
    // The week holds the first play: there is none before it.
    click("earlierButton");
    EXPECT_EQ(captions().first(), QStringLiteral("2001年12月30日"));
}

TEST_F(TrendPageTest, BarStylesFollowTheSettingsAndSurviveRedrawing)
{
    run({playAt("2001/11/20 21:30:00"), playAt("2002/02/03 21:10:00")});
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(chart(i)->barStyle(), (BarStyle{BarFill::None, 0, {0, 0, 1}, {0, 0, 1}})) << i;
        EXPECT_EQ(chart(i)->bars()->brush().style(), Qt::NoBrush) << i;
        // Without a fill only the outline shows the bar.
        EXPECT_NE(chart(i)->bars()->pen().style(), Qt::NoPen) << i;
    }

    graph.Pattern[4] = 3;
    graph.Color[4] = 2147483653.0; // 0x80000005
    graph.Pattern[0] = 7;
    history.restyle(graph);
    page->applyStyles();
    EXPECT_EQ(chart(5)->barStyle(), (BarStyle{BarFill::Pattern, 3, {5, 0, 0}, {0, 0, 1}}));
    EXPECT_EQ(chart(5)->bars()->brush().style(), Qt::TexturePattern);
    EXPECT_EQ(chart(4)->barStyle().style, BarFill::None);
    click("zoomInButton");
    EXPECT_EQ(chart(1)->barStyle().index, 7);
    EXPECT_EQ(chart(1)->bars()->brush().style(), Qt::TexturePattern);

    graph.Pattern[4] = 99;
    history.restyle(graph);
    page->applyStyles();
    EXPECT_EQ(chart(5)->barStyle().index, 99);
    EXPECT_EQ(chart(5)->bars()->brush(), QBrush(QColor(5, 0, 0)));
}

TEST_F(TrendPageTest, PanelBesideItsChartAndTheDayOnlyAtTheDayLevel)
{
    run({playAt("2001/11/20 21:30:00"), playAt("2001/12/02 00:30:00")});
    page->resize(640, 420);
    page->show();
    QApplication::processEvents();
    const QRect chartPlace = chart(1)->geometry();
    const QRect panelPlace = page->navigationPanel()->geometry();
    EXPECT_FALSE(chartPlace.intersects(panelPlace));
    EXPECT_LT(chartPlace.right(), panelPlace.left());

    for (int i = 0; i < 4; ++i)
        click("zoomInButton");
    EXPECT_EQ(captions().at(2), QStringLiteral("2001年11月18日")); // the week's Sunday
    // Every caption of the day level fits the panel.
    for (auto* label : page->navigationPanel()->findChildren<QLabel*>())
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
    click("zoomOutButton");
    EXPECT_EQ(captions().at(2), QStringLiteral("まで"));

    page->setRunning(true);
    for (const char* name : {"zoomInButton", "zoomOutButton", "earlierButton", "laterButton"})
        EXPECT_FALSE(page->navigationPanel()->findChild<QPushButton*>(name)->isEnabled()) << name;
    page->setRunning(false);
    EXPECT_TRUE(page->navigationPanel()->findChild<QPushButton*>("zoomInButton")->isEnabled());
}

} // namespace
} // namespace tolvane

namespace tolvane {
namespace {

TEST_F(TrendPageTest, KeysBarClicksHomeAndEndOnThePeriodChart)
{
    run({playAt("2001/11/20 21:30:00"), playAt("2001/12/02 00:30:00"), playAt("2002/02/03 21:10:00")});
    page->show();
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
    chart(1)->setFocus();
    const auto key = [this](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    // The chart passes a click on after the bar set has finished with it.
    const auto clickBar = [this](int index) {
        emit chart(1)->bars()->clicked(index);
        QCoreApplication::processEvents();
    };

    key(Qt::Key_Plus); // as "+": the first year
    EXPECT_EQ(captions().mid(0, 2), QStringList({"2001年1月", "2001年12月"}));
    key(Qt::Key_Right);
    EXPECT_EQ(captions().mid(0, 2), QStringList({"2002年1月", "2002年12月"}));
    key(Qt::Key_Home);
    EXPECT_EQ(captions().at(0), QStringLiteral("2001年1月"));
    // February's bar opens February's days; a day's bar its hours.
    clickBar(1);
    EXPECT_EQ(captions().mid(0, 2), QStringList({"2001年2月1日", "2001年2月28日"}));
    key(Qt::Key_End);
    EXPECT_EQ(captions().at(0), QStringLiteral("2002年2月1日"));
    clickBar(2);
    EXPECT_EQ(captions().mid(0, 3), QStringList({"2002年2月3日0時", "2002年2月3日23時", "2002年2月3日"}));
    clickBar(21); // an hour goes no further
    EXPECT_EQ(captions().at(0), QStringLiteral("2002年2月3日0時"));
    key(Qt::Key_Left);
    EXPECT_EQ(captions().at(0), QStringLiteral("2002年2月2日0時"));
    key(Qt::Key_Minus);
    EXPECT_EQ(captions().at(0), QStringLiteral("2002年1月27日"));

    // While a log is read, neither keys nor clicks move the chart.
    page->setRunning(true);
    key(Qt::Key_Home);
    clickBar(0);
    EXPECT_EQ(captions().at(0), QStringLiteral("2002年1月27日"));
    page->setRunning(false);
    for (const char* button : {"zoomInButton", "zoomOutButton", "earlierButton", "laterButton"})
        EXPECT_FALSE(page->navigationPanel()->findChild<QPushButton*>(button)->toolTip().isEmpty()) << button;
}

} // namespace
} // namespace tolvane
