// Times the window's Open command on a generated log, wall and CPU, from the
// answer to the confirmation to the completion message drawn on screen, and
// can save what the window then shows. Runs offscreen unless a display is
// given. --core-only times the core's analysis run alone on the same log.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/settings/SettingsFile.h"
#include "gui/MainWindow.h"
#include "gui/OpenCommand.h"
#include "gui/StoredPlacement.h"
#include "gui/charts/NavigationPanel.h"
#include "gui/pages/TrendPage.h"
#include "support/LogGenerator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>

namespace {

void usage()
{
    std::fputs("usage: tolvane_window_bench [--plays N] [--log FILE] [--page 1|2|3] [--chart 1-6] [--level 1-5]\n"
               "                            [--right N] [--pattern CHART:INDEX] [--screenshot PNG]\n"
               "       tolvane_window_bench [--plays N] [--log FILE] --core-only 1\n"
               "--core-only 1 times the core's analysis run alone on the same log, with the window's\n"
               "default settings and no window, to tell the window's share of the Open command.\n",
        stderr);
}

// The process's CPU time, every thread's, in milliseconds.
double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Hands every message box to answer once it is drawn, as a user sees it.
class MessageAnswerer final : public QObject {
public:
    explicit MessageAnswerer(std::function<void(QMessageBox&)> answer)
        : answer_(std::move(answer))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            auto* box = qobject_cast<QMessageBox*>(watched);
            if (box && !box->property(kAnswered).toBool()) {
                box->setProperty(kAnswered, true);
                answer_(*box);
            }
        }
        return false;
    }

private:
    static constexpr const char* kAnswered = "benchAnswered";
    std::function<void(QMessageBox&)> answer_;
};

} // namespace

int main(int argc, char** argv)
{
    int plays = 200000;
    std::string log;
    std::string screenshot;
    int page = 1;
    int chart = 1;
    int level = 1;
    int right = 0;
    int patternChart = 0;
    int patternIndex = -1;
    bool coreOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) {
            usage();
            return 2;
        }
        if (arg == "--plays")
            plays = std::stoi(argv[++i]);
        else if (arg == "--log")
            log = argv[++i];
        else if (arg == "--page")
            page = std::stoi(argv[++i]);
        else if (arg == "--chart")
            chart = std::stoi(argv[++i]);
        else if (arg == "--right")
            right = std::stoi(argv[++i]);
        else if (arg == "--level")
            level = std::stoi(argv[++i]);
        else if (arg == "--pattern") {
            const std::string v = argv[++i];
            patternChart = std::stoi(v.substr(0, v.find(':')));
            patternIndex = std::stoi(v.substr(v.find(':') + 1));
        } else if (arg == "--core-only")
            coreOnly = std::stoi(argv[++i]) != 0;
        else if (arg == "--screenshot")
            screenshot = argv[++i];
        else {
            usage();
            return 2;
        }
    }
    if (log.empty()) {
        log = (std::filesystem::temp_directory_path() / ("tolvane-window-" + std::to_string(plays) + ".txt")).string();
        tolvane::testing::GeneratorOptions options;
        options.plays = plays;
        options.meanGapMinutes = plays > 10000 ? 30 : 600;
        tolvane::testing::writeLog(log, options);
    }
    if (coreOnly) {
        const tolvane::ProgramSettings defaults = tolvane::readSettings(tolvane::IniFile());
        tolvane::Analysis analysis;
        const double cpuStart = cpuMilliseconds();
        QElapsedTimer clock;
        clock.start();
        const tolvane::RunOutcome outcome
            = tolvane::AnalysisRun(analysis, defaults.filter, defaults.graph, {}).run(log);
        const qint64 wall = clock.elapsed();
        const double cpu = cpuMilliseconds() - cpuStart;
        std::printf("plays %d, core analysis run %lld ms, CPU %.0f ms\n", plays, static_cast<long long>(wall), cpu);
        return outcome.state == tolvane::RunOutcome::State::Completed ? 0 : 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    // Settings of its own, so a settings file of the program's never changes what is measured.
    QTemporaryDir settingsFolder;
    const std::filesystem::path settings = std::filesystem::path(settingsFolder.path().toStdString()) / "Tolvane.ini";
    if (patternChart >= 1 && patternChart <= 6) {
        // A light blue fill under a dark blue pattern.
        const std::string graph = "Graph" + std::to_string(patternChart);
        std::ofstream(settings, std::ios::binary) << "[Graph]\r\n"
                                                  << graph << "Color=15777920\r\n"
                                                  << graph << "PatternColor=8400896\r\n"
                                                  << graph << "Pattern=" << patternIndex << "\r\n";
    }
    tolvane::MainWindow window(settings);
    tolvane::StoredPlacement::resizeToOuter(window, 14000, 9000);
    window.show();
    // The window is drawn before the command starts, as it is when a user picks it.
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();

    // Each message box is answered once it is drawn: the confirmation's Yes
    // starts the clocks, and the completion message stops them. The answers
    // go through the event loop, as a click would.
    QElapsedTimer clock;
    qint64 confirmed = -1;
    qint64 completed = -1;
    double cpuStart = 0;
    double cpuMs = -1;
    QString message;
    MessageAnswerer answerer([&](QMessageBox& box) {
        if (QAbstractButton* yes = box.button(QMessageBox::Yes)) {
            QTimer::singleShot(0, yes, [&clock, &confirmed, &cpuStart, yes] {
                cpuStart = cpuMilliseconds();
                clock.start();
                confirmed = 0;
                yes->click();
            });
        } else if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
            completed = clock.elapsed();
            cpuMs = cpuMilliseconds() - cpuStart;
            message = box.text();
            QTimer::singleShot(0, ok, &QAbstractButton::click);
        }
    });
    app.installEventFilter(&answerer);
    window.openLog(QString::fromStdString(log));
    app.removeEventFilter(&answerer);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("plays %d, confirmation to completion message %lld ms, peak memory %ld MB, CPU %.0f ms\n", plays,
        static_cast<long long>(completed), usage.ru_maxrss / 1024, cpuMs);
    std::printf("%s\n", message.toStdString().c_str());

    if (!screenshot.empty()) {
        window.pages()->setCurrentIndex(page - 1);
        window.trendPage()->chartTabs()->setCurrentIndex(chart - 1);
        auto* panel = window.trendPage()->navigationPanel();
        for (int l = 1; l < level; ++l)
            panel->findChild<QPushButton*>("zoomInButton")->click();
        for (int r = 0; r < right; ++r)
            panel->findChild<QPushButton*>("laterButton")->click();
        QApplication::processEvents();
        if (!window.grab().save(QString::fromStdString(screenshot)))
            return 1;
    }
    return confirmed == 0 && completed >= 0 ? 0 : 1;
}
