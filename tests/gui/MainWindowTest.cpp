#include "gui/MainWindow.h"
#include "core/analysis/RunTexts.h"
#include "gui/OpenCommand.h"
#include "gui/StatusProgress.h"
#include "gui/StoredPlacement.h"
#include "gui/calendar/CalendarPage.h"
#include "gui/charts/BarChart.h"
#include "gui/charts/NavigationPanel.h"
#include "gui/files/FileCommands.h"
#include "gui/files/LiveLog.h"
#include "gui/models/DayFilterBar.h"
#include "gui/models/ItemRoles.h"
#include "gui/models/RankingModel.h"
#include "gui/pages/RankingPage.h"
#include "gui/pages/TrendPage.h"
#include "gui/period/ViewPeriodBar.h"
#include "gui/search/PlayFilterProxy.h"
#include "gui/sessions/SessionTableModel.h"
#include "gui/sessions/SessionsPage.h"
#include "gui/song/SongPage.h"
#include "support/GuiTest.h"
#include "support/LogGenerator.h"
#include "support/LogText.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

using namespace tolvane;
using tolvane::testing::MessageBoxAnswerer;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tolvane::testing::ensureApplication();
        ASSERT_TRUE(dir.isValid());
        makeWindow();
    }

    void makeWindow()
    {
        window = std::make_unique<MainWindow>(settingsPath());
        window->show();
    }

    std::filesystem::path folder() const { return std::filesystem::path(dir.path().toStdString()); }
    std::filesystem::path settingsPath() const { return folder() / "Tolvane.ini"; }
    QAction* action(const char* name) const { return window->findChild<QAction*>(name); }
    QString status() const { return window->statusProgress().status(); }

    std::string writeLog(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (folder() / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Runs File > Open on path, answering the confirmation and the closing message.
    std::vector<MessageBoxAnswerer::Seen> open(const std::string& path, bool yes = true)
    {
        window->openCommand().setFileChooser([path](QWidget*) { return QString::fromStdString(path); });
        MessageBoxAnswerer answers({yes ? QMessageBox::Yes : QMessageBox::No, QMessageBox::Ok});
        action("openAction")->trigger();
        return answers.seen();
    }

    // A close request as the desktop sends it: to the native window, not a call of close().
    void closeFromTheDesktop() const
    {
        QCloseEvent request;
        QApplication::sendEvent(window->windowHandle(), &request);
    }

    int rows(QTableView* list) const { return list->model()->rowCount(); }
    BarChart* chart(int index) const { return window->trendPage()->chart(index); }
    QPushButton* navigationButton(const char* name) const
    {
        return window->trendPage()->navigationPanel()->findChild<QPushButton*>(name);
    }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
};

std::string generated(int plays)
{
    tolvane::testing::GeneratorOptions options;
    options.plays = plays;
    return tolvane::testing::generateLog(options).bytes;
}

} // namespace

TEST_F(MainWindowTest, StartsOnTheDataListWithItsCaptions)
{
    EXPECT_EQ(window->windowTitle(), "Tolvane");
    QTabWidget* pages = window->pages();
    ASSERT_EQ(pages->count(), 5);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(pages->tabText(0), "データ一覧");
    EXPECT_EQ(pages->tabText(1), "ランキング");
    EXPECT_EQ(pages->tabText(2), "利用傾向の調査");
    EXPECT_EQ(pages->tabText(3), "カレンダー");
    EXPECT_EQ(pages->tabText(4), "セッション");
    QTabWidget* charts = window->trendPage()->chartTabs();
    ASSERT_EQ(charts->count(), 6);
    EXPECT_EQ(charts->tabText(0), "総合");
    EXPECT_EQ(charts->tabText(5), "時間帯別");
    EXPECT_EQ(status(), "ｽﾃｰﾀｽ");
    EXPECT_FALSE(window->statusProgress().dateText().isEmpty());
    EXPECT_FALSE(window->statusProgress().timeText().isEmpty());

    QTableView* list = window->playList();
    ASSERT_EQ(list->model()->columnCount(), 10);
    EXPECT_EQ(list->model()->headerData(7, Qt::Horizontal).toString(), "TotalNote");
    EXPECT_EQ(list->columnWidth(0), StoredPlacement::toPixels(2000, list->logicalDpiX()));
}

