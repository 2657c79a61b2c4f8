#include "report/ReportOptions.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::report;

namespace {

ReportOptions parsed(const std::vector<std::string_view>& args)
{
    const ParsedOptions p = parseOptions(args);
    EXPECT_TRUE(p.options.has_value()) << p.error;
    return p.options.value_or(ReportOptions{});
}

bool refused(const std::vector<std::string_view>& args)
{
    return !parseOptions(args).options.has_value();
}

constexpr DateValue k2001May3 = 37014; // days since 1899-12-30

// What a settings file might hold: every filter on, a span of 36000 to 38000.
const Filter kSettings{true, 2, true, 1, true, 5000, true, 36000, 38000};

} // namespace

TEST(ReportOptions, NameEqualsValueForm)
{
    const ReportOptions o
        = parsed({"--view=plays", "--format=csv", "--min-score=-5", "--ignore-scratch=1P+2P", "s.txt"});
    EXPECT_EQ(o.view, View::Plays);
    EXPECT_EQ(o.format, Format::Csv);
    EXPECT_EQ(o.minScore, -5);
    EXPECT_EQ(o.ignoreScratch, 2);
    EXPECT_EQ(o.file, "s.txt");
}

// Spaces around a value go; tabs are not blanks and make the value bad.
TEST(ReportOptions, SpacesAroundValuesAreDropped)
{
    const ReportOptions o = parsed({"--view", " charts ", "--min-score", "  100 ", "--ignore-autoplay", " 2P", "--from",
        " 2001/05/03 12:00:00 ", "--period", " 3 ", "--at", "2001/5/3 ", "s.txt"});
    EXPECT_EQ(o.view, View::Charts);
    EXPECT_EQ(o.minScore, 100);
    EXPECT_EQ(o.ignoreAutoplay, 1);
    EXPECT_EQ(o.from, k2001May3 + 0.5);
    EXPECT_EQ(o.periodLevel, 3);
    EXPECT_EQ(o.periodAt, k2001May3);
    EXPECT_TRUE(refused({"--view", "\ttitle", "s.txt"}));
    EXPECT_TRUE(refused({"--from", "2001/05/03\t", "s.txt"}));
}

TEST(ReportOptions, MinScoreIsA32BitWholeNumber)
{
    EXPECT_EQ(parsed({"--min-score", "-2147483648", "s.txt"}).minScore, INT32_MIN);
    const ParsedOptions tooBig = parseOptions({"--min-score", "2147483648", "s.txt"});
    EXPECT_FALSE(tooBig.options);
    EXPECT_NE(tooBig.error.find("--min-score"), std::string::npos) << tooBig.error;
    EXPECT_TRUE(refused({"--min-score", "1e5", "s.txt"}));
}

TEST(ReportOptions, OddArguments)
{
    const ParsedOptions last = parseOptions({"s.txt", "--view"});
    EXPECT_FALSE(last.options);
    EXPECT_NE(last.error.find("--view"), std::string::npos) << last.error;
    EXPECT_EQ(parsed({"--", "--odd name.txt"}).file, "--odd name.txt");
    EXPECT_TRUE(parsed({"--help"}).help);
    EXPECT_TRUE(parsed({"--version"}).version);
}

TEST(ReportOptions, OptionsOverrideTheSettings)
{
    const Filter same = parsed({"s.txt"}).applyTo(kSettings);
    EXPECT_EQ(same.optIgnoreAuto, 2);
    EXPECT_EQ(same.Mintime, 36000);
    EXPECT_EQ(same.Maxtime, 38000);

    const Filter f = parsed({"--ignore-autoplay", "1P", "--min-score", "0", "s.txt"}).applyTo(kSettings);
    EXPECT_EQ(f.optIgnoreAuto, 0);
    EXPECT_EQ(f.MinScore, 0);
    EXPECT_TRUE(f.IgnoreScrach); // not given: as the settings hold it
    EXPECT_EQ(f.optIgnoreScr, 1);

    // An option turns its filter on when the settings have it off.
    const Filter off = parsed({"--ignore-scratch", "2P", "--min-score", "7", "s.txt"}).applyTo(Filter{});
    EXPECT_TRUE(off.IgnoreScrach && off.ScoreFilter);
    EXPECT_EQ(off.optIgnoreScr, 1);
    EXPECT_FALSE(off.IgnoreAutoplay);
}

// The side of the span not given is no bound, whatever the settings held.
TEST(ReportOptions, OneSideOfTheSpanClearsTheOther)
{
    const Filter from = parsed({"--from", "2001/05/03", "s.txt"}).applyTo(kSettings);
    EXPECT_EQ(from.Mintime, k2001May3);
    EXPECT_EQ(from.Maxtime, 0);

    const Filter to = parsed({"--to", "2001/05/03 23:59:59", "s.txt"}).applyTo(kSettings);
    EXPECT_EQ(to.Mintime, 0);
    EXPECT_DOUBLE_EQ(to.Maxtime, k2001May3 + 86399.0 / 86400);

    EXPECT_TRUE(parsed({"--from", "2001/05/03", "s.txt"}).applyTo(Filter{}).SpanFilter);
}
