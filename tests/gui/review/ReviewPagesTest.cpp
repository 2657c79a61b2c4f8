// The records and year pages offscreen, on the hand-written log of the
// report's review tests.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "gui/charts/BarChart.h"
#include "gui/review/RecordsModel.h"
#include "gui/review/RecordsPage.h"
#include "gui/review/ShareCard.h"
#include "gui/review/YearReviewPage.h"
#include "support/GuiTest.h"
#include "support/LogGenerator.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace tolvane {
namespace {

void analyseReviewLog(Analysis& a)
{
    std::ifstream in(std::string(TOLVANE_TEST_DATA_DIR) + "/report/review.txt", std::ios::binary);
    std::string text;
    for (std::string line; std::getline(in, line);)
        text += line + "\r\n";
    ASSERT_EQ(AnalysisRun(a, {}, {}, {}).runBytes(testing::utf8ToCp932(text)).state, RunOutcome::State::Completed);
}

TEST(ReviewPagesTest, RecordsByMonthKeysAndTheSong)
{
    testing::ensureApplication();
    Analysis a;
    analyseReviewLog(a);
    RecordsPage page;
    page.resize(900, 600);
    page.show();
    page.setRecords(buildRecordsView(a.plays, allRows(a.plays)));
    EXPECT_EQ(page.model()->rowCount(), 6);
    EXPECT_EQ(page.chart()->rowCount(), 38); // 2003/12 to 2007/01
    EXPECT_EQ(page.currentMonth(), 37);
    EXPECT_EQ(page.monthList()->count(), 0);
    QTest::keyClick(&page, Qt::Key_Home);
    EXPECT_EQ(page.monthList()->count(), 1); // 2003/12
    QTest::keyClick(&page, Qt::Key_Right);
    ASSERT_EQ(page.monthList()->count(), 4); // 2004/01
    EXPECT_TRUE(page.monthList()->item(1)->text().contains("1,500 (+300)"))
        << page.monthList()->item(1)->text().toStdString();
    QTest::keyClick(&page, Qt::Key_End);
    EXPECT_EQ(page.currentMonth(), 37);

    // Newest first; a double-click names the song.
    QTableView* table = page.table();
    const QModelIndex first = table->model()->index(0, RecordsModel::Song);
    EXPECT_EQ(first.data().toString(), "Wind");
    QSignalSpy song(&page, &RecordsPage::songActivated);
    emit table->doubleClicked(first);
    ASSERT_EQ(song.count(), 1);
    EXPECT_EQ(song.at(0).at(0).toString(), "Wind");
    table->sortByColumn(RecordsModel::Score, Qt::DescendingOrder);
    EXPECT_EQ(table->model()->index(0, RecordsModel::Score).data().toString(), "1,500 (+300)");
}

TEST(ReviewPagesTest, YearFiguresLinksAndCard)
{
    testing::ensureApplication();
    Analysis a;
    analyseReviewLog(a);
    YearReviewPage page;
    page.resize(1000, 800);
    page.show();
    page.setYearSource(std::make_shared<const YearReviewSource>(a.plays, allRows(a.plays), kDefaultSessionGap));
    EXPECT_EQ(page.yearChooser()->count(), 4); // 2003, 2004, 2006, 2007
    EXPECT_EQ(page.year(), 2007);
    EXPECT_TRUE(page.figureText("longestSession").contains("ありません"));
    page.yearChooser()->setCurrentIndex(1);
    EXPECT_EQ(page.year(), 2004);
    EXPECT_TRUE(page.figureText("plays").contains("▲6")) << page.figureText("plays").toStdString();

    QSignalSpy day(&page, &YearReviewPage::dayActivated);
    QSignalSpy session(&page, &YearReviewPage::sessionActivated);
    auto* busiest = page.findChild<QLabel*>("busiestDay");
    emit busiest->linkActivated(busiest->text().section('"', 1, 1));
    auto* longest = page.findChild<QLabel*>("longestSession");
    emit longest->linkActivated(longest->text().section('"', 1, 1));
    ASSERT_EQ(day.count(), 1);
    EXPECT_EQ(day.at(0).at(0).toDate(), QDate(2004, 1, 1));
    ASSERT_EQ(session.count(), 1);
    EXPECT_EQ(session.at(0).at(0).toLongLong(), totalSeconds(makeDate(2004, 1, 1, 20, 0, 0)));

    const QImage card = page.shareCard();
    EXPECT_EQ(card.size(), QSize(kShareCardWidth, kShareCardHeight));
    EXPECT_NE(card.pixel(100, 60), card.pixel(100, 600)); // text and a gradient, not one colour
}

} // namespace
} // namespace tolvane
