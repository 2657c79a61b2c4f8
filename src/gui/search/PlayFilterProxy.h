#pragma once

#include "core/insights/PlaySearch.h"
#include "gui/search/StableSortProxy.h"

#include "core/insights/PlayRows.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

class PlayList;

// Which plays the autoplay choice keeps.
enum class AutoplayFilter { Any, WithoutAutoplay, OnlyAutoplay };

// The data list's search and filters over a PlayListModel of plays, with the
// stable header sort of StableSortProxy. Title, artist and genre are folded
// once (PlaySearch); a keystroke costs one scan of the folded text and one
// pass over the rows' flags.
class PlayFilterProxy final : public StableSortProxy {
    Q_OBJECT

public:
    explicit PlayFilterProxy(const PlayList& plays, QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* model) override;
    void setSearchText(const QString& text);
    // Either end may be open.
    void setLevelRange(std::optional<double> minLevel, std::optional<double> maxLevel);
    void setAutoplayFilter(AutoplayFilter filter);
    // Keeps only the plays of rows that fall on the serial day (a view
    // period's rows, or all of them), for a click on the calendar.
    void setDay(std::int64_t day, const RowList& rows);
    void clearDay();
    std::optional<std::int64_t> day() const { return day_; }

    const QString& searchText() const { return text_; }
    int shownRows() const { return rowCount(); }
    int totalRows() const;
    // "1,207 / 20,000 件"
    QString countText() const;

signals:
    // The rows shown or the rows there are changed.
    void countChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    void buildSortKeys(int column, SortKeys& keys) const override;

private:
    void refilter();
    void matchAgain();

    const PlayList& plays_;
    PlaySearch search_;
    QString text_;
    std::string foldedSource_; // text_ as UTF-8
    // One flag per row while text_ is not empty; rows beyond it wait for matchAgain().
    std::vector<std::uint8_t> matches_;
    std::optional<double> minLevel_;
    std::optional<double> maxLevel_;
    AutoplayFilter autoplay_ = AutoplayFilter::Any;
    std::optional<std::int64_t> day_;
    RowList dayRows_; // sorted
};

// "shown / total 件" with thousands separators: "1,207 / 20,000 件".
QString playCountText(qint64 shown, qint64 total);

} // namespace tolvane
