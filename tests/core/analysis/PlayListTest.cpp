#include "core/analysis/PlayList.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvane {
namespace {

TEST(PlayList, KeepsRowsAndTheirTextsAcrossBlocksUntilCleared)
{
    PlayList plays;
    TextPool& texts = *plays.texts();
    const int n = 40000; // three blocks of rows
    for (int i = 1; i <= n; ++i) {
        PlayRecord p;
        p.no = i;
        p.title = texts.intern("曲" + std::to_string(i % 7));
        p.dateTime = texts.keep(std::to_string(i));
        plays.append(std::move(p));
    }
    ASSERT_EQ(plays.size(), static_cast<std::size_t>(n));
    for (int i = 1; i <= n; i += 331) {
        const PlayRecord& p = plays.row(static_cast<std::size_t>(i - 1));
        EXPECT_EQ(p.no, i);
        EXPECT_EQ(p.title, "曲" + std::to_string(i % 7));
        EXPECT_EQ(plays.cell(static_cast<std::size_t>(i - 1), 1), std::to_string(i));
    }
    plays.clear();
    EXPECT_TRUE(plays.empty());
    EXPECT_EQ(plays.textPool(), nullptr);
}

} // namespace
} // namespace tolvane
