#pragma once

#include "core/insights/SongView.h"

#include <QWidget>

class QLabel;
class QTableView;
class QTableWidget;

namespace tolvane {

class Analysis;
class SongAttemptsModel;
class StableSortProxy;
class SongChart;

// A page for one song: the summary, a chart of score per attempt with the
// running best and the max combo, plays per month, and every attempt with
// its marks. Built from a SongView; nothing is read from the log.
class SongPage final : public QWidget {
    Q_OBJECT

public:
    explicit SongPage(QWidget* parent = nullptr);

    void showSong(SongView song);
    const SongView& song() const { return song_; }

signals:
    // The user asked to go back to where the page was opened from.
    void backRequested();

private:
    void showSummary();
    void showPerMonth();

    SongView song_;
    QLabel* title_ = nullptr;
    QLabel* plays_ = nullptr;
    QLabel* first_ = nullptr;
    QLabel* last_ = nullptr;
    QLabel* bestScore_ = nullptr;
    QLabel* bestCombo_ = nullptr;
    QLabel* fullCombo_ = nullptr;
    QLabel* firstFullCombo_ = nullptr;
    QTableWidget* perMonth_ = nullptr;
    SongChart* chart_ = nullptr;
    SongAttemptsModel* attempts_ = nullptr;
    StableSortProxy* attemptsProxy_ = nullptr;
    QTableView* attemptsView_ = nullptr;
};

// The song whose title matches key as the title ranking matches it, among all
// of the analysis's plays; nullopt when there is none.
std::optional<SongView> findSong(const Analysis& analysis, const QString& key);

} // namespace tolvane
