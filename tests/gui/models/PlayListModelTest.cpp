#include "gui/models/PlayListModel.h"
#include "core/analysis/PlayList.h"
#include "gui/models/ItemRoles.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace tolvane {
namespace {

// The title lives in the play list's own pool, as the reader puts it.
PlayRecord play(PlayList& plays, int no)
{
    return {no, "2001/05/03 12:00:00", plays.texts()->intern("曲" + std::to_string(no)), "作者", "ジャンル", 7.5,
        155.25, 1200, 85000 + no, 980, 37014.5};
}

void appendPlays(PlayList& plays, int count)
{
    const auto first = static_cast<int>(plays.size()) + 1;
    for (int no = first; no < first + count; ++no)
        plays.append(play(plays, no));
}

class PlayListModelTest : public ::testing::Test {
protected:
    PlayList plays;
    PlayListModel model{plays};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(PlayListModelTest, ShowsTheTenCellsWithUtf8Text)
{
    appendPlays(plays, 2);
    model.syncRows();
    ASSERT_EQ(model.columnCount(), 10);
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString().toStdString(), PlayList::kHeaders[c]);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("タイトル"));

    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(model.index(1, c).data().toString().toStdString(), plays.cell(1, c)) << c;
    EXPECT_EQ(model.index(1, 2).data().toString(), QStringLiteral("曲2"));
    EXPECT_EQ(model.index(0, 6).data().toString(), QStringLiteral("155.25"));

    const int left = model.index(0, 8).data(Qt::TextAlignmentRole).toInt();
    EXPECT_EQ(left & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST_F(PlayListModelTest, SortRoleGivesNumbersAndDatesRawAndTheSongItsTitle)
{
    appendPlays(plays, 1);
    model.syncRows();
    const auto sortValue = [&](int column) { return model.index(0, column).data(SortRole); };
    for (int c : {0, 1, 5, 6, 7, 8, 9})
        EXPECT_EQ(sortValue(c).typeId(), QMetaType::Double) << c;
    for (int c : {2, 3, 4})
        EXPECT_EQ(sortValue(c).typeId(), QMetaType::QString) << c;
    EXPECT_EQ(sortValue(8).toDouble(), 85001.0);
    EXPECT_EQ(sortValue(5).toDouble(), 7.5);
    EXPECT_EQ(sortValue(3).toString(), QStringLiteral("作者"));
    EXPECT_EQ(sortValue(1).toDouble(), 37014.5);
    EXPECT_EQ(model.index(0, 9).data(SongKeyRole).toString(), QStringLiteral("曲1"));
}

TEST_F(PlayListModelTest, SyncRowsAnnouncesExactlyTheAppendedRows)
{
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    appendPlays(plays, 3);
    EXPECT_EQ(model.rowCount(), 0) << "rows must stay hidden until announced";
    model.syncRows();
    appendPlays(plays, 2);
    model.syncRows();
    model.syncRows(); // nothing new

    ASSERT_EQ(inserted.count(), 2);
    EXPECT_EQ(inserted[0][1].toInt(), 0);
    EXPECT_EQ(inserted[0][2].toInt(), 2);
    EXPECT_EQ(inserted[1][1].toInt(), 3);
    EXPECT_EQ(inserted[1][2].toInt(), 4);
    EXPECT_EQ(model.rowCount(), 5);
}

TEST_F(PlayListModelTest, ResetAfterClearEmptiesTheViewAndSyncStartsOver)
{
    appendPlays(plays, 4);
    model.syncRows();
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    plays.clear();
    EXPECT_FALSE(model.index(3, 2).data().isValid()) << "a repaint before reset() must not read a cleared row";
    model.reset();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(model.rowCount(), 0);

    appendPlays(plays, 1);
    model.syncRows();
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 0);
    EXPECT_EQ(inserted[0][2].toInt(), 0);
}

TEST_F(PlayListModelTest, ClearedWithoutResetIsTakenAsAReset)
{
    appendPlays(plays, 4);
    model.syncRows();
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    plays.clear();
    appendPlays(plays, 2);
    model.syncRows();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(model.rowCount(), 2);
}

TEST(PlayListModelLarge, HalfAMillionRowsAnswerForTheLastRow)
{
    PlayList plays;
    PlayListModel model(plays);
    appendPlays(plays, 500'000);
    model.syncRows();
    ASSERT_EQ(model.rowCount(), 500'000);
    EXPECT_EQ(model.index(499'999, 0).data().toString(), QStringLiteral("500000"));
    EXPECT_EQ(model.index(499'999, 2).data().toString(), QStringLiteral("曲500000"));
    EXPECT_EQ(model.index(499'999, 0).data(SortRole).toDouble(), 500000.0);
}

} // namespace
} // namespace tolvane
