#pragma once

#include "core/history/PlayHistory.h"
#include "core/log/Filter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tolvane {

// What one look at a followed log found and did.
struct FollowUpdate {
    enum class Kind {
        Unchanged, // nothing new, or only part of an entry so far
        Added, // entries were read: added holds them (the history, once appended)
        Reload, // the log shrank, was replaced or its start changed: read it again in full
        Gone, // the log is not there (it may come back)
        Failed, // the new part breaks the log's layout; nothing was taken from it
    };
    Kind kind = Kind::Unchanged;
    std::int32_t plays = 0; // rows added to the data list
    std::int32_t entries = 0; // entries read, accepted or not
    std::vector<std::string> message; // Failed: the failure message of a full read
    NewEntries added;
};

// Follows a log the game appends to, after a completed full read of it. It
// keeps the file's identity (device and inode), the size it has seen, a
// fingerprint of its first bytes, and the byte offset and line number after
// the last complete entry. A look reads only the bytes after that offset,
// takes the complete entries there with the log reader (with the same load
// filters) and hands them on for the history to append. An entry still being
// written waits for the next look.
class LogFollower final {
public:
    // Bytes at the start that must not change.
    static constexpr std::size_t kFingerprintBytes = 4096;
    // A bigger growth is left to a full read, which shows its progress and keeps the window live.
    static constexpr std::uint64_t kMaxAppendBytes = std::uint64_t{16} << 20;

    // Starts following path, which a completed run has just read (log: what
    // the run read of it) with filter. False, following nothing, when the file
    // cannot be looked at.
    bool start(const std::filesystem::path& path, const Filter& filter, const LogOutcome& log);
    void stop();
    bool following() const { return following_; }
    const std::filesystem::path& path() const { return path_; }

    // Looks at the log once. New plays' texts go to texts; withKeys gives
    // every new entry its key (a history of several logs needs them).
    FollowUpdate poll(const std::shared_ptr<TextPool>& texts, bool withKeys = false);

private:
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        friend bool operator==(const Identity&, const Identity&) = default;
    };

    FollowUpdate readAppended(const std::shared_ptr<TextPool>& texts, bool withKeys, int fd, std::uint64_t size);

    bool following_ = false;
    std::filesystem::path path_;
    Filter filter_;
    Identity identity_;
    std::uint64_t seenSize_ = 0; // the size at the last look
    std::uint64_t fingerprint_ = 0;
    std::size_t fingerprintLength_ = 0;
    bool utf8_ = false; // the log starts with a UTF-8 byte order mark
    std::uint64_t offset_ = 0; // past the last complete entry (or line outside entries)
    long line_ = 0; // lines before offset_
    bool afterCr_ = false; // the byte before offset_ is a CR: an LF right after it ends the same line
    bool tailUncertain_ = false; // the full read took a last line that had no line end
    bool ended_ = false; // the span's end stopped the reading: nothing later can be added
};

// Looks at the followed log, the history's log number log, once, and appends
// what it found to the history. Added tells the rows added; a play the
// rankings cannot take fails (following stops) and a new part that cannot
// join the history's end asks for a reload.
FollowUpdate followOnce(
    PlayHistory& history, std::size_t log, LogFollower& follower, AppendOutcome* appended = nullptr);

} // namespace tolvane
