#pragma once

#include "core/insights/PlayCalendar.h"

#include <QDate>
#include <QWidget>

class QComboBox;
class QLabel;

namespace tolvane {

class CalendarHeatmap;

// The calendar page: a year chooser and the year's totals over the heatmap.
class CalendarPage final : public QWidget {
    Q_OBJECT

public:
    explicit CalendarPage(QWidget* parent = nullptr);

    // A new calendar (a new analysis or view period): every year from the
    // first to the last play can be chosen, and the last play's year shows.
    void setCalendar(PlayCalendar calendar);
    // Shows a year, if the calendar has it.
    void showYear(int year);

    CalendarHeatmap* heatmap() const { return heatmap_; }
    QComboBox* yearChooser() const { return years_; }

signals:
    // A day's cell was clicked: show that day's plays.
    void dayChosen(QDate date);

private:
    void showChosenYear();

    PlayCalendar calendar_;
    QComboBox* years_ = nullptr;
    QLabel* summary_ = nullptr;
    CalendarHeatmap* heatmap_ = nullptr;
};

} // namespace tolvane
