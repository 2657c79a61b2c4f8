#pragma once

#include "core/analysis/PeriodView.h"

#include <QWidget>

class QFormLayout;
class QLabel;
class QSpinBox;
class QTableView;

namespace tolvane {

class SessionTableModel;
class StableSortProxy;

// The sessions page: the streak figures, the session gap, and the sessions
// in a sortable table (newest first until the user sorts).
class SessionsPage final : public QWidget {
    Q_OBJECT

public:
    explicit SessionsPage(QWidget* parent = nullptr);

    // The figures and sessions of the rows shown (all, or a view period's).
    void setFigures(const HabitFigures& figures);
    void clear();

    int gapMinutes() const;
    // Sets the gap shown without announcing it (e.g. from the settings).
    void setGapMinutes(int minutes);

    SessionTableModel* model() const { return model_; }
    QTableView* table() const { return table_; }
    QSpinBox* gapEditor() const { return gap_; }
    // The figure labels, by objectName: currentStreak, longestStreak,
    // busiestDay, longestSession, totalTime, daysPlayed.
    QString figureText(const QString& name) const;

signals:
    // The user changed the gap: the sessions must be split again.
    void gapChanged(int minutes);

private:
    QLabel* addFigure(QFormLayout* form, const QString& caption, const QString& name);

    SessionTableModel* model_;
    StableSortProxy* sorted_;
    QSpinBox* gap_ = nullptr;
    QTableView* table_ = nullptr;
};

} // namespace tolvane
