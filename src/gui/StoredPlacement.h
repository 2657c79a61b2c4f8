#pragma once

#include "core/settings/SettingsFile.h"

class QMainWindow;
class QTableView;

namespace tolvane {

// The one place where the window's placement meets the twips (1/1440 inch)
// the settings file stores. The stored width and height are those of the
// whole window, frame, caption and menu bar included, as a desktop window of
// the original design counted them; the stored left and top are the frame's.
// A value that the user left alone is written back exactly as it was read,
// so the file does not drift by a rounding from run to run.
class StoredPlacement final {
public:
    // Twips to pixels and back at a screen's logical resolution (96 dpi: 15 twips a pixel).
    static int toPixels(double twips, double dpi);
    static double toTwips(int pixels, double dpi);

    // Places the window and sizes the list's columns as stored, and keeps
    // the values for capture(). Maximises the window for a stored state of 2.
    void restore(QMainWindow& window, QTableView& list, const WindowSettings& stored);
    // The placement and column widths to store for the window as it is now.
    // WindowState is the one restore() read: the state to store is decided
    // by the caller from the window's state at closing.
    WindowSettings capture(const QMainWindow& window, const QTableView& list) const;

    // The window's outer size in twips, and a resize to one.
    static double outerWidth(const QMainWindow& window);
    static double outerHeight(const QMainWindow& window);
    static void resizeToOuter(QMainWindow& window, double width, double height);

    // The list's first ten column widths in twips, and a resize to them. A
    // stored width that is no sensible pixel width (not a number, 0, less
    // than the header lets a column shrink to, wider than kMaxColumnPixels)
    // gives the column its default width instead, so no column is lost.
    using ColumnWidths = decltype(WindowSettings::columnWidths);
    static ColumnWidths columnWidths(const QTableView& list);
    static void setColumnWidths(QTableView& list, const ColumnWidths& twips);

    static constexpr int kMaxColumnPixels = 10000;
    static constexpr double kDefaultColumnTwips = WindowSettings{}.columnWidths[0];
    // least: the narrowest width in pixels a column may have.
    static bool isSensibleWidth(double twips, double dpi, int least);

    const WindowSettings& restored() const { return restored_; }

private:
    WindowSettings restored_;
};

} // namespace tolvane
