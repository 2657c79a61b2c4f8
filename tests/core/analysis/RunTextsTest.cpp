#include "core/analysis/RunTexts.h"
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/analysis/PlayList.h"
#include "core/log/DateValue.h"
#include "core/log/NumberText.h"
#include "support/LogText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace tolvane;

TEST(RunTexts, ConfirmationWithEveryFilterOff)
{
    const auto lines = RunTexts::confirmation("/home/p/score.txt", Filter{});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "以下の設定で解析を始めます。よろしいですか。");
    EXPECT_EQ(lines[1], "ファイル名 /home/p/score.txt");
    EXPECT_EQ(lines[2], "オートプレイを除く        いいえ");
    EXPECT_EQ(lines[3], "オートスクラッチを除く        いいえ");
    EXPECT_EQ(lines[4], "スコア制限なし");
    EXPECT_EQ(lines[5], "期間設定なし");
}

TEST(RunTexts, ConfirmationNamesEachFilterThatIsOn)
{
    Filter f;
    f.IgnoreAutoplay = true;
    f.optIgnoreAuto = 2;
    f.IgnoreScrach = true;
    f.optIgnoreScr = 1;
    f.ScoreFilter = true;
    f.MinScore = 100000;
    f.SpanFilter = true;
    f.Maxtime = makeDate(2001, 12, 31);
    auto lines = RunTexts::confirmation("score.txt", f);
    EXPECT_EQ(lines[2], "オートプレイを除く        はい  1P+2P");
    EXPECT_EQ(lines[3], "オートスクラッチを除く        はい  2P");
    EXPECT_EQ(lines[4], "100000点未満を読み込まない");
    EXPECT_EQ(lines[5], "期間設定  0:00:00から2001/12/31まで");

    f.optIgnoreAuto = 0;
    f.optIgnoreScr = 7; // a hand-edited side: the label stands alone
    f.Mintime = makeDate(2001, 5, 3, 9, 5, 7);
    lines = RunTexts::confirmation("score.txt", f);
    EXPECT_EQ(lines[2], "オートプレイを除く        はい  1P");
    EXPECT_EQ(lines[3], "オートスクラッチを除く        ");
    EXPECT_EQ(lines[5], "期間設定  2001/05/03 9:05:07から2001/12/31まで");
}

TEST(RunTexts, CompletionGivesTheSizeInWholeKilobytes)
{
    EXPECT_EQ(RunTexts::completion(1023, "00年0ヶ月0日0時間0分0秒"),
        (std::vector<std::string>{"解析が完了しました。", "ファイルサイズ     0KB", "自分が誇れるBM98歴(笑) ",
            "   00年0ヶ月0日0時間0分0秒"}));
    EXPECT_EQ(RunTexts::completion(11770, "x")[1], "ファイルサイズ     11KB");
}

TEST(RunTexts, FailureMessagesTellTheCauseAndLine)
{
    AnalysisFailure open;
    open.kind = AnalysisFailure::Kind::Open;
    open.cause = AnalysisFailure::Cause::CannotOpen;
    EXPECT_EQ(RunTexts::failure(open), (std::vector<std::string>{"Score.txtがみつかりません。"}));
    // A file that is there but cannot be read says why on a second line.
    open.detail = std::strerror(EACCES);
    EXPECT_EQ(RunTexts::failure(open),
        (std::vector<std::string>{"Score.txtがみつかりません。", "（アクセスが拒否されました）"}));
    open.detail = "Stale file handle, say";
    EXPECT_EQ(RunTexts::failure(open)[1], "（Stale file handle, say）");

    AnalysisFailure cut;
    cut.kind = AnalysisFailure::Kind::Format;
    cut.cause = AnalysisFailure::Cause::EndsInsideEntry;
    cut.line = 200;
    EXPECT_EQ(RunTexts::failure(cut),
        (std::vector<std::string>{
            "スコアファイルを解析できませんでした。", "200行目: エントリーの途中でファイルが終わっています。"}));

    AnalysisFailure none;
    none.kind = AnalysisFailure::Kind::NoPlays;
    none.cause = AnalysisFailure::Cause::NoPlays;
    const auto lines = RunTexts::failure(none);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "スコアファイルを解析できませんでした。");
    EXPECT_EQ(lines[1].find("行目"), std::string::npos);
}

