#include "core/log/LogPass.h"

#include "core/log/DateText.h"
#include "core/log/LineReader.h"
#include "core/log/NumericValue.h"
#include "core/log/Utf8Text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace tolvane {

namespace {

constexpr std::string_view kArtist = "   Artist:";
constexpr std::string_view kPlayLevel = "   PlayLevel:";
constexpr std::string_view kScore = "Score";
constexpr std::string_view kMaxCombo = "MaxCombo";
constexpr std::string_view kGreat = "Great";
constexpr std::array<std::string_view, 4> kJudgementLabels = {"Great", "Good", "Bad", "Poor"};

// The text before and after the first occurrence of a separator. When the
// separator is missing, the first part is the whole text and the second is
// empty: an entry never borrows a field from the one before it.
std::pair<std::string_view, std::string_view> splitAt(std::string_view text, std::string_view separator)
{
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, at), text.substr(at + separator.size())};
}

// The date-time text splits at its first space, provided at least four
// characters follow it.
std::pair<std::string_view, std::string_view> splitDateTime(std::string_view text)
{
    const std::size_t at = text.find(' ');
    if (at == std::string_view::npos || charCount(text.substr(at + 1)) < 4)
        return {text, {}};
    return {text.substr(0, at), text.substr(at + 1)};
}

// A side of 1P (0) drops digit 1, 2P (1) digit 2, 1P+2P (2) digit 3. Digit 0,
// a normal play, always passes, and so does every play when a hand-edited
// side is none of the three.
bool dropsDigit(std::int16_t side, double digit)
{
    return side >= 0 && side <= 2 && digit == side + 1;
}

// Where a label starts as a word of its own ("Great", not the tail of
// "PGreat"); npos when it is not on the line.
std::size_t labelAt(std::string_view line, std::string_view label)
{
    for (std::size_t at = line.find(label); at != std::string_view::npos; at = line.find(label, at + 1)) {
        const char before = at == 0 ? ' ' : line[at - 1];
        if (!((before >= 'A' && before <= 'Z') || (before >= 'a' && before <= 'z')))
            return at;
    }
    return std::string_view::npos;
}

// True when every byte is below 0x80: such a line decodes to itself in
// either encoding, so its bytes can be read as the text.
bool isAscii(std::string_view bytes)
{
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    std::uint64_t high = 0;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        high |= word;
    }
    for (; p < end; ++p)
        high |= static_cast<unsigned char>(*p);
    return (high & 0x8080808080808080ULL) == 0;
}

enum class Outcome { Accepted, Rejected, EndReading, Cancelled, Failed };

// One pass over one log.
class Pass final {
public:
    Pass(LineReader& lines, const Filter& filter, const LogReaderCallbacks& callbacks, TextPool& texts,
        LogPassMemory& memory, bool skipDamaged, std::uint64_t stopAt)
        : lines_(lines)
        , filter_(filter)
        , callbacks_(callbacks)
        , texts_(texts)
        , memory_(memory)
        , skipDamaged_(skipDamaged)
        , stopAt_(stopAt)
    {
    }

    LogReadResult run();
    bool reachedStop() const { return reachedStop_; }

private:
    Outcome readEntry(PlayRecord& record);
    // Hands on an entry's date and counts it for the yields; false when the
    // yield asks to stop.
    bool handOnDate(const PlayDate& date);
    // With skipDamaged_, turns the failure just met into a skipped entry and
    // clears it; false when it is none to go on past.
    bool skipFailure();
    // True when the text just taken holds a character that did not decode.
    bool unreadable() const { return !ascii_ && text_.find("\xEF\xBF\xBD") != std::string_view::npos; }
    // Moves to the next line of the entry and makes text_ its text: its
    // bytes when they are all ASCII, else its decoded form in line_; false
    // (with the error set) when the file ends first.
    bool entryLine(bool withText = true);
    void takeText();
    Outcome fail(LogReadError::Cause cause, long line, std::string_view detail = {});
    // Sets the error when the line reader stopped on a fault of its own.
    bool readerFault();
    // Calls the yield callback; false when it asks to stop.
    bool yield();
    bool isMarker();
    void progressStep();
    // The text's character count, its text from character n on (0-based), and
    // its n-th character (1-based), by byte on an ASCII line.
    std::size_t textChars() const { return ascii_ ? text_.size() : charCount(text_); }
    std::string_view textFrom(std::size_t n) const
    {
        return ascii_ ? text_.substr(std::min(n, text_.size())) : dropChars(text_, n);
    }
    std::string_view textAt(std::size_t n) const
    {
        return ascii_ ? (n == 0 || n > text_.size() ? std::string_view() : text_.substr(n - 1, 1)) : charAt(text_, n);
    }
    // A number of the entry that must be finite to be of any use.
    bool finite(double value, long line);

