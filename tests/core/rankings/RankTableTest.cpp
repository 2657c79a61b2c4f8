#include "core/rankings/RankTable.h"
#include "core/rankings/RankingTables.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tolvane {
namespace {

std::vector<std::string> keysOf(const RankTable& table)
{
    std::vector<std::string> keys;
    for (const Rank& rank : table)
        keys.push_back(rank.key);
    return keys;
}

RankedPlay play(DateValue date, std::int32_t score, std::int32_t maxCombo, double totalNotes = 500)
{
    return {"S", "Artist", "Genre", date, score, maxCombo, totalNotes};
}

TEST(RankTableKeys, PresentKeyIsRefusedWithoutSideEffects)
{
    RankTable table;
    table.insert("Song")->plays = 7;
    EXPECT_EQ(table.insert("Song"), nullptr);
    EXPECT_EQ(table.size(), 1u);
    EXPECT_EQ(table.at("Song").plays, 7);
    EXPECT_EQ(table.insert("Other")->number, 2);

    // The empty key is no key: such records are reachable by position only.
    EXPECT_EQ(table.insert("")->number, 3);
    EXPECT_NE(table.insert(""), nullptr);
    EXPECT_EQ(table.find(""), nullptr);
    EXPECT_EQ(table.size(), 4u);
}

TEST(RankTableKeys, LetterCaseFoldsButWidthAndKanaDoNot)
{
    RankTable table;
    table.insert("Wave~Wave");
    EXPECT_EQ(table.insert("WAVE~WAVE"), nullptr);
    table.insert("ｗａｖｅ");
    EXPECT_EQ(table.insert("ＷＡＶＥ"), nullptr);
    EXPECT_EQ(table.at("wave~wave").key, "Wave~Wave");
    EXPECT_EQ(table.at("Ｗａｖｅ").key, "ｗａｖｅ");

    for (const char* key : {"ABC", "ＡＢＣ", "ひかり", "ヒカリ", "＠", "｀", "［", "｛"})
        EXPECT_NE(table.insert(key), nullptr) << key;
}

TEST(RanksAccess, ItemFindAndOutOfRange)
{
    RankTable table;
    Rank* first = table.insert("a");
    for (int i = 0; i < 5000; ++i)
        table.insert("k" + std::to_string(i));
    EXPECT_EQ(table.find("A"), first); // still valid after growth
    EXPECT_EQ(&table.at(5001), &table.at("K4999"));
    EXPECT_THROW(table.at("c"), std::out_of_range);
    EXPECT_THROW(table.at(0), std::out_of_range);
    EXPECT_THROW(table.at(5002), std::out_of_range);
    EXPECT_THROW(table.remove("c"), std::out_of_range);
}

TEST(RanksAccess, RemoveKeepsOrderAndLookups)
{
    RankTable table;
    for (const char* key : {"a", "b", "c", "d", "e"})
        table.insert(key);
    table.remove("B");
    table.remove(3); // "d"
    EXPECT_EQ(keysOf(table), (std::vector<std::string>{"a", "c", "e"}));
    EXPECT_EQ(table.at("e").number, 5);
    EXPECT_EQ(&table.at("c"), &table.at(2));
    EXPECT_EQ(table.find("d"), nullptr);
    EXPECT_NE(table.insert("b"), nullptr);

    table.clear();
    EXPECT_EQ(table.size(), 0u);
    EXPECT_EQ(table.find("a"), nullptr);
    EXPECT_EQ(table.insert("a")->number, 7); // numbering goes on
}

TEST(RankingTablesRecord, BestScoreKeepsDateOfFirstReach)
{
    RankingTables tables;
    tables.record(play(100.0, 800, 0));
    tables.record(play(101.0, 900, 0));
    tables.record(play(102.0, 900, 0));
    const Rank& song = tables.songs.at("S");
    EXPECT_EQ(song.score, 900);
    EXPECT_EQ(song.scoreDate, 101.0);
    EXPECT_EQ(song.firstPlayed, 100.0);
    EXPECT_EQ(song.lastPlayed, 102.0);
}

TEST(RankingTablesRecord, FullComboStaysOnceReached)
{
    RankingTables tables;
    tables.record(play(100.0, 0, 400));
    EXPECT_FALSE(tables.songs.at("S").fullCombo);
    tables.record(play(101.0, 0, 500));
    tables.record(play(102.0, 0, 200));
    tables.record(play(103.0, 0, 600, 700)); // a new best short of the notes
    const Rank& song = tables.songs.at("S");
    EXPECT_TRUE(song.fullCombo);
    EXPECT_EQ(song.maxCombo, 600);
    EXPECT_EQ(song.maxComboDate, 103.0);
}

TEST(RankingTablesRecord, FullComboOnlyWhenTheNewBestEqualsTheNotes)
{
    // A new best short of the notes is no full combo, however close.
    RankingTables tables;
    tables.record(play(100.0, 0, 499));
    tables.record(play(101.0, 0, 300, 301));
    EXPECT_FALSE(tables.songs.at("S").fullCombo);
    tables.record(play(102.0, 0, 500, 500));
    EXPECT_TRUE(tables.songs.at("S").fullCombo);
}

TEST(RankingTablesRecord, ZeroResultsLeaveDatesUnset)
{
    RankingTables tables;
    tables.record(play(100.0, 0, 0, 0));
    const Rank& song = tables.songs.at("S");
    EXPECT_EQ(song.firstPlayed, 100.0);
    EXPECT_EQ(song.lastPlayed, 100.0);
    EXPECT_EQ(song.scoreDate, 0.0);
    EXPECT_EQ(song.maxComboDate, 0.0);
    EXPECT_FALSE(song.fullCombo);
}

TEST(RankingTablesRecord, EachTableFillsItsOwnFields)
{
    RankingTables tables;
    tables.record({"T1", "Ar", "Ge", 100.0, 10, 5, 9});
    tables.record({"T2", "AR", "GE", 101.0, 20, 6, 9});
    const Rank& artist = tables.artists.at("ar");
    EXPECT_EQ(artist.key, "Ar");
    EXPECT_EQ(artist.plays, 2);
    EXPECT_EQ(artist.title, "T2");
    EXPECT_EQ(artist.genre, "GE");
    EXPECT_EQ(artist.firstPlayed, 100.0);
    EXPECT_EQ(artist.lastPlayed, 101.0);
    EXPECT_EQ(artist.score, 0);

    const Rank& genre = tables.genres.at("ge");
    EXPECT_EQ(genre.title, "T2");
    EXPECT_EQ(genre.artist, "AR");
    EXPECT_EQ(genre.firstPlayed, 0.0);
    EXPECT_EQ(genre.lastPlayed, 0.0);
    EXPECT_TRUE(tables.songs.at("T1").title.empty());
}

TEST(RankingTablesRecord, EmptyNamesShareOneRecord)
{
    RankingTables tables;
    tables.record({"", "", "", 100.0, 1, 1, 9});
    tables.record({"", "", "", 101.0, 2, 2, 9});
    EXPECT_EQ(tables.songs.size(), 1u);
    EXPECT_EQ(tables.songs.at("").plays, 2);
    EXPECT_EQ(tables.artists.at("").plays, 2);
    EXPECT_EQ(tables.genres.at("").plays, 2);
}

TEST(RankingTablesRecord, CountersPast16Bits)
{
    RankingTables tables;
    for (int i = 0; i < 40000; ++i)
        tables.record(play(100.0 + i, i, 0));
    EXPECT_EQ(tables.songs.at("S").plays, 40000);
    EXPECT_EQ(tables.songs.at("S").score, 39999);
    EXPECT_EQ(tables.genres.at("Genre").plays, 40000);
    tables.clear();
    EXPECT_EQ(tables.songs.size() + tables.artists.size() + tables.genres.size(), 0u);
}

} // namespace
} // namespace tolvane
