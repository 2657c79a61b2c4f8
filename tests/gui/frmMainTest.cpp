#include "core/analysis/RunTexts.h"
#include "support/GuiTest.h"
#include "support/LogGenerator.h"
#include "support/LogText.h"
#include "gui/OpenCommand.h"
#include "gui/StatusProgress.h"
#include "gui/frmMain.h"
#include "gui/charts/ChartPage.h"
#include "gui/charts/BarChart.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTest>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::testing::MessageBoxAnswerer;

namespace {

const QString kNotImplemented = "まだ未実装です m(_ _)mｽﾏｿ";

class frmMainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tolvane::testing::ensureApplication();
        window = std::make_unique<frmMain>(settingsPath());
        window->show();
        ASSERT_TRUE(dir.isValid());
    }

    std::filesystem::path settingsPath() const { return std::filesystem::path(dir.path().toStdString()) / "Tolvane.ini"; }
    QWidget* widget(const char* name) const { return window->findChild<QWidget*>(name); }
    QAction* action(const char* name) const { return window->findChild<QAction*>(name); }

    std::string writeLog(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (std::filesystem::path(dir.path().toStdString()) / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Runs File > Open on path, answering the confirmation and the closing message.
    std::vector<MessageBoxAnswerer::Seen> open(const std::string& path, bool yes = true)
    {
        window->openCommand().setFileChooser([path](QWidget*) { return QString::fromStdString(path); });
        MessageBoxAnswerer answers({yes ? QMessageBox::Yes : QMessageBox::No, QMessageBox::Ok});
        window->mnuFileOpen_Click();
        return answers.seen();
    }

    int rows(const char* list) const
    {
        return window->findChild<QTableView*>(list)->model()->rowCount();
    }

    QTemporaryDir dir;
    std::unique_ptr<frmMain> window;
};

std::string generated(int plays)
{
    tolvane::testing::GeneratorOptions options;
    options.plays = plays;
    return tolvane::testing::generateLog(options).bytes;
}

} // namespace

TEST_F(frmMainTest, StartsOnTheDataListWithTheControlsNamedAndCaptioned)
{
    EXPECT_EQ(window->windowTitle(), "Tolvane");
    EXPECT_TRUE(widget("Frame1(1)")->isVisible());
    EXPECT_FALSE(widget("Frame1(2)")->isVisible());
    EXPECT_FALSE(widget("Frame1(3)")->isVisible());
    for (int i = 1; i <= 6; ++i)
        EXPECT_FALSE(widget(QString("Frame2(%1)").arg(i).toUtf8().constData())->isVisible());
    auto* tabs1 = window->findChild<QTabBar*>("TabStrip1");
    ASSERT_EQ(tabs1->count(), 3);
    EXPECT_EQ(tabs1->tabText(2), "利用傾向の調査");
    auto* tabs2 = window->findChild<QTabBar*>("TabStrip2");
    ASSERT_EQ(tabs2->count(), 6);
    EXPECT_EQ(tabs2->tabText(5), "時間帯別");
    EXPECT_EQ(window->statusProgress().status(), "ｽﾃｰﾀｽ");
    EXPECT_FALSE(window->statusProgress().dateText().isEmpty());
    EXPECT_FALSE(window->statusProgress().timeText().isEmpty());

    auto* list = window->findChild<QTableView*>("ListView1");
    ASSERT_EQ(list->model()->columnCount(), 10);
    EXPECT_EQ(list->model()->headerData(7, Qt::Horizontal).toString(), "TotalNote");
    EXPECT_EQ(list->columnWidth(0), twipsToPixels(2000, window->dpi()));
}

