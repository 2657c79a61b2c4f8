#include "core/export/CsvText.h"

#include "core/log/TextDecoder.h"

namespace tolvane {

std::string csvField(std::string_view text)
{
    static const TextDecoder utf8(TextDecoder::Encoding::Utf8);
    const std::string clean = utf8.decode(text);
    if (clean.find_first_of(",\"\r\n") == std::string::npos)
        return clean;
    std::string quoted = "\"";
    for (char c : clean) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

} // namespace tolvane
