#pragma once

#include <QPersistentModelIndex>

class QAbstractItemView;

namespace tolvane {

// Keeps the rows a view shows where they are while rows are added: made
// before the model grows, it scrolls the row that was on top back to the top
// when it goes. The selection needs no help; the view keeps it.
class ScrollAnchor final {
public:
    explicit ScrollAnchor(QAbstractItemView& view);
    ~ScrollAnchor();
    ScrollAnchor(const ScrollAnchor&) = delete;
    ScrollAnchor& operator=(const ScrollAnchor&) = delete;

private:
    QAbstractItemView& view_;
    QPersistentModelIndex top_;
    bool atTop_ = false;
};

} // namespace tolvane
