#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string_view>

class QTableView;
class QWidget;

namespace tolvane {

// File > Save: writes what a page shows to a file the user picks: a table as
// CSV, a chart as PNG or SVG. The file is written whole or not at all; a
// failure gets a message and leaves nothing behind. A name that is a link is
// saved where the link leads.
class SaveCommand final : public QObject {
    Q_OBJECT

public:
    // Asks for the path to save to, starting at suggested; filter picks one of
    // filters and may be changed to the one chosen. Empty when cancelled.
    using PathChooser
        = std::function<QString(QWidget* parent, const QString& suggested, const QString& filters, QString* filter)>;

    explicit SaveCommand(QWidget& parent);

    // Tests and scripts hand the path over without a dialog.
    void setPathChooser(PathChooser chooser) { chooser_ = std::move(chooser); }
    // Where the dialog starts (the folder of the open log, say).
    void setStartFolder(const QString& folder) { startFolder_ = folder; }

    // True when the file was written; false when cancelled or failed.
    bool saveTable(const QTableView& table, const QString& baseName);
    bool saveChart(QWidget& chart, const QString& baseName);

    // Writes bytes to path; on failure shows the message and returns false.
    bool write(const QString& path, std::string_view bytes);

    static QString chooseSavePath(QWidget* parent, const QString& suggested, const QString& filters, QString* filter);

signals:
    void saved(const QString& path);

private:
    QString suggestedPath(const QString& baseName, const QString& suffix) const;
    // Asks before replacing what the dialog could not see (the file behind a
    // dangling link, a name whose suffix was added) and refuses links in a
    // loop; false when the save is not to go on.
    bool mayWrite(const QString& path, bool suffixAdded);

    QWidget& parent_;
    PathChooser chooser_ = &SaveCommand::chooseSavePath;
    QString startFolder_;
};

} // namespace tolvane
