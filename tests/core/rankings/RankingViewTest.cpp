#include "core/rankings/RankingView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane {
namespace {

using Cells = std::vector<std::string>;

void playTimes(RankingTables& tables, std::string_view title, int times)
{
    for (int i = 0; i < times; ++i)
        tables.record({title, "A", title, 40000.5 + i, 0, 0, 0});
}

// "number:cell" for every row.
Cells numbered(const RankingView& view, std::size_t cell)
{
    Cells out;
    for (const Cells& row : view.rows)
        out.push_back(row[0] + ":" + row[cell]);
    return out;
}

TEST(RankingChooser, ExactEntriesOnly)
{
    const auto& entries = rankingChooserEntries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(rankingKindOf(entries[i]), static_cast<RankingKind>(i));
    for (std::string_view text : {"", "maxcombo", "MaxCombo ", "No."})
        EXPECT_EQ(rankingKindOf(text), std::nullopt) << text;
}

TEST(RankingViewColumns, EmptyTablesGiveHeadersOnly)
{
    const RankingView artist = buildRankingView(RankingKind::Artist, RankingTables{});
    EXPECT_TRUE(artist.rows.empty());
    EXPECT_EQ(artist.columns,
        (std::vector<RankingColumn>{{"No.", 600}, {"作者", 2000}, {"総プレイ回数", 2000}, {"最初の出会い", 2000},
            {"最近の出会い", 2000}, {"付き合った日々（爆", 2000}}));
    EXPECT_EQ(rankingColumns(RankingKind::MaxCombo)[2], (RankingColumn{"FullCombo?", 1500}));
    EXPECT_EQ(initialRankingView().columns, (std::vector<RankingColumn>{{"No.", 1000}}));
    EXPECT_TRUE(initialRankingView().rows.empty());
}

TEST(RankingViewOrder, ByNumberDescendingWithPaddedCells)
{
    RankingTables tables;
    for (auto [title, times] : {std::pair{"twelve", 12}, {"nine", 9}, {"many", 105}})
        playTimes(tables, title, times);
    EXPECT_EQ(numbered(buildRankingView(RankingKind::Title, tables), 2), (Cells{"1:105", "2:012", "3:009"}));

    RankingTables wide;
    for (auto [title, times] : {std::pair{"a", 200}, {"b", 1000}, {"c", 999}})
        playTimes(wide, title, times);
    EXPECT_EQ(numbered(buildRankingView(RankingKind::Genre, wide), 2), (Cells{"1:1000", "2:999", "3:200"}));

    RankingTables scores;
    for (std::int32_t score : {84999, 85000, 1234567, 0})
        scores.record({std::to_string(score), "A", "G", 40000, score, 0, 0});
    scores.songs.obtain("minus").score = -5; // only a hand-made record goes below zero
    EXPECT_EQ(numbered(buildRankingView(RankingKind::Score, scores), 1),
        (Cells{"1:1234567", "2:085000", "3:084999", "4:000000", "5:-000005"}));
}

TEST(RankingViewOrder, TiesKeepTableOrder)
{
    // Enough rows that an unstable sort would reorder equal counts.
    RankingTables tables;
    Cells twice, once;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "g" + std::to_string(i);
        playTimes(tables, name, i % 3 == 0 ? 2 : 1);
        (i % 3 == 0 ? twice : once).push_back(name);
    }
    twice.insert(twice.end(), once.begin(), once.end());
    const RankingView view = buildRankingView(RankingKind::Genre, tables);
    Cells order;
    for (const Cells& row : view.rows)
        order.push_back(row[1]);
    EXPECT_EQ(order, twice);
}

TEST(RankingViewCells, DatesSpansAndFullCombo)
{
    RankingTables tables;
    tables.record({"Song", "Artist", "Genre", makeDate(2001, 3, 10, 21), 0, 500, 500});
    tables.record({"Song", "Artist", "Pop", makeDate(2002, 5, 12, 23, 30, 15), 0, 400, 500});
    tables.record({"Other", "B", "H", makeDate(2002, 1, 31, 9, 5, 7), 0, 1200, 1300});
    tables.record({"Never", "C", "I", makeDate(2002, 2, 2), 0, 0, 0});
    EXPECT_EQ(buildRankingView(RankingKind::Title, tables).rows[0],
        (Cells{"1", "Song", "002", "Artist", "Pop", "2001/03/10 21:00:00", "2002/05/12 23:30:15",
            "01年 2ヶ月 4日2時間30分15秒"}));
    EXPECT_EQ(buildRankingView(RankingKind::Artist, tables).rows[0],
        (Cells{"1", "Artist", "002", "2001/03/10 21:00:00", "2002/05/12 23:30:15", "01年 2ヶ月 4日2時間30分15秒"}));
    EXPECT_EQ(buildRankingView(RankingKind::MaxCombo, tables).rows,
        (std::vector<Cells>{{"1", "1200", "", "Other", "B", "H", "2002/01/31 9:05:07"},
            {"2", "0500", "○", "Song", "Artist", "Pop", "2001/03/10 21:00:00"},
            {"3", "0000", "", "Never", "C", "I", "0:00:00"}}));
}

} // namespace
} // namespace tolvane
