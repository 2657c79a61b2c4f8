#pragma once

#include <cstddef>
#include <string_view>

namespace tolvane {

// Positions in the log's lines count characters, not bytes: a double-byte
// character of the original code page is one character. These helpers count
// on well-formed UTF-8, which is all the decoder produces.

std::size_t charCount(std::string_view text);
// The text without its first n characters (empty when it has fewer).
std::string_view dropChars(std::string_view text, std::size_t n);
// The character at 1-based position pos, or an empty view past the end.
std::string_view charAt(std::string_view text, std::size_t pos);

// The length of the well-formed UTF-8 sequence that starts at p (2..4), or 0
// for an ASCII byte or bytes that are no such sequence.
std::size_t utf8SequenceLength(const unsigned char* p, const unsigned char* end) noexcept;

} // namespace tolvane
