#include "core/export/CsvText.h"

#include "core/export/Utf8Check.h"
#include "core/log/TextDecoder.h"

namespace tolvane {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A signed number as the tables write one: digits with "," or "." among
// them, and an exponent.
bool isSignedNumber(std::string_view text)
{
    if (text.size() < 2 || (text[0] != '-' && text[0] != '+'))
        return false;
    std::size_t i = 1;
    bool digits = false;
    for (; i < text.size() && (isDigit(text[i]) || text[i] == '.' || text[i] == ','); ++i)
        digits = digits || isDigit(text[i]);
    if (!digits)
        return false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (i == text.size())
            return false;
        while (i < text.size() && isDigit(text[i]))
            ++i;
    }
    return i == text.size();
}

void appendClean(std::string& line, std::string_view clean, CsvTexts texts)
{
    const bool mark = texts == CsvTexts::SpreadsheetSafe && looksLikeFormula(clean);
    if (clean.find_first_of(",\"\r\n") == std::string_view::npos) {
        if (mark)
            line += '\'';
        line += clean;
        return;
    }
    line += '"';
    if (mark)
        line += '\'';
    for (char c : clean) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

} // namespace

bool looksLikeFormula(std::string_view text)
{
    if (text.empty())
        return false;
    switch (text.front()) {
    case '=':
    case '@':
    case '\t':
    case '\r': return true;
    case '+':
    case '-': return !isSignedNumber(text);
    default: return false;
    }
}

void appendCsvField(std::string& line, std::string_view text, CsvTexts texts)
{
    // Most texts are clean UTF-8 already and need no decoding.
    if (isWellFormedUtf8(text)) {
        appendClean(line, text, texts);
        return;
    }
    static const TextDecoder utf8(TextDecoder::Encoding::Utf8);
    appendClean(line, utf8.decode(text), texts);
}

std::string csvField(std::string_view text, CsvTexts texts)
{
    std::string field;
    appendCsvField(field, text, texts);
    return field;
}

} // namespace tolvane
