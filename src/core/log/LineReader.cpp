#include "core/log/LineReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {

namespace {

constexpr std::size_t kChunk = 1 << 20;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

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
    , eof_(true)
    , size_(data.size())
    , data_(data.data())
    , end_(data.size())
{
    detectEncoding();
}

LineReader::LineReader(const std::filesystem::path& path, FileTag)
{
    // Non-blocking, so that a named pipe without a writer is refused below
    // instead of holding the window; for a regular file the flag changes nothing.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        return;
    }
    struct stat st { };
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        error_ = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "not a regular file";
        ::close(fd_);
        fd_ = -1;
        return;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
    buffer_.resize(kChunk);
    data_ = buffer_.data();
    fill();
    detectEncoding();
}

LineReader::~LineReader()
{
    if (fd_ >= 0)
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
    // Keep the unread bytes; grow the buffer when a single line fills it.
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (end_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2);
    data_ = buffer_.data();
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
        if (n > 0) {
            end_ += static_cast<std::size_t>(n);
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
        const char* start = data_ + scanned;
        const std::size_t len = end_ - scanned;
        const auto* cr = static_cast<const char*>(std::memchr(start, '\r', len));
        const std::size_t crLen = cr ? static_cast<std::size_t>(cr - start) : len;
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', crLen));
        const char* stop = lf ? lf : cr;
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

void LineReader::decodeInto(std::string& out) const
{
    decoder_.decode(line_, out);
}

} // namespace tolvane
