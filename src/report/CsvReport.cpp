#include "report/CsvReport.h"

#include "core/export/CsvText.h"
#include "core/export/PlayCellText.h"
#include "report/InsightReport.h"
#include "report/ReviewReport.h"

namespace tolvane::report {

namespace {

// How the report being written holds its texts (--csv-safe); the table
// writers of the insight views share it through writeCsvLine.
CsvTexts reportTexts = CsvTexts::Exact;

template <class Cells> void writeLine(std::FILE* out, const Cells& cells)
{
    const std::string line = csvLine(cells, reportTexts);
    std::fwrite(line.data(), 1, line.size(), out);
}

} // namespace

void writeCsvLine(std::FILE* out, const std::vector<std::string>& cells)
{
    writeLine(out, cells);
}

void writeCsvReport(std::FILE* out, const ReportData& data)
{
    reportTexts = data.options.csvSafe ? CsvTexts::SpreadsheetSafe : CsvTexts::Exact;
    const ViewParts parts = partsOf(data.options.view);
    if (parts.plays) {
        writeLine(out, PlayList::kHeaders);
        // The rows straight from the records, into one line kept for reuse.
        PlayCellText cell;
        std::string line;
        for (std::size_t r : data.playRows) {
            const PlayRecord& play = data.analysis.plays.row(r);
            line.clear();
            for (int c = 0; c < PlayList::kColumns; ++c) {
                if (c > 0)
                    line += ',';
                appendCsvField(line, cell(play, c), reportTexts);
            }
            line += "\r\n";
            std::fwrite(line.data(), 1, line.size(), out);
        }
    } else if (!parts.rankings.empty()) {
        const RankingView view = buildRankingView(parts.rankings.front(), data.analysis.rankings);
        std::vector<std::string> headers;
        for (const RankingColumn& c : view.columns)
            headers.push_back(c.header);
        writeLine(out, headers);
        for (const auto& row : view.rows)
            writeLine(out, row);
    } else {
        writeInsightCsv(out, data);
        writeReviewCsv(out, data);
    }
    std::fflush(out);
}

} // namespace tolvane::report
