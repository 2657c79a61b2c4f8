#pragma once

#include "core/log/TextDecoder.h"

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
class LineReader final {
public:
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

    // True when every byte has been read (or reading failed).
    bool atEnd();
    // Moves to the next line; false at the end of the file or on a read error.
    bool next();

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
    std::string error_;
    std::uint64_t size_ = 0;

    std::vector<char> buffer_;
    const char* data_ = nullptr; // unread bytes run from data_ + pos_ to data_ + end_
    std::size_t pos_ = 0;
    std::size_t end_ = 0;

    std::string_view line_;
    long lineNumber_ = 0;
    std::uint64_t offset_ = 0;
    TextDecoder decoder_;
};

} // namespace tolvane