    LineReader& lines_;
    const Filter& filter_;
    const LogReaderCallbacks& callbacks_;
    TextPool& texts_;
    LogReadResult result_;
    std::string line_;
    std::string_view text_;
    LogPassMemory& memory_;
    const bool skipDamaged_;
    const std::uint64_t stopAt_;
    // While skipping damage, an entry's date waits until the entry is known
    // to be whole.
    std::optional<PlayDate> pendingDate_;
    bool reachedStop_ = false;
    bool ascii_ = true; // text_ is ASCII: a character is a byte
    long markerLine_ = 0;
    int threshold_ = 0;
    std::uint64_t nextYieldOffset_ = ScoreLogReader::kYieldEveryBytes;
};

LogReadResult Pass::run()
{
    result_.sizeBytes = lines_.size();
    std::int32_t n = 0;
    PlayRecord record;
    while (!lines_.atEnd()) {
        const std::uint64_t lineStart = lines_.offset();
        if (!lines_.next()) {
            if (skipFailure()) // a line too long between entries
                continue;
            break;
        }
        if (stopAt_ != 0 && lineStart >= stopAt_ && lines_.bytes().starts_with(kMarkerPrefix)) {
            // The next part of the log starts here.
            result_.endOffset = lineStart;
            result_.endLine = lines_.lineNumber() - 1;
            reachedStop_ = true;
            break;
        }
        if (lines_.offset() >= nextYieldOffset_ && !yield()) {
            result_.cancelled = true;
            break;
        }
        if (!isMarker()) {
            progressStep();
            continue;
        }
        ++n;
        ++result_.entries;
        markerLine_ = lines_.lineNumber();
        Outcome outcome = readEntry(record);
        if (pendingDate_) {
            const PlayDate date = *pendingDate_;
            pendingDate_.reset();
            if (outcome != Outcome::Failed && !handOnDate(date))
                outcome = Outcome::Cancelled;
        }
        if (outcome == Outcome::Failed && skipFailure()) {
            --n;
            record = PlayRecord{};
            progressStep();
            continue;
        }
        if (outcome == Outcome::Accepted) {
            record.no = n;
            ++result_.accepted;
            if (record.unreadableText)
                result_.unreadable.push_back(UnreadableText{n, markerLine_});
            if (callbacks_.onPlay)
                callbacks_.onPlay(std::move(record));
            record = PlayRecord{};
            progressStep();
            continue;
        }
        --n;
        if (outcome == Outcome::Rejected)
            continue;
        if (outcome == Outcome::EndReading)
            result_.stoppedAtMaxtime = true;
        else if (outcome == Outcome::Cancelled)
            result_.cancelled = true;
        break;
    }
    if (!result_.error && !result_.cancelled)
        readerFault();
    if (!reachedStop_) {
        result_.endOffset = lines_.offset();
        result_.endLine = lines_.lineNumber();
    }
    return result_;
}

bool Pass::readerFault()
{
    if (!lines_.error().empty())
        result_.error = LogReadError{LogReadError::Kind::Open, LogReadError::Cause::CannotOpen, 0, lines_.error()};
    else if (lines_.lineTooLong())
        result_.error
            = LogReadError{LogReadError::Kind::Format, LogReadError::Cause::LineTooLong, lines_.lineNumber(), {}};
    else
        return false;
    return true;
}

bool Pass::skipFailure()
{
    if (!skipDamaged_)
        return false;
    if (!result_.error && !readerFault())
        return false;
    if (result_.error->kind != LogReadError::Kind::Format)
        return false;
    if (result_.error->cause == LogReadError::Cause::LineTooLong)
        lines_.skipLongLine();
    const long line = result_.error->line;
    result_.skipped.push_back(SkippedEntry{line, {}, std::move(*result_.error)});
    result_.error.reset();
    return true;
}

bool Pass::handOnDate(const PlayDate& date)
{
    if (callbacks_.onPlayDate)
        callbacks_.onPlayDate(date);
    ++result_.yieldCounter;
    return result_.yieldCounter % ScoreLogReader::kYieldEvery != 0 || yield();
}

bool Pass::yield()
{
    nextYieldOffset_ = lines_.offset() + ScoreLogReader::kYieldEveryBytes;
    return !callbacks_.onYield || callbacks_.onYield();
}

