#pragma once

#include <QDate>
#include <QWidget>

class QLabel;
class QPushButton;

namespace tolvane {

// Shown over the data list while it holds one day's plays: what it shows,
// and the way back to every play.
class DayFilterBar final : public QWidget {
    Q_OBJECT

public:
    explicit DayFilterBar(QWidget* parent = nullptr);

    void showDay(QDate date, int plays);
    QString text() const;
    QPushButton* backButton() const { return back_; }

signals:
    void showAllPlays();

private:
    QLabel* label_;
    QPushButton* back_;
};

} // namespace tolvane
