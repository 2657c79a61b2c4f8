#include "core/log/ParallelLogRead.h"

#include "core/log/LineReader.h"
#include "core/log/LogPass.h"
#include "core/log/TextPool.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace tolvane {

namespace {

constexpr std::uint64_t kMinPartBytes = std::uint64_t{1} << 20;
constexpr std::uint64_t kMaxPartBytes = std::uint64_t{4} << 20;
// How often the calling thread yields while it waits for a part.
constexpr auto kWaitYield = std::chrono::milliseconds(15);

// What one pass over a part of the log reported, kept until its turn comes.
struct Part {
    std::uint64_t start = 0;
    bool empty = false; // no line in the part's bytes starts like a marker
    bool reachedStop = false; // the pass stopped where the next part begins
    LogReadResult read;
    // A part taken up again fills the memory of these anew, so only the
    // first few parts touch fresh memory.
    std::vector<PlayDate> dates; // every entry's date, in order
    std::vector<char> accepted; // per date: whether its play was handed on
    std::vector<PlayRecord> plays;

    void reset()
    {
        start = 0;
        empty = reachedStop = false;
        read = {};
        dates.clear();
        accepted.clear();
        plays.clear();
    }
};

// The first byte in [from, to) that starts a line beginning with the marker's
// head, or to when there is none. A line starts after a CR or an LF, and
// neither can be part of a character in either encoding, so a byte search
// finds the same line starts as reading every line would.
std::uint64_t findPartStart(const LineReader& lines, std::uint64_t from, std::uint64_t to)
{
    constexpr std::uint64_t kChunk = 64 * 1024;
    std::vector<char> buffer(std::min(kChunk, to - from) + 1 + kMarkerPrefix.size());
    for (std::uint64_t at = from; at < to;) {
        const std::uint64_t span = std::min(kChunk, to - at);
        // The byte before the first candidate, the candidates, and room for
        // the marker's head after the last one.
        const std::size_t got = lines.copyBytes(at - 1, buffer.data(), span + 1 + kMarkerPrefix.size());
        const std::string_view bytes(buffer.data(), got);
        for (std::size_t i = bytes.find(kMarkerPrefix, 1); i != std::string_view::npos && i <= span;
             i = bytes.find(kMarkerPrefix, i + 1)) {
            if (bytes[i - 1] == '\r' || bytes[i - 1] == '\n')
                return at - 1 + i;
        }
        if (got < span + 1)
            break; // the file ends here
        at += span;
    }
    return to;
}

class ParallelRead final {
public:
    ParallelRead(LineReader& lines, const Filter& filter, const LogReaderCallbacks& callbacks, TextPool& texts,
        int threads, std::uint64_t partBytes, bool skipDamaged)
        : lines_(lines)
        , filter_(filter)
        , callbacks_(callbacks)
        , texts_(texts)
        , threads_(threads)
        , partBytes_(partBytes)
        , skipDamaged_(skipDamaged)
        , first_(lines.offset())
        , size_(lines.size())
        , partCount_(std::max<std::uint64_t>(1, (size_ - std::min(first_, size_) + partBytes - 1) / partBytes))
        , parts_(partCount_)
        , failures_(partCount_)
    {
    }

    LogReadResult run();

private:
    std::uint64_t partStart(std::size_t k) const { return first_ + k * partBytes_; }
    // Where part k hands over to the next, 0 for the last part.
    std::uint64_t stopAfter(std::size_t k) const { return k + 1 < partCount_ ? partStart(k + 1) : 0; }
    void work(TextPool& pool);
    // What a thread reads with: its texts, what it has learnt, its buffer.
    struct Reading {
        TextPool& texts;
        LogPassMemory memory;
        LargeBlock buffer;
    };
    void readPart(std::size_t k, Part& part, Reading& reading) const;
    void readFrom(std::uint64_t start, std::uint64_t stopAt, Part& part, Reading& reading) const;
    // Waits for part k, yielding to the caller meanwhile; null when the
    // caller asked to stop. Throws what reading the part threw.
    Part* waitFor(std::size_t k);
    void recycle(std::size_t k);
    void stopWorkers();
    // Hands on what part holds, read from lineBase_; false when it ends the reading.
    bool handOn(Part& part);
    bool yield() const { return !callbacks_.onYield || callbacks_.onYield(); }

