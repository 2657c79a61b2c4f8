#include "core/follow/LogFollower.h"

#include "core/analysis/AnalysisFailure.h"
#include "core/analysis/RunTexts.h"
#include "core/log/LineReader.h"
#include "core/log/ScoreLogReader.h"

#include <cerrno>
#include <stdexcept>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Closes a file descriptor when it goes.
class Descriptor final {
public:
    explicit Descriptor(int fd)
        : fd_(fd)
    {
    }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

int openForReading(const std::filesystem::path& path)
{
    // Non-blocking: a named pipe put in the log's place must not hold the window.
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

// Reads length bytes from offset; fewer when the file ends first.
bool readAt(int fd, std::uint64_t offset, std::size_t length, std::string& out)
{
    out.resize(length);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, out.data() + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    return true;
}

std::uint64_t fingerprintOf(std::string_view bytes)
{
    // FNV-1a: enough to tell a rewritten start from the one read.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

FollowUpdate reload()
{
    FollowUpdate update;
    update.kind = FollowUpdate::Kind::Reload;
    return update;
}

FollowUpdate failed(const AnalysisFailure& failure)
{
    FollowUpdate update;
    update.kind = FollowUpdate::Kind::Failed;
    update.message = RunTexts::failure(failure);
    return update;
}

// The byte offset, in the bytes a reader was given, just past the given line.
std::uint64_t offsetAfterLine(std::string_view bytes, long line)
{
    LineReader lines = LineReader::inMemory(bytes);
    std::uint64_t offset = lines.offset();
    while (lines.lineNumber() < line && !lines.atEnd() && lines.next())
        offset = lines.offset();
    return offset;
}

} // namespace

bool LogFollower::start(const std::filesystem::path& path, const Filter& filter, const LogOutcome& outcome)
{
    stop();
    const Descriptor fd(openForReading(path));
    struct stat st { };
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    std::string head;
    if (!readAt(fd.get(), 0, kFingerprintBytes, head))
        return false;
    fingerprintLength_ = static_cast<std::size_t>(std::min<std::uint64_t>(head.size(), outcome.endOffset));
    fingerprint_ = fingerprintOf(std::string_view(head).substr(0, fingerprintLength_));
    utf8_ = head.starts_with(kUtf8Bom);

    std::string last;
    if (outcome.endOffset > 0 && !readAt(fd.get(), outcome.endOffset - 1, 1, last))
        return false;
    afterCr_ = last == "\r";
    // A last line without its line end may be cut short; a full read will
    // have to take it again once the log grows.
    tailUncertain_ = !last.empty() && last != "\r" && last != "\n";

    path_ = path;
    filter_ = filter;
    identity_ = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    seenSize_ = static_cast<std::uint64_t>(st.st_size);
    offset_ = outcome.endOffset;
    line_ = outcome.endLine;
    ended_ = outcome.stoppedAtMaxtime;
    following_ = true;
    return true;
}

void LogFollower::stop()
{
    following_ = false;
    path_.clear();
}

FollowUpdate LogFollower::poll(const std::shared_ptr<TextPool>& texts, bool withKeys)
{
    if (!following_)
        return {};
    const Descriptor fd(openForReading(path_));
    struct stat st { };
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        FollowUpdate update;
        update.kind = errno == ENOENT || errno == ENOTDIR ? FollowUpdate::Kind::Gone : FollowUpdate::Kind::Reload;
        return update;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    const Identity identity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    if (!S_ISREG(st.st_mode) || identity != identity_ || size < seenSize_ || size < offset_)
        return reload();
    std::string head;
    if (!readAt(fd.get(), 0, fingerprintLength_, head) || head.size() != fingerprintLength_
        || fingerprintOf(head) != fingerprint_)
        return reload();
    if (size == seenSize_ || ended_) {
        seenSize_ = size;
        return {};
    }
    if (tailUncertain_ || size - offset_ > kMaxAppendBytes)
        return reload();
    return readAppended(texts, withKeys, fd.get(), size);
}

FollowUpdate LogFollower::readAppended(
    const std::shared_ptr<TextPool>& texts, bool withKeys, int fd, std::uint64_t size)
{
    std::string bytes;
    // The reader takes a UTF-8 log by its byte order mark, so the new part gets one too.
    const std::size_t prefix = utf8_ ? kUtf8Bom.size() : 0;
    std::string appended;
    if (!readAt(fd, offset_, static_cast<std::size_t>(size - offset_), appended))
        return reload();
    seenSize_ = offset_ + appended.size();
    // An LF after a CR that ended the last line read belongs to that line end.
    std::size_t skip = afterCr_ && appended.starts_with('\n') ? 1 : 0;
    // Only whole lines: the last one may still be being written. One that is
    // already too long for any line is taken too, so that it fails as in a full read.
    const std::size_t lastEnd = appended.find_last_of("\r\n");
    std::size_t take = lastEnd == std::string::npos || lastEnd < skip ? skip : lastEnd + 1;
    if (appended.size() - take > LineReader::kMaxLineBytes)
        take = appended.size();
    if (take == skip) {
        if (skip) {
            offset_ += skip;
            afterCr_ = false;
        }
        return {};
    }
    bytes.reserve(prefix + take - skip);
    bytes.append(kUtf8Bom.substr(0, prefix)).append(appended, skip, take - skip);

    FollowUpdate update;
    NewEntries& added = update.added;
    LogReaderCallbacks callbacks;
    callbacks.onPlayDate = [&added](const PlayDate& date) {
        added.dates.push_back(date);
        added.playOfEntry.push_back(-1);
    };
    callbacks.onPlay = [&added](PlayRecord&& play) {
        added.playOfEntry.back() = static_cast<std::int32_t>(added.plays.size());
        added.plays.push_back(std::move(play));
    };
    LineReader lines = LineReader::inMemory(bytes);
    const LogReadResult read = ScoreLogReader(filter_, std::move(callbacks), texts).read(lines);

    std::uint64_t consumed = lines.offset();
    long linesRead = lines.lineNumber();
    if (read.error) {
        if (read.error->cause != LogReadError::Cause::EndsInsideEntry) {
            LogReadError error = *read.error;
            if (error.line > 0)
                error.line += line_;
            following_ = false;
            return failed(AnalysisFailure::fromReadError(error));
        }
        // The last entry is still being written: it is read again, from its
        // marker line, once the rest of it is there.
        const long marker = read.error->line;
        while (!added.dates.empty() && added.dates.back().line > marker) {
            if (added.playOfEntry.back() >= 0)
                added.plays.pop_back();
            added.dates.pop_back();
            added.playOfEntry.pop_back();
        }
        consumed = offsetAfterLine(bytes, marker - 1);
        linesRead = marker - 1;
    }
    if (withKeys) {
        std::vector<long> dateLines;
        for (const PlayDate& date : added.dates)
            dateLines.push_back(date.line);
        LineReader again = LineReader::inMemory(bytes);
        added.keys = entryKeys(again, dateLines);
    }
    for (PlayDate& date : added.dates)
        date.line += line_;

    offset_ += skip + (consumed - prefix);
    line_ += linesRead;
    if (consumed > prefix)
        afterCr_ = bytes[static_cast<std::size_t>(consumed) - 1] == '\r';
    else if (skip)
        afterCr_ = false;
    ended_ = read.stoppedAtMaxtime;

    if (added.dates.empty())
        return update;
    update.kind = FollowUpdate::Kind::Added;
    update.plays = static_cast<std::int32_t>(added.plays.size());
    update.entries = static_cast<std::int32_t>(added.dates.size());
    return update;
}

FollowUpdate followOnce(PlayHistory& history, std::size_t log, LogFollower& follower, AppendOutcome* appended)
{
    FollowUpdate update = follower.poll(history.texts(), history.logs().size() > 1);
    if (update.kind != FollowUpdate::Kind::Added)
        return update;
    AppendOutcome outcome = history.append(log, std::move(update.added));
    update.added = {};
    switch (outcome.kind) {
    case AppendOutcome::Kind::Added:
        update.plays = static_cast<std::int32_t>(outcome.rows);
        update.entries = outcome.entries;
        break;
    case AppendOutcome::Kind::Reload:
        follower.stop();
        update.kind = FollowUpdate::Kind::Reload;
        break;
    case AppendOutcome::Kind::Failed:
        follower.stop();
        update.kind = FollowUpdate::Kind::Failed;
        update.message = RunTexts::failure(*outcome.failure);
        break;
    }
    if (appended)
        *appended = std::move(outcome);
    return update;
}

} // namespace tolvane
