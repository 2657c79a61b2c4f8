// Runs the real tolvane-report binary and checks what it prints.
#include "core/analysis/AnalysisRun.h"
#include "core/history/PlayHistory.h"
#include "core/rankings/RankingView.h"
#include "support/LogGenerator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using tolvane::testing::utf8ToCp932;

const std::string kDataDir = TOLVANE_TEST_DATA_DIR;

struct Result {
    int code = -1;
    std::string out, err;
};

std::string drain(std::FILE* f)
{
    std::rewind(f);
    std::string s;
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
        s.append(buf, n);
    std::fclose(f);
    return s;
}

// Runs the binary in cwd. Its output goes to files rather than pipes, so a
// long report never blocks on a reader.
Result run(const std::vector<std::string>& args, const std::string& cwd = kDataDir)
{
    std::vector<char*> argv{const_cast<char*>(TOLVANE_REPORT_BIN)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fileno(out), 1);
        dup2(fileno(err), 2);
        if (chdir(cwd.c_str()) == 0)
            execv(TOLVANE_REPORT_BIN, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, drain(out), drain(err)};
}

QJsonObject parse(const std::string& text)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << text;
    return doc.object();
}

QJsonObject readJson(const std::string& name)
{
    std::ifstream in(kDataDir + "/" + name, std::ios::binary);
    return parse(std::string(std::istreambuf_iterator<char>(in), {}));
}

std::string compact(const QJsonValue& v)
{
    return QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).toStdString();
}

// Names each differing member, so a failure says where to look.
testing::AssertionResult sameJson(const QJsonObject& got, const QJsonObject& want)
{
    if (got == want)
        return testing::AssertionSuccess();
    auto failure = testing::AssertionFailure();
    QStringList keys = got.keys() + want.keys();
    keys.removeDuplicates();
    for (const QString& k : keys) {
        if (got.value(k) != want.value(k))
            failure << "\n"
                    << k.toStdString() << ":\n  got  " << compact(got.value(k)) << "\n  want "
                    << compact(want.value(k));
    }
    return failure;
}

int lineCount(const std::string& s)
{
    return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

// Logs under report/ are kept as UTF-8 text with LF line ends so they read
// well; the copy the binary sees is what the game writes: CP932 with CR LF.
void installLog(const QTemporaryDir& dir, const std::string& name)
{
    std::ifstream in(kDataDir + "/report/" + name, std::ios::binary);
    std::string text;
    for (std::string line; std::getline(in, line);)
        text += line + "\r\n";
    std::ofstream(dir.filePath(QString::fromStdString(name)).toStdString(), std::ios::binary) << utf8ToCp932(text);
}

class ReportCli : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Result runHere(const std::vector<std::string>& args) const { return run(args, dir.path().toStdString()); }
};

const std::map<std::string, QString> kRankingKeys
    = {{"title", "タイトル"}, {"artist", "作者"}, {"genre", "ジャンル"}, {"score", "スコア"}, {"maxcombo", "MaxCombo"}};

