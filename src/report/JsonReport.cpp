#include "report/JsonReport.h"

#include "core/analysis/RunTexts.h"
#include "core/export/PlayCellText.h"
#include "core/log/DateText.h"
#include "report/InsightReport.h"
#include "report/JsonWriter.h"
#include "report/ReviewReport.h"

#include <array>
#include <string_view>

namespace tolvane::report {

namespace {

void writeRows(JsonWriter& json, const ChartRows& rows)
{
    json.beginArray();
    for (const ChartRow& row : rows) {
        json.beginArray(JsonWriter::Layout::Inline);
        json.value(row.label);
        // Written as text, as the report has always given it: "" for no value.
        json.value(chartValueText(row.value));
        json.endArray();
    }
    json.endArray();
}

void writeCharts(JsonWriter& json, const ReportData& data)
{
    const Analysis& a = data.analysis;
    const ChartDate& cursor = data.chartCursor;
    json.key("charts");
    json.beginObject();
    json.key("総合");
    json.beginObject();
    json.key("level");
    json.value(static_cast<std::int64_t>(data.periodChart.level));
    json.key("cursor");
    json.value(shortDateText(cursor.year, cursor.month, cursor.day));
    json.key("from");
    json.value(data.periodChart.from);
    json.key("to");
    json.value(data.periodChart.to);
    json.key("caption");
    json.value(data.dayCaption);
    json.key("rows");
    writeRows(json, data.periodChart.rows);
    json.endObject();
    const std::array<std::pair<std::string_view, const ChartRows*>, 5> totals = {{
        {"年別", &a.totals.year},
        {"月別", &a.totals.month},
        {"日別", &a.totals.day},
        {"曜日別", &a.totals.weekday},
        {"時間帯別", &a.totals.hour},
    }};
    for (const auto& [name, rows] : totals) {
        json.key(name);
        writeRows(json, *rows);
    }
    json.endObject();
}

void writeRanking(JsonWriter& json, const RankingView& view)
{
    json.beginObject();
    json.key("columns");
    json.beginArray();
    for (const RankingColumn& c : view.columns) {
        json.beginArray(JsonWriter::Layout::Inline);
        json.value(c.header);
        json.value(static_cast<std::int64_t>(c.width));
        json.endArray();
    }
    json.endArray();
    json.key("rows");
    json.beginArray();
    for (const auto& row : view.rows) {
        json.beginArray(JsonWriter::Layout::Inline);
        for (const std::string& cell : row)
            json.value(cell);
        json.endArray();
    }
    json.endArray();
    json.endObject();
}

} // namespace

void writeFileMembers(JsonWriter& json, const ReportData& data)
{
    const bool several = data.options.files.size() > 1;
    json.key("file");
    if (several) {
        json.beginArray(JsonWriter::Layout::Inline);
        for (const std::string& file : data.options.files)
            json.value(file);
        json.endArray();
    } else {
        json.value(data.options.file);
    }
    json.key("size_bytes");
    json.value(static_cast<std::int64_t>(data.outcome.sizeBytes));
    json.key("size_kb");
    json.value(static_cast<std::int64_t>(data.outcome.sizeBytes / 1024));
    json.key("entries");
    json.value(static_cast<std::int64_t>(data.outcome.entries));
    json.key("accepted");
    json.value(static_cast<std::int64_t>(data.outcome.accepted));
    if (data.options.skipDamaged) {
        json.key("skipped");
        json.beginArray();
        for (const SkippedEntry& skipped : data.outcome.skipped) {
            json.beginObject(JsonWriter::Layout::Inline);
            json.key("line");
            json.value(static_cast<std::int64_t>(skipped.line));
            json.key("message");
            json.value(skipped.message);
            json.endObject();
        }
        json.endArray();
    }
    if (!several)
        return;
    json.key("duplicates");
    json.value(static_cast<std::int64_t>(data.outcome.duplicates));
    json.key("files");
    json.beginArray();
    for (std::size_t i = 0; i < data.outcome.logs.size(); ++i) {
        const LogOutcome& log = data.outcome.logs[i];
        json.beginObject(JsonWriter::Layout::Inline);
        json.key("file");
        json.value(i < data.options.files.size() ? data.options.files[i] : log.path.string());
        json.key("size_bytes");
        json.value(static_cast<std::int64_t>(log.sizeBytes));
        json.key("entries");
        json.value(static_cast<std::int64_t>(log.entries));
        json.key("accepted");
        json.value(static_cast<std::int64_t>(log.accepted));
        json.key("duplicates");
        json.value(static_cast<std::int64_t>(log.duplicates));
        json.endObject();
    }
    json.endArray();
}

void writeJsonReport(std::FILE* out, const ReportData& data)
{
    const ViewParts parts = partsOf(data.options.view);
    const Analysis& a = data.analysis;
    JsonWriter json(out);
    json.beginObject();
    writeFileMembers(json, data);
    if (parts.summary) {
        json.key("history");
        json.value(data.outcome.history);
        json.key("confirmation");
        json.beginArray();
        for (const std::string& line : data.confirmation)
            json.value(line);
        json.endArray();
    }
    if (parts.plays) {
        json.key("plays");
        json.beginArray();
        PlayCellText cell;
        for (std::size_t r : data.playRows) {
            const PlayRecord& play = a.plays.row(r);
            json.beginArray(JsonWriter::Layout::Inline);
            for (int c = 0; c < PlayList::kColumns; ++c)
                json.value(cell(play, c));
            json.endArray();
        }
        json.endArray();
    }
    if (!parts.rankings.empty()) {
        json.key("rankings");
        json.beginObject();
        for (RankingKind kind : parts.rankings) {
            json.key(rankingChooserEntries()[static_cast<std::size_t>(kind)]);
            writeRanking(json, buildRankingView(kind, a.rankings));
        }
        json.endObject();
    }
    if (parts.charts)
        writeCharts(json, data);
    writeInsightMembers(json, data);
    writeReviewMembers(json, data);
    json.endObject();
    json.finish();
}

void writeJsonFailure(
    std::FILE* out, std::string_view kind, long line, std::string_view message, bool severalLogs, std::string_view file)
{
    JsonWriter json(out);
    json.beginObject(JsonWriter::Layout::Inline);
    json.key("error");
    json.beginObject();
    json.key("kind");
    json.value(kind);
    json.key("line");
    if (line > 0)
        json.value(static_cast<std::int64_t>(line));
    else
        json.null();
    json.key("message");
    json.value(message);
    if (severalLogs) {
        json.key("file");
        if (file.empty())
            json.null();
        else
            json.value(file);
    }
    json.endObject();
    json.endObject();
    json.finish();
}

void writeJsonError(std::FILE* out, const AnalysisFailure& failure)
{
    std::string_view kind;
    switch (failure.kind) {
    case AnalysisFailure::Kind::Open: kind = "open"; break;
    case AnalysisFailure::Kind::Format: kind = "format"; break;
    case AnalysisFailure::Kind::NoPlays: kind = "no_plays"; break;
    }
    std::string message;
    for (const std::string& line : RunTexts::failure(failure))
        message += (message.empty() ? "" : "\n") + line;
    writeJsonFailure(out, kind, failure.line, message, failure.fileNamed, failure.file);
}

} // namespace tolvane::report
