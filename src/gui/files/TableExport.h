#pragma once

#include <QString>
#include <string>
#include <vector>

class QTableView;

namespace tolvane::TableExport {

// The columns as the view shows them: in their on-screen order, hidden ones left out.
std::vector<int> shownColumns(const QTableView& view);

// The whole table as the view shows it (filtered and sorted rows, shown
// columns) as CSV: a UTF-8 byte order mark, a header line, then the rows. A
// text that a spreadsheet would run as a formula starts with "'" (see
// CsvTexts::SpreadsheetSafe); numbers are as shown.
std::string csv(const QTableView& view);

// The selected rows, in the view's order, as tab-separated text with a header
// line; empty when no row is selected.
QString selectedRowsText(const QTableView& view);

// Puts selectedRowsText on the clipboard; false when nothing was selected.
bool copySelectedRows(const QTableView& view);

} // namespace tolvane::TableExport
