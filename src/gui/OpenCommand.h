#pragma once

#include "core/trends/ChartStyle.h"
#include "core/analysis/AnalysisRun.h"
#include "core/log/Filter.h"

#include <QObject>
#include <QString>
#include <functional>

class QFileDialog;
class QMainWindow;
class QWidget;

namespace tolvane {

class Analysis;
class PlayListModel;
class RankingPage;
class StatusProgress;

// File > Open: picks score.txt, asks for confirmation of the load filters and
// runs one analysis to its completion or failure message. The window stays
// live while a log is read: the run yields to the event loop now and then.
class OpenCommand final : public QObject {
    Q_OBJECT

public:
    // Gives the chosen file's path, or an empty text when the user cancels.
    using FileChooser = std::function<QString(QWidget* parent)>;

    OpenCommand(QMainWindow& window, Analysis& analysis, StatusProgress& status, PlayListModel& plays,
                RankingPage& rankings);

    // Tests and scripts hand the path over without a dialog.
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    // windowState is the state the settings asked for at start (0 normal,
    // 2 maximised): a window minimised during the run comes back up in it.
    void run(const Filter& filter, const GraphSettings& graph, int windowState);

    bool running() const { return running_; }
    // Ends a run at its next yield (the window is closing).
    void requestStop() { stopRequested_ = true; }

    // The dialog the program shows: "開く", listing only files named score.txt.
    static QString chooseScoreFile(QWidget* parent);
    static void setUpScoreFileDialog(QFileDialog& dialog);

signals:
    void runningChanged(bool running);
    // The run has drawn the charts and applied their styles.
    void chartsDrawn();
    // The run is over, whatever its outcome.
    void finished(const tolvane::RunOutcome& outcome);

private:
    void setRunning(bool running);
    void setCaption(const std::string& text, bool onlyWhenMinimised);

    QMainWindow& window_;
    Analysis& analysis_;
    StatusProgress& status_;
    PlayListModel& plays_;
    RankingPage& rankings_;
    FileChooser chooser_ = &OpenCommand::chooseScoreFile;
    bool running_ = false;
    bool stopRequested_ = false;
};

} // namespace tolvane
