#include "gui/OpenCommand.h"

#include "core/analysis/Analysis.h"
#include "core/analysis/RunTexts.h"
#include "gui/Messages.h"
#include "gui/StatusProgress.h"
#include "gui/files/LogFileDialog.h"
#include "gui/models/PlayListModel.h"
#include "gui/pages/RankingPage.h"
#include "gui/pages/TrendPage.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

namespace tolvane {

namespace {

QString textOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

OpenCommand::OpenCommand(QMainWindow& window, Analysis& analysis, StatusProgress& status, PlayListModel& plays,
    RankingPage& rankings, TrendPage& trends)
    : QObject(&window)
    , window_(window)
    , analysis_(analysis)
    , status_(status)
    , plays_(plays)
    , rankings_(rankings)
    , trends_(trends)
{
}

void OpenCommand::setUpScoreFileDialog(QFileDialog& dialog)
{
    setUpLogFileDialog(dialog);
}

QString OpenCommand::chooseScoreFile(QWidget* parent)
{
    QFileDialog dialog(parent);
    setUpScoreFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

void OpenCommand::setBusy(bool busy)
{
    busy_ = busy;
    emit busyChanged(busy);
}

bool OpenCommand::yield()
{
    // Repaint and take input, a close request included. The run offers a
    // yield every few hundred entries, thousands of times a second; taking
    // the events once a frame keeps the window just as live at a fraction
    // of the cost. The first yield of a run always takes them.
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= kEventsEveryMs) {
        QCoreApplication::processEvents();
        sinceEvents_.start();
    }
    return !stopRequested_;
}

void OpenCommand::chooseAndRun(const Filter& filter, const GraphSettings& graph, bool maximisedAtStart)
{
    if (busy_)
        return;
    const QString path = chooser_(&window_);
    if (!path.isEmpty())
        run(path, filter, graph, maximisedAtStart);
}

void OpenCommand::run(const QString& path, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart)
{
    if (busy_)
        return;
    if (!Messages::ask(&window_, RunTexts::confirmation(path.toStdString(), filter)))
        return;
    read(path, filter, graph, maximisedAtStart, false);
}

void OpenCommand::runQuietly(
    const QString& path, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart)
{
    if (busy_)
        return;
    read(path, filter, graph, maximisedAtStart, true);
}

void OpenCommand::read(
    const QString& path, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart, bool quietly)
{
    const std::string pathText = path.toStdString();
    setBusy(true);
    stopRequested_ = false;
    sinceEvents_.invalidate();
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
    // The progress shows in the caption of a minimised window only; the
    // run's last caption, the program's name, names the log as well.
    const QString logTitle = QFileInfo(path).fileName() + " - " + textOf(RunTexts::kTitle);
    callbacks.onCaption = [this, &logTitle](const std::string& text, bool onlyWhenMinimised) {
        if (!onlyWhenMinimised)
            window_.setWindowTitle(logTitle);
        else if (window_.isMinimized())
            window_.setWindowTitle(QString::fromStdString(text));
    };
    callbacks.onYield = [this] { return yield(); };
    AnalysisRun run(analysis_, filter, graph, std::move(callbacks));
    const RunOutcome outcome = run.run(std::filesystem::path(pathText));
    plays_.syncRows();

    if (outcome.state == RunOutcome::State::Completed) {
        trends_.showAnalysis([this] { return yield(); });
        // A window minimised during the run comes back up.
        if (window_.isMinimized())
            window_.setWindowState(maximisedAtStart ? Qt::WindowMaximized : Qt::WindowNoState);
        status_.setStatus(textOf(RunTexts::countsStatus(outcome.entries, outcome.accepted)));
    } else {
        // After a failure neither the status bar nor the caption speaks of a
        // progress that stopped, nor of a log the lists no longer show.
        status_.setStatus(textOf(RunTexts::kIdleStatus));
        window_.setWindowTitle(textOf(RunTexts::kTitle));
    }
    const bool completed = outcome.state == RunOutcome::State::Completed;
    if (!stopRequested_ && !outcome.message.empty() && !(quietly && completed))
        showClosingMessage(outcome.message);
    setBusy(false);
    emit finished(outcome, path);
}

void OpenCommand::showClosingMessage(const std::vector<std::string>& lines)
{
    // Not modal: a modal box would make the window drop a close request
    // that comes while it is up. The commands stay off until it is answered.
    QPointer<QMessageBox> box = Messages::create(&window_, lines, QMessageBox::Ok, QMessageBox::Ok);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QEventLoop wait;
    connect(box, &QMessageBox::finished, &wait, &QEventLoop::quit);
    connect(box, &QObject::destroyed, &wait, &QEventLoop::quit);
    box->show();
    wait.exec();
}

} // namespace tolvane
