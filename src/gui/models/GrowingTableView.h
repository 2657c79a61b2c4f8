#pragma once

#include <QTableView>

#include <vector>

namespace tolvane {

// A table view for a list that grows at its end while it is shown: rows
// appended below the last visible row change only the scroll bars, so the
// view updates those alone instead of drawing every visible cell again. A run
// that grows the data list a dozen times would otherwise spend a good part of
// its time drawing the same rows. Any other change (a reset, a sort, rows
// removed, moved or put in between, columns, a new font or style, a new
// model or root) lays the view out and draws it in full, as QTableView does.
// A new icon size or item delegate is not watched: set them before rows come.
class GrowingTableView final : public QTableView {
    Q_OBJECT

public:
    explicit GrowingTableView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    void setRootIndex(const QModelIndex& index) override;
    void reset() override;
    void doItemsLayout() override;

protected:
    bool event(QEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;

private:
    void needFullLayout() { fullLayoutDue_ = true; }

    std::vector<QMetaObject::Connection> modelConnections_;
    // Rows were appended out of sight since the last layout...
    bool appendedOutOfSight_ = false;
    // ...and nothing else asked for one.
    bool fullLayoutDue_ = false;
};

} // namespace tolvane
