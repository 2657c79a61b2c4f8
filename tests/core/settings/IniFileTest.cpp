#include "core/settings/IniFile.h"
#include "core/settings/FilterSettings.h"
#include "core/settings/SettingText.h"

#include "core/log/DateValue.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace tolvane;

namespace {

const std::string kT1 = "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n";

std::string get(const std::string& text, std::string_view section, std::string_view key,
    std::string_view def = "default", std::size_t limit = 259)
{
    return IniFile::fromText(text).getString(section, key, def, limit);
}

} // namespace

TEST(IniFile, FindsKeysIgnoringLetterCaseOfSectionsAndKeys)
{
    EXPECT_EQ(get(kT1, "section1", "name1"), "val1");
    EXPECT_EQ(get(kT1, "section1", "NaMe1"), "val1");
    EXPECT_EQ(get(kT1, "SECTION1", "name4"), "a");
    EXPECT_EQ(get("[Settings]\r\nListview1(3)=1234\r\n", "Settings", "ListView1(3)"), "1234");
    // Spaces around the names asked for go, tabs do not.
    EXPECT_EQ(get(kT1, " section1 ", "name1"), "val1");
    EXPECT_EQ(get(kT1, "\tsection1", "name1"), "default");
}

TEST(IniFile, TrimsBlanksAndOnePairOfQuotes)
{
    EXPECT_EQ(get("[ s ]\r\n  key1  =   value one   \r\n", "s", "key1"), "value one");
    EXPECT_EQ(get("[s]\r\n\tk\t=\vv\v\r\n", "s", "k"), "v");
    EXPECT_EQ(get(kT1, "section1", "name2"), "val2");
    EXPECT_EQ(get("[s]\r\nk=  '   v   '  \r\n", "s", "k"), "   v   ");
    EXPECT_EQ(get("[s]\r\nk=\"v'\r\n", "s", "k"), "\"v'");
    EXPECT_EQ(get("[s]\r\nk='\"v\"'\r\n", "s", "k"), "\"v\"");
    EXPECT_EQ(get("[s]\r\nk=a=b\r\n", "s", "k"), "a=b");
    EXPECT_EQ(get("[s]\r\nk=v ; note\r\n", "s", "k"), "v ; note");
}

TEST(IniFile, CutsTheValueToItsLimitAfterTheQuotesGo)
{
    EXPECT_EQ(get(kT1, "section1", "name1", "default", 3), "val");
    EXPECT_EQ(get(kT1, "section1", "name2", "default", 4), "val2");
    EXPECT_EQ(get("[Filter]\r\nMintime=2001/12/31 12:34:56\r\n", "Filter", "Mintime", "0", 14), "2001/12/31 12:");
    EXPECT_EQ(get(kT1, "section1", "notakey", "abcdefgh", 3), "abc");
    EXPECT_EQ(get("[s]\r\nk=桜桜桜\r\n", "s", "k", "", 2), "桜桜");
}

TEST(IniFile, AMissingFileSectionOrKeyGivesTheDefaultButAnEmptyValueDoesNot)
{
    EXPECT_EQ(get(kT1, "section1", "notakey"), "default");
    EXPECT_EQ(get(kT1, "notasection", "name1"), "default");
    EXPECT_EQ(get(kT1, "section2", "x", ""), "");
    EXPECT_EQ(get(kT1, "section1", "name3"), "default"); // a line without "=" is no key
    EXPECT_EQ(get("[s]\r\nname2=\r\n", "s", "name2"), "");
    EXPECT_EQ(get("[s]\r\nk=   \r\n", "s", "k"), "");
    // Trailing spaces of the default go, nothing else does.
    EXPECT_EQ(get(kT1, "section1", "", "default  "), "default");
    EXPECT_EQ(get(kT1, "section1", "x", "   default   "), "   default");

    const auto missing = IniFile::load("/nonexistent-folder/Tolvane.ini");
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->getString("Filter", "MinScore", "0", 9), "0");
    std::string error;
    EXPECT_FALSE(IniFile::load(std::filesystem::temp_directory_path(), &error).has_value());
    EXPECT_FALSE(error.empty());
}

TEST(IniFile, TheFirstOfDuplicatesWinsAndCommentsAndStrayLinesAreSkipped)
{
    EXPECT_EQ(get("[S]\r\nk=one\r\nk=two", "S", "k"), "one");
    EXPECT_EQ(get("[S]\r\n[S]\r\nk=v", "S", "k"), "default");
    EXPECT_EQ(get("[s]\r\nk=1\r\n[S]\r\nj=2\r\n", "s", "j"), "default");
    EXPECT_EQ(get("[S]\r\n;k=v\r\n", "S", "k"), "default");
    EXPECT_EQ(get("[S]\r\n  ;k=v\r\n", "S", ";k"), "default");
    EXPECT_EQ(get("[S]\r\n#k=v\r\n", "S", "#k"), "v");
    EXPECT_EQ(get("k=outside\r\n[S]\r\n", "", "k"), "default");
    EXPECT_EQ(get("[S]k=v\r\n", "S", "k"), "default");
    EXPECT_EQ(get("[S   \r\nk=v\r\n", "S", "k"), "v");
    EXPECT_EQ(get("[sec]whoops]\r\nk=v\r\n", "sec", "k"), "v");
}

