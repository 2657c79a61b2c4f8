#include "gui/pages/RankingPage.h"
#include "core/rankings/RankingTables.h"
#include "gui/StoredPlacement.h"
#include "gui/models/ItemRoles.h"
#include "gui/models/RankingModel.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tolvane {
namespace {

class RankingPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        combo = page.findChild<QComboBox*>(QStringLiteral("rankingChooser"));
        list = page.findChild<QTableView*>(QStringLiteral("rankingList"));
        ASSERT_NE(combo, nullptr);
        ASSERT_NE(list, nullptr);
    }

    void playTimes(std::string_view title, int times)
    {
        for (int i = 0; i < times; ++i)
            tables.record({title, "A", "G", 40000.5 + i, 0, 0, 0});
    }

    // As a user's pick: the chooser reports the entry activated.
    void pick(const QString& entry)
    {
        const int index = combo->findText(entry);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    QStringList headers() const
    {
        QStringList out;
        for (int c = 0; c < list->model()->columnCount(); ++c)
            out << list->model()->headerData(c, Qt::Horizontal).toString();
        return out;
    }

    QString cell(int row, int column) const { return list->model()->index(row, column).data().toString(); }

    RankingTables tables;
    RankingPage page{tables};
    QComboBox* combo = nullptr;
    QTableView* list = nullptr;
};

TEST_F(RankingPageTest, OpensWithNothingChosenAndTheNoColumn)
{
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_TRUE(combo->currentText().isEmpty());
    ASSERT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("タイトル"));
    EXPECT_EQ(combo->itemText(4), QStringLiteral("MaxCombo"));

    EXPECT_EQ(headers(), QStringList{QStringLiteral("No.")});
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_EQ(list->columnWidth(0), StoredPlacement::toPixels(1000, page.logicalDpiX()));
    EXPECT_TRUE(list->isSortingEnabled()); // by a header click; a third gives back the ranking's order
    EXPECT_TRUE(list->verticalHeader()->isHidden());
}

TEST_F(RankingPageTest, UserPickBeforeAnyLogShowsTheArtistColumnsOnly)
{
    combo->setFocus();
    // Down from nothing lands on タイトル, once more on 作者; each step is a pick.
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Down);
    ASSERT_EQ(combo->currentText(), QStringLiteral("作者"));
    EXPECT_EQ(
        headers(), (QStringList{"No.", "作者", "総プレイ回数", "最初の出会い", "最近の出会い", "付き合った日々（爆"}));
    EXPECT_EQ(list->model()->rowCount(), 0);
}

TEST_F(RankingPageTest, TitleRankingOrdersByPlaysWithPaddedCounts)
{
    playTimes("twelve", 12);
    playTimes("nine", 9);
    playTimes("many", 105);
    QAbstractItemModelTester tester(list->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    pick(QStringLiteral("タイトル"));

    ASSERT_EQ(list->model()->rowCount(), 3);
    const QStringList expected[] = {{"1", "many", "105"}, {"2", "twelve", "012"}, {"3", "nine", "009"}};
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ((QStringList{cell(r, 0), cell(r, 1), cell(r, 2)}), expected[r]) << r;

    const RankingModel* model = page.model();
    ASSERT_EQ(model->columnCount(), 8);
    for (int c = 0; c < model->columnCount(); ++c)
        EXPECT_EQ(list->columnWidth(c),
            StoredPlacement::toPixels(model->view().columns[static_cast<std::size_t>(c)].width, page.logicalDpiX()))
            << c;
    // 600, 2000 and 1000 twips must not come out alike.
    EXPECT_LT(list->columnWidth(0), list->columnWidth(2));
    EXPECT_LT(list->columnWidth(2), list->columnWidth(1));
}

TEST_F(RankingPageTest, TheChoiceIsTheEntrysDataNotItsText)
{
    playTimes("song", 2);
    // A chooser whose texts were translated still picks by the kind it carries.
    combo->setItemText(2, QStringLiteral("Genre"));
    pick(QStringLiteral("Genre"));
    EXPECT_EQ(page.shownRanking(), RankingKind::Genre);
    EXPECT_EQ(cell(0, 1), QStringLiteral("G"));
}

TEST_F(RankingPageTest, RowsGiveRawValuesAndTheirSong)
{
    playTimes("nine", 9);
    playTimes("ten", 10);
    pick(QStringLiteral("タイトル"));
    const QAbstractItemModel* model = list->model();
    // Counts sort as numbers ("010" and "009" as 10 and 9), dates as date values.
    EXPECT_EQ(model->index(0, 2).data(SortRole), QVariant(10.0));
    EXPECT_EQ(model->index(1, 2).data(SortRole), QVariant(9.0));
    EXPECT_EQ(model->index(1, 5).data(SortRole), QVariant(40000.5));
    EXPECT_EQ(model->index(1, 1).data(SongKeyRole).toString(), QStringLiteral("nine"));

    // An artist's row stands for no one song.
    pick(QStringLiteral("作者"));
    EXPECT_EQ(model->index(0, 1).data(SortRole).toString(), QStringLiteral("A"));
    EXPECT_FALSE(model->index(0, 1).data(SongKeyRole).isValid());
}

TEST_F(RankingPageTest, ClearRowsKeepsColumnsAndWidthsUntilTheNextPick)
{
    playTimes("song", 3);
    pick(QStringLiteral("MaxCombo"));
    const QStringList columns = headers();
    const int fullComboWidth = list->columnWidth(2);
    QAbstractItemModelTester tester(list->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);

    page.clearRows();
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_EQ(headers(), columns);
    EXPECT_EQ(list->columnWidth(2), fullComboWidth);

    // A new analysis shows its figures at the next pick, not before.
    tables.clear();
    playTimes("other", 1);
    EXPECT_EQ(list->model()->rowCount(), 0);
    pick(QStringLiteral("MaxCombo"));
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 3), QStringLiteral("other"));
}

} // namespace
} // namespace tolvane
