#pragma once

#include "core/rankings/RankingView.h"

#include <QAbstractTableModel>

namespace tolvane {

// The ranking list's headers and cell texts, held as the core built them,
// with each cell's raw value under SortRole and the row's song under
// SongKeyRole (ItemRoles.h).
class RankingModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit RankingModel(RankingView view = initialRankingView(), QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Replaces columns and rows; a view's column widths must be set again.
    void setView(RankingView view);
    // Drops the rows only, so the view keeps its columns and their widths.
    void clearRows();

    const RankingView& view() const { return view_; }

private:
    RankingView view_;
};

} // namespace tolvane
