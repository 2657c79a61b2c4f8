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
    // A reader of the same file or bytes from byte offset start on, which
    // must be the start of a line: its first line is line 1, its offsets
    // count from the file's start, and it decodes as this one does. It
    // borrows the file, so this reader must outlive it; several may read at
    // once from different threads. It reads a file into buffer, or into a
    // new one when none is given.
    LineReader from(std::uint64_t start, LargeBlock buffer = {}) const;
    // Gives up the read buffer, for a reader of another part to use; the
    // reader reads no more.
    LargeBlock takeBuffer();
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
    // After a line too long: passes over the rest of it and its line end, so
    // that next() reads the line after it. lineNumber() stays that line's.
    void skipLongLine();

    // The current line, without its line end.
    std::string_view bytes() const { return line_; }
    std::string decoded() const { return decoder_.decode(line_); }
    void decodeInto(std::string& out) const;
    // 1-based number of the current line.
    long lineNumber() const { return lineNumber_; }
    // Byte offset in the file just past the current line and its line end.
    std::uint64_t offset() const { return offset_; }
    const TextDecoder& decoder() const { return decoder_; }

    // Copies up to n bytes from byte offset at of the file or bytes, without
    // moving the reader; returns how many there were (0 past the end or on
    // a read error).
    std::size_t copyBytes(std::uint64_t at, char* out, std::size_t n) const;

private:
    struct FileTag { };
    struct MemoryTag { };
    struct RangeTag { };
    LineReader(const std::filesystem::path& path, FileTag);
    LineReader(std::string_view data, MemoryTag);
    LineReader(const LineReader& whole, std::uint64_t start, LargeBlock buffer, RangeTag);
    bool fill();
    void detectEncoding();

    int fd_ = -1;
    bool ownsFd_ = false;
    bool memory_ = false;
    std::string_view memoryData_; // all the bytes, in memory
    bool eof_ = false;
    bool tooLong_ = false;
    std::string error_;
    std::uint64_t size_ = 0;

    LargeBlock buffer_; // kBufferBytes
    const char* data_ = nullptr; // unread bytes run from data_ + pos_ to data_ + end_
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::uint64_t readOffset_ = 0; // where in the file the next fill() reads

    std::string_view line_;
    long lineNumber_ = 0;
    std::uint64_t offset_ = 0;
    TextDecoder decoder_;
};

} // namespace tolvane
