#pragma once

#include "core/trends/ChartStyle.h"
#include "core/log/Filter.h"

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QDate;
class QFrame;
class QLineEdit;
class QPushButton;
class QStackedLayout;
class QTabBar;

namespace tolvane {

// The options dialog: the load filters on page 1, the bar styles of the six
// charts on page 2. It edits the program's settings in place:
// - filter edits stay in the controls until OK copies them into the Filter;
// - bar-style edits go into the GraphSettings the moment they are made, and
//   Cancel, Escape or the frame's close control put back the styles the
//   dialog opened with.
// OK refuses a date field that is neither "指定なし" nor a date, and a score
// that does not fit 32 bits: it names the field in a message box, commits
// nothing and stays open.
//
// The caller opens it modally, then restyles the charts whatever the answer,
// since the styles may have changed either way until the dialog closed.
class frmOption final : public QDialog {
    Q_OBJECT

public:
    // Returns the colour picked, or nothing when the user backed out.
    using ColorChooser = std::function<std::optional<QColor>(QColor current)>;

    frmOption(Filter& filter, GraphSettings& graph, QWidget* parent = nullptr);

    // The default asks QColorDialog; tests supply the answer instead.
    void setColorChooser(ColorChooser chooser) { chooseColor_ = std::move(chooser); }

    // The page shown, 1 or 2. Nothing outside the dialog reads it and every
    // opening starts on page 1, so it lives and dies with the dialog.
    int currentPage() const { return currentPage_; }

    // The controls' handlers, callable as a user's action would call them.
    void TabStrip1_Click(int page);
    void Check1_Click(int i);
    void Combo1_GotFocus(int i);
    void Combo1_Change(int i);
    void Combo1_Click(int i);
    void MonthView1_DateClick(const QDate& date);
    void ComColor_Click(int i);
    void ComPatColor_Click(int i);
    void Combo2_Click(int i);
    void Command1_Click();
    void Command2_Click();

    // Cancel, Escape and the frame's close control all end here.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildLoadPage();
    QWidget* buildChartPage();
    void Form_Load();
    void chooseInto(QFrame* swatch, const std::function<void(std::int32_t)>& store);
    // Reads the controls into a copy of the filter; nothing when a field
    // cannot be converted (the user has been told which).
    std::optional<Filter> readFilter();
    std::optional<DateValue> readDate(int i);

    Filter& filter_;
    GraphSettings& graph_;
    GraphSettings opening_;
    ColorChooser chooseColor_;
    int currentPage_ = 1;
    int calendarTarget_ = 0;
    // Set while the dialog hands the focus back to a date field itself.
    bool quietFocus_ = false;

    QTabBar* tabStrip1_ = nullptr;
    QStackedLayout* pages_ = nullptr;
    std::array<QWidget*, 3> frame1_{};
    std::array<QCheckBox*, 4> check1_{};
    QButtonGroup* option1_ = nullptr;
    QButtonGroup* option2_ = nullptr;
    QLineEdit* text1_ = nullptr;
    std::array<QComboBox*, 2> combo1_{};
    // What the date fields showed on opening: an untouched field keeps its
    // exact stored value, even one its text cannot carry.
    std::array<QString, 2> shownDates_;
    QCalendarWidget* monthView1_ = nullptr;
    std::array<QFrame*, 6> shape1_{};
    std::array<QFrame*, 6> shape2_{};
    std::array<QComboBox*, 6> combo2_{};
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
};

} // namespace tolvane
