#include "gui/files/ChartExport.h"

#include <QBuffer>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>

namespace tolvane::ChartExport {

QByteArray png(QWidget& chart)
{
    // grab() renders at the widget's device pixel ratio and keeps it in the pixmap.
    const QPixmap pixmap = chart.grab();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    pixmap.save(&buffer, "PNG");
    return bytes;
}

QByteArray svg(QWidget& chart, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(chart.size());
    generator.setViewBox(QRect(QPoint(0, 0), chart.size()));
    generator.setTitle(title);
    QPainter painter(&generator);
    chart.render(&painter);
    painter.end();
    return bytes;
}

} // namespace tolvane::ChartExport