TEST_F(frmMainTest, MenusShowOnlyOpenExitOptionsAndAbout)
{
    QStringList shown;
    for (QAction* menu : window->menuBar()->actions()) {
        if (!menu->isVisible())
            continue;
        shown << menu->text();
        for (QAction* item : menu->menu()->actions()) {
            if (item->isVisible())
                shown << (item->isSeparator() ? "-" : item->text());
        }
    }
    EXPECT_EQ(shown, QStringList({"ﾌｧｲﾙ(&F)", "開く(&O)...", "-", "終了(&X)", "ﾂｰﾙ(&T)", "ｵﾌﾟｼｮﾝ(&O)...",
                                  "ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}));

    auto* bar = window->findChild<QToolBar*>("tbToolBar");
    QStringList tips;
    for (QAction* a : bar->actions())
        tips << (a->isSeparator() ? "-" : a->toolTip());
    EXPECT_EQ(tips, QStringList({"新規作成", "開く", "上書き保存", "-", "印刷"}));
    for (QAction* a : bar->actions())
        EXPECT_TRUE(a->isSeparator() || !a->icon().pixmap(16).isNull()) << a->toolTip().toStdString();
}

TEST_F(frmMainTest, CommandsNotYetBuiltSaySoAndDoNothingElse)
{
    std::vector<std::function<void()>> commands = {
        [&] { action("mnuFileNew")->trigger(); },
        [&] { action("mnuFileSave")->trigger(); },
        [&] { action("mnuFileSaveAs")->trigger(); },
        [&] { action("mnuFilePageSetup")->trigger(); },
        [&] { action("mnuFilePrintPreview")->trigger(); },
        [&] { action("mnuFilePrint")->trigger(); },
        [&] { action("mnuEditCopy")->trigger(); },
        [&] { action("mnuHelpContents")->trigger(); },
        [&] { action("mnuHelpSearchForHelpOn")->trigger(); },
        [&] { action("tbToolBar_New")->trigger(); },
        [&] { action("tbToolBar_Save")->trigger(); },
        [&] { action("tbToolBar_Print")->trigger(); },
    };
    for (std::size_t i = 0; i < commands.size(); ++i) {
        MessageBoxAnswerer answers;
        commands[i]();
        ASSERT_EQ(answers.seen().size(), 1u) << i;
        EXPECT_EQ(answers.seen()[0].title, "Tolvane");
        EXPECT_EQ(answers.seen()[0].text, kNotImplemented);
        EXPECT_EQ(answers.seen()[0].icon, QMessageBox::NoIcon);
        EXPECT_EQ(answers.seen()[0].buttons, QMessageBox::Ok);
    }
    EXPECT_EQ(window->CurrentPage, 1);
    // A key the toolbar does not know does nothing.
    MessageBoxAnswerer none;
    window->tbToolBar_ButtonClick("削除");
    EXPECT_TRUE(none.seen().empty());
}

TEST_F(frmMainTest, TabsSwitchPagesAndThirdPageRemembersItsChart)
{
    window->TabStrip1_Click(3);
    EXPECT_TRUE(widget("Frame1(3)")->isVisible());
    EXPECT_FALSE(widget("Frame1(1)")->isVisible());
    EXPECT_TRUE(widget("Frame2(1)")->isVisible());
    window->TabStrip2_Click(4);
    EXPECT_TRUE(widget("Frame2(4)")->isVisible());
    EXPECT_FALSE(widget("Frame2(1)")->isVisible());
    window->TabStrip1_Click(2);
    EXPECT_TRUE(widget("Frame1(2)")->isVisible());
    EXPECT_FALSE(widget("Frame1(3)")->isVisible());
    window->TabStrip1_Click(3);
    EXPECT_TRUE(widget("Frame2(4)")->isVisible());
    EXPECT_EQ(window->CurrentPage, 3);
    EXPECT_EQ(window->CurrentChartTab, 4);
    // Clicking the tab already shown changes nothing.
    window->TabStrip2_Click(4);
    EXPECT_TRUE(widget("Frame2(4)")->isVisible());
    EXPECT_EQ(window->CurrentChartTab, 4);

    // The tab bars follow the pages, and choosing a tab by keyboard switches too.
    auto* tabs1 = window->findChild<QTabBar*>("TabStrip1");
    EXPECT_EQ(tabs1->currentIndex(), 2);
    tabs1->setCurrentIndex(0);
    EXPECT_EQ(window->CurrentPage, 1);
    EXPECT_TRUE(widget("Frame1(1)")->isVisible());
    EXPECT_FALSE(widget("Frame1(3)")->isVisible());
}

TEST_F(frmMainTest, ControlsFollowTheWindowsSize)
{
    window->resizeToOuterTwips(12000, 8000);
    QApplication::processEvents();
    const double dpi = window->dpi();
    EXPECT_NEAR(window->outerWidthTwips(), 12000, 15);
    EXPECT_NEAR(widget("TabStrip1")->width(), twipsToPixels(11870, dpi), 1);
    EXPECT_NEAR(widget("ListView1")->width(), twipsToPixels(11680, dpi), 1);
    EXPECT_NEAR(widget("ListView2")->width(), twipsToPixels(11680, dpi), 1);

    const QSize before = widget("ListView1")->size();
    window->showMinimized();
    QApplication::processEvents();
    window->Form_Resize();
    EXPECT_EQ(widget("ListView1")->size(), before);
}

TEST_F(frmMainTest, ExitClosesTheWindow)
{
    action("mnuFileExit")->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(frmMainTest, OpenReadsALogToTheCompletionMessage)
{
    const std::string path = writeLog("score.txt", generated(500));
    const auto seen = open(path);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen[0].icon, QMessageBox::NoIcon);
    EXPECT_TRUE(seen[0].text.startsWith("以下の設定で解析を始めます。よろしいですか。\nファイル名 " + QString::fromStdString(path)));
    EXPECT_TRUE(seen[1].text.startsWith("解析が完了しました。\nファイルサイズ     "));
    EXPECT_EQ(rows("ListView1"), 500);
    EXPECT_EQ(window->statusProgress().status(), "ｽﾃｰﾀｽ");
    EXPECT_EQ(window->windowTitle(), "Tolvane");
    EXPECT_TRUE(window->analysis().navigation.AnalysisDone);
    EXPECT_TRUE(action("mnuFileOpen")->isEnabled());
    // The charts show the run: the period chart at level 1, the totals charts filled.
    auto* period = window->findChild<BarChart*>("MSChart1(1)");
    ASSERT_NE(period, nullptr);
    EXPECT_EQ(period->rowCount(), static_cast<int>(window->analysis().periodChart.rows.size()));
    EXPECT_EQ(window->findChild<BarChart*>("MSChart1(6)")->rowCount(), 24);
    EXPECT_EQ(window->findChild<QLabel*>("Label6(0)")->text(),
              QString::fromStdString(window->analysis().periodChart.from));

    // The same log again gives the same list.
    const QVariant last = window->findChild<QTableView*>("ListView1")->model()->index(499, 2).data();
    open(path);
    EXPECT_EQ(rows("ListView1"), 500);
    EXPECT_EQ(window->findChild<QTableView*>("ListView1")->model()->index(499, 2).data(), last);
}

TEST_F(frmMainTest, AnsweringNoChangesNothing)
{
    const std::string path = writeLog("score.txt", generated(50));
    open(path);
    const auto seen = open(writeLog("other.txt", generated(20)), false);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(rows("ListView1"), 50);

    // Cancelling the file dialog neither asks nor changes anything.
    window->openCommand().setFileChooser([](QWidget*) { return QString(); });
    MessageBoxAnswerer answers;
    window->mnuFileOpen_Click();
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_EQ(rows("ListView1"), 50);
}

TEST_F(frmMainTest, FailuresTellTheirCause)
{
    using tolvane::testing::EntryText;
    auto failureOf = [&](const std::string& path) {
        const auto seen = open(path);
        return seen.size() == 2 ? seen[1].text : QString("(no message)");
    };
    EXPECT_EQ(failureOf((std::filesystem::path(dir.path().toStdString()) / "missing.txt").string()),
              "Score.txtがみつかりません。");
    std::string cut = tolvane::testing::logOf({EntryText{}, EntryText{}});
    cut.resize(cut.size() - 60);
    EXPECT_EQ(failureOf(writeLog("cut.txt", cut)),
              "スコアファイルを解析できませんでした。\n10行目: エントリーの途中でファイルが終わっています。");
    EntryText badDate;
    badDate.date = "Date:2001/02/30 10:00:00";
    EXPECT_TRUE(failureOf(writeLog("date.txt", tolvane::testing::logOf({badDate})))
                    .startsWith("スコアファイルを解析できませんでした。\n2行目: "));
    window->filter.ScoreFilter = true;
    window->filter.MinScore = 99999999;
    EXPECT_TRUE(failureOf(writeLog("none.txt", tolvane::testing::logOf({EntryText{}})))
                    .startsWith("スコアファイルを解析できませんでした。\n"));
    EXPECT_FALSE(window->analysis().navigation.AnalysisDone);
}

TEST_F(frmMainTest, RankingChooserBeforeAndAfterAnOpen)
{
    auto* chooser = window->findChild<QComboBox*>("Combo1");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->currentText(), "");
    auto* list = window->findChild<QTableView*>("ListView2");
    EXPECT_EQ(list->model()->columnCount(), 1);

    open(writeLog("score.txt", generated(300)));
    chooser->setCurrentIndex(0); // "タイトル"
    QMetaObject::invokeMethod(chooser, "activated", Q_ARG(int, 0));
    EXPECT_EQ(list->model()->columnCount(), 8);
    EXPECT_GT(list->model()->rowCount(), 0);

    // A new Open keeps the columns and drops the rows.
    open(writeLog("score2.txt", generated(100)));
    EXPECT_EQ(list->model()->columnCount(), 8);
    EXPECT_EQ(list->model()->rowCount(), 0);
}

TEST_F(frmMainTest, NothingCutsIntoARunningAnalysisAndClosingStopsIt)
{
    const std::string path = writeLog("score.txt", generated(3000));
    window->openCommand().setFileChooser([path](QWidget*) { return QString::fromStdString(path); });
    bool openEnabledDuringRun = true;
    bool chooserEnabledDuringRun = true;
    bool closed = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!window->openCommand().running() || closed)
            return;
        openEnabledDuringRun = action("mnuFileOpen")->isEnabled() || action("tbToolBar_Open")->isEnabled();
        chooserEnabledDuringRun = window->findChild<QComboBox*>("Combo1")->isEnabled() ||
                                  window->findChild<QPushButton*>("CommandUP")->isEnabled() ||
                                  action("mnuToolsOptions")->isEnabled();
        closed = true;
        window->close();
    });
    probe.start(0);
    MessageBoxAnswerer answers({QMessageBox::Yes});
    window->mnuFileOpen_Click();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(openEnabledDuringRun);
    EXPECT_FALSE(chooserEnabledDuringRun);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(answers.seen().size(), 1u); // no completion message
    EXPECT_FALSE(window->analysis().navigation.AnalysisDone);
}

