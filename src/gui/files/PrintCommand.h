#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QTableView;
class QWidget;

namespace tolvane {

// File > Print, Print Preview and Page Setup: a print preview of a table (every
// row as the view shows it, split over pages, the header on each page) or of
// a chart (scaled to fit the page). One printer keeps the page setup between
// commands.
class PrintCommand final : public QObject {
    Q_OBJECT

public:
    explicit PrintCommand(QWidget& parent);
    ~PrintCommand() override;

    void pageSetup();
    void previewTable(const QTableView& table, const QString& title);
    void previewChart(QWidget& chart, const QString& title);

    QPrinter& printer() { return *printer_; }

    // The drawing itself, for the preview and for tests: returns the pages printed.
    static int printTable(QPrinter& printer, const QTableView& table, const QString& title);
    static int printChart(QPrinter& printer, QWidget& chart, const QString& title);

private:
    void preview(const std::function<void(QPrinter&)>& print, const QString& title);

    QWidget& parent_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace tolvane
