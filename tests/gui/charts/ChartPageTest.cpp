#include "gui/charts/ChartPage.h"
#include "gui/charts/BarChart.h"
#include "gui/charts/NavigationPanel.h"
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/log/Filter.h"
#include "support/GuiTest.h"
#include "support/LogText.h"
#include "gui/MainLayout.h"

#include <QBarSet>
#include <QLabel>
#include <QPushButton>

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

class ChartPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureApplication(); }

    void SetUp() override
    {
        for (std::size_t i = 1; i <= 6; ++i)
            frames[i] = new QWidget(&host);
        page = std::make_unique<ChartPage>(analysis, frames);
        page->showDesigned();
    }

    void run(std::initializer_list<testing::EntryText> entries)
    {
        ASSERT_EQ(AnalysisRun(analysis, Filter{}, graph, {}).runBytes(testing::logOf(entries)).state,
            RunOutcome::State::Completed);
        page->showAnalysis();
    }

    QStringList labels(int chart) const { return column(chart, &BarChart::rowLabel); }
    QStringList values(int chart) const { return column(chart, &BarChart::rowValue); }
    QStringList column(int chart, QString (BarChart::*cell)(int) const) const
    {
        QStringList out;
        for (int row = 1; row <= page->chart(chart)->rowCount(); ++row)
            out << (page->chart(chart)->*cell)(row);
        return out;
    }

    QStringList captions() const
    {
        QStringList out;
        for (const char* name : {"Label6(0)", "Label6(1)", "Label2"})
            out << page->panel()->findChild<QLabel*>(name)->text();
        return out;
    }

    void click(const char* button) { page->panel()->findChild<QPushButton*>(button)->click(); }

    QWidget host;
    std::array<QWidget*, 7> frames{};
    Analysis analysis;
    GraphSettings graph;
    std::unique_ptr<ChartPage> page;
};

TEST_F(ChartPageTest, DesignedContentUntilTheFirstAnalysisAndButtonsDoNothing)
{
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(frames[static_cast<std::size_t>(i)]->findChild<BarChart*>(QStringLiteral("MSChart1(%1)").arg(i)),
            page->chart(i));
    EXPECT_EQ(frames[1]->findChild<NavigationPanel*>(QStringLiteral("Frame3")), page->panel());

    EXPECT_EQ(labels(3), QString("１月 ２月 ３月 ４月 ５月 ６月 ７月 ８月 ９月 １０月 １１月 １２月").split(' '));
    EXPECT_EQ(values(3), QStringList(12, QString()));
    EXPECT_EQ(labels(5).first(), QStringLiteral("日曜日"));
    EXPECT_EQ(page->chart(2)->rowCount(), 0);

    for (const char* button : {"CommandUP", "CommandDown", "CommandL", "CommandR"})
        click(button);
    EXPECT_EQ(page->chart(1)->rowCount(), 0);
    EXPECT_EQ(captions(), QStringList({"", "", "まで"}));
}

TEST_F(ChartPageTest, AnalysisFillsEveryChartAndTheCaptions)
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

TEST_F(ChartPageTest, ButtonsStepEveryLevelWithinTheLog)
{
    run({playAt("2001/11/20 21:30:00"), playAt("2001/12/02 00:30:00"), playAt("2002/02/03 21:10:00")});
    struct Step {
        const char* button;
        int rows;
        const char* from;
        const char* to;
    };
    // Each click, then what chart 1 shows; a click that cannot act leaves it.
    const Step steps[] = {{"CommandDown", 4, "2001年11月", "2002年2月"}, {"CommandL", 4, "2001年11月", "2002年2月"},
        {"CommandR", 4, "2001年11月", "2002年2月"}, {"CommandUP", 12, "2001年1月", "2001年12月"},
        {"CommandL", 12, "2001年1月", "2001年12月"}, {"CommandR", 12, "2002年1月", "2002年12月"},
        {"CommandR", 12, "2002年1月", "2002年12月"}, {"CommandL", 12, "2001年1月", "2001年12月"},
        {"CommandUP", 31, "2001年12月1日", "2001年12月31日"}, {"CommandR", 31, "2002年1月1日", "2002年1月31日"},
        {"CommandR", 28, "2002年2月1日", "2002年2月28日"}, {"CommandR", 28, "2002年2月1日", "2002年2月28日"},
        {"CommandUP", 7, "2002年1月27日", "2002年2月2日"}, {"CommandR", 7, "2002年2月3日", "2002年2月9日"},
        {"CommandR", 7, "2002年2月3日", "2002年2月9日"}, {"CommandUP", 24, "2002年2月3日0時", "2002年2月3日23時"},
        {"CommandUP", 24, "2002年2月3日0時", "2002年2月3日23時"},
        {"CommandR", 24, "2002年2月3日0時", "2002年2月3日23時"},
        {"CommandL", 24, "2002年2月2日0時", "2002年2月2日23時"}, {"CommandDown", 7, "2002年1月27日", "2002年2月2日"},
        {"CommandDown", 31, "2002年1月1日", "2002年1月31日"}, {"CommandDown", 12, "2002年1月", "2002年12月"},
        {"CommandDown", 4, "2001年11月", "2002年2月"}, {"CommandDown", 4, "2001年11月", "2002年2月"}};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        click(steps[i].button);
        EXPECT_EQ(page->chart(1)->rowCount(), steps[i].rows) << "step " << i;
        EXPECT_EQ(captions().mid(0, 2), QStringList({steps[i].from, steps[i].to})) << "step " << i;
    }
    // Nothing sets Label2 back once a day has been shown.
    EXPECT_EQ(captions().at(2), QStringLiteral("2002年2月2日"));
}

