#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QPushButton;

namespace tolvane {

// The period chart's panel beside its chart: the caption "操作ボタン", the
// buttons "+" (zoom in), "←" (earlier), "→" (later) and "-" (zoom out) in a
// cross, the caption "詳細情報", then the period captions: from, "から", to
// and the fourth caption ("まで", or the day a day-level drawing shows).
class NavigationPanel final : public QFrame {
    Q_OBJECT

public:
    explicit NavigationPanel(QWidget* parent = nullptr);

    void showCaptions(const QString& from, const QString& to, const QString& until);
    // Off only while an analysis runs.
    void setButtonsEnabled(bool enabled);

signals:
    void zoomInClicked();
    void zoomOutClicked();
    void earlierClicked();
    void laterClicked();

private:
    QLabel* from_;
    QLabel* to_;
    QLabel* until_;
    QPushButton* zoomIn_;
    QPushButton* earlier_;
    QPushButton* later_;
    QPushButton* zoomOut_;
};

} // namespace tolvane
