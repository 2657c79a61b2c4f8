#include "gui/OpenCommand.h"

#include "core/analysis/Analysis.h"
#include "core/analysis/RunTexts.h"
#include "gui/Messages.h"
#include "gui/models/PlayListModel.h"
#include "gui/pages/RankingPage.h"
#include "gui/StatusProgress.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMainWindow>

namespace tolvane {

OpenCommand::OpenCommand(QMainWindow& window, Analysis& analysis, StatusProgress& status, PlayListModel& plays,
                         RankingPage& rankings)
    : QObject(&window), window_(window), analysis_(analysis), status_(status), plays_(plays), rankings_(rankings)
{
}

void OpenCommand::setUpScoreFileDialog(QFileDialog& dialog)
{
    dialog.setObjectName("dlgCommonDialog");
    dialog.setWindowTitle("開く");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog, so that the one file type matches score.txt in any letter case.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter("BM98スコアファイル(score.txt)");
    dialog.setFilter((dialog.filter() | QDir::Files | QDir::AllDirs) & ~QDir::CaseSensitive);
}

QString OpenCommand::chooseScoreFile(QWidget* parent)
{
    QFileDialog dialog(parent);
    setUpScoreFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

void OpenCommand::setRunning(bool running)
{
    running_ = running;
    emit runningChanged(running);
}

void OpenCommand::setCaption(const std::string& text, bool onlyWhenMinimised)
{
    if (!onlyWhenMinimised || window_.isMinimized())
        window_.setWindowTitle(QString::fromStdString(text));
}

void OpenCommand::run(const Filter& filter, const GraphSettings& graph, int windowState)
{
    if (running_)
        return;
    const QString path = chooser_(&window_);
    if (path.isEmpty())
        return;
    const std::string pathText = path.toStdString();
    if (!Messages::ask(&window_, RunTexts::confirmation(pathText, filter)))
        return;

    setRunning(true);
    stopRequested_ = false;
    // The lists lose their rows before the run refills the data list.
    analysis_.plays.clear();
    plays_.reset();
    rankings_.clearRows();

    RunCallbacks callbacks;
    callbacks.onStatus = [this](const std::string& text) {
        // The list grows with the progress text: showing new rows at every
        // yield would spend more time painting the list than reading the log.
        plays_.syncRows();
        status_.setStatus(QString::fromStdString(text));
    };
    callbacks.onCaption = [this](const std::string& text, bool onlyWhenMinimised) {
        setCaption(text, onlyWhenMinimised);
    };
    callbacks.onYield = [this] {
        // Repaint and take input.
        QCoreApplication::processEvents();
        return !stopRequested_;
    };
    AnalysisRun run(analysis_, filter, graph, std::move(callbacks));
    const RunOutcome outcome = run.run(std::filesystem::path(pathText));
    plays_.syncRows();

    if (outcome.state == RunOutcome::State::Completed) {
        emit chartsDrawn();
        // A window minimised during the run comes back up.
        if (window_.isMinimized())
            window_.setWindowState(windowState == 2 ? Qt::WindowMaximized : Qt::WindowNoState);
    }
    setRunning(false);
    if (!outcome.message.empty())
        Messages::inform(&window_, outcome.message);
    emit finished(outcome);
}

} // namespace tolvane
