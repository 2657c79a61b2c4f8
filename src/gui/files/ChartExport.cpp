#include "gui/files/ChartExport.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QWidget>

namespace tolvane::ChartExport {

namespace {

constexpr int kMargin = 6;

QFont titleFont(const QWidget& chart)
{
    QFont font = chart.font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    return font;
}

// The heading's height over the chart: nothing without a title or period.
int headingHeight(const QWidget& chart, const QString& title, const QString& period)
{
    int height = 0;
    if (!title.isEmpty())
        height += QFontMetrics(titleFont(chart)).height();
    if (!period.isEmpty())
        height += chart.fontMetrics().height();
    return height == 0 ? 0 : height + 2 * kMargin;
}

// The heading on the chart's own background, then the chart below it.
void paint(QPainter& painter, QWidget& chart, const QString& title, const QString& period)
{
    const int heading = headingHeight(chart, title, period);
    const QSize whole(chart.width(), chart.height() + heading);
    painter.fillRect(QRect(QPoint(0, 0), whole), chart.palette().color(QPalette::Base));
    painter.setPen(chart.palette().color(QPalette::WindowText));
    int y = kMargin;
    if (!title.isEmpty()) {
        painter.setFont(titleFont(chart));
        const int height = painter.fontMetrics().height();
        painter.drawText(
            QRect(kMargin, y, whole.width() - 2 * kMargin, height), Qt::AlignLeft | Qt::AlignVCenter, title);
        y += height;
    }
    if (!period.isEmpty()) {
        painter.setFont(chart.font());
        const int height = painter.fontMetrics().height();
        painter.drawText(
            QRect(kMargin, y, whole.width() - 2 * kMargin, height), Qt::AlignLeft | Qt::AlignVCenter, period);
    }
    chart.render(&painter, QPoint(0, heading));
}

} // namespace

QByteArray png(QWidget& chart, const QString& title, const QString& period)
{
    const qreal ratio = chart.devicePixelRatioF();
    const QSize size(chart.width(), chart.height() + headingHeight(chart, title, period));
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paint(painter, chart, title, period);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray svg(QWidget& chart, const QString& title, const QString& period)
{
    const QSize size(chart.width(), chart.height() + headingHeight(chart, title, period));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(period.isEmpty() ? title : title + QStringLiteral(" ") + period);
    QPainter painter(&generator);
    paint(painter, chart, title, period);
    painter.end();
    return bytes;
}

} // namespace tolvane::ChartExport
