#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/SystemInfoDialog.h"

#include "support/GuiTest.h"
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTimer>

#include <QLabel>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace tolvane;
using tolvane::testing::MessageBoxAnswerer;

namespace {

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tolvane::testing::ensureApplication();
        about = std::make_unique<AboutDialog>(1, 1, 3);
        about->setLauncher([this](const QString& path) {
            started << path;
            return startSucceeds;
        });
    }

    std::vector<MessageBoxAnswerer::Seen> startSysInfo()
    {
        MessageBoxAnswerer answers;
        about->startSystemInfo();
        return answers.seen();
    }

    std::unique_ptr<AboutDialog> about;
    QStringList started;
    bool startSucceeds = true;
};

TEST_F(AboutDialogTest, TitleCarriesTheVersionAndBothKeysClose)
{
    EXPECT_EQ(about->findChild<QLabel*>("programTitle")->text(), "Tolvane  ver 1.13");
    EXPECT_EQ(AboutDialog::titleText(2, 10, 0), "Tolvane  ver 2.100");
    EXPECT_FALSE(about->findChild<QLabel*>("programIcon")->pixmap().isNull());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        about->show();
        about->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(about.get()));
        QTest::keyClick(about.get(), key);
        EXPECT_FALSE(about->isVisible()) << key;
    }
}

TEST_F(AboutDialogTest, SystemInformationStartsTheFirstProgramFoundOrShowsItsOwn)
{
    // Without a program, the dialog of our own lists the facts for a bug
    // report, and Copy puts them on the clipboard.
    tolvane::SystemInfoDialog info("/tmp/Tolvane.ini", {"/logs/a/score.txt", "/logs/b/score.txt"});
    info.findChild<QPushButton*>("copyButton")->click();
    const QString shown = info.text();
    for (const char* part :
        {"Tolvane 1.", "Qt: " QT_VERSION_STR, "OS: ", "CPUコア: ", "メモリ: ", "設定ファイル: /tmp/Tolvane.ini",
            "開いているログ: /logs/a/score.txt", "開いているログ: /logs/b/score.txt"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(part))) << part << "\n" << shown.toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), shown);

    const QString sh = QStandardPaths::findExecutable("sh");
    ASSERT_FALSE(sh.isEmpty());
    about->setSystemInfoPrograms({"tolvane-no-such-program", "sh", "env"});
    EXPECT_TRUE(startSysInfo().empty());
    EXPECT_EQ(started, QStringList{sh});

    // One that is found but will not start gives the dialog of our own.
    startSucceeds = false;
    started.clear();
    bool ownDialog = false;
    QTimer::singleShot(0, [&ownDialog] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            ownDialog = dialog->findChild<QPushButton*>("copyButton") != nullptr;
            dialog->close();
        }
    });
    about->startSystemInfo();
    EXPECT_TRUE(ownDialog);
    EXPECT_EQ(started, QStringList{sh});
}

} // namespace