TEST(RunTexts, AFileWithoutEntriesIsNotBlamedOnTheFilters)
{
    const auto run = [](std::string_view bytes, const Filter& filter) {
        Analysis a;
        return AnalysisRun(a, filter, GraphSettings{}, {}).runBytes(bytes);
    };
    const std::vector<std::string> noEntries = {"スコアファイルを解析できませんでした。",
        "このファイルにはプレイの記録がありません。プレイログではないかもしれません。"};
    for (const std::string_view bytes : {std::string_view("just text\r\nno marker\r\n"), std::string_view()}) {
        const RunOutcome none = run(bytes, Filter{});
        ASSERT_TRUE(none.failure.has_value());
        EXPECT_EQ(none.failure->kind, AnalysisFailure::Kind::NoPlays);
        EXPECT_EQ(none.message, noEntries);
    }

    // Entries the filters turn away keep the message that names the filters.
    Filter strict;
    strict.ScoreFilter = true;
    strict.MinScore = 999999;
    const RunOutcome filtered = run(tolvane::testing::logOf({{}}), strict);
    ASSERT_TRUE(filtered.failure.has_value());
    EXPECT_EQ(filtered.failure->kind, AnalysisFailure::Kind::NoPlays);
    EXPECT_EQ(filtered.message,
        (std::vector<std::string>{
            "スコアファイルを解析できませんでした。", "読み込みの設定に合うプレイがありません。"}));
}

TEST(RunTexts, ProgressTexts)
{
    EXPECT_EQ(RunTexts::readingStatus(0), "スコアファイル解析中です…   0%");
    EXPECT_EQ(RunTexts::readingCaption(40), "解析中…  40%");
    EXPECT_EQ(RunTexts::rankingStartStatus(), "ランキング計測中…     0%");
    EXPECT_EQ(RunTexts::rankingStatus(90), "ランキング計測中…    90%");
    EXPECT_EQ(RunTexts::rankingCaption(10), "計測中…\u300010%");
}

TEST(NumberText, WritesUpTo15SignificantDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(numberText(7), "7");
    EXPECT_EQ(numberText(7.5), "7.5");
    EXPECT_EQ(numberText(155.25), "155.25");
    EXPECT_EQ(numberText(133.333), "133.333");
    EXPECT_EQ(numberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(numberText(-12), "-12");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(999999999999999.0), "999999999999999");
    EXPECT_EQ(numberText(1e15), "1E+15");
    EXPECT_EQ(numberText(1e20), "1E+20");
    EXPECT_EQ(numberText(0.0001), "0.0001");
    EXPECT_EQ(numberText(0.00001), "1E-05");
    EXPECT_EQ(numberText(1.0 / 3), "0.333333333333333");
}

TEST(NumberText, ShownValuesAreWhatTheCellReadsBackAs)
{
    EXPECT_EQ(shownValue(247), 247);
    EXPECT_EQ(shownValue(1.0 / 3), 0.333333333333333);
    EXPECT_EQ(shownValue(1234567890123456789.0), 1.23456789012346e18);
}

TEST(PlayList, CellsFollowTheColumns)
{
    PlayList list;
    PlayRecord p;
    p.no = 3;
    p.dateTime = "2002/1/4 23:30:59";
    p.title = "Wave~Wave";
    p.artist = "Marine Works";
    p.genre = "ハードコア";
    p.level = 8;
    p.bpm = 133.333;
    p.totalNotes = 760;
    p.score = 126550;
    p.maxCombo = 0;
    list.append(std::move(p));
    EXPECT_EQ(list.cells(0),
        (std::array<std::string, 10>{"3", "2002/1/4 23:30:59", "Wave~Wave", "Marine Works", "ハードコア", "8",
            "133.333", "760", "126550", "0"}));
    EXPECT_EQ(PlayList::kHeaders[7], "TotalNote");
}
