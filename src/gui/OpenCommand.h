#pragma once

#include "core/analysis/AnalysisRun.h"
#include "core/log/Filter.h"
#include "core/trends/ChartStyle.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QFileDialog;
class QMainWindow;
class QWidget;

namespace tolvane {

class HistoryNotifier;
class StatusProgress;

// File > Open: picks score.txt, asks for confirmation of the load filters and
// runs one analysis to its completion or failure message. The window stays
// live while a log is read: the run yields to the event loop now and then,
// and the closing message leaves the window able to take a close request,
// which is carried out once the message is answered.
class OpenCommand final : public QObject {
    Q_OBJECT

public:
    // Gives the chosen file's path, or an empty text when the user cancels.
    using FileChooser = std::function<QString(QWidget* parent)>;
    // Gives the chosen files' paths, or none when the user cancels.
    using FilesChooser = std::function<QStringList(QWidget* parent)>;

    OpenCommand(QMainWindow& window, HistoryNotifier& history, StatusProgress& status);

    // Tests and scripts hand the path over without a dialog.
    void setFileChooser(FileChooser chooser);
    void setFilesChooser(FilesChooser chooser) { chooser_ = std::move(chooser); }

    // Asks for a file, then runs as run() does.
    void chooseAndRun(const Filter& filter, const GraphSettings& graph, bool maximisedAtStart);
    // Asks for confirmation, then reads the log at path. A window minimised
    // during the run comes back up, maximised when maximisedAtStart.
    void run(const QString& path, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart);
    // The same for several logs, read as one history.
    void run(const QStringList& paths, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart);
    // Reads the log at path without asking first, and without the completion
    // message (a failure still has its message): the last log opened again at
    // start, or a followed log read again in full.
    void runQuietly(const QStringList& paths, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart);

    // From the confirmation's answer until the closing message is answered.
    bool busy() const { return busy_; }
    // Ends a run at its next yield and skips the closing message (the window is closing).
    void requestStop() { stopRequested_ = true; }

    // The dialog the program shows: "開く", listing files named score.txt first.
    static QString chooseScoreFile(QWidget* parent);
    static void setUpScoreFileDialog(QFileDialog& dialog);

signals:
    void busyChanged(bool busy);
    // The run is over and its message answered, whatever its outcome; paths
    // are the logs it read.
    void finished(const tolvane::RunOutcome& outcome, const QStringList& paths);

private:
    // How often, at most, a run takes the window's events: about once a frame.
    static constexpr qint64 kEventsEveryMs = 16;

    void read(const QStringList& paths, const Filter& filter, const GraphSettings& graph, bool maximisedAtStart,
        bool quietly);
    void setBusy(bool busy);
    bool yield();
    // The closing message, answered before this returns; the window stays
    // open to input meanwhile, so a close request is not lost.
    void showClosingMessage(const std::vector<std::string>& lines);

    QMainWindow& window_;
    HistoryNotifier& history_;
    StatusProgress& status_;
    FilesChooser chooser_;
    bool busy_ = false;
    bool stopRequested_ = false;
    // Since the run last took the window's events; invalid at a run's start.
    QElapsedTimer sinceEvents_;
};

} // namespace tolvane
