#include "gui/dialogs/SkippedEntriesDialog.h"
#include "gui/Messages.h"
#include "support/GuiTest.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::testing::MessageBoxAnswerer;

// The list names each skipped entry's line and reason and each play with an
// unreadable text, and Copy gives the same list as text.
TEST(SkippedEntriesDialog, ListsLinesAndReasonsAndCopiesThem)
{
    tolvane::testing::ensureApplication();
    std::vector<SkippedEntry> skipped = {
        {11, "11行目: 日付を読み取れません。", {}}, {56, "56行目: エントリーの途中でファイルが終わっています。", {}}};
    SkippedEntriesDialog dialog(skipped, {UnreadableText{2, 19}});
    dialog.findChild<QPushButton*>("copyButton")->click();
    const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "11\t11行目: 日付を読み取れません。");
    EXPECT_TRUE(lines[2].startsWith("19\tNo.2: ")) << lines[2].toStdString();
    EXPECT_EQ(dialog.text(), QGuiApplication::clipboard()->text());
}

// The failure's own lines come first, then the offer; the answer is returned.
TEST(SkippedEntriesDialog, TheFailureMessageOffersToSkipDamage)
{
    tolvane::testing::ensureApplication();
    for (const auto answer : {QMessageBox::Yes, QMessageBox::No}) {
        MessageBoxAnswerer answers({answer});
        const bool yes = Messages::offerSkipDamaged(
            nullptr, {"スコアファイルを解析できませんでした。", "11行目: 日付を読み取れません。"});
        EXPECT_EQ(yes, answer == QMessageBox::Yes);
        ASSERT_EQ(answers.seen().size(), 1u);
        EXPECT_EQ(answers.seen()[0].text, "スコアファイルを解析できませんでした。\n11行目: 日付を読み取れません。");
        EXPECT_EQ(answers.seen()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    }
}
