#include "gui/models/DayFilterBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace tolvane {

DayFilterBar::DayFilterBar(QWidget* parent)
    : QWidget(parent)
    , label_(new QLabel(this))
    , back_(new QPushButton(QStringLiteral("すべてのプレイを表示"), this))
{
    setObjectName(QStringLiteral("dayFilterBar"));
    back_->setObjectName(QStringLiteral("showAllPlays"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_, 1);
    layout->addWidget(back_);
    setVisible(false);
    connect(back_, &QPushButton::clicked, this, [this] {
        hide();
        emit showAllPlays();
    });
}

void DayFilterBar::showDay(QDate date, int plays)
{
    label_->setText(QStringLiteral("%1 のプレイだけを表示しています（%2件）")
                        .arg(date.toString(QStringLiteral("yyyy/MM/dd")))
                        .arg(plays));
    show();
}

QString DayFilterBar::text() const
{
    return label_->text();
}

} // namespace tolvane
