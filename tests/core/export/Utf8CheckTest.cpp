#include "core/export/Utf8Check.h"

#include "core/export/CsvText.h"
#include "core/log/TextDecoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tolvane {
namespace {

// A text is well-formed exactly when the decoder gives it back unchanged:
// checked on random texts made of the bytes where the rules have edges.
TEST(Utf8Check, AgreesWithTheDecoder)
{
    const TextDecoder utf8(TextDecoder::Encoding::Utf8);
    const unsigned char edges[] = {0x00, 'a', 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0,
        0xE1, 0xE3, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF3, 0xF4, 0xF5, 0xFF};
    std::mt19937 random(15);
    for (int n = 0; n < 50000; ++n) {
        std::string text(random() % 14, '\0');
        for (char& c : text)
            c = static_cast<char>(edges[random() % std::size(edges)]);
        // Sometimes a run of ASCII first, so the checks eight bytes at a time run too.
        if (n % 3 == 0)
            text.insert(0, random() % 17, 'x');
        const bool same = utf8.decode(text) == text;
        ASSERT_EQ(isWellFormedUtf8(text), same) << testing::PrintToString(text);
        // A CSV field holds the decoded text either way.
        if (!same) {
            ASSERT_EQ(csvField(text), csvField(utf8.decode(text)));
        }
    }
}

} // namespace
} // namespace tolvane
