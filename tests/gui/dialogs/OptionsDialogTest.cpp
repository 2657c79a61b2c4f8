#include "gui/dialogs/OptionsDialog.h"
#include "core/log/DateValue.h"
#include "support/GuiTest.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

using namespace tolvane;
using tolvane::testing::MessageBoxAnswerer;

namespace {

// Every setting in one comparable value.
auto fields(const Filter& f)
{
    return std::tuple(f.IgnoreAutoplay, f.optIgnoreAuto, f.IgnoreScrach, f.optIgnoreScr, f.ScoreFilter, f.MinScore,
        f.SpanFilter, f.Mintime, f.Maxtime);
}
auto fields(const GraphSettings& g)
{
    return std::tuple(g.Color, g.PatternColor, g.Pattern);
}

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { tolvane::testing::ensureApplication(); }

    void open()
    {
        dialog = std::make_unique<OptionsDialog>(filter, graph);
        dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        dialog->setColorChooser([this](QColor) { return nextColor; });
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    template <typename T = QWidget> T* child(const QString& name) const
    {
        T* found = dialog->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QCheckBox* check(int i) const
    {
        const char* names[] = {"ignoreAutoplayCheck", "ignoreScratchCheck", "scoreFilterCheck", "spanFilterCheck"};
        return child<QCheckBox>(names[i]);
    }
    QComboBox* dateField(int i) const { return child<QComboBox>(i == 0 ? "fromDateField" : "toDateField"); }
    QComboBox* patterns(int i) const { return child<QComboBox>(QString("patternChooser%1").arg(i)); }
    QLineEdit* score() const { return child<QLineEdit>("minScoreField"); }
    QCalendarWidget* calendar() const { return child<QCalendarWidget>("datePopup"); }
    // What OK hands back to the window.
    void ok()
    {
        click("okButton");
        if (dialog->result() == QDialog::Accepted) {
            filter = dialog->filter();
            graph = dialog->graphSettings();
        }
    }
    QColor swatch(const QString& name) const { return child(name)->palette().color(QPalette::Window); }
    void click(const QString& name) const { child<QAbstractButton>(name)->click(); }

    // Presses OK expecting a refusal; gives what the message box said.
    QString refusedOk()
    {
        const Filter before = filter;
        MessageBoxAnswerer answers;
        ok();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(fields(filter), fields(before));
        return answers.seen().size() == 1 ? answers.seen()[0].text : QString();
    }

    Filter filter;
    GraphSettings graph;
    std::optional<QColor> nextColor;
    std::unique_ptr<OptionsDialog> dialog;
};

TEST_F(OptionsDialogTest, OpensOnTheLoadPageWithTheSettingsShown)
{
    filter.IgnoreScrach = true;
    filter.optIgnoreAuto = 7; // out of range: the nearest side is shown
    filter.optIgnoreScr = 1;
    filter.MinScore = 4321;
    graph.Color[0] = 0x0000FF;
    graph.PatternColor[5] = 0x102030;
    graph.Pattern = {-1, 40, -9, 5, -1, -1};
    open();

    EXPECT_TRUE(child("loadPage")->isVisible());
    EXPECT_FALSE(child("chartPage")->isVisible());
    EXPECT_FALSE(check(0)->isChecked());
    EXPECT_TRUE(check(1)->isChecked());
    EXPECT_TRUE(child<QRadioButton>("autoplaySide2")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("scratchSide1")->isChecked());
    EXPECT_EQ(score()->text(), "4321");
    EXPECT_FALSE(calendar()->isVisible());
    EXPECT_EQ(swatch("fillSwatch0"), QColor(255, 0, 0));
    EXPECT_EQ(swatch("patternSwatch5"), QColor(0x30, 0x20, 0x10));
    EXPECT_EQ(patterns(1)->currentIndex(), 18);
    EXPECT_EQ(patterns(2)->currentIndex(), 0);
    EXPECT_EQ(patterns(3)->currentText(), "ボールド水平線");
    EXPECT_EQ(dialog->graphSettings().Pattern[1], 40) << "showing a clamped entry is no edit";
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(patterns(i)->count(), 19);
        for (int p = 0; p < 19; ++p)
            EXPECT_EQ(patterns(i)->itemData(p).toInt(), p - 1);
    }

    child<QTabWidget>("optionPages")->setCurrentIndex(1);
    EXPECT_TRUE(child("chartPage")->isVisible());
    EXPECT_FALSE(child("loadPage")->isVisible());
}

TEST_F(OptionsDialogTest, OkAtOnceLeavesEverySettingAsItWas)
{
    const Filter withTime{true, 1, true, 2, true, -250, true, makeDate(2001, 5, 3, 9, 5, 7), 0};
    // A stored value finer than the shown second survives too.
    const Filter finer{
        false, 0, false, 0, false, 0, true, makeDate(2001, 5, 3) + 0.3 / kSecondsPerDay, makeDate(2002, 1, 2)};
    for (const Filter& stored : {withTime, finer}) {
        filter = stored;
        open();
        if (stored.Maxtime == 0) {
            EXPECT_EQ(dateField(0)->currentText(), "2001/05/03 9:05:07");
            EXPECT_EQ(dateField(1)->currentText(), "指定なし");
        }
        ok();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(fields(filter), fields(stored));
    }
}

TEST_F(OptionsDialogTest, EnablingFollowsTheBoxesAndSideButtonsCommitWhileUnchecked)
{
    open();
    EXPECT_FALSE(score()->isEnabled());
    EXPECT_FALSE(dateField(0)->isEnabled());
    check(2)->click();
    check(3)->click();
    EXPECT_TRUE(score()->isEnabled());
    EXPECT_TRUE(dateField(0)->isEnabled() && dateField(1)->isEnabled());
    check(3)->click();
    EXPECT_FALSE(dateField(1)->isEnabled());

    // The sides are off while their box is, and keep what was picked there.
    EXPECT_FALSE(child<QRadioButton>("autoplaySide2")->isEnabled());
    check(0)->click();
    check(1)->click();
    click("autoplaySide2");
    click("scratchSide1");
    EXPECT_TRUE(child<QRadioButton>("autoplaySide2")->isChecked()) << "the two groups are separate";
    check(0)->click();
    check(1)->click();
    EXPECT_FALSE(child<QRadioButton>("scratchSide1")->isEnabled());
    ok();
    EXPECT_FALSE(filter.IgnoreAutoplay);
    EXPECT_EQ(filter.optIgnoreAuto, 2);
    EXPECT_EQ(filter.optIgnoreScr, 1);
}

TEST_F(OptionsDialogTest, ReadingAgainIsOfferedOnceAFilterChangedAndPreviewsFollowTheStyle)
{
    open();
    auto* reload = child<QCheckBox>("reloadNowCheck");
    EXPECT_FALSE(reload->isEnabled());
    check(2)->click();
    EXPECT_TRUE(reload->isEnabled());
    check(2)->click(); // back as it was: nothing to read again
    EXPECT_FALSE(reload->isEnabled());
    score()->setText("100");
    check(2)->click();
    ok();
    EXPECT_TRUE(dialog->reloadNow());

    // The preview bar paints the pattern over the fill, or only the outline without one.
    graph.Color[1] = 0x0000FF; // red
    graph.PatternColor[1] = 0xFF0000; // blue
    open();
    const QImage plain = child("barPreview1")->grab().toImage();
    patterns(1)->setCurrentIndex(5); // 50 %: red and blue side by side
    const QImage patterned = child("barPreview1")->grab().toImage();
    const int y = plain.height() / 2, x = plain.width() / 2;
    EXPECT_NE(plain.pixelColor(x, y), QColor(255, 0, 0)) << "no pattern, no fill";
    QSet<QRgb> colours;
    for (int d = -2; d <= 2; ++d)
        colours.insert(patterned.pixel(x + d, y));
    EXPECT_TRUE(colours.contains(qRgb(255, 0, 0)) && colours.contains(qRgb(0, 0, 255)));
    EXPECT_FALSE(child<QLabel>("fillNote")->text().isEmpty());
}

TEST_F(OptionsDialogTest, ScoreIsTheNumberAtTheStartRoundedHalfToEven)
{
    const std::pair<QString, std::int32_t> cases[] = {{"1500点", 1500}, {"", 0}, {" 2.5", 2}, {"abc", 0}};
    for (const auto& [text, expected] : cases) {
        filter = Filter{};
        filter.ScoreFilter = true;
        open();
        score()->setText(text);
        ok();
        EXPECT_EQ(filter.MinScore, expected) << text.toStdString();
    }
    open();
    check(2)->click();
    score()->setText("5");
    ok();
    EXPECT_EQ(filter.MinScore, 0) << "the field is not read while its box is off";
}

TEST_F(OptionsDialogTest, UncheckingTheSpanKeepsTheDates)
{
    filter.SpanFilter = true;
    filter.Mintime = makeDate(2003, 4, 5);
    filter.Maxtime = makeDate(2004, 6, 7, 23, 59, 59);
    open();
    check(3)->click();
    dateField(0)->setEditText("not read while off");
    ok();
    EXPECT_FALSE(filter.SpanFilter);
    EXPECT_EQ(filter.Mintime, makeDate(2003, 4, 5));

    open();
    check(3)->click();
    EXPECT_EQ(dateField(0)->currentText(), "2003/04/05");
    EXPECT_EQ(dateField(1)->currentText(), "2004/06/07 23:59:59");
}

TEST_F(OptionsDialogTest, NoBoundPickedFromTheListAfterTypingADate)
{
    filter.SpanFilter = true;
    filter.Maxtime = makeDate(2004, 6, 7);
    open();
    QComboBox* field = dateField(1);
    field->setFocus();
    field->setEditText("2005/01/01");
    field->showPopup();
    QAbstractItemView* list = field->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
    EXPECT_EQ(field->currentText(), "指定なし");
    EXPECT_TRUE(check(3)->hasFocus());
    EXPECT_FALSE(calendar()->isVisible());
    ok();
    EXPECT_EQ(filter.Maxtime, 0);
}

TEST_F(OptionsDialogTest, OkRefusesWhatItCannotConvertAndCommitsNothing)
{
    filter.SpanFilter = true;
    filter.Mintime = makeDate(2003, 4, 5);
    open();
    check(0)->click();
    for (const char* text : {" 指定なし", "2003/02/30", ""}) {
        dateField(0)->setEditText(text);
        EXPECT_TRUE(refusedOk().startsWith(QString("期間の開始日（から）「%1」").arg(text))) << text;
    }

    dateField(0)->setEditText(" 2003-2-3 4:05 ");
    check(2)->click();
    score()->setText("99999999999");
    EXPECT_TRUE(refusedOk().contains("99999999999"));
    score()->setText("-2147483648");
    ok();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(filter.IgnoreAutoplay);
    EXPECT_EQ(filter.MinScore, -2147483647 - 1);
    EXPECT_EQ(filter.Mintime, makeDate(2003, 2, 3, 4, 5));
}

TEST_F(OptionsDialogTest, OkRefusesAStartAfterTheEndAndSaysTheSpanComparesDays)
{
    filter.SpanFilter = true;
    open();
    EXPECT_TRUE(child<QLabel>("spanByDaysNote")->text().contains("日で比べます"));
    dateField(0)->setEditText("2003/02/04");
    dateField(1)->setEditText("2003/02/03 23:59");
    EXPECT_EQ(refusedOk(), "期間の開始日（から）は終了日（まで）より前の日付にしてください。");
    dateField(1)->setEditText("指定なし");
    ok();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(filter.Mintime, makeDate(2003, 2, 4));
}

TEST_F(OptionsDialogTest, CancelEscapeAndTheCloseControlDropTheStyleEdits)
{
    graph.Color[1] = 123;
    graph.PatternColor[0] = 0x00FF00;
    const GraphSettings opening = graph;
    // Three colours and a pattern.
    auto edit = [this] {
        nextColor.reset();
        click("patternColorButton0");
        EXPECT_EQ(swatch("patternSwatch0"), QColor(0, 255, 0)) << "a cancelled chooser keeps the swatch";
        nextColor = QColor(1, 2, 3);
        click("fillColorButton0");
        click("patternColorButton2");
        nextColor = QColor(255, 128, 0);
        click("fillColorButton5");
        patterns(4)->setCurrentIndex(18);
        EXPECT_EQ(swatch("fillSwatch5"), QColor(255, 128, 0));
    };
    const std::function<void()> cancels[] = {[this] { click("cancelButton"); }, [this] { dialog->close(); },
        [this] { QTest::keyClick(dialog.get(), Qt::Key_Escape); }};
    for (const auto& cancel : cancels) {
        open();
        edit();
        cancel();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(fields(graph), fields(opening));
    }

    open();
    edit();
    ok();
    EXPECT_EQ(graph.Color[0], 0x030201);
    EXPECT_EQ(graph.PatternColor[0], 0x00FF00);
    EXPECT_EQ(graph.PatternColor[2], 0x030201);
    EXPECT_EQ(graph.Color[5], 0x0080FF);
    EXPECT_EQ(graph.Pattern[4], 17);
    EXPECT_EQ(graph.Color[1], 123);
}

TEST_F(OptionsDialogTest, EscWithTheDatePopupOpenClosesOnlyThePopup)
{
    filter.SpanFilter = true;
    open();
    check(0)->click();
    dateField(1)->setFocus();
    dateField(1)->setEditText("2004/01/02");
    dateField(0)->setFocus();
    ASSERT_TRUE(calendar()->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(calendar()->isVisible());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dateField(1)->currentText(), "2004/01/02");
    // The edits are still there for OK.
    ok();
    EXPECT_TRUE(filter.IgnoreAutoplay);
    EXPECT_EQ(filter.Maxtime, makeDate(2004, 1, 2));
}

TEST_F(OptionsDialogTest, CalendarFillsTheFieldThatLastHadTheFocus)
{
    filter.SpanFilter = true;
    open();
    QCalendarWidget* month = calendar();
    dateField(0)->setFocus();
    ASSERT_TRUE(month->isVisible());
    dateField(1)->setFocus();
    ASSERT_TRUE(month->isVisible());
    const QRect field(dateField(1)->mapTo(dialog.get(), QPoint(0, 0)), dateField(1)->size());
    EXPECT_EQ(month->geometry().left(), field.right() + 1);
    EXPECT_EQ(month->geometry().bottom() + 1, field.top());

    emit month->clicked(QDate(2003, 4, 5));
    EXPECT_EQ(dateField(1)->currentText(), "2003/04/05");
    EXPECT_EQ(dateField(0)->currentText(), "指定なし");
    EXPECT_FALSE(month->isVisible());

    dateField(0)->setFocus();
    ASSERT_TRUE(month->isVisible());
    QTest::keyClick(dateField(0), Qt::Key_1);
    EXPECT_FALSE(month->isVisible()) << "typing hides it";
}

} // namespace
