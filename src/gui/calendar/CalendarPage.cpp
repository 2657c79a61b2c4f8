#include "gui/calendar/CalendarPage.h"

#include "gui/calendar/CalendarHeatmap.h"
#include "gui/pages/ScrollingPage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tolvane {

CalendarPage::CalendarPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("calendarPage"));
    // The heatmap's cells have a smallest size; below it the page scrolls.
    QWidget* content = scrollingContent(*this);
    years_ = new QComboBox(content);
    summary_ = new QLabel(content);
    heatmap_ = new CalendarHeatmap(content);
    years_->setObjectName(QStringLiteral("calendarYear"));
    summary_->setObjectName(QStringLiteral("calendarSummary"));
    auto* chooserLabel = new QLabel(QStringLiteral("年:"), content);
    chooserLabel->setBuddy(years_);

    auto* top = new QHBoxLayout;
    top->addWidget(chooserLabel);
    top->addWidget(years_);
    top->addSpacing(12);
    top->addWidget(summary_, 1);
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(top);
    layout->addWidget(heatmap_, 1);

    connect(years_, &QComboBox::currentIndexChanged, this, &CalendarPage::showChosenYear);
    connect(heatmap_, &CalendarHeatmap::dayClicked, this, &CalendarPage::dayChosen);
}

void CalendarPage::setCalendar(PlayCalendar calendar)
{
    calendar_ = std::move(calendar);
    const QSignalBlocker quiet(years_);
    years_->clear();
    for (const YearPlays& y : calendar_.years)
        years_->addItem(QString::number(y.year) + QStringLiteral("年"), y.year);
    years_->setCurrentIndex(years_->count() - 1);
    showChosenYear();
}

void CalendarPage::showYear(int year)
{
    const int index = years_->findData(year);
    if (index >= 0)
        years_->setCurrentIndex(index);
}

void CalendarPage::showChosenYear()
{
    if (years_->currentIndex() < 0) {
        heatmap_->showYear(calendar_, 0);
        summary_->clear();
        return;
    }
    const int year = years_->currentData().toInt();
    heatmap_->showYear(calendar_, year);
    const auto days = calendar_.daysOfYear(year);
    summary_->setText(QStringLiteral("%1回のプレイ、%2日")
                          .arg(calendar_.years.at(static_cast<std::size_t>(years_->currentIndex())).plays)
                          .arg(days.size()));
}

} // namespace tolvane
