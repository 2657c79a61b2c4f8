#pragma once

#include "core/follow/LogFollower.h"
#include "gui/files/LogWatcher.h"

#include <QObject>
#include <QString>
#include <string>
#include <vector>

namespace tolvane {

class Analysis;
struct RunOutcome;

// The open log kept up to date while the game appends to it: a watcher says
// when the file changed, and the follower reads the new plays into the
// analysis. The window refreshes its views on playsAdded and reads the log
// again in full on reloadNeeded.
class LiveLog final : public QObject {
    Q_OBJECT

public:
    explicit LiveLog(Analysis& analysis, QObject* parent = nullptr);

    // After a completed read of path: follows it from where the read ended.
    void follow(const QString& path, const Filter& filter, const RunOutcome& outcome);
    void stop();
    // The option: off stops watching; on watches again and reads what came meanwhile.
    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }
    bool following() const { return follower_.following(); }
    const LogWatcher& watcher() const { return watcher_; }

public slots:
    // Looks at the log now.
    void update();

signals:
    // Entries were added to the analysis; plays of them became rows of the data list.
    void playsAdded(int plays, int entries);
    // The log shrank, was replaced or rewritten: read it again in full.
    void reloadNeeded(const QString& path);
    // A line for the status bar: plays added, the log gone or broken.
    void statusText(const QString& text);

private:
    void watchIfEnabled();

    Analysis& analysis_;
    LogFollower follower_;
    LogWatcher watcher_;
    QString path_;
    bool enabled_ = true;
};

} // namespace tolvane
