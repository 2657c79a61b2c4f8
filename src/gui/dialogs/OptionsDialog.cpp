#include "gui/dialogs/OptionsDialog.h"

#include "core/log/DateText.h"
#include "core/log/NumericValue.h"
#include "gui/Messages.h"
#include "gui/charts/BrushPatterns.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace tolvane {

namespace {

constexpr const char* kNoBound = "指定なし";

QString kFillNote()
{
    return QObject::tr("※塗りつぶしの色は、パターンを選んだ棒にパターンと一緒に表示されます");
}

// Entry p stands for pattern p - 1.
constexpr const char* kPatternNames[19] = {"パターンなし", "94%パターンカラー", "88%パターンカラー",
    "75%パターンカラー", "50%パターンカラー", "25%パターンカラー", "ボールド水平線", "ボールド垂直線",
    "ボールド右下がり対角線", "ボールド右上がり対角線", "チェック模様", "編み目模様", "水平線", "垂直線",
    "右下がり対角線", "右上がり対角線", "グリッド模様", "格子模様", "逆格子模様"};

// The date fields' names in messages: what the user reads beside them.
constexpr const char* kDateFieldNames[2] = {"期間の開始日（から）", "期間の終了日（まで）"};

QColor fromPacked(std::int32_t packed)
{
    return QColor(redOf(packed), greenOf(packed), blueOf(packed));
}

std::int32_t toPacked(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

void paint(QFrame* swatch, std::int32_t packed)
{
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, fromPacked(packed));
    swatch->setPalette(palette);
}

// A chart's bar as the chart paints it: the brush of its style inside the
// outline, or the outline alone for unpainted bars.
class BarPreview final : public QFrame {
public:
    explicit BarPreview(QWidget* parent)
        : QFrame(parent)
    {
        setMinimumSize(48, 20);
    }

    void showStyle(const BarStyle& style)
    {
        style_ = style;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        QPainter painter(this);
        const QRect bar = rect().adjusted(4, 3, -5, -4);
        painter.fillRect(rect(), palette().color(QPalette::Base));
        painter.setBrush(barBrush(style_));
        painter.setPen(QPen(palette().color(QPalette::Text), 0));
        painter.drawRect(bar);
    }

private:
    BarStyle style_;
};

QCheckBox* checkBox(const char* name, const char* caption, QWidget* parent)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(name);
    return box;
}

} // namespace

OptionsDialog::OptionsDialog(const Filter& filter, const GraphSettings& graph, QWidget* parent)
    : QDialog(parent)
    , filter_(filter)
    , graph_(graph)
{
    setObjectName("optionsDialog");
    setWindowTitle("おぷしょん");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    chooseColor_ = [this](QColor current) -> std::optional<QColor> {
        const QColor picked = QColorDialog::getColor(current, this, "色の設定");
        if (!picked.isValid())
            return std::nullopt;
        return picked;
    };

    pages_ = new QTabWidget(this);
    pages_->setObjectName("optionPages");
    pages_->addTab(buildLoadPage(), "読み込みに関する設定");
    pages_->addTab(buildChartPage(), "グラフ");

    // OK before Cancel on every desktop, as the dialog was designed.
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    auto* cancel = new QPushButton("キャンセル", this);
    cancel->setObjectName("cancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The calendar floats over the dialog beside the date field, so it belongs to no layout.
    datePopup_ = new QCalendarWidget(this);
    datePopup_->setObjectName("datePopup");
    datePopup_->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    datePopup_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    datePopup_->setGridVisible(true);
    datePopup_->resize(datePopup_->sizeHint());
    datePopup_->hide();

    connect(pages_, &QTabWidget::currentChanged, this, &OptionsDialog::showPage);
    connect(datePopup_, &QCalendarWidget::clicked, this, &OptionsDialog::fillDateField);
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::acceptIfValid);
    connect(cancel, &QPushButton::clicked, this, &OptionsDialog::reject);

    showValues();
    shownFilter_ = filterControlState();
    updateSideChoices();
    updateReloadChoice();
    showPreviews();
}

