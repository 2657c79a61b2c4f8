#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// How a CSV holds its texts. Exact keeps every text as it is, for scripts.
// SpreadsheetSafe is for a file a spreadsheet opens: a text that begins with
// "=", "+", "-", "@", a tab or a CR would be taken for a formula there, so
// it gets a leading "'". A number ("-12", "+3.5", "-1E+20", "-1,234") is
// never changed.
enum class CsvTexts { Exact, SpreadsheetSafe };

// True for a text a spreadsheet would take for the start of a formula.
bool looksLikeFormula(std::string_view text);

// One CSV field: the text as clean UTF-8, quoted (RFC 4180) when it holds a
// comma, a quote or a line end.
std::string csvField(std::string_view text, CsvTexts texts = CsvTexts::Exact);
// The same field, appended to line.
void appendCsvField(std::string& line, std::string_view text, CsvTexts texts = CsvTexts::Exact);

// One CSV line of cells, ending in CR LF.
template <class Cells> std::string csvLine(const Cells& cells, CsvTexts texts = CsvTexts::Exact)
{
    std::string line;
    bool first = true;
    for (const auto& cell : cells) {
        if (!first)
            line += ',';
        first = false;
        appendCsvField(line, cell, texts);
    }
    line += "\r\n";
    return line;
}

// The byte order mark that tells a spreadsheet the CSV is UTF-8.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// One line of tab-separated text for the clipboard: a tab or line end inside
// a cell becomes a space, so the rows and columns stay as they are. Ends in
// "\n".
template <class Cells> std::string tabLine(const Cells& cells)
{
    std::string line;
    bool first = true;
    for (const auto& cell : cells) {
        if (!first)
            line += '\t';
        first = false;
        for (char c : std::string_view(cell))
            line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
    line += '\n';
    return line;
}

} // namespace tolvane
