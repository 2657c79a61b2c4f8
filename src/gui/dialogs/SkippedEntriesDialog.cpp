#include "gui/dialogs/SkippedEntriesDialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tolvane {

SkippedEntriesDialog::SkippedEntriesDialog(
    const std::vector<SkippedEntry>& skipped, const std::vector<UnreadableText>& unreadable, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("skippedEntriesDialog");
    setWindowTitle(tr("読み飛ばしたエントリー"));
    auto* summary = new QLabel(tr("壊れたエントリー %1 件を読み飛ばしました。読めない文字を含むプレイは %2 件です。")
                                   .arg(skipped.size())
                                   .arg(unreadable.size()),
        this);
    summary->setObjectName("skippedSummary");
    summary->setWordWrap(true);

    list_ = new QTreeWidget(this);
    list_->setObjectName("skippedList");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({tr("行"), tr("理由")});
    for (const SkippedEntry& entry : skipped) {
        auto* item = new QTreeWidgetItem(list_,
            {QString::number(entry.line), QString::fromUtf8(entry.message.data(), qsizetype(entry.message.size()))});
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (const UnreadableText& play : unreadable) {
        auto* item = new QTreeWidgetItem(list_,
            {QString::number(play.line),
                tr("No.%1: 読めない文字を含むテキスト (曲名・作者・ジャンル)").arg(play.play)});
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    }
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(true);
    list_->setMinimumSize(
        fontMetrics().horizontalAdvance(QString(56, QChar(0x3042))) / 2, fontMetrics().lineSpacing() * 12);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* copy = buttons->addButton(tr("コピー(&C)"), QDialogButtonBox::ActionRole);
    copy->setObjectName("copyButton");
    connect(copy, &QPushButton::clicked, this, &SkippedEntriesDialog::copyText);
    connect(buttons, &QDialogButtonBox::rejected, this, &SkippedEntriesDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
}

QString SkippedEntriesDialog::text() const
{
    QStringList lines;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        lines << item->text(0) + '\t' + item->text(1);
    }
    return lines.join('\n');
}

void SkippedEntriesDialog::copyText()
{
    QGuiApplication::clipboard()->setText(text());
}

} // namespace tolvane
