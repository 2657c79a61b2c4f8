// Feeds arbitrary text to the settings file's reader and reads every key of its
// three sections the way the program does at start-up, at both read limits,
// then converts each value as its setting would.
#include "core/analysis/RunTexts.h"
#include "core/log/NumericValue.h"
#include "core/settings/FilterSettings.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace tolvane;

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

struct Key {
    std::string section;
    std::string name;
    std::string defaultValue;
};

std::vector<Key> allKeys()
{
    std::vector<Key> keys = {
        {"Settings", "WindowState", "0"},
        {"Settings", "MainLeft", "1000"},
        {"Settings", "MainTop", "1000"},
        {"Settings", "MainWidth", "6500"},
        {"Settings", "MainHeight", "6500"},
    };
    for (int n = 1; n <= 10; ++n)
        keys.push_back({"Settings", "ListView1(" + std::to_string(n) + ")", "2000"});
    for (const char* flag : {"IgnoreScrach", "IgnoreAutoplay", "ScoreFilter", "SpanFilter"})
        keys.push_back({"Filter", flag, "False"});
    for (const char* number : {"optIgnoreAuto", "optIgnoreScr", "MinScore", "Mintime", "Maxtime"})
        keys.push_back({"Filter", number, "0"});
    for (int n = 1; n <= 6; ++n) {
        const std::string chart = "Graph" + std::to_string(n);
        keys.push_back({"Graph", chart + "Color", "65536"});
        keys.push_back({"Graph", chart + "PatternColor", "65536"});
        keys.push_back({"Graph", chart + "Pattern", "-1"});
    }
    return keys;
}

std::size_t utf8Chars(std::string_view text)
{
    std::size_t n = 0;
    for (const char c : text)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

// Every conversion a stored value may meet.
void convert(std::string_view value)
{
    const double number = numericValue(value);
    (void)toInt16(number);
    (void)toInt32(number);
    (void)SettingText::toFlag(value);
    (void)SettingText::toWholeNumber(value);
    (void)SettingText::toDate(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<Key> keys = allKeys();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const IniFile ini = IniFile::fromText(text);
    for (const Key& key : keys) {
        for (const std::size_t limit : {std::size_t{9}, std::size_t{14}}) {
            const std::string value = ini.getString(key.section, key.name, key.defaultValue, limit);
            check(utf8Chars(value) <= limit, "a value is cut to its read limit");
            // The cut keeps the front of the value, so a longer limit only adds to it.
            const std::string longer = ini.getString(key.section, key.name, key.defaultValue, limit + 100);
            check(longer.compare(0, value.size(), value) == 0, "a cut value is the front of the whole value");
            convert(value);
        }
    }
    // The names as another letter case or with spaces around them find the same value.
    check(ini.getString("FILTER", " minscore ", "", 14) == ini.getString("Filter", "MinScore", "", 14),
        "names ignore letter case and surrounding spaces");

    const Filter filter = readFilterSettings(ini);
    check(filter.optIgnoreAuto >= 0 && filter.optIgnoreAuto <= 2, "a stored side reads as 0..2");
    check(filter.optIgnoreScr >= 0 && filter.optIgnoreScr <= 2, "a stored side reads as 0..2");
    // The Open command shows the filters as read before it starts.
    Filter shown = filter;
    shown.SpanFilter = true;
    (void)RunTexts::confirmation("score.txt", shown);
    return 0;
}
