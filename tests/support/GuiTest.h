#pragma once

#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <vector>

namespace tolvane::testing {

// The one QApplication of a test run, made on first use (offscreen unless
// the environment says otherwise).
void ensureApplication();

// Answers the message boxes that show up while it lives, in order, and keeps
// what each of them said. A box beyond the answers given is answered with
// its default button.
class MessageBoxAnswerer final {
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
    };

    explicit MessageBoxAnswerer(std::vector<QMessageBox::StandardButton> answers = {});

    const std::vector<Seen>& seen() const { return seen_; }

private:
    void poll();

    std::vector<QMessageBox::StandardButton> answers_;
    std::vector<Seen> seen_;
    QTimer timer_;
};

} // namespace tolvane::testing
