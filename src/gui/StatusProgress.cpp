#include "gui/StatusProgress.h"

#include "core/analysis/RunTexts.h"
#include "core/log/DateText.h"

#include <QDateTime>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace tolvane {

StatusProgress::StatusProgress(QStatusBar* bar)
    : QObject(bar)
    , status_(new QLabel(bar))
    , date_(new QLabel(bar))
    , time_(new QLabel(bar))
    , clock_(new QTimer(this))
{
    status_->setObjectName("statusText");
    date_->setObjectName("dateText");
    time_->setObjectName("timeText");
    status_->setText(
        QString::fromUtf8(RunTexts::kIdleStatus.data(), static_cast<qsizetype>(RunTexts::kIdleStatus.size())));
    bar->addWidget(status_, 1);
    bar->addPermanentWidget(date_);
    bar->addPermanentWidget(time_);
    connect(clock_, &QTimer::timeout, this, &StatusProgress::tick);
    clock_->start(1000);
    tick();
}

void StatusProgress::setStatus(const QString& text)
{
    status_->setText(text);
    // Shown at once, even in the middle of a run that only yields now and then.
    status_->repaint();
}

QString StatusProgress::status() const
{
    return status_->text();
}

QString StatusProgress::dateText() const
{
    return date_->text();
}

QString StatusProgress::timeText() const
{
    return time_->text();
}

void StatusProgress::tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    date_->setText(QString::fromStdString(shortDateText(d.year(), d.month(), d.day())));
    time_->setText(now.time().toString("H:mm"));
}

} // namespace tolvane