bool Pass::isMarker()
{
    const std::string_view bytes = lines_.bytes();
    // Both encodings write the ASCII head alike, so most lines are ruled out
    // without decoding, and a line with the bytes of a marker seen before is
    // one without decoding either.
    // Most lines fail at the first byte, without a call to compare the rest.
    if (bytes.empty() || bytes[0] != '[' || bytes.substr(0, kMarkerPrefix.size()) != kMarkerPrefix)
        return false;
    if (!memory_.markerBytes.empty() && bytes == memory_.markerBytes)
        return true;
    line_.clear();
    lines_.decodeInto(line_);
    if (line_ != ScoreLogReader::kMarker)
        return false;
    memory_.markerBytes.assign(bytes);
    return true;
}

void Pass::progressStep()
{
    if (threshold_ == 100)
        return;
    const std::uint64_t size = result_.sizeBytes;
    std::uint64_t percent = 100;
    if (size > 0)
        percent = lines_.offset() / 128 * 12800 / size;
    // A log that grew while it was read must not report past 100.
    if (percent > 100)
        percent = 100;
    if (static_cast<int>(percent) >= threshold_) {
        threshold_ += 10;
        if (callbacks_.onProgress)
            callbacks_.onProgress(static_cast<int>(percent));
    }
}

bool Pass::entryLine(bool withText)
{
    if (lines_.atEnd() || !lines_.next()) {
        fail(LogReadError::Cause::EndsInsideEntry, markerLine_);
        return false;
    }
    if (withText)
        takeText();
    return true;
}

void Pass::takeText()
{
    text_ = lines_.bytes();
    ascii_ = isAscii(text_);
    if (!ascii_) {
        line_.clear();
        lines_.decodeInto(line_);
        text_ = line_;
    }
}

Outcome Pass::fail(LogReadError::Cause cause, long line, std::string_view detail)
{
    if (!readerFault())
        result_.error = LogReadError{LogReadError::Kind::Format, cause, line, std::string(detail)};
    return Outcome::Failed;
}

bool Pass::finite(double value, long line)
{
    if (std::isfinite(value))
        return true;
    fail(LogReadError::Cause::NumberTooLarge, line);
    return false;
}

