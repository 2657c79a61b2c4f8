#pragma once

#include "core/insights/PlayCalendar.h"

#include <QColor>
#include <QDate>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

namespace tolvane {

// One year of plays as a grid of days: weeks run left to right, Sunday to
// Saturday top to bottom. A cell's colour steps up with the plays that day,
// on a scale set by the year's busiest day and shown in a legend below the
// grid. Hovering a cell shows its date and count; clicking a day emits it.
class CalendarHeatmap final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kLevels = 5; // no plays, then four steps

    explicit CalendarHeatmap(QWidget* parent = nullptr);

    // Shows one year of the calendar (the calendar is copied: the year's days).
    void showYear(const PlayCalendar& calendar, int year);
    int year() const { return year_; }

    // The cell of a date of the shown year; empty for any other date.
    QRect cellRect(QDate date) const;
    // The date under a point; invalid outside the cells.
    QDate dateAt(QPoint point) const;
    std::int32_t playsOn(QDate date) const;
    // What hovering a cell shows: "2004/01/05(月)  12回".
    QString toolTipFor(QDate date) const;
    // The colour step of a count, 0 for none up to kLevels - 1, and the
    // smallest count of each step (as the legend shows them).
    int levelOf(std::int32_t plays) const;
    const std::array<std::int32_t, kLevels>& levelStarts() const { return levelStarts_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void dayClicked(QDate date);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Grid {
        int cell = 0; // cell side, gap included
        QPoint origin; // top left of the first week's Sunday
    };
    Grid grid() const;
    int weekOf(QDate date) const; // column of a date of the shown year
    int minimumCell() const;
    QColor colourOf(int level) const;

    int year_ = 0;
    QDate firstSunday_; // the Sunday on or before 1 January
    std::vector<std::int32_t> plays_; // per day of the year, 0-based
    std::int32_t busiest_ = 0;
    std::array<std::int32_t, kLevels> levelStarts_{};
};

} // namespace tolvane
