#include "core/rankings/KeyFold.h"

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

    // Small letters, kana, width, and letters of one script and another stay apart.
    for (char32_t c = 0x20; c < 0x10000; ++c) {
        const bool capital = (c >= U'A' && c <= U'Z') || (c >= U'Ａ' && c <= U'Ｚ')
            || (c >= U'Α' && c <= U'Ω' && c != 0x03A2) || (c >= U'А' && c <= U'Я') || c == U'Ё' || c == U'ς';
        if (!capital && !(c >= 0xD800 && c < 0xE000)) {
            ASSERT_EQ(foldLetterCase(utf8(c)), utf8(c)) << std::hex << static_cast<unsigned>(c);
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
        0xA1, 0xA3, 0xA9, 0xAF, 0xBA, 0xB1, 0x80};
    std::mt19937 rng(16);
    for (int round = 0; round < 20000; ++round) {
        std::string s(rng() % 12, '\0');
        for (char& c : s)
            c = static_cast<char>(pool[rng() % sizeof pool]);
        const std::string folded = foldLetterCase(s);
        ASSERT_EQ(folded.size(), s.size());
        ASSERT_TRUE(sameKey(s, folded));
        ASSERT_EQ(hashKey(s), hashKey(folded));
        ASSERT_EQ(foldLetterCase(folded), folded);
    }
}

} // namespace
} // namespace tolvane
