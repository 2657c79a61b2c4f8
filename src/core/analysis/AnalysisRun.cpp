#include "core/analysis/AnalysisRun.h"

#include "core/analysis/Analysis.h"
#include "core/analysis/FoldStep.h"
#include "core/analysis/RunTexts.h"
#include "core/analysis/SpanText.h"
#include "core/log/LineReader.h"
#include "core/log/ScoreLogReader.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>
#include <unordered_map>
#include <utility>

namespace tolvane {

namespace {

RunOutcome failed(RunOutcome outcome, AnalysisFailure failure)
{
    outcome.state = RunOutcome::State::Failed;
    outcome.message = RunTexts::failure(failure);
    // With several logs, the message names the one to blame.
    if (failure.fileNamed && !failure.file.empty())
        outcome.message.insert(outcome.message.begin(), failure.file);
    outcome.failure = std::move(failure);
    return outcome;
}

LineReader openLog(const LogSource& log)
{
    return log.bytes ? LineReader::inMemory(*log.bytes) : LineReader::openFile(log.path);
}

std::int64_t secondsOf(const PlayDate& d)
{
    return static_cast<std::int64_t>(d.date) * kSecondsPerDay + d.second;
}

struct EntryKeyHash {
    std::size_t operator()(const EntryKey& k) const noexcept { return static_cast<std::size_t>(k.high ^ k.low); }
};

} // namespace

// One of several logs as read, before the merge.
struct AnalysisRun::LogPart {
    std::vector<PlayDate> dates; // every entry's date, in file order
    std::vector<PlayRecord> plays; // its accepted plays, in file order
    std::vector<std::int32_t> playOfEntry; // the play each entry gave, or -1
    std::vector<EntryKey> keys; // each entry's key
};

AnalysisRun::AnalysisRun(
    Analysis& analysis, const Filter& filter, const GraphSettings& graph, RunCallbacks callbacks, bool skipDamaged)
    : analysis_(analysis)
    , filter_(filter)
    , graph_(graph)
    , callbacks_(std::move(callbacks))
    , skipDamaged_(skipDamaged)
{
}

void AnalysisRun::status(const std::string& text)
{
    if (callbacks_.onStatus)
        callbacks_.onStatus(text);
}

void AnalysisRun::caption(const std::string& text, bool onlyWhenMinimised)
{
    if (callbacks_.onCaption)
        callbacks_.onCaption(text, onlyWhenMinimised);
}

bool AnalysisRun::keepGoing(RunOutcome& outcome)
{
    if (!callbacks_.onYield || callbacks_.onYield())
        return true;
    outcome.state = RunOutcome::State::Cancelled;
    return false;
}

RunOutcome AnalysisRun::run(const std::filesystem::path& file)
{
    return runLogs({LogSource{file}});
}

RunOutcome AnalysisRun::run(const std::vector<LogSource>& logs)
{
    return runLogs(logs);
}

RunOutcome AnalysisRun::runBytes(std::string_view bytes)
{
    return runLogs({LogSource{{}, bytes}});
}

RunOutcome AnalysisRun::runLogs(const std::vector<LogSource>& logs)
{
    RunOutcome outcome;
    try {
        // Built apart: the analysis keeps what it holds until the run completes.
        auto fresh = std::make_unique<Analysis>();
        std::int64_t yieldCounter = 0;
        status(RunTexts::readingStatus(0));
        const bool read = logs.size() == 1 ? readOne(logs.front(), *fresh, outcome, yieldCounter)
                                           : readSeveral(logs, *fresh, outcome, yieldCounter);
        if (!read)
            return outcome;
        if (fresh->plays.empty()) {
            AnalysisFailure f;
            f.kind = AnalysisFailure::Kind::NoPlays;
            f.cause = outcome.entries == 0 ? AnalysisFailure::Cause::NoEntries : AnalysisFailure::Cause::NoPlays;
            f.fileNamed = logs.size() > 1;
            return failed(std::move(outcome), std::move(f));
        }
        DateValue earliest = fresh->plays.row(0).date;
        DateValue latest = earliest;
        for (std::size_t r = 1; r < fresh->plays.size(); ++r) {
            earliest = std::min(earliest, fresh->plays.row(r).date);
            latest = std::max(latest, fresh->plays.row(r).date);
        }
        outcome.history = historyText(earliest, latest);
        if (!fold(*fresh, yieldCounter, outcome)) {
            if (outcome.failure)
                outcome.failure->fileNamed = logs.size() > 1;
            return outcome;
        }
        applyBarStyles(graph_, fresh->styles);
        analysis_.replaceWith(*fresh);
    } catch (const std::bad_alloc&) {
        AnalysisFailure f;
        f.kind = AnalysisFailure::Kind::Open;
        f.cause = AnalysisFailure::Cause::OutOfMemory;
        return failed(RunOutcome{}, std::move(f));
    }
    status(std::string(RunTexts::kIdleStatus));
    caption(std::string(RunTexts::kTitle), false);
    outcome.state = RunOutcome::State::Completed;
    outcome.message = RunTexts::completion(outcome.sizeBytes, outcome.history);
    return outcome;
}

bool AnalysisRun::readOne(const LogSource& log, Analysis& fresh, RunOutcome& outcome, std::int64_t& yieldCounter)
{
    LineReader lines = openLog(log);
    LogOutcome file;
    file.path = log.path;
    if (!lines.isOpen()) {
        AnalysisFailure f;
        f.kind = AnalysisFailure::Kind::Open;
        f.cause = AnalysisFailure::Cause::CannotOpen;
        f.detail = lines.error();
        outcome = failed(std::move(outcome), std::move(f));
        return false;
    }
    outcome.sizeBytes = file.sizeBytes = lines.size();

    LogReaderCallbacks reading;
    reading.onPlayDate = [&fresh](const PlayDate& d) { fresh.entryDates.push_back(d); };
    reading.onPlay = [&fresh](PlayRecord&& play) { fresh.plays.append(std::move(play)); };
    reading.onProgress = [this](int percent) {
        status(RunTexts::readingStatus(percent));
        caption(RunTexts::readingCaption(percent), true);
    };
    reading.onYield = callbacks_.onYield;
    // A large log is read on every core the process may use.
    LogReadOptions options;
    options.threads = 0;
    options.skipDamaged = skipDamaged_;
    LogReadResult read = ScoreLogReader(filter_, std::move(reading), fresh.plays.texts(), options).read(lines);
    outcome.entries = file.entries = read.entries;
    outcome.accepted = file.accepted = read.accepted;
    outcome.endOffset = file.endOffset = read.endOffset;
    outcome.endLine = file.endLine = read.endLine;
    outcome.stoppedAtMaxtime = file.stoppedAtMaxtime = read.stoppedAtMaxtime;
    outcome.logs = {file};
    yieldCounter = read.yieldCounter;
    outcome.skipped = std::move(read.skipped);
    for (SkippedEntry& skipped : outcome.skipped)
        skipped.message = RunTexts::failure(AnalysisFailure::fromReadError(skipped.error)).back();
    outcome.unreadable = std::move(read.unreadable);
    if (read.cancelled) {
        outcome.state = RunOutcome::State::Cancelled;
        return false;
    }
    if (read.error) {
        outcome = failed(std::move(outcome), AnalysisFailure::fromReadError(*read.error));
        return false;
    }
    return true;
}

bool AnalysisRun::readSeveral(
    const std::vector<LogSource>& logs, Analysis& fresh, RunOutcome& outcome, std::int64_t& yieldCounter)
{
    std::vector<LogPart> parts(logs.size());
    outcome.logs.resize(logs.size());
    // For the progress: the share of all the logs' bytes read.
    std::uint64_t bytesInAll = 0;
    for (const LogSource& log : logs) {
        std::error_code error;
        const auto size = log.bytes ? log.bytes->size() : std::filesystem::file_size(log.path, error);
        bytesInAll += error ? 0 : size;
    }
    std::uint64_t bytesBefore = 0;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        LogOutcome& file = outcome.logs[i];
        LogPart& part = parts[i];
        file.path = logs[i].path;
        LineReader lines = openLog(logs[i]);
        auto fail = [&](AnalysisFailure f) {
            f.fileNamed = true;
            f.file = logs[i].path.string();
            outcome = failed(std::move(outcome), std::move(f));
            return false;
        };
        if (!lines.isOpen()) {
            AnalysisFailure f;
            f.kind = AnalysisFailure::Kind::Open;
            f.cause = AnalysisFailure::Cause::CannotOpen;
            f.detail = lines.error();
            return fail(std::move(f));
        }
        file.sizeBytes = lines.size();
        outcome.sizeBytes += file.sizeBytes;

        LogReaderCallbacks reading;
        reading.onPlayDate = [&part](const PlayDate& d) {
            part.dates.push_back(d);
            part.playOfEntry.push_back(-1);
        };
        reading.onPlay = [&part, i](PlayRecord&& play) {
            // A play is handed on right after its entry's date.
            part.playOfEntry.back() = static_cast<std::int32_t>(part.plays.size());
            play.file = static_cast<std::uint16_t>(i);
            part.plays.push_back(std::move(play));
        };
        const std::uint64_t size = file.sizeBytes;
        reading.onProgress = [this, bytesBefore, size, bytesInAll](int percent) {
            const std::uint64_t done = bytesBefore + size * static_cast<std::uint64_t>(percent) / 100;
            const int overall
                = bytesInAll == 0 ? 100 : static_cast<int>(std::min<std::uint64_t>(100, done * 100 / bytesInAll));
            status(RunTexts::readingStatus(overall));
            caption(RunTexts::readingCaption(overall), true);
        };
        reading.onYield = callbacks_.onYield;
        LogReadOptions options;
        options.threads = 0;
        options.skipDamaged = skipDamaged_;
        LogReadResult read = ScoreLogReader(filter_, std::move(reading), fresh.plays.texts(), options).read(lines);
        for (SkippedEntry& skipped : read.skipped) {
            skipped.message = logs[i].path.string() + ": "
                + RunTexts::failure(AnalysisFailure::fromReadError(skipped.error)).back();
            outcome.skipped.push_back(std::move(skipped));
        }
        file.entries = read.entries;
        file.endOffset = read.endOffset;
        file.endLine = read.endLine;
        file.stoppedAtMaxtime = read.stoppedAtMaxtime;
        outcome.entries += read.entries;
        yieldCounter += read.yieldCounter;
        if (read.cancelled) {
            outcome.state = RunOutcome::State::Cancelled;
            return false;
        }
        if (read.error)
            return fail(AnalysisFailure::fromReadError(*read.error));
        bytesBefore += size;

        std::vector<long> dateLines;
        dateLines.reserve(part.dates.size());
        for (const PlayDate& d : part.dates)
            dateLines.push_back(d.line);
        LineReader again = openLog(logs[i]);
        part.keys = entryKeys(again, dateLines);
        if (!keepGoing(outcome))
            return false;
    }
    outcome.endOffset = outcome.logs.front().endOffset;
    outcome.endLine = outcome.logs.front().endLine;
    outcome.stoppedAtMaxtime = outcome.logs.front().stoppedAtMaxtime;

