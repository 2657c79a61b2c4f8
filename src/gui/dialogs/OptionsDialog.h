#pragma once

#include "core/log/Filter.h"
#include "core/trends/ChartStyle.h"

#include <QColor>
#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QButtonGroup;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QDate;
class QFrame;
class QKeyEvent;
class QLineEdit;
class QTabWidget;

namespace tolvane {

// The options dialog ("おぷしょん"): the load filters on its first page, the
// bar styles of the six charts on the second. It edits copies of the values
// it is given; after OK, filter() and graphSettings() give the edited ones.
// OK refuses a date field that is neither "指定なし" nor a date, and a score
// that does not fit 32 bits: it names the field in a message box, commits
// nothing and stays open. Cancel, Esc and the close control drop every edit.
class OptionsDialog final : public QDialog {
    Q_OBJECT

public:
    // Returns the colour picked, or nothing when the user backed out.
    using ColorChooser = std::function<std::optional<QColor>(QColor current)>;

    OptionsDialog(const Filter& filter, const GraphSettings& graph, QWidget* parent = nullptr);

    // The default asks QColorDialog; tests supply the answer instead.
    void setColorChooser(ColorChooser chooser) { chooseColor_ = std::move(chooser); }

    // The values as edited; the filter only changes when OK accepts it.
    const Filter& filter() const { return filter_; }
    const GraphSettings& graphSettings() const { return graph_; }
    // The load page's file options: reopen the last log at start, follow the open log.
    void setFileOptions(bool reopenLast, bool followLog);
    bool reopenLast() const;
    bool followLog() const;
    // After OK: a load filter was changed and the user asked for the open
    // logs to be read again with it ("今すぐ読み直す").
    bool reloadNow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void acceptIfValid();
    void showPage(int index);
    void updateEnabledFields();
    void showDatePopup(int field);
    void hideDatePopup();
    void pickNoBound();
    void fillDateField(const QDate& date);
    void chooseFillColor(int chart);
    void choosePatternColor(int chart);
    void choosePattern(int chart);
    void updateSideChoices();
    void updateReloadChoice();

private:
    QWidget* buildLoadPage();
    QCheckBox* reopenLast_ = nullptr;
    QCheckBox* followLog_ = nullptr;
    QWidget* buildChartPage();
    // The load filters' controls as shown, to tell an edit from none.
    QStringList filterControlState() const;
    void showPreviews();
    void showValues();
    // Reads the controls into a copy of the filter; nothing when a field
    // cannot be converted (the user has been told which).
    std::optional<Filter> readFilter();
    std::optional<DateValue> readDate(int field);

    Filter filter_;
    GraphSettings graph_;
    ColorChooser chooseColor_;
    int popupTarget_ = 0;
    // Set while the dialog hands the focus back to a date field itself.
    bool quietFocus_ = false;

    QTabWidget* pages_ = nullptr;
    QCheckBox* ignoreAutoplay_ = nullptr;
    QCheckBox* ignoreScratch_ = nullptr;
    QCheckBox* scoreFilter_ = nullptr;
    QCheckBox* spanFilter_ = nullptr;
    QButtonGroup* autoplaySide_ = nullptr;
    QButtonGroup* scratchSide_ = nullptr;
    QLineEdit* minScore_ = nullptr;
    std::array<QComboBox*, 2> dateFields_{};
    // What the date fields showed on opening: an untouched field keeps its
    // exact stored value, even one its text cannot carry.
    std::array<QString, 2> shownDates_;
    QCalendarWidget* datePopup_ = nullptr;
    // One a chart, in the charts' order.
    std::vector<QFrame*> fillSwatches_;
    std::vector<QFrame*> patternSwatches_;
    std::vector<QComboBox*> patternChoosers_;
    std::vector<QFrame*> previews_;
    std::vector<QWidget*> sideRows_; // autoplay, then scratch
    QCheckBox* reloadNow_ = nullptr;
    QStringList shownFilter_;
};

} // namespace tolvane