TEST_F(MainWindowTest, MenusShowTheFileCommandsCopyOptionsAndAbout)
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
    EXPECT_EQ(shown,
        QStringList({"ﾌｧｲﾙ(&F)", "開く(&O)...", "ログを追加(&L)...", "-", "上書き保存(&S)", "名前を付けて保存(&A)...",
            "-", "ﾍﾟｰｼﾞ設定(&U)...", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "印刷(&P)...", "-", "終了(&X)", "編集(&E)", "ｺﾋﾟｰ(&C)", "検索",
            "ﾂｰﾙ(&T)", "ｵﾌﾟｼｮﾝ(&O)...", "ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}));
    // Each command with a standard key has it; the menus show it beside the caption.
    const std::pair<const char*, QKeySequence::StandardKey> keys[]
        = {{"newAction", QKeySequence::New}, {"openAction", QKeySequence::Open}, {"saveAction", QKeySequence::Save},
            {"saveAsAction", QKeySequence::SaveAs}, {"printAction", QKeySequence::Print},
            {"exitAction", QKeySequence::Quit}, {"copyAction", QKeySequence::Copy}, {"findAction", QKeySequence::Find},
            {"optionsAction", QKeySequence::Preferences}, {"aboutAction", QKeySequence::HelpContents}};
    for (const auto& [name, key] : keys)
        EXPECT_EQ(action(name)->shortcut(), QKeySequence(key)) << name;
    for (const char* name : {"openAction", "findAction"})
        EXPECT_FALSE(action(name)->shortcut().isEmpty()) << name << " has a key on this desktop";

    auto* bar = window->findChild<QToolBar*>("toolBar");
    QStringList tips;
    for (QAction* a : bar->actions())
        tips << (a->isSeparator() ? "-" : a->toolTip());
    EXPECT_EQ(tips, QStringList({"新規作成", "開く", "上書き保存", "-", "印刷"}));
    for (QAction* a : bar->actions())
        EXPECT_TRUE(a->isSeparator() || !a->icon().pixmap(16).isNull()) << a->toolTip().toStdString();
    // Menu and toolbar share one command each.
    for (const char* name : {"openAction", "saveAction", "printAction"})
        EXPECT_TRUE(bar->actions().contains(action(name))) << name;
}

TEST_F(MainWindowTest, NewClosesTheHistoryWithoutAskingAnything)
{
    open(writeLog("score.txt", generated(50)));
    ASSERT_EQ(window->playList()->model()->rowCount(), 50);
    MessageBoxAnswerer answers;
    action("newAction")->trigger();
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_EQ(window->playList()->model()->rowCount(), 0);
    EXPECT_FALSE(window->analysis().navigation.analysisDone);
    EXPECT_EQ(window->windowTitle(), "Tolvane");
    EXPECT_FALSE(action("addLogAction")->isEnabled());
}

TEST_F(MainWindowTest, ExitClosesTheWindow)
{
    action("exitAction")->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, OpenReadsALogToTheCompletionMessage)
{
    const std::string path = writeLog("score.txt", generated(500));
    const auto seen = open(path);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen[0].icon, QMessageBox::NoIcon);
    EXPECT_TRUE(seen[0].text.startsWith(
        "以下の設定で解析を始めます。よろしいですか。\nファイル名 " + QString::fromStdString(path)));
    EXPECT_TRUE(seen[1].text.startsWith("解析が完了しました。\nファイルサイズ     "));
    EXPECT_EQ(rows(window->playList()), 500);
    // The status counts the plays; the title names the log.
    EXPECT_EQ(status(), "500 件 (0 件除外)");
    EXPECT_EQ(window->windowTitle(), "score.txt - Tolvane");
    EXPECT_TRUE(window->analysis().navigation.analysisDone);
    EXPECT_TRUE(action("openAction")->isEnabled());
    // The charts show the run: the period chart at level 1, the totals charts filled.
    EXPECT_EQ(chart(0)->rowCount(), static_cast<int>(window->analysis().periodChart.rows.size()));
    EXPECT_EQ(chart(5)->rowCount(), 24);
    EXPECT_EQ(window->findChild<QLabel*>("periodFromCaption")->text(),
        QString::fromStdString(window->analysis().periodChart.from));

    // The same log again gives the same list.
    const QVariant last = window->playList()->model()->index(499, 2).data();
    open(path);
    EXPECT_EQ(rows(window->playList()), 500);
    EXPECT_EQ(window->playList()->model()->index(499, 2).data(), last);
}

TEST_F(MainWindowTest, DataListKeepsFileOrderUntilTheUserSorts)
{
    open(writeLog("score.txt", generated(300)));
    QTableView* list = window->playList();
    auto firstColumn = [list] {
        QList<double> values;
        for (int r = 0; r < list->model()->rowCount(); ++r)
            values << list->model()->index(r, 8).data(SortRole).toDouble();
        return values;
    };
    const QList<double> fileOrder = firstColumn();
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), "1");
    // A click on the score header sorts by the numbers, not their texts.
    list->horizontalHeader()->setSortIndicator(8, Qt::AscendingOrder);
    QList<double> sorted = fileOrder;
    std::sort(sorted.begin(), sorted.end());
    const QList<double> shown = firstColumn();
    EXPECT_EQ(shown, sorted);
    EXPECT_NE(shown, fileOrder);
    // A new log comes in file order again.
    window->playListProxy()->sort(-1);
    open(writeLog("score2.txt", generated(50)));
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), "1");
    EXPECT_EQ(list->model()->index(49, 0).data().toString(), "50");
}

