#pragma once

#include "core/rankings/RankingView.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QTableView;

namespace tolvane {

class RankingModel;
class RankingTables;
class StableSortProxy;

// The ranking page: the ranking chooser above the ranking list. Each chooser
// entry carries its RankingKind as item data.
class RankingPage final : public QWidget {
    Q_OBJECT

public:
    // The tables must outlive the page; they are read at every pick.
    explicit RankingPage(const RankingTables& tables, QWidget* parent = nullptr);

    QComboBox* chooser() const { return chooser_; }
    QTableView* list() const { return list_; }
    RankingModel* model() const { return model_; }
    // Between the model and the list: a header click sorts, a third gives
    // back the ranking's own order.
    StableSortProxy* proxy() const { return proxy_; }
    // The ranking last built; nothing before the first pick.
    std::optional<RankingKind> shownRanking() const { return shown_; }

    // For a new analysis: the rows go, the columns stay until the next pick.
    void clearRows();
    // Builds the list of this ranking from the tables and shows it in the chooser.
    void showRanking(RankingKind kind);

private slots:
    void showChosenRanking(int index);

private:
    void applyColumnWidths();

    const RankingTables& tables_;
    QComboBox* chooser_;
    QTableView* list_;
    RankingModel* model_;
    StableSortProxy* proxy_;
    std::optional<RankingKind> shown_;
};

} // namespace tolvane
