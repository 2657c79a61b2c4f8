#include "gui/dialogs/frmOption.h"

#include "core/log/DateText.h"
#include "core/log/NumericValue.h"
#include "gui/Messages.h"

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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace tolvane {

namespace {

constexpr const char* kNoBound = "指定なし";

constexpr const char* kChartNames[6] = {"総合", "年別", "月別", "日別", "曜日別", "時間帯別"};

// Entry p stands for pattern p - 1.
constexpr const char* kPatternNames[19] = {"パターンなし", "94%パターンカラー", "88%パターンカラー",
    "75%パターンカラー", "50%パターンカラー", "25%パターンカラー", "ボールド水平線", "ボールド垂直線",
    "ボールド右下がり対角線", "ボールド右上がり対角線", "チェック模様", "編み目模様", "水平線", "垂直線",
    "右下がり対角線", "右上がり対角線", "グリッド模様", "格子模様", "逆格子模様"};

// The date fields' names in messages: what the user reads beside them.
constexpr const char* kDateFieldNames[2] = {"期間の開始日（から）", "期間の終了日（まで）"};

QColor fromPacked(std::int32_t packed)
{
    return QColor(RedFromRGB(packed), GreenFromRGB(packed), BlueFromRGB(packed));
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

QString fromUtf8(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

frmOption::frmOption(Filter& filter, GraphSettings& graph, QWidget* parent)
    : QDialog(parent)
    , filter_(filter)
    , graph_(graph)
    , opening_(graph)
{
    setObjectName("frmOption");
    setWindowTitle("おぷしょん");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    chooseColor_ = [this](QColor current) -> std::optional<QColor> {
        const QColor picked = QColorDialog::getColor(current, this, "色の設定");
        if (!picked.isValid())
            return std::nullopt;
        return picked;
    };

    tabStrip1_ = new QTabBar(this);
    tabStrip1_->setObjectName("TabStrip1");
    tabStrip1_->setExpanding(false);
    tabStrip1_->addTab("読み込みに関する設定");
    tabStrip1_->addTab("グラフ");

    auto* body = new QFrame(this);
    body->setFrameShape(QFrame::StyledPanel);
    pages_ = new QStackedLayout(body);
    frame1_[1] = buildLoadPage();
    frame1_[2] = buildChartPage();
    for (int k = 1; k <= 2; ++k) {
        frame1_[static_cast<std::size_t>(k)]->setObjectName(QString("Frame1(%1)").arg(k));
        pages_->addWidget(frame1_[static_cast<std::size_t>(k)]);
    }

    command1_ = new QPushButton("OK", this);
    command1_->setObjectName("Command1");
    command1_->setDefault(true);
    command2_ = new QPushButton("キャンセル", this);
    command2_->setObjectName("Command2");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(tabStrip1_);
    layout->addWidget(body);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The calendar floats over the dialog, so it belongs to no layout.
    monthView1_ = new QCalendarWidget(this);
    monthView1_->setObjectName("MonthView1");
    monthView1_->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    monthView1_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    monthView1_->setGridVisible(true);
    monthView1_->resize(monthView1_->sizeHint());
    monthView1_->hide();

    connect(tabStrip1_, &QTabBar::currentChanged, this, [this](int index) { TabStrip1_Click(index + 1); });
    connect(monthView1_, &QCalendarWidget::clicked, this, &frmOption::MonthView1_DateClick);
    connect(command1_, &QPushButton::clicked, this, &frmOption::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &frmOption::Command2_Click);

    Form_Load();
}

QWidget* frmOption::buildLoadPage()
{
    auto* page = new QWidget;
    const char* captions[4]
        = {"Autoplayを無視する", "AutoScratchを無視する", "このスコア未満のデータは拾わない", "期間を限定する"};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(captions[i], page);
        box->setObjectName(QString("Check1(%1)").arg(i));
        check1_[static_cast<std::size_t>(i)] = box;
        connect(box, &QCheckBox::toggled, this, [this, i] { Check1_Click(i); });
    }

    // Each row of side buttons sits in its own container, so the two groups
    // never take each other's selection.
    auto sides = [page](QButtonGroup*& group, const char* name) {
        auto* row = new QWidget(page);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        group = new QButtonGroup(row);
        const char* captions[3] = {"1P", "2P", "1P+2P"};
        for (int j = 0; j < 3; ++j) {
            auto* button = new QRadioButton(captions[j], row);
            button->setObjectName(QString("%1(%2)").arg(name).arg(j));
            group->addButton(button, j);
            layout->addWidget(button);
        }
        layout->addStretch();
        return row;
    };

    text1_ = new QLineEdit("0", page);
    text1_->setObjectName("Text1");
    text1_->setFixedWidth(140);
    text1_->setEnabled(false);

    const char* dateSuffixes[2] = {"から", "まで"};
    auto* dates = new QGridLayout;
    dates->setContentsMargins(24, 0, 0, 0);
    for (int i = 0; i < 2; ++i) {
        auto* field = new QComboBox(page);
        field->setObjectName(QString("Combo1(%1)").arg(i));
        field->setEditable(true);
        field->setInsertPolicy(QComboBox::NoInsert);
        // The text is read literally: no completion towards "指定なし".
        field->setCompleter(nullptr);
        field->addItem(kNoBound);
        field->setFixedWidth(160);
        field->setEnabled(false);
        field->installEventFilter(this);
        combo1_[static_cast<std::size_t>(i)] = field;
        dates->addWidget(field, i, 0);
        dates->addWidget(new QLabel(dateSuffixes[i], page), i, 1);
        connect(field, &QComboBox::editTextChanged, this, [this, i] { Combo1_Change(i); });
        connect(field, &QComboBox::activated, this, [this, i] { Combo1_Click(i); });
    }
    dates->setColumnStretch(2, 1);

    auto* score = new QHBoxLayout;
    score->setContentsMargins(24, 0, 0, 0);
    score->addWidget(text1_);
    score->addWidget(new QLabel("点未満", page));
    score->addStretch();

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->addWidget(check1_[0], 0, 0);
    grid->addWidget(sides(option1_, "Option1"), 0, 1);
    grid->addWidget(check1_[1], 1, 0);
    grid->addWidget(sides(option2_, "Option2"), 1, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(6);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addWidget(check1_[2]);
    layout->addLayout(score);
    layout->addSpacing(10);
    layout->addWidget(check1_[3]);
    layout->addLayout(dates);
    layout->addStretch();
    return page;
}

QWidget* frmOption::buildChartPage()
{
    auto* page = new QWidget;
    auto* frame = new QGroupBox("グラフ棒の設定", page);
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    grid->addWidget(new QLabel("塗りつぶしの色", frame), 0, 1, 1, 2);
    grid->addWidget(new QLabel("パターンの色", frame), 0, 3, 1, 2);
    grid->addWidget(new QLabel("パターンの種類", frame), 0, 5);
    grid->setColumnMinimumWidth(2, 0);

    auto swatch = [frame](const QString& name) {
        auto* shape = new QFrame(frame);
        shape->setObjectName(name);
        shape->setFrameShape(QFrame::Box);
        shape->setAutoFillBackground(true);
        shape->setFixedSize(36, 20);
        return shape;
    };
    for (int i = 0; i < 6; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int row = i + 1;
        grid->addWidget(new QLabel(kChartNames[i], frame), row, 0);

        shape1_[at] = swatch(QString("Shape1(%1)").arg(i));
        auto* color = new QPushButton("設定...", frame);
        color->setObjectName(QString("ComColor(%1)").arg(i));
        color->setAutoDefault(false);
        grid->addWidget(shape1_[at], row, 1);
        grid->addWidget(color, row, 2);
        connect(color, &QPushButton::clicked, this, [this, i] { ComColor_Click(i); });

        shape2_[at] = swatch(QString("Shape2(%1)").arg(i));
        auto* patternColor = new QPushButton("設定...", frame);
        patternColor->setObjectName(QString("ComPatColor(%1)").arg(i));
        patternColor->setAutoDefault(false);
        grid->addWidget(shape2_[at], row, 3);
        grid->addWidget(patternColor, row, 4);
        connect(patternColor, &QPushButton::clicked, this, [this, i] { ComPatColor_Click(i); });

        auto* patterns = new QComboBox(frame);
        patterns->setObjectName(QString("Combo2(%1)").arg(i));
        for (int p = 0; p < 19; ++p)
            patterns->addItem(kPatternNames[p], p - 1);
        combo2_[at] = patterns;
        grid->addWidget(patterns, row, 5);
    }
    grid->setColumnMinimumWidth(0, 70);
    grid->setColumnStretch(5, 1);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(frame);
    layout->addStretch();
    return page;
}

void frmOption::Form_Load()
{
    currentPage_ = 1;
    tabStrip1_->setCurrentIndex(0);
    pages_->setCurrentIndex(0);

    for (int n = 1; n <= 6; ++n) {
        const auto at = static_cast<std::size_t>(n - 1);
        const auto nn = static_cast<std::size_t>(n);
        paint(shape1_[at], colorFromSetting(graph_.Color[nn]));
        paint(shape2_[at], graph_.PatternColor[nn]);
        // A stored pattern the list does not offer shows the nearest entry;
        // the setting itself changes only when the user picks one.
        combo2_[at]->setCurrentIndex(std::clamp<int>(graph_.Pattern[nn], -1, 17) + 1);
        connect(combo2_[at], &QComboBox::currentIndexChanged, this, [this, n] { Combo2_Click(n - 1); });
    }

    check1_[0]->setChecked(filter_.IgnoreAutoplay);
    option1_->button(std::clamp<int>(filter_.optIgnoreAuto, 0, 2))->setChecked(true);
    check1_[1]->setChecked(filter_.IgnoreScrach);
    option2_->button(std::clamp<int>(filter_.optIgnoreScr, 0, 2))->setChecked(true);
    check1_[2]->setChecked(filter_.ScoreFilter);
    check1_[3]->setChecked(filter_.SpanFilter);
    text1_->setText(QString::number(filter_.MinScore));

    const DateValue bounds[2] = {filter_.Mintime, filter_.Maxtime};
    for (int i = 0; i < 2; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (bounds[i] != 0)
            combo1_[at]->setEditText(fromUtf8(dateTimeText(bounds[i])));
        shownDates_[at] = combo1_[at]->currentText();
    }
}

void frmOption::TabStrip1_Click(int page)
{
    if (page == currentPage_ || page < 1 || page > 2)
        return;
    pages_->setCurrentWidget(frame1_[static_cast<std::size_t>(page)]);
    currentPage_ = page;
    tabStrip1_->setCurrentIndex(page - 1);
    // The calendar floats over the dialog; it must not linger over page 2.
    monthView1_->hide();
}

void frmOption::Check1_Click(int i)
{
    if (i == 2) {
        text1_->setEnabled(check1_[2]->isChecked());
    } else if (i == 3) {
        const bool on = check1_[3]->isChecked();
        combo1_[0]->setEnabled(on);
        combo1_[1]->setEnabled(on);
        if (!on)
            monthView1_->hide();
    }
}

void frmOption::Combo1_GotFocus(int i)
{
    const QWidget* field = combo1_[static_cast<std::size_t>(i)];
    const QPoint topLeft = field->mapTo(this, QPoint(0, 0));
    QPoint at(topLeft.x() + field->width(), topLeft.y() - monthView1_->height());
    // Beside and above the field; a dialog too small for that keeps it inside.
    at.setX(std::clamp(at.x(), 0, std::max(0, width() - monthView1_->width())));
    at.setY(std::clamp(at.y(), 0, std::max(0, height() - monthView1_->height())));
    monthView1_->move(at);
    monthView1_->raise();
    monthView1_->show();
    calendarTarget_ = i;
}

void frmOption::Combo1_Change(int)
{
    monthView1_->hide();
}

void frmOption::Combo1_Click(int)
{
    monthView1_->hide();
    check1_[3]->setFocus(Qt::OtherFocusReason);
}

void frmOption::MonthView1_DateClick(const QDate& date)
{
    QComboBox* field = combo1_[static_cast<std::size_t>(calendarTarget_)];
    field->setEditText(fromUtf8(shortDateText(date.year(), date.month(), date.day())));
    monthView1_->hide();
    // Hand the focus back to the field without popping the calendar again.
    quietFocus_ = true;
    field->setFocus(Qt::OtherFocusReason);
    quietFocus_ = false;
}

void frmOption::chooseInto(QFrame* swatch, const std::function<void(std::int32_t)>& store)
{
    const std::optional<QColor> picked = chooseColor_(swatch->palette().color(QPalette::Window));
    if (!picked)
        return;
    paint(swatch, toPacked(*picked));
    store(toPacked(swatch->palette().color(QPalette::Window)));
}

void frmOption::ComColor_Click(int i)
{
    const auto n = static_cast<std::size_t>(i + 1);
    chooseInto(shape1_[static_cast<std::size_t>(i)], [this, n](std::int32_t c) { graph_.Color[n] = c; });
}

void frmOption::ComPatColor_Click(int i)
{
    const auto n = static_cast<std::size_t>(i + 1);
    chooseInto(shape2_[static_cast<std::size_t>(i)], [this, n](std::int32_t c) { graph_.PatternColor[n] = c; });
}

void frmOption::Combo2_Click(int i)
{
    const QComboBox* patterns = combo2_[static_cast<std::size_t>(i)];
    graph_.Pattern[static_cast<std::size_t>(i + 1)] = static_cast<std::int16_t>(patterns->currentData().toInt());
}

std::optional<DateValue> frmOption::readDate(int i)
{
    const auto at = static_cast<std::size_t>(i);
    const QString text = combo1_[at]->currentText();
    if (text == kNoBound)
        return DateValue{0};
    if (text == shownDates_[at])
        return i == 0 ? filter_.Mintime : filter_.Maxtime;
    if (const auto value = parseDateTimeText(text.toStdString()))
        return value;
    Messages::inform(this,
        {std::string(kDateFieldNames[i]) + "「" + text.toStdString() + "」は日付として読めません。",
            "2001/05/03 または 2001/05/03 9:30 の形で入力するか、「指定なし」を選んでください。"});
    combo1_[at]->setFocus(Qt::OtherFocusReason);
    return std::nullopt;
}

std::optional<Filter> frmOption::readFilter()
{
    Filter f = filter_;
    f.IgnoreAutoplay = check1_[0]->isChecked();
    f.IgnoreScrach = check1_[1]->isChecked();
    f.ScoreFilter = check1_[2]->isChecked();
    f.SpanFilter = check1_[3]->isChecked();
    f.optIgnoreAuto = static_cast<std::int16_t>(option1_->checkedId());
    f.optIgnoreScr = static_cast<std::int16_t>(option2_->checkedId());

    if (f.ScoreFilter) {
        const std::string text = text1_->text().toStdString();
        const auto score = toInt32(numericValue(text));
        if (!score) {
            Messages::inform(this,
                {"最低点数（点未満）「" + text + "」は範囲外です。",
                    "-2147483648 から 2147483647 までの数を入力してください。"});
            text1_->setFocus(Qt::OtherFocusReason);
            text1_->selectAll();
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
        f.Mintime = *from;
        f.Maxtime = *to;
    }
    return f;
}

void frmOption::Command1_Click()
{
    const std::optional<Filter> read = readFilter();
    if (!read)
        return;
    filter_ = *read;
    accept();
}

void frmOption::Command2_Click()
{
    reject();
}

void frmOption::reject()
{
    graph_ = opening_;
    QDialog::reject();
}

bool frmOption::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && !quietFocus_) {
        // Dropping the list down and back is no new visit to the field.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            for (int i = 0; i < 2; ++i) {
                if (watched == combo1_[static_cast<std::size_t>(i)])
                    Combo1_GotFocus(i);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tolvane
