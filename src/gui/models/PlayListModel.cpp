#include "gui/models/PlayListModel.h"

#include "core/analysis/PlayList.h"
#include "gui/models/ItemRoles.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace tolvane {

static_assert(PlayListModel::ColumnCount == PlayList::kColumns);

namespace {

// As an int, which every delegate of Qt 6 reads.
QVariant leftAligned()
{
    return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace

PlayListModel::PlayListModel(const PlayList& plays, QObject* parent)
    : QAbstractTableModel(parent)
    , plays_(plays)
    , shownRows_(availableRows())
{
}

int PlayListModel::availableRows() const
{
    // A view counts rows in an int.
    return static_cast<int>(std::min<std::size_t>(plays_.size(), INT_MAX));
}

int PlayListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

int PlayListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PlayListModel::data(const QModelIndex& index, int role) const
{
    // The owner clears the PlayList before it calls reset(); a repaint in
    // between must not read past its end.
    if (!index.isValid() || index.row() >= shownRows_ || static_cast<std::size_t>(index.row()) >= plays_.size())
        return {};
    const auto row = static_cast<std::size_t>(index.row());

    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(plays_.cell(row, index.column()));
    case Qt::TextAlignmentRole: return leftAligned();
    case SongKeyRole: return QString::fromStdString(plays_.row(row).title);
    case SortRole: {
        // Raw numbers, so a sorting proxy orders 10 after 9.
        const PlayRecord& play = plays_.row(row);
        switch (index.column()) {
        case No: return static_cast<double>(play.no);
        case DateTime: return static_cast<double>(play.date);
        case Level: return play.level;
        case Bpm: return play.bpm;
        case TotalNotes: return play.totalNotes;
        case Score: return static_cast<double>(play.score);
        case MaxCombo: return play.maxCombo;
        default: return QString::fromStdString(plays_.cell(row, index.column()));
        }
    }
    default: return {};
    }
}

QVariant PlayListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        const std::string_view header = PlayList::kHeaders[static_cast<std::size_t>(section)];
        return QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size()));
    }
    if (role == Qt::TextAlignmentRole)
        return leftAligned();
    return {};
}

Qt::ItemFlags PlayListModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    return index.isValid() ? base | Qt::ItemNeverHasChildren : base;
}

void PlayListModel::reset()
{
    beginResetModel();
    shownRows_ = availableRows();
    endResetModel();
}

void PlayListModel::syncRows()
{
    const int available = availableRows();
    if (available < shownRows_) {
        // Cleared without reset(): the rows the views hold are gone.
        reset();
        return;
    }
    if (available == shownRows_)
        return;
    beginInsertRows({}, shownRows_, available - 1);
    shownRows_ = available;
    endInsertRows();
}

} // namespace tolvane
