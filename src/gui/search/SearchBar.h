#pragma once

#include "gui/search/PlayFilterProxy.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QToolButton;

namespace tolvane {

// The bar above the data list: a search field over title, artist and genre
// (Esc clears it), a level range, and the autoplay choice. drive() makes
// the bar steer a PlayFilterProxy as the user types and chooses.
class SearchBar final : public QWidget {
    Q_OBJECT

public:
    explicit SearchBar(QWidget* parent = nullptr);

    void drive(PlayFilterProxy& proxy);

    QString searchText() const;
    std::optional<double> minLevel() const;
    std::optional<double> maxLevel() const;
    AutoplayFilter autoplayFilter() const;

    // Puts the cursor in the search field with its text selected (Ctrl+F).
    void focusSearch();
    void clearSearch();

signals:
    void searchTextChanged(const QString& text);
    void levelRangeChanged();
    void autoplayFilterChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateLevelControls();
    void updateFiltersButton();

    QLineEdit* search_ = nullptr;
    QCheckBox* levelEnabled_ = nullptr;
    QDoubleSpinBox* minLevel_ = nullptr;
    QDoubleSpinBox* maxLevel_ = nullptr;
    QComboBox* autoplay_ = nullptr;
    QToolButton* filters_ = nullptr;
};

} // namespace tolvane
