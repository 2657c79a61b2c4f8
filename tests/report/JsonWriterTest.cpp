#include "report/JsonWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using tolvane::report::JsonWriter;

namespace {

// What the writer puts out for one text value.
std::string quoted(const std::string& text)
{
    std::FILE* f = std::tmpfile();
    {
        JsonWriter json(f);
        json.value(text);
    }
    std::string out(static_cast<std::size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    out.resize(std::fread(out.data(), 1, out.size(), f));
    std::fclose(f);
    return out;
}

const std::string kReplacement = "\xEF\xBF\xBD";

} // namespace

TEST(JsonWriter, EscapesWhatJsonCannotHoldAndKeepsUtf8)
{
    EXPECT_EQ(quoted("plain text"), "\"plain text\"");
    EXPECT_EQ(quoted(""), "\"\"");
    EXPECT_EQ(quoted("a\"b\\c\nd\re\tf"), R"("a\"b\\c\nd\re\tf")");
    EXPECT_EQ(quoted(std::string("\x01\x1F\x7F", 3)), "\"\\u0001\\u001f\x7F\"");
    EXPECT_EQ(quoted(std::string("\0", 1)), "\"\\u0000\"");
    // Two, three and four byte characters, at the edges of what is allowed.
    EXPECT_EQ(quoted("\xC2\x80 é 桜\t\xEF\xBF\xBF \xF0\x90\x80\x80 \xF4\x8F\xBF\xBF"),
        "\"\xC2\x80 é 桜\\t\xEF\xBF\xBF \xF0\x90\x80\x80 \xF4\x8F\xBF\xBF\"");
}

// Each byte that starts no well-formed character becomes one U+FFFD, and
// escapes still apply around them.
TEST(JsonWriter, ReplacesBytesThatAreNotUtf8)
{
    const std::string r = kReplacement;
    EXPECT_EQ(quoted("\x80"), "\"" + r + "\"");
    EXPECT_EQ(quoted("a\xC0\xAF"), "\"a" + r + r + "\""); // overlong
    EXPECT_EQ(quoted("\xED\xA0\x80"), "\"" + r + r + r + "\""); // a surrogate
    EXPECT_EQ(quoted("\xF4\x90\x80\x80"), "\"" + r + r + r + r + "\""); // above U+10FFFF
    EXPECT_EQ(quoted("桜\"\xE6\xA1"), "\"桜\\\"" + r + r + "\""); // cut short at the end
    EXPECT_EQ(quoted("\x82\xA0\n"), "\"" + r + r + "\\n\""); // code page 932 bytes
}

// A document, and texts, longer than the writer's buffer come out whole and
// in order.
TEST(JsonWriter, LongDocumentsComeOutWhole)
{
    std::FILE* f = std::tmpfile();
    std::string expected = "[";
    JsonWriter json(f);
    json.beginArray();
    for (int i = 0; i < 30000; ++i) {
        json.value(static_cast<std::int64_t>(i));
        expected += (i ? ",\n " : "\n ") + std::to_string(i);
    }
    // Texts longer than the buffer, as they are and with escapes.
    const std::string longText(70000, 'x');
    json.value(longText);
    json.value(std::string(40000, '\n'));
    expected += ",\n \"" + longText + "\",\n \"";
    for (int i = 0; i < 40000; ++i)
        expected += "\\n";
    expected += '"';
    json.endArray();
    json.finish();
    expected += "\n]\n";
    std::string out(static_cast<std::size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    out.resize(std::fread(out.data(), 1, out.size(), f));
    std::fclose(f);
    EXPECT_EQ(out, expected);
}
