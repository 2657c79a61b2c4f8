#pragma once

#include "core/log/Filter.h"

namespace tolvane {

class IniFile;

// The load filters as the "Filter" section of the settings file holds them,
// read as readSettings reads them: a key that is missing, or whose text cannot
// be converted, takes its default; a side outside 0..2 reads as 0.
Filter readFilterSettings(const IniFile& ini);

} // namespace tolvane
