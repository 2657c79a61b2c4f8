#include "core/files/FileTexts.h"
#include "gui/MainWindow.h"
#include "gui/OpenCommand.h"
#include "gui/StatusProgress.h"
#include "gui/files/FileCommands.h"
#include "gui/files/LiveLog.h"
#include "gui/files/SaveCommand.h"
#include "gui/files/TableExport.h"
#include "support/GuiTest.h"
#include "support/LogGenerator.h"
#include "support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::testing::MessageBoxAnswerer;
using tolvane::testing::readBytes;
using tolvane::testing::writeBytes;

namespace {

class WindowFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tolvane::testing::ensureApplication();
        tolvane::testing::GeneratorOptions options;
        options.plays = 60;
        log = tolvane::testing::generateLog(options).bytes;
        cut = log.find("[Start of Score]", log.size() * 50 / 60);
        writeBytes(logPath, log.substr(0, cut));
        makeWindow();
    }
    void makeWindow()
    {
        window = std::make_unique<MainWindow>(dir.file("Tolvane.ini"));
        window->show();
    }
    QAction* action(const char* name) const { return window->findChild<QAction*>(name); }
    int rows() const { return window->playList()->model()->rowCount(); }
    QStringList fileMenu() const
    {
        QStringList texts;
        for (QAction* a : window->findChild<QMenu*>("fileMenu")->actions())
            texts << a->text();
        return texts;
    }
    void openLog()
    {
        MessageBoxAnswerer answers({QMessageBox::Yes, QMessageBox::Ok});
        window->openLog(QString::fromStdString(logPath.string()));
    }

    tolvane::testing::TempDir dir;
    std::filesystem::path logPath = dir.file("score.txt");
    std::string log;
    std::size_t cut = 0;
    std::unique_ptr<MainWindow> window;
};

} // namespace

TEST_F(WindowFilesTest, AnOpenedLogIsFollowedRememberedAndReopenedAtTheNextStart)
{
    openLog();
    const int before = rows();
    ASSERT_GT(before, 0);
    EXPECT_TRUE(fileMenu().contains("&1 " + QString::fromStdString(logPath.string())));

    writeBytes(logPath, log.substr(cut), std::ios::app);
    QTRY_VERIFY_WITH_TIMEOUT(rows() > before, 2000);
    EXPECT_EQ(window->statusProgress().status(), QString("%1 件追加").arg(rows() - before));
    const int followed = rows();

    window->close();
    const std::string ini = readBytes(dir.file("Tolvane.ini"));
    EXPECT_NE(ini.find("[Files]\r\nReopenLast=True\r\nFollowLog=True\r\nLastFolder=\"" + dir.path().string()
                  + "\"\r\nRecent1=\"" + logPath.string() + "\"\r\n"),
        std::string::npos)
        << ini;

    makeWindow();
    MessageBoxAnswerer none;
    window->reopenLastLog();
    EXPECT_TRUE(none.seen().empty()); // no confirmation, no completion message
    EXPECT_EQ(rows(), followed);

    // Truncated while followed: read again in full, without dialogs.
    writeBytes(logPath, log.substr(0, cut));
    QTRY_COMPARE_WITH_TIMEOUT(rows(), before, 3000);
    EXPECT_TRUE(none.seen().empty());
}

TEST_F(WindowFilesTest, ARecentLogThatIsGoneGetsAMessageAndLeavesTheList)
{
    openLog();
    std::filesystem::remove(logPath);
    QAction* recent = window->findChild<QAction*>("recentFile1");
    ASSERT_NE(recent, nullptr);
    MessageBoxAnswerer answers;
    recent->trigger();
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_TRUE(answers.seen()[0].text.startsWith("ファイルが見つかりません。\n"))
        << answers.seen()[0].text.toStdString();
    EXPECT_FALSE(fileMenu().contains("&1 " + QString::fromStdString(logPath.string())));
}

TEST_F(WindowFilesTest, SaveAndCopyTakeTheDataListAsShown)
{
    openLog();
    const QString target = QString::fromStdString(dir.file("list.csv").string());
    window->fileCommands().saveCommand().setPathChooser(
        [&](QWidget*, const QString&, const QString&, QString*) { return target; });
    action("saveAction")->trigger();
    EXPECT_EQ(readBytes(dir.file("list.csv")), TableExport::csv(*window->playList()));

    window->playList()->selectRow(1);
    action("copyAction")->trigger();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("No.\t日時\t")) << copied.toStdString();
    EXPECT_EQ(copied.count('\n'), 2);
}

TEST_F(WindowFilesTest, ADroppedFileGoesThroughTheConfirmationAndAFolderGetsAMessage)
{
    const auto drop = [this](const std::filesystem::path& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
    };
    {
        MessageBoxAnswerer answers({QMessageBox::No});
        drop(logPath);
        ASSERT_EQ(answers.seen().size(), 1u);
        EXPECT_TRUE(answers.seen()[0].text.startsWith("以下の設定で解析を始めます。よろしいですか。"));
    }
    MessageBoxAnswerer answers;
    drop(dir.path());
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_TRUE(answers.seen()[0].text.startsWith("フォルダは開けません。"));
    EXPECT_EQ(rows(), 0);
}
