#include "gui/MainWindow.h"

#include "core/analysis/RunTexts.h"
#include "core/settings/SettingsFile.h"
#include "gui/LogPath.h"
#include "gui/Messages.h"
#include "gui/OpenCommand.h"
#include "gui/StatusProgress.h"
#include "gui/calendar/CalendarPage.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/OptionsDialog.h"
#include "gui/files/FileCommands.h"
#include "gui/files/LiveLog.h"
#include "gui/models/DayFilterBar.h"
#include "gui/models/GrowingTableView.h"
#include "gui/models/ItemRoles.h"
#include "gui/models/PlayListModel.h"
#include "gui/pages/RankingPage.h"
#include "gui/pages/TrendPage.h"
#include "gui/period/ViewPeriodBar.h"
#include "gui/period/ViewPeriodController.h"
#include "gui/search/HeaderSorting.h"
#include "gui/search/PlayFilterProxy.h"
#include "gui/search/SearchBar.h"
#include "gui/sessions/SessionsPage.h"
#include "gui/song/SongPage.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

// The toolbar's own icons live in a static library, where the linker keeps
// them only when someone asks for them.
static void initIcons()
{
    Q_INIT_RESOURCE(icons);
}

namespace tolvane {

namespace {

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The program's icon, when the resources carry one.
constexpr const char* kProgramIcon = ":/icons/tolvane.svg";

} // namespace

MainWindow::MainWindow(std::filesystem::path settingsFile, QWidget* parent)
    : QMainWindow(parent)
    , history_(new HistoryNotifier(this))
    , settingsFile_(std::move(settingsFile))
{
    initIcons();
    setObjectName("mainWindow");
    setWindowTitle(text(RunTexts::kTitle));
    if (QFile::exists(kProgramIcon))
        setWindowIcon(QIcon(kProgramIcon));

    buildPages();
    statusBar()->setSizeGripEnabled(true);
    status_ = new StatusProgress(statusBar());
    playCount_ = new QLabel(statusBar());
    playCount_->setObjectName("playCount");
    statusBar()->addPermanentWidget(playCount_);
    connect(playListProxy_, &PlayFilterProxy::countChanged, this, &MainWindow::showPlayCount);
    open_ = new OpenCommand(*this, *history_, *status_);
    connect(open_, &OpenCommand::busyChanged, this, &MainWindow::setBusy);
    connect(open_, &OpenCommand::finished, this, &MainWindow::finishRun);
    files_ = new FileCommands(
        {*this, *pages_, *playList_, *playListModel_, *rankingPage_, *trendPage_, *status_, *history_});
    open_->setFilesChooser([this](QWidget* parent) { return files_->chooseLogFiles(parent); });
    connect(files_, &FileCommands::openRequested, this, &MainWindow::openLog);
    connect(files_, &FileCommands::openSeveralRequested, this, &MainWindow::openLogs);
    connect(files_, &FileCommands::reloadRequested, this, &MainWindow::reloadLog);
    periodViews_ = new ViewPeriodController(*history_,
        {*periodBar_, *rankingPage_, *trendPage_, *calendarPage_, *sessionsPage_, *playListProxy_, *dayFilterBar_},
        this);
    connect(periodViews_, &ViewPeriodController::dataListWanted, this,
        [this] { pages_->setCurrentWidget(playList_->parentWidget()); });
    buildCommands();
    // Every page follows the history.
    connect(history_, &HistoryNotifier::replaced, this, &MainWindow::showReplacedHistory);
    connect(history_, &HistoryNotifier::narrowed, this, &MainWindow::showNarrowedHistory);
    connect(history_, &HistoryNotifier::appended, this, &MainWindow::showAppendedPlays);
    connect(history_, &HistoryNotifier::restyled, trendPage_, &TrendPage::applyStyles);

    if (settingsFile_.empty())
        settingsFile_ = settingsPath(QCoreApplication::applicationDirPath().toStdString());
    loadSettings();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::command(const char* name, const QString& caption, void (MainWindow::*slot)())
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void MainWindow::buildCommands()
{
    // One action a command, shared by the menu and the toolbar. The toolbar
    // shows the short name as its tip.
    openAction_ = command("openAction", "開く(&O)...", &MainWindow::chooseLog);
    openAction_->setToolTip("開く");
    openAction_->setShortcut(QKeySequence::Open);
    addLogAction_ = command("addLogAction", tr("ログを追加(&L)..."), &MainWindow::addLog);
    addLogAction_->setToolTip(tr("開いている履歴にログを加えます"));
    addLogAction_->setEnabled(false);
    auto* exit = new QAction("終了(&X)", this);
    exit->setObjectName("exitAction");
    connect(exit, &QAction::triggered, this, &MainWindow::close);
    exit->setShortcut(QKeySequence::Quit);
    optionsAction_ = command("optionsAction", "ｵﾌﾟｼｮﾝ(&O)...", &MainWindow::showOptions);
    optionsAction_->setShortcut(QKeySequence::Preferences);
    QAction* about = command("aboutAction", "ﾊﾞｰｼﾞｮﾝ情報(&A)", &MainWindow::showAbout);
    about->setShortcut(QKeySequence::HelpContents);
    // A viewer's "New": back to the empty start, nothing to ask (the logs are only read).
    QAction* newLog = command("newAction", "新規作成", &MainWindow::closeHistory);
    newLog->setShortcut(QKeySequence::New);
    newAction_ = newLog;
    // Save and print act on what the current page shows.
    const auto fileCommand = [this](const char* name, const QString& caption, void (FileCommands::*slot)()) {
        auto* action = new QAction(caption, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, files_, slot);
        return action;
    };
    QAction* save = fileCommand("saveAction", "上書き保存(&S)", &FileCommands::save);
    save->setShortcut(QKeySequence::Save);
    save->setToolTip("上書き保存");
    QAction* saveAs = fileCommand("saveAsAction", "名前を付けて保存(&A)...", &FileCommands::save);
    saveAs->setShortcut(QKeySequence::SaveAs);
    QAction* pageSetup = fileCommand("pageSetupAction", "ﾍﾟｰｼﾞ設定(&U)...", &FileCommands::pageSetup);
    QAction* preview = fileCommand("printPreviewAction", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", &FileCommands::printPreview);
    QAction* print = fileCommand("printAction", "印刷(&P)...", &FileCommands::printPreview);
    print->setShortcut(QKeySequence::Print);
    print->setToolTip("印刷");
    QAction* copy = fileCommand("copyAction", "ｺﾋﾟｰ(&C)", &FileCommands::copy);
    copy->setShortcut(QKeySequence::Copy);

    // Ctrl+F: the search field above the data list, from any page.
    QAction* find = command("findAction", "検索", &MainWindow::focusSearch);
    find->setShortcut(QKeySequence::Find);
    addAction(find);

    QMenu* file = menuBar()->addMenu("ﾌｧｲﾙ(&F)");
    file->setObjectName("fileMenu");
    file->addAction(openAction_);
    file->addAction(addLogAction_);
    file->addSeparator();
    file->addActions({save, saveAs});
    file->addSeparator();
    file->addActions({pageSetup, preview, print});
    file->addSeparator();
    files_->addRecentMenu(*file, exit);
    file->addAction(exit);
    QMenu* edit = menuBar()->addMenu("編集(&E)");
    edit->setObjectName("editMenu");
    edit->addAction(copy);
    edit->addAction(find);
    QMenu* tools = menuBar()->addMenu("ﾂｰﾙ(&T)");
    tools->setObjectName("toolsMenu");
    tools->addAction(optionsAction_);
    QMenu* help = menuBar()->addMenu("ﾍﾙﾌﾟ(&H)");
    help->setObjectName("helpMenu");
    help->addAction(about);

    QToolBar* toolBar = addToolBar("toolBar");
    toolBar->setObjectName("toolBar");
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(16, 16));
    const struct {
        QAction* action;
        const char* icon;
        const char* theme;
    } buttons[] = {{newLog, ":/icons/New", "document-new"}, {openAction_, ":/icons/Open", "document-open"},
        {save, ":/icons/Save", "document-save"}, {print, ":/icons/Print", "document-print"}};
    for (const auto& button : buttons) {
        button.action->setIcon(QIcon::fromTheme(button.theme, QIcon(button.icon)));
        if (button.action == print)
            toolBar->addSeparator();
        toolBar->addAction(button.action);
    }
}

void MainWindow::buildPages()
{
    // The view period sits above the pages it narrows.
    auto* central = new QWidget(this);
    central->setObjectName("centralArea");
    pages_ = new QTabWidget(central);
    pages_->setObjectName("pageTabs");
    periodBar_ = new ViewPeriodBar(central);
    auto* centralBox = new QVBoxLayout(central);
    centralBox->setContentsMargins(0, 4, 0, 0);
    centralBox->addWidget(periodBar_);
    centralBox->addWidget(pages_, 1);
    setCentralWidget(central);

    auto* dataPage = new QWidget(pages_);
    dataPage->setObjectName("dataListPage");
    playListModel_ = new PlayListModel(history_->history().analysis().plays, this);
    playListProxy_ = new PlayFilterProxy(history_->history().analysis().plays, this);
    playListProxy_->setObjectName("playListProxy");
    playListProxy_->setSourceModel(playListModel_);
    playListProxy_->setSortRole(SortRole);
    // Rows the run appends go to the end; nothing re-sorts while a log is read.
    playListProxy_->setDynamicSortFilter(false);
    playList_ = new GrowingTableView(dataPage);
    playList_->setObjectName("playList");
    playList_->setModel(playListProxy_);
    playList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    playList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    playList_->setWordWrap(false);
    playList_->verticalHeader()->hide();
    playList_->verticalHeader()->setDefaultSectionSize(playList_->fontMetrics().height() + 4);
    // Rows of one height let the view skip measuring half a million of them.
    playList_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = playList_->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // File order until the user clicks a header; a third click goes back to it.
    new HeaderSorting(*playList_, HeaderSorting::fileOrderText());
    searchBar_ = new SearchBar(dataPage);
    searchBar_->drive(*playListProxy_);
    dayFilterBar_ = new DayFilterBar(dataPage);
    auto* dataBox = new QVBoxLayout(dataPage);
    dataBox->addWidget(searchBar_);
    dataBox->addWidget(dayFilterBar_);
    dataBox->addWidget(playList_);
    pages_->addTab(dataPage, "データ一覧");

    rankingPage_ = new RankingPage(history_->history().analysis().rankings, pages_);
    pages_->addTab(rankingPage_, "ランキング");
    trendPage_ = new TrendPage(*history_, pages_);
    trendPage_->showDesigned();
    pages_->addTab(trendPage_, "利用傾向の調査");

    calendarPage_ = new CalendarPage(pages_);
    pages_->addTab(calendarPage_, "カレンダー");
    sessionsPage_ = new SessionsPage(pages_);
    pages_->addTab(sessionsPage_, "セッション");

    // Double-click or Enter on a song opens its page.
    songPage_ = new SongPage(pages_);
    songPage_->hide();
    connect(songPage_, &SongPage::backRequested, this, &MainWindow::leaveSongPage);
    connect(playList_, &QAbstractItemView::activated, this, &MainWindow::openSong);
    connect(rankingPage_->list(), &QAbstractItemView::activated, this, &MainWindow::openSong);
}

void MainWindow::openSong(const QModelIndex& index)
{
    const QString key = index.data(SongKeyRole).toString();
    if (open_->busy() || !index.data(SongKeyRole).isValid())
        return;
    std::optional<SongView> song = findSong(analysis(), key);
    if (!song)
        return;
    songPage_->showSong(std::move(*song));
    songOpenedFrom_ = pages_->currentWidget();
    if (pages_->indexOf(songPage_) < 0)
        pages_->addTab(songPage_, "曲の記録");
    pages_->setCurrentWidget(songPage_);
}

void MainWindow::leaveSongPage()
{
    pages_->setCurrentWidget(songOpenedFrom_ && songOpenedFrom_ != songPage_ ? songOpenedFrom_ : pages_->widget(0));
}

void MainWindow::refreshSongPage()
{
    // After a run (another log, or the followed log read again) the page shows
    // its song as the new plays have it, or goes when the song is not there.
    if (pages_->indexOf(songPage_) < 0)
        return;
    if (std::optional<SongView> song = findSong(analysis(), QString::fromStdString(songPage_->song().title))) {
        songPage_->showSong(std::move(*song));
        return;
    }
    if (pages_->currentWidget() == songPage_)
        leaveSongPage();
    pages_->removeTab(pages_->indexOf(songPage_));
}

void MainWindow::focusSearch()
{
    pages_->setCurrentIndex(0);
    searchBar_->focusSearch();
}

void MainWindow::showPlayCount()
{
    const int total = playListProxy_->totalRows();
    playCount_->setText(total > 0 ? playListProxy_->countText() : QString());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A run stops at its next yield, a message waits for its answer; the
    // window closes after either.
    if (open_->busy()) {
        closeWhenIdle_ = true;
        open_->requestStop();
        event->ignore();
        return;
    }
    saveSettings();
    QMainWindow::closeEvent(event);
}

void MainWindow::loadSettings()
{
    // A file that cannot be read gives the defaults; there is nothing to tell.
    const std::optional<IniFile> ini = loadSettingsFile(settingsFile_);
    const ProgramSettings s = readSettings(ini ? *ini : IniFile());
    placement_.restore(*this, *playList_, s.window);
    filter_ = s.filter;
    graph_ = s.graph;
    files_->restore(s.files);
    sessionsPage_->setGapMinutes(s.sessions.gapMinutes);
}

void MainWindow::saveSettings()
{
    if (settingsSaved_)
        return;
    settingsSaved_ = true;
    status_->setStatus(text(RunTexts::kSavingStatus));
    ProgramSettings s;
    s.window = placement_.capture(*this, *playList_);
    s.filter = filter_;
    s.graph = graph_;
    s.files = files_->settings();
    s.sessions.gapMinutes = sessionsPage_->gapMinutes();
    const WindowPlacement state = isMinimized() ? WindowPlacement::Minimised
        : isMaximized()                         ? WindowPlacement::Maximised
                                                : WindowPlacement::Normal;
    std::string error;
    if (!saveSettingsFile(settingsFile_, s, state, &error)) {
        // The window closes all the same; the user learns the settings were not kept.
        Messages::inform(this, {"設定を保存できませんでした。", settingsFile_.string(), error});
    }
}

void MainWindow::setBusy(bool busy)
{
    openAction_->setEnabled(!busy);
    optionsAction_->setEnabled(!busy);
    rankingPage_->chooser()->setEnabled(!busy);
    trendPage_->setRunning(busy);
    addLogAction_->setEnabled(!busy && !history_->history().empty());
    newAction_->setEnabled(!busy);
    files_->liveLog().setSuspended(busy);
    if (busy)
        periodViews_->analysisStarting();
    else
        periodViews_->analysisEnded();
    // A run appends its rows unsorted; between runs, rows the followed log
    // adds go where the sorted list wants them.
    playListProxy_->setDynamicSortFilter(!busy);
}

void MainWindow::finishRun(const RunOutcome& outcome, const QStringList& paths)
{
    files_->logRead(outcome, paths, filter_);
    addLogAction_->setEnabled(!history_->history().empty());
    if (closeWhenIdle_)
        close();
}

void MainWindow::refreshRanking()
{
    if (const auto shown = rankingPage_->shownRanking())
        rankingPage_->showRanking(*shown);
    else
        rankingPage_->clearRows();
}

void MainWindow::showReplacedHistory()
{
    // A new history: the data list and every page start again, and the song
    // page goes with the history it showed.
    playListModel_->reset();
    rankingPage_->clearRows();
    trendPage_->showAnalysis();
    if (const int song = pages_->indexOf(songPage_); song >= 0) {
        if (pages_->currentWidget() == songPage_)
            leaveSongPage();
        pages_->removeTab(song);
    }
}

void MainWindow::showNarrowedHistory()
{
    refreshRanking();
    trendPage_->showAnalysis();
}

void MainWindow::showAppendedPlays()
{
    refreshRanking();
    trendPage_->showAppended();
    refreshSongPage();
}

QStringList MainWindow::openPaths() const
{
    QStringList paths;
    for (const LogOutcome& log : history_->history().logs())
        paths << logPathText(log.path);
    return paths;
}

void MainWindow::addLog()
{
    if (open_->busy() || history_->history().empty())
        return;
    const QStringList added = files_->chooseLogFiles(this);
    if (added.isEmpty())
        return;
    QStringList paths = openPaths();
    for (const QString& path : added) {
        if (!paths.contains(path))
            paths << path;
    }
    openLogs(paths);
}

void MainWindow::closeHistory()
{
    if (open_->busy())
        return;
    files_->liveLog().stop();
    history_->clear();
    setWindowTitle(text(RunTexts::kTitle));
    status_->setStatus(text(RunTexts::kIdleStatus));
    addLogAction_->setEnabled(false);
    periodViews_->analysisEnded();
}

void MainWindow::reopenLastLog()
{
    const QString path = files_->logToReopen();
    if (!path.isEmpty())
        open_->runQuietly({path}, filter_, graph_, placement_.restored().WindowState == 2);
}

void MainWindow::reloadLog(const QStringList& paths)
{
    open_->runQuietly(paths, filter_, graph_, placement_.restored().WindowState == 2);
}

void MainWindow::chooseLog()
{
    open_->chooseAndRun(filter_, graph_, placement_.restored().WindowState == 2);
}

void MainWindow::openLog(const QString& path)
{
    openLogs({path});
}

void MainWindow::openLogs(const QStringList& paths)
{
    open_->run(paths, filter_, graph_, placement_.restored().WindowState == 2);
}

void MainWindow::showOptions()
{
    OptionsDialog dialog(filter_, graph_, this);
    const FileSettings files = files_->settings();
    dialog.setFileOptions(files.reopenLast, files.followLog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    filter_ = dialog.filter();
    graph_ = dialog.graphSettings();
    files_->setReopenLast(dialog.reopenLast());
    files_->setFollowLog(dialog.followLog());
    // Charts drawn from a history take the new styles at once.
    if (analysis().navigation.analysisDone)
        history_->restyle(graph_);
    // A changed load filter reads the open logs again when the user asked for it.
    if (dialog.reloadNow() && !history_->history().empty())
        reloadLog(openPaths());
}

void MainWindow::showAbout()
{
    AboutDialog about(TOLVANE_VERSION_MAJOR, TOLVANE_VERSION_MINOR, TOLVANE_VERSION_PATCH, this);
    about.setSessionFacts(logPathText(settingsFile_), openPaths());
    about.exec();
}

} // namespace tolvane
