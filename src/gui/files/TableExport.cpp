#include "gui/files/TableExport.h"

#include "core/export/CsvText.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

namespace tolvane::TableExport {

namespace {

std::vector<std::string> headerCells(const QTableView& view, const std::vector<int>& columns)
{
    std::vector<std::string> cells;
    for (int c : columns)
        cells.push_back(view.model()->headerData(c, Qt::Horizontal).toString().toStdString());
    return cells;
}

std::vector<std::string> rowCells(const QTableView& view, int row, const std::vector<int>& columns)
{
    const QAbstractItemModel& model = *view.model();
    std::vector<std::string> cells;
    for (int c : columns)
        cells.push_back(model.index(row, c).data(Qt::DisplayRole).toString().toStdString());
    return cells;
}

} // namespace

std::vector<int> shownColumns(const QTableView& view)
{
    std::vector<int> columns;
    if (!view.model())
        return columns;
    const QHeaderView& header = *view.horizontalHeader();
    for (int visual = 0; visual < header.count(); ++visual) {
        const int logical = header.logicalIndex(visual);
        if (logical >= 0 && !view.isColumnHidden(logical))
            columns.push_back(logical);
    }
    return columns;
}

std::string csv(const QTableView& view)
{
    std::string out(kUtf8ByteOrderMark);
    if (!view.model())
        return out;
    const std::vector<int> columns = shownColumns(view);
    // The file is made for spreadsheets: a name that would run there as a formula is kept a text.
    out += csvLine(headerCells(view, columns), CsvTexts::SpreadsheetSafe);
    const int rows = view.model()->rowCount();
    for (int r = 0; r < rows; ++r) {
        if (!view.isRowHidden(r))
            out += csvLine(rowCells(view, r, columns), CsvTexts::SpreadsheetSafe);
    }
    return out;
}

QString selectedRowsText(const QTableView& view)
{
    if (!view.model() || !view.selectionModel())
        return {};
    std::vector<int> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return {};
    const std::vector<int> columns = shownColumns(view);
    std::string text = tabLine(headerCells(view, columns));
    for (int r : rows)
        text += tabLine(rowCells(view, r, columns));
    return QString::fromStdString(text);
}

bool copySelectedRows(const QTableView& view)
{
    const QString text = selectedRowsText(view);
    if (text.isEmpty())
        return false;
    QApplication::clipboard()->setText(text);
    return true;
}

} // namespace tolvane::TableExport
