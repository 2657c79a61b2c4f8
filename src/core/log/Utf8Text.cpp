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

std::size_t utf8SequenceLength(const unsigned char* p, const unsigned char* end) noexcept
{
    const unsigned char b = *p;
    std::size_t n = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0)
            lo = 0xA0;
        if (b == 0xED)
            hi = 0x9F; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0)
            lo = 0x90;
        if (b == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < n)
        return 0;
    if (p[1] < lo || p[1] > hi)
        return 0;
    for (std::size_t i = 2; i < n; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return n;
}

} // namespace tolvane