TEST_F(MainWindowTest, SearchCountAndSongPageFromTheListAndTheRankings)
{
    open(writeLog("score.txt", generated(300)));
    QTableView* list = window->playList();
    auto* count = window->findChild<QLabel*>("playCount");
    EXPECT_EQ(count->text(), "300 / 300 件");

    // Ctrl+F from another page lands in the search field; typing filters.
    window->pages()->setCurrentIndex(1);
    EXPECT_EQ(action("findAction")->shortcut(), QKeySequence(QKeySequence::Find));
    action("findAction")->trigger();
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    auto* field = window->findChild<QLineEdit*>("searchField");
    EXPECT_EQ(window->focusWidget(), field);
    const QString title = list->model()->index(0, 2).data().toString();
    field->insert(title.toUpper());
    const int shown = rows(list);
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 300);
    EXPECT_EQ(count->text(), QString("%1 / 300 件").arg(shown));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(rows(list), 300);

    // Enter on a row opens its song's page, as a tab of its own; back returns.
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 3));
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(window->pages()->currentWidget(), window->songPage());
    EXPECT_EQ(window->songPage()->song().title, title.toStdString());
    EXPECT_EQ(window->songPage()->findChild<QTableView*>("songAttempts")->model()->rowCount(),
        window->songPage()->song().plays);
    emit window->songPage()->backRequested();
    EXPECT_EQ(window->pages()->currentIndex(), 0);

    // A double-click on a song of the score ranking; an artist's row opens nothing.
    window->rankingPage()->showRanking(RankingKind::Score);
    window->pages()->setCurrentWidget(window->rankingPage());
    QTableView* ranking = window->rankingPage()->list();
    emit ranking->activated(ranking->model()->index(0, 1));
    EXPECT_EQ(window->pages()->currentWidget(), window->songPage());
    EXPECT_EQ(QString::fromStdString(window->songPage()->song().title)
                  .compare(ranking->model()->index(0, 1).data(SongKeyRole).toString(), Qt::CaseInsensitive),
        0);
    window->rankingPage()->showRanking(RankingKind::Artist);
    const std::string before = window->songPage()->song().title;
    window->pages()->setCurrentWidget(window->rankingPage());
    emit ranking->activated(ranking->model()->index(0, 1));
    EXPECT_EQ(window->pages()->currentWidget(), window->rankingPage());

    // The log read again keeps the page; a log without the song takes it away.
    window->pages()->setCurrentWidget(window->songPage());
    open(writeLog("score.txt", generated(300)));
    EXPECT_EQ(window->songPage()->song().title, before);
    open(writeLog("score2.txt", tolvane::testing::logOf({tolvane::testing::EntryText{}})));
    EXPECT_EQ(window->pages()->indexOf(window->songPage()), -1);
    EXPECT_EQ(window->pages()->currentIndex(), 1);
}

TEST_F(MainWindowTest, AnsweringNoChangesNothing)
{
    const std::string path = writeLog("score.txt", generated(50));
    open(path);
    const auto seen = open(writeLog("other.txt", generated(20)), false);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(rows(window->playList()), 50);

    // Cancelling the file dialog neither asks nor changes anything.
    window->openCommand().setFileChooser([](QWidget*) { return QString(); });
    MessageBoxAnswerer answers;
    action("openAction")->trigger();
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_EQ(rows(window->playList()), 50);
}

