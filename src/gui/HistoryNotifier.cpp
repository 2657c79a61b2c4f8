#include "gui/HistoryNotifier.h"

namespace tolvane {

HistoryNotifier::HistoryNotifier(QObject* parent)
    : QObject(parent)
{
}

RunOutcome HistoryNotifier::load(const std::vector<LogSource>& logs, const Filter& filter, const GraphSettings& graph,
    RunCallbacks callbacks, bool skipDamaged)
{
    RunOutcome outcome = history_.load(logs, filter, graph, std::move(callbacks), skipDamaged);
    if (outcome.state == RunOutcome::State::Completed)
        emit replaced();
    return outcome;
}

FollowUpdate HistoryNotifier::follow(std::size_t log, LogFollower& follower)
{
    AppendOutcome appended;
    FollowUpdate update = followOnce(history_, log, follower, &appended);
    if (update.kind == FollowUpdate::Kind::Added && appended.entries > 0)
        emit this->appended(static_cast<qsizetype>(appended.firstRow), static_cast<qsizetype>(appended.rows));
    return update;
}

bool HistoryNotifier::narrow(ViewSpan span)
{
    const bool any = history_.narrow(span);
    emit narrowed();
    return any;
}

void HistoryNotifier::clear()
{
    history_.clear();
    emit replaced();
}

void HistoryNotifier::restyle(const GraphSettings& graph)
{
    history_.restyle(graph);
    emit restyled();
}

} // namespace tolvane
