#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QTableView;

namespace tolvane {

// Sorting by a table's header: the first click on a column sorts it
// ascending, the second descending, the third gives back the model's own
// order (file order, a ranking's order). The header's context menu offers
// the same, and the way back, and shows again a column hidden or narrowed out
// of sight. For a stable sort, the view shows a StableSortProxy.
class HeaderSorting final : public QObject {
    Q_OBJECT

public:
    // restoreText: the menu entry, e.g. "ファイルの順序に戻す".
    HeaderSorting(QTableView& view, QString restoreText);

    // The entry texts for the data list and for a ranking.
    static QString fileOrderText();
    static QString rankingOrderText();

    void restoreOrder();
    // Hidden columns and columns narrower than the header allows, at the
    // header's default width again.
    void showLostColumns();
    QList<int> lostColumns() const;

private:
    void showHeaderMenu(const QPoint& position);
    void sortColumn(int section, Qt::SortOrder order);

    QTableView& view_;
    QString restoreText_;
};

} // namespace tolvane
