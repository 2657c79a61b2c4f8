#include "settings/FilterSettings.h"

#include "model/NumericValue.h"
#include "settings/IniFile.h"
#include "settings/SettingText.h"

#include <string>

namespace tolvane {

namespace {

constexpr std::string_view kSection = "Filter";
constexpr std::size_t kLimit = 9;
constexpr std::size_t kDateLimit = 14;

bool flag(const IniFile& ini, std::string_view key)
{
    return SettingText::toFlag(ini.getString(kSection, key, "False", kLimit)).value_or(false);
}

std::int16_t side(const IniFile& ini, std::string_view key)
{
    const auto value = toInt16(numericValue(ini.getString(kSection, key, "0", kLimit)));
    return value && *value >= 0 && *value <= 2 ? *value : 0;
}

DateValue date(const IniFile& ini, std::string_view key)
{
    return SettingText::toDate(ini.getString(kSection, key, "0", kDateLimit)).value_or(0.0);
}

} // namespace

Filter readFilterSettings(const IniFile& ini)
{
    Filter f;
    f.IgnoreScrach = flag(ini, "IgnoreScrach");
    f.IgnoreAutoplay = flag(ini, "IgnoreAutoplay");
    f.ScoreFilter = flag(ini, "ScoreFilter");
    f.SpanFilter = flag(ini, "SpanFilter");
    f.optIgnoreAuto = side(ini, "optIgnoreAuto");
    f.optIgnoreScr = side(ini, "optIgnoreScr");
    f.MinScore = SettingText::toWholeNumber(ini.getString(kSection, "MinScore", "0", kLimit)).value_or(0);
    f.Mintime = date(ini, "Mintime");
    f.Maxtime = date(ini, "Maxtime");
    return f;
}

} // namespace tolvane