TEST(ReportCliExamples, MatchTheWorkedExamples)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"small.all.json", {"--format", "json", "--view", "all", "small.txt"}},
        {"small.filtered.json",
            {"--format", "json", "--view", "all", "--ignore-autoplay", "1P+2P", "--min-score", "100000", "small.txt"}},
        {"small.level4.json",
            {"--format", "json", "--view", "charts", "--period", "4", "--at", "2002/01/02", "small.txt"}},
    };
    for (const auto& [expected, args] : cases) {
        const Result r = run(args);
        EXPECT_EQ(r.code, 0) << expected << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(sameJson(parse(r.out), readJson(expected))) << expected;
    }
    const Result r = run({"--format", "json", "--view", "all", "truncated.txt"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    const QJsonObject want = readJson("truncated.json")["error"].toObject();
    const QJsonObject got = parse(r.out)["error"].toObject();
    EXPECT_EQ(compact(got["kind"]), compact(want["kind"]));
    EXPECT_EQ(compact(got["line"]), compact(want["line"]));
}

// --skip-damaged reads the log the game cut off while it wrote, lists the cut
// entry after the accepted plays, and leaves everything else as a read
// without damage prints it.
TEST(ReportCliExamples, SkipDamagedListsTheEntriesLeftOut)
{
    const Result failed = run({"--format", "json", "--view", "summary", "truncated.txt"});
    const QJsonObject error = parse(failed.out)["error"].toObject();
    const Result r = run({"--format", "json", "--view", "summary", "--skip-damaged", "truncated.txt"});
    ASSERT_EQ(r.code, 0) << r.err;
    const QJsonObject got = parse(r.out);
    const QJsonArray skipped = got["skipped"].toArray();
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_EQ(skipped[0]["line"], error["line"]);
    EXPECT_TRUE(error["message"].toString().endsWith(skipped[0]["message"].toString())) << r.out;
    EXPECT_GT(got["entries"].toInt(), got["accepted"].toInt());
    EXPECT_LT(r.out.find("\"accepted\""), r.out.find("\"skipped\""));

    // Without damage the option adds only the empty list.
    const Result plain = run({"--format", "json", "--view", "all", "small.txt"});
    const Result skipping = run({"--format", "json", "--view", "all", "--skip-damaged", "small.txt"});
    QJsonObject withoutList = parse(skipping.out);
    EXPECT_EQ(withoutList.take("skipped"), QJsonArray());
    EXPECT_TRUE(sameJson(withoutList, parse(plain.out)));
    const Result text = run({"--skip-damaged", "truncated.txt"});
    EXPECT_NE(text.out.find("skipped   1 damaged entries"), std::string::npos) << text.out;
}

// A single view prints the file's figures and its own members, as --view all shows them.
TEST(ReportCliExamples, EachViewPrintsOnlyItsMembers)
{
    const QJsonObject all = readJson("small.all.json");
    const std::map<std::string, QStringList> views = {{"summary", {"history", "confirmation"}}, {"plays", {"plays"}},
        {"title", {}}, {"artist", {}}, {"genre", {}}, {"score", {}}, {"maxcombo", {}}, {"charts", {"charts"}}};
    for (const auto& [view, own] : views) {
        const Result r = run({"--format", "json", "--view", view, "small.txt"});
        ASSERT_EQ(r.code, 0) << view << r.err;
        QJsonObject want;
        for (const QString& k : QStringList{"file", "size_bytes", "size_kb", "entries", "accepted"} + own)
            want[k] = all[k];
        if (own.isEmpty()) {
            const QString key = kRankingKeys.at(view);
            want["rankings"] = QJsonObject{{key, all["rankings"][key]}};
        }
        EXPECT_TRUE(sameJson(parse(r.out), want)) << "--view " << view;
    }
}

// November 2001 to February 2002 with an empty month, a title in two letter
// cases, a nine-line entry, a 1P autoplay play (dropped) and a 2P
// auto-scratch play (kept by a 1P filter), a tie on score and a full combo.
TEST_F(ReportCli, HandWrittenLogWithFilters)
{
    installLog(dir, "nov2001-feb2002.txt");
    const Result r = runHere({"--format", "json", "--view", "all", "--ignore-autoplay", "1P", "--ignore-scratch", "1P",
        "nov2001-feb2002.txt"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(sameJson(parse(r.out), readJson("report/nov2001-feb2002.json")));
}

// The settings ask for 1P+2P autoplay, a MinScore that is unquoted and then
// cut to nine characters (5000), and a span; the command line takes 2P and
// --to alone, which clears the settings' Mintime. The play after --to ends
// the reading but still counts in the charts and in entries.
TEST_F(ReportCli, SettingsUnderTheCommandLineAndAMonthChart)
{
    installLog(dir, "feb2000.txt");
    const std::vector<std::string> args = {"--format", "json", "--settings", kDataDir + "/report/feb2000.ini",
        "--ignore-autoplay", "2P", "--to", "2000/02/29", "feb2000.txt"};
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--view", "all", "--period", "3", "--at", "2000/02/10"});
    const Result r = runHere(all);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(sameJson(parse(r.out), readJson("report/feb2000.json")));

    // Level 5 sets the caption to the day; the time given with --at plays no part.
    std::vector<std::string> day = args;
    day.insert(day.end(), {"--view", "charts", "--period", "5", "--at", "2000/02/10 23:00:00"});
    const Result r5 = runHere(day);
    ASSERT_EQ(r5.code, 0) << r5.err;
    QJsonArray hours;
    for (int h = 0; h < 24; ++h)
        hours.append(QJsonArray{QString::number(h), h == 22 ? "2" : "0"});
    const QJsonObject want{{"level", 5}, {"cursor", "2000/02/10"}, {"from", "2000年2月10日0時"},
        {"to", "2000年2月10日23時"}, {"caption", "2000年2月10日"}, {"rows", hours}};
    EXPECT_TRUE(sameJson(parse(r5.out)["charts"][QString("総合")].toObject(), want));
}

// Rows order by number, not text: "010" above "009", 1000000 above 999999,
// a combo of 10000 above 9999.
TEST_F(ReportCli, RankingsOrderByNumber)
{
    installLog(dir, "numeric-order.txt");
    const QJsonObject want = readJson("report/numeric-order.json");
    for (const QString& view : want.keys()) {
        const Result r = runHere({"--format", "json", "--view", view.toStdString(), "numeric-order.txt"});
        ASSERT_EQ(r.code, 0) << r.err;
        const QJsonValue rows = parse(r.out)["rankings"][kRankingKeys.at(view.toStdString())]["rows"];
        EXPECT_EQ(compact(rows), compact(want[view])) << view.toStdString();
    }
}

TEST_F(ReportCli, CsvIsUtf8WithCrLfAndQuoting)
{
    installLog(dir, "nov2001-feb2002.txt");
    Result r = runHere({"--format", "csv", "--view", "plays", "nov2001-feb2002.txt"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
        "No.,日時,タイトル,作者,ジャンル,レベル,BPM,TotalNote,Score,MaxCombo\r\n"
        "1,2001/11/03 21:15:00,Snow Drop,Kana,POP,5,140,400,120000,400\r\n"
        "2,2001/11/03 21:40:30,\"Night, \"\"Run\"\"\",DJ Q,TECHNO,7,150.5,600,90000,300\r\n"
        "3,2001/11/10 08:05:07,SNOW DROP,Kana,POP,5,140,400,150000,380\r\n"
        "4,2002/1/2 0:30:00,夜桜,ゆきんこ,和風,4,96,300,150000,120\r\n"
        "5,2002/02/14 23:59:59,\"Night, \"\"Run\"\"\",DJ Q,TECHNO,7,150.5,600,80000,599\r\n");
    r = runHere({"--format", "csv", "--view", "maxcombo", "nov2001-feb2002.txt"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
        "No.,MaxCombo,FullCombo?,タイトル,作者,ジャンル,記録日\r\n"
        "1,0599,,\"Night, \"\"Run\"\"\",DJ Q,TECHNO,2002/02/14 23:59:59\r\n"
        "2,0400,○,Snow Drop,Kana,POP,2001/11/03 21:15:00\r\n"
        "3,0120,,夜桜,ゆきんこ,和風,2002/01/02 0:30:00\r\n");
}

TEST_F(ReportCli, FailuresGiveKindAndLine)
{
    for (const char* log : {"nov2001-feb2002.txt", "no-entry.txt", "bad-date.txt", "big-score.txt", "big-combo.txt"})
        installLog(dir, log);
    struct Case {
        std::vector<std::string> args;
        std::string kind;
        QJsonValue line;
        std::string cause = {}; // the message's second line, when the case pins it
    };
    const std::vector<Case> cases = {
        {{"missing.txt"}, "open", QJsonValue::Null},
        {{"--min-score", "999999", "nov2001-feb2002.txt"}, "no_plays", QJsonValue::Null,
            "読み込みの設定に合うプレイがありません。"},
        {{"no-entry.txt"}, "no_plays", QJsonValue::Null,
            "このファイルにはプレイの記録がありません。プレイログではないかもしれません。"},
        {{"bad-date.txt"}, "format", 12}, // the second entry's date line
        {{"big-score.txt"}, "format", 18}, // the second entry's score line
        {{"big-combo.txt"}, "format", QJsonValue::Null},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--format", "json", "--view", "all"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = runHere(args);
        EXPECT_EQ(r.code, 1) << c.args.back();
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        const QJsonObject error = parse(r.out)["error"].toObject();
        EXPECT_EQ(error["kind"].toString().toStdString(), c.kind) << c.args.back();
        EXPECT_EQ(compact(error["line"]), compact(c.line)) << c.args.back();
        // A file that cannot be opened has a message of its own.
        const std::string first = error["message"].toString().section('\n', 0, 0).toStdString();
        EXPECT_EQ(first, c.kind == "open" ? "Score.txtがみつかりません。" : "スコアファイルを解析できませんでした。");
        if (!c.cause.empty()) {
            EXPECT_EQ(error["message"].toString().section('\n', 1).toStdString(), c.cause) << c.args.back();
        }
        // Without --format json the failure is the stderr line alone.
        args[1] = "csv";
        args[3] = "plays";
        const Result plain = runHere(args);
        EXPECT_EQ(plain.code, 1);
        EXPECT_EQ(plain.out, "") << c.args.back();
    }
}

// Each case: the arguments and a text the message must name ("" when none stands out).
const std::vector<std::pair<std::vector<std::string>, std::string>> kBadUsage = {
    {{"--bogus", "small.txt"}, "--bogus"},
    {{"--ignore-autoplay", "3P", "small.txt"}, "3P"},
    {{"--ignore-scratch", "both", "small.txt"}, "both"},
    {{"--from", "2001/02/30", "small.txt"}, "2001/02/30"},
    {{"--view", "charts", "--period", "3", "small.txt"}, "--at"},
    {{"--view", "charts", "--at", "2002/01/02", "small.txt"}, "--period"},
    {{"--view", "charts", "--period", "6", "--at", "2002/01/02", "small.txt"}, "6"},
    {{"--format", "csv", "--view", "all", "small.txt"}, "csv"},
    {{"--format", "csv", "small.txt"}, "csv"},
    {{"--view", "all"}, ""},
    {{"--settings", ".", "small.txt"}, "Is a directory"},
    {{"--view", "plays", "--search", "\xE3\x81", "small.txt"}, "--search"},
    {{"--from", "2002/01/02", "--to", "2001/12/31 23:59:59", "small.txt"}, "--from は --to より前の日付にしてください"},
    {{"--settings", "no-such-settings.ini", "small.txt"}, "no-such-settings.ini"},
};

TEST(ReportCliUsage, BadUsageExitsWithTwo)
{
    for (const auto& [args, named] : kBadUsage) {
        const Result r = run(args);
        EXPECT_EQ(r.code, 2) << args.front();
        EXPECT_EQ(r.out, "") << args.front();
        EXPECT_NE(r.err, "") << args.front();
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
    }
}

TEST(ReportCliUsage, BadUsagePrintsOneLine)
{
    for (const auto& [args, named] : kBadUsage) {
        const std::string err = run(args).err;
        EXPECT_EQ(lineCount(err), 1) << err;
    }
}

TEST(ReportCliUsage, SingleDashOptionIsUnknown)
{
    EXPECT_NE(run({"-x", "small.txt"}).err.find("-x"), std::string::npos);
    EXPECT_EQ(run({"-x"}).code, 2);
}

TEST(ReportCliUsage, HelpAndVersion)
{
    const Result help = run({"--help"}), version = run({"--version"});
    EXPECT_TRUE(help.code == 0 && version.code == 0);
    EXPECT_NE(help.out.find("--view"), std::string::npos);
    EXPECT_NE(version.out, "");
}

// The text layout is free; each view only has to show its figures.
TEST(ReportCliText, EveryViewPrintsItsContent)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> views = {
        {"summary", {"00年2ヶ月18日5時間17分47秒", "タイトル", "MaxCombo", "時間帯別"}},
        {"plays", {"2002/1/4 23:30:59", "Привет Мир"}}, {"title", {"この曲の寿命（爆", "Wave~Wave"}},
        {"artist", {"付き合った日々（爆"}}, {"genre", {"Drum'n'Bass"}}, {"score", {"199060"}},
        {"maxcombo", {"0760", "○"}}, {"charts", {"2001年11月", "１２月", "土曜日"}}, {"all", {"Привет Мир", "土曜日"}}};
    for (const auto& [view, texts] : views) {
        const Result r = run({"--view", view, "small.txt"});
        EXPECT_EQ(r.code, 0) << view << r.err;
        for (const std::string& t : texts)
            EXPECT_NE(r.out.find(t), std::string::npos) << "--view " << view << " lacks " << t;
    }
}

TEST(ReportCliText, SummaryShowsEveryTotalsChart)
{
    const std::string out = run({"small.txt"}).out;
    for (const char* chart : {"年別", "月別", "日別", "曜日別", "時間帯別"})
        EXPECT_NE(out.find(chart), std::string::npos) << chart;
}

TEST_F(ReportCli, GeneratedLogOfFiveThousandPlays)
{
    tolvane::testing::GeneratorOptions options;
    options.seed = 7;
    options.plays = 5000;
    std::vector<tolvane::testing::GeneratedPlay> plays;
    const std::string path = dir.filePath("score.txt").toStdString();
    tolvane::testing::writeLog(path, options, &plays);
    const auto kept = std::count_if(plays.begin(), plays.end(), [](const auto& p) { return p.autoplay != 1; });

    const Result csv = runHere({"--view", "plays", "--format", "csv", "--ignore-autoplay", "1P", "score.txt"});
    ASSERT_EQ(csv.code, 0) << csv.err;
    EXPECT_EQ(lineCount(csv.out), kept + 1);
    // An absolute path is echoed as given.
    const Result json = run({"--format", "json", "--ignore-autoplay", "1P", path});
    ASSERT_EQ(json.code, 0) << json.err;
    const QJsonObject summary = parse(json.out);
    EXPECT_EQ(summary["accepted"].toInteger(), kept);
    EXPECT_EQ(summary["entries"].toInteger(), 5000);
    EXPECT_EQ(summary["file"].toString().toStdString(), path);
    EXPECT_EQ(summary["confirmation"][1].toString().toStdString(), "ファイル名 " + path);
}

} // namespace

// The insight views on one hand-written log. In file order: two plays of
// "Wave" (the second a full combo), one of "Other", then one of "wave"
// written later from another machine but played first.
class ReportInsights : public ReportCli {
protected:
    void SetUp() override
    {
        struct Entry {
            const char *date, *title, *scoreLine, *judgeLine, *autoScratch;
        };
        const Entry entries[] = {
            {"2004/01/01 20:00:00", "Wave", ":500   Score 1000",
                "Great 400   Good 60   Bad 20   Poor 20   MaxCombo 480", "0"},
            {"2004/01/01 20:20:00", "WAVE", ":500   Score 2000", "Great 500   Good 0   Bad 0   Poor 0   MaxCombo 500",
                "1"},
            {"2004/01/03 9:00:00", "Other", ":300   Score 500", "Great 5   Good 3   Bad   MaxCombo 10", "0"},
            {"2003/12/31 23:50:00", "wave", ":500   Score 1500",
                "Great 300   Good 100   Bad 50   Poor 50   MaxCombo 100", "0"},
        };
        std::string text = "BM98 score log\r\n";
        for (const Entry& e : entries) {
            text += std::string(tolvane::testing::kMarkerLine) + "\r\nDate:" + e.date + "\r\nTitle:" + e.title
                + "   Artist:ゆきんこ\r\nGenre:和風   PlayLevel:4\r\nBPM:150\r\nAutoPlay Mode       :0\r\nAutoScratch:"
                + e.autoScratch + "\r\nTotal Notes         " + e.scoreLine + "\r\n" + e.judgeLine + "\r\n";
        }
        std::ofstream(dir.filePath("ins.txt").toStdString(), std::ios::binary) << utf8ToCp932(text);
    }

    QJsonObject json(std::vector<std::string> args)
    {
        args.insert(args.end(), {"--format", "json", "ins.txt"});
        const Result r = runHere(args);
        EXPECT_EQ(r.code, 0) << r.err;
        return parse(r.out);
    }
};

TEST_F(ReportInsights, JsonOfEachView)
{
    const QJsonObject song = json({"--view", "song", "--title", "wAVE"});
    EXPECT_EQ(song.value("accepted").toInt(), 4);
    EXPECT_TRUE(sameJson(song.value("song").toObject(), parse(R"({
        "title": "Wave", "plays": 3, "first": "2003-12-31T23:50:00", "last": "2004-01-01T20:20:00",
        "best_score": 2000, "best_score_at": "2004-01-01T20:20:00",
        "best_combo": 500, "best_combo_at": "2004-01-01T20:20:00", "full_combo": true,
        "first_full_combo": {"attempt": 3, "at": "2004-01-01T20:20:00", "days": 1},
        "per_month": [["2003-12", 1], ["2004-01", 2]],
        "attempts": {"columns": ["attempt", "at", "score", "max_combo", "total_notes", "great", "good", "bad", "poor",
                                 "autoplay", "autoscratch", "marks"],
                     "rows": [[1, "2003-12-31T23:50:00", 1500, 100, 500, 300, 100, 50, 50, 0, 0, ["best_score", "best_combo"]],
                              [2, "2004-01-01T20:00:00", 1000, 480, 500, 400, 60, 20, 20, 0, 0, ["best_combo"]],
                              [3, "2004-01-01T20:20:00", 2000, 500, 500, 500, 0, 0, 0, 0, 1,
                               ["best_score", "best_combo", "full_combo"]]]}})")));
    const QJsonObject other = json({"--view", "song", "--title", "Other"}).value("song").toObject();
    EXPECT_EQ(compact(other.value("attempts").toObject().value("rows")),
        R"([[[1,"2004-01-03T09:00:00",500,10,300,5,3,0,null,0,0,["best_score","best_combo"]]]])");
    EXPECT_EQ(other.value("first_full_combo"), QJsonValue(QJsonValue::Null));

    EXPECT_TRUE(sameJson(json({"--view", "calendar"}).value("calendar").toObject(), parse(R"({
        "days": [["2003-12-31", 1], ["2004-01-01", 2], ["2004-01-03", 1]],
        "years": [[2003, 1], [2004, 3]]})")));
    EXPECT_TRUE(
        sameJson(json({"--view", "sessions"}).value("sessions").toObject(), parse(R"({"gap_minutes": 30, "rows": [
        {"start": "2003-12-31T23:50:00", "end": "2003-12-31T23:50:00", "minutes": 0, "plays": 1, "songs": 1, "new_bests": 1},
        {"start": "2004-01-01T20:00:00", "end": "2004-01-01T20:20:00", "minutes": 20, "plays": 2, "songs": 1, "new_bests": 1},
        {"start": "2004-01-03T09:00:00", "end": "2004-01-03T09:00:00", "minutes": 0, "plays": 1, "songs": 1, "new_bests": 1}]})")));
    EXPECT_EQ(json({"--view", "sessions", "--session-gap", " 1440 "})
                  .value("sessions")
                  .toObject()
                  .value("rows")
                  .toArray()
                  .size(),
        2);
    EXPECT_TRUE(sameJson(json({"--view", "streaks"}).value("streaks").toObject(), parse(R"({
        "longest": {"days": 2, "from": "2003-12-31", "to": "2004-01-01"},
        "current": {"days": 1, "from": "2004-01-03", "to": "2004-01-03"},
        "busiest_day": {"day": "2004-01-01", "plays": 2},
        "longest_session": {"start": "2004-01-01T20:00:00", "minutes": 20, "plays": 2},
        "total_minutes": 20, "days_played": 3})")));

    // --from/--to narrow these views as the others.
    EXPECT_EQ(json({"--view", "streaks", "--from", "2004/01/01"}).value("streaks").toObject().value("days_played"), 2);
    EXPECT_EQ(
        json({"--view", "song", "--title", "wave", "--to", "2004/01/01"}).value("song").toObject().value("plays"), 2);

    // Search keeps the data-list row numbers and the accepted count.
    const QJsonObject found = json({"--view", "plays", "--search", "ＷＡＶ"});
    EXPECT_EQ(found.value("accepted").toInt(), 4);
    QStringList numbers;
    for (const QJsonValue row : found.value("plays").toArray())
        numbers << row.toArray().at(0).toString();
    EXPECT_EQ(numbers.join(","), "1,2,4");
    EXPECT_EQ(json({"--view", "plays", "--search", "none"}).value("plays").toArray().size(), 0);
}

TEST_F(ReportInsights, CsvTextAndFailures)
{
    Result r = runHere({"--view", "song", "--title", "Other", "--format", "csv", "ins.txt"});
    EXPECT_EQ(r.out,
        "attempt,at,score,max_combo,total_notes,great,good,bad,poor,autoplay,autoscratch,marks\r\n"
        "1,2004-01-03T09:00:00,500,10,300,5,3,0,,0,0,best_score best_combo\r\n");
    r = runHere({"--view", "calendar", "--format", "csv", "ins.txt"});
    EXPECT_EQ(r.out, "day,plays\r\n2003-12-31,1\r\n2004-01-01,2\r\n2004-01-03,1\r\n");
    r = runHere({"--view", "sessions", "--format", "csv", "ins.txt"});
    EXPECT_EQ(lineCount(r.out), 4);
    for (const char* view : {"song", "calendar", "sessions", "streaks"}) {
        r = runHere({"--view", view, "--title", "wave", "ins.txt"});
        EXPECT_EQ(r.code, 0) << view;
        EXPECT_GT(lineCount(r.out), 3) << view;
    }

    r = runHere({"--view", "song", "--title", "Wav", "--format", "json", "ins.txt"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lineCount(r.err), 1);
    const QJsonObject error = parse(r.out).value("error").toObject();
    EXPECT_EQ(error.value("kind").toString(), "no_song");
    EXPECT_TRUE(error.value("line").isNull());
    EXPECT_TRUE(error.value("message").toString().contains("Wav"));
    // Taken as typed: a blank around the title is part of it.
    EXPECT_EQ(runHere({"--view", "song", "--title", "Wave ", "ins.txt"}).code, 1);

    const std::vector<std::vector<std::string>> bad = {
        {"--view", "sessions", "--session-gap", "0"},
        {"--view", "sessions", "--session-gap", "1441"},
        {"--view", "streaks", "--session-gap", "30.5"},
        {"--view", "title", "--session-gap", "abc"}, // checked even where it is not used
        {"--view", "sessions", "--session-gap", ""},
        {"--view", "song"},
        {"--view", "streaks", "--format", "csv"},
        {"--view", "sessions", "--search"},
    };
    for (std::vector<std::string> args : bad) {
        args.push_back("ins.txt");
        r = runHere(args);
        EXPECT_EQ(r.code, 2) << args[1] << " " << args[2];
        EXPECT_EQ(lineCount(r.err), 1);
        EXPECT_EQ(r.out, "");
    }
    // A new option with a view that does not use it is ignored.
    EXPECT_EQ(runHere({"--view", "title", "--search", "x", "--title", "y", "--session-gap", "5", "ins.txt"}).code, 0);
}

// The window's view period, narrowed from the whole log in memory, keeps the
// same plays and rankings as the report reading the log with --from/--to.
// The plays are out of date order, as in a merged log, so the first play
// after --to ends both spans early.
TEST_F(ReportCli, TheViewPeriodAgreesWithFromAndTo)
{
    struct Entry {
        const char* date;
        const char* title;
        int score;
    };
    const Entry entries[] = {{"2003/12/31 23:59:59", "Snow", 500}, {"2004/01/01 00:00:00", "Rain", 900},
        {"2004/01/05 10:00:00", "snow", 700}, {"2003/12/20 10:00:00", "Wind", 100},
        {"2004/02/01 09:00:00", "Rain", 950}, {"2004/01/20 09:00:00", "Sun", 300},
        {"2004/03/01 09:00:00", "Snow", 800}};
    std::string text;
    for (const Entry& e : entries)
        text += std::string("[Start of Score] : 申請する時は、この行から切り取る\r\nDate:") + e.date
            + "\r\nTitle:" + e.title
            + "   Artist:Kana\r\nGenre:POP   PlayLevel:5\r\nBPM:140\r\nAutoPlay Mode       :0\r\nAutoScratch:0\r\n"
            + "Total Notes         :400   Score " + std::to_string(e.score)
            + "\r\nGreat 280   Good 120   Bad 0   Poor 0   MaxCombo 400\r\n";
    const std::string path = dir.filePath("merged.txt").toStdString();
    std::ofstream(path, std::ios::binary) << utf8ToCp932(text);

    tolvane::Analysis whole;
    ASSERT_EQ(tolvane::AnalysisRun(whole, {}, {}, {}).run(path).state, tolvane::RunOutcome::State::Completed);
    // The window narrows its history in place, span after span.
    tolvane::PlayHistory history;
    ASSERT_EQ(history.load({tolvane::LogSource{path}}, {}, {}).state, tolvane::RunOutcome::State::Completed);
    const tolvane::Analysis& inPlace = history.analysis();
    const auto chartOf = [](const tolvane::ChartRows& rows) {
        std::vector<std::vector<std::string>> out;
        for (const tolvane::ChartRow& row : rows)
            out.push_back({row.label, row.value ? std::to_string(*row.value) : std::string()});
        return out;
    };
    const std::vector<std::pair<std::string, std::string>> spans{
        {"2004/01/01", "2004/01/31"}, {"2003/12/31", ""}, {"", "2004/01/04"}, {"2004/02/01", "2004/03/01"}};
    for (const auto& [from, to] : spans) {
        std::vector<std::string> args{"--format", "json", "--view", "all"};
        tolvane::ViewSpan span;
        if (!from.empty()) {
            args.insert(args.end(), {"--from", from});
            span.from = tolvane::makeDate(
                std::stoi(from.substr(0, 4)), std::stoi(from.substr(5, 2)), std::stoi(from.substr(8, 2)));
        }
        if (!to.empty()) {
            args.insert(args.end(), {"--to", to});
            span.to
                = tolvane::makeDate(std::stoi(to.substr(0, 4)), std::stoi(to.substr(5, 2)), std::stoi(to.substr(8, 2)));
        }
        args.push_back("merged.txt");
        const Result r = runHere(args);
        ASSERT_EQ(r.code, 0) << r.err;
        const QJsonObject report = parse(r.out);
        ASSERT_TRUE(history.narrow(span));
        const std::string where = from + " - " + to;

        EXPECT_EQ(report["accepted"].toInt(), static_cast<int>(inPlace.rows.size())) << where;
        const auto rowsOf = [](const QJsonArray& rows) {
            std::vector<std::vector<std::string>> out;
            for (const QJsonValue& row : rows) {
                out.emplace_back();
                for (const QJsonValue& cell : row.toArray())
                    out.back().push_back(cell.toString().toStdString());
            }
            return out;
        };
        const QJsonObject rankings = report["rankings"].toObject();
        for (std::size_t k = 0; k < tolvane::rankingChooserEntries().size(); ++k) {
            const auto kind = static_cast<tolvane::RankingKind>(k);
            const QString key = QString::fromUtf8(tolvane::rankingChooserEntries()[k]);
            EXPECT_EQ(rowsOf(rankings[key].toObject()["rows"].toArray()),
                tolvane::buildRankingView(kind, inPlace.rankings).rows)
                << where << " " << key.toStdString();
        }
    }
    // Back to the whole log: what the run built.
    ASSERT_TRUE(history.narrow({}));
    EXPECT_EQ(inPlace.rows.size(), whole.plays.size());
    EXPECT_EQ(tolvane::buildRankingView(tolvane::RankingKind::Title, inPlace.rankings).rows,
        tolvane::buildRankingView(tolvane::RankingKind::Title, whole.rankings).rows);
    EXPECT_EQ(chartOf(inPlace.totals.year), chartOf(whole.totals.year));
    EXPECT_EQ(chartOf(inPlace.periodChart.rows), chartOf(whole.periodChart.rows));
}

// Standard output on a full disk, then closed: the reason is named, for --help too.
TEST(ReportCliOutput, AWriteThatFailsIsNamed)
{
    for (const char* args : {"--view all small.txt", "--help", "--version"}) {
        for (const auto& [redirect, reason] :
            {std::pair{">/dev/full", "No space left on device"}, {">&-", "Bad file descriptor"}}) {
            QTemporaryDir dir;
            const std::string errFile = dir.filePath("err").toStdString();
            const std::string command = std::string("cd ") + kDataDir + " && " + TOLVANE_REPORT_BIN + " " + args + " 2>"
                + errFile + " " + redirect + "; echo $?";
            std::FILE* shell = ::popen(command.c_str(), "r");
            char code[16] = {};
            EXPECT_EQ(std::fread(code, 1, sizeof code - 1, shell), 2u);
            ::pclose(shell);
            EXPECT_EQ(code[0], '1') << args;
            std::ifstream in(errFile);
            const std::string err((std::istreambuf_iterator<char>(in)), {});
            EXPECT_EQ(err, std::string("tolvane-report: 書き込めません: ") + reason + "\n") << args;
        }
    }
}

TEST_F(ReportCli, CsvSafeKeepsFormulasFromRunningAndTheDefaultStaysExact)
{
    const std::string entry = "[Start of Score] : 申請する時は、この行から切り取る\r\nDate:2001/05/03 12:00:00\r\n"
                              "Title:=HYPERLINK(\"http://x\")   Artist:@Me\r\nGenre:-Core   PlayLevel:-3\r\n"
                              "BPM:120\r\nAutoPlay Mode       :0\r\nAutoScratch:0\r\n"
                              "Total Notes         :300   Score 1000\r\n"
                              "Great 210   Good 90   Bad 5   Poor 11   MaxCombo 166\r\n";
    std::ofstream(dir.filePath("f.txt").toStdString(), std::ios::binary) << utf8ToCp932(entry);
    const std::string plain = runHere({"--format", "csv", "--view", "plays", "f.txt"}).out;
    EXPECT_NE(plain.find("\n1,2001/05/03 12:00:00,\"=HYPERLINK(\"\"http://x\"\")\",@Me,-Core,-3,"), std::string::npos)
        << plain;
    const std::string safe = runHere({"--format", "csv", "--view", "plays", "--csv-safe", "f.txt"}).out;
    EXPECT_NE(safe.find("\n1,2001/05/03 12:00:00,\"'=HYPERLINK(\"\"http://x\"\")\",'@Me,'-Core,-3,"), std::string::npos)
        << safe;
    EXPECT_NE(
        runHere({"--format", "csv", "--view", "artist", "--csv-safe", "f.txt"}).out.find(",'@Me,"), std::string::npos);
}

TEST_F(ReportCli, ALogThatIsThereButCannotBeReadNamesTheReason)
{
    const Result r = runHere({"."});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "tolvane-report: .: Score.txtがみつかりません。 （ファイルではなくフォルダーです）\n");
}

// The records and year views on a hand-written log, worked out by hand. In
// date order: Snow twice in 2003 (the second a new best score, in a session
// that runs past New Year), 2004 with ties on plays between songs, genres
// and busiest days, nothing in 2005, two plays in 2006 and one in 2007 that
// only continues 2006's last session. The file holds them out of order.
class ReportReview : public ReportCli {
protected:
    void SetUp() override { installLog(dir, "review.txt"); }

    Result review(std::vector<std::string> args)
    {
        args.push_back("review.txt");
        return runHere(args);
    }
    QJsonObject json(std::vector<std::string> args)
    {
        args.insert(args.end(), {"--format", "json"});
        const Result r = review(args);
        EXPECT_EQ(r.code, 0) << r.err;
        return parse(r.out);
    }
};

TEST_F(ReportReview, RecordsAndYearAsWorkedOut)
{
    EXPECT_TRUE(sameJson(json({"--view", "records"}).value("records").toObject(), parse(R"({
        "columns": ["at", "title", "attempt", "score", "previous_score", "max_combo", "previous_combo", "marks"],
        "rows": [["2003-12-31T23:50:00", "snow", 2, 1200, 1000, 90, 100, ["best_score"]],
                 ["2004-01-01T00:10:00", "Rain", 1, 800, null, 300, null, ["first_full_combo"]],
                 ["2004-01-01T20:30:00", "snow", 4, 1500, 1200, 500, 100, ["best_score", "best_combo", "first_full_combo"]],
                 ["2004-01-03T10:00:00", "Wind", 2, 700, 700, 60, 50, ["best_combo"]],
                 ["2004-01-03T10:30:00", "Rain", 2, 900, 800, 300, 300, ["best_score"]],
                 ["2006-05-05T09:00:00", "Wind", 3, 800, 700, 40, 60, ["best_score"]]],
        "per_month": [["2003-12", 1], ["2004-01", 4], ["2004-02", 0], ["2004-03", 0], ["2004-04", 0], ["2004-05", 0],
            ["2004-06", 0], ["2004-07", 0], ["2004-08", 0], ["2004-09", 0], ["2004-10", 0], ["2004-11", 0],
            ["2004-12", 0], ["2005-01", 0], ["2005-02", 0], ["2005-03", 0], ["2005-04", 0], ["2005-05", 0],
            ["2005-06", 0], ["2005-07", 0], ["2005-08", 0], ["2005-09", 0], ["2005-10", 0], ["2005-11", 0],
            ["2005-12", 0], ["2006-01", 0], ["2006-02", 0], ["2006-03", 0], ["2006-04", 0], ["2006-05", 1],
            ["2006-06", 0], ["2006-07", 0], ["2006-08", 0], ["2006-09", 0], ["2006-10", 0], ["2006-11", 0],
            ["2006-12", 0], ["2007-01", 0]]})")));

    const QJsonObject y2004 = json({"--view", "year", "--year", " 2004 "});
    EXPECT_EQ(y2004.value("accepted").toInt(), 13);
    EXPECT_TRUE(sameJson(y2004.value("year").toObject(), parse(R"({
        "year": 2004, "plays": 8, "days_played": 4, "sessions": 5, "minutes": 60,
        "songs": 3, "new_songs": 2, "artists": 2, "genres": 3, "records": 4, "first_full_combos": 2,
        "top_songs": [["Rain", 3], ["snow", 3], ["Wind", 2]],
        "top_artists": [["KANA", 5], ["DJ Q", 3]],
        "top_genres": [["TECHNO", 3], ["POP", 3], ["JAZZ", 2]],
        "per_month": [["2004-01", 7], ["2004-02", 0], ["2004-03", 1], ["2004-04", 0], ["2004-05", 0], ["2004-06", 0],
                      ["2004-07", 0], ["2004-08", 0], ["2004-09", 0], ["2004-10", 0], ["2004-11", 0], ["2004-12", 0]],
        "per_weekday": [0, 0, 0, 1, 3, 1, 3],
        "per_hour": [1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 1],
        "busiest_day": {"day": "2004-01-01", "plays": 3},
        "longest_streak": {"days": 3, "from": "2004-01-01", "to": "2004-01-03"},
        "longest_session": {"start": "2004-01-01T20:00:00", "minutes": 30, "plays": 2},
        "previous_year": {"year": 2003, "plays": 2, "days_played": 2, "sessions": 2, "minutes": 20}})")));

    // Without --year: the last play in date order, not in the file.
    const QJsonObject last = json({"--view", "year"}).value("year").toObject();
    EXPECT_EQ(last.value("year").toInt(), 2007);
    EXPECT_EQ(last.value("sessions").toInt(), 0);
    EXPECT_TRUE(last.value("longest_session").isNull());
    EXPECT_EQ(
        compact(last.value("previous_year")), R"([{"days_played":2,"minutes":15,"plays":2,"sessions":2,"year":2006}])");
    EXPECT_EQ(compact(json({"--view", "year", "--year", "2006"}).value("year").toObject().value("previous_year")),
        R"([{"days_played":0,"minutes":0,"plays":0,"sessions":0,"year":2005}])");
    // With a day's gap 2004's plays up to 3 January belong to the session begun
    // on New Year's Eve; the records keep to the span.
    EXPECT_EQ(json({"--view", "year", "--year", "2004", "--session-gap", "1440"}).value("year")["sessions"].toInt(), 1);
    EXPECT_EQ(json({"--view", "records", "--from", "2004/01/02"}).value("records")["rows"].toArray().size(), 3);
}

TEST_F(ReportReview, CsvTextFailuresAndBadUsage)
{
    // The file's fourth play, after --to, ends the reading.
    Result r = review({"--view", "records", "--format", "csv", "--to", "2004/01/01"});
    EXPECT_EQ(r.out,
        "at,title,attempt,score,previous_score,max_combo,previous_combo,marks\r\n"
        "2003-12-31T23:50:00,snow,2,1200,1000,90,100,best_score\r\n"
        "2004-01-01T00:10:00,Rain,1,800,,300,,first_full_combo\r\n");
    r = review({"--view", "records"});
    EXPECT_NE(r.out.find("best_score best_combo first_full_combo"), std::string::npos) << r.out;
    r = review({"--view", "year", "--year", "2004"});
    for (const char* text : {"2004", "8  (2003: 2, +6)", "TECHNO", "2004/01/01 20:00:00"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;

    r = review({"--view", "year", "--year", "2005", "--format", "json"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lineCount(r.err), 1);
    const QJsonObject error = parse(r.out).value("error").toObject();
    EXPECT_EQ(error.value("kind").toString(), "no_year");
    EXPECT_TRUE(error.value("line").isNull());
    EXPECT_TRUE(error.value("message").toString().contains("2005"));
    EXPECT_EQ(review({"--view", "year", "--year", "1"}).code, 1);
    EXPECT_EQ(review({"--view", "year", "--year", "2004", "--from", "2006/01/01"}).code, 1);

    for (const char* year : {"0", "10000", "-1", "+2004", "2004.0", "20a4", "", "\t2004", "２００４"}) {
        r = review({"--view", "year", "--year", year});
        EXPECT_EQ(r.code, 2) << year;
        EXPECT_EQ(lineCount(r.err), 1) << year;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(review({"--view", "year", "--format", "csv"}).code, 2);
    EXPECT_EQ(review({"--view", "title", "--year", "x"}).code, 2); // checked where it is not used
    EXPECT_EQ(review({"--view", "title", "--year", "2005"}).code, 0); // then ignored
    EXPECT_EQ(review({"--view", "year", "--year", "0002004"}).code, 0);
}
