#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace tolvane {

// Watches one file and says when it changed, once per burst of writes: the
// first change starts a short wait, and every change within it is reported
// together when it ends. A file replaced, renamed over or deleted and made
// again is watched again under its path.
class LogWatcher final : public QObject {
    Q_OBJECT

public:
    static constexpr int kSettleMs = 300;

    explicit LogWatcher(QObject* parent = nullptr);

    // Starts watching path, forgetting the file watched before; an empty path stops.
    void watch(const QString& path);
    void stop() { watch({}); }
    const QString& path() const { return path_; }
    bool watching() const { return !path_.isEmpty(); }

signals:
    // The file changed (or went, or came back) since the last report.
    void changed();

private slots:
    void noteChange();

private:
    void rewatch();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString path_;
    QString folder_;
};

} // namespace tolvane
