#pragma once

#include "core/log/LargeBlock.h"
#include "core/log/TextDecoder.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// Reads a file line by line. A line ends at CR LF, at CR alone or at LF
// alone. A file that starts with a UTF-8 byte order mark is UTF-8 (the mark is
// not part of line 1); any other is code page 932. Lines come as raw bytes so
// that lines nobody looks at need not be decoded.
//
// A line may hold at most kMaxLineBytes before its line end. A longer one
// stops the reading there (lineTooLong()), so that a file without line ends,
// such as a zero-filled one, never takes more memory than the read buffer.
class LineReader final {
public:
    static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;
    // The read buffer: room for the longest line, its line end and more.
    static constexpr std::size_t kBufferBytes = 2 * kMaxLineBytes;
    static_assert(kBufferBytes == kLargeBlockBytes);

    // Opens a file; check isOpen() (or error()) before reading.
    static LineReader openFile(const std::filesystem::path& path);
    // Reads bytes in memory; they must outlive the reader.
    static LineReader inMemory(std::string_view data);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool isOpen() const { return fd_ >= 0 || memory_; }
    // Why the file could not be opened or read, empty when all is well.
    const std::string& error() const { return error_; }
    // Size in bytes when the file was opened.
    std::uint64_t size() const { return size_; }

    // True when every byte has been read (or reading failed, or met a line
    // too long).
    bool atEnd();
    // Moves to the next line; false at the end of the file, on a read error
    // or at a line too long.
    bool next();
    // True when next() met a line longer than kMaxLineBytes; lineNumber() is
    // then that line's number and bytes() is empty.
    bool lineTooLong() const { return tooLong_; }

    // The current line, without its line end.
    std::string_view bytes() const { return line_; }
    std::string decoded() const { return decoder_.decode(line_); }
    void decodeInto(std::string& out) const;
    // 1-based number of the current line.
    long lineNumber() const { return lineNumber_; }
    // Byte offset in the file just past the current line and its line end.
    std::uint64_t offset() const { return offset_; }
    const TextDecoder& decoder() const { return decoder_; }

private:
    struct FileTag { };
    struct MemoryTag { };
    LineReader(const std::filesystem::path& path, FileTag);
    LineReader(std::string_view data, MemoryTag);
    bool fill();
    void detectEncoding();

    int fd_ = -1;
    bool memory_ = false;
    bool eof_ = false;
    bool tooLong_ = false;
    std::string error_;
    std::uint64_t size_ = 0;

    LargeBlock buffer_; // kBufferBytes
    const char* data_ = nullptr; // unread bytes run from data_ + pos_ to data_ + end_
    std::size_t pos_ = 0;
    std::size_t end_ = 0;

    std::string_view line_;
    long lineNumber_ = 0;
    std::uint64_t offset_ = 0;
    TextDecoder decoder_;
};

} // namespace tolvane
