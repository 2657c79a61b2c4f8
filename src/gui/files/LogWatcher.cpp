#include "gui/files/LogWatcher.h"

#include <QFileInfo>

namespace tolvane {

LogWatcher::LogWatcher(QObject* parent)
    : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &LogWatcher::changed);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &LogWatcher::noteChange);
    // The folder tells when a deleted or renamed-away file comes back.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!path_.isEmpty() && !watcher_.files().contains(path_) && QFileInfo::exists(path_))
            noteChange();
    });
}

void LogWatcher::watch(const QString& path)
{
    settle_.stop();
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    path_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    folder_ = path_.isEmpty() ? QString() : QFileInfo(path_).absolutePath();
    if (path_.isEmpty())
        return;
    watcher_.addPath(folder_);
    rewatch();
}

void LogWatcher::rewatch()
{
    // After a replace or rename the watcher drops the path; the new file takes its place.
    if (!watcher_.files().contains(path_) && QFileInfo::exists(path_))
        watcher_.addPath(path_);
}

void LogWatcher::noteChange()
{
    if (path_.isEmpty())
        return;
    rewatch();
    // The wait starts with the first change of a burst, so steady writing
    // still gets read every kSettleMs.
    if (!settle_.isActive())
        settle_.start();
}

} // namespace tolvane
