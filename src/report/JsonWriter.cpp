#include "report/JsonWriter.h"

#include "core/log/NumberText.h"
#include "core/log/TextDecoder.h"

#include <charconv>
#include <cmath>

namespace tolvane::report {

namespace {

// The buffer goes out once it holds this much.
constexpr std::size_t kBlock = std::size_t{1} << 16;

// Bytes that a JSON string cannot hold as they are.
constexpr bool needsEscape(unsigned char c)
{
    return c < 0x20 || c == '"' || c == '\\';
}

// Appends text, whose bytes are valid UTF-8, as a JSON string literal.
void appendEscaped(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t plain = 0; // the start of the run of bytes that need nothing
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!needsEscape(c))
            continue;
        out.append(text.data() + plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: {
            const char u[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
            out.append(u, sizeof u);
        }
        }
    }
    out.append(text.data() + plain, text.size() - plain);
    out += '"';
}

// The length of the well-formed UTF-8 sequence that starts with the byte
// b >= 0x80 at p (2..4), or 0: the same rule as the decoder's.
std::size_t sequenceLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char b = *p;
    std::size_t n = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        lo = b == 0xE0 ? 0xA0 : 0x80;
        hi = b == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        lo = b == 0xF0 ? 0x90 : 0x80;
        hi = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < n || p[1] < lo || p[1] > hi)
        return 0;
    for (std::size_t i = 2; i < n; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return n;
}

// Appends text as a JSON string literal; bytes that are not UTF-8 become
// U+FFFD. clean is room for the mended text, kept to spare an allocation.
// Most texts are well-formed and need no escape: one look at each byte
// finds that, and they go out as they are.
void appendQuoted(std::string& out, std::string_view text, std::string& clean)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    bool escapes = false;
    while (p < end) {
        if (*p < 0x80) {
            escapes |= needsEscape(*p);
            ++p;
            continue;
        }
        const std::size_t n = sequenceLength(p, end);
        if (n == 0) {
            static const TextDecoder utf8(TextDecoder::Encoding::Utf8);
            clean.clear();
            utf8.decode(text, clean);
            appendEscaped(out, clean);
            return;
        }
        p += n;
    }
    if (!escapes) {
        out += '"';
        out += text;
        out += '"';
        return;
    }
    appendEscaped(out, text);
}

} // namespace

JsonWriter::JsonWriter(std::FILE* out)
    : out_(out)
{
    buffer_.reserve(kBlock + 4096);
}

JsonWriter::~JsonWriter()
{
    writeOut();
}

void JsonWriter::writeOut()
{
    if (!buffer_.empty())
        std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
    buffer_.clear();
}

void JsonWriter::put(std::string_view s)
{
    buffer_.append(s);
    if (buffer_.size() >= kBlock)
        writeOut();
}

void JsonWriter::putQuoted(std::string_view text)
{
    appendQuoted(buffer_, text, clean_);
    if (buffer_.size() >= kBlock)
        writeOut();
}

void JsonWriter::newline()
{
    buffer_ += '\n';
    buffer_.append(levels_.size(), ' ');
}

void JsonWriter::beforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty())
        return;
    Level& level = levels_.back();
    if (!level.empty)
        put(level.inlined ? ", " : ",");
    level.empty = false;
    if (!level.inlined)
        newline();
}

void JsonWriter::open(char bracket, Layout layout)
{
    beforeValue();
    put(std::string_view(&bracket, 1));
    const bool insideInline = !levels_.empty() && levels_.back().inlined;
    levels_.push_back({true, insideInline || layout == Layout::Inline});
}

void JsonWriter::close(char bracket)
{
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.empty && !level.inlined)
        newline();
    put(std::string_view(&bracket, 1));
}

void JsonWriter::beginObject(Layout layout)
{
    open('{', layout);
}
void JsonWriter::endObject()
{
    close('}');
}
void JsonWriter::beginArray(Layout layout)
{
    open('[', layout);
}
void JsonWriter::endArray()
{
    close(']');
}

void JsonWriter::key(std::string_view name)
{
    beforeValue();
    putQuoted(name);
    put(": ");
    afterKey_ = true;
}

void JsonWriter::value(std::string_view text)
{
    beforeValue();
    putQuoted(text);
}

void JsonWriter::value(std::int64_t number)
{
    beforeValue();
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, number).ptr;
    put(std::string_view(buf, static_cast<std::size_t>(end - buf)));
}

void JsonWriter::null()
{
    beforeValue();
    put("null");
}

void JsonWriter::boolean(bool flag)
{
    beforeValue();
    put(flag ? "true" : "false");
}

void JsonWriter::number(double value)
{
    beforeValue();
    put(std::isfinite(value) ? numberText(value) : "null");
}

void JsonWriter::finish()
{
    put("\n");
    writeOut();
    std::fflush(out_);
}

} // namespace tolvane::report