QWidget* OptionsDialog::buildLoadPage()
{
    auto* page = new QWidget;
    page->setObjectName("loadPage");
    ignoreAutoplay_ = checkBox("ignoreAutoplayCheck", "Autoplayを無視する", page);
    ignoreScratch_ = checkBox("ignoreScratchCheck", "AutoScratchを無視する", page);
    scoreFilter_ = checkBox("scoreFilterCheck", "このスコア未満のデータは拾わない", page);
    spanFilter_ = checkBox("spanFilterCheck", "期間を限定する", page);
    for (QCheckBox* box : {scoreFilter_, spanFilter_})
        connect(box, &QCheckBox::toggled, this, &OptionsDialog::updateEnabledFields);

    // Each row of side buttons sits in its own container, so the two groups
    // never take each other's selection.
    auto sides = [this, page](QButtonGroup*& group, const char* name) {
        auto* row = new QWidget(page);
        row->setObjectName(QString("%1Row").arg(name));
        sideRows_.push_back(row);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        group = new QButtonGroup(row);
        const char* captions[3] = {"1P", "2P", "1P+2P"};
        for (int j = 0; j < 3; ++j) {
            auto* button = new QRadioButton(captions[j], row);
            button->setObjectName(QString("%1%2").arg(name).arg(j));
            group->addButton(button, j);
            layout->addWidget(button);
        }
        layout->addStretch();
        return row;
    };

    minScore_ = new QLineEdit("0", page);
    minScore_->setObjectName("minScoreField");
    minScore_->setMinimumWidth(minScore_->fontMetrics().horizontalAdvance("-2147483648") + 16);
    minScore_->setEnabled(false);

    const char* dateSuffixes[2] = {"から", "まで"};
    const char* dateNames[2] = {"fromDateField", "toDateField"};
    auto* dates = new QGridLayout;
    dates->setContentsMargins(24, 0, 0, 0);
    for (int i = 0; i < 2; ++i) {
        auto* field = new QComboBox(page);
        field->setObjectName(dateNames[i]);
        field->setEditable(true);
        field->setInsertPolicy(QComboBox::NoInsert);
        // The text is read literally: no completion towards "指定なし".
        field->setCompleter(nullptr);
        field->addItem(kNoBound);
        field->setMinimumContentsLength(19); // "2001/05/03 23:59:59"
        field->setEnabled(false);
        field->installEventFilter(this);
        dateFields_[static_cast<std::size_t>(i)] = field;
        dates->addWidget(field, i, 0);
        dates->addWidget(new QLabel(dateSuffixes[i], page), i, 1);
        connect(field, &QComboBox::editTextChanged, this, &OptionsDialog::hideDatePopup);
        connect(field, &QComboBox::activated, this, &OptionsDialog::pickNoBound);
    }
    dates->setColumnStretch(2, 1);

    auto* score = new QHBoxLayout;
    score->setContentsMargins(24, 0, 0, 0);
    score->addWidget(minScore_);
    score->addWidget(new QLabel("点未満", page));
    score->addStretch();

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->addWidget(ignoreAutoplay_, 0, 0);
    grid->addWidget(sides(autoplaySide_, "autoplaySide"), 0, 1);
    grid->addWidget(ignoreScratch_, 1, 0);
    grid->addWidget(sides(scratchSide_, "scratchSide"), 1, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(6);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addWidget(scoreFilter_);
    layout->addLayout(score);
    layout->addSpacing(10);
    layout->addWidget(spanFilter_);
    layout->addLayout(dates);
    // The span compares each play's day: what a time of day does is easy to miss.
    auto* byDays = new QLabel(tr("期間は日で比べます。終了日のプレイは時刻によらず含まれ、"
                                 "時刻付きの開始日はその翌日からになります。"),
        page);
    byDays->setObjectName("spanByDaysNote");
    byDays->setWordWrap(true);
    byDays->setContentsMargins(24, 0, 0, 0);
    layout->addWidget(byDays);
    layout->addSpacing(10);
    reopenLast_ = checkBox("reopenLastCheck", "前回のファイルを開く", page);
    followLog_ = checkBox("followLogCheck", "追記されたプレイを自動で読み込む", page);
    reopenLast_->setChecked(true);
    followLog_->setChecked(true);
    layout->addWidget(reopenLast_);
    layout->addWidget(followLog_);
    // Filters act when a log is read: offered once one of them changed.
    reloadNow_ = new QCheckBox(tr("今すぐ読み直す"), page);
    reloadNow_->setObjectName("reloadNowCheck");
    reloadNow_->setToolTip(tr("OKで、開いているログを新しい読み込み条件で読み直します"));
    reloadNow_->setChecked(true);
    layout->addSpacing(10);
    layout->addWidget(reloadNow_);
    layout->addStretch();
    for (QCheckBox* box : {ignoreAutoplay_, ignoreScratch_})
        connect(box, &QCheckBox::toggled, this, &OptionsDialog::updateSideChoices);
    for (QCheckBox* box : {ignoreAutoplay_, ignoreScratch_, scoreFilter_, spanFilter_})
        connect(box, &QCheckBox::toggled, this, &OptionsDialog::updateReloadChoice);
    for (QButtonGroup* group : {autoplaySide_, scratchSide_})
        connect(group, &QButtonGroup::idToggled, this, &OptionsDialog::updateReloadChoice);
    connect(minScore_, &QLineEdit::textChanged, this, &OptionsDialog::updateReloadChoice);
    for (QComboBox* field : dateFields_)
        connect(field, &QComboBox::editTextChanged, this, &OptionsDialog::updateReloadChoice);
    return page;
}

QWidget* OptionsDialog::buildChartPage()
{
    auto* page = new QWidget;
    page->setObjectName("chartPage");
    auto* frame = new QGroupBox("グラフ棒の設定", page);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel("塗りつぶしの色", frame), 0, 1, 1, 2);
    grid->addWidget(new QLabel("パターンの色", frame), 0, 3, 1, 2);
    grid->addWidget(new QLabel("パターンの種類", frame), 0, 5);
    grid->addWidget(new QLabel(tr("見本"), frame), 0, 6);

    auto swatch = [frame](const QString& name) {
        auto* shape = new QFrame(frame);
        shape->setObjectName(name);
        shape->setFrameShape(QFrame::Box);
        shape->setAutoFillBackground(true);
        shape->setMinimumSize(36, 20);
        return shape;
    };
    auto colorButton = [this, frame](const QString& name, void (OptionsDialog::*choose)(int), int chart) {
        auto* button = new QPushButton("設定...", frame);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, choose, chart] { (this->*choose)(chart); });
        return button;
    };
    for (int i = 0; i < static_cast<int>(kTrendChartCount); ++i) {
        const int row = i + 1;
        const std::string_view caption = kTrendChartCaptions[i];
        grid->addWidget(
            new QLabel(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())), frame), row, 0);
        fillSwatches_.push_back(swatch(QString("fillSwatch%1").arg(i)));
        grid->addWidget(fillSwatches_.back(), row, 1);
        QPushButton* fill = colorButton(QString("fillColorButton%1").arg(i), &OptionsDialog::chooseFillColor, i);
        fill->setToolTip(kFillNote());
        grid->addWidget(fill, row, 2);
        patternSwatches_.push_back(swatch(QString("patternSwatch%1").arg(i)));
        grid->addWidget(patternSwatches_.back(), row, 3);
        grid->addWidget(
            colorButton(QString("patternColorButton%1").arg(i), &OptionsDialog::choosePatternColor, i), row, 4);

        auto* patterns = new QComboBox(frame);
        patterns->setObjectName(QString("patternChooser%1").arg(i));
        patterns->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        for (int p = 0; p < 19; ++p)
            patterns->addItem(kPatternNames[p], p - 1);
        patternChoosers_.push_back(patterns);
        grid->addWidget(patterns, row, 5);
        auto* preview = new BarPreview(frame);
        preview->setObjectName(QString("barPreview%1").arg(i));
        previews_.push_back(preview);
        grid->addWidget(preview, row, 6);
    }
    // The documents fill a bar only with a pattern over it: a colour alone
    // changes nothing, which the note under the colour buttons says.
    auto* note = new QLabel(kFillNote(), frame);
    note->setObjectName("fillNote");
    note->setWordWrap(true);
    grid->addWidget(note, static_cast<int>(kTrendChartCount) + 1, 1, 1, 6);
    grid->setColumnStretch(5, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(frame);
    layout->addStretch();
    return page;
}

