// The song page built from a hand-written log: its summary, marks and table.
#include "gui/song/SongPage.h"
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "gui/song/SongAttemptsModel.h"
#include "support/GuiTest.h"
#include "support/LogText.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QTableView>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using testing::EntryText;

EntryText entry(const char* date, const char* title, int score, int combo, int notes, const char* judge)
{
    EntryText e;
    e.date = std::string("Date:") + date;
    e.title = std::string("Title:") + title + "   Artist:Someone";
    e.score = "Total Notes         :" + std::to_string(notes) + "   Score " + std::to_string(score);
    e.judge = std::string(judge) + "   MaxCombo " + std::to_string(combo);
    return e;
}

QString labelText(const SongPage& page, const char* name)
{
    const auto* label = page.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

TEST(SongPageTest, ShowsBestsFirstFullComboMarksAndEveryAttempt)
{
    testing::ensureApplication();
    Analysis analysis;
    const std::string log = testing::logOf({
        entry("2001/05/03 12:00:00", "Wave", 1000, 100, 500, "Great 400   Good 60   Bad 20   Poor 20"),
        entry("2001/05/03 12:30:00", "Calm", 5000, 10, 10, "Great 10   Good 0   Bad 0   Poor 0"),
        entry("2001/05/04 09:00:00", "WAVE", 900, 500, 500, "Great 450   Good 50   Bad 0   Poor 0"),
        entry("2001/06/10 20:15:00", "wave", 1500, 300, 500, "Great 480   Good 10   Bad 5"),
    });
    ASSERT_EQ(AnalysisRun(analysis, Filter{}, GraphSettings{}, {}).runBytes(log).state, RunOutcome::State::Completed);

    EXPECT_FALSE(findSong(analysis, QStringLiteral("Wav")));
    const auto song = findSong(analysis, QStringLiteral("wAVe"));
    ASSERT_TRUE(song);

    SongPage page;
    page.resize(900, 700);
    page.showSong(*song);
    EXPECT_EQ(labelText(page, "songTitle"), QStringLiteral("Wave"));
    EXPECT_EQ(labelText(page, "songPlays"), QStringLiteral("3 回"));
    EXPECT_EQ(labelText(page, "songFirst"), QStringLiteral("2001/05/03 12:00:00"));
    EXPECT_EQ(labelText(page, "songLast"), QStringLiteral("2001/06/10 20:15:00"));
    EXPECT_EQ(labelText(page, "songBestScore"), QStringLiteral("1500 (2001/06/10 20:15:00)"));
    EXPECT_EQ(labelText(page, "songBestCombo"), QStringLiteral("500 (2001/05/04 09:00:00)"));
    EXPECT_EQ(labelText(page, "songFullCombo"), QStringLiteral("達成"));
    EXPECT_EQ(labelText(page, "songFirstFullCombo"), QStringLiteral("2 回目 (2001/05/04 09:00:00、初プレイから 1 日)"));

    const auto* months = page.findChild<QTableWidget*>(QStringLiteral("songPerMonth"));
    ASSERT_EQ(months->rowCount(), 2);
    EXPECT_EQ(months->item(0, 0)->text(), QStringLiteral("2001/05"));
    EXPECT_EQ(months->item(0, 1)->text(), QStringLiteral("2"));
    EXPECT_EQ(months->item(1, 1)->text(), QStringLiteral("1"));

    const QAbstractItemModel* table = page.findChild<QTableView*>(QStringLiteral("songAttempts"))->model();
    ASSERT_EQ(table->rowCount(), 3);
    const auto cell = [&](int row, int column) { return table->index(row, column).data().toString(); };
    EXPECT_EQ(cell(0, SongAttemptsModel::Marks), QStringLiteral("S C"));
    EXPECT_EQ(cell(1, SongAttemptsModel::Marks), QStringLiteral("C FC"));
    EXPECT_EQ(cell(2, SongAttemptsModel::Marks), QStringLiteral("S"));
    EXPECT_EQ(cell(1, SongAttemptsModel::DateTime), QStringLiteral("2001/05/04 09:00:00"));
    EXPECT_EQ(cell(1, SongAttemptsModel::Great), QStringLiteral("450"));
    EXPECT_EQ(cell(2, SongAttemptsModel::Bad), QStringLiteral("5"));
    EXPECT_EQ(cell(2, SongAttemptsModel::Poor), QString()); // not on the line
    EXPECT_EQ(cell(2, SongAttemptsModel::TotalNotes), QStringLiteral("500"));

    // The chart's running best as steps: 1000 from attempt 1, up to 1500 at attempt 3.
    const QChart* chart = page.findChild<QChartView*>(QStringLiteral("songChart"))->chart();
    const QLineSeries* best = nullptr;
    for (QAbstractSeries* s : chart->series())
        if (s->name() == QStringLiteral("自己ベスト"))
            best = qobject_cast<QLineSeries*>(s);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->points(), (QList<QPointF>{{1, 1000}, {3, 1000}, {3, 1500}}));
}

} // namespace
} // namespace tolvane
