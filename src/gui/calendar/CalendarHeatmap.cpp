#include "gui/calendar/CalendarHeatmap.h"

#include "core/log/DateValue.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace tolvane {

namespace {

constexpr int kWeeks = 54; // a leap year starting on a Saturday spans 54 columns
constexpr int kDays = 7;
constexpr int kLegendRows = 2; // the legend takes two cells' height under the grid
const char* const kWeekdayLabels[kDays] = {"日", "月", "火", "水", "木", "金", "土"};

std::int64_t serialOf(QDate date)
{
    return serialDay(date.year(), date.month(), date.day());
}

} // namespace

CalendarHeatmap::CalendarHeatmap(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("calendarHeatmap"));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CalendarHeatmap::showYear(const PlayCalendar& calendar, int year)
{
    year_ = year;
    const QDate first(year, 1, 1);
    plays_.assign(static_cast<std::size_t>(first.daysInYear()), 0);
    firstSunday_ = first.addDays(-(first.dayOfWeek() % 7));
    std::int32_t busiest = 0;
    if (first.isValid()) {
        const std::int64_t firstSerial = serialOf(first);
        for (const DayPlays& d : calendar.daysOfYear(year)) {
            const std::int64_t i = d.day - firstSerial;
            if (i >= 0 && i < static_cast<std::int64_t>(plays_.size())) {
                plays_[static_cast<std::size_t>(i)] = d.plays;
                busiest = std::max(busiest, d.plays);
            }
        }
    }
    // Four equal steps up to the busiest day, which always takes the darkest
    // colour; in a quiet year the lower steps may hold no count at all.
    busiest_ = busiest;
    levelStarts_[0] = 0;
    for (int l = 1; l < kLevels; ++l)
        levelStarts_[static_cast<std::size_t>(l)]
            = static_cast<std::int32_t>(static_cast<std::int64_t>(busiest) * (l - 1) / (kLevels - 1) + 1);
    update();
}

int CalendarHeatmap::levelOf(std::int32_t plays) const
{
    int level = 0;
    for (int l = 1; l < kLevels && plays > 0; ++l)
        if (plays >= levelStarts_[static_cast<std::size_t>(l)])
            level = l;
    return level;
}

std::int32_t CalendarHeatmap::playsOn(QDate date) const
{
    if (!date.isValid() || date.year() != year_ || plays_.empty())
        return 0;
    return plays_[static_cast<std::size_t>(date.dayOfYear() - 1)];
}

QString CalendarHeatmap::toolTipFor(QDate date) const
{
    return date.toString(QStringLiteral("yyyy/MM/dd")) + QStringLiteral("(")
        + QString::fromUtf8(kWeekdayLabels[date.dayOfWeek() % 7]) + QStringLiteral(")  ")
        + QString::number(playsOn(date)) + QStringLiteral("回");
}

QColor CalendarHeatmap::colourOf(int level) const
{
    // On a dark window the steps run from the window's dark towards bright
    // green, so the busiest days stand out there too.
    static const QColor light[kLevels] = {QColor(0xeb, 0xed, 0xf0), QColor(0xc6, 0xe4, 0x8b), QColor(0x7b, 0xc9, 0x6f),
        QColor(0x23, 0x9a, 0x3b), QColor(0x19, 0x61, 0x27)};
    static const QColor dark[kLevels] = {QColor(0x2d, 0x33, 0x3b), QColor(0x0e, 0x44, 0x29), QColor(0x00, 0x6d, 0x32),
        QColor(0x26, 0xa6, 0x41), QColor(0x39, 0xd3, 0x53)};
    const bool darkWindow = palette().color(QPalette::Window).lightness() < 128;
    const int step = level < 0 ? 0 : std::min(level, kLevels - 1);
    return (darkWindow ? dark : light)[step];
}

int CalendarHeatmap::minimumCell() const
{
    // Two rows hold a weekday label with a little room between neighbours,
    // and a month's four weeks hold its number.
    const QFontMetrics fm = fontMetrics();
    const int forWeekdays = (fm.height() + 3) / 2;
    const int forMonths = (fm.horizontalAdvance(QStringLiteral("12")) + fm.averageCharWidth() + 3) / 4;
    return std::max({7, forWeekdays, forMonths});
}

CalendarHeatmap::Grid CalendarHeatmap::grid() const
{
    const QFontMetrics fm = fontMetrics();
    const int labelWidth = fm.horizontalAdvance(QStringLiteral("日")) + 8;
    const int top = fm.height() + 4;
    const int byWidth = (width() - labelWidth - 8) / kWeeks;
    const int byHeight = (height() - top - 8 - (kLegendRows + 1) * fm.height()) / kDays;
    const int cell = std::max(minimumCell(), std::min({byWidth, byHeight, 28}));
    return {cell, QPoint(labelWidth, top)};
}

