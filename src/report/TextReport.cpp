#include "report/TextReport.h"

#include "core/analysis/RunTexts.h"
#include "core/export/PlayCellText.h"
#include "core/log/DateText.h"
#include "report/InsightReport.h"
#include "report/ReviewReport.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tolvane::report {

namespace {

constexpr std::size_t kTopRows = 10;
constexpr int kBarWidth = 40;

bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3)
        || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
        || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x3000 && c <= 0x303E) || (c >= 0x2460 && c <= 0x24FF)
        || (c >= 0x25A0 && c <= 0x25FF) || (c >= 0x2600 && c <= 0x26FF) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::string padded(std::string_view text, std::size_t width)
{
    std::string s(text);
    const std::size_t w = displayWidth(text);
    if (w < width)
        s.append(width - w, ' ');
    return s;
}

void print(std::FILE* out, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), out);
}

void printTable(std::FILE* out, const std::vector<std::string>& headers,
    const std::vector<std::vector<std::string>>& rows, std::size_t maxRows)
{
    const std::size_t shown = std::min(maxRows, rows.size());
    std::vector<std::size_t> widths(headers.size(), 0);
    for (std::size_t c = 0; c < headers.size(); ++c)
        widths[c] = displayWidth(headers[c]);
    for (std::size_t r = 0; r < shown; ++r) {
        for (std::size_t c = 0; c < rows[r].size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], displayWidth(rows[r][c]));
    }
    auto line = [&](const std::vector<std::string>& cells) {
        std::string s;
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            const bool last = c + 1 == cells.size();
            s += last ? cells[c] : padded(cells[c], widths[c]) + "  ";
        }
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        print(out, s + "\n");
    };
    line(headers);
    for (std::size_t r = 0; r < shown; ++r)
        line(rows[r]);
}

