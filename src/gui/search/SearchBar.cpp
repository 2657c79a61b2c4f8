#include "gui/search/SearchBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

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

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(search_, 1);
    layout->addSpacing(8);
    layout->addWidget(levelEnabled_);
    layout->addWidget(minLevel_);
    layout->addWidget(through);
    layout->addWidget(maxLevel_);
    layout->addSpacing(8);
    layout->addWidget(autoplay_);

    search_->installEventFilter(this);
    connect(search_, &QLineEdit::textChanged, this, &SearchBar::searchTextChanged);
    connect(levelEnabled_, &QCheckBox::toggled, this, &SearchBar::updateLevelControls);
    connect(minLevel_, &QDoubleSpinBox::valueChanged, this, &SearchBar::levelRangeChanged);
    connect(maxLevel_, &QDoubleSpinBox::valueChanged, this, &SearchBar::levelRangeChanged);
    connect(autoplay_, &QComboBox::currentIndexChanged, this, &SearchBar::autoplayFilterChanged);
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
