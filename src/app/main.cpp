// tolvane: the window program. tolvane [FILE...] opens the logs as File > Open would.
#include "gui/MainWindow.h"
#include "gui/Translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

#ifndef TOLVANE_VERSION
#define TOLVANE_VERSION "0"
#endif

namespace {

constexpr int kBadUsage = 2;

int badUsage(const QCommandLineParser& parser, const QString& message)
{
    std::fprintf(stderr, "tolvane: %s\n\n%s", qPrintable(message), qPrintable(parser.helpText()));
    return kBadUsage;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tolvane");
    QApplication::setApplicationVersion(TOLVANE_VERSION);
    QGuiApplication::setDesktopFileName("org.tolvane.Tolvane");
    // Before the parser, whose own texts (usage, errors) come from Qt too.
    tolvane::installQtJapanese(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "リズムゲームのプレイ履歴 (score.txt) を読み込み、プレイ一覧・ランキング・利用傾向グラフを表示します。");
    const QCommandLineOption help({"h", "help"}, "このヘルプを表示して終了します。");
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument("FILE",
        "開くプレイ履歴ファイル (score.txt)。「ﾌｧｲﾙ」→「開く」と同じく確認してから読み込みます。"
        "複数のファイルは一つの履歴として読み込みます。",
        "[FILE...]");
    if (!parser.parse(QApplication::arguments()))
        return badUsage(parser, parser.errorText());
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();
    const QStringList files = parser.positionalArguments();

    tolvane::MainWindow window;
    window.show();
    if (!files.isEmpty()) {
        // Once the window is up; a path that cannot be read gets File > Open's message.
        QStringList paths;
        for (const QString& file : files)
            paths << QFileInfo(file).absoluteFilePath();
        QTimer::singleShot(0, &window, [&window, paths] { window.openLogs(paths); });
    } else {
        // The last log, when the option says so and it is still there.
        QTimer::singleShot(0, &window, &tolvane::MainWindow::reopenLastLog);
    }
    return QApplication::exec();
}
