#pragma once

#include "core/insights/SongView.h"

#include <QAbstractTableModel>

#include <vector>

namespace tolvane {

// Every attempt at one song, one row each, in attempt order. SortRole
// (ItemRoles.h) gives raw numbers, dates as date values.
class SongAttemptsModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Attempt,
        DateTime,
        Score,
        MaxCombo,
        TotalNotes,
        Great,
        Good,
        Bad,
        Poor,
        Autoplay,
        AutoScratch,
        Marks,
        ColumnCount
    };

    explicit SongAttemptsModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setAttempts(std::vector<SongAttempt> attempts);

    // The marks as shown: "S" new best score, "C" new best combo, "FC" full combo.
    static QString marksText(const SongAttempt& attempt);
    static QString marksLegend();

private:
    std::vector<SongAttempt> attempts_;
};

// "2001/11/21 15:41:00"
QString dateTimeText(DateValue value);
// A number as the data list shows it ("500", "7.5").
QString numberCellText(double value);

} // namespace tolvane
