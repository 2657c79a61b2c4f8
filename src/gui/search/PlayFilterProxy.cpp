#include "gui/search/PlayFilterProxy.h"

#include "core/analysis/PlayList.h"
#include "core/rankings/KeyFold.h"
#include "gui/models/PlayListModel.h"

#include <QLocale>
#include <algorithm>

namespace tolvane {

PlayFilterProxy::PlayFilterProxy(const PlayList& plays, QObject* parent)
    : StableSortProxy(parent)
    , plays_(plays)
{
    connect(this, &QAbstractItemModel::rowsInserted, this, &PlayFilterProxy::countChanged);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &PlayFilterProxy::countChanged);
    connect(this, &QAbstractItemModel::modelReset, this, &PlayFilterProxy::countChanged);
    connect(this, &QAbstractItemModel::layoutChanged, this, &PlayFilterProxy::countChanged);
}

void PlayFilterProxy::setSourceModel(QAbstractItemModel* model)
{
    StableSortProxy::setSourceModel(model);
    // Rows the analysis appends, or a new analysis brings, are matched
    // against the text in force. Connected after the proxy's own handlers, so
    // the rows are in place when they are matched.
    if (model) {
        connect(model, &QAbstractItemModel::modelReset, this, &PlayFilterProxy::matchAgain);
        connect(model, &QAbstractItemModel::rowsInserted, this, &PlayFilterProxy::matchAgain);
    }
    matchAgain();
}

int PlayFilterProxy::totalRows() const
{
    return sourceModel() ? sourceModel()->rowCount() : 0;
}

QString PlayFilterProxy::countText() const
{
    return playCountText(shownRows(), totalRows());
}

void PlayFilterProxy::setSearchText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    foldedSource_ = text.toStdString();
    if (text_.isEmpty()) {
        matches_.clear();
    } else {
        // The folded index is built on the first search after an analysis.
        if (search_.size() != plays_.size())
            search_.rebuild(plays_);
        matches_ = search_.matchFlags(foldedSource_);
    }
    // A full relayout instead of invalidateFilter(): a search removes rows
    // scattered over the whole list, and one signal per removed run would
    // cost far more than the match itself.
    refilter();
}

void PlayFilterProxy::setLevelRange(std::optional<double> minLevel, std::optional<double> maxLevel)
{
    if (minLevel == minLevel_ && maxLevel == maxLevel_)
        return;
    minLevel_ = minLevel;
    maxLevel_ = maxLevel;
    refilter();
}

void PlayFilterProxy::setAutoplayFilter(AutoplayFilter filter)
{
    if (filter == autoplay_)
        return;
    autoplay_ = filter;
    refilter();
}

void PlayFilterProxy::refilter()
{
    invalidate();
    emit countChanged();
}

void PlayFilterProxy::matchAgain()
{
    // Only a search in force needs the folded index; an empty search never
    // pays for it.
    if (text_.isEmpty()) {
        search_ = PlaySearch();
        return;
    }
    search_.rebuild(plays_);
    matches_ = search_.matchFlags(foldedSource_);
    invalidate();
}

void PlayFilterProxy::setDay(std::int64_t day, const RowList& rows)
{
    day_ = day;
    dayRows_ = rowsOnDay(plays_, rows, day);
    std::sort(dayRows_.begin(), dayRows_.end());
    refilter();
}

void PlayFilterProxy::clearDay()
{
    day_.reset();
    dayRows_.clear();
    refilter();
}

bool PlayFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (sourceParent.isValid() || sourceRow < 0 || static_cast<std::size_t>(sourceRow) >= plays_.size())
        return false;
    const auto row = static_cast<std::size_t>(sourceRow);
    if (day_ && !std::binary_search(dayRows_.begin(), dayRows_.end(), row))
        return false;
    if (!text_.isEmpty() && (row >= matches_.size() || matches_[row] == 0))
        return false;
    const PlayRecord& play = plays_.row(row);
    if (minLevel_ && play.level < *minLevel_)
        return false;
    if (maxLevel_ && play.level > *maxLevel_)
        return false;
    switch (autoplay_) {
    case AutoplayFilter::Any: return true;
    case AutoplayFilter::WithoutAutoplay: return play.autoplay == 0;
    case AutoplayFilter::OnlyAutoplay: return play.autoplay != 0;
    }
    return true;
}

void PlayFilterProxy::buildSortKeys(int column, SortKeys& keys) const
{
    const std::size_t rows = std::min(keys.numbers.size(), plays_.size());
    for (std::size_t r = 0; r < rows; ++r) {
        const PlayRecord& play = plays_.row(r);
        switch (column) {
        case PlayListModel::No: keys.numbers[r] = play.no; break;
        case PlayListModel::DateTime: keys.numbers[r] = play.date; break;
        case PlayListModel::Title: keys.texts[r] = foldLetterCase(play.title); break;
        case PlayListModel::Artist: keys.texts[r] = foldLetterCase(play.artist); break;
        case PlayListModel::Genre: keys.texts[r] = foldLetterCase(play.genre); break;
        case PlayListModel::Level: keys.numbers[r] = play.level; break;
        case PlayListModel::Bpm: keys.numbers[r] = play.bpm; break;
        case PlayListModel::TotalNotes: keys.numbers[r] = play.totalNotes; break;
        case PlayListModel::Score: keys.numbers[r] = play.score; break;
        case PlayListModel::MaxCombo: keys.numbers[r] = play.maxCombo; break;
        default: break;
        }
    }
}

QString playCountText(qint64 shown, qint64 total)
{
    // Grouped by threes with commas whatever the system's locale.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral("%1 / %2 件").arg(english.toString(shown), english.toString(total));
}

} // namespace tolvane
