#pragma once

#include <QObject>
#include <QString>

class QTableView;

namespace tolvane {

class StableSortProxy;

// Sorting by a table's header: the first click on a column sorts it
// ascending, the second descending, the third gives back the model's own
// order. The header's context menu offers the way back as well. The view
// must show the proxy; the view's own sortingEnabled stays off.
class HeaderSorting final : public QObject {
    Q_OBJECT

public:
    // restoreText: the menu entry, e.g. "ファイルの順序に戻す".
    HeaderSorting(QTableView& view, StableSortProxy& proxy, QString restoreText);

    // The entry texts for the data list and for a ranking.
    static QString fileOrderText();
    static QString rankingOrderText();

    void restoreOrder();

private:
    void sortBySection(int section);
    void showHeaderMenu(const QPoint& position);
    void sortColumn(int section, Qt::SortOrder order);

    QTableView& view_;
    StableSortProxy& proxy_;
    QString restoreText_;
};

} // namespace tolvane