void OptionsDialog::showValues()
{
    pages_->setCurrentIndex(0);
    for (std::size_t i = 0; i < patternChoosers_.size(); ++i) {
        paint(fillSwatches_[i], colorFromSetting(graph_.Color[i]));
        paint(patternSwatches_[i], graph_.PatternColor[i]);
        // A stored pattern the list does not offer shows the nearest entry;
        // the setting itself changes only when the user picks one.
        patternChoosers_[i]->setCurrentIndex(std::clamp<int>(graph_.Pattern[i], -1, 17) + 1);
        connect(patternChoosers_[i], &QComboBox::currentIndexChanged, this,
            [this, i] { choosePattern(static_cast<int>(i)); });
    }

    ignoreAutoplay_->setChecked(filter_.IgnoreAutoplay);
    autoplaySide_->button(std::clamp<int>(filter_.optIgnoreAuto, 0, 2))->setChecked(true);
    ignoreScratch_->setChecked(filter_.IgnoreScrach);
    scratchSide_->button(std::clamp<int>(filter_.optIgnoreScr, 0, 2))->setChecked(true);
    scoreFilter_->setChecked(filter_.ScoreFilter);
    spanFilter_->setChecked(filter_.SpanFilter);
    minScore_->setText(QString::number(filter_.MinScore));

    const DateValue bounds[2] = {filter_.Mintime, filter_.Maxtime};
    for (std::size_t i = 0; i < 2; ++i) {
        if (bounds[i] != 0)
            dateFields_[i]->setEditText(QString::fromStdString(dateTimeText(bounds[i])));
        shownDates_[i] = dateFields_[i]->currentText();
    }
    updateEnabledFields();
}

