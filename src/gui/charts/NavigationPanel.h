#pragma once

#include "core/trends/ChartNavigation.h"

#include <QFrame>
#include <QString>

class QLabel;
class QPushButton;

namespace tolvane {

// The period chart's panel beside its chart: the caption "操作ボタン", the
// buttons "+" (zoom in), "←" (earlier), "→" (later) and "-" (zoom out) in a
// cross, the caption "詳細情報", then the period captions: from, "から", to
// and the fourth caption ("まで", or the day a day-level drawing shows).
// A button that can do nothing is disabled, and its tooltip says why.
class NavigationPanel final : public QFrame {
    Q_OBJECT

public:
    explicit NavigationPanel(QWidget* parent = nullptr);

    void showCaptions(const QString& from, const QString& to, const QString& until);
    // Off while an analysis runs; on again, each button as its limit allows.
    void setButtonsEnabled(bool enabled);
    // What each button can do after a drawing.
    void setLimits(const ChartLimits& limits);

signals:
    void zoomInClicked();
    void zoomOutClicked();
    void earlierClicked();
    void laterClicked();

private:
    void showLimits();
    QString reasonText(ChartLimit limit) const;

    ChartLimits limits_;
    bool running_ = false;
    QLabel* from_;
    QLabel* to_;
    QLabel* until_;
    QPushButton* zoomIn_;
    QPushButton* earlier_;
    QPushButton* later_;
    QPushButton* zoomOut_;
};

} // namespace tolvane
