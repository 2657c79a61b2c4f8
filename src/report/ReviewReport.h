#pragma once

#include "report/JsonWriter.h"
#include "report/ReportData.h"

#include <cstdio>
#include <string>

namespace tolvane::report {

// The records and year views in the three formats (the year view has no CSV).
// Each writes nothing when the view asked for is not one of them.
void writeReviewMembers(JsonWriter& json, const ReportData& data);
void writeReviewCsv(std::FILE* out, const ReportData& data);
void writeReviewText(std::FILE* out, const ReportData& data);

// Fills data.year for --view year: the review of --year, or of the year of
// the last play in date order. Gives the year; data.year stays empty when that
// year has no play.
int fillYearReview(ReportData& data);
// The failure of --view year when the year has no play.
std::string noYearMessage(int year);
// {"error": {"kind": "no_year", "line": null, "message": ...}}
void writeJsonNoYear(std::FILE* out, int year, bool severalLogs = false);

} // namespace tolvane::report
