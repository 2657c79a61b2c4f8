#include "report/JsonWriter.h"

#include "core/export/Utf8Check.h"
#include "core/log/NumberText.h"
#include "core/log/TextDecoder.h"

#include <charconv>
#include <cmath>
#include <cstring>

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

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Whether any of eight bytes needs an escape: a byte below 0x20, '"' or '\'
// (the usual test for a zero byte, on the word against each of them; a byte
// with its high bit set never passes for one).
constexpr bool anyNeedsEscape(std::uint64_t word)
{
    const auto hasZero = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHighBits) != 0; };
    return ((word - kOnes * 0x20) & ~word & kHighBits) != 0 || hasZero(word ^ (kOnes * '"'))
        || hasZero(word ^ (kOnes * '\\'));
}

bool hasEscapes(std::string_view text)
{
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (anyNeedsEscape(word))
            return true;
    }
    for (; i < text.size(); ++i) {
        if (needsEscape(static_cast<unsigned char>(text[i])))
            return true;
    }
    return false;
}

enum class TextKind {
    Plain, // well-formed UTF-8 that needs no escape: it goes out as it is
    Escapes, // well-formed, with bytes that need an escape
    Malformed, // holds bytes that are not UTF-8
};

// Most cells are ASCII (numbers, dates), and one pass over them, eight bytes
// at a time, settles them. The rest is checked from its first other byte on.
TextKind kindOf(std::string_view text)
{
    bool escapes = false;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & kHighBits) != 0)
            break;
        escapes |= anyNeedsEscape(word);
    }
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80)
            break;
        escapes |= needsEscape(c);
    }
    if (i == text.size())
        return escapes ? TextKind::Escapes : TextKind::Plain;
    const std::string_view rest = text.substr(i);
    if (!isWellFormedUtf8(rest))
        return TextKind::Malformed;
    return escapes || hasEscapes(rest) ? TextKind::Escapes : TextKind::Plain;
}

} // namespace

JsonWriter::JsonWriter(std::FILE* out)
    : out_(out)
    , buffer_(new char[kBlock])
{
}

JsonWriter::~JsonWriter()
{
    writeOut();
}

void JsonWriter::writeOut()
{
    if (used_ > 0)
        std::fwrite(buffer_.get(), 1, used_, out_);
    used_ = 0;
}

void JsonWriter::put(std::string_view s)
{
    if (s.size() > kBlock - used_) {
        writeOut();
        if (s.size() > kBlock) {
            std::fwrite(s.data(), 1, s.size(), out_);
            return;
        }
    }
    std::memcpy(buffer_.get() + used_, s.data(), s.size());
    used_ += s.size();
}

void JsonWriter::putQuoted(std::string_view text)
{
    switch (kindOf(text)) {
    case TextKind::Plain:
        if (text.size() + 2 <= kBlock - used_) {
            char* w = buffer_.get() + used_;
            *w = '"';
            std::memcpy(w + 1, text.data(), text.size());
            w[text.size() + 1] = '"';
            used_ += text.size() + 2;
        } else {
            put("\"");
            put(text);
            put("\"");
        }
        return;
    case TextKind::Escapes:
        spill_.clear();
        appendEscaped(spill_, text);
        break;
    case TextKind::Malformed: {
        static const TextDecoder utf8(TextDecoder::Encoding::Utf8);
        clean_.clear();
        utf8.decode(text, clean_);
        spill_.clear();
        appendEscaped(spill_, clean_);
        break;
    }
    }
    put(spill_);
}

void JsonWriter::newline()
{
    put("\n");
    for (std::size_t i = 0; i < levels_.size(); ++i)
        put(" ");
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
