#include "gui/review/YearReviewPage.h"

#include "core/trends/ChartRows.h"
#include "gui/charts/BarChart.h"
#include "gui/review/ShareCard.h"
#include "gui/sessions/SessionTableModel.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QString dayText(std::int64_t serial)
{
    const CivilDate d = civilDate(serial);
    return QStringLiteral("%1/%2/%3")
        .arg(d.year)
        .arg(d.month, 2, 10, QLatin1Char('0'))
        .arg(d.day, 2, 10, QLatin1Char('0'));
}

QString dayLink(std::int64_t serial, const QString& text)
{
    return QStringLiteral("<a href=\"day:%1\">%2</a>").arg(serial).arg(text.toHtmlEscaped());
}

} // namespace

YearReviewPage::YearReviewPage(QWidget* parent)
    : QWidget(parent)
    , chooser_(new QComboBox(this))
    , save_(new QPushButton(tr("画像として保存…"), this))
    , topSongs_(new QTableWidget(this))
    , topArtists_(new QTableWidget(this))
    , topGenres_(new QTableWidget(this))
    , months_(new BarChart(this))
    , weekdays_(new BarChart(this))
    , hours_(new BarChart(this))
{
    setObjectName(QStringLiteral("yearReviewPage"));
    chooser_->setObjectName(QStringLiteral("yearChooser"));
    save_->setObjectName(QStringLiteral("saveCard"));
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(tr("年:"), this));
    head->addWidget(chooser_);
    head->addStretch(1);
    head->addWidget(save_);

    auto* figures = new QGridLayout;
    int at = 0;
    addFigure(figures, at++, tr("プレイ回数"), QStringLiteral("plays"));
    addFigure(figures, at++, tr("プレイした日数"), QStringLiteral("daysPlayed"));
    addFigure(figures, at++, tr("セッション"), QStringLiteral("sessions"));
    addFigure(figures, at++, tr("プレイ時間"), QStringLiteral("minutes"));
    addFigure(figures, at++, tr("曲数"), QStringLiteral("songs"));
    addFigure(figures, at++, tr("初めて遊んだ曲"), QStringLiteral("newSongs"));
    addFigure(figures, at++, tr("記録更新"), QStringLiteral("records"));
    addFigure(figures, at++, tr("初フルコンボ"), QStringLiteral("firstFullCombos"));

    auto* links = new QGridLayout;
    const std::pair<QString, QString> linkNames[] = {{tr("最も多く遊んだ日:"), QStringLiteral("busiestDay")},
        {tr("最長の連続プレイ:"), QStringLiteral("longestStreak")},
        {tr("最長のセッション:"), QStringLiteral("longestSession")}};
    for (int i = 0; i < 3; ++i) {
        links->addWidget(new QLabel(linkNames[i].first, this), i, 0);
        auto* link = new QLabel(QStringLiteral("—"), this);
        link->setObjectName(linkNames[i].second);
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        connect(link, &QLabel::linkActivated, this, &YearReviewPage::openLink);
        links->addWidget(link, i, 1);
    }
    links->setColumnStretch(1, 1);

    auto* tops = new QHBoxLayout;
    const std::pair<QTableWidget*, QString> topTables[]
        = {{topSongs_, tr("曲")}, {topArtists_, tr("作者")}, {topGenres_, tr("ジャンル")}};
    for (const auto& [table, name] : topTables) {
        table->setColumnCount(3);
        table->setHorizontalHeaderLabels({tr("順位"), name, tr("回数")});
        table->verticalHeader()->hide();
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
        tops->addWidget(table);
    }

    auto* charts = new QHBoxLayout;
    for (BarChart* chart : {months_, weekdays_, hours_}) {
        chart->setMinimumHeight(150);
        charts->addWidget(chart);
    }
    months_->setToolTip(tr("月別プレイ回数"));
    weekdays_->setToolTip(tr("曜日別プレイ回数"));
    hours_->setToolTip(tr("時間帯別プレイ回数"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(figures);
    layout->addLayout(links);
    layout->addLayout(tops, 1);
    layout->addLayout(charts, 1);

    connect(chooser_, &QComboBox::currentIndexChanged, this, &YearReviewPage::chooseYear);
    connect(save_, &QPushButton::clicked, this, &YearReviewPage::saveImage);
    clear();
}

QLabel* YearReviewPage::addFigure(QGridLayout* grid, int at, const QString& caption, const QString& name)
{
    auto* box = new QVBoxLayout;
    auto* title = new QLabel(caption, this);
    auto* value = new QLabel(QStringLiteral("—"), this);
    value->setObjectName(name);
    value->setTextFormat(Qt::RichText);
    QFont big = value->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    value->setFont(big);
    box->addWidget(title);
    box->addWidget(value);
    grid->addLayout(box, at / 4, at % 4);
    return value;
}

void YearReviewPage::setYearSource(std::vector<int> years, YearBuilder build)
{
    years_ = std::move(years);
    build_ = std::move(build);
    const QSignalBlocker quiet(chooser_);
    chooser_->clear();
    for (int y : years_)
        chooser_->addItem(tr("%1年").arg(y), y);
    if (years_.empty()) {
        clear();
        return;
    }
    chooser_->setCurrentIndex(chooser_->count() - 1);
    showYear(years_.back());
}

void YearReviewPage::setYearSource(std::shared_ptr<const YearReviewSource> source)
{
    std::vector<int> years = source ? source->years() : std::vector<int>{};
    setYearSource(std::move(years), [source](int year) { return source->review(year); });
}

void YearReviewPage::clear()
{
    review_.reset();
    for (auto* label : findChildren<QLabel*>())
        if (!label->objectName().isEmpty())
            label->setText(QStringLiteral("—"));
    for (QTableWidget* table : {topSongs_, topArtists_, topGenres_})
        table->setRowCount(0);
    for (BarChart* chart : {months_, weekdays_, hours_})
        chart->setRows({});
    save_->setEnabled(false);
}

int YearReviewPage::year() const
{
    return review_ ? review_->figures.year : 0;
}

QString YearReviewPage::figureText(const QString& name) const
{
    const auto* label = findChild<QLabel*>(name);
    return label ? label->text() : QString();
}

void YearReviewPage::chooseYear(int index)
{
    if (index >= 0)
        showYear(chooser_->itemData(index).toInt());
}

void YearReviewPage::fillTop(QTableWidget* table, const std::vector<NamedPlays>& top)
{
    table->setRowCount(static_cast<int>(top.size()));
    for (int i = 0; i < static_cast<int>(top.size()); ++i) {
        const NamedPlays& n = top[static_cast<std::size_t>(i)];
        auto* rank = new QTableWidgetItem(QString::number(i + 1));
        auto* plays = new QTableWidgetItem(QString::number(n.plays));
        plays->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(i, 0, rank);
        table->setItem(i, 1, new QTableWidgetItem(QString::fromStdString(n.name)));
        table->setItem(i, 2, plays);
    }
}

void YearReviewPage::showYear(int year)
{
    std::optional<YearReview> review = build_ ? build_(year) : std::nullopt;
    if (!review) {
        clear();
        return;
    }
    review_ = std::move(review);
    const YearReview& r = *review_;
    const int index = chooser_->findData(year);
    if (index >= 0 && index != chooser_->currentIndex()) {
        const QSignalBlocker quiet(chooser_);
        chooser_->setCurrentIndex(index);
    }
    // The year before, for the figures its figures do not hold.
    const std::optional<YearReview> before = year > 1 && build_ ? build_(year - 1) : std::nullopt;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions); // 185,000
    const auto set = [this, &c](const char* name, qint64 value, std::optional<qint64> was, const QString& unit) {
        QString text = c.toString(value) + unit;
        if (was) {
            const qint64 change = value - *was;
            const QString mark = change > 0 ? QStringLiteral("▲")
                : change < 0                ? QStringLiteral("▼")
                                            : QStringLiteral("±");
            const QString colour = change > 0 ? QStringLiteral("#2e7d32")
                : change < 0                  ? QStringLiteral("#c62828")
                                              : QStringLiteral("#666666");
            text += QStringLiteral(" <span style=\"font-size:small; font-weight:normal; color:%1\">%2%3</span>")
                        .arg(colour, mark, c.toString(change < 0 ? -change : change));
        }
        findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
    };
    const auto was = [&](qint64 value) { return r.previousYear ? std::optional<qint64>(value) : std::nullopt; };
    const YearFigures p = r.previousYear.value_or(YearFigures{});
    set("plays", r.figures.plays, was(p.plays), tr("回"));
    set("daysPlayed", r.figures.daysPlayed, was(p.daysPlayed), tr("日"));
    set("sessions", r.figures.sessions, was(p.sessions), QString());
    set("minutes", r.figures.minutes, was(p.minutes), tr("分"));
    const auto other = [&](std::int32_t YearReview::*field) {
        return r.previousYear ? std::optional<qint64>(before ? (*before).*field : 0) : std::nullopt;
    };
    set("songs", r.songs, other(&YearReview::songs), tr("曲"));
    set("newSongs", r.newSongs, other(&YearReview::newSongs), tr("曲"));
    set("records", r.records, other(&YearReview::records), tr("件"));
    set("firstFullCombos", r.firstFullCombos, other(&YearReview::firstFullCombos), tr("曲"));

    findChild<QLabel*>(QStringLiteral("busiestDay"))
        ->setText(dayLink(r.busiestDay.day, tr("%1（%2回）").arg(dayText(r.busiestDay.day)).arg(r.busiestDay.plays)));
    findChild<QLabel*>(QStringLiteral("longestStreak"))
        ->setText(dayLink(r.longestStreak.from,
            tr("%1日（%2 – %3）")
                .arg(r.longestStreak.days)
                .arg(dayText(r.longestStreak.from), dayText(r.longestStreak.to))));
    auto* session = findChild<QLabel*>(QStringLiteral("longestSession"));
    if (r.longestSession) {
        session->setText(QStringLiteral("<a href=\"session:%1\">%2</a>")
                             .arg(r.longestSession->start)
                             .arg(tr("%1（%2から、%3回）")
                                      .arg(SessionTableModel::lengthText(r.longestSession->minutes),
                                          SessionTableModel::timeText(r.longestSession->start))
                                      .arg(r.longestSession->plays)
                                      .toHtmlEscaped()));
    } else {
        session->setText(tr("この年に始まったセッションはありません"));
    }

    fillTop(topSongs_, r.topSongs);
    fillTop(topArtists_, r.topArtists);
    fillTop(topGenres_, r.topGenres);
    ChartRows months, weekdays, hours;
    for (std::size_t m = 0; m < r.perMonth.size(); ++m)
        months.push_back({tr("%1月").arg(m + 1).toStdString(), ChartValue(r.perMonth[m])});
    for (std::size_t d = 0; d < r.perWeekday.size(); ++d)
        weekdays.push_back({std::string(kWeekdayNames[d]).substr(0, 3), ChartValue(r.perWeekday[d])});
    for (std::size_t h = 0; h < r.perHour.size(); ++h)
        hours.push_back({std::to_string(h), ChartValue(r.perHour[h])});
    months_->setRows(months);
    weekdays_->setRows(weekdays);
    hours_->setRows(hours);
    save_->setEnabled(true);
}

void YearReviewPage::openLink(const QString& link)
{
    const qint64 value = link.section(QLatin1Char(':'), 1).toLongLong();
    if (link.startsWith(QStringLiteral("day:"))) {
        const CivilDate d = civilDate(value);
        emit dayActivated(QDate(d.year, d.month, d.day));
    } else if (link.startsWith(QStringLiteral("session:"))) {
        emit sessionActivated(value);
    }
}

QImage YearReviewPage::shareCard() const
{
    return review_ ? renderShareCard(*review_) : QImage();
}

void YearReviewPage::copyImage() const
{
    if (review_)
        QGuiApplication::clipboard()->setImage(shareCard());
}

void YearReviewPage::saveImage()
{
    if (!review_)
        return;
    const QString path = QFileDialog::getSaveFileName(
        this, tr("画像として保存"), tr("%1年のまとめ.png").arg(review_->figures.year), tr("PNG 画像 (*.png)"));
    if (path.isEmpty())
        return;
    // Written beside its name and renamed into place, so a failure leaves no half picture.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !shareCard().save(&file, "PNG") || !file.commit())
        QMessageBox::warning(this, tr("画像として保存"), tr("%1 に保存できませんでした。").arg(path));
}

} // namespace tolvane
