#include "core/rankings/KeyFold.h"

#include <cstdint>
#include <cstring>
#include <optional>

namespace tolvane {

namespace {

// U+FF21..FF3A is EF BC A1..BA in UTF-8; U+FF41..FF5A is EF BD 81..9A.
constexpr unsigned char kWideLead = 0xEF;
constexpr unsigned char kWideCapitalMid = 0xBC;
constexpr unsigned char kWideSmallMid = 0xBD;
constexpr unsigned char kWideCapitalFirst = 0xA1;
constexpr unsigned char kWideCapitalLast = 0xBA;
constexpr unsigned char kWideCaseShift = 0x20;

struct TwoBytes {
    unsigned char lead;
    unsigned char trail;
};

unsigned char byteAt(std::string_view s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

unsigned char plus(unsigned char c, int shift)
{
    return static_cast<unsigned char>(c + shift);
}

// The small letter of a two-byte Greek or Cyrillic capital (or of the final
// sigma); nothing for any other pair of bytes.
//   Α..Ο U+0391..039F  CE 91..9F -> CE B1..BF
//   Π..Ω U+03A0..03A9  CE A0..A9 -> CF 80..89 (U+03A2 is no letter)
//   ς    U+03C2        CF 82     -> CF 83 (σ)
//   Ё    U+0401        D0 81     -> D1 91
//   А..П U+0410..041F  D0 90..9F -> D0 B0..BF
//   Р..Я U+0420..042F  D0 A0..AF -> D1 80..8F
std::optional<TwoBytes> smallOfPair(unsigned char lead, unsigned char trail)
{
    switch (lead) {
    case 0xCE:
        if (trail >= 0x91 && trail <= 0x9F)
            return TwoBytes{lead, plus(trail, 0x20)};
        if (trail >= 0xA0 && trail <= 0xA9 && trail != 0xA2)
            return TwoBytes{0xCF, plus(trail, -0x20)};
        break;
    case 0xCF:
        if (trail == 0x82)
            return TwoBytes{lead, 0x83};
        break;
    case 0xD0:
        if (trail == 0x81)
            return TwoBytes{0xD1, 0x91};
        if (trail >= 0x90 && trail <= 0x9F)
            return TwoBytes{lead, plus(trail, 0x20)};
        if (trail >= 0xA0 && trail <= 0xAF)
            return TwoBytes{0xD1, plus(trail, -0x20)};
        break;
    default: break;
    }
    return std::nullopt;
}

bool wideCapitalStartsAt(std::string_view s, std::size_t i)
{
    return i + 2 < s.size() && byteAt(s, i) == kWideLead && byteAt(s, i + 1) == kWideCapitalMid
        && byteAt(s, i + 2) >= kWideCapitalFirst && byteAt(s, i + 2) <= kWideCapitalLast;
}

// The byte at i once the whole text is folded. Which letter a byte belongs to
// shows from at most two bytes before it and one after: the lead bytes of the
// pairs (CE, CF, D0) and of the full-width letters (EF) never occur inside
// another sequence, and the bytes that follow them never start one.
unsigned char foldedByte(std::string_view s, std::size_t i)
{
    const unsigned char c = byteAt(s, i);
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? plus(c, 'a' - 'A') : c;
    if (c >= 0xC0) {
        if (i + 1 < s.size())
            if (const auto pair = smallOfPair(c, byteAt(s, i + 1)))
                return pair->lead;
        return c;
    }
    // A byte after a lead: the second of a pair, or the second or third of a full-width letter.
    if (i >= 1)
        if (const auto pair = smallOfPair(byteAt(s, i - 1), c))
            return pair->trail;
    if (c == kWideCapitalMid && i >= 1 && wideCapitalStartsAt(s, i - 1))
        return kWideSmallMid;
    if (c >= kWideCapitalFirst && c <= kWideCapitalLast && i >= 2 && wideCapitalStartsAt(s, i - 2))
        return plus(c, -kWideCaseShift);
    return c;
}

} // namespace

std::string foldLetterCase(std::string_view utf8)
{
    std::string folded(utf8.size(), '\0');
    for (std::size_t i = 0; i < utf8.size(); ++i)
        folded[i] = static_cast<char>(foldedByte(utf8, i));
    return folded;
}

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
    // Folding changes a byte only in its bits 0x01, 0x10 and 0x20 (ASCII
    // letters in 0x20; full-width letters in 0x01 of the middle byte and 0x20
    // of the last; Greek and Cyrillic leads in 0x01, their second bytes in
    // 0x20, or 0x01 for ς, or 0x10 for Ё). Hashing every byte with those bits
    // set gives keys that fold alike one hash without folding anything.
    constexpr std::uint64_t kCaseBits = 0x3131313131313131ULL;
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
        tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i]) | 0x31) << (8 * i);
    h = (h ^ tail) * kMultiplier;
    h ^= h >> 32;
    return static_cast<std::size_t>(h);
}

} // namespace tolvane
