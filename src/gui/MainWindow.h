#pragma once

#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/log/Filter.h"
#include "core/trends/ChartStyle.h"
#include "gui/HistoryNotifier.h"
#include "gui/StoredPlacement.h"

#include <QMainWindow>
#include <filesystem>

class QAction;
class QLabel;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;

namespace tolvane {

class FileCommands;
class CalendarPage;
class DayFilterBar;
class OpenCommand;
class PlayFilterProxy;
class PlayListModel;
class SessionsPage;
class ViewPeriodBar;
class ViewPeriodController;
class RankingPage;
class SearchBar;
class SongPage;
class StatusProgress;
class TrendPage;

// The main window: menus, toolbar, the pages (data list, rankings, usage
// trends) and the status bar. It only wires them together and owns the
// state they share: the analysis, the load filters and the chart styles,
// read from the settings file when it opens and written when it closes.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    // settingsFile is where the settings live; empty: the program's own place.
    explicit MainWindow(std::filesystem::path settingsFile = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    const Filter& filter() const { return filter_; }
    const GraphSettings& graphSettings() const { return graph_; }
    // The history shown, and what tells the pages it changed.
    const Analysis& analysis() const { return history_->history().analysis(); }
    HistoryNotifier& history() const { return *history_; }
    const std::filesystem::path& settingsFile() const { return settingsFile_; }

    // The pages and the models behind them, for the features built on them.
    QTabWidget* pages() const { return pages_; }
    QTableView* playList() const { return playList_; }
    PlayListModel* playListModel() const { return playListModel_; }
    // Sorts and filters the data list; in file order until the user sorts.
    PlayFilterProxy* playListProxy() const { return playListProxy_; }
    SearchBar* searchBar() const { return searchBar_; }
    // The song page; a tab of its own from the first song opened.
    SongPage* songPage() const { return songPage_; }
    DayFilterBar* dayFilterBar() const { return dayFilterBar_; }
    ViewPeriodBar* viewPeriodBar() const { return periodBar_; }
    CalendarPage* calendarPage() const { return calendarPage_; }
    SessionsPage* sessionsPage() const { return sessionsPage_; }
    RankingPage* rankingPage() const { return rankingPage_; }
    TrendPage* trendPage() const { return trendPage_; }
    StatusProgress& statusProgress() const { return *status_; }
    OpenCommand& openCommand() const { return *open_; }
    FileCommands& fileCommands() const { return *files_; }

public slots:
    // Opens the log at path as File > Open does once a file is chosen: the
    // confirmation first, then the run and its message. Does nothing while
    // another run is under way.
    void openLog(const QString& path);
    // The same for several logs, read as one history.
    void openLogs(const QStringList& paths);
    // At start: opens the last log without dialogs when the option is on and
    // the file is still there.
    void reopenLastLog();
    // Shows the page of the song a row of the data list or a ranking stands
    // for (its SongKeyRole); rows that stand for no song are ignored.
    void openSong(const QModelIndex& index);

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void chooseLog();
    void addLog();
    void closeHistory();
    void showOptions();
    void showAbout();
    void setBusy(bool busy);
    void finishRun(const tolvane::RunOutcome& outcome, const QStringList& paths);
    void reloadLog(const QStringList& paths);
    void showReplacedHistory();
    void showNarrowedHistory();
    void showAppendedPlays();
    void focusSearch();
    void showPlayCount();
    void leaveSongPage();
    void refreshSongPage();

private:
    QAction* command(const char* name, const QString& text, void (MainWindow::*slot)());
    void buildCommands();
    void buildPages();
    void refreshRanking();
    QStringList openPaths() const;
    void loadSettings();
    void saveSettings();

    HistoryNotifier* history_ = nullptr;
    Filter filter_;
    GraphSettings graph_;
    std::filesystem::path settingsFile_;
    StoredPlacement placement_;
    bool settingsSaved_ = false;
    bool closeWhenIdle_ = false;

    QAction* openAction_ = nullptr;
    QAction* addLogAction_ = nullptr;
    QAction* newAction_ = nullptr;
    QAction* optionsAction_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QTableView* playList_ = nullptr;
    PlayListModel* playListModel_ = nullptr;
    PlayFilterProxy* playListProxy_ = nullptr;
    SearchBar* searchBar_ = nullptr;
    QLabel* playCount_ = nullptr;
    SongPage* songPage_ = nullptr;
    QWidget* songOpenedFrom_ = nullptr;
    DayFilterBar* dayFilterBar_ = nullptr;
    ViewPeriodBar* periodBar_ = nullptr;
    CalendarPage* calendarPage_ = nullptr;
    SessionsPage* sessionsPage_ = nullptr;
    ViewPeriodController* periodViews_ = nullptr;
    RankingPage* rankingPage_ = nullptr;
    TrendPage* trendPage_ = nullptr;
    StatusProgress* status_ = nullptr;
    OpenCommand* open_ = nullptr;
    FileCommands* files_ = nullptr;
};

} // namespace tolvane
