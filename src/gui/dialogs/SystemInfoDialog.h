#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

namespace tolvane {

// What a bug report needs to know about this program and this machine:
// the program's and Qt's versions, the system, its cores and memory, the
// settings file and the logs open, with a button that copies it all.
class SystemInfoDialog final : public QDialog {
    Q_OBJECT

public:
    SystemInfoDialog(const QString& settingsPath, const QStringList& openLogs, QWidget* parent = nullptr);

    // The text shown, one "name: value" a line.
    static QString infoText(const QString& settingsPath, const QStringList& openLogs);
    QString text() const;

private slots:
    void copyText();

private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace tolvane
