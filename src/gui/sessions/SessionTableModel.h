#pragma once

#include "core/insights/Sessions.h"

#include <QAbstractTableModel>

#include <vector>

namespace tolvane {

// The sessions as a table: start, length, plays, distinct songs and new best
// scores. Display texts under Qt::DisplayRole, raw numbers under SortRole.
class SessionTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Start, Length, Plays, Songs, NewBests, ColumnCount };
    static constexpr int SortRole = Qt::UserRole;

    explicit SessionTableModel(QObject* parent = nullptr);

    void setSessions(std::vector<PlaySession> sessions);
    const PlaySession& session(int row) const { return sessions_.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // "1時間35分", "12分": a length in minutes as the page shows it.
    static QString lengthText(std::int64_t minutes);
    // "2004/01/05 21:03:00": a time in seconds since 1899/12/30.
    static QString timeText(std::int64_t seconds);

private:
    std::vector<PlaySession> sessions_;
};

} // namespace tolvane
