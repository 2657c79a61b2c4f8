#include "gui/files/LiveLog.h"

#include "core/analysis/AnalysisRun.h"
#include "core/files/FileTexts.h"
#include "gui/HistoryNotifier.h"
#include "gui/LogPath.h"

#include <QStringList>

namespace tolvane {

struct LiveLog::Followed {
    LogFollower follower;
    LogWatcher watcher;
    QString path;
};

LiveLog::LiveLog(HistoryNotifier& history, QObject* parent)
    : QObject(parent)
    , history_(history)
{
    // The followers belong to the history they were started on.
    connect(&history_, &HistoryNotifier::replaced, this, &LiveLog::stop);
}

LiveLog::~LiveLog() = default;

void LiveLog::follow(const QString& path, const Filter& filter, const RunOutcome& outcome)
{
    follow(QStringList{path}, filter, outcome);
}

void LiveLog::follow(const QStringList& paths, const Filter& filter, const RunOutcome& outcome)
{
    stop();
    if (outcome.state != RunOutcome::State::Completed || static_cast<std::size_t>(paths.size()) != outcome.logs.size())
        return;
    // The followers start whatever the option says, so that turning it on
    // later reads from where this read ended.
    for (qsizetype i = 0; i < paths.size(); ++i) {
        auto log = std::make_unique<Followed>();
        log->path = paths[i];
        if (!log->follower.start(logPath(paths[i]), filter, outcome.logs[static_cast<std::size_t>(i)])) {
            logs_.clear();
            return;
        }
        connect(&log->watcher, &LogWatcher::changed, this, &LiveLog::update);
        logs_.push_back(std::move(log));
    }
    paths_ = paths;
    watchIfEnabled();
}

void LiveLog::stop()
{
    logs_.clear();
    paths_.clear();
}

bool LiveLog::following() const
{
    return !logs_.empty() && logs_.front()->follower.following();
}

const LogWatcher& LiveLog::watcher() const
{
    return logs_.empty() ? idle_ : logs_.front()->watcher;
}

void LiveLog::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (!enabled_) {
        for (const auto& log : logs_)
            log->watcher.stop();
        return;
    }
    watchIfEnabled();
    update();
}

void LiveLog::watchIfEnabled()
{
    if (!enabled_)
        return;
    for (const auto& log : logs_) {
        if (log->follower.following())
            log->watcher.watch(log->path);
    }
}

void LiveLog::setSuspended(bool suspended)
{
    if (suspended == suspended_)
        return;
    suspended_ = suspended;
    if (!suspended_)
        update();
}

void LiveLog::update()
{
    if (!enabled_ || suspended_)
        return;
    for (std::size_t i = 0; i < logs_.size(); ++i) {
        Followed& log = *logs_[i];
        if (!log.follower.following())
            continue;
        const FollowUpdate result = history_.follow(i, log.follower);
        switch (result.kind) {
        case FollowUpdate::Kind::Unchanged: break;
        case FollowUpdate::Kind::Added:
            if (result.entries == 0)
                break;
            emit playsAdded(result.plays, result.entries);
            emit statusText(QString::fromStdString(FileTexts::playsAdded(result.plays)));
            break;
        case FollowUpdate::Kind::Reload: {
            const QStringList paths = paths_;
            stop();
            emit reloadNeeded(paths);
            return;
        }
        case FollowUpdate::Kind::Gone:
            // The watcher keeps an eye on the folder: a log made again is read in full.
            emit statusText(QString::fromStdString(FileTexts::logGone()));
            break;
        case FollowUpdate::Kind::Failed: {
            QStringList lines;
            for (const std::string& line : result.message)
                lines << QString::fromStdString(line);
            log.watcher.stop();
            emit statusText(lines.join(' '));
            break;
        }
        }
    }
}

} // namespace tolvane