TEST_F(ChartPageTest, LeapFebruaryAndAWeekAcrossTheYearEnd)
{
    run({playAt("2000/02/10 12:00:00"), playAt("2000/03/01 12:00:00")});
    click("CommandUP");
    click("CommandUP");
    EXPECT_EQ(page->chart(1)->rowCount(), 29);
    EXPECT_EQ(labels(1).last(), QStringLiteral("2/29"));
    EXPECT_EQ(captions().at(1), QStringLiteral("2000年2月29日"));

    run({playAt("2002/01/02 12:00:00"), playAt("2002/01/20 12:00:00")});
    for (int i = 0; i < 3; ++i)
        click("CommandUP");
    EXPECT_EQ(labels(1).first(), QStringLiteral("12/30(日曜日)"));
    EXPECT_EQ(labels(1).last(), QStringLiteral("1/5(土曜日)"));
    EXPECT_EQ(values(1).at(3), QStringLiteral("1"));
    EXPECT_EQ(captions().mid(0, 2), QStringList({"2001年12月30日", "2002年1月5日"}));
    // The week holds the first play: there is none before it.
    click("CommandL");
    EXPECT_EQ(captions().first(), QStringLiteral("2001年12月30日"));
}

TEST_F(ChartPageTest, BarStylesFollowTheSettingsAndSurviveRedrawing)
{
    run({playAt("2001/11/20 21:30:00"), playAt("2002/02/03 21:10:00")});
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(page->chart(i)->barStyle(), (BarStyle{VtBrushStyleNull, 0, {0, 0, 1}, {0, 0, 1}})) << i;
        EXPECT_EQ(page->chart(i)->bars()->brush().style(), Qt::NoBrush) << i;
        // Without a fill only the outline shows the bar.
        EXPECT_NE(page->chart(i)->bars()->pen().style(), Qt::NoPen) << i;
    }

    graph.Pattern[5] = 3;
    graph.Color[5] = 2147483653.0; // 0x80000005
    graph.Pattern[1] = 7;
    ChartColorset(graph, analysis.styles);
    page->applyStyles();
    EXPECT_EQ(page->chart(5)->barStyle(), (BarStyle{VtBrushStylePattern, 3, {5, 0, 0}, {0, 0, 1}}));
    EXPECT_EQ(page->chart(5)->bars()->brush().style(), Qt::TexturePattern);
    EXPECT_EQ(page->chart(4)->barStyle().style, VtBrushStyleNull);
    click("CommandUP");
    EXPECT_EQ(page->chart(1)->barStyle().index, 7);
    EXPECT_EQ(page->chart(1)->bars()->brush().style(), Qt::TexturePattern);

    graph.Pattern[5] = 99;
    ChartColorset(graph, analysis.styles);
    page->applyStyles();
    EXPECT_EQ(page->chart(5)->barStyle().index, 99);
    EXPECT_EQ(page->chart(5)->bars()->brush(), QBrush(QColor(5, 0, 0)));
}

TEST_F(ChartPageTest, LayoutAndRunningState)
{
    const MainLayout l = MainLayout::forWindow(12000, 8000);
    page->layout(l, 96);
    EXPECT_EQ(page->chart(1)->geometry(),
        QRect(8, 7, twipsToPixels(l.msChart[1].width, 96), twipsToPixels(l.msChart[1].height, 96)));
    EXPECT_EQ(page->chart(3)->pos(), QPoint(8, 8));
    EXPECT_EQ(page->panel()->geometry(),
        QRect(twipsToPixels(l.frame3.left, 96), -2, 100, twipsToPixels(l.frame3.height, 96)));
    const auto* up = page->panel()->findChild<QPushButton*>("CommandUP");
    EXPECT_EQ(up->geometry(), QRect(38, 28, 25, 25));
    EXPECT_EQ(page->panel()->findChild<QPushButton*>("CommandL")->pos(), QPoint(13, 53));

    page->setRunning(true);
    for (const char* name : {"CommandUP", "CommandDown", "CommandL", "CommandR"})
        EXPECT_FALSE(page->panel()->findChild<QPushButton*>(name)->isEnabled()) << name;
    page->setRunning(false);
    EXPECT_TRUE(up->isEnabled());
}

} // namespace
} // namespace tolvane
