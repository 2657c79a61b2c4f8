#pragma once

#include "core/trends/ChartRows.h"
#include "core/trends/ChartStyle.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <vector>

class QBarSet;
class QCategoryAxis;
class QChart;
class QChartView;
class QValueAxis;

namespace tolvane {

// The font of the charts and their panel; fontconfig falls back to the
// system's Japanese font where it is missing.
QFont chartFont();

// The bottom axis's title for rows as the trend charts label them, with the
// unit of the bars: "年/月" for "2001/12", "月/日" for "12/5", "曜日", "時"
// for the 24 hours 0..23, "日" for other plain numbers, "年" and "月" for
// labels ending so; "" for no rows.
QString categoryAxisTitle(const ChartRows& rows);

// One trend chart: a bar chart with one series, fed from the core's rows. A
// row without a value has no bar. The bars take the brush of the bar
// style applied last; new rows keep it.
//
// The bottom axis is a QCategoryAxis that labels every few bars as room
// allows: a QBarCategoryAxis cuts each label to the width of one bar, which
// leaves nothing but "..." under a span of a hundred months.
class BarChart final : public QWidget {
    Q_OBJECT

public:
    explicit BarChart(QWidget* parent = nullptr);

    void setRows(const ChartRows& rows);
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Rows count from 1; a row outside 1..rowCount() reads "".
    QString rowLabel(int row) const;
    QString rowValue(int row) const; // the count as text; "" for no value
    QString barToolTip(int row) const;

    void setBarStyle(const BarStyle& style);
    const BarStyle& barStyle() const { return style_; }

    // The axis shows the label of every labelStep()-th row, from the first.
    int labelStep() const { return labelStep_; }

    QChart* chart() const { return chart_; }
    QBarSet* bars() const { return bars_; }
    QCategoryAxis* categoryAxis() const { return categoryAxis_; }
    QValueAxis* valueAxis() const { return valueAxis_; }

    // The row (from 1) whose bar's column holds a point of the chart's view; 0 outside.
    int rowAtViewPoint(QPoint point) const;

signals:
    // A bar was clicked; index counts from 0 in row order.
    void barClicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Row {
        QString label;
        ChartValue value;
    };

    const Row* rowAt(int row) const;
    int labelStepFor(double plotWidth) const;
    void thinLabels();
    void showCategories(int step);
    void scaleValueAxis();
    void showBarTip(bool hovering, int index);

    std::vector<Row> rows_;
    BarStyle style_;
    QString labelUnit_; // added to plain-number labels in the tooltips
    int labelStep_ = 0;
    QChartView* view_;
    QChart* chart_;
    QBarSet* bars_;
    QCategoryAxis* categoryAxis_;
    QValueAxis* valueAxis_;
};

} // namespace tolvane
