#include "core/settings/FilterSettings.h"

#include "core/settings/SettingsFile.h"

namespace tolvane {

Filter readFilterSettings(const IniFile& ini)
{
    return readSettings(ini).filter;
}

} // namespace tolvane
