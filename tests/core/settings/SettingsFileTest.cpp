#include "core/settings/SettingsFile.h"
#include "core/settings/SettingText.h"

#include "core/log/DateValue.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

#include <unistd.h>

using namespace tolvane;
namespace fs = std::filesystem;

namespace {

ProgramSettings read(const std::string& text)
{
    return readSettings(IniFile::fromText(text));
}

std::string writtenOver(const std::string& before, const ProgramSettings& settings, WindowPlacement placement)
{
    IniFile ini = IniFile::fromText(before);
    writeSettings(ini, settings, placement);
    return ini.text();
}

std::string stored(const std::string& text, std::string_view section, std::string_view key)
{
    return IniFile::fromText(text).getString(section, key, "(missing)", 100);
}

const std::string kFirstClose
    = "[Settings]\r\n"
      "MainLeft=1000\r\nMainTop=1000\r\nMainWidth=6500\r\nMainHeight=6500\r\nWindowState=0\r\n"
      "Listview1(1)=2000\r\nListview1(2)=2000\r\nListview1(3)=2000\r\nListview1(4)=2000\r\n"
      "Listview1(5)=2000\r\nListview1(6)=2000\r\nListview1(7)=2000\r\nListview1(8)=2000\r\n"
      "Listview1(9)=2000\r\nListview1(10)=2000\r\n"
      "[Filter]\r\n"
      "IgnoreScrach=False\r\nIgnoreAutoplay=False\r\nScoreFilter=False\r\nSpanFilter=False\r\n"
      "optIgnoreAuto=0\r\noptIgnoreScr=0\r\nMinScore=0\r\nMaxtime=0:00:00\r\nMintime=0:00:00\r\n"
      "[Graph]\r\n"
      "Graph1Color=65536\r\nGraph1PatternColor=65536\r\nGraph1Pattern=-1\r\n"
      "Graph2Color=65536\r\nGraph2PatternColor=65536\r\nGraph2Pattern=-1\r\n"
      "Graph3Color=65536\r\nGraph3PatternColor=65536\r\nGraph3Pattern=-1\r\n"
      "Graph4Color=65536\r\nGraph4PatternColor=65536\r\nGraph4Pattern=-1\r\n"
      "Graph5Color=65536\r\nGraph5PatternColor=65536\r\nGraph5Pattern=-1\r\n"
      "Graph6Color=65536\r\nGraph6PatternColor=65536\r\nGraph6Pattern=-1\r\n"
      "[Files]\r\n"
      "ReopenLast=True\r\nFollowLog=True\r\nLastFolder=\r\n"
      "Recent1=\r\nRecent2=\r\nRecent3=\r\nRecent4=\r\nRecent5=\r\n"
      "[Sessions]\r\n"
      "Gap=30\r\n";

} // namespace

TEST(SettingsFile, AFirstStartHasEveryDefaultAndAFirstCloseWritesEveryKeyInOrder)
{
    // Every default read shows in what is written back.
    const ProgramSettings s = readSettings(loadSettingsFile("/nonexistent-folder/Tolvane.ini").value());
    EXPECT_EQ(s.window.WindowState, 0);
    EXPECT_EQ(writtenOver("", s, WindowPlacement::Normal), kFirstClose);
}

TEST(SettingsFile, TheWindowStateAtClosingDecidesThePlacementKeys)
{
    ProgramSettings s;
    s.window.MainLeft = 1234.5;
    s.window.MainTop = -60;
    s.window.WindowState = 7; // the state at closing counts, not this
    const std::string normal = writtenOver(kFirstClose, s, WindowPlacement::Normal);
    EXPECT_EQ(stored(normal, "Settings", "MainLeft"), "1234.5");
    EXPECT_EQ(stored(normal, "Settings", "MainTop"), "-60");
    EXPECT_EQ(stored(normal, "Settings", "WindowState"), "0");

    s.window.MainLeft = 0;
    const std::string maximised = writtenOver(normal, s, WindowPlacement::Maximised);
    EXPECT_EQ(stored(maximised, "Settings", "MainLeft"), "1234.5");
    EXPECT_EQ(read(maximised).window.WindowState, 2);
    EXPECT_EQ(writtenOver(maximised, s, WindowPlacement::Minimised), maximised);

    // Nothing of the placement is written when the first close is minimised.
    const std::string minimised = writtenOver("", s, WindowPlacement::Minimised);
    EXPECT_EQ(stored(minimised, "Settings", "MainLeft"), "(missing)");
    EXPECT_EQ(stored(minimised, "Settings", "WindowState"), "(missing)");
    EXPECT_EQ(stored(minimised, "Settings", "Listview1(1)"), "2000");
}

