#include "gui/MainWindow.h"
#include "gui/StoredPlacement.h"
#include "support/GuiTest.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTimer>

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace tolvane;
using tolvane::testing::MessageBoxAnswerer;

namespace {

class MainWindowSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tolvane::testing::ensureApplication();
        ASSERT_TRUE(dir.isValid());
        path = std::filesystem::path(dir.path().toStdString()) / "Tolvane.ini";
    }

    void writeFile(const std::string& text) const { std::ofstream(path, std::ios::binary) << text; }

    std::string readFile() const
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // The keys of the file in their order, one "[section]" or key a line.
    std::vector<std::string> keys() const
    {
        std::vector<std::string> out;
        std::istringstream in(readFile());
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            out.push_back(line.substr(0, line.find('=')));
        }
        return out;
    }

    QTemporaryDir dir;
    std::filesystem::path path;
};

} // namespace

TEST_F(MainWindowSettingsTest, AFirstStartUsesTheDefaultsAndAFirstCloseWritesEveryKeyInOrder)
{
    MainWindow window(path);
    window.show();
    EXPECT_NEAR(window.x(), StoredPlacement::toPixels(1000, window.logicalDpiX()), 1);
    EXPECT_NEAR(StoredPlacement::outerWidth(window), 6500, 15);
    EXPECT_NEAR(StoredPlacement::outerHeight(window), 6500, 15);
    EXPECT_NEAR(StoredPlacement::columnWidths(*window.playList())[9], 2000, 15);
    EXPECT_FALSE(window.filter().SpanFilter);
    EXPECT_EQ(window.graphSettings().Pattern[2], -1);
    EXPECT_FALSE(window.isMaximized());

    window.close();
    std::vector<std::string> expected = {"[Settings]", "MainLeft", "MainTop", "MainWidth", "MainHeight", "WindowState"};
    for (int n = 1; n <= 10; ++n)
        expected.push_back("Listview1(" + std::to_string(n) + ")");
    for (const char* k : {"[Filter]", "IgnoreScrach", "IgnoreAutoplay", "ScoreFilter", "SpanFilter", "optIgnoreAuto",
             "optIgnoreScr", "MinScore", "Maxtime", "Mintime", "[Graph]"})
        expected.push_back(k);
    for (int n = 1; n <= 6; ++n) {
        for (const char* k : {"Color", "PatternColor", "Pattern"})
            expected.push_back("Graph" + std::to_string(n) + k);
    }
    // The logs' section comes last, after every key the file always had.
    for (const char* k :
        {"[Files]", "ReopenLast", "FollowLog", "LastFolder", "Recent1", "Recent2", "Recent3", "Recent4", "Recent5"})
        expected.push_back(k);
    expected.insert(expected.end(), {"[Sessions]", "Gap"});
    EXPECT_EQ(keys(), expected);
    const std::string text = readFile();
    EXPECT_NE(text.find("WindowState=0\r\n"), std::string::npos);
    // Values nobody changed are written as they were, not as the pixels give them back.
    EXPECT_NE(text.find("[Settings]\r\nMainLeft=1000\r\nMainTop=1000\r\nMainWidth=6500\r\nMainHeight=6500\r\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("Listview1(10)=2000\r\n"), std::string::npos);
    EXPECT_NE(text.find("Maxtime=0:00:00\r\nMintime=0:00:00\r\n"), std::string::npos);
    EXPECT_NE(text.find("Graph6Pattern=-1\r\n"), std::string::npos);
}

TEST_F(MainWindowSettingsTest, SettingsSurviveARestart)
{
    writeFile("[Filter]\r\nScoreFilter=True\r\nMinScore=150000\r\nIgnoreAutoplay=True\r\noptIgnoreAuto=2\r\n"
              "[Graph]\r\nGraph5Pattern=3\r\nGraph5Color=16711680\r\n");
    {
        MainWindow window(path);
        window.show();
        EXPECT_TRUE(window.filter().ScoreFilter);
        auto widths = StoredPlacement::columnWidths(*window.playList());
        widths[2] = 3000;
        StoredPlacement::setColumnWidths(*window.playList(), widths);
        StoredPlacement::resizeToOuter(window, 9000, 7000);
        window.close();
    }
    MainWindow again(path);
    EXPECT_TRUE(again.filter().ScoreFilter);
    EXPECT_EQ(again.filter().MinScore, 150000);
    EXPECT_TRUE(again.filter().IgnoreAutoplay);
    EXPECT_EQ(again.filter().optIgnoreAuto, 2);
    EXPECT_EQ(again.graphSettings().Pattern[4], 3);
    EXPECT_EQ(again.graphSettings().Color[4], 16711680);
    EXPECT_NEAR(StoredPlacement::columnWidths(*again.playList())[2], 3000, 15);
    EXPECT_NEAR(StoredPlacement::outerWidth(again), 9000, 15);
}

TEST_F(MainWindowSettingsTest, MaximisedAndMinimisedClosesKeepTheLastNormalPlacement)
{
    writeFile("[Settings]\r\nMainLeft=500\r\nMainTop=600\r\nMainWidth=8000\r\nMainHeight=7000\r\nWindowState=0\r\n");
    {
        MainWindow window(path);
        window.show();
        window.showMaximized();
        QApplication::processEvents();
        window.close();
    }
    std::string text = readFile();
    EXPECT_NE(text.find("MainLeft=500\r\nMainTop=600\r\nMainWidth=8000\r\nMainHeight=7000\r\nWindowState=2\r\n"),
        std::string::npos)
        << text;
    {
        MainWindow window(path);
        EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
        window.show();
        window.showMinimized();
        QApplication::processEvents();
        window.close();
    }
    EXPECT_NE(readFile().find("MainWidth=8000\r\nMainHeight=7000\r\nWindowState=2\r\n"), std::string::npos);
}

TEST_F(MainWindowSettingsTest, OnlyAWindowStateOfExactlyTwoMaximises)
{
    for (const char* state : {"1", "3", "maximised", "2.5", ""}) {
        writeFile(std::string("[Settings]\r\nWindowState=") + state + "\r\n");
        MainWindow window(path);
        EXPECT_FALSE(window.windowState() & Qt::WindowMaximized) << state;
    }
    writeFile("[settings]\r\nwindowstate=2\r\n");
    MainWindow window(path);
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindowSettingsTest, AFailedSaveSaysSoAndTheWindowStillCloses)
{
    // A settings "folder" that is a file: nothing can be written there.
    const std::filesystem::path blocker = std::filesystem::path(dir.path().toStdString()) / "blocker";
    std::ofstream(blocker) << "x";
    MainWindow window(blocker / "Tolvane.ini");
    window.show();
    MessageBoxAnswerer answers;
    window.close();
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_TRUE(answers.seen()[0].text.startsWith("設定を保存できませんでした。"));
}

TEST_F(MainWindowSettingsTest, HostileColumnWidthsFallBackToTheDefaultAndAHiddenColumnComesBack)
{
    writeFile("[Settings]\r\nListView1(1)=1e30\r\nListView1(2)=abc\r\nListView1(3)=0\r\nListView1(4)=inf\r\n"
              "ListView1(5)=-300\r\nListView1(6)=3000\r\n");
    {
        MainWindow window(path);
        window.show();
        const auto widths = StoredPlacement::columnWidths(*window.playList());
        for (std::size_t c = 0; c < 5; ++c)
            EXPECT_NEAR(widths[c], 2000, 15) << c;
        EXPECT_NEAR(widths[5], 3000, 15);
        window.close();
    }
    const std::string written = readFile();
    for (int n = 1; n <= 5; ++n)
        EXPECT_NE(written.find("View1(" + std::to_string(n) + ")=2000\r\n"), std::string::npos) << n << written;

    // A column narrowed out of sight comes back from the header's menu.
    MainWindow window(path);
    window.show();
    QTableView& list = *window.playList();
    list.setColumnWidth(3, 0);
    list.setColumnHidden(7, true);
    QAction* shown = nullptr;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shown = menu->findChild<QAction*>("showLostColumns");
            if (shown && shown->isEnabled())
                shown->trigger();
            menu->close();
        }
    });
    emit list.horizontalHeader()->customContextMenuRequested(QPoint(2, 2));
    ASSERT_NE(shown, nullptr);
    EXPECT_GE(list.columnWidth(3), list.horizontalHeader()->minimumSectionSize());
    EXPECT_FALSE(list.isColumnHidden(7));
}
