#include "gui/search/SearchBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace tolvane {

namespace {

QDoubleSpinBox* levelBox(QWidget* parent, const QString& name, double value)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(1);
    box->setRange(-999.0, 999.0);
    box->setValue(value);
    box->setEnabled(false);
    return box;
}

} // namespace

SearchBar::SearchBar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("searchBar"));
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("searchField"));
    search_->setClearButtonEnabled(true);
    search_->setPlaceholderText(QStringLiteral("タイトル・作者・ジャンルを検索 (Ctrl+F)"));
    search_->setToolTip(QStringLiteral("大文字と小文字、全角と半角を区別せずに探します。Esc で消去します。"));

    levelEnabled_ = new QCheckBox(QStringLiteral("レベル"), this);
    levelEnabled_->setObjectName(QStringLiteral("levelRangeEnabled"));
    minLevel_ = levelBox(this, QStringLiteral("minLevel"), 1.0);
    maxLevel_ = levelBox(this, QStringLiteral("maxLevel"), 12.0);
    auto* through = new QLabel(QStringLiteral("〜"), this);

    autoplay_ = new QComboBox(this);
    autoplay_->setObjectName(QStringLiteral("autoplayFilter"));
    autoplay_->addItem(QStringLiteral("オートプレイを含む"), static_cast<int>(AutoplayFilter::Any));
    autoplay_->addItem(QStringLiteral("オートプレイを除く"), static_cast<int>(AutoplayFilter::WithoutAutoplay));
    autoplay_->addItem(QStringLiteral("オートプレイのみ"), static_cast<int>(AutoplayFilter::OnlyAutoplay));

    // The filters sit in a drop-down panel, so the bar fits the narrowest window.
    auto* panel = new QWidget(this);
    auto* levels = new QHBoxLayout;
    levels->addWidget(levelEnabled_);
    levels->addWidget(minLevel_);
    levels->addWidget(through);
    levels->addWidget(maxLevel_);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addLayout(levels);
    panelLayout->addWidget(autoplay_);
    auto* menu = new QMenu(this);
    auto* panelAction = new QWidgetAction(menu);
    panelAction->setDefaultWidget(panel);
    menu->addAction(panelAction);
    filters_ = new QToolButton(this);
    filters_->setObjectName(QStringLiteral("filtersButton"));
    filters_->setText(QStringLiteral("絞り込み"));
    filters_->setPopupMode(QToolButton::InstantPopup);
    filters_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    filters_->setMenu(menu);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(search_, 1);
    layout->addWidget(filters_);
    updateFiltersButton();

    search_->installEventFilter(this);
    connect(search_, &QLineEdit::textChanged, this, &SearchBar::searchTextChanged);
    connect(levelEnabled_, &QCheckBox::toggled, this, &SearchBar::updateLevelControls);
    connect(minLevel_, &QDoubleSpinBox::valueChanged, this, &SearchBar::levelRangeChanged);
    connect(maxLevel_, &QDoubleSpinBox::valueChanged, this, &SearchBar::levelRangeChanged);
    connect(autoplay_, &QComboBox::currentIndexChanged, this, &SearchBar::autoplayFilterChanged);
    connect(this, &SearchBar::levelRangeChanged, this, &SearchBar::updateFiltersButton);
    connect(this, &SearchBar::autoplayFilterChanged, this, &SearchBar::updateFiltersButton);
}

void SearchBar::drive(PlayFilterProxy& proxy)
{
    connect(this, &SearchBar::searchTextChanged, &proxy, &PlayFilterProxy::setSearchText);
    connect(
        this, &SearchBar::levelRangeChanged, &proxy, [this, &proxy] { proxy.setLevelRange(minLevel(), maxLevel()); });
    connect(
        this, &SearchBar::autoplayFilterChanged, &proxy, [this, &proxy] { proxy.setAutoplayFilter(autoplayFilter()); });
    proxy.setSearchText(searchText());
    proxy.setLevelRange(minLevel(), maxLevel());
    proxy.setAutoplayFilter(autoplayFilter());
}

QString SearchBar::searchText() const
{
    return search_->text();
}

std::optional<double> SearchBar::minLevel() const
{
    if (!levelEnabled_->isChecked())
        return std::nullopt;
    return std::min(minLevel_->value(), maxLevel_->value());
}

std::optional<double> SearchBar::maxLevel() const
{
    if (!levelEnabled_->isChecked())
        return std::nullopt;
    return std::max(minLevel_->value(), maxLevel_->value());
}

AutoplayFilter SearchBar::autoplayFilter() const
{
    return static_cast<AutoplayFilter>(autoplay_->currentData().toInt());
}

bool SearchBar::eventFilter(QObject* watched, QEvent* event)
{
    // Esc in the field clears it; with the field empty it goes on to the window.
    if (watched == search_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !search_->text().isEmpty()) {
        clearSearch();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SearchBar::focusSearch()
{
    search_->setFocus(Qt::ShortcutFocusReason);
    search_->selectAll();
}

void SearchBar::clearSearch()
{
    search_->clear();
}

void SearchBar::updateLevelControls()
{
    const bool on = levelEnabled_->isChecked();
    minLevel_->setEnabled(on);
    maxLevel_->setEnabled(on);
    emit levelRangeChanged();
}

} // namespace tolvane

namespace tolvane {

void SearchBar::updateFiltersButton()
{
    // Bold while a filter narrows the list, with the filters in force as its tip.
    QStringList active;
    if (const auto low = minLevel(), high = maxLevel(); low && high)
        active << QStringLiteral("レベル %1〜%2").arg(*low).arg(*high);
    if (autoplayFilter() != AutoplayFilter::Any)
        active << autoplay_->currentText();
    QFont font = filters_->font();
    font.setBold(!active.isEmpty());
    filters_->setFont(font);
    filters_->setToolTip(active.isEmpty() ? QStringLiteral("レベルとオートプレイで絞り込みます")
                                          : QStringLiteral("絞り込み中: ") + active.join(QStringLiteral("、")));
}

} // namespace tolvane
