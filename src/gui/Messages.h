#pragma once

#include <QMessageBox>
#include <string>
#include <vector>

class QWidget;

namespace tolvane {

// The program's message boxes: no icon, titled "Tolvane", one line of text a
// line of the message.
namespace Messages {

// A box not yet shown, for a caller that shows it its own way.
QMessageBox* create(QWidget* parent, const std::vector<std::string>& lines, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton);
// An OK box.
void inform(QWidget* parent, const std::vector<std::string>& lines);
// A Yes/No box; true for Yes.
bool ask(QWidget* parent, const std::vector<std::string>& lines);
// A format failure's message (the lines of the failed run) followed by the
// offer to read the log again skipping damaged entries; true for Yes.
bool offerSkipDamaged(QWidget* parent, const std::vector<std::string>& failureLines);
// "まだ未実装です m(_ _)mｽﾏｿ"
void notImplemented(QWidget* parent);

QString joinLines(const std::vector<std::string>& lines);

} // namespace Messages

} // namespace tolvane
