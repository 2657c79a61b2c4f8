#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

namespace tolvane {

// The about box: the program's title and version, and a button that starts
// the desktop's system-information program.
class AboutDialog final : public QDialog {
    Q_OBJECT

public:
    // Starts the program at this path without waiting for it; false when it
    // could not be started.
    using Launcher = std::function<bool(const QString& path)>;

    AboutDialog(int major, int minor, int revision, QWidget* parent = nullptr);

    // "Tolvane  ver 1.13" for 1, 1, 3: no separator between minor and revision.
    static QString titleText(int major, int minor, int revision);

    // The programs tried in order; the first one found on the PATH is started.
    static QStringList defaultSystemInfoPrograms();
    void setSystemInfoPrograms(QStringList names) { programs_ = std::move(names); }
    void setLauncher(Launcher launcher) { launch_ = std::move(launcher); }
    // What the system-information dialog lists beside the machine's figures.
    void setSessionFacts(QString settingsPath, QStringList openLogs)
    {
        settingsPath_ = std::move(settingsPath);
        openLogs_ = std::move(openLogs);
    }

public slots:
    // Starts the first program found, or else shows the program's own
    // system-information dialog.
    void startSystemInfo();

private:
    QStringList programs_;
    Launcher launch_;
    QString settingsPath_;
    QStringList openLogs_;
};

} // namespace tolvane
