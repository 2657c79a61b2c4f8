#include "core/rankings/KeyFold.h"

#include "core/log/TextDecoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>

namespace tolvane {
namespace {

std::string utf8(char32_t c)
{
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

void expectOneKey(const std::string& a, const std::string& b)
{
    EXPECT_TRUE(sameKey(a, b)) << a << " / " << b;
    EXPECT_EQ(hashKey(a), hashKey(b)) << a << " / " << b;
}

TEST(KeyFold, GreekAndCyrillicTitlesInEitherCaseAreOneSong)
{
    std::unordered_map<std::string, int, KeyFoldHash, KeyFoldEqual> plays;
    for (const char* title : {"ΣΟΦΙΑ", "σοφια", "Σοφια", "ЖАРА", "жара", "ЁЛКА", "ёлка", "ΟΔΥΣΣΕΥΣ", "οδυσσευς",
             "Ｗａｖｅ ΣΟΦΙΑ", "ＷＡＶＥ σοφια"})
        ++plays[title];
    EXPECT_EQ(plays.size(), 5u);
    EXPECT_EQ(plays.at("ΣΟΦΙΑ"), 3);
    EXPECT_EQ(plays.at("ЖАРА"), 2);
    EXPECT_EQ(plays.at("Ёлка"), 2);
    EXPECT_EQ(plays.at("Οδυσσευσ"), 2); // the final sigma is a sigma
    EXPECT_EQ(plays.at("ｗａｖｅ Σοφια"), 2);
    EXPECT_EQ(foldLetterCase("ЁЖ ΣΟΦΙΑΣ Ａz"), "ёж σοφιασ ａz");
}

TEST(KeyFold, EveryCapitalOfCodePage932FoldsToItsSmallLetterAndNothingElseMoves)
{
    const auto expectFolds = [](char32_t capital, char32_t small) {
        EXPECT_EQ(foldLetterCase(utf8(capital)), utf8(small)) << std::hex << static_cast<unsigned>(capital);
        expectOneKey(utf8(capital), utf8(small));
    };
    for (char32_t c = U'A'; c <= U'Z'; ++c)
        expectFolds(c, c + 0x20);
    for (char32_t c = U'Ａ'; c <= U'Ｚ'; ++c)
        expectFolds(c, c + 0x20);
    for (char32_t c = U'Α'; c <= U'Ω'; ++c)
        if (c != 0x03A2)
            expectFolds(c, c + 0x20);
    for (char32_t c = U'А'; c <= U'Я'; ++c)
        expectFolds(c, c + 0x20);
    expectFolds(U'Ё', U'ё');
    expectFolds(U'ς', U'σ');

    expectFolds(U'Ⅰ', U'ⅰ');
    expectFolds(U'Ⅹ', U'ⅹ');
    expectFolds(U'\u212B', U'å'); // the angstrom sign: three bytes fold to two

    // Of everything code page 932 holds, only those letters fold.
    const TextDecoder cp932(TextDecoder::Encoding::Cp932);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead < 0xE0)
            continue; // half-width katakana, one byte each
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string c = cp932.decode(std::string{static_cast<char>(lead), static_cast<char>(trail)});
            if (c.find("\uFFFD") != std::string::npos || static_cast<unsigned char>(c[0]) < 0x80)
                continue; // no character there
            const std::string folded = foldLetterCase(c);
            const bool capital = folded != c;
            const bool listed = c.size() == 3 && ((c >= "Ａ" && c <= "Ｚ") || (c >= "Ⅰ" && c <= "Ⅹ") || c == "\u212B");
            const bool pair = c.size() == 2 && ((c >= "Α" && c <= "Ω") || (c >= "А" && c <= "Я") || c == "Ё");
            EXPECT_EQ(capital, listed || pair) << c;
        }
    }
    for (const auto& [a, b] : {std::pair{"Π", "Р"}, {"ア", "あ"}, {"ｱ", "ア"}, {"Ｐ", "Р"}, {"Ω", "Я"}})
        EXPECT_FALSE(sameKey(a, b)) << a << " / " << b;
}

TEST(KeyFold, ATextAndItsFoldAreOneKeyWhateverItsBytes)
{
    // Bytes drawn from those that make up the folded letters, so broken and
    // overlapping sequences come up often.
    const unsigned char pool[] = {'A', 'a', 'Z', 0xCE, 0xCF, 0xD0, 0xD1, 0xEF, 0xBC, 0xBD, 0x81, 0x82, 0x91, 0x9F, 0xA0,
        0xA1, 0xA3, 0xA9, 0xAF, 0xBA, 0xB1, 0x80, 0xC3, 0x89, 0xE2, 0x84, 0x85, 0xAB, 0xAA};
    std::mt19937 rng(16);
    for (int round = 0; round < 20000; ++round) {
        std::string s(rng() % 12, '\0');
        for (char& c : s)
            c = static_cast<char>(pool[rng() % sizeof pool]);
        const std::string folded = foldLetterCase(s);
        ASSERT_TRUE(sameKey(s, folded));
        ASSERT_EQ(hashKey(s), hashKey(folded));
        ASSERT_EQ(foldLetterCase(folded), folded);
    }
}

TEST(KeyFold, AnyLetterOfAUtf8LogFoldsHoweverManyBytesItTakes)
{
    for (const auto& [a, b] : {std::pair{"Ñandú Dance", "ñandú dance"}, {"Électro", "électro"}, {"CAFÉ", "café"},
             {"ŁÓDŹ", "łódź"}, {"ÆON Ⅳ", "æon ⅳ"}, {"\u212Aelvin", "kelvin"}, {"\u212Bngstr\u00F6m", "ångström"}}) {
        expectOneKey(a, b);
        EXPECT_EQ(foldLetterCase(a), foldLetterCase(b));
    }
    EXPECT_EQ(foldLetterCase("CAFÉ Ñ"), "café ñ");
    // Simple folding only: ß stays, and marks still count.
    for (const auto& [a, b] : {std::pair{"STRASSE", "straße"}, {"CAFE", "café"}, {"Ｃａｆé", "café"}})
        EXPECT_FALSE(sameKey(a, b)) << a << " / " << b;
}

} // namespace
} // namespace tolvane
