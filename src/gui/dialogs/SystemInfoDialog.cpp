#include "gui/dialogs/SystemInfoDialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QThread>
#include <QVBoxLayout>
#include <unistd.h>

namespace tolvane {

namespace {

QString memoryText()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return SystemInfoDialog::tr("不明");
    const double mib = static_cast<double>(pages) * static_cast<double>(pageSize) / (1024.0 * 1024.0);
    return QString::number(mib / 1024.0, 'f', 1) + " GiB";
}

} // namespace

QString SystemInfoDialog::infoText(const QString& settingsPath, const QStringList& openLogs)
{
    QStringList lines;
    lines << tr("プログラム: Tolvane %1.%2.%3")
                 .arg(TOLVANE_VERSION_MAJOR)
                 .arg(TOLVANE_VERSION_MINOR)
                 .arg(TOLVANE_VERSION_PATCH);
    lines << tr("Qt: %1 (実行時 %2)").arg(QT_VERSION_STR, qVersion());
    lines << tr("OS: %1 (%2 %3, %4)")
                 .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
                     QSysInfo::currentCpuArchitecture());
    lines << tr("CPUコア: %1").arg(QThread::idealThreadCount());
    lines << tr("メモリ: %1").arg(memoryText());
    lines << tr("設定ファイル: %1").arg(settingsPath.isEmpty() ? tr("なし") : settingsPath);
    if (openLogs.isEmpty())
        lines << tr("開いているログ: なし");
    for (const QString& log : openLogs)
        lines << tr("開いているログ: %1").arg(log);
    return lines.join('\n');
}

SystemInfoDialog::SystemInfoDialog(const QString& settingsPath, const QStringList& openLogs, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("systemInfoDialog");
    setWindowTitle(tr("システム情報"));
    text_ = new QPlainTextEdit(infoText(settingsPath, openLogs), this);
    text_->setObjectName("systemInfoText");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(text_->font());
    text_->setMinimumSize(metrics.horizontalAdvance(QString(60, 'x')), metrics.lineSpacing() * 10);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* copy = buttons->addButton(tr("コピー(&C)"), QDialogButtonBox::ActionRole);
    copy->setObjectName("copyButton");
    connect(copy, &QPushButton::clicked, this, &SystemInfoDialog::copyText);
    connect(buttons, &QDialogButtonBox::rejected, this, &SystemInfoDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
}

QString SystemInfoDialog::text() const
{
    return text_->toPlainText();
}

void SystemInfoDialog::copyText()
{
    QGuiApplication::clipboard()->setText(text());
}

} // namespace tolvane
