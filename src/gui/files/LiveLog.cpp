#include "gui/files/LiveLog.h"

#include "core/analysis/AnalysisRun.h"
#include "core/files/FileTexts.h"

#include <QFile>
#include <QStringList>

namespace tolvane {

LiveLog::LiveLog(Analysis& analysis, QObject* parent)
    : QObject(parent)
    , analysis_(analysis)
{
    connect(&watcher_, &LogWatcher::changed, this, &LiveLog::update);
}

void LiveLog::follow(const QString& path, const Filter& filter, const RunOutcome& outcome)
{
    stop();
    // The follower starts whatever the option says, so that turning it on
    // later reads from where this read ended.
    if (!follower_.start(QFile::encodeName(path).toStdString(), filter, outcome))
        return;
    path_ = path;
    watchIfEnabled();
}

void LiveLog::stop()
{
    follower_.stop();
    watcher_.stop();
    path_.clear();
}

void LiveLog::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (!enabled_) {
        watcher_.stop();
        return;
    }
    watchIfEnabled();
    update();
}

void LiveLog::watchIfEnabled()
{
    if (enabled_ && follower_.following())
        watcher_.watch(path_);
}

void LiveLog::update()
{
    if (!enabled_ || !follower_.following())
        return;
    const FollowUpdate result = follower_.poll(analysis_);
    switch (result.kind) {
    case FollowUpdate::Kind::Unchanged: break;
    case FollowUpdate::Kind::Added:
        emit playsAdded(result.plays, result.entries);
        emit statusText(QString::fromStdString(FileTexts::playsAdded(result.plays)));
        break;
    case FollowUpdate::Kind::Reload: {
        const QString path = path_;
        stop();
        emit reloadNeeded(path);
        break;
    }
    case FollowUpdate::Kind::Gone:
        // The watcher keeps an eye on the folder: a log made again is read in full.
        emit statusText(QString::fromStdString(FileTexts::logGone()));
        break;
    case FollowUpdate::Kind::Failed: {
        stop();
        QStringList lines;
        for (const std::string& line : result.message)
            lines << QString::fromStdString(line);
        emit statusText(lines.join(' '));
        break;
    }
    }
}

} // namespace tolvane
