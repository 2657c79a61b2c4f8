#include "core/log/LineReader.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tolvane {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The first CR or LF in [from, to), or nullptr. One pass, eight bytes at a
// time, so that a log with LF or CR line ends reads as fast as one with CR LF.
const char* findLineEnd(const char* from, const char* to)
{
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101;
        constexpr std::uint64_t kHighBits = 0x8080808080808080;
        constexpr std::uint64_t kCrs = kOnes * '\r';
        constexpr std::uint64_t kLfs = kOnes * '\n';
        while (to - from >= 8) {
            std::uint64_t word;
            std::memcpy(&word, from, sizeof word);
            const std::uint64_t cr = word ^ kCrs; // a zero byte where word holds a CR
            const std::uint64_t lf = word ^ kLfs;
            // Marks every zero byte's high bit; a borrow may also mark bytes
            // above a zero byte, but never below the first one.
            const std::uint64_t hits = (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighBits;
            if (hits != 0)
                return from + std::countr_zero(hits) / 8;
            from += 8;
        }
    }
    for (; from < to; ++from) {
        if (*from == '\r' || *from == '\n')
            return from;
    }
    return nullptr;
}

} // namespace

LineReader LineReader::inMemory(std::string_view data)
{
    return LineReader(data, MemoryTag{});
}

LineReader LineReader::openFile(const std::filesystem::path& path)
{
    return LineReader(path, FileTag{});
}

LineReader::LineReader(std::string_view data, MemoryTag)
    : memory_(true)
    , memoryData_(data)
    , eof_(true)
    , size_(data.size())
    , data_(data.data())
    , end_(data.size())
{
    detectEncoding();
}

LineReader LineReader::from(std::uint64_t start, LargeBlock buffer) const
{
    return LineReader(*this, start, std::move(buffer), RangeTag{});
}

LargeBlock LineReader::takeBuffer()
{
    eof_ = true;
    pos_ = end_ = 0;
    data_ = nullptr;
    line_ = {};
    return std::move(buffer_);
}

LineReader::LineReader(const LineReader& whole, std::uint64_t start, LargeBlock buffer, RangeTag)
    : fd_(whole.fd_)
    , memory_(whole.memory_)
    , memoryData_(whole.memoryData_)
    , eof_(whole.memory_)
    , size_(whole.size_)
    , offset_(start)
    , decoder_(whole.decoder_)
{
    if (memory_) {
        const std::size_t at = static_cast<std::size_t>(std::min<std::uint64_t>(start, memoryData_.size()));
        data_ = memoryData_.data();
        pos_ = at;
        end_ = memoryData_.size();
        return;
    }
    if (fd_ < 0) {
        error_ = whole.error_;
        return;
    }
    buffer_ = buffer ? std::move(buffer) : allocateLargeBlock();
    data_ = buffer_.get();
    readOffset_ = start;
}

std::size_t LineReader::copyBytes(std::uint64_t at, char* out, std::size_t n) const
{
    if (memory_) {
        if (at >= memoryData_.size())
            return 0;
        const std::size_t count = std::min<std::size_t>(n, memoryData_.size() - static_cast<std::size_t>(at));
        std::memcpy(out, memoryData_.data() + at, count);
        return count;
    }
    std::size_t done = 0;
    while (fd_ >= 0 && done < n) {
        const ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(at + done));
        if (got > 0)
            done += static_cast<std::size_t>(got);
        else if (got == 0 || errno != EINTR)
            break;
    }
    return done;
}

LineReader::LineReader(const std::filesystem::path& path, FileTag)
{
    // Non-blocking, so that a named pipe without a writer is refused below
    // instead of holding the window; for a regular file the flag changes nothing.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    ownsFd_ = fd_ >= 0;
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        return;
    }
    struct stat st { };
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        error_ = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "not a regular file";
        ::close(fd_);
        fd_ = -1;
        ownsFd_ = false;
        return;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
    buffer_ = allocateLargeBlock();
    data_ = buffer_.get();
    fill();
    detectEncoding();
}

LineReader::~LineReader()
{
    if (ownsFd_)
        ::close(fd_);
}

