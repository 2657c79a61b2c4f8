#pragma once

#include "core/follow/LogFollower.h"
#include "core/history/PlayHistory.h"

#include <QObject>

namespace tolvane {

// The window's one history of plays, and what tells the pages it changed.
// Every change goes through here: a completed load announces replaced, a
// followed log's new plays appended (the data list's rows first .. first +
// count - 1), a new view period narrowed. Pages read the history when told,
// and keep nothing of it.
class HistoryNotifier final : public QObject {
    Q_OBJECT

public:
    explicit HistoryNotifier(QObject* parent = nullptr);

    const PlayHistory& history() const { return history_; }

    // Reads the logs as one history; it takes the old one's place only when
    // the run completes, and then replaced is emitted.
    RunOutcome load(const std::vector<LogSource>& logs, const Filter& filter, const GraphSettings& graph,
        RunCallbacks callbacks, bool skipDamaged = false);
    // Looks at the followed log, the history's log number log, once.
    FollowUpdate follow(std::size_t log, LogFollower& follower);
    bool narrow(ViewSpan span);
    // The history of nothing, as at start.
    void clear();
    void restyle(const GraphSettings& graph);

signals:
    void replaced();
    void appended(qsizetype first, qsizetype count);
    void narrowed();
    void restyled();

private:
    PlayHistory history_;
};

} // namespace tolvane
