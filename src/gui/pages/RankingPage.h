#pragma once

#include <QWidget>

class QComboBox;
class QTableView;

namespace tolvane {

class RankingModel;
class RankingTables;

// The ranking page: the chooser Combo1 above the list ListView2. The owner
// places both; the page only fills them.
class RankingPage final : public QWidget {
    Q_OBJECT

public:
    // The tables must outlive the page; they are read at every pick.
    explicit RankingPage(const RankingTables& tables, QWidget* parent = nullptr);

    QComboBox* chooser() const { return combo_; }
    QTableView* list() const { return list_; }
    RankingModel* model() const { return model_; }

    // For a new analysis: the rows go, the columns stay until the next pick.
    void clearRows();

public slots:
    // Rebuilds the list for the chooser's text; any other text changes nothing.
    void Combo1_Click();

private:
    void applyColumnWidths();

    const RankingTables& tables_;
    QComboBox* combo_;
    QTableView* list_;
    RankingModel* model_;
};

} // namespace tolvane
