#include "report/JsonWriter.h"

#include "core/log/NumberText.h"
#include "core/log/TextDecoder.h"

#include <cmath>

namespace tolvane::report {

JsonWriter::JsonWriter(std::FILE* out)
    : out_(out)
{
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
    std::fputc(bracket, out_);
    const bool insideInline = !levels_.empty() && levels_.back().inlined;
    levels_.push_back({true, insideInline || layout == Layout::Inline});
}

void JsonWriter::close(char bracket)
{
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.empty && !level.inlined)
        newline();
    std::fputc(bracket, out_);
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
    put(quoted(name));
    put(": ");
    afterKey_ = true;
}

void JsonWriter::value(std::string_view text)
{
    beforeValue();
    put(quoted(text));
}

void JsonWriter::value(std::int64_t number)
{
    beforeValue();
    put(std::to_string(number));
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
    std::fflush(out_);
}

std::string JsonWriter::quoted(std::string_view text)
{
    static const TextDecoder utf8(TextDecoder::Encoding::Utf8);
    const std::string clean = utf8.decode(text);
    std::string out;
    out.reserve(clean.size() + 2);
    out += '"';
    for (const char c : clean) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

} // namespace tolvane::report
