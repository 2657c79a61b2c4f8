#pragma once

#include "core/review/Records.h"

#include <QAbstractTableModel>

#include <vector>

namespace tolvane {

// The records as a table: date, song, attempt, score and combo with their
// gains over the bests before, and the marks. Display texts under
// Qt::DisplayRole, raw values under SortRole, the title under SongKeyRole.
class RecordsModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { At, Song, Attempt, Score, Combo, Marks, ColumnCount };

    explicit RecordsModel(QObject* parent = nullptr);

    void setRecords(std::vector<RecordRow> rows);
    const RecordRow& record(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // "185,000 (+3,200)": a value with its gain over the best before.
    static QString withGain(double value, const std::optional<double>& before);
    // The marks as the page names them.
    static QString marksText(const RecordRow& record);

private:
    std::vector<RecordRow> rows_;
};

} // namespace tolvane
