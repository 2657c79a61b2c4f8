// Times the window's Open command on a generated log, from the answer to the
// confirmation to the completion message, and can save what the window then
// shows. Runs offscreen unless a display is given.
#include "gui/MainWindow.h"
#include "gui/OpenCommand.h"
#include "gui/StoredPlacement.h"
#include "gui/charts/NavigationPanel.h"
#include "gui/pages/TrendPage.h"
#include "support/LogGenerator.h"
#include <QTabWidget>
#include <fstream>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/resource.h>

namespace {

void usage()
{
    std::fputs("usage: tolvane_window_bench [--plays N] [--log FILE] [--page 1|2|3] [--chart 1-6] [--level 1-5]\n"
               "                            [--right N] [--pattern CHART:INDEX] [--screenshot PNG]\n",
        stderr);
}

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
        } else if (arg == "--screenshot")
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

    QElapsedTimer clock;
    qint64 confirmed = -1;
    qint64 completed = -1;
    QString message;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QMessageBox* box = nullptr;
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            if (auto* candidate = qobject_cast<QMessageBox*>(shown); candidate && candidate->isVisible())
                box = candidate;
        }
        if (!box)
            return;
        if (box->button(QMessageBox::Yes)) {
            clock.start();
            confirmed = 0;
            box->button(QMessageBox::Yes)->click();
        } else {
            completed = clock.elapsed();
            message = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    answer.start(1);
    window.openLog(QString::fromStdString(log));
    answer.stop();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("plays %d, confirmation to completion message %lld ms, peak memory %ld MB\n", plays,
        static_cast<long long>(completed), usage.ru_maxrss / 1024);
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