    // Every entry in date order; equal times keep the order of the logs, then
    // their order in the log.
    struct Place {
        std::int64_t seconds;
        std::uint32_t file;
        std::uint32_t entry;
    };
    std::vector<Place> order;
    for (std::size_t i = 0; i < parts.size(); ++i)
        for (std::size_t e = 0; e < parts[i].dates.size(); ++e)
            order.push_back(
                {secondsOf(parts[i].dates[e]), static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(e)});
    std::stable_sort(order.begin(), order.end(), [](const Place& a, const Place& b) { return a.seconds < b.seconds; });

    // An entry goes when an entry of another log, kept before it, has the
    // same lines. Such entries have the same date line, so the same time.
    std::unordered_map<EntryKey, std::uint32_t, EntryKeyHash> keptAtTime; // key -> the log it was kept from
    std::int32_t no = 0;
    for (std::size_t at = 0; at < order.size();) {
        std::size_t end = at + 1;
        while (end < order.size() && order[end].seconds == order[at].seconds)
            ++end;
        keptAtTime.clear();
        const bool last = end == order.size();
        if (last) {
            outcome.lastKeys.clear();
            outcome.lastSeconds = order[at].seconds;
        }
        for (std::size_t k = at; k < end; ++k) {
            const Place& p = order[k];
            LogPart& part = parts[p.file];
            if (end - at > 1) {
                const EntryKey& key = part.keys[p.entry];
                const auto [found, inserted] = keptAtTime.try_emplace(key, p.file);
                if (!inserted && found->second != p.file) {
                    ++outcome.logs[p.file].duplicates;
                    ++outcome.duplicates;
                    continue;
                }
            }
            if (last)
                outcome.lastKeys.push_back({part.keys[p.entry], static_cast<std::uint16_t>(p.file)});
            fresh.entryDates.push_back(part.dates[p.entry]);
            const std::int32_t play = part.playOfEntry[p.entry];
            if (play < 0)
                continue;
            PlayRecord& record = part.plays[static_cast<std::size_t>(play)];
            record.no = ++no;
            fresh.plays.append(std::move(record));
            ++outcome.logs[p.file].accepted;
        }
        at = end;
    }
    outcome.accepted = no;
    return true;
}

