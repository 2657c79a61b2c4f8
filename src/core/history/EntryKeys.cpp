#include "core/history/EntryKeys.h"

#include "core/log/LineReader.h"
#include "core/log/LogPass.h"
#include "core/log/ScoreLogReader.h"

#include <string>
#include <string_view>

namespace tolvane {

namespace {

// Two independent 64-bit hashes of the lines, each line closed by its
// length, so that no two different line lists share a digest by accident.
class Digest final {
public:
    void add(std::string_view text)
    {
        for (const char c : text)
            byte(static_cast<unsigned char>(c));
        std::uint64_t n = text.size();
        for (int i = 0; i < 8; ++i, n >>= 8)
            byte(static_cast<unsigned char>(n & 0xFF));
    }
    EntryKey key() const { return {fnv_, mix(mixed_ ^ count_)}; }

private:
    static std::uint64_t mix(std::uint64_t x)
    {
        x ^= x >> 30;
        x *= 0xbf58476d1ce4e5b9ULL;
        x ^= x >> 27;
        x *= 0x94d049bb133111ebULL;
        x ^= x >> 31;
        return x;
    }
    void byte(unsigned char c)
    {
        fnv_ = (fnv_ ^ c) * 1099511628211ULL;
        mixed_ = (mixed_ + c + 0x9e3779b97f4a7c15ULL) * 0xff51afd7ed558ccdULL;
        mixed_ ^= mixed_ >> 29;
        ++count_;
    }

    std::uint64_t fnv_ = 14695981039346656037ULL;
    std::uint64_t mixed_ = 0x2545F4914F6CDD1DULL;
    std::uint64_t count_ = 0;
};

// The entry's lines go as far as its max-combo line.
constexpr int kMaxEntryLines = 9;
constexpr int kJudgementLine = 8;
constexpr std::string_view kGreat = "Great";

bool isMarkerLine(const LineReader& lines, const std::string& text)
{
    return lines.bytes().starts_with(kMarkerPrefix) && text == ScoreLogReader::kMarker;
}

} // namespace

std::vector<EntryKey> entryKeys(LineReader& lines, const std::vector<long>& dateLines)
{
    std::vector<EntryKey> keys;
    keys.reserve(dateLines.size());
    std::string text;
    bool haveLine = false; // the current line is one the loop has not looked at yet
    while (keys.size() < dateLines.size()) {
        if (!haveLine && (lines.atEnd() || !lines.next()))
            break;
        haveLine = false;
        if (lines.lineNumber() != dateLines[keys.size()])
            continue;
        Digest digest;
        for (int n = 1; n <= kMaxEntryLines; ++n) {
            text.clear();
            lines.decodeInto(text);
            if (n > 1 && isMarkerLine(lines, text)) {
                haveLine = true; // it may stand before the next entry's date line
                break;
            }
            digest.add(text);
            if (n == kJudgementLine && text.starts_with(kGreat))
                break;
            if (n == kMaxEntryLines || lines.atEnd() || !lines.next())
                break;
        }
        keys.push_back(digest.key());
    }
    // Entries the lines no longer hold (the file changed meanwhile) keep
    // digests of nothing that no real entry has.
    while (keys.size() < dateLines.size())
        keys.push_back({~0ULL, static_cast<std::uint64_t>(dateLines[keys.size()])});
    return keys;
}

} // namespace tolvane
