#include "gui/dialogs/frmAbout.h"

#include "core/analysis/RunTexts.h"
#include "gui/Messages.h"

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

frmAbout::frmAbout(int major, int minor, int revision, QWidget* parent)
    : QDialog(parent)
    , programs_(defaultSystemInfoPrograms())
    , launch_([](const QString& path) { return QProcess::startDetached(path, {}); })
{
    setObjectName("frmAbout");
    setWindowTitle("ﾊﾞｰｼﾞｮﾝ情報 " + programTitle());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    // The window icon falls back to the application's; without either, a
    // stock picture keeps the corner from standing empty.
    QIcon icon = windowIcon();
    if (icon.isNull() || icon.availableSizes().isEmpty())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    picIcon_ = new QLabel(this);
    picIcon_->setObjectName("picIcon");
    picIcon_->setPixmap(icon.pixmap(32, 32));
    picIcon_->setFixedSize(32, 32);

    lblTitle_ = new QLabel(titleText(major, minor, revision), this);
    lblTitle_->setObjectName("lblTitle");
    QFont titleFont = lblTitle_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);

    auto* description = new QLabel("プレイ記録を集計して、ランキングと利用傾向のグラフにします。", this);
    description->setObjectName("lblDescription");

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    cmdOK_ = new QPushButton("OK", this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setDefault(true);
    cmdSysInfo_ = new QPushButton("ｼｽﾃﾑ情報(&S)...", this);
    cmdSysInfo_->setObjectName("cmdSysInfo");
    cmdSysInfo_->setAutoDefault(false);
    cmdOK_->setMinimumWidth(cmdSysInfo_->sizeHint().width());

    auto* texts = new QVBoxLayout;
    texts->setSpacing(10);
    texts->addWidget(lblTitle_);
    texts->addWidget(description);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picIcon_, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdSysInfo_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(14);
    layout->addWidget(line);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Escape reaches reject() on its own; OK and Escape both just close.
    connect(cmdOK_, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo_, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

QString frmAbout::titleText(int major, int minor, int revision)
{
    return programTitle() + "  ver " + QString::number(major) + "." + QString::number(minor)
        + QString::number(revision);
}

QStringList frmAbout::defaultSystemInfoPrograms()
{
    return {"hardinfo", "gnome-system-monitor", "kinfocenter"};
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
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
    Messages::inform(this, {"現時点ではｼｽﾃﾑ情報を使用できません"});
}

} // namespace tolvane