void LineReader::detectEncoding()
{
    // Make sure the first three bytes are in hand (a tiny file may hold fewer).
    while (end_ - pos_ < kUtf8Bom.size() && fill()) { }
    const std::string_view head(data_ + pos_, end_ - pos_);
    if (head.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        decoder_ = TextDecoder(TextDecoder::Encoding::Utf8);
        pos_ += kUtf8Bom.size();
        offset_ = kUtf8Bom.size();
    }
}

// Reads more of the file after the unread bytes; false when nothing more came.
bool LineReader::fill()
{
    if (eof_ || fd_ < 0)
        return false;
    // Keep the unread bytes. They are never more than the longest line, its
    // CR and a byte, so the buffer always has room after them.
    if (pos_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (end_ == kBufferBytes)
        return false;
    for (;;) {
        // Reading at an offset of its own, the reader shares the file with
        // readers of its other parts.
        const ssize_t n = ::pread(fd_, buffer_.get() + end_, kBufferBytes - end_, static_cast<off_t>(readOffset_));
        if (n > 0) {
            end_ += static_cast<std::size_t>(n);
            readOffset_ += static_cast<std::uint64_t>(n);
            return true;
        }
        if (n == 0) {
            eof_ = true;
            return false;
        }
        if (errno != EINTR) {
            error_ = std::strerror(errno);
            eof_ = true;
            return false;
        }
    }
}

bool LineReader::atEnd()
{
    if (tooLong_)
        return true;
    while (pos_ >= end_) {
        if (!fill())
            return true;
    }
    return false;
}

bool LineReader::next()
{
    if (atEnd())
        return false;
    // Find the line end, reading on while the buffer holds no complete line.
    std::size_t scanned = pos_;
    for (;;) {
        // The line end must come within kMaxLineBytes of the line's start.
        const std::size_t limit = std::min(end_, pos_ + kMaxLineBytes + 1);
        const char* stop = findLineEnd(data_ + scanned, data_ + limit);
        if (stop) {
            const bool cr = *stop == '\r';
            std::size_t lineEnd = static_cast<std::size_t>(stop - data_);
            if (cr && lineEnd + 1 == end_ && !eof_) {
                // The LF of a CR LF may still be in the file.
                const std::size_t keep = lineEnd - pos_;
                fill();
                lineEnd = pos_ + keep;
            }
            std::size_t after = lineEnd + 1;
            if (cr && after < end_ && data_[after] == '\n')
                ++after;
            line_ = std::string_view(data_ + pos_, lineEnd - pos_);
            offset_ += after - pos_;
            pos_ = after;
            ++lineNumber_;
            return true;
        }
        if (limit - pos_ > kMaxLineBytes) {
            tooLong_ = true;
            line_ = {};
            ++lineNumber_;
            return false;
        }
        // No line end in what we hold: read more, or the last line ends the file.
        const std::size_t keep = end_ - pos_;
        if (!fill()) {
            line_ = std::string_view(data_ + pos_, end_ - pos_);
            offset_ += end_ - pos_;
            pos_ = end_;
            ++lineNumber_;
            return true;
        }
        scanned = pos_ + keep;
    }
}

void LineReader::skipLongLine()
{
    if (!tooLong_)
        return;
    tooLong_ = false;
    line_ = {};
    for (;;) {
        const char* stop = findLineEnd(data_ + pos_, data_ + end_);
        if (!stop) {
            // The whole buffer is still inside the line: drop it and read on.
            offset_ += end_ - pos_;
            pos_ = end_;
            if (!fill())
                return; // the line ends the file
            continue;
        }
        const std::size_t lineEnd = static_cast<std::size_t>(stop - data_);
        offset_ += lineEnd - pos_;
        pos_ = lineEnd;
        if (*stop == '\r' && pos_ + 1 == end_ && !eof_)
            fill(); // the LF of a CR LF may still be in the file
        std::size_t after = pos_ + 1;
        if (data_[pos_] == '\r' && after < end_ && data_[after] == '\n')
            ++after;
        offset_ += after - pos_;
        pos_ = after;
        return;
    }
}

void LineReader::decodeInto(std::string& out) const
{
    decoder_.decode(line_, out);
}

} // namespace tolvane