void OptionsDialog::showPage(int)
{
    // The calendar floats over the dialog; it must not linger over the other page.
    datePopup_->hide();
}

void OptionsDialog::updateEnabledFields()
{
    minScore_->setEnabled(scoreFilter_->isChecked());
    const bool dates = spanFilter_->isChecked();
    for (QComboBox* field : dateFields_)
        field->setEnabled(dates);
    if (!dates)
        datePopup_->hide();
}

void OptionsDialog::showDatePopup(int field)
{
    const QWidget* at = dateFields_[static_cast<std::size_t>(field)];
    const QPoint topLeft = at->mapTo(this, QPoint(0, 0));
    QPoint place(topLeft.x() + at->width(), topLeft.y() - datePopup_->height());
    // Beside and above the field; a dialog too small for that keeps it inside.
    place.setX(std::clamp(place.x(), 0, std::max(0, width() - datePopup_->width())));
    place.setY(std::clamp(place.y(), 0, std::max(0, height() - datePopup_->height())));
    datePopup_->move(place);
    datePopup_->raise();
    datePopup_->show();
    popupTarget_ = field;
}

void OptionsDialog::hideDatePopup()
{
    datePopup_->hide();
}

void OptionsDialog::pickNoBound()
{
    datePopup_->hide();
    spanFilter_->setFocus(Qt::OtherFocusReason);
}

void OptionsDialog::fillDateField(const QDate& date)
{
    QComboBox* field = dateFields_[static_cast<std::size_t>(popupTarget_)];
    field->setEditText(QString::fromStdString(shortDateText(date.year(), date.month(), date.day())));
    datePopup_->hide();
    // Hand the focus back to the field without popping the calendar again.
    quietFocus_ = true;
    field->setFocus(Qt::OtherFocusReason);
    quietFocus_ = false;
}

void OptionsDialog::chooseFillColor(int chart)
{
    QFrame* swatch = fillSwatches_[static_cast<std::size_t>(chart)];
    if (const std::optional<QColor> picked = chooseColor_(swatch->palette().color(QPalette::Window))) {
        paint(swatch, toPacked(*picked));
        graph_.Color[static_cast<std::size_t>(chart)] = toPacked(*picked);
        showPreviews();
    }
}

void OptionsDialog::choosePatternColor(int chart)
{
    QFrame* swatch = patternSwatches_[static_cast<std::size_t>(chart)];
    if (const std::optional<QColor> picked = chooseColor_(swatch->palette().color(QPalette::Window))) {
        paint(swatch, toPacked(*picked));
        graph_.PatternColor[static_cast<std::size_t>(chart)] = toPacked(*picked);
        showPreviews();
    }
}

void OptionsDialog::choosePattern(int chart)
{
    const QComboBox* patterns = patternChoosers_[static_cast<std::size_t>(chart)];
    graph_.Pattern[static_cast<std::size_t>(chart)] = static_cast<std::int16_t>(patterns->currentData().toInt());
    showPreviews();
}

std::optional<DateValue> OptionsDialog::readDate(int i)
{
    const auto at = static_cast<std::size_t>(i);
    const QString text = dateFields_[at]->currentText();
    if (text == kNoBound)
        return DateValue{0};
    if (text == shownDates_[at])
        return i == 0 ? filter_.Mintime : filter_.Maxtime;
    if (const auto value = parseDateTimeText(text.toStdString()))
        return value;
    Messages::inform(this,
        {std::string(kDateFieldNames[i]) + "「" + text.toStdString() + "」は日付として読めません。",
            "2001/05/03 または 2001/05/03 9:30 の形で入力するか、「指定なし」を選んでください。"});
    dateFields_[at]->setFocus(Qt::OtherFocusReason);
    return std::nullopt;
}