TEST_F(MainWindowTest, FailuresTellTheirCauseAndTheStatusReturnsToIdle)
{
    using tolvane::testing::EntryText;
    auto failureOf = [&](const std::string& path) {
        const auto seen = open(path);
        EXPECT_EQ(status(), "ｽﾃｰﾀｽ") << path;
        EXPECT_EQ(window->windowTitle(), "Tolvane");
        return seen.size() == 2 ? seen[1].text : QString("(no message)");
    };
    EXPECT_EQ(failureOf((folder() / "missing.txt").string()), "Score.txtがみつかりません。");
    std::string cut = tolvane::testing::logOf({EntryText{}, EntryText{}});
    cut.resize(cut.size() - 60);
    EXPECT_EQ(failureOf(writeLog("cut.txt", cut)),
        "スコアファイルを解析できませんでした。\n10行目: エントリーの途中でファイルが終わっています。");
    EntryText badDate;
    badDate.date = "Date:2001/02/30 10:00:00";
    EXPECT_TRUE(failureOf(writeLog("date.txt", tolvane::testing::logOf({badDate})))
                    .startsWith("スコアファイルを解析できませんでした。\n2行目: "));
    EXPECT_FALSE(window->analysis().navigation.analysisDone);
}

TEST_F(MainWindowTest, OpenLogTakesAPathThroughTheSameConfirmationAndMessages)
{
    const std::string path = writeLog("score.txt", generated(40));
    {
        MessageBoxAnswerer answers({QMessageBox::Yes, QMessageBox::Ok});
        window->openLog(QString::fromStdString(path));
        ASSERT_EQ(answers.seen().size(), 2u);
        EXPECT_TRUE(answers.seen()[0].text.startsWith("以下の設定で解析を始めます。よろしいですか。"));
    }
    EXPECT_EQ(rows(window->playList()), 40);
    // A missing file fails as File > Open would have it fail.
    for (const std::filesystem::path& bad : {folder() / "nothing.txt"}) {
        MessageBoxAnswerer answers({QMessageBox::Yes, QMessageBox::Ok});
        window->openLog(QString::fromStdString(bad.string()));
        ASSERT_EQ(answers.seen().size(), 2u) << bad;
        EXPECT_TRUE(answers.seen()[1].text.startsWith("Score.txtがみつかりません。")) << bad;
    }
}

TEST_F(MainWindowTest, RankingChooserBeforeAndAfterAnOpen)
{
    QComboBox* chooser = window->rankingPage()->chooser();
    EXPECT_EQ(chooser->currentText(), "");
    QTableView* list = window->rankingPage()->list();
    EXPECT_EQ(list->model()->columnCount(), 1);

    open(writeLog("score.txt", generated(300)));
    chooser->setCurrentIndex(0); // "タイトル"
    emit chooser->activated(0);
    EXPECT_EQ(list->model()->columnCount(), 8);
    EXPECT_GT(list->model()->rowCount(), 0);

    // A new Open keeps the columns and drops the rows.
    open(writeLog("score2.txt", generated(100)));
    EXPECT_EQ(list->model()->columnCount(), 8);
    EXPECT_EQ(list->model()->rowCount(), 0);
}

TEST_F(MainWindowTest, NothingCutsIntoARunningAnalysisAndClosingStopsIt)
{
    const std::string path = writeLog("score.txt", generated(3000));
    window->openCommand().setFileChooser([path](QWidget*) { return QString::fromStdString(path); });
    bool enabledDuringRun = true;
    bool closed = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!window->openCommand().busy() || closed)
            return;
        enabledDuringRun = action("openAction")->isEnabled() || window->rankingPage()->chooser()->isEnabled()
            || navigationButton("zoomInButton")->isEnabled() || action("optionsAction")->isEnabled();
        closed = true;
        // As the window manager asks it, not as a call would.
        closeFromTheDesktop();
    });
    probe.start(0);
    MessageBoxAnswerer answers({QMessageBox::Yes});
    action("openAction")->trigger();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(enabledDuringRun);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(answers.seen().size(), 1u); // no completion message
    EXPECT_FALSE(window->analysis().navigation.analysisDone);
    EXPECT_TRUE(std::filesystem::exists(settingsPath())) << "the settings are saved";
}

