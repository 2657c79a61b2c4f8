// Settings files nobody means to write: binary, huge, or with values far past
// any read limit. Reading one gives the stored values cut to their limits, or
// the defaults, and never crashes.
#include "core/log/DateValue.h"
#include "core/log/NumericValue.h"
#include "core/settings/FilterSettings.h"
#include "core/settings/IniFile.h"

#include "support/TempDir.h"
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tolvane;

namespace fs = std::filesystem;

using tolvane::testing::TempDir;
using tolvane::testing::writeBytes;

namespace {

struct Key {
    std::string section;
    std::string name;
    std::string defaultValue;
    std::size_t limit;
};

// Every key the program reads at start-up, with its default and read limit.
std::vector<Key> programKeys()
{
    std::vector<Key> keys = {
        {"Settings", "WindowState", "0", 9},
        {"Settings", "MainLeft", "1000", 9},
        {"Settings", "MainTop", "1000", 9},
        {"Settings", "MainWidth", "6500", 9},
        {"Settings", "MainHeight", "6500", 9},
    };
    for (int n = 1; n <= 10; ++n)
        keys.push_back({"Settings", "ListView1(" + std::to_string(n) + ")", "2000", 9});
    for (const char* flag : {"IgnoreScrach", "IgnoreAutoplay", "ScoreFilter", "SpanFilter"})
        keys.push_back({"Filter", flag, "False", 9});
    for (const char* number : {"optIgnoreAuto", "optIgnoreScr", "MinScore"})
        keys.push_back({"Filter", number, "0", 9});
    keys.push_back({"Filter", "Mintime", "0", 14});
    keys.push_back({"Filter", "Maxtime", "0", 14});
    for (int n = 1; n <= 6; ++n) {
        const std::string chart = "Graph" + std::to_string(n);
        keys.push_back({"Graph", chart + "Color", "65536", 14});
        keys.push_back({"Graph", chart + "PatternColor", "65536", 14});
        keys.push_back({"Graph", chart + "Pattern", "-1", 9});
    }
    return keys;
}

std::size_t charCount(std::string_view utf8)
{
    std::size_t n = 0;
    for (const char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

// Every value within its read limit, and filters the program can use.
void expectUsable(const IniFile& ini)
{
    for (const Key& key : programKeys()) {
        const std::string value = ini.getString(key.section, key.name, key.defaultValue, key.limit);
        EXPECT_LE(charCount(value), key.limit) << key.section << "/" << key.name;
        (void)numericValue(value);
    }
    const Filter filter = readFilterSettings(ini);
    EXPECT_GE(filter.optIgnoreAuto, 0);
    EXPECT_LE(filter.optIgnoreAuto, 2);
    EXPECT_GE(filter.optIgnoreScr, 0);
    EXPECT_LE(filter.optIgnoreScr, 2);
}

std::string randomBytes(std::size_t size, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(rng() & 0xFF);
    return bytes;
}

} // namespace

TEST(HostileSettings, ABinaryFileReadsAsCutValuesOrDefaults)
{
    TempDir dir;
    const fs::path path = dir.file("Tolvane.ini");
    for (const std::uint32_t seed : {1u, 2u, 3u}) {
        // Binary noise with the sections' names strewn in, so some keys are found in it.
        std::string bytes = randomBytes(256 << 10, seed);
        std::mt19937 rng(seed);
        for (const char* piece : {"\r\n[Settings]\r\nMainLeft=", "\n[Filter]\nMinScore=", "\r[Graph]\rGraph1Pattern="})
            bytes.insert(rng() % bytes.size(), piece);
        writeBytes(path, bytes);
        std::string error;
        const auto ini = IniFile::load(path, &error);
        ASSERT_TRUE(ini.has_value()) << error;
        expectUsable(*ini);
    }

    // Keys after the noise are still found.
    writeBytes(path, randomBytes(64 << 10, 9) + "\r\n[Filter]\r\nMinScore=5\r\nScoreFilter=True\r\n");
    const auto ini = IniFile::load(path);
    ASSERT_TRUE(ini.has_value());
    const Filter filter = readFilterSettings(*ini);
    EXPECT_TRUE(filter.ScoreFilter);
    EXPECT_EQ(filter.MinScore, 5);

    // Nothing but NULs.
    writeBytes(path, std::string(64 << 10, '\0'));
    const auto zeros = IniFile::load(path);
    ASSERT_TRUE(zeros.has_value());
    expectUsable(*zeros);
    EXPECT_EQ(zeros->getString("Filter", "MinScore", "0", 9), "0");
}

TEST(HostileSettings, AHugeFileGivesItsValuesOrTheDefaults)
{
    // 20 MB of settings the program does not know, then the ones it does.
    TempDir dir;
    const fs::path path = dir.file("Tolvane.ini");
    {
        std::ofstream out(path, std::ios::binary);
        out << "[Settings]\r\n";
        const std::string line = "Unknown=" + std::string(90, 'v') + "\r\n";
        for (std::size_t written = 0; written < (std::size_t{20} << 20); written += line.size())
            out << line;
        out << "[Filter]\r\nMinScore=4321\r\nSpanFilter=True\r\nMintime=2001/11/21\r\n[Graph]\r\nGraph6Pattern=3\r\n";
        ASSERT_TRUE(out.good());
    }
    ASSERT_GT(fs::file_size(path), std::uintmax_t{20} << 20);

    std::string error;
    const auto loaded = IniFile::load(path, &error);
    // The reader may take such a file whole or refuse it as no settings file
    // of ours; refused, every key takes its default.
    const IniFile ini = loaded ? *loaded : IniFile::fromText("");
    if (!loaded) {
        EXPECT_FALSE(error.empty());
    }
    expectUsable(ini);
    const std::string minScore = ini.getString("Filter", "MinScore", "0", 9);
    EXPECT_TRUE(minScore == "4321" || (!loaded && minScore == "0")) << minScore;
    const std::string pattern = ini.getString("Graph", "Graph6Pattern", "-1", 9);
    EXPECT_TRUE(pattern == "3" || (!loaded && pattern == "-1")) << pattern;
    EXPECT_EQ(ini.getString("Settings", "MainLeft", "1000", 9), "1000");
}

TEST(HostileSettings, ValuesOf100000CharactersAreCutToTheirReadLimits)
{
    std::string kana;
    for (int i = 0; i < 100000; ++i)
        kana += "あ";
    // Two files, each well under a megabyte.
    const std::string window = "[Settings]\r\nMainLeft=" + kana + "\r\nMainTop=" + std::string(100000, '7') + "\r\n"
        + std::string(100000, 'K') + "=1\r\nMainWidth=\"" + std::string(100000, 'z') + "\"\r\n["
        + std::string(100000, 'S') + "]\r\nMainHeight=1\r\n";
    const std::string filterAndGraph = "[Filter]\r\nMinScore=" + std::string(100000, '1') + "\r\nMaxtime=2002/01/15"
        + std::string(100000, ' ') + "\r\nIgnoreAutoplay=" + std::string(100000, '0') + "\r\n[Graph]\r\nGraph2Color="
        + std::string(100000, '9') + "\r\nGraph2Pattern=" + std::string(100000, '-') + "\r\n";
    TempDir dir;
    const fs::path windowPath = dir.file("window.ini");
    const fs::path filterPath = dir.file("filter.ini");
    writeBytes(windowPath, window);
    writeBytes(filterPath, filterAndGraph);
    std::string error;
    const auto windowIni = IniFile::load(windowPath, &error);
    ASSERT_TRUE(windowIni.has_value()) << error;
    const auto filterIni = IniFile::load(filterPath, &error);
    ASSERT_TRUE(filterIni.has_value()) << error;

    EXPECT_EQ(windowIni->getString("Settings", "MainLeft", "1000", 9), kana.substr(0, 9 * 3)); // nine characters
    EXPECT_EQ(windowIni->getString("Settings", "MainTop", "1000", 9), "777777777");
    EXPECT_EQ(windowIni->getString("Settings", "MainWidth", "6500", 9), "zzzzzzzzz");
    EXPECT_EQ(windowIni->getString("Settings", "MainHeight", "6500", 9), "6500"); // its section has another name
    expectUsable(*windowIni);

    EXPECT_EQ(filterIni->getString("Graph", "Graph2Color", "65536", 14), "99999999999999");
    EXPECT_EQ(filterIni->getString("Graph", "Graph2Pattern", "-1", 9), "---------");
    expectUsable(*filterIni);
    const Filter filter = readFilterSettings(*filterIni);
    EXPECT_EQ(filter.MinScore, 111111111);
    EXPECT_FALSE(filter.IgnoreAutoplay);
    EXPECT_EQ(filter.Maxtime, makeDate(2002, 1, 15));
}

TEST(HostileSettings, AFolderOrAnUnreadableFileIsNoSettingsFile)
{
    TempDir dir;
    std::string error;
    EXPECT_FALSE(IniFile::load(dir.path(), &error).has_value());
    EXPECT_FALSE(error.empty());

    const fs::path path = dir.file("Tolvane.ini");
    writeBytes(path, "[Filter]\r\nMinScore=5\r\n");
    fs::permissions(path, fs::perms::none);
    if (::access(path.c_str(), R_OK) == 0)
        GTEST_SKIP() << "this user reads files whatever their permission bits say (root does)";
    error.clear();
    EXPECT_FALSE(IniFile::load(path, &error).has_value());
    EXPECT_FALSE(error.empty());
}

TEST(HostileSettings, ANamedPipeIsRefusedWithoutWaitingForAWriter)
{
    TempDir dir;
    const fs::path path = dir.file("Tolvane.ini");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    std::string error;
    bool loaded = true;
    EXPECT_TRUE(tolvane::testing::returnsWithoutAWriter(path, [&] {
        loaded = IniFile::load(path, &error).has_value();
    })) << "reading the settings waited for something to write to the pipe";
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(error.empty());
}