TEST_F(frmMainTest, AMinimisedWindowShowsTheProgressInItsCaptionAndComesBackUp)
{
    const std::string path = writeLog("score.txt", generated(2000));
    window->setWindowState(Qt::WindowMinimized);
    QStringList titles;
    QObject::connect(window.get(), &QWidget::windowTitleChanged, [&](const QString& t) { titles << t; });
    open(path);
    ASSERT_FALSE(titles.isEmpty());
    EXPECT_TRUE(titles.front().startsWith("解析中…  "));
    EXPECT_TRUE(titles.contains("計測中…\u300090%"));
    EXPECT_EQ(titles.back(), "Tolvane");
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(window->statusProgress().status(), "ｽﾃｰﾀｽ");

    // A window that stays up keeps its caption until the end.
    titles.clear();
    open(path);
    EXPECT_EQ(titles, QStringList());
}

TEST(ScoreFileDialog, ListsOnlyFilesNamedScoreTxtInAnyLetterCase)
{
    tolvane::testing::ensureApplication();
    QTemporaryDir dir;
    for (const char* name : {"score.txt", "other.txt", "scores.txt"})
        std::ofstream((dir.path() + "/" + name).toStdString()) << "x";
    QDir(dir.path()).mkdir("logs");
    std::ofstream((dir.path() + "/logs/SCORE.TXT").toStdString()) << "x";

    auto listed = [](const QString& folder) {
        QFileDialog dialog;
        OpenCommand::setUpScoreFileDialog(dialog);
        dialog.setDirectory(folder);
        dialog.show();
        auto* model = dialog.findChild<QFileSystemModel*>();
        QStringList names;
        if (!model)
            return names;
        const QModelIndex root = model->index(folder);
        if (!QTest::qWaitFor([&] { return model->rowCount(root) > 0; }, 3000))
            return names;
        QTest::qWait(100);
        for (int r = 0; r < model->rowCount(root); ++r) {
            const QModelIndex i = model->index(r, 0, root);
            // A file that does not match may be listed greyed out instead of hidden.
            if (i.flags() & Qt::ItemIsEnabled)
                names << i.data().toString();
        }
        names.sort();
        return names;
    };
    EXPECT_EQ(listed(dir.path()), QStringList({"logs", "score.txt"}));
    EXPECT_EQ(listed(dir.path() + "/logs"), QStringList({"SCORE.TXT"}));
}

