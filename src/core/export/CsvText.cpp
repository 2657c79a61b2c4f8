#include "core/export/CsvText.h"

#include "core/export/Utf8Check.h"
#include "core/log/TextDecoder.h"

namespace tolvane {

namespace {

void appendClean(std::string& line, std::string_view clean)
{
    if (clean.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += clean;
        return;
    }
    line += '"';
    for (char c : clean) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

} // namespace

void appendCsvField(std::string& line, std::string_view text)
{
    // Most texts are clean UTF-8 already and need no decoding.
    if (isWellFormedUtf8(text)) {
        appendClean(line, text);
        return;
    }
    static const TextDecoder utf8(TextDecoder::Encoding::Utf8);
    appendClean(line, utf8.decode(text));
}

std::string csvField(std::string_view text)
{
    std::string field;
    appendCsvField(field, text);
    return field;
}

} // namespace tolvane
