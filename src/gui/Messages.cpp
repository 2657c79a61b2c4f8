#include "gui/Messages.h"

#include "core/analysis/RunTexts.h"

#include <QCoreApplication>

namespace tolvane::Messages {

namespace {

QMessageBox::StandardButton show(QWidget* parent, const std::vector<std::string>& lines,
    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox* box = create(parent, lines, buttons, defaultButton);
    const int answer = box->exec();
    delete box;
    return static_cast<QMessageBox::StandardButton>(answer);
}

} // namespace

QMessageBox* create(QWidget* parent, const std::vector<std::string>& lines, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon,
        QString::fromUtf8(RunTexts::kTitle.data(), static_cast<qsizetype>(RunTexts::kTitle.size())), joinLines(lines),
        buttons, parent);
    box->setObjectName("messageBox");
    box->setDefaultButton(defaultButton);
    box->setTextFormat(Qt::PlainText);
    return box;
}

QString joinLines(const std::vector<std::string>& lines)
{
    QStringList list;
    for (const std::string& line : lines)
        list << QString::fromStdString(line);
    return list.join('\n');
}

void inform(QWidget* parent, const std::vector<std::string>& lines)
{
    show(parent, lines, QMessageBox::Ok, QMessageBox::Ok);
}

bool ask(QWidget* parent, const std::vector<std::string>& lines)
{
    return show(parent, lines, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

bool offerSkipDamaged(QWidget* parent, const std::vector<std::string>& failureLines)
{
    QMessageBox* box = create(parent, failureLines, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    // The failure's own words stay the message; the offer comes below them.
    box->setInformativeText(
        QCoreApplication::translate("Messages", "壊れたエントリーを読み飛ばして、もう一度読み込みますか。"));
    const bool yes = box->exec() == QMessageBox::Yes;
    delete box;
    return yes;
}

void notImplemented(QWidget* parent)
{
    inform(parent, {"まだ未実装です m(_ _)mｽﾏｿ"});
}

} // namespace tolvane::Messages