TEST_F(MainWindowTest, ACloseWhileTheClosingMessageIsUpClosesOnceItIsAnswered)
{
    const std::string path = writeLog("score.txt", generated(100));
    window->openCommand().setFileChooser([path](QWidget*) { return QString::fromStdString(path); });
    bool stillOpenWithTheBoxUp = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(shown);
            if (!box || !box->isVisible() || !box->text().startsWith("解析が完了しました。"))
                continue;
            closer.stop();
            closeFromTheDesktop();
            stillOpenWithTheBoxUp = window->isVisible();
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start(5);
    MessageBoxAnswerer answers({QMessageBox::Yes});
    action("openAction")->trigger();
    EXPECT_TRUE(stillOpenWithTheBoxUp);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(std::filesystem::exists(settingsPath()));
}

TEST_F(MainWindowTest, AMinimisedWindowShowsTheProgressInItsCaptionAndComesBackUp)
{
    const std::string path = writeLog("score.txt", generated(2000));
    window->setWindowState(Qt::WindowMinimized);
    QStringList titles;
    QObject::connect(window.get(), &QWidget::windowTitleChanged, [&](const QString& t) { titles << t; });
    open(path);
    ASSERT_FALSE(titles.isEmpty());
    EXPECT_TRUE(titles.front().startsWith("解析中…  "));
    EXPECT_TRUE(titles.contains("計測中…\u300090%"));
    EXPECT_EQ(titles.back(), "score.txt - Tolvane");
    EXPECT_FALSE(window->isMinimized());

    // A window that stays up shows no progress in its caption, only the log's name at the end.
    titles.clear();
    open(writeLog("SCORE.TXT", generated(20)));
    EXPECT_EQ(titles, QStringList({"SCORE.TXT - Tolvane"}));
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

TEST_F(MainWindowTest, SwitchingTabsRedrawsNothing)
{
    open(writeLog("score.txt", generated(400)));
    window->pages()->setCurrentIndex(2);
    navigationButton("zoomInButton")->click(); // the first play's year, by month
    ASSERT_EQ(chart(0)->rowCount(), 12);
    const QString firstLabel = chart(0)->rowLabel(1);
    window->trendPage()->chartTabs()->setCurrentIndex(3);
    window->pages()->setCurrentIndex(0);
    window->pages()->setCurrentIndex(2);
    window->trendPage()->chartTabs()->setCurrentIndex(0);
    EXPECT_EQ(chart(0)->rowCount(), 12);
    EXPECT_EQ(chart(0)->rowLabel(1), firstLabel);
    EXPECT_EQ(window->trendPage()->navigation().level, 2);
}

TEST_F(MainWindowTest, OptionsTakeEffectOnOkAndRestyleTheChartsOnlyAfterAnAnalysis)
{
    // The options dialog is answered with OK, after its pattern of chart 5 is set to entry p.
    auto setPattern = [this](int entry) {
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [entry] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || qobject_cast<QMessageBox*>(dialog))
                return;
            dialog->findChild<QComboBox*>("patternChooser4")->setCurrentIndex(entry);
            dialog->findChild<QPushButton*>("okButton")->click();
        });
        answer.start(5);
        action("optionsAction")->trigger();
    };
    BarChart* weekday = chart(4);
    setPattern(4); // pattern 3
    EXPECT_EQ(window->graphSettings().Pattern[4], 3);
    EXPECT_EQ(weekday->barStyle().style, BarFill::None); // nothing analysed yet: only the setting changed

    open(writeLog("score.txt", generated(100)));
    EXPECT_EQ(weekday->barStyle().style, BarFill::Pattern); // the run applies every style
    setPattern(8);
    EXPECT_EQ(weekday->barStyle().index, 7);
    EXPECT_EQ(chart(3)->barStyle().style, BarFill::None);
}

// The view period narrows the rankings and the calendar; a day clicked on the
// calendar shows its plays in the data list until the way back is taken.
TEST_F(MainWindowTest, TheViewPeriodAndACalendarDayNarrowWhatIsShown)
{
    std::string utf8;
    for (const char* date :
        {"2003/06/01 10:00:00", "2004/01/05 21:00:00", "2004/01/05 21:10:00", "2004/01/06 09:00:00"}) {
        tolvane::testing::EntryText e;
        e.date = std::string("Date:") + date;
        utf8 += e.text();
    }
    open(writeLog("score.txt", tolvane::testing::utf8ToCp932(utf8)));
    tolvane::RankingPage* rankings = window->rankingPage();
    rankings->showRanking(tolvane::RankingKind::Title);
    EXPECT_EQ(rankings->model()->index(0, 2).data().toString(), "004"); // plays of the one title

    tolvane::ViewPeriodBar* period = window->viewPeriodBar();
    period->choose(tolvane::PeriodPreset::ThisYear); // 2004, the last play's year
    EXPECT_EQ(rankings->model()->index(0, 2).data().toString(), "003");
    EXPECT_FALSE(period->banner()->isHidden());
    EXPECT_EQ(window->calendarPage()->yearChooser()->count(), 1);

    window->pages()->setCurrentWidget(window->calendarPage());
    emit window->calendarPage()->dayChosen(QDate(2004, 1, 5));
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    EXPECT_EQ(window->playList()->model()->rowCount(), 2);
    EXPECT_FALSE(window->dayFilterBar()->isHidden());
    window->dayFilterBar()->backButton()->click();
    EXPECT_EQ(window->playList()->model()->rowCount(), 4);

    period->choose(tolvane::PeriodPreset::All);
    EXPECT_EQ(rankings->model()->index(0, 2).data().toString(), "004");
    EXPECT_TRUE(period->banner()->isHidden());
}

