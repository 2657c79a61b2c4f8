#include "model/KeyFold.h"

#include <cstdint>

namespace tolvane {

namespace {

// U+FF21..FF3A is EF BC A1..BA in UTF-8; U+FF41..FF5A is EF BD 81..9A.
constexpr unsigned char kWideLead = 0xEF;
constexpr unsigned char kWideCapitalMid = 0xBC;
constexpr unsigned char kWideSmallMid = 0xBD;
constexpr unsigned char kWideCapitalFirst = 0xA1;
constexpr unsigned char kWideCapitalLast = 0xBA;
constexpr unsigned char kWideCaseShift = 0x20;

unsigned char byteAt(std::string_view s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

bool wideCapitalStartsAt(std::string_view s, std::size_t i)
{
    return i + 2 < s.size() && byteAt(s, i) == kWideLead && byteAt(s, i + 1) == kWideCapitalMid
        && byteAt(s, i + 2) >= kWideCapitalFirst && byteAt(s, i + 2) <= kWideCapitalLast;
}

// The byte at i once the whole text is folded. A lead byte 0xEF never occurs
// inside another sequence, so looking back two bytes is enough.
unsigned char foldedByte(std::string_view s, std::size_t i)
{
    const unsigned char c = byteAt(s, i);
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + ('a' - 'A'));
    if (c == kWideCapitalMid && i >= 1 && wideCapitalStartsAt(s, i - 1))
        return kWideSmallMid;
    if (c >= kWideCapitalFirst && c <= kWideCapitalLast && i >= 2 && wideCapitalStartsAt(s, i - 2))
        return static_cast<unsigned char>(c - kWideCaseShift);
    return c;
}

} // namespace

bool sameKey(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldedByte(a, i) != foldedByte(b, i))
            return false;
    }
    return true;
}

std::size_t hashKey(std::string_view utf8) noexcept
{
    // FNV-1a over the folded bytes.
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        h ^= foldedByte(utf8, i);
        h *= 0x100000001b3ULL;
    }
    return static_cast<std::size_t>(h);
}

} // namespace tolvane
