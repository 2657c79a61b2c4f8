#include "support/LogText.h"

#include "support/LogGenerator.h"

namespace tolvane::testing {

std::string EntryText::text(std::string_view lineEnd) const
{
    std::string s;
    for (const std::string* line : {&marker, &date, &title, &genre, &bpm, &autoplay, &autoScratch, &score, &judge}) {
        s += *line;
        s += lineEnd;
    }
    return s;
}

std::string logOf(std::initializer_list<EntryText> entries)
{
    std::string utf8;
    for (const EntryText& e : entries)
        utf8 += e.text();
    return utf8ToCp932(utf8);
}

} // namespace tolvane::testing