TEST(SettingsFile, OnlyAStoredStateOfExactlyTwoMaximises)
{
    for (const char* state : {"2", " 2 ", "2.0", "\"2\""})
        EXPECT_EQ(read(std::string("[Settings]\r\nWindowState=") + state).window.WindowState, 2) << state;
    for (const char* state : {"1", "3", "Maximised", "2.5", "1e10", ""})
        EXPECT_NE(read(std::string("[Settings]\r\nWindowState=") + state).window.WindowState, 2) << state;
}

TEST(SettingsFile, ReadsCutEmptyAndFlagTexts)
{
    const ProgramSettings s
        = read("[settings]\r\nListview1(3)=1234.5\r\nMainWidth=\r\nMainHeight=12345678901\r\n"
               "[Filter]\r\nIgnoreAutoplay=-1\r\nIgnoreScrach=true\r\nScoreFilter=1\r\nSpanFilter=\r\n"
               "MinScore=\r\nMintime=0:00:00\r\nMaxtime=2002/01/15 6:30:00\r\n");
    EXPECT_EQ(s.window.columnWidths[2], 1234.5);
    EXPECT_EQ(s.window.MainWidth, 0); // present but empty is not missing
    EXPECT_EQ(s.window.MainHeight, 123456789); // nine characters read
    EXPECT_TRUE(s.filter.IgnoreAutoplay && s.filter.IgnoreScrach && s.filter.ScoreFilter);
    EXPECT_FALSE(s.filter.SpanFilter);
    EXPECT_EQ(s.filter.MinScore, 0);
    EXPECT_EQ(s.filter.Mintime, 0.0);
    // Only "2002/01/15 6:3" is read.
    EXPECT_EQ(s.filter.Maxtime, makeDate(2002, 1, 15, 6, 3));

    EXPECT_FALSE(read("[Filter]\r\nIgnoreAutoplay=0\r\n").filter.IgnoreAutoplay);
    EXPECT_EQ(read("[Filter]\r\nMintime=0\r\n").filter.Mintime, 0.0);
    EXPECT_EQ(read("[Filter]\r\nMaxtime=2001/12/31 23:59:59\r\n").filter.Maxtime, 0.0);
}

TEST(SettingsFile, ValuesThatCannotBeReadOrLieOutsideTheirRangeTakeTheirDefaults)
{
    const ProgramSettings s = read("[Settings]\r\nMainLeft=1e39\r\nMainTop=&H10\r\n"
                                   "[Filter]\r\noptIgnoreAuto=3\r\noptIgnoreScr=-1\r\nMinScore=12abc\r\n"
                                   "Mintime=2002/13/01\r\nMaxtime=99999999\r\n"
                                   "[Graph]\r\nGraph1Pattern=18\r\nGraph2Pattern=-2\r\nGraph3Pattern=17\r\n"
                                   "Graph1PatternColor=3000000000\r\nGraph2PatternColor=-5.5\r\n"
                                   "Graph1Color=1e999\r\nGraph2Color=2147483653.5\r\n");
    EXPECT_EQ(s.window.MainLeft, 1000);
    EXPECT_EQ(s.window.MainTop, 16);
    EXPECT_EQ(s.filter.optIgnoreAuto, 0);
    EXPECT_EQ(s.filter.optIgnoreScr, 0);
    EXPECT_EQ(s.filter.MinScore, 0);
    EXPECT_EQ(s.filter.Mintime, 0.0);
    EXPECT_EQ(s.filter.Maxtime, 0.0);
    EXPECT_EQ(s.graph.Pattern[0], -1);
    EXPECT_EQ(s.graph.Pattern[1], -1);
    EXPECT_EQ(s.graph.Pattern[2], 17);
    EXPECT_EQ(s.graph.PatternColor[0], 65536);
    EXPECT_EQ(s.graph.PatternColor[1], -6);
    EXPECT_EQ(s.graph.Color[0], 65536);
    EXPECT_EQ(s.graph.Color[1], 2147483653.5); // kept as read, whole only when written
    EXPECT_EQ(stored(writtenOver("", s, WindowPlacement::Normal), "Graph", "Graph2Color"), "2147483654");
}

