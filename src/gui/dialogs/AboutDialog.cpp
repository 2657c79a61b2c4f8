#include "gui/dialogs/AboutDialog.h"

#include "core/analysis/RunTexts.h"
#include "gui/Messages.h"
#include "gui/dialogs/SystemInfoDialog.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QString programTitle()
{
    return QString::fromUtf8(RunTexts::kTitle.data(), static_cast<qsizetype>(RunTexts::kTitle.size()));
}

} // namespace

AboutDialog::AboutDialog(int major, int minor, int revision, QWidget* parent)
    : QDialog(parent)
    , programs_(defaultSystemInfoPrograms())
    , launch_([](const QString& path) { return QProcess::startDetached(path, {}); })
{
    setObjectName("aboutDialog");
    setWindowTitle("ﾊﾞｰｼﾞｮﾝ情報 " + programTitle());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    // The program's icon (the window's, which falls back to the
    // application's); without one, a stock picture keeps the corner from
    // standing empty.
    QIcon icon = parent ? parent->window()->windowIcon() : windowIcon();
    if (icon.isNull() || icon.availableSizes().isEmpty())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    auto* picture = new QLabel(this);
    picture->setObjectName("programIcon");
    picture->setPixmap(icon.pixmap(32, 32));
    picture->setFixedSize(32, 32);

    auto* title = new QLabel(titleText(major, minor, revision), this);
    title->setObjectName("programTitle");
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto* description = new QLabel("プレイ記録を集計して、ランキングと利用傾向のグラフにします。", this);
    description->setObjectName("programDescription");

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    auto* systemInfo = new QPushButton("ｼｽﾃﾑ情報(&S)...", this);
    systemInfo->setObjectName("systemInfoButton");
    systemInfo->setAutoDefault(false);
    ok->setMinimumWidth(systemInfo->sizeHint().width());

    auto* texts = new QVBoxLayout;
    texts->setSpacing(10);
    texts->addWidget(title);
    texts->addWidget(description);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(systemInfo);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(14);
    layout->addWidget(line);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Escape reaches reject() on its own; OK and Escape both just close.
    connect(ok, &QPushButton::clicked, this, &AboutDialog::accept);
    connect(systemInfo, &QPushButton::clicked, this, &AboutDialog::startSystemInfo);
}

QString AboutDialog::titleText(int major, int minor, int revision)
{
    return programTitle() + "  ver " + QString::number(major) + "." + QString::number(minor)
        + QString::number(revision);
}

QStringList AboutDialog::defaultSystemInfoPrograms()
{
    return {"hardinfo", "gnome-system-monitor", "kinfocenter"};
}

void AboutDialog::startSystemInfo()
{
    for (const QString& name : programs_) {
        const QString path = QStandardPaths::findExecutable(name);
        if (path.isEmpty())
            continue;
        // A program that is there but will not start is as unusable as none.
        if (launch_(path))
            return;
        break;
    }
    SystemInfoDialog info(settingsPath_, openLogs_, this);
    info.exec();
}

} // namespace tolvane