// The data list as printTable would print it, its cells taken straight from
// the records twice (once for the widths, once to print) rather than kept as
// strings for every row.
void printPlaysTable(std::FILE* out, const ReportData& data)
{
    constexpr auto kColumns = static_cast<std::size_t>(PlayList::kColumns);
    const PlayList& plays = data.analysis.plays;
    PlayCellText cell;
    std::array<std::size_t, kColumns> widths{};
    for (std::size_t c = 0; c < kColumns; ++c)
        widths[c] = displayWidth(PlayList::kHeaders[c]);
    for (std::size_t r : data.playRows) {
        const PlayRecord& play = plays.row(r);
        for (std::size_t c = 0; c < kColumns; ++c)
            widths[c] = std::max(widths[c], displayWidth(cell(play, static_cast<int>(c))));
    }
    std::string line;
    const auto printLine = [&](const auto& cellText) {
        line.clear();
        for (std::size_t c = 0; c < kColumns; ++c) {
            const std::string_view text = cellText(c);
            line += text;
            if (c + 1 == kColumns)
                break;
            const std::size_t w = displayWidth(text);
            if (w < widths[c])
                line.append(widths[c] - w, ' ');
            line += "  ";
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        line += '\n';
        print(out, line);
    };
    printLine([](std::size_t c) { return PlayList::kHeaders[c]; });
    for (std::size_t r : data.playRows) {
        const PlayRecord& play = plays.row(r);
        printLine([&](std::size_t c) { return cell(play, static_cast<int>(c)); });
    }
}

void printRanking(std::FILE* out, RankingKind kind, const Analysis& a, std::size_t maxRows)
{
    const RankingView view = buildRankingView(kind, a.rankings);
    std::vector<std::string> headers;
    for (const RankingColumn& c : view.columns)
        headers.push_back(c.header);
    printTable(out, headers, view.rows, maxRows);
}

void printChart(std::FILE* out, std::string_view title, const ChartRows& rows)
{
    print(out, std::string(title) + "\n");
    std::int64_t most = 0;
    std::size_t labelWidth = 0;
    for (const ChartRow& row : rows) {
        most = std::max(most, row.value.value_or(0));
        labelWidth = std::max(labelWidth, displayWidth(row.label));
    }
    for (const ChartRow& row : rows) {
        const std::int64_t v = row.value.value_or(0);
        const auto bar = most > 0 ? static_cast<std::size_t>(v * kBarWidth / most) : 0;
        std::string s = "  " + padded(row.label, labelWidth) + "  " + std::string(bar, '#');
        s += (bar > 0 ? " " : "") + chartValueText(row.value);
        print(out, s + "\n");
    }
}

void printCharts(std::FILE* out, const ReportData& data)
{
    const Analysis& a = data.analysis;
    print(out, "総合 (" + data.periodChart.from + " - " + data.periodChart.to + ")\n");
    printChart(out, "", data.periodChart.rows);
    printChart(out, "年別", a.totals.year);
    printChart(out, "月別", a.totals.month);
    printChart(out, "日別", a.totals.day);
    printChart(out, "曜日別", a.totals.weekday);
    printChart(out, "時間帯別", a.totals.hour);
}

void printSummary(std::FILE* out, const ReportData& data)
{
    const Analysis& a = data.analysis;
    const RunOutcome& o = data.outcome;
    std::string files;
    for (const std::string& file : data.options.files)
        files += (files.empty() ? "" : " ") + file;
    std::string s = "file      " + (files.empty() ? data.options.file : files) + "\n";
    s += "size      " + std::to_string(o.sizeBytes) + " bytes (" + std::to_string(o.sizeBytes / 1024) + "KB)\n";
    s += "entries   " + std::to_string(o.entries) + "\n";
    s += "accepted  " + std::to_string(o.accepted) + "\n";
    if (data.options.files.size() > 1) {
        s += "duplicates " + std::to_string(o.duplicates) + "\n";
        for (std::size_t i = 0; i < o.logs.size() && i < data.options.files.size(); ++i) {
            const LogOutcome& log = o.logs[i];
            s += "  " + data.options.files[i] + ": " + std::to_string(log.entries) + " entries, "
                + std::to_string(log.accepted) + " accepted, " + std::to_string(log.duplicates) + " duplicates\n";
        }
    }
    if (data.options.skipDamaged) {
        s += "skipped   " + std::to_string(o.skipped.size()) + " damaged entries\n";
        for (const SkippedEntry& skipped : o.skipped)
            s += "  " + skipped.message + "\n";
        if (!o.unreadable.empty()) {
            s += "unreadable texts in plays";
            for (const UnreadableText& u : o.unreadable)
                s += " " + std::to_string(u.play) + " (line " + std::to_string(u.line) + ")";
            s += "\n";
        }
    }
    if (!a.plays.empty()) {
        DateValue first = a.plays.row(0).date;
        DateValue last = first;
        for (std::size_t i = 0; i < a.plays.size(); ++i) {
            first = std::min(first, a.plays.row(i).date);
            last = std::max(last, a.plays.row(i).date);
        }
        s += "span      " + dateTimeText(first) + " - " + dateTimeText(last) + "\n";
    }
    s += "history   " + o.history + "\n";
    print(out, s);
    for (RankingKind kind :
        {RankingKind::Title, RankingKind::Artist, RankingKind::Genre, RankingKind::Score, RankingKind::MaxCombo}) {
        std::string heading = "\n";
        heading += rankingChooserEntries()[static_cast<std::size_t>(kind)];
        heading += " (top 10)\n";
        print(out, heading);
        printRanking(out, kind, a, kTopRows);
    }
    print(out, "\n");
    printChart(out, "年別", a.totals.year);
    printChart(out, "月別", a.totals.month);
    printChart(out, "日別", a.totals.day);
    printChart(out, "曜日別", a.totals.weekday);
    printChart(out, "時間帯別", a.totals.hour);
}

} // namespace

void writeTextTable(
    std::FILE* out, const std::vector<std::string>& headers, const std::vector<std::vector<std::string>>& rows)
{
    printTable(out, headers, rows, rows.size());
}

std::size_t displayWidth(std::string_view utf8)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c = b;
        std::size_t n = 1;
        if (b >= 0xF0)
            n = 4, c = b & 0x07;
        else if (b >= 0xE0)
            n = 3, c = b & 0x0F;
        else if (b >= 0xC0)
            n = 2, c = b & 0x1F;
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        width += isWide(c) ? 2 : 1;
        i += n;
    }
    return width;
}

void writeTextReport(std::FILE* out, const ReportData& data)
{
    const ViewParts parts = partsOf(data.options.view);
    bool first = true;
    auto gap = [&] {
        if (!first)
            print(out, "\n");
        first = false;
    };
    if (parts.summary) {
        gap();
        printSummary(out, data);
    }
    if (parts.plays) {
        gap();
        printPlaysTable(out, data);
    }
    if (!parts.summary) {
        for (RankingKind kind : parts.rankings) {
            gap();
            print(out, std::string(rankingChooserEntries()[static_cast<std::size_t>(kind)]) + "\n");
            printRanking(out, kind, data.analysis, static_cast<std::size_t>(-1));
        }
    }
    if (parts.charts) {
        gap();
        printCharts(out, data);
    }
    writeInsightText(out, data);
    writeReviewText(out, data);
    std::fflush(out);
}

} // namespace tolvane::report