TEST(SettingsFile, WhatIsWrittenReadsBackAsTheSameSettings)
{
    ProgramSettings s;
    s.window = {15, 30.25, 12345678, 9000, 0, {}};
    for (std::size_t i = 0; i < s.window.columnWidths.size(); ++i)
        s.window.columnWidths[i] = 100.0 * static_cast<double>(i);
    s.filter = {true, 1, false, 2, true, -99999999, false, makeDate(2001, 12, 1), makeDate(2002, 1, 15)};
    for (std::size_t i = 0; i < kTrendChartCount; ++i) {
        const std::size_t n = i + 1; // stored as Graph n
        s.graph.Color[i] = static_cast<double>(n) * 1000;
        s.graph.PatternColor[i] = static_cast<std::int32_t>(n) * 7;
        s.graph.Pattern[i] = static_cast<std::int16_t>(n + 10);
    }
    s.sessions.gapMinutes = 1440;
    // Every value differs from its neighbours, so a key bound to the wrong field shows.
    const std::string text = writtenOver("", s, WindowPlacement::Normal);
    EXPECT_EQ(stored(text, "Settings", "MainWidth"), "12345680"); // seven digits
    EXPECT_EQ(stored(text, "Settings", "Listview1(10)"), "900");
    EXPECT_EQ(stored(text, "Filter", "IgnoreScrach"), "False");
    EXPECT_EQ(stored(text, "Filter", "optIgnoreScr"), "2");
    EXPECT_EQ(stored(text, "Filter", "Mintime"), "2001/12/01");
    EXPECT_EQ(stored(text, "Graph", "Graph6PatternColor"), "42");
    EXPECT_EQ(stored(text, "Sessions", "Gap"), "1440");
    EXPECT_EQ(read(text).sessions.gapMinutes, 1440);
    EXPECT_EQ(writtenOver("", read(text), WindowPlacement::Normal), text);

    // In place over a hand-edited file: the stored spelling and the comments stay.
    const std::string edited = writtenOver("; mine\r\n[Settings]\r\nLISTVIEW1(3)=5\r\n", s, WindowPlacement::Normal);
    EXPECT_EQ(edited.substr(0, 36), "; mine\r\n[Settings]\r\nLISTVIEW1(3)=200");
}

TEST(SettingsFile, PathsAndFileOptionsReadBackAsWritten)
{
    ProgramSettings s;
    s.files.reopenLast = false;
    s.files.followLog = false;
    s.files.lastFolder = " /logs/with blanks ";
    s.files.recent = {"/a/score.txt", "\"/quoted\"", "/日本語/score.txt", "/line\nbreak", ""};
    const std::string text = writtenOver("", s, WindowPlacement::Normal);
    EXPECT_NE(text.find("[Files]\r\nReopenLast=False\r\nFollowLog=False\r\nLastFolder=\" /logs/with blanks \"\r\n"),
        std::string::npos)
        << text;
    const ProgramSettings back = read(text);
    EXPECT_FALSE(back.files.reopenLast);
    EXPECT_FALSE(back.files.followLog);
    EXPECT_EQ(back.files.lastFolder, s.files.lastFolder);
    EXPECT_EQ(back.files.recent[0], "/a/score.txt");
    EXPECT_EQ(back.files.recent[1], "\"/quoted\"");
    EXPECT_EQ(back.files.recent[2], "/日本語/score.txt");
    // A path with a line end cannot be stored on one line: it is left out.
    EXPECT_EQ(back.files.recent[3], "");
    // Written before [Files] existed: the options are on.
    EXPECT_TRUE(read(kFirstClose.substr(0, kFirstClose.find("[Files]"))).files.reopenLast);
}

TEST(SettingText, WrittenForms)
{
    EXPECT_EQ(SettingText::flagText(true), "True");
    EXPECT_EQ(SettingText::singleText(1234.5), "1234.5");
    EXPECT_EQ(SettingText::singleText(-60), "-60");
    EXPECT_EQ(SettingText::singleText(0.1), "0.1");
    EXPECT_EQ(SettingText::singleText(1.23456789e-5), "0.00001234568");
    EXPECT_EQ(SettingText::singleText(9999.9996), "10000");
    EXPECT_EQ(SettingText::singleText(1e300), "0");
    EXPECT_EQ(SettingText::wholeText(65536), "65536");
    EXPECT_EQ(SettingText::wholeText(2.5), "2");
    EXPECT_EQ(SettingText::wholeText(-0.4), "0");
    EXPECT_EQ(SettingText::dateText(0), "0:00:00");
    EXPECT_EQ(SettingText::dateText(0.5), "12:00:00");
    EXPECT_EQ(SettingText::dateText(makeDate(2002, 1, 15, 6, 5, 0)), "2002/01/15 6:05:00");
    EXPECT_EQ(SettingText::dateText(makeDate(1899, 12, 29, 18)), "1899/12/29 18:00:00");
}

