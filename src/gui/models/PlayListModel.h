#pragma once

#include <QAbstractTableModel>

namespace tolvane {

class PlayList;

// The data list's rows, read straight from the PlayList when the view asks,
// so a log of half a million plays costs no copy. Rows the run appends stay
// hidden until syncRows() announces them. Besides the display text it gives
// the raw values under SortRole and the song under SongKeyRole (ItemRoles.h).
class PlayListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { No, DateTime, Title, Artist, Genre, Level, Bpm, TotalNotes, Score, MaxCombo, ColumnCount };

    explicit PlayListModel(const PlayList& plays, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Call after the PlayList has been cleared.
    void reset();
    // Announces the rows appended since the last call.
    void syncRows();
    // Rows appended since the last syncRows(), not yet announced.
    int pendingRows() const { return availableRows() - shownRows_; }

private:
    int availableRows() const;

    const PlayList& plays_;
    int shownRows_ = 0; // the rows the views have been told about
};

} // namespace tolvane