TEST(IniFile, ReadsAnyLineEndAndSkipsAByteOrderMark)
{
    EXPECT_EQ(get("[section1]\rname1=val1\rname2=\"val2\"\r", "section1", "name2"), "val2");
    EXPECT_EQ(get("[Test]\nProfileInt=123\n", "Test", "ProfileInt"), "123");
    EXPECT_EQ(get("\xEF\xBB\xBF[Filter]\r\nMinScore=5\r\n", "Filter", "MinScore"), "5");
}

TEST(SettingText, Flags)
{
    EXPECT_EQ(SettingText::toFlag("True"), true);
    EXPECT_EQ(SettingText::toFlag("true"), true);
    EXPECT_EQ(SettingText::toFlag("FALSE"), false);
    EXPECT_EQ(SettingText::toFlag("-1"), true);
    EXPECT_EQ(SettingText::toFlag("1"), true);
    EXPECT_EQ(SettingText::toFlag("0"), false);
    EXPECT_EQ(SettingText::toFlag(" 0.0 "), false);
    EXPECT_FALSE(SettingText::toFlag("yes"));
    EXPECT_FALSE(SettingText::toFlag(""));
    EXPECT_FALSE(SettingText::toFlag("1x"));
}

TEST(SettingText, WholeNumbers)
{
    EXPECT_EQ(SettingText::toWholeNumber("100000"), 100000);
    EXPECT_EQ(SettingText::toWholeNumber(" -5 "), -5);
    EXPECT_EQ(SettingText::toWholeNumber("2.5"), 2);
    EXPECT_EQ(SettingText::toWholeNumber("3.5"), 4);
    EXPECT_EQ(SettingText::toWholeNumber("+7"), 7);
    for (const char* bad : {"", "abc", "1e3", "&H10", "12点", "2147483648", "1 2"})
        EXPECT_FALSE(SettingText::toWholeNumber(bad)) << bad;
}

TEST(SettingText, Dates)
{
    EXPECT_EQ(SettingText::toDate("0"), 0.0);
    EXPECT_EQ(SettingText::toDate("0:00:00"), 0.0);
    EXPECT_EQ(SettingText::toDate("2002/01/15"), makeDate(2002, 1, 15));
    EXPECT_EQ(SettingText::toDate("2002/01/15 6:30"), makeDate(2002, 1, 15, 6, 30));
    EXPECT_EQ(SettingText::toDate("12:00:00"), 0.5);
    EXPECT_EQ(SettingText::toDate("37271"), makeDate(2002, 1, 15));
    EXPECT_FALSE(SettingText::toDate("2002/01/15 12:"));
    EXPECT_FALSE(SettingText::toDate(""));
    EXPECT_FALSE(SettingText::toDate("someday"));
}

TEST(FilterSettings, ReadsTheFilterSectionWithDefaultsForWhatIsMissingOrUnreadable)
{
    const Filter none = readFilterSettings(IniFile::fromText(""));
    EXPECT_FALSE(none.IgnoreAutoplay || none.IgnoreScrach || none.ScoreFilter || none.SpanFilter);
    EXPECT_EQ(none.optIgnoreAuto, 0);
    EXPECT_EQ(none.MinScore, 0);
    EXPECT_EQ(none.Mintime, 0.0);

    const Filter f = readFilterSettings(IniFile::fromText("[filter]\r\n"
                                                          "ignoreautoplay=true\r\n"
                                                          "IgnoreScrach=-1\r\n"
                                                          "ScoreFilter=maybe\r\n"
                                                          "SpanFilter=1\r\n"
                                                          "optIgnoreAuto=2\r\n"
                                                          "optIgnoreScr=7\r\n"
                                                          "MinScore=\"100000\"\r\n"
                                                          "Mintime=2001/12/01\r\n"
                                                          "Maxtime=2001/12/31 23:59:59\r\n"));
    EXPECT_TRUE(f.IgnoreAutoplay);
    EXPECT_TRUE(f.IgnoreScrach);
    EXPECT_FALSE(f.ScoreFilter); // not a flag: the default
    EXPECT_TRUE(f.SpanFilter);
    EXPECT_EQ(f.optIgnoreAuto, 2);
    EXPECT_EQ(f.optIgnoreScr, 0); // no such side
    EXPECT_EQ(f.MinScore, 100000);
    EXPECT_EQ(f.Mintime, makeDate(2001, 12, 1));
    EXPECT_EQ(f.Maxtime, 0.0); // cut to "2001/12/31 23:" it is no date any more

    // Values longer than nine characters are cut before they are read.
    EXPECT_EQ(readFilterSettings(IniFile::fromText("[Filter]\r\nMinScore=1234567890\r\n")).MinScore, 123456789);
}
