#pragma once

#include <array>

namespace tolvane {

// A control's place in its container, in twips (1/1440 inch).
struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

// Where the main window's controls go for a window of a given outer size.
// Lefts and tops keep their designed values but for the navigation panel's,
// which follows the right edge; no size goes below zero.
struct MainLayout {
    TwipRect toolBar;
    TwipRect statusBar;
    TwipRect tabStrip1;
    std::array<TwipRect, 4> frame1; // index 1..3
    TwipRect listView1;
    TwipRect combo1;
    TwipRect listView2;
    TwipRect tabStrip2;
    std::array<TwipRect, 7> frame2;  // index 1..6
    std::array<TwipRect, 7> msChart; // index 1..6
    TwipRect frame3;

    // The designed layout, for the window's designed client size of 9510 x 5610.
    static MainLayout designed();
    // The layout for a window whose outer size is width x height twips.
    static MainLayout forWindow(double width, double height);
};

// Twips to pixels and back at a screen's logical resolution (96 dpi: 15 twips a pixel).
int twipsToPixels(double twips, double dpi);
double pixelsToTwips(int pixels, double dpi);

} // namespace tolvane