bool AnalysisRun::fold(Analysis& fresh, std::int64_t& yieldCounter, RunOutcome& outcome)
{
    FoldStep step(fresh);
    step.restart({});
    for (const PlayDate& date : fresh.entryDates)
        step.entry(date);

    status(RunTexts::rankingStartStatus());
    const std::size_t n = fresh.plays.size();
    fresh.rows.reserve(n);
    std::size_t threshold = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (auto failure = step.play(i)) {
            outcome = failed(std::move(outcome), std::move(*failure));
            return false;
        }
        ++yieldCounter;
        if (yieldCounter % kYieldEvery == 0 && callbacks_.onYield && !callbacks_.onYield()) {
            outcome.state = RunOutcome::State::Cancelled;
            return false;
        }
        const std::size_t percent = (i + 1) * 100 / n;
        if (percent >= threshold && threshold != 100) {
            status(RunTexts::rankingStatus(static_cast<int>(threshold)));
            caption(RunTexts::rankingCaption(static_cast<int>(threshold)), true);
            threshold += 10;
        }
    }

    // Draw, taking input first so a close is not kept waiting.
    status(std::string(RunTexts::kDrawingStatus));
    if (!keepGoing(outcome))
        return false;
    step.draw();
    return true;
}

} // namespace tolvane
