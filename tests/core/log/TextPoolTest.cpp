#include "core/log/TextPool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane {
namespace {

TEST(TextPool, InternsEqualTextsOnceAndKeepsEveryViewValidAsItGrows)
{
    TextPool pool;
    const std::string_view first = pool.intern(std::string("夜の夢"));
    EXPECT_EQ(first, "夜の夢");
    EXPECT_EQ(pool.intern("夜の夢").data(), first.data());
    EXPECT_NE(pool.keep("夜の夢").data(), first.data());
    EXPECT_TRUE(pool.intern("").empty());

    // Fill several blocks, with a text larger than a quarter block among them.
    const std::string large(kLargeBlockBytes / 2, 'x');
    const std::string_view largeView = pool.keep(large);
    std::vector<std::string_view> kept;
    for (int i = 0; i < 300000; ++i)
        kept.push_back(pool.keep("2001/12/17 23:45:" + std::to_string(i)));
    EXPECT_EQ(first, "夜の夢");
    EXPECT_EQ(largeView, large);
    for (int i = 0; i < 300000; i += 977)
        EXPECT_EQ(kept[static_cast<std::size_t>(i)], "2001/12/17 23:45:" + std::to_string(i));
    EXPECT_GE(pool.bytes(), large.size() + 300000 * 18);
}

} // namespace
} // namespace tolvane
