#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;
class QTimer;

namespace tolvane {

// The status bar's three panels: the status text (progress while a log is
// read), today's date and the time, kept current.
class StatusProgress final : public QObject {
    Q_OBJECT

public:
    explicit StatusProgress(QStatusBar* bar);

    void setStatus(const QString& text);
    QString status() const;
    QString dateText() const;
    QString timeText() const;

private:
    void tick();

    QLabel* status_;
    QLabel* date_;
    QLabel* time_;
    QTimer* clock_;
};

} // namespace tolvane