// A failed Open leaves every page showing the history that was open, and a
// second log opened beside the first makes one history of both.
TEST_F(MainWindowTest, AFailedOpenLeavesEveryPageAsItWasAndTwoLogsMakeOneHistory)
{
    const std::string first = generated(300);
    open(writeLog("score.txt", first));
    window->rankingPage()->chooser()->setCurrentIndex(0);
    emit window->rankingPage()->chooser()->activated(0);
    const auto snapshot = [this] {
        QStringList shown;
        shown << QString::number(rows(window->playList())) << QString::number(rows(window->rankingPage()->list()))
              << QString::number(window->calendarPage()->yearChooser()->count())
              << QString::number(window->sessionsPage()->model()->rowCount()) << window->windowTitle();
        for (int c = 0; c < window->trendPage()->chartCount(); ++c)
            for (int r = 1; r <= chart(c)->rowCount(); ++r)
                shown << chart(c)->rowLabel(r) + "=" + chart(c)->rowValue(r);
        return shown;
    };
    const QStringList before = snapshot();
    std::string damaged = generated(100);
    damaged.replace(damaged.find("Date:", damaged.size() / 2) + 5, 4, "20x1");
    const auto seen = open(writeLog("damaged.txt", damaged));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(status(), "前のログを表示しています");

    // A copy of the log beside it adds nothing: every play once.
    writeLog("copy.txt", first);
    const QString copy = QString::fromStdString((folder() / "copy.txt").string());
    window->fileCommands().liveLog().stop();
    MessageBoxAnswerer answers({QMessageBox::Yes, QMessageBox::Ok});
    window->openLogs({QString::fromStdString((folder() / "score.txt").string()), copy});
    EXPECT_EQ(rows(window->playList()), 300);
    EXPECT_EQ(window->analysis().entryDates.size(), 300u);
    EXPECT_TRUE(window->windowTitle().contains("2"));
}

// A damaged log can be read again without its damaged entries, which are then listed.
TEST_F(MainWindowTest, ADamagedLogCanBeReadSkippingTheDamagedEntries)
{
    std::string damaged = generated(100);
    damaged.replace(damaged.find("Date:", damaged.size() / 2) + 5, 4, "20x1");
    const std::string path = writeLog("damaged.txt", damaged);
    window->openCommand().setFileChooser([path](QWidget*) { return QString::fromStdString(path); });
    QString listed;
    // Looks for the list of skipped entries until it shows, once the run is over.
    std::function<void()> look;
    look = [&listed, &look] {
        if (QWidget* dialog = QApplication::activeModalWidget(); dialog && !qobject_cast<QMessageBox*>(dialog)) {
            if (auto* list = dialog->findChild<QTreeWidget*>("skippedList"); list && list->topLevelItemCount() > 0)
                listed = list->topLevelItem(0)->text(0) + " " + list->topLevelItem(0)->text(1);
            dialog->close();
            return;
        }
        QTimer::singleShot(20, look);
    };
    QTimer::singleShot(0, look);
    MessageBoxAnswerer answers({QMessageBox::Yes, QMessageBox::Yes});
    action("openAction")->trigger();
    EXPECT_EQ(rows(window->playList()), 99);
    EXPECT_FALSE(listed.isEmpty());
}

TEST_F(MainWindowTest, AFolderIsRefusedBeforeTheConfirmation)
{
    const auto seen = open(folder().string());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].text.contains(QString::fromStdString(folder().string())));
    EXPECT_FALSE(seen[0].text.startsWith("以下の設定で解析を始めます"));
}
