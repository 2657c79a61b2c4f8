#include "gui/models/RankingModel.h"

#include "gui/models/ItemRoles.h"

#include <cstddef>
#include <utility>

namespace tolvane {

namespace {

QVariant leftAligned()
{
    return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
}

QString qText(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

RankingModel::RankingModel(RankingView view, QObject* parent)
    : QAbstractTableModel(parent)
    , view_(std::move(view))
{
}

int RankingModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(view_.rows.size());
}

int RankingModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(view_.columns.size());
}

QVariant RankingModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
    case Qt::TextAlignmentRole: return leftAligned();
    case Qt::DisplayRole: {
        const auto& cells = view_.rows[row];
        return column < cells.size() ? qText(cells[column]) : QString();
    }
    case SortRole: {
        if (row >= view_.values.size() || column >= view_.values[row].size())
            return {};
        const RankingValue& value = view_.values[row][column];
        if (const double* number = std::get_if<double>(&value))
            return *number;
        return qText(std::get<std::string>(value));
    }
    case SongKeyRole:
        if (!view_.keysAreSongs || row >= view_.keys.size())
            return {};
        return qText(view_.keys[row]);
    default: return {};
    }
}

QVariant RankingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return qText(view_.columns[static_cast<std::size_t>(section)].header);
    if (role == Qt::TextAlignmentRole)
        return leftAligned();
    return {};
}

Qt::ItemFlags RankingModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    return index.isValid() ? base | Qt::ItemNeverHasChildren : base;
}

void RankingModel::setView(RankingView view)
{
    beginResetModel();
    view_ = std::move(view);
    endResetModel();
}

void RankingModel::clearRows()
{
    if (view_.rows.empty())
        return;
    beginRemoveRows({}, 0, rowCount() - 1);
    view_.rows.clear();
    view_.values.clear();
    view_.keys.clear();
    endRemoveRows();
}

} // namespace tolvane
