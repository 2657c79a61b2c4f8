#pragma once

#include "report/JsonWriter.h"
#include "report/ReportData.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace tolvane::report {

// The insight views (song, calendar, sessions, streaks) in the three formats.
// Each writes nothing when the view asked for is not one of them.
void writeInsightMembers(JsonWriter& json, const ReportData& data);
void writeInsightCsv(std::FILE* out, const ReportData& data);
void writeInsightText(std::FILE* out, const ReportData& data);

// The failure of --view song when --title names no song.
std::string noSongMessage(std::string_view title);
// {"error": {"kind": "no_song", "line": null, "message": ...}}
void writeJsonNoSong(std::FILE* out, std::string_view title, bool severalLogs = false);

} // namespace tolvane::report