int CalendarHeatmap::weekOf(QDate date) const
{
    return static_cast<int>(firstSunday_.daysTo(date) / kDays);
}

QRect CalendarHeatmap::cellRect(QDate date) const
{
    if (!date.isValid() || date.year() != year_)
        return {};
    const Grid g = grid();
    const int column = weekOf(date);
    const int row = date.dayOfWeek() % 7; // Sunday first
    return QRect(g.origin.x() + column * g.cell, g.origin.y() + row * g.cell, g.cell - 2, g.cell - 2);
}

QDate CalendarHeatmap::dateAt(QPoint point) const
{
    if (year_ == 0)
        return {};
    const Grid g = grid();
    const QPoint p = point - g.origin;
    if (p.x() < 0 || p.y() < 0)
        return {};
    const int column = p.x() / g.cell;
    const int row = p.y() / g.cell;
    if (column >= kWeeks || row >= kDays || p.x() % g.cell >= g.cell - 2 || p.y() % g.cell >= g.cell - 2)
        return {};
    const QDate date = firstSunday_.addDays(static_cast<qint64>(column) * kDays + row);
    return date.year() == year_ ? date : QDate();
}

QSize CalendarHeatmap::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(QStringLiteral("日")) + 16 + kWeeks * 16,
        fm.height() * (2 + kLegendRows) + kDays * 16 + 12};
}

QSize CalendarHeatmap::minimumSizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    const int cell = minimumCell();
    return {fm.horizontalAdvance(QStringLiteral("日")) + 16 + kWeeks * cell,
        fm.height() * (2 + kLegendRows) + kDays * cell + 12};
}

void CalendarHeatmap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (year_ == 0)
        return;
    const Grid g = grid();
    const QFontMetrics fm = fontMetrics();
    painter.setPen(palette().color(QPalette::WindowText));

    // Weekday labels on every other row, month names over their first week:
    // "1月" while every name fits its month's weeks, the number alone when
    // the cells are small (the cells are never too small for that).
    for (int row = 1; row < kDays; row += 2)
        painter.drawText(QRect(0, g.origin.y() + row * g.cell - g.cell, g.origin.x() - 4, 3 * g.cell),
            Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(kWeekdayLabels[row]));
    const bool fullNames = fm.horizontalAdvance(QStringLiteral("12月")) + fm.averageCharWidth() <= 4 * g.cell;
    for (int month = 1; month <= 12; ++month) {
        const int x = g.origin.x() + weekOf(QDate(year_, month, 1)) * g.cell;
        const QString name = QString::number(month) + (fullNames ? QStringLiteral("月") : QString());
        painter.drawText(QPoint(x, g.origin.y() - 4 - fm.descent()), name);
    }

    painter.setPen(Qt::NoPen);
    for (QDate d(year_, 1, 1); d.isValid() && d.year() == year_; d = d.addDays(1)) {
        painter.setBrush(colourOf(levelOf(playsOn(d))));
        painter.drawRect(cellRect(d));
    }

    // The legend: "少" then each step's colour and its first count, then "多".
    int x = g.origin.x();
    const int y = g.origin.y() + kDays * g.cell + fm.height() / 2;
    const int box = fm.height() * 3 / 4;
    const int baseline = y + (box + fm.ascent() - fm.descent()) / 2;
    painter.setPen(palette().color(QPalette::WindowText));
    const QString few = QStringLiteral("少");
    painter.drawText(QPoint(x, baseline), few);
    x += fm.horizontalAdvance(few) + 6;
    for (int l = 0; l < kLevels; ++l) {
        const std::int32_t start = levelStarts_[static_cast<std::size_t>(l)];
        const std::int32_t last
            = l == 0 ? 0 : (l == kLevels - 1 ? busiest_ : levelStarts_[static_cast<std::size_t>(l + 1)] - 1);
        if (last < start || (l > 0 && busiest_ == 0))
            continue; // a step no count falls in
        painter.setPen(Qt::NoPen);
        painter.setBrush(colourOf(l));
        painter.drawRect(x, y, box, box);
        x += box + 3;
        painter.setPen(palette().color(QPalette::WindowText));
        const QString text = start == last ? QString::number(start)
                                           : QString::number(start) + QStringLiteral("–") + QString::number(last);
        painter.drawText(QPoint(x, baseline), text);
        x += fm.horizontalAdvance(text) + 10;
    }
    painter.drawText(QPoint(x, baseline), QStringLiteral("多"));
}

void CalendarHeatmap::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QDate date = dateAt(event->position().toPoint());
        if (date.isValid())
            emit dayClicked(date);
    }
    QWidget::mouseReleaseEvent(event);
}

bool CalendarHeatmap::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QDate date = dateAt(help->pos());
        if (date.isValid())
            QToolTip::showText(help->globalPos(), toolTipFor(date), this, cellRect(date));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace tolvane
