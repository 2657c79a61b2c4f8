#include "core/log/TextDecoder.h"

#include "core/log/Utf8Text.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <stdexcept>

namespace tolvane {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code page 932 as a lookup table, filled once from iconv: every single byte
// and every lead/trail pair is asked for its code point. Decoding a line is
// then a table walk instead of an iconv call per line.
class Cp932Table final {
public:
    static const Cp932Table& instance()
    {
        static const Cp932Table table;
        return table;
    }

    // 0 means "not a character on its own"; leadByte tells which of those start a pair.
    char32_t single(unsigned char b) const { return single_[b]; }
    bool isLead(unsigned char b) const { return lead_[b]; }
    char32_t pair(unsigned char lead, unsigned char trail) const { return pairs_[lead * 256u + trail]; }

private:
    Cp932Table()
        : pairs_(std::make_unique<char32_t[]>(65536))
    {
        iconv_t cd = iconv_open("UTF-32LE", "CP932");
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert from CP932");
        for (unsigned b = 0; b < 256; ++b) {
            const unsigned char bytes[1] = {static_cast<unsigned char>(b)};
            int err = 0;
            single_[b] = convert(cd, bytes, 1, err);
            lead_[b] = single_[b] == 0 && err == EINVAL;
        }
        for (unsigned lead = 0; lead < 256; ++lead) {
            if (!lead_[lead])
                continue;
            for (unsigned trail = 0; trail < 256; ++trail) {
                const unsigned char bytes[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
                int err = 0;
                pairs_[lead * 256u + trail] = convert(cd, bytes, 2, err);
            }
        }
        iconv_close(cd);
    }

    // The single code point that the bytes decode to as a whole, or 0.
    static char32_t convert(iconv_t cd, const unsigned char* bytes, std::size_t n, int& err)
    {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char in[2] = {static_cast<char>(bytes[0]), n > 1 ? static_cast<char>(bytes[1]) : '\0'};
        char* inPtr = in;
        std::size_t inLeft = n;
        unsigned char out[16] = {};
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t outLeft = sizeof out;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        if (rc == static_cast<std::size_t>(-1)) {
            err = errno;
            return 0;
        }
        if (inLeft != 0 || sizeof out - outLeft != 4)
            return 0;
        return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<std::uint32_t>(out[3]) << 24);
    }

    std::array<char32_t, 256> single_{};
    std::array<bool, 256> lead_{};
    std::unique_ptr<char32_t[]> pairs_;
};

// Writes the UTF-8 form of a code point at out; returns the byte after it.
char* putUtf8(char32_t cp, char* out)
{
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// Every input byte yields at most three output bytes (a lone byte may become
// U+FFFD), so the output is sized once and trimmed afterwards.
void decodeCp932(std::string_view bytes, std::string& out)
{
    const Cp932Table& table = Cp932Table::instance();
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * 3);
    char* w = out.data() + start;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Most of a line is ASCII: copy it eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ULL)
                break;
            std::memcpy(w, p, 8);
            w += 8;
            p += 8;
        }
        if (p == end)
            break;
        const unsigned char b = *p;
        if (b < 0x80) {
            *w++ = static_cast<char>(b);
            ++p;
        } else if (table.isLead(b)) {
            const char32_t cp = p + 1 < end ? table.pair(b, p[1]) : 0;
            if (cp != 0) {
                w = putUtf8(cp, w);
                p += 2;
            } else {
                // A broken pair: the lead byte alone is lost; the next byte starts afresh.
                w = putUtf8(kReplacement, w);
                ++p;
            }
        } else {
            const char32_t cp = table.single(b);
            w = putUtf8(cp != 0 ? cp : kReplacement, w);
            ++p;
        }
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
}

void decodeUtf8(std::string_view bytes, std::string& out)
{
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * 3);
    char* w = out.data() + start;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            *w++ = static_cast<char>(*p++);
            continue;
        }
        const std::size_t n = utf8SequenceLength(p, end);
        if (n == 0) {
            w = putUtf8(kReplacement, w);
            ++p;
        } else {
            for (std::size_t i = 0; i < n; ++i)
                *w++ = static_cast<char>(*p++);
        }
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
}

} // namespace

TextDecoder::TextDecoder(Encoding encoding)
    : encoding_(encoding)
{
    if (encoding_ == Encoding::Cp932)
        Cp932Table::instance(); // fail early if iconv lacks the code page
}

void TextDecoder::decode(std::string_view bytes, std::string& out) const
{
    if (encoding_ == Encoding::Cp932)
        decodeCp932(bytes, out);
    else
        decodeUtf8(bytes, out);
}

std::string TextDecoder::decode(std::string_view bytes) const
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    decode(bytes, out);
    return out;
}

} // namespace tolvane
