// Reads arbitrary bytes once in one pass and once in small parts on several
// threads, and checks that both hand on the same: every entry's date, every
// play with its number and fields, and the same end, error and error line.
// The first kHeader bytes choose the load filters, the threads, the size of
// the parts and whether damaged entries are skipped; the rest is the log.
#include "core/log/DateValue.h"
#include "core/log/ScoreLogReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

using namespace tolvane;

namespace {

constexpr std::size_t kHeader = 6;

// Everything a reading handed on, as bytes.
class Trace {
public:
    template <typename T> void add(const T& value)
    {
        // Field by field, so that no padding byte is compared.
        bytes_.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    void add(std::string_view text)
    {
        add(text.size());
        bytes_.append(text);
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

std::string readAll(std::string_view log, const Filter& filter, LogReadOptions options)
{
    Trace trace;
    LogReaderCallbacks callbacks;
    callbacks.onPlayDate = [&](const PlayDate& d) {
        trace.add(d.date);
        trace.add(d.line);
        trace.add(d.year * 10000 + d.month * 100 + d.day);
        trace.add(d.weekday * 100 + d.hour);
    };
    callbacks.onPlay = [&](PlayRecord&& p) {
        trace.add(p.no);
        for (std::string_view text : {p.dateTime, p.title, p.artist, p.genre})
            trace.add(text);
        // Bit for bit, so that two NaNs compare equal.
        for (double value : {p.level, p.bpm, p.totalNotes, p.maxCombo, p.date, p.judgements[0], p.judgements[1],
                 p.judgements[2], p.judgements[3]})
            trace.add(std::string_view(reinterpret_cast<const char*>(&value), sizeof value));
        trace.add(p.score);
        trace.add(p.autoplay * 16 + p.autoScratch);
        trace.add(p.unreadableText);
    };
    const LogReadResult r = ScoreLogReader(filter, callbacks, nullptr, options).readBytes(log);
    trace.add(r.accepted);
    trace.add(r.entries);
    trace.add(r.endOffset);
    trace.add(r.endLine);
    trace.add(r.stoppedAtMaxtime);
    trace.add(r.cancelled);
    if (r.error) {
        trace.add(static_cast<int>(r.error->kind) * 100 + static_cast<int>(r.error->cause));
        trace.add(r.error->line);
        trace.add(std::string_view(r.error->detail));
    }
    for (const SkippedEntry& skipped : r.skipped) {
        trace.add(static_cast<int>(skipped.error.kind) * 100 + static_cast<int>(skipped.error.cause));
        trace.add(skipped.line);
        trace.add(skipped.error.line);
        trace.add(std::string_view(skipped.error.detail));
    }
    for (const UnreadableText& u : r.unreadable) {
        trace.add(u.play);
        trace.add(u.line);
    }
    return trace.bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeader)
        return 0;
    const std::uint8_t* h = data;
    Filter filter;
    filter.IgnoreAutoplay = (h[0] & 0x01) != 0;
    filter.IgnoreScrach = (h[0] & 0x02) != 0;
    filter.ScoreFilter = (h[0] & 0x04) != 0;
    filter.SpanFilter = (h[0] & 0x08) != 0;
    filter.Mintime = (h[0] & 0x10) != 0 ? makeDate(2001, 11, 22) : 0;
    filter.Maxtime = (h[0] & 0x20) != 0 ? makeDate(2001, 12, 24, 6) : 0;
    filter.optIgnoreAuto = static_cast<std::int16_t>(h[1] & 0x03);
    filter.optIgnoreScr = static_cast<std::int16_t>((h[1] >> 2) & 0x03);
    filter.MinScore = h[5] * 512;
    LogReadOptions parts;
    parts.threads = 2 + (h[1] >> 4) % 4;
    parts.partBytes = 16 + (static_cast<std::uint64_t>(h[2]) | static_cast<std::uint64_t>(h[3]) << 8) % 4096;
    parts.skipDamaged = (h[4] & 0x01) != 0;
    LogReadOptions onePass;
    onePass.skipDamaged = parts.skipDamaged;
    const std::string_view log(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

    const std::string serial = readAll(log, filter, onePass);
    const std::string parallel = readAll(log, filter, parts);
    if (serial != parallel) {
        std::fprintf(stderr, "broken: %d threads with parts of %llu bytes%s hand on something else than one pass\n",
            parts.threads, static_cast<unsigned long long>(parts.partBytes),
            parts.skipDamaged ? ", skipping damage," : "");
        std::abort();
    }
    return 0;
}
