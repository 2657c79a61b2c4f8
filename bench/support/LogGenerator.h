#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Synthetic play logs that look like the ones the game writes, for the tests
// and the benchmarks. Everything is a pure function of the options: the same
// seed gives the same bytes on every platform.
namespace tolvane::testing {

enum class LineEnd { CrLf, Lf, Cr };

struct GeneratorOptions {
    std::uint64_t seed = 1;
    int plays = 1000; // entries that count (valid markers)
    int startYear = 2001, startMonth = 11, startDay = 21;
    // Mean time between plays, always moving forward; lowered when the plays
    // would not fit before the year 10000 (see effectiveGapMinutes).
    double meanGapMinutes = 600;
    LineEnd lineEnd = LineEnd::CrLf;
    bool utf8WithBom = false; // write UTF-8 with a byte order mark instead of CP932
    double junkRate = 0.02; // chance of junk lines before an entry; 0 also drops the header line
    double nineLineRate = 0.05; // chance of the split judgement line
    double autoplayRate = 0.03, autoScratchRate = 0.03;
    double caseVariantRate = 0.05; // chance a Latin title/artist is written in another letter case
    int songs = 300; // distinct songs in the pool
    double unpaddedDateRate = 0.08; // chance the month/day are written without zero padding
};

// What a correct reader must get for each counted entry.
struct GeneratedPlay {
    std::string dateTime; // exactly as written after "Date:"
    std::string title, artist, genre; // UTF-8, as written (case variants as written)
    int level = 0;
    double bpm = 0;
    int autoplay = 0;
    int autoScratch = 0;
    int totalNotes = 0;
    int score = 0;
    int maxCombo = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    long markerLine = 0; // 1-based line number of the entry's marker line
    int songIndex = 0; // index into songPool(options)

    friend bool operator==(const GeneratedPlay&, const GeneratedPlay&) = default;
};

struct GeneratedLog {
    std::string bytes;
    std::vector<GeneratedPlay> plays;
};

GeneratedLog generateLog(const GeneratorOptions& options);

// The mean gap in minutes the generator uses: meanGapMinutes, or less when
// that many plays would run past 9999/12/31. Dates stay inside 0001-9999
// whatever the play count.
double effectiveGapMinutes(const GeneratorOptions& options);

// Streams straight to a file (for logs of 500,000 plays) and returns the plays
// written only if asked. Throws std::runtime_error when the file cannot be written.
void writeLog(const std::string& path, const GeneratorOptions& options, std::vector<GeneratedPlay>* plays = nullptr);

// One song of the pool. The canonical spelling comes first in each variants
// list; the rest are the other letter cases a log may show.
struct PoolSong {
    std::vector<std::string> titleVariants; // UTF-8
    std::vector<std::string> artistVariants; // UTF-8
    std::string genre; // UTF-8
    int level = 0;
    std::string bpmText; // as written after "BPM:"
    double bpm = 0;
    int totalNotes = 0;
};

// The song pool the generator draws from for these options (depends on seed and songs only).
std::vector<PoolSong> songPool(const GeneratorOptions& options);

// Every non-ASCII-digit string the generator may write for these options
// (pool strings, variants, marker, junk lines), in UTF-8.
std::vector<std::string> generatorStrings(const GeneratorOptions& options);

// The marker line that opens an entry, in UTF-8 and without a line end.
inline constexpr std::string_view kMarkerLine = "[Start of Score] : 申請する時は、この行から切り取る";

// Conversions through glibc iconv ("CP932"); throw std::runtime_error on bytes
// that do not convert.
std::string utf8ToCp932(std::string_view utf8);
std::string cp932ToUtf8(std::string_view cp932);

} // namespace tolvane::testing
