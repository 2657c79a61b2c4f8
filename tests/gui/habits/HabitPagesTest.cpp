// The calendar, sessions and view-period classes offscreen, on hand-written
// logs, wired as the main window wires them.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/analysis/PeriodView.h"
#include "gui/calendar/CalendarHeatmap.h"
#include "gui/calendar/CalendarPage.h"
#include "gui/models/DayFilterBar.h"
#include "gui/models/PlayListModel.h"
#include "gui/period/ViewPeriodBar.h"
#include "gui/search/PlayFilterProxy.h"
#include "gui/sessions/SessionTableModel.h"
#include "gui/sessions/SessionsPage.h"
#include "support/GuiTest.h"
#include "support/LogGenerator.h"
#include "support/LogText.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>

namespace tolvane {
namespace {

using testing::EntryText;

// A completed analysis of plays at these times ("2004/01/05 21:00:00"), in this order.
void analyse(Analysis& a, std::initializer_list<const char*> times)
{
    std::string utf8;
    int n = 0;
    for (const char* t : times) {
        EntryText e;
        e.date = std::string("Date:") + t;
        e.title = "Title:Song" + std::to_string(n++ % 3) + "   Artist:A";
        utf8 += e.text();
    }
    ASSERT_EQ(AnalysisRun(a, {}, {}, {}).runBytes(testing::utf8ToCp932(utf8)).state, RunOutcome::State::Completed);
}

TEST(HabitPagesTest, ClickingADayShowsExactlyThatDaysPlaysAndTheWayBack)
{
    testing::ensureApplication();
    Analysis a;
    // Out of order, with neighbours a second away on both sides and the same date a year before.
    analyse(a,
        {"2004/01/05 12:00:00", "2004/01/04 23:59:59", "2004/01/05 00:00:00", "2003/01/05 12:00:00",
            "2004/01/06 00:00:00", "2004/01/05 23:59:59", "2004/03/01 08:00:00"});
    const HabitFigures figures = buildHabitFigures(a.plays, a.rows, 30);

    PlayListModel list(a.plays);
    list.syncRows();
    PlayFilterProxy dayFilter(a.plays);
    dayFilter.setSourceModel(&list);
    QAbstractItemModelTester tester(&dayFilter, QAbstractItemModelTester::FailureReportingMode::Warning);
    DayFilterBar bar;
    CalendarPage page;
    page.resize(900, 300);
    page.show();
    QObject::connect(&page, &CalendarPage::dayChosen, [&](QDate date) {
        dayFilter.setDay(serialDay(date.year(), date.month(), date.day()), a.rows);
        bar.showDay(date, dayFilter.rowCount());
    });
    QObject::connect(&bar, &DayFilterBar::showAllPlays, &dayFilter, &PlayFilterProxy::clearDay);

    page.setCalendar(figures.calendar);
    CalendarHeatmap* heatmap = page.heatmap();
    EXPECT_EQ(heatmap->year(), 2004); // the last play's year comes first
    EXPECT_EQ(page.yearChooser()->count(), 2);
    const QDate day(2004, 1, 5);
    EXPECT_EQ(heatmap->dateAt(heatmap->cellRect(day).center()), day);
    EXPECT_EQ(heatmap->toolTipFor(day), QStringLiteral("2004/01/05(月)  3回"));
    EXPECT_EQ(heatmap->levelOf(heatmap->playsOn(day)), CalendarHeatmap::kLevels - 1);
    EXPECT_EQ(heatmap->levelOf(heatmap->playsOn(QDate(2004, 1, 4))), 2); // one of three: the second step
    EXPECT_EQ(heatmap->levelOf(0), 0);

    QSignalSpy chosen(&page, &CalendarPage::dayChosen);
    QTest::mouseClick(heatmap, Qt::LeftButton, {}, heatmap->cellRect(day).center());
    ASSERT_EQ(chosen.size(), 1);
    std::vector<QString> shown;
    for (int r = 0; r < dayFilter.rowCount(); ++r)
        shown.push_back(dayFilter.index(r, PlayListModel::DateTime).data().toString());
    EXPECT_EQ(shown,
        (std::vector<QString>{QStringLiteral("2004/01/05 12:00:00"), QStringLiteral("2004/01/05 00:00:00"),
            QStringLiteral("2004/01/05 23:59:59")}));
    EXPECT_FALSE(bar.isHidden());
    EXPECT_TRUE(bar.text().contains(QStringLiteral("2004/01/05")));
    EXPECT_TRUE(bar.text().contains(QStringLiteral("3件")));

    // Outside the cells, nothing is chosen; the way back shows every play again.
    QTest::mouseClick(heatmap, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(chosen.size(), 1);
    bar.backButton()->click();
    EXPECT_TRUE(bar.isHidden());
    EXPECT_EQ(dayFilter.rowCount(), 7);

    page.showYear(2003);
    EXPECT_EQ(heatmap->playsOn(QDate(2003, 1, 5)), 1);
    EXPECT_EQ(heatmap->cellRect(day), QRect());
}

TEST(HabitPagesTest, SessionsSortByRawValuesAndTheGapIsAnnounced)
{
    testing::ensureApplication();
    Analysis a;
    // Sessions: 21:00-22:05 (4 plays, 65 min), 23:00 (1 play), next day 09:00-09:59 (3 plays, 59 min).
    analyse(a,
        {"2004/01/05 21:00:00", "2004/01/05 21:30:00", "2004/01/05 21:55:00", "2004/01/05 22:05:00",
            "2004/01/05 23:00:00", "2004/01/06 09:59:00", "2004/01/06 09:29:00", "2004/01/06 09:00:00"});
    SessionsPage page;
    QAbstractItemModelTester tester(page.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    page.setFigures(buildHabitFigures(a.plays, a.rows, page.gapMinutes()));

    EXPECT_EQ(page.figureText(QStringLiteral("longestStreak")), QStringLiteral("2日（2004/01/05 – 2004/01/06）"));
    EXPECT_EQ(page.figureText(QStringLiteral("busiestDay")), QStringLiteral("2004/01/05（5回）"));
    EXPECT_EQ(
        page.figureText(QStringLiteral("longestSession")), QStringLiteral("1時間5分（2004/01/05 21:00:00から、4回）"));
    EXPECT_EQ(page.figureText(QStringLiteral("totalTime")), QStringLiteral("2時間4分（3セッション）"));

    // Newest first; sorted by length, "1時間5分" comes before "59分", as numbers would have it.
    QAbstractItemModel* shown = page.table()->model();
    ASSERT_EQ(shown->rowCount(), 3);
    EXPECT_EQ(shown->index(0, SessionTableModel::Start).data().toString(), QStringLiteral("2004/01/06 09:00:00"));
    page.table()->sortByColumn(SessionTableModel::Length, Qt::DescendingOrder);
    EXPECT_EQ(shown->index(0, SessionTableModel::Length).data().toString(), QStringLiteral("1時間5分"));
    EXPECT_EQ(shown->index(1, SessionTableModel::Length).data().toString(), QStringLiteral("59分"));

    // A first click on a number column puts the highest first; the next turns it round.
    page.show();
    QHeaderView* header = page.table()->horizontalHeader();
    const int middle = header->sectionViewportPosition(SessionTableModel::Plays) + 20;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(middle, header->height() / 2));
    EXPECT_EQ(shown->index(0, SessionTableModel::Plays).data().toString(), QStringLiteral("4"));

    QSignalSpy gap(&page, &SessionsPage::gapChanged);
    page.setGapMinutes(90); // from the settings: not announced
    EXPECT_EQ(gap.size(), 0);
    page.gapEditor()->setValue(120);
    ASSERT_EQ(gap.size(), 1);
    EXPECT_EQ(gap.at(0).at(0).toInt(), 120);
}

TEST(HabitPagesTest, TheViewPeriodIsAnnouncedAndShownWhileItNarrows)
{
    testing::ensureApplication();
    ViewPeriodBar bar;
    bar.setPlays(makeDate(2001, 11, 3), makeDate(2004, 2, 29));
    QSignalSpy changed(&bar, &ViewPeriodBar::spanChanged);
    EXPECT_TRUE(bar.banner()->isHidden());

    bar.choose(PeriodPreset::Last12Months);
    ASSERT_EQ(changed.size(), 1);
    const auto span = changed.at(0).at(0).value<ViewSpan>();
    EXPECT_EQ(span.from, makeDate(2003, 3, 1));
    EXPECT_FALSE(bar.banner()->isHidden());
    EXPECT_EQ(bar.banner()->text(), QStringLiteral("表示期間: 2003/03/01 – 2004/02/29"));

    // Dates entered the wrong way round mean the days between them.
    bar.choose(PeriodPreset::Custom);
    bar.setCustomDates(QDate(2002, 5, 31), QDate(2002, 5, 1));
    EXPECT_EQ(bar.span().from, makeDate(2002, 5, 1));
    EXPECT_EQ(bar.span().to, makeDate(2002, 5, 31));
    EXPECT_EQ(bar.banner()->text(), QStringLiteral("表示期間: 2002/05/01 – 2002/05/31"));

    bar.choose(PeriodPreset::All);
    EXPECT_TRUE(changed.back().at(0).value<ViewSpan>().isWhole());
    EXPECT_TRUE(bar.banner()->isHidden());
}

TEST(HabitPagesTest, AClickAndTypingAYearSetsTheCustomSpan)
{
    testing::ensureApplication();
    ViewPeriodBar bar;
    bar.setPlays(makeDate(2001, 11, 3), makeDate(2004, 2, 20));
    bar.choose(PeriodPreset::Custom);
    bar.show();
    bar.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&bar));
    QSignalSpy changed(&bar, &ViewPeriodBar::spanChanged);
    for (const char* name : {"viewPeriodFrom", "viewPeriodTo"}) {
        auto* edit = bar.findChild<QDateEdit*>(name);
        auto* text = edit->findChild<QLineEdit*>();
        // One click on the year, as on any text field, then the digits.
        QTest::mouseClick(
            text, Qt::LeftButton, {}, QPoint(text->fontMetrics().averageCharWidth() * 2, text->height() / 2));
        QApplication::processEvents();
        QTest::keyClicks(text, "2003");
        QTest::keyClick(text, Qt::Key_Return);
        EXPECT_EQ(edit->date().year(), 2003) << name;
    }
    ASSERT_EQ(changed.size(), 2) << "once a field, not once a digit";
    EXPECT_EQ(bar.periodText(), QStringLiteral("表示期間: 2003/02/20 – 2003/11/03"));
}

} // namespace
} // namespace tolvane
