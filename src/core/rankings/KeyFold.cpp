#include "core/rankings/KeyFold.h"

#include <cstdint>
#include <cstring>

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
    // Most lookups find the key in the very spelling it was stored in.
    if (a == b)
        return true;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldedByte(a, i) != foldedByte(b, i))
            return false;
    }
    return true;
}

std::size_t hashKey(std::string_view utf8) noexcept
{
    // Keys that fold alike differ only in bit 0x20 of their letters and in bit
    // 0x01 of the middle byte of a full-width letter, so hashing every byte
    // with both bits set gives them one hash without folding anything.
    constexpr std::uint64_t kCaseBits = 0x2121212121212121ULL;
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    std::uint64_t h = 0xcbf29ce484222325ULL ^ utf8.size();
    const char* p = utf8.data();
    std::size_t n = utf8.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        h = (h ^ (word | kCaseBits)) * kMultiplier;
        h ^= h >> 29;
    }
    std::uint64_t tail = 0;
    for (std::size_t i = 0; i < n; ++i)
        tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i]) | 0x21) << (8 * i);
    h = (h ^ tail) * kMultiplier;
    h ^= h >> 32;
    return static_cast<std::size_t>(h);
}

} // namespace tolvane