std::optional<Filter> OptionsDialog::readFilter()
{
    Filter f = filter_;
    f.IgnoreAutoplay = ignoreAutoplay_->isChecked();
    f.IgnoreScrach = ignoreScratch_->isChecked();
    f.ScoreFilter = scoreFilter_->isChecked();
    f.SpanFilter = spanFilter_->isChecked();
    f.optIgnoreAuto = static_cast<std::int16_t>(autoplaySide_->checkedId());
    f.optIgnoreScr = static_cast<std::int16_t>(scratchSide_->checkedId());

    if (f.ScoreFilter) {
        const std::string text = minScore_->text().toStdString();
        const auto score = toInt32(numericValue(text));
        if (!score) {
            Messages::inform(this,
                {"最低点数（点未満）「" + text + "」は範囲外です。",
                    "-2147483648 から 2147483647 までの数を入力してください。"});
            minScore_->setFocus(Qt::OtherFocusReason);
            minScore_->selectAll();
            return std::nullopt;
        }
        f.MinScore = *score;
    }
    if (f.SpanFilter) {
        const auto from = readDate(0);
        if (!from)
            return std::nullopt;
        const auto to = readDate(1);
        if (!to)
            return std::nullopt;
        // A start after the end keeps no play at all; "指定なし" (0) is no bound.
        if (*from != 0.0 && *to != 0.0 && *from > *to) {
            Messages::inform(
                this, {tr("期間の開始日（から）は終了日（まで）より前の日付にしてください。").toStdString()});
            dateFields_[0]->setFocus(Qt::OtherFocusReason);
            return std::nullopt;
        }
        f.Mintime = *from;
        f.Maxtime = *to;
    }
    return f;
}

void OptionsDialog::acceptIfValid()
{
    const std::optional<Filter> read = readFilter();
    if (!read)
        return;
    filter_ = *read;
    accept();
}

void OptionsDialog::keyPressEvent(QKeyEvent* event)
{
    // Esc with the date pop-up open closes the pop-up alone; the dialog and
    // its edits stay.
    if (event->key() == Qt::Key_Escape && datePopup_->isVisible()) {
        datePopup_->hide();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && !quietFocus_) {
        // Dropping the list down and back is no new visit to the field.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            for (std::size_t i = 0; i < dateFields_.size(); ++i) {
                if (watched == dateFields_[i])
                    showDatePopup(static_cast<int>(i));
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::setFileOptions(bool reopenLast, bool followLog)
{
    reopenLast_->setChecked(reopenLast);
    followLog_->setChecked(followLog);
}

bool OptionsDialog::reopenLast() const
{
    return reopenLast_->isChecked();
}

bool OptionsDialog::followLog() const
{
    return followLog_->isChecked();
}

bool OptionsDialog::reloadNow() const
{
    return reloadNow_->isEnabled() && reloadNow_->isChecked();
}

void OptionsDialog::updateSideChoices()
{
    // A side only matters while its entries are ignored; the choice is kept.
    sideRows_[0]->setEnabled(ignoreAutoplay_->isChecked());
    sideRows_[1]->setEnabled(ignoreScratch_->isChecked());
}

QStringList OptionsDialog::filterControlState() const
{
    QStringList state;
    for (const QCheckBox* box : {ignoreAutoplay_, ignoreScratch_, scoreFilter_, spanFilter_})
        state << QString::number(box->isChecked());
    state << QString::number(autoplaySide_->checkedId()) << QString::number(scratchSide_->checkedId());
    state << minScore_->text();
    for (const QComboBox* field : dateFields_)
        state << field->currentText();
    return state;
}

void OptionsDialog::updateReloadChoice()
{
    if (reloadNow_)
        reloadNow_->setEnabled(!shownFilter_.isEmpty() && filterControlState() != shownFilter_);
}

void OptionsDialog::showPreviews()
{
    BarStyles styles{};
    applyBarStyles(graph_, styles);
    for (std::size_t i = 0; i < previews_.size(); ++i)
        static_cast<BarPreview*>(previews_[i])->showStyle(styles[i]);
}

} // namespace tolvane
