#include "gui/models/GrowingTableView.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScreen>
#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

class GrowingTableViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::ensureApplication();
        model.setColumnCount(2);
        view.setModel(&model);
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view.resize(240, 200);
    }

    void append(int count)
    {
        for (int i = 0; i < count; ++i) {
            const int row = model.rowCount();
            model.appendRow({new QStandardItem(QString("row %1").arg(row)), new QStandardItem(QString::number(row))});
        }
    }

    void showView()
    {
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // What the screen holds once the events are taken, against the view drawn afresh.
    bool screenIsCurrent()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
        const QImage onScreen = view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage drawn = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        return onScreen == drawn;
    }

    QStandardItemModel model;
    GrowingTableView view;
};

TEST_F(GrowingTableViewTest, TheScreenShowsTheRowsAfterEveryKindOfChange)
{
    append(3);
    showView();
    ASSERT_TRUE(screenIsCurrent()) << "drawn once shown";

    append(2);
    EXPECT_TRUE(screenIsCurrent()) << "rows appended into a view with room for them";
    append(40);
    EXPECT_TRUE(screenIsCurrent()) << "rows appended, some in sight";
    append(40);
    EXPECT_TRUE(screenIsCurrent()) << "rows appended out of sight: the scroll bar";

    model.sort(1, Qt::DescendingOrder);
    append(10);
    EXPECT_TRUE(screenIsCurrent()) << "a sort and rows appended out of sight before the view took its events";

    model.removeRows(0, 5);
    append(10);
    EXPECT_TRUE(screenIsCurrent()) << "rows removed, then rows appended out of sight";

    model.insertRow(0, {new QStandardItem("first"), new QStandardItem("0")});
    EXPECT_TRUE(screenIsCurrent()) << "a row put in at the top";

    model.setRowCount(0);
    append(60);
    EXPECT_TRUE(screenIsCurrent()) << "the rows replaced at once";

    view.scrollToBottom();
    append(5);
    EXPECT_TRUE(screenIsCurrent()) << "rows appended below the last row in sight";

    QFont larger = view.font();
    larger.setPointSize(larger.pointSize() + 4);
    view.setFont(larger);
    append(5);
    EXPECT_TRUE(screenIsCurrent()) << "a new font";
}

} // namespace
} // namespace tolvane
