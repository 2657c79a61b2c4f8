#include <gtest/gtest.h>

#include "support/LogGenerator.h"

#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace tolvane::testing {
namespace {

// Converted here with iconv directly, not through the generator's helpers,
// so a bug there cannot hide itself.
std::string iconvConvert(const std::string& in, const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv_open");
    std::string out(in.size() * 2 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    const int err = errno;
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        throw std::runtime_error("iconv failed, errno " + std::to_string(err));
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

std::string decodeCp932(const std::string& bytes)
{
    return iconvConvert(bytes, "UTF-8", "CP932");
}

std::vector<std::string> splitLines(const std::string& text, const std::string& eol)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(eol, start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + eol.size();
    }
    return lines;
}

bool startsWith(const std::string& s, std::string_view prefix)
{
    return s.rfind(prefix, 0) == 0;
}

int toInt(std::string_view s)
{
    int value = -1;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size())
        throw std::runtime_error("not an integer: " + std::string(s));
    return value;
}

bool isLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysIn(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return days[m - 1] + (m == 2 && isLeap(y) ? 1 : 0);
}

// Parses "yyyy/m/d hh:mm:ss" with or without padding of the month and day.
std::tuple<int, int, int, int, int, int> parseDate(const std::string& s)
{
    int y, mo, d, h, mi, se;
    char tail;
    if (std::sscanf(s.c_str(), "%4d/%2d/%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &se, &tail) != 6)
        throw std::runtime_error("bad date " + s);
    return {y, mo, d, h, mi, se};
}

GeneratorOptions busyOptions()
{
    GeneratorOptions o;
    o.seed = 42;
    o.plays = 3000;
    o.junkRate = 0.1;
    o.nineLineRate = 0.2;
    o.autoplayRate = 0.05;
    o.autoScratchRate = 0.05;
    o.caseVariantRate = 0.2;
    o.songs = 200;
    return o;
}

TEST(LogGenerator, SameSeedGivesSameBytes)
{
    GeneratorOptions o;
    o.plays = 500;
    const GeneratedLog a = generateLog(o);
    const GeneratedLog b = generateLog(o);
    EXPECT_EQ(a.bytes, b.bytes);
    EXPECT_EQ(a.plays, b.plays);

    o.seed = 2;
    const GeneratedLog c = generateLog(o);
    EXPECT_NE(a.bytes, c.bytes);
}

TEST(LogGenerator, SameSeedGivesSamePoolWhateverThePlayCount)
{
    GeneratorOptions o;
    o.plays = 10;
    const auto small = songPool(o);
    o.plays = 5000;
    const auto large = songPool(o);
    ASSERT_EQ(small.size(), large.size());
    for (std::size_t i = 0; i < small.size(); ++i)
        EXPECT_EQ(small[i].titleVariants, large[i].titleVariants);
}

TEST(LogGenerator, LinesFollowTheEntryLayout)
{
    const GeneratorOptions o = busyOptions();
    const GeneratedLog log = generateLog(o);
    ASSERT_EQ(log.plays.size(), static_cast<std::size_t>(o.plays));
    const std::vector<std::string> lines = splitLines(decodeCp932(log.bytes), "\r\n");
    const std::string marker(kMarkerLine);

    std::vector<std::size_t> markers;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == marker)
            markers.push_back(i);
    ASSERT_EQ(markers.size(), log.plays.size());

    const auto pool = songPool(o);
    int unpadded = 0, nine = 0, autoplay = 0, autoScratch = 0, variants = 0, decimalBpm = 0;
    int fullCombo = 0, zeroScore = 0, blankMarkers = 0;
    for (const std::string& line : lines)
        if (line == marker + " " || line == " " + marker)
            ++blankMarkers;

    std::tuple<int, int, int, int, int, int> previous{};
    for (std::size_t k = 0; k < markers.size(); ++k) {
        const GeneratedPlay& p = log.plays[k];
        const std::size_t m = markers[k];
        SCOPED_TRACE("play " + std::to_string(k) + " at line " + std::to_string(m + 1));
        ASSERT_EQ(p.markerLine, static_cast<long>(m + 1));
        ASSERT_LT(m + 8, lines.size());

        ASSERT_TRUE(startsWith(lines[m + 1], "Date:"));
        EXPECT_EQ(lines[m + 1].substr(5), p.dateTime);
        const auto date = parseDate(p.dateTime);
        EXPECT_EQ(date, std::make_tuple(p.year, p.month, p.day, p.hour, p.minute, p.second));
        EXPECT_GE(p.day, 1);
        EXPECT_LE(p.day, daysIn(p.year, p.month));
        EXPECT_LT(p.hour, 24);
        if (k > 0) {
            EXPECT_LT(previous, date);
        }
        previous = date;
        if (p.dateTime.size() < 19)
            ++unpadded;

        EXPECT_EQ(lines[m + 2], "Title:" + p.title + "   Artist:" + p.artist);
        EXPECT_EQ(lines[m + 3], "Genre:" + p.genre + "   PlayLevel:" + std::to_string(p.level));
        EXPECT_GE(p.level, 1);
        EXPECT_LE(p.level, 12);

        ASSERT_TRUE(startsWith(lines[m + 4], "BPM:"));
        double bpm = 0;
        const std::string bpmText = lines[m + 4].substr(4);
        std::from_chars(bpmText.data(), bpmText.data() + bpmText.size(), bpm);
        EXPECT_EQ(bpm, p.bpm);
        if (bpmText.find('.') != std::string::npos)
            ++decimalBpm;

        const std::string& autoLine = lines[m + 5];
        ASSERT_EQ(autoLine.size(), 22u);
        EXPECT_TRUE(startsWith(autoLine, "AutoPlay Mode       :"));
        EXPECT_EQ(autoLine[21] - '0', p.autoplay);
        const std::string& scratchLine = lines[m + 6];
        ASSERT_EQ(scratchLine.size(), 13u);
        EXPECT_TRUE(startsWith(scratchLine, "AutoScratch:"));
        EXPECT_EQ(scratchLine[12] - '0', p.autoScratch);

        EXPECT_EQ(lines[m + 7],
            "Total Notes         :" + std::to_string(p.totalNotes) + "   Score " + std::to_string(p.score));

        std::string last = lines[m + 8];
        if (!startsWith(last, "Great ")) {
            ++nine;
            EXPECT_TRUE(startsWith(last, "PGreat "));
            ASSERT_LT(m + 9, lines.size());
            last = lines[m + 9];
            EXPECT_TRUE(startsWith(last, "Good "));
        }
        const std::size_t combo = last.rfind("MaxCombo ");
        ASSERT_NE(combo, std::string::npos);
        EXPECT_EQ(toInt(std::string_view(last).substr(combo + 9)), p.maxCombo);
        EXPECT_GE(p.maxCombo, 0);
        EXPECT_LE(p.maxCombo, p.totalNotes);

        const PoolSong& song = pool[static_cast<std::size_t>(p.songIndex)];
        EXPECT_NE(std::find(song.titleVariants.begin(), song.titleVariants.end(), p.title), song.titleVariants.end());
        if (p.title != song.titleVariants.front() || p.artist != song.artistVariants.front())
            ++variants;
        if (p.autoplay != 0)
            ++autoplay;
        if (p.autoScratch != 0)
            ++autoScratch;
        if (p.maxCombo == p.totalNotes)
            ++fullCombo;
        if (p.score == 0)
            ++zeroScore;
    }
    // The awkward cases must actually show up.
    EXPECT_GT(unpadded, 0);
    EXPECT_GT(nine, 0);
    EXPECT_GT(autoplay, 0);
    EXPECT_GT(autoScratch, 0);
    EXPECT_GT(variants, 0);
    EXPECT_GT(decimalBpm, 0);
    EXPECT_GT(fullCombo, 0);
    EXPECT_GT(zeroScore, 0);
    EXPECT_GT(blankMarkers, 0);
}

TEST(LogGenerator, WithoutJunkEveryLineBelongsToAnEntry)
{
    GeneratorOptions o;
    o.plays = 400;
    o.junkRate = 0;
    o.nineLineRate = 0.3;
    const GeneratedLog log = generateLog(o);
    const auto lines = splitLines(decodeCp932(log.bytes), "\r\n");
    std::size_t expected = 0;
    for (std::size_t k = 0; k < log.plays.size(); ++k) {
        EXPECT_EQ(log.plays[k].markerLine, static_cast<long>(expected + 1));
        expected += startsWith(lines[expected + 8], "Great ") ? 9 : 10;
    }
    EXPECT_EQ(lines.size(), expected);
}

TEST(LogGenerator, DatesCrossMonthAndYearEndsAndLeapDays)
{
    GeneratorOptions o;
    o.plays = 2000;
    o.meanGapMinutes = 10;
    o.startYear = 2000;
    o.startMonth = 2;
    o.startDay = 27;
    const GeneratedLog leap2000 = generateLog(o);
    std::set<std::string> days;
    for (const auto& p : leap2000.plays)
        days.insert(p.dateTime.substr(0, p.dateTime.find(' ')));
    EXPECT_TRUE(days.count("2000/02/29") || days.count("2000/2/29"));
    EXPECT_TRUE(days.count("2000/03/01") || days.count("2000/3/1"));

    o.startYear = 2001;
    const GeneratedLog plain2001 = generateLog(o);
    for (const auto& p : plain2001.plays)
        EXPECT_FALSE(p.month == 2 && p.day == 29);
    EXPECT_EQ(plain2001.plays.back().month, 3);

    // With the defaults a few hundred plays span months and cross the year end.
    GeneratorOptions d;
    d.plays = 300;
    const GeneratedLog defaults = generateLog(d);
    EXPECT_EQ(defaults.plays.front().year, 2001);
    EXPECT_EQ(defaults.plays.back().year, 2002);
    EXPECT_GE(defaults.plays.back().month, 2);
}

TEST(LogGenerator, DatesStayInsideTheYear9999WhateverThePlayCount)
{
    using namespace std::chrono;
    // Minutes from the first day to the end of 9999, reckoned apart from the generator.
    const auto minutesLeft = [](const GeneratorOptions& o) {
        const sys_days start = year_month_day{
            year{o.startYear}, month{static_cast<unsigned>(o.startMonth)}, day{static_cast<unsigned>(o.startDay)}};
        return static_cast<double>(duration_cast<minutes>(sys_days{year{10000} / January / 1} - start).count());
    };
    GeneratorOptions o;
    EXPECT_EQ(effectiveGapMinutes(o), 600); // small logs are as they always were
    // Millions of plays at the default gap once ran past the year 9999.
    for (const int plays : {7'000'000, 100'000'000, 2'147'483'647}) {
        o.plays = plays;
        const double gap = effectiveGapMinutes(o);
        EXPECT_LT(gap, 600);
        EXPECT_LT(gap * plays * (1 + o.junkRate), minutesLeft(o)) << plays << " plays";
    }

    // Close to the end, the gap shrinks, and the plays stay inside 9999 in any case.
    o = GeneratorOptions{};
    o.plays = 20000; // some 23 years at the default gap
    o.startYear = 9999;
    for (const auto& [startMonth, startDay] : {std::pair{11, 1}, std::pair{12, 31}}) {
        o.startMonth = startMonth;
        o.startDay = startDay;
        const GeneratedLog log = generateLog(o);
        SCOPED_TRACE("from 9999/" + std::to_string(o.startMonth) + "/" + std::to_string(o.startDay));
        const GeneratedPlay* before = nullptr;
        for (const GeneratedPlay& p : log.plays) {
            ASSERT_EQ(p.year, 9999) << p.dateTime;
            if (before) {
                ASSERT_GE(std::tie(p.month, p.day, p.hour, p.minute, p.second),
                    std::tie(before->month, before->day, before->hour, before->minute, before->second))
                    << p.dateTime;
            }
            before = &p;
        }
    }
}

TEST(LogGenerator, EveryStringRoundTripsThroughCp932)
{
    for (std::uint64_t seed : {1u, 7u, 12345u}) {
        GeneratorOptions o;
        o.seed = seed;
        o.songs = 1000;
        for (const std::string& s : generatorStrings(o)) {
            const std::string cp932 = iconvConvert(s, "CP932", "UTF-8");
            EXPECT_EQ(iconvConvert(cp932, "UTF-8", "CP932"), s);
            EXPECT_EQ(s.find("   "), std::string::npos) << s;
        }
    }
}

TEST(LogGenerator, PoolMixesScripts)
{
    GeneratorOptions o;
    const auto pool = songPool(o);
    ASSERT_EQ(pool.size(), 300u);
    auto anyTitle = [&](auto&& pred) {
        return std::any_of(pool.begin(), pool.end(), [&](const PoolSong& s) { return pred(s.titleVariants.front()); });
    };
    auto contains = [](std::string_view what) {
        return [what](const std::string& s) { return s.find(what) != std::string::npos; };
    };
    EXPECT_EQ(pool[0].titleVariants, (std::vector<std::string>{"Wave~Wave", "WAVE~WAVE", "wave~wave"}));
    EXPECT_EQ(
        pool[1].titleVariants, (std::vector<std::string>{"ＤＡＮＣＥ　ＭＡＮＩＡＸ", "ｄａｎｃｅ　ｍａｎｉａｘ"}));
    EXPECT_TRUE(anyTitle(contains("♪")));
    EXPECT_TRUE(anyTitle(contains("～")));
    EXPECT_TRUE(anyTitle(contains("－")));
    EXPECT_TRUE(anyTitle([](const std::string& s) {
        // Half-width katakana sit at U+FF61..U+FF9F: EF BD A1..BF or EF BE 80..9F.
        for (std::size_t i = 0; i + 2 < s.size(); ++i)
            if (s[i] == '\xEF' && (s[i + 1] == '\xBD' || s[i + 1] == '\xBE')
                && (s[i + 1] == '\xBE' || static_cast<unsigned char>(s[i + 2]) >= 0xA1))
                return true;
        return false;
    }));
    EXPECT_TRUE(anyTitle([](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    }));

    std::set<std::string> titles, artists;
    for (const auto& s : pool) {
        EXPECT_TRUE(titles.insert(s.titleVariants.front()).second) << s.titleVariants.front();
        artists.insert(s.artistVariants.front());
        EXPECT_GE(s.level, 1);
        EXPECT_LE(s.level, 12);
        EXPECT_GT(s.totalNotes, 0);
    }
    EXPECT_LT(artists.size(), pool.size() / 2); // artists repeat
}

TEST(LogGenerator, LineEndOptions)
{
    GeneratorOptions o = busyOptions();
    o.plays = 300;
    const GeneratedLog crlf = generateLog(o);
    o.lineEnd = LineEnd::Lf;
    const GeneratedLog lf = generateLog(o);
    o.lineEnd = LineEnd::Cr;
    const GeneratedLog cr = generateLog(o);

    EXPECT_EQ(lf.bytes.find('\r'), std::string::npos);
    EXPECT_EQ(cr.bytes.find('\n'), std::string::npos);
    EXPECT_EQ(lf.plays, crlf.plays);
    EXPECT_EQ(cr.plays, crlf.plays);

    std::string asLf, asCr;
    for (std::size_t i = 0; i < crlf.bytes.size(); ++i) {
        if (crlf.bytes.compare(i, 2, "\r\n") == 0) {
            asLf += '\n';
            asCr += '\r';
            ++i;
        } else {
            asLf += crlf.bytes[i];
            asCr += crlf.bytes[i];
        }
    }
    EXPECT_EQ(lf.bytes, asLf);
    EXPECT_EQ(cr.bytes, asCr);
    EXPECT_EQ(
        std::count(crlf.bytes.begin(), crlf.bytes.end(), '\n'), std::count(crlf.bytes.begin(), crlf.bytes.end(), '\r'));
}

TEST(LogGenerator, Utf8WithBomHoldsTheSameText)
{
    GeneratorOptions o = busyOptions();
    o.plays = 300;
    const GeneratedLog cp932 = generateLog(o);
    o.utf8WithBom = true;
    const GeneratedLog utf8 = generateLog(o);
    ASSERT_TRUE(startsWith(utf8.bytes, "\xEF\xBB\xBF"));
    EXPECT_EQ(utf8.bytes.substr(3), decodeCp932(cp932.bytes));
    EXPECT_EQ(utf8.plays, cp932.plays);
}

TEST(LogGenerator, WriteLogMatchesGenerateLog)
{
    GeneratorOptions o = busyOptions();
    o.plays = 6000; // more than one flush of the write buffer
    const GeneratedLog log = generateLog(o);
    const std::filesystem::path path
        = std::filesystem::temp_directory_path() / ("tolvane-genlog-test-" + std::to_string(::getpid()) + ".txt");
    std::vector<GeneratedPlay> plays;
    writeLog(path.string(), o, &plays);
    writeLog(path.string(), o); // without the plays too
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::filesystem::remove(path);
    EXPECT_GT(bytes.size(), 1u << 20);
    EXPECT_EQ(bytes, log.bytes);
    EXPECT_EQ(plays, log.plays);
}

TEST(LogGenerator, RejectsBadOptions)
{
    GeneratorOptions o;
    o.startMonth = 2;
    o.startDay = 29; // 2001 is no leap year
    EXPECT_THROW(generateLog(o), std::invalid_argument);
    o = GeneratorOptions{};
    o.songs = 0;
    EXPECT_THROW(generateLog(o), std::invalid_argument);
    o = GeneratorOptions{};
    o.plays = 0;
    EXPECT_TRUE(generateLog(o).plays.empty());
    EXPECT_THROW(writeLog("/nonexistent-dir/x/score.txt", GeneratorOptions{}), std::runtime_error);
}

TEST(LogGenerator, HelpersConvertBothWays)
{
    const std::string text = "Title:ＤＡＮＣＥ　ＭＡＮＩＡＸ   Artist:ＤＪ 太郎 ｱｸｾﾙ ♪～－";
    EXPECT_EQ(cp932ToUtf8(utf8ToCp932(text)), text);
    EXPECT_EQ(utf8ToCp932(text), iconvConvert(text, "CP932", "UTF-8"));
    EXPECT_THROW(utf8ToCp932("\xF0\x9F\x8E\xB5"), std::runtime_error); // no such character in CP932
}

} // namespace
} // namespace tolvane::testing
