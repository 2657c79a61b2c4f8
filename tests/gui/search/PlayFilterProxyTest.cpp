// The data list's search, filters and header sorting over a PlayListModel.
#include "gui/search/PlayFilterProxy.h"
#include "core/analysis/PlayList.h"
#include "gui/files/AddedPlays.h"
#include "gui/models/ItemRoles.h"
#include "gui/models/PlayListModel.h"
#include "gui/search/HeaderSorting.h"
#include "gui/search/SearchBar.h"
#include "support/GuiTest.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace tolvane {
namespace {

struct Row {
    std::string title;
    int score = 0;
    double level = 5;
    int autoplay = 0;
    std::string date = "2001/05/03 12:00:00";
    DateValue dateValue = 37014.5;
    std::string artist = "作者";
    std::string genre = "ジャンル";
};

class PlayFilterProxyTest : public ::testing::Test {
protected:
    void SetUp() override { testing::ensureApplication(); }

    void load(const std::vector<Row>& rows, bool announce = true)
    {
        auto no = static_cast<int>(plays.size());
        // The records' texts live in the play list's own pool, as the reader puts them.
        TextPool& texts = *plays.texts();
        for (const Row& r : rows) {
            PlayRecord p;
            p.no = ++no;
            p.dateTime = texts.keep(r.date);
            p.title = texts.intern(r.title);
            p.artist = texts.intern(r.artist);
            p.genre = texts.intern(r.genre);
            p.level = r.level;
            p.score = r.score;
            p.date = r.dateValue;
            p.autoplay = static_cast<std::int8_t>(r.autoplay);
            plays.append(std::move(p));
        }
        if (announce)
            model.syncRows();
    }

    // The shown rows' "No." values, top to bottom.
    std::vector<int> shownNumbers() const
    {
        std::vector<int> out;
        for (int r = 0; r < proxy.rowCount(); ++r)
            out.push_back(proxy.index(r, PlayListModel::No).data().toInt());
        return out;
    }

    PlayList plays;
    PlayListModel model{plays};
    PlayFilterProxy proxy{plays};
    QAbstractItemModelTester tester{&proxy, QAbstractItemModelTester::FailureReportingMode::Fatal};

