#pragma once

#include "core/log/Filter.h"
#include "core/settings/SettingsFile.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QMainWindow;
class QTabWidget;
class QTableView;
class QWidget;

namespace tolvane {

class HistoryNotifier;
class LiveLog;
class PlayListModel;
class PrintCommand;
class RankingPage;
class RecentFilesMenu;
class SaveCommand;
class StatusProgress;
class TrendPage;
struct RunOutcome;

// The window's commands about files, beyond opening one: save, print and copy
// what the current page shows, the recent logs, the last folder, files dropped
// on the window, and following the open log while the game writes to it.
// The window creates it once its pages exist and wires its actions to it.
class FileCommands final : public QObject {
    Q_OBJECT

public:
    // What the commands act on; everything must outlive this object.
    struct Window {
        QMainWindow& window;
        QTabWidget& pages;
        QTableView& playList;
        PlayListModel& playListModel;
        RankingPage& rankings;
        TrendPage& trends;
        StatusProgress& status;
        HistoryNotifier& history;
    };

    explicit FileCommands(const Window& window);
    ~FileCommands() override;

    // The recent logs go into menu, before `before`.
    void addRecentMenu(QMenu& menu, QAction* before);

    void restore(const FileSettings& settings);
    FileSettings settings() const;
    void setFollowLog(bool follow);
    void setReopenLast(bool reopen) { reopenLast_ = reopen; }

    // The log to open at start without dialogs, or empty.
    QString logToReopen() const;
    // The Open dialog, starting in the last folder used; one log or several.
    QString chooseLogFile(QWidget* parent) const;
    QStringList chooseLogFiles(QWidget* parent) const;

    LiveLog& liveLog() const { return *live_; }
    SaveCommand& saveCommand() const { return *save_; }
    PrintCommand& printCommand() const { return *print_; }

public slots:
    void save();
    void printPreview();
    void pageSetup();
    void copy();
    // An Open command ended: the logs read in full are followed, and the
    // first becomes the recent one.
    void logRead(const tolvane::RunOutcome& outcome, const QStringList& paths, const tolvane::Filter& filter);

signals:
    // A recent or dropped log: open it as File > Open does, through the confirmation.
    void openRequested(const QString& path);
    // Several dropped logs: open them as one history, through the confirmation.
    void openSeveralRequested(const QStringList& paths);
    // The open logs changed beyond following: read them again in full, without dialogs.
    void reloadRequested(const QStringList& paths);

private:
    void showAddedPlays();
    // The table the current page shows, or null on a chart page.
    QTableView* shownTable() const;
    // The chart the current page shows, or null.
    QWidget* shownChart() const;
    QString shownName() const;

    Window w_;
    SaveCommand* save_;
    PrintCommand* print_;
    LiveLog* live_;
    RecentFilesMenu* recent_ = nullptr;
    FileSettings stored_;
    bool reopenLast_ = true;
};

} // namespace tolvane
