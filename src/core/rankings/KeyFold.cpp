#include "core/rankings/KeyFold.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tolvane {

namespace {

unsigned char byteAt(std::string_view s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

// True when only ASCII letters can fold in the text: every other byte is a
// lead of U+3000..9FFF (kana, CJK; no case there) or a byte after a lead.
// Most of a log's titles are so, and are folded a byte at a time.
bool foldsLikeAscii(std::string_view s) noexcept
{
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0xC0 && (b < 0xE3 || b > 0xE9))
            return false;
    }
    return true;
}

unsigned char asciiSmall(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// The well-formed UTF-8 sequence at i: its code point and length; length 0
// when the byte at i starts none (it then stands for itself).
std::pair<char32_t, std::size_t> decodeAt(std::string_view s, std::size_t i)
{
    const unsigned char b = byteAt(s, i);
    std::size_t n = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (b >= 0xC2 && b <= 0xDF)
        n = 2, c = b & 0x1Fu, least = 0x80;
    else if (b >= 0xE0 && b <= 0xEF)
        n = 3, c = b & 0x0Fu, least = 0x800;
    else if (b >= 0xF0 && b <= 0xF4)
        n = 4, c = b & 0x07u, least = 0x10000;
    else
        return {b, 0};
    if (i + n > s.size())
        return {b, 0};
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char t = byteAt(s, i + k);
        if ((t & 0xC0) != 0x80)
            return {b, 0};
        c = (c << 6) | (t & 0x3Fu);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {b, 0};
    return {c, n};
}

std::size_t encode(char32_t c, unsigned char* out)
{
    if (c < 0x80) {
        out[0] = static_cast<unsigned char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
    out[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 4;
}

// Unicode's simple case folding of one letter. Punctuation, CJK and kana
// (U+2E00..A63F) have no case, and of the half- and full-width forms
// (U+FF00..FFEF) only the full-width capitals fold; a log's text is mostly
// there.
char32_t foldedLetter(char32_t c)
{
    if (c >= 0x2E00 && c < 0xA640)
        return c;
    if (c >= 0xFF00 && c <= 0xFFEF)
        return c >= 0xFF21 && c <= 0xFF3A ? c + 0x20 : c;
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

// The folded text, a few bytes at a time: ASCII letters fold in place, any
// other letter through Unicode's simple case folding, and bytes that are not
// UTF-8 stand for themselves. Keys compare and hash by this one stream, so
// "same key" and "same hash" cannot disagree.
class FoldedBytes final {
public:
    explicit FoldedBytes(std::string_view text)
        : text_(text)
    {
    }

    // The next piece of the folded text; empty at the end. Letters that do
    // not change come as a run of the text itself.
    std::string_view next()
    {
        const std::size_t start = at_;
        while (at_ < text_.size()) {
            const unsigned char b = byteAt(text_, at_);
            if (b < 0x80) {
                if (b >= 'A' && b <= 'Z') {
                    if (at_ > start)
                        break;
                    ++at_;
                    buffer_[0] = asciiSmall(b);
                    return {reinterpret_cast<const char*>(buffer_), 1};
                }
                ++at_;
                continue;
            }
            const auto [c, length] = decodeAt(text_, at_);
            if (length == 0) {
                ++at_; // a byte that is not UTF-8 stands for itself
                continue;
            }
            const char32_t folded = foldedLetter(c);
            if (folded == c) {
                at_ += length;
                continue;
            }
            if (at_ > start)
                break;
            at_ += length;
            return {reinterpret_cast<const char*>(buffer_), encode(folded, buffer_)};
        }
        return text_.substr(start, at_ - start);
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    unsigned char buffer_[4];
};

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

// A hash of bytes eight at a time. Every byte is hashed with its bit 0x20
// set, so an ASCII text hashes alike before and after folding.
class WordHash final {
public:
    void add(std::string_view bytes)
    {
        size_ += bytes.size();
        std::size_t i = 0;
        for (; i < bytes.size() && filled_ != 0; ++i)
            addByte(byteAt(bytes, i));
        for (; i + 8 <= bytes.size(); i += 8) {
            word_ = loadWord(bytes, i) | kCaseBits;
            mix();
        }
        for (; i < bytes.size(); ++i)
            addByte(byteAt(bytes, i));
    }

    std::size_t value()
    {
        std::uint64_t h = (h_ ^ word_ ^ (static_cast<std::uint64_t>(filled_) << 61)) * kMultiplier;
        h ^= size_;
        h ^= h >> 32;
        return static_cast<std::size_t>(h);
    }

private:
    static constexpr std::uint64_t kCaseBits = 0x2020202020202020ULL;

    // Byte k of the word is bits 8k.., whatever the machine's byte order.
    static std::uint64_t loadWord(std::string_view bytes, std::size_t at)
    {
        std::uint64_t word = 0;
        for (unsigned k = 0; k < 8; ++k)
            word |= static_cast<std::uint64_t>(byteAt(bytes, at + k)) << (8 * k);
        return word;
    }

    void addByte(unsigned char c)
    {
        word_ |= static_cast<std::uint64_t>(c | 0x20) << (8 * filled_);
        if (++filled_ == 8)
            mix();
    }

    void mix()
    {
        h_ = (h_ ^ word_) * kMultiplier;
        h_ ^= h_ >> 29;
        word_ = 0;
        filled_ = 0;
    }

    std::uint64_t h_ = 0xcbf29ce484222325ULL;
    std::uint64_t word_ = 0;
    unsigned filled_ = 0;
    std::size_t size_ = 0;
};

} // namespace

std::string foldLetterCase(std::string_view utf8)
{
    std::string folded;
    folded.reserve(utf8.size());
    if (foldsLikeAscii(utf8)) {
        for (char c : utf8)
            folded += static_cast<char>(asciiSmall(static_cast<unsigned char>(c)));
        return folded;
    }
    FoldedBytes bytes(utf8);
    for (std::string_view piece = bytes.next(); !piece.empty(); piece = bytes.next())
        folded += piece;
    return folded;
}

bool sameKey(std::string_view a, std::string_view b) noexcept
{
    // Most lookups find the key in the very spelling it was stored in.
    if (a == b)
        return true;
    if (foldsLikeAscii(a) && foldsLikeAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (asciiSmall(byteAt(a, i)) != asciiSmall(byteAt(b, i)))
                return false;
        }
        return true;
    }
    // A folded letter may take more or fewer bytes than its capital: compare
    // the two folded streams, however they fall into pieces.
    FoldedBytes left(a);
    FoldedBytes right(b);
    std::string_view l = left.next();
    std::string_view r = right.next();
    while (!l.empty() && !r.empty()) {
        const std::size_t n = std::min(l.size(), r.size());
        if (l.substr(0, n) != r.substr(0, n))
            return false;
        l.remove_prefix(n);
        r.remove_prefix(n);
        if (l.empty())
            l = left.next();
        if (r.empty())
            r = right.next();
    }
    return l.empty() && r.empty();
}

std::size_t hashKey(std::string_view utf8) noexcept
{
    WordHash hash;
    if (foldsLikeAscii(utf8)) {
        hash.add(utf8);
        return hash.value();
    }
    FoldedBytes bytes(utf8);
    for (std::string_view piece = bytes.next(); !piece.empty(); piece = bytes.next())
        hash.add(piece);
    return hash.value();
}

} // namespace tolvane