TEST_F(frmMainTest, SwitchingTabsRedrawsNothing)
{
    open(writeLog("score.txt", generated(400)));
    window->TabStrip1_Click(3);
    window->chartPage().CommandUP_Click(); // the first play's year, by month
    auto* period = window->findChild<BarChart*>("MSChart1(1)");
    ASSERT_EQ(period->rowCount(), 12);
    const QString firstLabel = period->rowLabel(1);
    window->TabStrip2_Click(4);
    window->TabStrip1_Click(1);
    window->TabStrip1_Click(3);
    window->TabStrip2_Click(1);
    EXPECT_EQ(period->rowCount(), 12);
    EXPECT_EQ(period->rowLabel(1), firstLabel);
    EXPECT_EQ(window->analysis().navigation.ChartLevel, 2);
}

TEST_F(frmMainTest, ClosingTheOptionsDialogRestylesTheChartsOnlyAfterAnAnalysis)
{
    // The options dialog is closed with its close control, which keeps the styles it opened with.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && !qobject_cast<QMessageBox*>(dialog))
            dialog->close();
    });
    closer.start(5);
    auto* weekday = window->findChild<BarChart*>("MSChart1(5)");
    window->graph.Pattern[5] = 3;
    window->mnuToolsOptions_Click();
    EXPECT_EQ(weekday->barStyle().style, 0); // nothing analysed yet: only the setting changed

    open(writeLog("score.txt", generated(100)));
    EXPECT_EQ(weekday->barStyle().style, 2); // the run applies every style
    window->graph.Pattern[5] = 7;
    window->mnuToolsOptions_Click();
    EXPECT_EQ(weekday->barStyle().index, 7);
    EXPECT_EQ(window->findChild<BarChart*>("MSChart1(4)")->barStyle().style, 0);
}
