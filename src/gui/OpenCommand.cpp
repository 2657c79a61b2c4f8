#include "gui/OpenCommand.h"

#include "core/analysis/RunTexts.h"
#include "core/files/LogFileRefusal.h"
#include "gui/HistoryNotifier.h"
#include "gui/LogPath.h"
#include "gui/Messages.h"
#include "gui/StatusProgress.h"
#include "gui/dialogs/SkippedEntriesDialog.h"
#include "gui/files/LogFileDialog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
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

OpenCommand::OpenCommand(QMainWindow& window, HistoryNotifier& history, StatusProgress& status)
    : QObject(&window)
    , window_(window)
    , history_(history)
    , status_(status)
{
    setFileChooser(&OpenCommand::chooseScoreFile);
}

void OpenCommand::setFileChooser(FileChooser chooser)
{
    chooser_ = [chooser = std::move(chooser)](QWidget* parent) {
        const QString path = chooser(parent);
        return path.isEmpty() ? QStringList() : QStringList{path};
    };
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
    const QStringList paths = chooser_(&window_);
    if (!paths.isEmpty())
        run(paths, filter, graph, maximisedAtStart);
}

void OpenCommand::run(const QString& path, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart)
{
    run(QStringList{path}, filter, graph, maximisedAtStart);
}

void OpenCommand::run(const QStringList& paths, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart)
{
    if (busy_ || paths.isEmpty())
        return;
    // A folder, a device or a pipe is no log: say so before asking anything.
    for (const QString& path : paths) {
        if (const auto refusal = logFileRefusal(logPath(path))) {
            Messages::inform(&window_, {*refusal});
            return;
        }
    }
    if (!Messages::ask(&window_, RunTexts::confirmation(paths.join(' ').toStdString(), filter)))
        return;
    read(paths, filter, graph, maximisedAtStart, false);
}

void OpenCommand::runQuietly(
    const QStringList& paths, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart)
{
    if (busy_ || paths.isEmpty())
        return;
    read(paths, filter, graph, maximisedAtStart, true);
}

void OpenCommand::read(
    const QStringList& paths, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart, bool quietly)
{
    setBusy(true);
    stopRequested_ = false;
    sinceEvents_.invalidate();
    // The pages keep showing the history that is open until the new one is
    // read in full: a run that fails or stops leaves them as they are.
    std::vector<LogSource> logs;
    for (const QString& path : paths)
        logs.push_back({logPath(path)});

    RunCallbacks callbacks;
    callbacks.onStatus = [this](const std::string& text) { status_.setStatus(QString::fromStdString(text)); };
    // The progress shows in the caption of a minimised window only; the
    // run's last caption, the program's name, names the log as well.
    QString logTitle = QFileInfo(paths.front()).fileName() + " - " + textOf(RunTexts::kTitle);
    if (paths.size() > 1)
        logTitle = tr("%1 件のログ").arg(paths.size()) + " - " + textOf(RunTexts::kTitle);
    const QString previousTitle = window_.windowTitle();
    callbacks.onCaption = [this](const std::string& text, bool onlyWhenMinimised) {
        if (onlyWhenMinimised && window_.isMinimized())
            window_.setWindowTitle(QString::fromStdString(text));
    };
    callbacks.onYield = [this] { return yield(); };
    RunOutcome outcome = history_.load(logs, filter, graph, callbacks);
    // A damaged log may be read again, leaving its damaged entries out.
    bool skipped = false;
    if (outcome.failure && outcome.failure->kind == AnalysisFailure::Kind::Format
        && outcome.failure->cause != AnalysisFailure::Cause::MaxComboTooLarge && !stopRequested_
        && Messages::offerSkipDamaged(&window_, outcome.message)) {
        outcome = history_.load(logs, filter, graph, callbacks, true);
        skipped = outcome.state == RunOutcome::State::Completed;
    } else if (outcome.failure && outcome.failure->kind == AnalysisFailure::Kind::Format && !stopRequested_) {
        // The offer was the failure's message, answered No.
        outcome.message.clear();
    }

    std::vector<std::string> message = outcome.message;
    if (outcome.state == RunOutcome::State::Completed) {
        if (outcome.duplicates > 0)
            logTitle = tr("%1 件のログ, 重複 %2 件").arg(paths.size()).arg(outcome.duplicates) + " - "
                + textOf(RunTexts::kTitle);
        window_.setWindowTitle(logTitle);
        // A window minimised during the run comes back up.
        if (window_.isMinimized())
            window_.setWindowState(maximisedAtStart ? Qt::WindowMaximized : Qt::WindowNoState);
        status_.setStatus(textOf(RunTexts::countsStatus(outcome.entries, outcome.accepted)));
        if (paths.size() > 1 && !message.empty())
            message.push_back(tr("%1 件のログ (重複 %2 件)").arg(paths.size()).arg(outcome.duplicates).toStdString());
    } else {
        // After a failure the status bar does not speak of a progress that
        // stopped, and the caption names the history still shown.
        status_.setStatus(history_.history().empty() ? textOf(RunTexts::kIdleStatus) : tr("前のログを表示しています"));
        window_.setWindowTitle(history_.history().empty() ? textOf(RunTexts::kTitle) : previousTitle);
    }
    const bool completed = outcome.state == RunOutcome::State::Completed;
    if (!stopRequested_ && !message.empty() && !(quietly && completed))
        showClosingMessage(message);
    if (skipped && !stopRequested_)
        SkippedEntriesDialog(outcome.skipped, outcome.unreadable, &window_).exec();
    setBusy(false);
    emit finished(outcome, paths);
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
