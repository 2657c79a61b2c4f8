#include "core/log/Utf8Text.h"

namespace tolvane {

namespace {

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte index where the character at 0-based index n starts, or text.size().
std::size_t byteIndexOf(std::string_view text, std::size_t n)
{
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isContinuation(text[i])) {
            if (n == 0)
                return i;
            --n;
        }
        ++i;
    }
    return text.size();
}

} // namespace

std::size_t charCount(std::string_view text)
{
    std::size_t n = 0;
    for (char c : text)
        n += isContinuation(c) ? 0 : 1;
    return n;
}

std::string_view dropChars(std::string_view text, std::size_t n)
{
    return text.substr(byteIndexOf(text, n));
}

std::string_view charAt(std::string_view text, std::size_t pos)
{
    if (pos == 0)
        return {};
    const std::size_t start = byteIndexOf(text, pos - 1);
    if (start >= text.size())
        return {};
    std::size_t end = start + 1;
    while (end < text.size() && isContinuation(text[end]))
        ++end;
    return text.substr(start, end - start);
}

} // namespace tolvane
