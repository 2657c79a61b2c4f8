#include "gui/sessions/SessionTableModel.h"

#include "core/insights/PlayRows.h"

namespace tolvane {

SessionTableModel::SessionTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void SessionTableModel::setSessions(std::vector<PlaySession> sessions)
{
    beginResetModel();
    sessions_ = std::move(sessions);
    endResetModel();
}

int SessionTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(sessions_.size());
}

int SessionTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SessionTableModel::lengthText(std::int64_t minutes)
{
    if (minutes < 60)
        return QString::number(minutes) + QStringLiteral("分");
    return QString::number(minutes / 60) + QStringLiteral("時間") + QString::number(minutes % 60)
        + QStringLiteral("分");
}

QString SessionTableModel::timeText(std::int64_t seconds)
{
    // The ISO form with the log's own separators.
    QString text = QString::fromStdString(isoDateTime(seconds));
    text.replace(QLatin1Char('T'), QLatin1Char(' '));
    text.replace(QLatin1Char('-'), QLatin1Char('/'));
    return text;
}

QVariant SessionTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const PlaySession& s = sessions_[static_cast<std::size_t>(index.row())];
    if (role == SortRole) {
        switch (index.column()) {
        case Start: return QVariant::fromValue<qint64>(s.start);
        case Length: return QVariant::fromValue<qint64>(s.end - s.start); // exact, for ties in whole minutes
        case Plays: return s.plays;
        case Songs: return s.songs;
        case NewBests: return s.newBests;
        default: return {};
        }
    }
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Start: return timeText(s.start);
        case Length: return lengthText(s.minutes);
        case Plays: return s.plays;
        case Songs: return s.songs;
        case NewBests: return s.newBests;
        default: return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() != Start)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant SessionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Start: return QStringLiteral("開始");
    case Length: return QStringLiteral("長さ");
    case Plays: return QStringLiteral("プレイ回数");
    case Songs: return QStringLiteral("曲数");
    case NewBests: return QStringLiteral("自己ベスト更新");
    default: return {};
    }
}

} // namespace tolvane