    LineReader& lines_;
    const Filter& filter_;
    const LogReaderCallbacks& callbacks_;
    TextPool& texts_;
    const int threads_;
    const std::uint64_t partBytes_;
    const bool skipDamaged_;
    const std::uint64_t first_;
    const std::uint64_t size_;
    const std::size_t partCount_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<Part>> parts_; // filled in as the workers finish them
    std::vector<std::exception_ptr> failures_; // or what went wrong reading one
    std::vector<std::unique_ptr<Part>> spare_; // parts handed on, to be filled again
    std::size_t nextPart_ = 0; // the next part a worker takes
    std::size_t handedOn_ = 0; // parts before this one are handed on
    bool stop_ = false;

    LogReadResult result_;
    std::uint64_t offset_ = 0; // where the reading stands
    long lineBase_ = 0; // the lines before offset_
    int threshold_ = 0; // the next progress report, in per cent
};

void ParallelRead::readFrom(std::uint64_t start, std::uint64_t stopAt, Part& part, Reading& reading) const
{
    part.start = start;
    LogReaderCallbacks keep;
    keep.onPlayDate = [&part](const PlayDate& date) {
        part.dates.push_back(date);
        part.accepted.push_back(0);
    };
    keep.onPlay = [&part](PlayRecord&& play) {
        part.accepted.back() = 1;
        part.plays.push_back(play);
    };
    LineReader lines = lines_.from(start, std::move(reading.buffer));
    part.read
        = readLogPass(lines, filter_, keep, reading.texts, reading.memory, skipDamaged_, stopAt, &part.reachedStop);
    reading.buffer = lines.takeBuffer();
}

void ParallelRead::readPart(std::size_t k, Part& part, Reading& reading) const
{
    std::uint64_t start = first_;
    if (k > 0) {
        const std::uint64_t end = k + 1 < partCount_ ? partStart(k + 1) : size_;
        start = findPartStart(lines_, partStart(k), end);
        if (start >= end) {
            part.empty = true;
            return;
        }
    }
    readFrom(start, stopAfter(k), part, reading);
}

void ParallelRead::work(TextPool& pool)
{
    Reading reading{pool, {}, {}};
    for (;;) {
        std::size_t k = 0;
        std::unique_ptr<Part> part;
        {
            std::unique_lock lock(mutex_);
            // Keep at most a few parts ahead of the caller, so that the parts
            // waiting their turn hold little memory.
            const std::size_t ahead = static_cast<std::size_t>(threads_) + 1;
            changed_.wait(lock, [&] { return stop_ || nextPart_ >= partCount_ || nextPart_ < handedOn_ + ahead; });
            if (stop_ || nextPart_ >= partCount_)
                return;
            k = nextPart_++;
            if (!spare_.empty()) {
                part = std::move(spare_.back());
                spare_.pop_back();
            }
        }
        std::exception_ptr failure;
        try {
            if (!part)
                part = std::make_unique<Part>();
            readPart(k, *part, reading);
        } catch (...) {
            failure = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex_);
            if (failure)
                failures_[k] = failure;
            else
                parts_[k] = std::move(part);
        }
        changed_.notify_all();
        if (failure)
            return;
    }
}

Part* ParallelRead::waitFor(std::size_t k)
{
    std::unique_lock lock(mutex_);
    auto ready = [&] { return parts_[k] || failures_[k]; };
    while (!ready()) {
        if (!callbacks_.onYield) {
            changed_.wait(lock);
            continue;
        }
        changed_.wait_for(lock, kWaitYield);
        if (ready())
            break;
        lock.unlock();
        const bool goOn = yield();
        lock.lock();
        if (!goOn)
            return nullptr;
    }
    if (failures_[k])
        std::rethrow_exception(failures_[k]);
    return parts_[k].get();
}

void ParallelRead::recycle(std::size_t k)
{
    {
        const std::lock_guard lock(mutex_);
        std::unique_ptr<Part> part = std::move(parts_[k]);
        part->reset();
        spare_.push_back(std::move(part));
        handedOn_ = k + 1;
    }
    changed_.notify_all();
}

void ParallelRead::stopWorkers()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
}

