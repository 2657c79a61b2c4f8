#include "core/log/LineReader.h"
#include "core/log/TextDecoder.h"
#include "support/LogGenerator.h"
#include "support/LogText.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
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
    explicit TempFile(const std::string& content)
        : path_(dir_.file("score.txt"))
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
    // The longest line allowed, a line across the end of the first read, and a
    // CR LF split between two reads.
    const std::string longest(LineReader::kMaxLineBytes, 'x');
    const std::string across(LineReader::kMaxLineBytes - 10, 'y');
    const std::string beforeSplit(LineReader::kBufferBytes - (longest.size() + across.size() + 4) - 1, 'w');
    const std::string content = longest + "\r\n" + across + "\r\n" + beforeSplit + "\r\nz\r\n" + "end";
    ASSERT_EQ(content[LineReader::kBufferBytes - 1], '\r');
    TempFile file(content);
    LineReader reader = LineReader::openFile(file.path());
    ASSERT_TRUE(reader.isOpen()) << reader.error();
    EXPECT_EQ(reader.size(), content.size());
    const std::vector<Line> lines = linesOf(reader);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].bytes, longest);
    EXPECT_EQ(lines[1].bytes, across);
    EXPECT_EQ(lines[2].bytes, beforeSplit);
    EXPECT_EQ(lines[2].offset, LineReader::kBufferBytes + 1);
    EXPECT_EQ(lines[3].bytes, "z");
    EXPECT_EQ(lines[4].bytes, "end");
    EXPECT_EQ(lines[4].offset, content.size());
    EXPECT_TRUE(reader.error().empty());
    EXPECT_FALSE(reader.lineTooLong());

    // The same bytes in memory give the same lines.
    EXPECT_EQ(linesOf(content), lines);
}

TEST(LineReader, FindsEveryLineEndWhereverItFalls)
{
    // Lines of every length from 0 up, with every kind of line end, among
    // bytes that differ from CR and LF in one bit only. The reader must split
    // them as a byte-by-byte reading would, in memory and from a file.
    std::mt19937 rng(5);
    const std::string fillers = std::string("a\x8D\x8A\x0C\x0B\x0E\x2A\x2D\0\xFF", 10);
    const std::string ends[] = {"\r\n", "\r", "\n", "\n\r", "\r\r", "\n\n"};
    std::string content;
    while (content.size() < LineReader::kBufferBytes + 100000)
        content += std::string(rng() % 70, fillers[rng() % fillers.size()]) + ends[rng() % 6];
    content += "last";

    std::vector<Line> expected;
    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] != '\r' && content[i] != '\n')
            continue;
        const std::size_t after = i + (content.compare(i, 2, "\r\n") == 0 ? 2 : 1);
        expected.push_back({content.substr(start, i - start), static_cast<long>(expected.size() + 1), after});
        start = after;
        i = after - 1;
    }
    expected.push_back({content.substr(start), static_cast<long>(expected.size() + 1), content.size()});

    TempFile file(content);
    LineReader reader = LineReader::openFile(file.path());
    for (const std::vector<Line>& got : {linesOf(content), linesOf(reader)}) {
        ASSERT_EQ(got.size(), expected.size());
        const auto [mismatch, _] = std::mismatch(got.begin(), got.end(), expected.begin());
        EXPECT_EQ(mismatch, got.end()) << "line " << mismatch->number << " of " << mismatch->bytes.size()
                                       << " bytes ends at " << mismatch->offset;
    }
}

TEST(LineReader, StopsAtALineLongerThanAMebibyte)
{
    const std::size_t max = LineReader::kMaxLineBytes;
    for (const std::string_view lineEnd : {"\r\n", "\r", "\n", ""}) {
        SCOPED_TRACE("line end of " + std::to_string(lineEnd.size()) + " bytes");
        // A line of the limit, with or without its line end, is a line.
        const std::string fits = "a\r\n" + std::string(max, 'b') + std::string(lineEnd);
        EXPECT_EQ(linesOf(fits).size(), 2u);
        TempFile fitting(fits + (lineEnd.empty() ? "" : "c"));
        LineReader fittingReader = LineReader::openFile(fitting.path());
        EXPECT_EQ(linesOf(fittingReader).back().number, lineEnd.empty() ? 2 : 3);
        EXPECT_FALSE(fittingReader.lineTooLong());

        // One byte more is not, wherever its line end is.
        const std::string over = "a\r\n" + std::string(max + 1, 'b') + std::string(lineEnd) + "c\r\n";
        TempFile overFile(over);
        LineReader fromFile = LineReader::openFile(overFile.path());
        LineReader inMemory = LineReader::inMemory(over);
        for (LineReader* reader : {&fromFile, &inMemory}) {
            EXPECT_EQ(linesOf(*reader).size(), 1u);
            EXPECT_TRUE(reader->lineTooLong());
            EXPECT_EQ(reader->lineNumber(), 2);
            EXPECT_TRUE(reader->atEnd());
            EXPECT_FALSE(reader->next());
            EXPECT_TRUE(reader->error().empty());
        }
    }
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
