#include "settings/FilterSettings.h"

#include "settings/SettingsFile.h"

namespace tolvane {

Filter readFilterSettings(const IniFile& ini)
{
    return readSettings(ini).filter;
}

} // namespace tolvane
