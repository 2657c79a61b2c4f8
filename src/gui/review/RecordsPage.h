#pragma once

#include "core/review/Records.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QSortFilterProxyModel;
class QTableView;

namespace tolvane {

class BarChart;
class RecordsModel;

// The records page: records per month as a bar chart, the records of the
// month chosen on it (a click, or Home/End/←/→), and every record in a
// sortable table. It only shows the view it is given.
class RecordsPage final : public QWidget {
    Q_OBJECT

public:
    explicit RecordsPage(QWidget* parent = nullptr);

    void setRecords(const RecordsView& view);

    // The month chosen on the chart, from 0 in the chart's order; -1 for none.
    int currentMonth() const { return month_; }
    void showMonth(int index);

    BarChart* chart() const { return chart_; }
    QListWidget* monthList() const { return monthList_; }
    QTableView* table() const { return table_; }
    RecordsModel* model() const { return model_; }

signals:
    // A record's song was double-clicked.
    void songActivated(const QString& title);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void activateTableRow(const QModelIndex& index);

    RecordsView view_;
    int month_ = -1;
    BarChart* chart_;
    QLabel* monthCaption_;
    QListWidget* monthList_;
    RecordsModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
};

} // namespace tolvane