bool ParallelRead::handOn(Part& part)
{
    std::size_t play = 0;
    for (std::size_t i = 0; i < part.dates.size(); ++i) {
        PlayDate date = part.dates[i];
        date.line += lineBase_;
        if (callbacks_.onPlayDate)
            callbacks_.onPlayDate(date);
        ++result_.yieldCounter;
        if (result_.yieldCounter % ScoreLogReader::kYieldEvery == 0 && !yield()) {
            result_.cancelled = true;
            return false;
        }
        if (part.accepted[i]) {
            PlayRecord& record = part.plays[play++];
            record.no = ++result_.accepted;
            if (record.unreadableText)
                result_.unreadable.push_back(UnreadableText{record.no, date.line - 1}); // the marker line
            if (callbacks_.onPlay)
                callbacks_.onPlay(std::move(record));
        }
    }
    LogReadResult& read = part.read;
    result_.entries += read.entries;
    for (SkippedEntry& skipped : read.skipped) {
        skipped.line += lineBase_;
        skipped.error.line += lineBase_;
        result_.skipped.push_back(std::move(skipped));
    }
    offset_ = read.endOffset;
    result_.endOffset = read.endOffset;
    result_.endLine = lineBase_ + read.endLine;

    // The share read, as one pass reports it: at most once per tenth.
    if (threshold_ < 100 && callbacks_.onProgress) {
        const std::uint64_t percent = size_ > 0 ? std::min<std::uint64_t>(100, offset_ / 128 * 12800 / size_) : 100;
        if (static_cast<int>(percent) >= threshold_) {
            threshold_ = static_cast<int>(percent) / 10 * 10 + 10;
            callbacks_.onProgress(static_cast<int>(percent));
        }
    }

    if (read.error) {
        result_.error = read.error;
        if (result_.error->line != 0)
            result_.error->line += lineBase_;
        return false;
    }
    // A part's pass has no yields, so only the caller's yields cancel.
    if (read.stoppedAtMaxtime) {
        result_.stoppedAtMaxtime = true;
        return false;
    }
    lineBase_ += read.endLine;
    return part.reachedStop;
}

LogReadResult ParallelRead::run()
{
    result_.sizeBytes = size_;
    offset_ = first_;

    std::vector<std::unique_ptr<TextPool>> pools;
    std::vector<std::thread> workers;
    // Whatever ends the reading, even an exception from a callback, the
    // workers stop and their texts join the caller's pool.
    struct Finish {
        ParallelRead& read;
        std::vector<std::thread>& workers;
        std::vector<std::unique_ptr<TextPool>>& pools;
        ~Finish()
        {
            read.stopWorkers();
            for (std::thread& worker : workers)
                worker.join();
            for (auto& pool : pools)
                read.texts_.adopt(std::move(*pool));
        }
    } finish{*this, workers, pools};
    for (int i = 0; i < threads_; ++i) {
        pools.push_back(std::make_unique<TextPool>());
        try {
            workers.emplace_back(&ParallelRead::work, this, std::ref(*pools.back()));
        } catch (const std::system_error&) {
            break; // the system has no more threads to give: go on with those there are
        }
    }
    if (workers.empty()) {
        LogPassMemory memory;
        return readLogPass(lines_, filter_, callbacks_, texts_, memory, skipDamaged_);
    }

    Reading here{texts_, {}, {}}; // for the parts read again on this thread
    Part again;
    bool goOn = true;
    for (std::size_t k = 0; goOn; ++k) {
        Part* part = nullptr;
        if (k < partCount_) {
            part = waitFor(k);
            if (!part) {
                result_.cancelled = true;
                break;
            }
            if (part->empty) {
                recycle(k);
                continue;
            }
        }
        if (!part || part->start != offset_) {
            // The entry before ran past this part's start (or the log goes
            // on past the last part): read on from where it ended.
            again.reset();
            readFrom(offset_, k < partCount_ ? stopAfter(k) : 0, again, here);
            goOn = handOn(again);
        } else {
            goOn = handOn(*part);
        }
        if (k < partCount_)
            recycle(k);
    }
    return result_;
}

} // namespace

std::uint64_t partBytesFor(std::uint64_t size, int threads)
{
    // About sixteen parts a thread, so that a thread that falls behind holds
    // up the rest only briefly.
    const std::uint64_t share = size / (16 * static_cast<std::uint64_t>(std::max(1, threads)));
    return std::clamp(share, kMinPartBytes, kMaxPartBytes);
}

LogReadResult readInParallel(LineReader& lines, const Filter& filter, const LogReaderCallbacks& callbacks,
    TextPool& texts, int threads, std::uint64_t partBytes, bool skipDamaged)
{
    return ParallelRead(lines, filter, callbacks, texts, threads, partBytes, skipDamaged).run();
}

} // namespace tolvane
