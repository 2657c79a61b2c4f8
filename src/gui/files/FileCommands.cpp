#include "gui/files/FileCommands.h"
#include "gui/files/AddedPlays.h"

#include "core/analysis/AnalysisRun.h"
#include "core/files/RecentFiles.h"
#include "gui/HistoryNotifier.h"
#include "gui/LogPath.h"
#include "gui/Messages.h"
#include "gui/OpenCommand.h"
#include "gui/StatusProgress.h"
#include "gui/charts/BarChart.h"
#include "gui/files/FileDrop.h"
#include "gui/files/LiveLog.h"
#include "gui/files/PrintCommand.h"
#include "gui/files/RecentFilesMenu.h"
#include "gui/files/SaveCommand.h"
#include "gui/files/TableExport.h"
#include "gui/models/PlayListModel.h"
#include "gui/pages/RankingPage.h"
#include "gui/pages/TrendPage.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMainWindow>
#include <QTabWidget>
#include <QTableView>

namespace tolvane {

FileCommands::FileCommands(const Window& window)
    : QObject(&window.window)
    , w_(window)
    , save_(new SaveCommand(window.window))
    , print_(new PrintCommand(window.window))
    , live_(new LiveLog(window.history, this))
{
    connect(&w_.history, &HistoryNotifier::appended, this, &FileCommands::showAddedPlays);
    connect(live_, &LiveLog::reloadNeeded, this, &FileCommands::reloadRequested);
    connect(live_, &LiveLog::statusText, &w_.status, &StatusProgress::setStatus);
    auto* drop = new FileDrop(w_.window);
    connect(drop, &FileDrop::filesDropped, this, &FileCommands::openSeveralRequested);
}

FileCommands::~FileCommands() = default;

void FileCommands::addRecentMenu(QMenu& menu, QAction* before)
{
    recent_ = new RecentFilesMenu(menu, before, w_.window);
    recent_->setPaths({stored_.recent.begin(), stored_.recent.end()});
    connect(recent_, &RecentFilesMenu::openRequested, this, &FileCommands::openRequested);
}

void FileCommands::restore(const FileSettings& settings)
{
    stored_ = settings;
    reopenLast_ = settings.reopenLast;
    live_->setEnabled(settings.followLog);
    if (recent_)
        recent_->setPaths({settings.recent.begin(), settings.recent.end()});
}

FileSettings FileCommands::settings() const
{
    FileSettings s = stored_;
    s.reopenLast = reopenLast_;
    s.followLog = live_->enabled();
    s.recent = {};
    if (recent_) {
        const std::vector<std::string> paths = recent_->paths();
        for (std::size_t i = 0; i < paths.size() && i < s.recent.size(); ++i)
            s.recent[i] = paths[i];
    }
    return s;
}

void FileCommands::setFollowLog(bool follow)
{
    live_->setEnabled(follow);
}

QString FileCommands::logToReopen() const
{
    return QFile::decodeName(QByteArray::fromStdString(tolvane::logToReopen(settings())));
}

QString FileCommands::chooseLogFile(QWidget* parent) const
{
    const QStringList paths = chooseLogFiles(parent);
    return paths.isEmpty() ? QString() : paths.front();
}

QStringList FileCommands::chooseLogFiles(QWidget* parent) const
{
    QFileDialog dialog(parent);
    OpenCommand::setUpScoreFileDialog(dialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    const QString folder = QFile::decodeName(QByteArray::fromStdString(stored_.lastFolder));
    if (!folder.isEmpty() && QDir(folder).exists())
        dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

void FileCommands::logRead(const RunOutcome& outcome, const QStringList& paths, const Filter& filter)
{
    if (outcome.state != RunOutcome::State::Completed) {
        // The history still shown goes on being followed.
        return;
    }
    live_->stop();
    const QString& path = paths.front();
    const std::string stored = logPath(path).native();
    stored_.lastFolder = folderOf(stored);
    save_->setStartFolder(QFile::decodeName(QByteArray::fromStdString(stored_.lastFolder)));
    if (recent_)
        recent_->add(path);
    live_->follow(paths, filter, outcome);
}

void FileCommands::showAddedPlays()
{
    tolvane::showAddedPlays(w_.playListModel, w_.playList);
}

QTableView* FileCommands::shownTable() const
{
    QWidget* page = w_.pages.currentWidget();
    if (!page || page == &w_.trends)
        return nullptr;
    if (page == &w_.rankings)
        return w_.rankings.list();
    return page->isAncestorOf(&w_.playList) ? &w_.playList : page->findChild<QTableView*>();
}

QWidget* FileCommands::shownChart() const
{
    if (w_.pages.currentWidget() != &w_.trends)
        return nullptr;
    return w_.trends.chart(w_.trends.chartTabs()->currentIndex());
}

QString FileCommands::shownName() const
{
    if (shownChart())
        return w_.trends.chartTabs()->tabText(w_.trends.chartTabs()->currentIndex()).remove('&');
    if (w_.pages.currentWidget() == &w_.rankings && w_.rankings.chooser()->currentIndex() >= 0)
        return w_.rankings.chooser()->currentText();
    return w_.pages.tabText(w_.pages.currentIndex()).remove('&');
}

void FileCommands::save()
{
    if (QTableView* table = shownTable())
        save_->saveTable(*table, shownName());
    else if (QWidget* chart = shownChart())
        save_->saveChart(*chart, shownName());
}

void FileCommands::printPreview()
{
    if (QTableView* table = shownTable())
        print_->previewTable(*table, shownName());
    else if (QWidget* chart = shownChart())
        print_->previewChart(*chart, shownName());
}

void FileCommands::pageSetup()
{
    print_->pageSetup();
}

void FileCommands::copy()
{
    if (QTableView* table = shownTable())
        TableExport::copySelectedRows(*table);
}

} // namespace tolvane
