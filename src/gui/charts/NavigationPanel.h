#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QPushButton;

namespace tolvane {

// The period chart's panel Frame3, 1500 x 3060 twips: the caption Label1, the
// buttons "+" (CommandUP), "←" (CommandL), "→" (CommandR) and "-"
// (CommandDown) in a cross, the caption Label3, then the period captions
// Label6(0), "から" (Label5), Label6(1) and Label2.
class NavigationPanel final : public QFrame {
    Q_OBJECT

public:
    explicit NavigationPanel(QWidget* parent = nullptr);

    // Puts the controls at their design places for a screen of dpi dots per
    // inch. The panel itself starts at its design size; the owner sizes and
    // places it.
    void placeControls(double dpi);

    void showCaptions(const QString& from, const QString& to, const QString& label2);
    // Off only while an analysis runs.
    void setButtonsEnabled(bool enabled);

signals:
    void upClicked();
    void downClicked();
    void leftClicked();
    void rightClicked();

private:
    void fitCaptions();

    QLabel* label1_;
    QPushButton* up_;
    QPushButton* left_;
    QPushButton* right_;
    QPushButton* down_;
    QLabel* label3_;
    QLabel* from_;
    QLabel* label5_;
    QLabel* to_;
    QLabel* label2_;
};

} // namespace tolvane