Outcome Pass::readEntry(PlayRecord& record)
{
    // Line 1: the date and time.
    if (!entryLine())
        return Outcome::Failed;
    const long dateLine = lines_.lineNumber();
    if (textChars() < 5)
        return fail(LogReadError::Cause::ShortDateLine, dateLine, text_);
    const std::string_view dateTime = textFrom(5);
    const auto [dateText, timeText] = splitDateTime(dateTime);
    if (!memory_.lastDay || dateText != memory_.lastDateText) {
        memory_.lastDay = parseDateText(dateText);
        memory_.lastDateText.assign(dateText);
    }
    const auto day = memory_.lastDay;
    if (!day)
        return fail(LogReadError::Cause::BadDate, dateLine, dateText);
    const auto seconds = parseTimeText(timeText);
    if (!seconds)
        return fail(LogReadError::Cause::BadTime, dateLine, timeText);

    PlayDate playDate;
    playDate.date = static_cast<double>(*day);
    const CivilDate civil = civilDate(*day);
    playDate.year = civil.year;
    playDate.month = civil.month;
    playDate.day = civil.day;
    playDate.weekday = weekdayOfSerial(*day);
    playDate.hour = *seconds / 3600;
    playDate.second = *seconds;
    playDate.line = dateLine;
    if (skipDamaged_)
        pendingDate_ = playDate;
    else if (!handOnDate(playDate))
        return Outcome::Cancelled;

    // The span compares the play's day, so a play on the last day passes
    // whatever its time.
    if (filter_.SpanFilter) {
        if (filter_.Mintime != 0.0 && playDate.date < filter_.Mintime)
            return Outcome::Rejected;
        if (playDate.date > filter_.Maxtime && filter_.Maxtime != 0.0)
            return Outcome::EndReading; // the log is in time order: nothing later can pass
    }
    record.dateTime = texts_.keep(dateTime);
    record.date = playDate.date + static_cast<double>(*seconds) / kSecondsPerDay;

    // Line 2: title and artist. A log repeats a song's lines 2 and 3 on
    // every play of it, so each distinct line is taken apart once.
    if (!entryLine(false))
        return Outcome::Failed;
    if (const auto seen = memory_.titleLines.find(lines_.bytes()); seen != memory_.titleLines.end()) {
        record.title = seen->second.title;
        record.artist = seen->second.artist;
        record.unreadableText = seen->second.unreadable;
    } else {
        takeText();
        const auto [title, artist] = splitAt(textFrom(6), kArtist);
        record.title = title.empty() ? std::string_view("No Title") : texts_.intern(title);
        record.artist = artist.empty() ? std::string_view("No Name") : texts_.intern(artist);
        record.unreadableText = unreadable();
        if (memory_.titleLines.size() < LogPassMemory::kMaxSeenLines
            && lines_.bytes().size() <= LogPassMemory::kMaxSeenLineBytes)
            memory_.titleLines.emplace(texts_.keep(lines_.bytes()),
                LogPassMemory::TitleLine{record.title, record.artist, record.unreadableText});
    }
    // Line 3: genre and level.
    if (!entryLine(false))
        return Outcome::Failed;
    if (const auto seen = memory_.genreLines.find(lines_.bytes()); seen != memory_.genreLines.end()) {
        record.genre = seen->second.genre;
        record.level = seen->second.level;
        record.unreadableText = record.unreadableText || seen->second.unreadable;
    } else {
        takeText();
        const auto [genre, level] = splitAt(textFrom(6), kPlayLevel);
        record.genre = genre.empty() ? std::string_view("No Name") : texts_.intern(genre);
        record.level = numericValue(level);
        if (!finite(record.level, lines_.lineNumber()))
            return Outcome::Failed;
        const bool genreUnreadable = unreadable();
        record.unreadableText = record.unreadableText || genreUnreadable;
        if (memory_.genreLines.size() < LogPassMemory::kMaxSeenLines
            && lines_.bytes().size() <= LogPassMemory::kMaxSeenLineBytes)
            memory_.genreLines.emplace(
                texts_.keep(lines_.bytes()), LogPassMemory::GenreLine{record.genre, record.level, genreUnreadable});
    }
    // Line 4: BPM from the fifth character on.
    if (!entryLine())
        return Outcome::Failed;
    record.bpm = numericValue(textFrom(4));
    if (!finite(record.bpm, lines_.lineNumber()))
        return Outcome::Failed;
    // Lines 5 and 6: the autoplay and auto-scratch digits.
    if (!entryLine())
        return Outcome::Failed;
    const double autoplay = numericValue(textAt(22));
    if (!entryLine())
        return Outcome::Failed;
    const double autoScratch = numericValue(textAt(13));
    // A single character reads as 0..9.
    record.autoplay = static_cast<std::int8_t>(autoplay);
    record.autoScratch = static_cast<std::int8_t>(autoScratch);

    if (filter_.IgnoreAutoplay && dropsDigit(filter_.optIgnoreAuto, autoplay))
        return Outcome::Rejected;
    if (filter_.IgnoreScrach && dropsDigit(filter_.optIgnoreScr, autoScratch))
        return Outcome::Rejected;

    // Line 7: total notes and score.
    if (!entryLine())
        return Outcome::Failed;
    {
        const long scoreLine = lines_.lineNumber();
        const std::string_view rest = textFrom(21);
        record.totalNotes = numericValue(rest);
        if (!finite(record.totalNotes, scoreLine))
            return Outcome::Failed;
        const auto score = toInt32(numericValue(splitAt(rest, kScore).second));
        if (!score)
            return fail(LogReadError::Cause::ScoreTooLarge, scoreLine, splitAt(rest, kScore).second);
        record.score = *score;
    }
    if (filter_.ScoreFilter && record.score < filter_.MinScore)
        return Outcome::Rejected;

    // Line 8, or 9 when line 8 is not the judgement line: the max combo.
    if (!entryLine())
        return Outcome::Failed;
    if (text_.substr(0, kGreat.size()) != kGreat && !entryLine())
        return Outcome::Failed;
    record.maxCombo = numericValue(splitAt(text_, kMaxCombo).second);
    if (!finite(record.maxCombo, lines_.lineNumber()))
        return Outcome::Failed;
    // The judgement counts of the same line; a label not there is no count.
    for (std::size_t j = 0; j < kJudgementLabels.size(); ++j) {
        const std::size_t at = labelAt(text_, kJudgementLabels[j]);
        record.judgements[j] = at == std::string_view::npos
            ? PlayRecord::kNoJudgement
            : numericValue(text_.substr(at + kJudgementLabels[j].size()));
    }
    return Outcome::Accepted;
}

} // namespace

LogReadResult readLogPass(LineReader& lines, const Filter& filter, const LogReaderCallbacks& callbacks, TextPool& texts,
    LogPassMemory& memory, bool skipDamaged, std::uint64_t stopAt, bool* reachedStop)
{
    Pass pass(lines, filter, callbacks, texts, memory, skipDamaged, stopAt);
    LogReadResult result = pass.run();
    if (reachedStop)
        *reachedStop = pass.reachedStop();
    return result;
}

} // namespace tolvane
