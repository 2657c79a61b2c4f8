#include "gui/MainLayout.h"

#include <gtest/gtest.h>

using tolvane::MainLayout;

TEST(MainLayout, FollowsTheWindowsSize)
{
    const MainLayout l = MainLayout::forWindow(12000, 8000);
    EXPECT_EQ(l.tabStrip1.width, 11870);
    EXPECT_EQ(l.tabStrip1.height, 8000 - 270 - 480 - 670);
    EXPECT_EQ(l.frame1[1].width, 11770);
    EXPECT_EQ(l.listView1.width, 11680);
    EXPECT_EQ(l.listView1.height, l.frame1[1].height - 130);
    EXPECT_EQ(l.listView2.width, 11680);
    EXPECT_EQ(l.listView2.height, l.listView1.height - 300);
    EXPECT_EQ(l.tabStrip2.width, 11770);
    EXPECT_EQ(l.frame2[4].width, 11760);
    EXPECT_EQ(l.msChart[4].width, 11520);
    // Chart 1 leaves room for the navigation panel, whose right edge meets the frame's.
    EXPECT_EQ(l.msChart[1].width, 11760 - 1500);
    EXPECT_EQ(l.frame3.left, 11770 - 1500 - 10);
    EXPECT_EQ(l.frame3.height, l.frame2[1].height);
    // Lefts and tops stay where they were designed.
    EXPECT_EQ(l.listView1.left, 60);
    EXPECT_EQ(l.frame2[1].top, 315);
}

TEST(MainLayout, NoSizeGoesBelowZero)
{
    for (const auto& [w, h] : {std::pair{1740.0, 2520.0}, std::pair{100.0, 100.0}, std::pair{0.0, 0.0}}) {
        const MainLayout l = MainLayout::forWindow(w, h);
        for (const tolvane::TwipRect* r : {&l.tabStrip1, &l.tabStrip2, &l.listView1, &l.listView2, &l.frame1[2],
                                           &l.frame2[1], &l.msChart[1], &l.msChart[6], &l.frame3}) {
            EXPECT_GE(r->width, 0) << w;
            EXPECT_GE(r->height, 0) << h;
        }
    }
}

TEST(MainLayout, TwipsArePixelsAtTheScreensResolution)
{
    EXPECT_EQ(tolvane::twipsToPixels(1500, 96), 100);
    EXPECT_EQ(tolvane::twipsToPixels(2000, 96), 133);
    EXPECT_EQ(tolvane::twipsToPixels(1500, 192), 200);
    EXPECT_EQ(tolvane::pixelsToTwips(100, 96), 1500);
}
