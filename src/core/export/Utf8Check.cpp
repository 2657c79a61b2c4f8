#include "core/export/Utf8Check.h"

#include <cstdint>
#include <cstring>

namespace tolvane {

namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// The length of the well-formed sequence that starts with the byte >= 0x80
// at p (2..4), or 0.
std::size_t sequenceLength(const unsigned char* p, const unsigned char* end) noexcept
{
    const unsigned char b = *p;
    std::size_t n = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        lo = b == 0xE0 ? 0xA0 : 0x80;
        hi = b == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        lo = b == 0xF0 ? 0x90 : 0x80;
        hi = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < n || p[1] < lo || p[1] > hi)
        return 0;
    for (std::size_t i = 2; i < n; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return n;
}

} // namespace

bool isWellFormedUtf8(std::string_view text) noexcept
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        // ASCII eight bytes at a time.
        if (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if ((word & kHighBits) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        // Japanese text is mostly three-byte characters whose lead byte puts
        // no limit on the next byte beyond being a continuation.
        if (b >= 0xE1 && b != 0xED && b <= 0xEF && end - p >= 3 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
            p += 3;
            continue;
        }
        const std::size_t n = sequenceLength(p, end);
        if (n == 0)
            return false;
        p += n;
    }
    return true;
}

} // namespace tolvane
