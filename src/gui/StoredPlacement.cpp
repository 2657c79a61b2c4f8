#include "gui/StoredPlacement.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableView>

#include <cmath>

namespace tolvane {

namespace {

// What a desktop window of the original design adds around its client area:
// the frame on both sides, and the caption with the frame and menu bar.
constexpr double kFrameWidthTwips = 120;
constexpr double kCaptionAndMenuTwips = 690;

double dpiOf(const QWidget& widget)
{
    return widget.logicalDpiX() > 0 ? widget.logicalDpiX() : 96.0;
}

int menuHeight(const QMainWindow& window)
{
    return window.menuBar()->sizeHint().height();
}

} // namespace

int StoredPlacement::toPixels(double twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double StoredPlacement::toTwips(int pixels, double dpi)
{
    return pixels * 1440.0 / dpi;
}

double StoredPlacement::outerWidth(const QMainWindow& window)
{
    return toTwips(window.width(), dpiOf(window)) + kFrameWidthTwips;
}

double StoredPlacement::outerHeight(const QMainWindow& window)
{
    return toTwips(window.height() - menuHeight(window), dpiOf(window)) + kCaptionAndMenuTwips;
}

void StoredPlacement::resizeToOuter(QMainWindow& window, double width, double height)
{
    const double dpi = dpiOf(window);
    window.resize(
        toPixels(width - kFrameWidthTwips, dpi), toPixels(height - kCaptionAndMenuTwips, dpi) + menuHeight(window));
}

StoredPlacement::ColumnWidths StoredPlacement::columnWidths(const QTableView& list)
{
    ColumnWidths widths{};
    for (std::size_t c = 0; c < widths.size(); ++c)
        widths[c] = toTwips(list.columnWidth(static_cast<int>(c)), dpiOf(list));
    return widths;
}

bool StoredPlacement::isSensibleWidth(double twips, double dpi, int least)
{
    if (!std::isfinite(twips) || twips <= 0 || twips > kMaxColumnPixels * 1440.0 / dpi)
        return false;
    const int pixels = toPixels(twips, dpi);
    return pixels >= least && pixels <= kMaxColumnPixels;
}

void StoredPlacement::setColumnWidths(QTableView& list, const ColumnWidths& twips)
{
    const double dpi = dpiOf(list);
    const int least = list.horizontalHeader()->minimumSectionSize();
    for (std::size_t c = 0; c < twips.size(); ++c) {
        const double width = isSensibleWidth(twips[c], dpi, least) ? twips[c] : kDefaultColumnTwips;
        list.setColumnWidth(static_cast<int>(c), toPixels(width, dpi));
    }
}

void StoredPlacement::restore(QMainWindow& window, QTableView& list, const WindowSettings& stored)
{
    restored_ = stored;
    const double dpi = dpiOf(window);
    window.move(toPixels(stored.MainLeft, dpi), toPixels(stored.MainTop, dpi));
    resizeToOuter(window, stored.MainWidth, stored.MainHeight);
    setColumnWidths(list, stored.columnWidths);
    // A width that came back as the default is written back as the default.
    const double listDpi = dpiOf(list);
    const int least = list.horizontalHeader()->minimumSectionSize();
    for (double& width : restored_.columnWidths) {
        if (!isSensibleWidth(width, listDpi, least))
            width = kDefaultColumnTwips;
    }
    if (stored.WindowState == 2)
        window.setWindowState(Qt::WindowMaximized);
}

WindowSettings StoredPlacement::capture(const QMainWindow& window, const QTableView& list) const
{
    // Twips come back from whole pixels: a value within a pixel of the one
    // read is the one read.
    const double pixel = toTwips(1, dpiOf(window));
    auto unlessMoved = [pixel](double now, double read) { return std::abs(now - read) < pixel ? read : now; };
    const double dpi = dpiOf(window);
    WindowSettings s = restored_;
    s.MainLeft = unlessMoved(toTwips(window.x(), dpi), restored_.MainLeft);
    s.MainTop = unlessMoved(toTwips(window.y(), dpi), restored_.MainTop);
    s.MainWidth = unlessMoved(outerWidth(window), restored_.MainWidth);
    s.MainHeight = unlessMoved(outerHeight(window), restored_.MainHeight);
    const ColumnWidths widths = columnWidths(list);
    for (std::size_t c = 0; c < widths.size(); ++c)
        s.columnWidths[c] = unlessMoved(widths[c], restored_.columnWidths[c]);
    return s;
}

} // namespace tolvane
