#include "gui/review/ShareCard.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace tolvane {

namespace {

// The icon's colours: a deep blue tile, light lines and four bar colours.
const QColor kTileTop(0x34, 0x50, 0x8f);
const QColor kTileBottom(0x1a, 0x25, 0x47);
const QColor kLight(0xe8, 0xed, 0xf7);
const QColor kBars[]
    = {QColor(0x4f, 0xc3, 0xc8), QColor(0x7b, 0xd3, 0x6b), QColor(0xf5, 0xc5, 0x42), QColor(0xf0, 0x64, 0x5a)};

QString tr(const char* text)
{
    return QCoreApplication::translate("ShareCard", text);
}

QFont cardFont(int pixels, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic"), QStringLiteral("sans-serif")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

QImage renderShareCard(const YearReview& r)
{
    QImage image(kShareCardWidth, kShareCardHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient tile(0, 0, 0, kShareCardHeight);
    tile.setColorAt(0, kTileTop);
    tile.setColorAt(1, kTileBottom);
    p.fillRect(image.rect(), tile);

    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions); // 185,000
    p.setPen(kLight);
    p.setFont(cardFont(54, true));
    p.drawText(QRect(60, 36, 800, 70), Qt::AlignLeft | Qt::AlignVCenter, tr("%1年のまとめ").arg(r.figures.year));
    p.setFont(cardFont(26));
    p.setPen(kBars[0]);
    p.drawText(QRect(700, 36, 440, 70), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Tolvane"));

    // Four headline figures, each with its change against the year before.
    struct Figure {
        QString caption;
        qint64 value;
        qint64 before;
    };
    const YearFigures before = r.previousYear.value_or(YearFigures{});
    const Figure figures[] = {{tr("プレイ回数"), r.figures.plays, before.plays},
        {tr("プレイした日数"), r.figures.daysPlayed, before.daysPlayed},
        {tr("プレイ時間（分）"), r.figures.minutes, before.minutes}, {tr("記録更新"), r.records, -1}};
    for (int i = 0; i < 4; ++i) {
        const QRect box(60 + i * 275, 130, 255, 140);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 28));
        p.drawRoundedRect(box, 14, 14);
        p.setPen(kBars[i]);
        p.setFont(cardFont(22));
        p.drawText(box.adjusted(18, 12, -12, 0), Qt::AlignLeft | Qt::AlignTop, figures[i].caption);
        p.setPen(Qt::white);
        p.setFont(cardFont(50, true));
        p.drawText(box.adjusted(18, 40, -12, -30), Qt::AlignLeft | Qt::AlignVCenter, c.toString(figures[i].value));
        if (r.previousYear && figures[i].before >= 0) {
            const qint64 change = figures[i].value - figures[i].before;
            p.setFont(cardFont(20));
            p.setPen(kLight);
            p.drawText(box.adjusted(18, 0, -12, -10), Qt::AlignLeft | Qt::AlignBottom,
                QStringLiteral("%1 %2").arg(change >= 0 ? QStringLiteral("▲") : QStringLiteral("▼"),
                    c.toString(change < 0 ? -change : change)));
        }
    }

    // The top songs.
    p.setPen(kLight);
    p.setFont(cardFont(26, true));
    p.drawText(QRect(60, 300, 520, 40), Qt::AlignLeft | Qt::AlignVCenter, tr("よく遊んだ曲"));
    p.setFont(cardFont(24));
    const QFontMetrics songMetrics(p.font());
    const std::size_t shown = std::min<std::size_t>(5, r.topSongs.size());
    for (std::size_t i = 0; i < shown; ++i) {
        const int y = 346 + static_cast<int>(i) * 44;
        p.setPen(kBars[i % 4]);
        p.drawText(QRect(60, y, 40, 40), Qt::AlignLeft | Qt::AlignVCenter, QString::number(i + 1));
        p.setPen(Qt::white);
        const QString title = songMetrics.elidedText(QString::fromStdString(r.topSongs[i].name), Qt::ElideRight, 360);
        p.drawText(QRect(100, y, 370, 40), Qt::AlignLeft | Qt::AlignVCenter, title);
        p.setPen(kLight);
        p.drawText(QRect(470, y, 110, 40), Qt::AlignRight | Qt::AlignVCenter, tr("%1回").arg(r.topSongs[i].plays));
    }

    // Plays per month.
    p.setFont(cardFont(26, true));
    p.drawText(QRect(640, 300, 500, 40), Qt::AlignLeft | Qt::AlignVCenter, tr("月別プレイ回数"));
    const int most = std::max(1, *std::max_element(r.perMonth.begin(), r.perMonth.end()));
    const QRect plot(640, 350, 500, 200);
    p.setFont(cardFont(16));
    for (int m = 0; m < 12; ++m) {
        const int x = plot.left() + m * plot.width() / 12;
        const int w = plot.width() / 12 - 8;
        const int h = r.perMonth[static_cast<std::size_t>(m)] * plot.height() / most;
        p.setPen(Qt::NoPen);
        p.setBrush(kBars[(m / 3) % 4]);
        p.drawRoundedRect(QRect(x, plot.bottom() - h, w, h), 3, 3);
        p.setPen(kLight);
        p.drawText(QRect(x - 4, plot.bottom() + 4, w + 8, 24), Qt::AlignCenter, QString::number(m + 1));
    }
    p.fillRect(QRect(plot.left(), plot.bottom() + 1, plot.width() - 8, 2), kLight);
    return image;
}

} // namespace tolvane