TEST(SettingsFile, AHugeFileIsNeitherReadNorOverwrittenAndALongValueIsCut)
{
    const fs::path folder = fs::temp_directory_path() / ("tolvane-big-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path huge = folder / "Tolvane.ini";
    {
        std::ofstream(huge) << "[Settings]\r\nMainLeft=15\r\n";
    }
    fs::resize_file(huge, std::uintmax_t{100} << 20);
    std::string error;
    EXPECT_FALSE(loadSettingsFile(huge, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(saveSettingsFile(huge, ProgramSettings{}, WindowPlacement::Normal, &error));
    EXPECT_EQ(fs::file_size(huge), std::uintmax_t{100} << 20);
    fs::remove_all(folder);

    const std::string longValue = "[Settings]\r\nMainLeft=" + std::string(100000, '7') + "\r\n";
    EXPECT_EQ(read(longValue).window.MainLeft, 777777777);
}

class SettingsPath : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("tolvane-path-" + std::to_string(::getpid()));
        fs::create_directories(folder_ / "program");
        std::ofstream(folder_ / "not-a-folder") << "x";
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
        fs::remove_all(folder_);
    }

    fs::path folder_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(SettingsPath, TheProgramFolderWhenItCanHoldTheFileElseTheUsersConfigFolder)
{
    EXPECT_EQ(settingsPath(folder_ / "program"), folder_ / "program" / "Tolvane.ini");

    // Root may write to any folder, so a folder that is not one stands for a read-only one.
    const fs::path unwritable = folder_ / "not-a-folder";
    ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    const fs::path fallback = folder_ / "config" / "Tolvane" / "Tolvane.ini";
    EXPECT_EQ(settingsPath(unwritable), fallback);
    ::setenv("HOME", (folder_ / "home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(settingsPath(unwritable), folder_ / "home" / ".config" / "Tolvane" / "Tolvane.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(settingsPath(unwritable), folder_ / "home" / ".config" / "Tolvane" / "Tolvane.ini");
    // An installed program never writes beside itself, even when root could.
    EXPECT_EQ(settingsPath("/usr/bin"), folder_ / "home" / ".config" / "Tolvane" / "Tolvane.ini");
    EXPECT_EQ(settingsPath("/opt/tolvane/bin/"), folder_ / "home" / ".config" / "Tolvane" / "Tolvane.ini");
    fs::create_directories(folder_ / "usr" / "bin");
    EXPECT_EQ(settingsPath(folder_ / "usr" / "bin"), folder_ / "usr" / "bin" / "Tolvane.ini");

    if (::geteuid() != 0) {
        const fs::path program = folder_ / "program";
        fs::permissions(program, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_EQ(settingsPath(program), folder_ / "home" / ".config" / "Tolvane" / "Tolvane.ini");
        // A file that is there already is used where it is.
        fs::permissions(program, fs::perms::owner_write, fs::perm_options::add);
        std::ofstream(program / "Tolvane.ini") << "";
        fs::permissions(program, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_EQ(settingsPath(program), program / "Tolvane.ini");
        fs::permissions(program, fs::perms::owner_write, fs::perm_options::add);
    }

    // The fallback folder is made when the settings are first saved; what the
    // program does not know in the file survives a save.
    std::string error;
    ASSERT_TRUE(saveSettingsFile(fallback, ProgramSettings{}, WindowPlacement::Maximised, &error)) << error;
    std::ofstream(fallback, std::ios::app) << "[Mine]\r\nkept=1\r\n";
    ASSERT_TRUE(saveSettingsFile(fallback, ProgramSettings{}, WindowPlacement::Normal, &error)) << error;
    const ProgramSettings back = readSettings(loadSettingsFile(fallback).value());
    EXPECT_EQ(back.window.WindowState, 0);
    EXPECT_EQ(loadSettingsFile(fallback)->getString("Mine", "kept", "", 9), "1");
}

TEST(SettingsFile, ASessionGapOutsideOneToADayTakesTheDefault)
{
    for (const char* gap : {"0", "1441", "-5", "abc", "1e9", "99999999999"})
        EXPECT_EQ(read(std::string("[Sessions]\r\nGap=") + gap + "\r\n").sessions.gapMinutes, 30) << gap;
    EXPECT_EQ(read("[Sessions]\r\nGap=1\r\n").sessions.gapMinutes, 1);
    // A gap set out of range in memory is written as the default, never as a value that reads back differently.
    ProgramSettings s;
    s.sessions.gapMinutes = 0;
    EXPECT_EQ(stored(writtenOver("", s, WindowPlacement::Normal), "Sessions", "Gap"), "30");
}
