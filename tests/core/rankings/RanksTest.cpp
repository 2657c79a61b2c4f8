#include "core/rankings/Ranks.h"
#include "core/rankings/RankingTables.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tolvane {
namespace {

std::vector<std::string> keysOf(const Ranks& table)
{
    std::vector<std::string> keys;
    for (const Rank& rank : table)
        keys.push_back(rank.Key);
    return keys;
}

RankedPlay play(DateValue date, std::int32_t score, std::int32_t maxCombo, double totalNotes = 500)
{
    return {"S", "Artist", "Genre", date, score, maxCombo, totalNotes};
}

TEST(RanksKeys, PresentKeyIsRefusedWithoutSideEffects)
{
    Ranks table;
    table.RankAdd("Song")->Counter = 7;
    EXPECT_EQ(table.RankAdd("Song"), nullptr);
    EXPECT_EQ(table.Count(), 1u);
    EXPECT_EQ(table.Item("Song").Counter, 7);
    EXPECT_EQ(table.RankAdd("Other")->Index, 2);

    // The empty key is no key: such records are reachable by position only.
    EXPECT_EQ(table.RankAdd("")->Index, 3);
    EXPECT_NE(table.RankAdd(""), nullptr);
    EXPECT_EQ(table.find(""), nullptr);
    EXPECT_EQ(table.Count(), 4u);
}

TEST(RanksKeys, LetterCaseFoldsButWidthAndKanaDoNot)
{
    Ranks table;
    table.RankAdd("Wave~Wave");
    EXPECT_EQ(table.RankAdd("WAVE~WAVE"), nullptr);
    table.RankAdd("ｗａｖｅ");
    EXPECT_EQ(table.RankAdd("ＷＡＶＥ"), nullptr);
    EXPECT_EQ(table.Item("wave~wave").Key, "Wave~Wave");
    EXPECT_EQ(table.Item("Ｗａｖｅ").Key, "ｗａｖｅ");

    for (const char* key : {"ABC", "ＡＢＣ", "ひかり", "ヒカリ", "＠", "｀", "［", "｛"})
        EXPECT_NE(table.RankAdd(key), nullptr) << key;
}

TEST(RanksAccess, ItemFindAndOutOfRange)
{
    Ranks table;
    Rank* first = table.RankAdd("a");
    for (int i = 0; i < 5000; ++i)
        table.RankAdd("k" + std::to_string(i));
    EXPECT_EQ(table.find("A"), first); // still valid after growth
    EXPECT_EQ(&table.Item(5001), &table.Item("K4999"));
    EXPECT_THROW(table.Item("c"), std::out_of_range);
    EXPECT_THROW(table.Item(0), std::out_of_range);
    EXPECT_THROW(table.Item(5002), std::out_of_range);
    EXPECT_THROW(table.Remove("c"), std::out_of_range);
}

TEST(RanksAccess, RemoveKeepsOrderAndLookups)
{
    Ranks table;
    for (const char* key : {"a", "b", "c", "d", "e"})
        table.RankAdd(key);
    table.Remove("B");
    table.Remove(3); // "d"
    EXPECT_EQ(keysOf(table), (std::vector<std::string>{"a", "c", "e"}));
    EXPECT_EQ(table.Item("e").Index, 5);
    EXPECT_EQ(&table.Item("c"), &table.Item(2));
    EXPECT_EQ(table.find("d"), nullptr);
    EXPECT_NE(table.RankAdd("b"), nullptr);

    table.clear();
    EXPECT_EQ(table.Count(), 0u);
    EXPECT_EQ(table.find("a"), nullptr);
    EXPECT_EQ(table.RankAdd("a")->Index, 7); // numbering goes on
}

TEST(RankingTablesRecord, BestScoreKeepsDateOfFirstReach)
{
    RankingTables tables;
    tables.record(play(100.0, 800, 0));
    tables.record(play(101.0, 900, 0));
    tables.record(play(102.0, 900, 0));
    const Rank& song = tables.songs.Item("S");
    EXPECT_EQ(song.Score, 900);
    EXPECT_EQ(song.ScoreDate, 101.0);
    EXPECT_EQ(song.FirstTime, 100.0);
    EXPECT_EQ(song.Recent, 102.0);
}

TEST(RankingTablesRecord, FullComboStaysOnceReached)
{
    RankingTables tables;
    tables.record(play(100.0, 0, 400));
    EXPECT_FALSE(tables.songs.Item("S").FullCombo);
    tables.record(play(101.0, 0, 500));
    tables.record(play(102.0, 0, 200));
    tables.record(play(103.0, 0, 600, 700)); // a new best short of the notes
    const Rank& song = tables.songs.Item("S");
    EXPECT_TRUE(song.FullCombo);
    EXPECT_EQ(song.MaxCombo, 600);
    EXPECT_EQ(song.MaxComboDate, 103.0);
}

TEST(RankingTablesRecord, FullComboOnlyWhenTheNewBestEqualsTheNotes)
{
    // A new best short of the notes is no full combo, however close.
    RankingTables tables;
    tables.record(play(100.0, 0, 499));
    tables.record(play(101.0, 0, 300, 301));
    EXPECT_FALSE(tables.songs.Item("S").FullCombo);
    tables.record(play(102.0, 0, 500, 500));
    EXPECT_TRUE(tables.songs.Item("S").FullCombo);
}

TEST(RankingTablesRecord, ZeroResultsLeaveDatesUnset)
{
    RankingTables tables;
    tables.record(play(100.0, 0, 0, 0));
    const Rank& song = tables.songs.Item("S");
    EXPECT_EQ(song.FirstTime, 100.0);
    EXPECT_EQ(song.Recent, 100.0);
    EXPECT_EQ(song.ScoreDate, 0.0);
    EXPECT_EQ(song.MaxComboDate, 0.0);
    EXPECT_FALSE(song.FullCombo);
}

TEST(RankingTablesRecord, EachTableFillsItsOwnFields)
{
    RankingTables tables;
    tables.record({"T1", "Ar", "Ge", 100.0, 10, 5, 9});
    tables.record({"T2", "AR", "GE", 101.0, 20, 6, 9});
    const Rank& artist = tables.artists.Item("ar");
    EXPECT_EQ(artist.Key, "Ar");
    EXPECT_EQ(artist.Counter, 2);
    EXPECT_EQ(artist.Title, "T2");
    EXPECT_EQ(artist.Genre, "GE");
    EXPECT_EQ(artist.FirstTime, 100.0);
    EXPECT_EQ(artist.Recent, 101.0);
    EXPECT_EQ(artist.Score, 0);

    const Rank& genre = tables.genres.Item("ge");
    EXPECT_EQ(genre.Title, "T2");
    EXPECT_EQ(genre.Artist, "AR");
    EXPECT_EQ(genre.FirstTime, 0.0);
    EXPECT_EQ(genre.Recent, 0.0);
    EXPECT_TRUE(tables.songs.Item("T1").Title.empty());
}

TEST(RankingTablesRecord, EmptyNamesShareOneRecord)
{
    RankingTables tables;
    tables.record({"", "", "", 100.0, 1, 1, 9});
    tables.record({"", "", "", 101.0, 2, 2, 9});
    EXPECT_EQ(tables.songs.Count(), 1u);
    EXPECT_EQ(tables.songs.Item("").Counter, 2);
    EXPECT_EQ(tables.artists.Item("").Counter, 2);
    EXPECT_EQ(tables.genres.Item("").Counter, 2);
}

TEST(RankingTablesRecord, CountersPast16Bits)
{
    RankingTables tables;
    for (int i = 0; i < 40000; ++i)
        tables.record(play(100.0 + i, i, 0));
    EXPECT_EQ(tables.songs.Item("S").Counter, 40000);
    EXPECT_EQ(tables.songs.Item("S").Score, 39999);
    EXPECT_EQ(tables.genres.Item("Genre").Counter, 40000);
    tables.clear();
    EXPECT_EQ(tables.songs.Count() + tables.artists.Count() + tables.genres.Count(), 0u);
}

} // namespace
} // namespace tolvane