    void attach() { proxy.setSourceModel(&model); }
};

TEST_F(PlayFilterProxyTest, SearchIgnoresCaseAndWidthAndCountsTheRows)
{
    attach();
    load({{"Wave~Wave"}, {"WAVE RUNNER"}, {"Breeze"}, {"ﾊﾟﾗﾀﾞｲｽ"}, {"Calm"}});
    proxy.setSearchText(QStringLiteral("ｗａｖｅ"));
    EXPECT_EQ(shownNumbers(), (std::vector<int>{1, 2}));
    EXPECT_EQ(proxy.countText(), QStringLiteral("2 / 5 件"));

    proxy.setSearchText(QStringLiteral("パラ"));
    EXPECT_EQ(shownNumbers(), (std::vector<int>{4}));

    // Artist and genre count as well.
    proxy.setSearchText(QStringLiteral("ジャンル"));
    EXPECT_EQ(proxy.rowCount(), 5);

    proxy.setSearchText(QStringLiteral("nothing like it"));
    EXPECT_EQ(proxy.rowCount(), 0);
    EXPECT_EQ(proxy.countText(), QStringLiteral("0 / 5 件"));

    // Rows the analysis appends later are matched against the search in force.
    proxy.setSearchText(QStringLiteral("wave"));
    load({{"Tidal wave"}});
    EXPECT_EQ(shownNumbers(), (std::vector<int>{1, 2, 6}));

    proxy.setSearchText({});
    EXPECT_EQ(proxy.countText(), QStringLiteral("6 / 6 件"));
    EXPECT_EQ(playCountText(1207, 20000), QStringLiteral("1,207 / 20,000 件"));
}

TEST_F(PlayFilterProxyTest, LevelRangeAndAutoplayThroughTheBar)
{
    attach();
    load({{"a", 0, 3}, {"b", 0, 7, 1}, {"c", 0, 9}, {"d", 0, 12, 1}});
    SearchBar bar;
    bar.drive(proxy);
    QSignalSpy counted(&proxy, &PlayFilterProxy::countChanged);

    bar.findChild<QCheckBox*>(QStringLiteral("levelRangeEnabled"))->setChecked(true);
    bar.findChild<QDoubleSpinBox*>(QStringLiteral("minLevel"))->setValue(7);
    bar.findChild<QDoubleSpinBox*>(QStringLiteral("maxLevel"))->setValue(9);
    EXPECT_EQ(shownNumbers(), (std::vector<int>{2, 3}));
    bar.findChild<QComboBox*>(QStringLiteral("autoplayFilter"))->setCurrentIndex(1); // without autoplay
    EXPECT_EQ(shownNumbers(), (std::vector<int>{3}));
    bar.findChild<QCheckBox*>(QStringLiteral("levelRangeEnabled"))->setChecked(false);
    bar.findChild<QComboBox*>(QStringLiteral("autoplayFilter"))->setCurrentIndex(2); // autoplay only
    EXPECT_EQ(shownNumbers(), (std::vector<int>{2, 4}));
    EXPECT_GE(counted.count(), 4);

    // Typing filters at once; Esc in the field clears it.
    auto* field = bar.findChild<QLineEdit*>(QStringLiteral("searchField"));
    QTest::keyClicks(field, QStringLiteral("D"));
    EXPECT_EQ(shownNumbers(), (std::vector<int>{4}));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(shownNumbers(), (std::vector<int>{2, 4}));
}

TEST_F(PlayFilterProxyTest, HeaderClicksSortStablyThenGiveBackFileOrder)
{
    attach();
    // Dates whose text order is not their date order; titles whose byte order
    // is not their case-free order; equal scores spread over the file.
    load({{"banana", 500, 5, 0, "2001/10/01 00:00:00", 37165}, {"Apple", 700, 5, 0, "2001/9/30 00:00:00", 37164},
        {"cherry", 500, 5, 0, "2001/11/01 00:00:00", 37196}, {"apple", 900, 5, 0, "2001/1/01 00:00:00", 36892},
        {"Banana", 500, 5, 0, "2001/2/01 00:00:00", 36923}});
    QTableView view;
    view.setModel(&proxy);
    proxy.setSortRole(SortRole);
    view.resize(900, 300);
    view.show();
    HeaderSorting sorting(view, HeaderSorting::fileOrderText());
    auto click = [&](int column) {
        QHeaderView* header = view.horizontalHeader();
        const QPoint at(
            header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };

    // Number and date columns start with the highest.
    click(PlayListModel::Score);
    EXPECT_EQ(shownNumbers(), (std::vector<int>{4, 2, 1, 3, 5})); // ties still in file order
    EXPECT_EQ(view.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    click(PlayListModel::Score);
    EXPECT_EQ(shownNumbers(), (std::vector<int>{1, 3, 5, 2, 4}));
    click(PlayListModel::Score);
    EXPECT_EQ(shownNumbers(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(view.horizontalHeader()->sortIndicatorSection(), -1);

    click(PlayListModel::Title);
    EXPECT_EQ(shownNumbers(), (std::vector<int>{2, 4, 1, 5, 3}));
    click(PlayListModel::DateTime);
    EXPECT_EQ(shownNumbers(), (std::vector<int>{3, 1, 2, 5, 4}));

    // A sort holds while the search changes, and the filter holds while it sorts.
    proxy.setSearchText(QStringLiteral("APPLE"));
    EXPECT_EQ(shownNumbers(), (std::vector<int>{2, 4}));
    sorting.restoreOrder();
    EXPECT_EQ(shownNumbers(), (std::vector<int>{2, 4}));
}

TEST_F(PlayFilterProxyTest, PlaysAddedToASortedListLandInOrderAndTheSelectionStays)
{
    attach();
    proxy.setSortRole(SortRole);
    load({{"a", 500}, {"b", 700}, {"c", 300}});
    QTableView view;
    view.setModel(&proxy);
    view.setSortingEnabled(true);
    view.sortByColumn(PlayListModel::Score, Qt::DescendingOrder);
    view.selectRow(1); // play 1, score 500
    // One play at a time, and a batch large enough to be sorted in one go.
    for (const int count : {1, 200}) {
        std::vector<Row> added;
        for (int i = 0; i < count; ++i)
            added.push_back({"n", (i * 37) % 1000});
        load(added, false);
        showAddedPlays(model, view);
        ASSERT_EQ(proxy.rowCount(), static_cast<int>(plays.size()));
        for (int r = 1; r < proxy.rowCount(); ++r) {
            const int above = proxy.index(r - 1, PlayListModel::Score).data(SortRole).toInt();
            const int below = proxy.index(r, PlayListModel::Score).data(SortRole).toInt();
            ASSERT_TRUE(above > below
                || (above == below
                    && proxy.index(r - 1, PlayListModel::No).data().toInt()
                        < proxy.index(r, PlayListModel::No).data().toInt()))
                << "rows " << r - 1 << " and " << r;
        }
        const QModelIndexList selected = view.selectionModel()->selectedRows(PlayListModel::No);
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.front().data().toInt(), 1);
    }
}

} // namespace
} // namespace tolvane
