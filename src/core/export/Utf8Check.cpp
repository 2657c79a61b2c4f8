#include "core/export/Utf8Check.h"

#include "core/log/Utf8Text.h"

#include <cstdint>
#include <cstring>

namespace tolvane {

namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

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
        const std::size_t n = utf8SequenceLength(p, end);
        if (n == 0)
            return false;
        p += n;
    }
    return true;
}

} // namespace tolvane
