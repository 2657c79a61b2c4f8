#pragma once

#include "core/follow/LogFollower.h"
#include "gui/files/LogWatcher.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace tolvane {

class HistoryNotifier;
struct RunOutcome;

// The open logs kept up to date while the game appends to them: a watcher a
// log says when its file changed, and the history takes in the new plays.
// The window reads the logs again in full on reloadNeeded.
class LiveLog final : public QObject {
    Q_OBJECT

public:
    explicit LiveLog(HistoryNotifier& history, QObject* parent = nullptr);
    ~LiveLog() override;

    // After a completed read of paths (outcome): follows each from where the read ended.
    void follow(const QStringList& paths, const Filter& filter, const RunOutcome& outcome);
    void follow(const QString& path, const Filter& filter, const RunOutcome& outcome);
    void stop();
    // The option: off stops watching; on watches again and reads what came meanwhile.
    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }
    // While a run owns the history, no log is looked at; what came meanwhile
    // is read when the suspension ends.
    void setSuspended(bool suspended);
    bool following() const;
    // The watcher of the first log followed.
    const LogWatcher& watcher() const;

public slots:
    // Looks at the logs now.
    void update();

signals:
    // Entries were added to the history; plays of them became rows of the data list.
    void playsAdded(int plays, int entries);
    // A log shrank, was replaced or rewritten: read the logs again in full.
    void reloadNeeded(const QStringList& paths);
    // A line for the status bar: plays added, a log gone or broken.
    void statusText(const QString& text);

private:
    struct Followed;
    void watchIfEnabled();

    HistoryNotifier& history_;
    std::vector<std::unique_ptr<Followed>> logs_;
    QStringList paths_;
    LogWatcher idle_;
    bool enabled_ = true;
    bool suspended_ = false;
};

} // namespace tolvane
