#include "gui/MainWindow.h"
#include "gui/pages/RankingPage.h"
#include "gui/pages/TrendPage.h"
#include "support/GuiTest.h"
#include "support/LogGenerator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
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
    const QRect whole = window->rect();
    onEveryPage([&](const std::string& where) {
        for (QTabBar* tabs : window->findChildren<QTabBar*>()) {
            if (!tabs->isVisible())
                continue;
            EXPECT_GE(tabs->height(), tabs->sizeHint().height()) << where;
            for (int i = 0; i < tabs->count(); ++i) {
                const QRect tab = tabs->tabRect(i);
                EXPECT_TRUE(tabs->rect().contains(tab)) << where << ": " << tabs->tabText(i).toStdString();
                EXPECT_GE(tab.width(), tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)))
                    << tabs->tabText(i).toStdString();
            }
            EXPECT_TRUE(whole.contains(inWindow(tabs))) << where;
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
            EXPECT_TRUE(whole.contains(inWindow(w))) << where << ": " << name.toStdString();
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Sizes, MainWindowLayout, ::testing::Values(QSize(640, 420), QSize(1600, 1000)),
    [](const auto& info) { return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height()); });
