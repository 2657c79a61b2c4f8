#include "core/log/LineReader.h"
#include "core/log/TextDecoder.h"
#include "support/LogGenerator.h"
#include "support/LogText.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tolvane;

namespace {

struct Line {
    std::string bytes;
    long number;
    std::uint64_t offset;
    bool operator==(const Line&) const = default;
};

std::vector<Line> linesOf(LineReader& reader)
{
    std::vector<Line> lines;
    while (!reader.atEnd() && reader.next())
        lines.push_back({std::string(reader.bytes()), reader.lineNumber(), reader.offset()});
    return lines;
}

std::vector<Line> linesOf(std::string_view data)
{
    LineReader reader = LineReader::inMemory(data);
    return linesOf(reader);
}

// A file of its own, in a folder removed with it.
class TempFile {
public:
    explicit TempFile(const std::string& content) : path_(dir_.file("score.txt"))
    {
        tolvane::testing::writeBytes(path_, content);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    tolvane::testing::TempDir dir_;
    std::filesystem::path path_;
};

const std::string kReplacement = "\xEF\xBF\xBD";

} // namespace

TEST(TextDecoder, DecodesCodePage932AsTheGameWritesIt)
{
    const TextDecoder cp932;
    for (const char* text : {"桜～さくら～", "ＤＡＮＣＥ　ＭＡＮＩＡＸ", "ｱｸｾﾙ全開", "Step－by－Step", "Back\\slash",
             "Wave~Wave", "♪ハッピー♪", "①Ⅲ㈱"}) {
        EXPECT_EQ(cp932.decode(tolvane::testing::utf8ToCp932(text)), text);
    }
}

TEST(TextDecoder, TurnsBytesItCannotDecodeIntoReplacementCharacters)
{
    const TextDecoder cp932;
    EXPECT_EQ(cp932.decode("a\x80"
                           "b"),
        "a" + kReplacement + "b");
    EXPECT_EQ(cp932.decode("\xA0\xFD\xFF"), kReplacement + kReplacement + kReplacement);
    // A lead byte at the end of the line, or before a byte that cannot trail it.
    EXPECT_EQ(cp932.decode("x\x82"), "x" + kReplacement);
    EXPECT_EQ(cp932.decode("\x81 A"), kReplacement + " A");
    EXPECT_EQ(cp932.decode(std::string("\0z", 2)), std::string("\0z", 2));

    const TextDecoder utf8(TextDecoder::Encoding::Utf8);
    EXPECT_EQ(utf8.decode("桜"), "桜");
    EXPECT_EQ(utf8.decode("\xC3"), kReplacement);
    EXPECT_EQ(utf8.decode("\xC0\xAF"), kReplacement + kReplacement); // overlong
    EXPECT_EQ(utf8.decode("\xED\xA0\x80"), kReplacement + kReplacement + kReplacement); // surrogate
    EXPECT_EQ(utf8.decode("\xE6\xA1"), kReplacement + kReplacement); // cut short
    EXPECT_EQ(utf8.decode("\xF0\x9F\x8E\xB5"), "\xF0\x9F\x8E\xB5");
}

TEST(LineReader, EndsLinesAtCrLfAtCrAloneAndAtLfAlone)
{
    EXPECT_EQ(linesOf("a\r\nb\rc\nd"), (std::vector<Line>{{"a", 1, 3}, {"b", 2, 5}, {"c", 3, 7}, {"d", 4, 8}}));
    // CR CR LF is a line and an empty line; LF CR is two line ends as well.
    EXPECT_EQ(
        linesOf("a\r\r\nb\n\rc"), (std::vector<Line>{{"a", 1, 2}, {"", 2, 4}, {"b", 3, 6}, {"", 4, 7}, {"c", 5, 8}}));
    EXPECT_EQ(linesOf("a\r\n"), (std::vector<Line>{{"a", 1, 3}}));
    EXPECT_EQ(linesOf("\r\n\r\n"), (std::vector<Line>{{"", 1, 2}, {"", 2, 4}}));
    EXPECT_TRUE(linesOf("").empty());
}

TEST(LineReader, AByteOrderMarkMakesTheFileUtf8AndIsNotPartOfTheFirstLine)
{
    LineReader bom = LineReader::inMemory("\xEF\xBB\xBF"
                                          "桜\r\nx");
    EXPECT_EQ(bom.decoder().encoding(), TextDecoder::Encoding::Utf8);
    ASSERT_TRUE(bom.next());
    EXPECT_EQ(bom.decoded(), "桜");
    EXPECT_EQ(bom.offset(), 8u); // the mark's bytes still count in the offset
    EXPECT_EQ(bom.lineNumber(), 1);

    const std::string cp932 = tolvane::testing::utf8ToCp932("桜\r\n");
    LineReader plain = LineReader::inMemory(cp932);
    EXPECT_EQ(plain.decoder().encoding(), TextDecoder::Encoding::Cp932);
    ASSERT_TRUE(plain.next());
    EXPECT_EQ(plain.decoded(), "桜");

    LineReader onlyBom = LineReader::inMemory("\xEF\xBB\xBF");
    EXPECT_TRUE(onlyBom.atEnd());
}

TEST(LineReader, ReadsAFileWhoseLinesCrossTheReadBuffer)
{
    // A line longer than the buffer, then a CR LF split between two reads.
    const std::string longLine(3 * 1024 * 1024 + 5, 'x');
    const std::string firstRead((1 << 20) - 1, 'y');
    const std::string content = longLine + "\r\n" + firstRead + "\r\nz\r\n" + "end";
    TempFile file(content);
    LineReader reader = LineReader::openFile(file.path());
    ASSERT_TRUE(reader.isOpen()) << reader.error();
    EXPECT_EQ(reader.size(), content.size());
    const std::vector<Line> lines = linesOf(reader);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].bytes, longLine);
    EXPECT_EQ(lines[1].bytes, firstRead);
    EXPECT_EQ(lines[2].bytes, "z");
    EXPECT_EQ(lines[3].bytes, "end");
    EXPECT_EQ(lines[3].offset, content.size());
    EXPECT_TRUE(reader.error().empty());

    // The same bytes in memory give the same lines.
    EXPECT_EQ(linesOf(content), lines);
}

TEST(LineReader, SplitsCrLfAtEveryBufferBoundaryTheSameWay)
{
    // CR exactly at the end of the first read, LF at the start of the next.
    const std::string content = std::string((1 << 20) - 1, 'a') + "\r\nb\r";
    TempFile file(content);
    LineReader reader = LineReader::openFile(file.path());
    const std::vector<Line> lines = linesOf(reader);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].offset, (1u << 20) + 1);
    EXPECT_EQ(lines[1].bytes, "b");
}

TEST(LineReader, ReportsWhyAFileCannotBeOpened)
{
    LineReader missing = LineReader::openFile("/nonexistent/score.txt");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(missing.error().empty());

    LineReader directory = LineReader::openFile(std::filesystem::temp_directory_path());
    EXPECT_FALSE(directory.isOpen());
    EXPECT_FALSE(directory.error().empty());
}
