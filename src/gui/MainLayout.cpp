#include "gui/MainLayout.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

MainLayout MainLayout::designed()
{
    MainLayout l;
    l.toolBar = {0, 0, 9510, 420};
    l.tabStrip1 = {0, 480, 9135, 4695};
    l.frame1[1] = {45, 840, 4455, 2895};
    l.listView1 = {60, 120, 2895, 1215};
    l.frame1[2] = {45, 840, 8415, 1575};
    l.combo1 = {105, 105, 1335, 300};
    l.listView2 = {50, 480, 3735, 975};
    l.frame1[3] = {40, 840, 8235, 3990};
    l.tabStrip2 = {15, 15, 8190, 3765};
    l.frame2[1] = {30, 315, 8055, 3210};
    for (int i = 2; i <= 6; ++i)
        l.frame2[static_cast<std::size_t>(i)] = {30, 300, 5535, 2415};
    l.msChart[1] = {120, 105, 0, 0};
    for (int i = 2; i <= 6; ++i)
        l.msChart[static_cast<std::size_t>(i)] = {120, 120, 0, 0};
    l.frame3 = {6510, -30, 1500, 3060};
    l.statusBar = {0, 5340, 9510, 270};
    return l;
}

MainLayout MainLayout::forWindow(double width, double height)
{
    // Each size follows the ones set before it; a window too small for the
    // design gives zero, never a negative size.
    auto size = [](double v) { return std::max(0.0, v); };
    MainLayout l = designed();
    l.tabStrip1.width = size(width - 130);
    l.tabStrip1.height = size(height - l.statusBar.height - l.tabStrip1.top - 670);
    l.tabStrip2.width = size(l.tabStrip1.width - 100);
    l.tabStrip2.height = size(l.tabStrip1.height - 500);
    for (int i = 1; i <= 3; ++i) {
        TwipRect& f = l.frame1[static_cast<std::size_t>(i)];
        f.width = size(l.tabStrip1.width - 100);
        f.height = size(l.tabStrip1.height - 500);
    }
    for (int i = 1; i <= 6; ++i) {
        TwipRect& f = l.frame2[static_cast<std::size_t>(i)];
        TwipRect& c = l.msChart[static_cast<std::size_t>(i)];
        f.width = size(l.tabStrip2.width - 10);
        f.height = size(l.tabStrip2.height - 400);
        c.width = size(f.width - 240);
        c.height = size(f.height - 200);
    }
    // Chart 1 leaves room for the navigation panel at its right.
    l.msChart[1].width = size(l.frame2[1].width - l.frame3.width);
    l.frame3.height = l.frame2[1].height;
    l.frame3.left = l.tabStrip2.width - l.frame3.width - 10;
    l.listView1.width = size(l.frame1[1].width - 90);
    l.listView1.height = size(l.frame1[1].height - 130);
    l.listView2.width = l.listView1.width;
    l.listView2.height = size(l.listView1.height - l.combo1.height);
    l.toolBar.width = width;
    l.statusBar.width = width;
    return l;
}

int twipsToPixels(double twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double pixelsToTwips(int pixels, double dpi)
{
    return pixels * 1440.0 / dpi;
}

} // namespace tolvane
