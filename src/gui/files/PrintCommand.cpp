#include "gui/files/PrintCommand.h"

#include "gui/files/TableExport.h"

#include <QHeaderView>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableView>
#include <algorithm>

namespace tolvane {

PrintCommand::PrintCommand(QWidget& parent)
    : QObject(&parent)
    , parent_(parent)
    , printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
}

PrintCommand::~PrintCommand() = default;

void PrintCommand::pageSetup()
{
    QPageSetupDialog dialog(printer_.get(), &parent_);
    dialog.exec();
}

void PrintCommand::preview(const std::function<void(QPrinter&)>& print, const QString& title)
{
    printer_->setDocName(title);
    QPrintPreviewDialog dialog(printer_.get(), &parent_);
    dialog.setObjectName("printPreview");
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&print](QPrinter* printer) { print(*printer); });
    dialog.exec();
}

void PrintCommand::previewTable(const QTableView& table, const QString& title)
{
    preview([&table, &title](QPrinter& printer) { printTable(printer, table, title); }, title);
}

void PrintCommand::previewChart(QWidget& chart, const QString& title)
{
    preview([&chart, &title](QPrinter& printer) { printChart(printer, chart, title); }, title);
}

int PrintCommand::printTable(QPrinter& printer, const QTableView& table, const QString& title)
{
    QPainter painter;
    if (!painter.begin(&printer) || !table.model())
        return 0;
    const QAbstractItemModel& model = *table.model();
    const std::vector<int> columns = TableExport::shownColumns(table);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF area(0, 0, page.width(), page.height());

    // Columns keep their on-screen proportions across the page's width.
    double screenWidth = 0;
    for (int c : columns)
        screenWidth += std::max(table.columnWidth(c), 1);
    std::vector<double> widths;
    for (int c : columns)
        widths.push_back(area.width() * std::max(table.columnWidth(c), 1) / std::max(screenWidth, 1.0));

    QFont font = table.font();
    font.setPointSizeF(std::max(font.pointSizeF(), 6.0));
    painter.setFont(font);
    const double lineHeight = painter.fontMetrics().height() * 1.3;
    const double padding = lineHeight * 0.15;

    const auto drawRow = [&](double y, const std::function<QString(int)>& text, bool bold) {
        QFont f = font;
        f.setBold(bold);
        painter.setFont(f);
        double x = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const QRectF cell(x + padding, y, widths[i] - 2 * padding, lineHeight);
            const QString elided
                = painter.fontMetrics().elidedText(text(columns[i]), Qt::ElideRight, static_cast<int>(cell.width()));
            painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, elided);
            x += widths[i];
        }
        painter.drawLine(QPointF(0, y + lineHeight), QPointF(area.width(), y + lineHeight));
    };
    const auto header = [&](int c) { return model.headerData(c, Qt::Horizontal).toString(); };

    int pages = 1;
    double y = 0;
    const auto startPage = [&] {
        painter.setFont(font);
        painter.drawText(QRectF(0, 0, area.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
            title + QStringLiteral("  (%1)").arg(pages));
        y = lineHeight;
        drawRow(y, header, true);
        y += lineHeight;
    };
    startPage();
    const int rows = model.rowCount();
    for (int r = 0; r < rows; ++r) {
        if (table.isRowHidden(r))
            continue;
        if (y + lineHeight > area.height()) {
            printer.newPage();
            ++pages;
            startPage();
        }
        drawRow(
            y, [&](int c) { return model.index(r, c).data().toString(); }, false);
        y += lineHeight;
    }
    painter.end();
    return pages;
}

int PrintCommand::printChart(QPrinter& printer, QWidget& chart, const QString& title)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double titleHeight = painter.fontMetrics().height() * 1.5;
    painter.drawText(QRectF(0, 0, page.width(), titleHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
    // The chart keeps its proportions and fills the page's width or height.
    const QSizeF size = chart.size();
    const double scale = std::min(
        page.width() / std::max(size.width(), 1.0), (page.height() - titleHeight) / std::max(size.height(), 1.0));
    painter.translate(0, titleHeight);
    painter.scale(scale, scale);
    chart.render(&painter);
    painter.end();
    return 1;
}

} // namespace tolvane
