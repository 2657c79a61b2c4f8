#include "gui/MainWindow.h"
#include "gui/calendar/CalendarPage.h"
#include "gui/pages/RankingPage.h"
#include "gui/pages/TrendPage.h"
#include "gui/sessions/SessionsPage.h"
#include "gui/song/SongPage.h"
#include "support/GuiTest.h"
#include "support/LogGenerator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

// The window's layout at the sizes users run it at. The suite also runs with
// QT_SCALE_FACTOR=2 (see tests/CMakeLists.txt).

using namespace tolvane;

namespace {

class MainWindowLayout : public ::testing::TestWithParam<QSize> {
protected:
    void SetUp() override
    {
        tolvane::testing::ensureApplication();
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<MainWindow>(std::filesystem::path(dir.path().toStdString()) / "Tolvane.ini");
        window->resize(GetParam());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Every page and chart tab in turn, laid out.
    template <typename Check> void onEveryPage(Check check)
    {
        QTabWidget* charts = window->trendPage()->chartTabs();
        for (int page = 0; page < window->pages()->count(); ++page) {
            window->pages()->setCurrentIndex(page);
            for (int chart = 0; chart < (page == 2 ? charts->count() : 1); ++chart) {
                charts->setCurrentIndex(chart);
                QApplication::processEvents();
                check(QString("page %1 chart %2").arg(page).arg(chart).toStdString());
            }
        }
    }

    static QRect inWindow(const QWidget* widget)
    {
        return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
    }

    // Where a widget must lie whole: the window, or inside a scrolling page
    // the page's content, which the user scrolls to.
    QRect roomOf(const QWidget* widget) const
    {
        for (const QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
            if (const auto* area = qobject_cast<const QScrollArea*>(w); area && area->widget())
                return inWindow(area->widget());
        }
        return window->rect();
    }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
};

} // namespace

TEST_P(MainWindowLayout, TheWindowTakesTheSizeAskedFor)
{
    EXPECT_EQ(window->size(), GetParam()) << "a minimum size above it would push the window past the screen";
}

TEST_P(MainWindowLayout, NoTwoWidgetsOfALayoutOverlap)
{
    onEveryPage([this](const std::string& where) {
        for (QLayout* layout : window->findChildren<QLayout*>()) {
            QList<QWidget*> shown;
            for (int i = 0; i < layout->count(); ++i) {
                QWidget* w = layout->itemAt(i)->widget();
                if (w && w->isVisible())
                    shown << w;
            }
            for (int a = 0; a < shown.size(); ++a) {
                for (int b = a + 1; b < shown.size(); ++b)
                    EXPECT_FALSE(shown[a]->geometry().intersects(shown[b]->geometry()))
                        << where << ": " << shown[a]->objectName().toStdString() << " and "
                        << shown[b]->objectName().toStdString();
            }
        }
    });
}

TEST_P(MainWindowLayout, PagesThatCannotShrinkScrollAndShowTheirContent)
{
    // Smaller than any page's content: the pages scroll instead of
    // squeezing or hiding what they hold.
    window->resize(300, 200);
    for (QWidget* page :
        {static_cast<QWidget*>(window->sessionsPage()), static_cast<QWidget*>(window->calendarPage())}) {
        window->pages()->setCurrentWidget(page);
        QApplication::processEvents();
        auto* area = page->findChild<QScrollArea*>();
        ASSERT_NE(area, nullptr);
        EXPECT_GT(area->viewport()->height(), 0) << page->objectName().toStdString();
        EXPECT_GE(area->widget()->height(), area->widget()->minimumSizeHint().height());
        EXPECT_GE(area->widget()->width(), area->widget()->minimumSizeHint().width());
    }
}

TEST_P(MainWindowLayout, TheListsFillTheirPages)
{
    for (QTableView* list : {window->playList(), window->rankingPage()->list()}) {
        window->pages()->setCurrentWidget(list == window->playList() ? list->parentWidget() : window->rankingPage());
        QApplication::processEvents();
        const QWidget* page = list->parentWidget();
        const QRect room = page->rect().marginsRemoved(page->layout()->contentsMargins());
        EXPECT_EQ(list->geometry().width(), room.width()) << list->objectName().toStdString();
        EXPECT_GE(list->geometry().bottom(), room.bottom()) << list->objectName().toStdString();
    }
}

TEST_P(MainWindowLayout, NoLabelIsCut)
{
    // The song page too, shown as a song would show it.
    window->songPage()->showSong(SongView{});
    window->pages()->addTab(window->songPage(), "曲の記録");
    onEveryPage([&](const std::string& where) {
        for (QTabBar* tabs : window->findChildren<QTabBar*>()) {
            if (!tabs->isVisible())
                continue;
            EXPECT_GE(tabs->height(), tabs->sizeHint().height()) << where;
            for (int i = 0; i < tabs->count(); ++i) {
                const QRect tab = tabs->tabRect(i);
                // A bar too narrow for its tabs scrolls them: the chosen one shows whole.
                if (i != tabs->currentIndex() && tabs->usesScrollButtons() && tabs->sizeHint().width() > tabs->width())
                    continue;
                EXPECT_TRUE(tabs->rect().contains(tab)) << where << ": " << tabs->tabText(i).toStdString();
                EXPECT_GE(tab.width(), tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)))
                    << tabs->tabText(i).toStdString();
            }
            EXPECT_TRUE(roomOf(tabs).contains(inWindow(tabs)))
                << where << " " << tabs->parentWidget()->objectName().toStdString() << " " << inWindow(tabs).x() << ","
                << inWindow(tabs).y() << " " << tabs->width() << "x" << tabs->height();
        }
        QList<QWidget*> texts;
        for (auto* w : window->findChildren<QLabel*>())
            texts << w;
        for (auto* w : window->findChildren<QAbstractButton*>())
            texts << w;
        for (auto* w : window->findChildren<QComboBox*>())
            texts << w;
        for (QWidget* w : texts) {
            // Toolbar buttons show their icons, their text is a tip.
            if (!w->isVisible() || w->objectName().startsWith("qt_") || qobject_cast<QToolButton*>(w))
                continue;
            const QString name = w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
            // A button's text within its frame; a label or chooser at its full width.
            const auto* button = qobject_cast<QAbstractButton*>(w);
            const int needed = button ? button->fontMetrics().horizontalAdvance(button->text()) : w->sizeHint().width();
            EXPECT_GE(w->width(), needed) << where << ": " << name.toStdString();
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << where << ": " << name.toStdString();
            EXPECT_TRUE(roomOf(w).contains(inWindow(w))) << where << ": " << name.toStdString();
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Sizes, MainWindowLayout,
    ::testing::Values(QSize(480, 320), QSize(640, 420), QSize(1600, 1000)),
    [](const auto& info) { return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height()); });
