#include "core/rankings/RankingView.h"

#include "core/analysis/SpanText.h"
#include "core/log/DateText.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>

namespace tolvane {

namespace {

struct ColumnLayout {
    std::string_view header;
    int width;
};

constexpr ColumnLayout kTitleColumns[] = {
    {"No.", 600},
    {"タイトル", 2000},
    {"プレイ回数", 1000},
    {"作者", 2000},
    {"ジャンル", 2000},
    {"開始日", 2000},
    {"最終日", 2000},
    {"この曲の寿命（爆", 2000},
};
constexpr ColumnLayout kArtistColumns[] = {
    {"No.", 600},
    {"作者", 2000},
    {"総プレイ回数", 2000},
    {"最初の出会い", 2000},
    {"最近の出会い", 2000},
    {"付き合った日々（爆", 2000},
};
constexpr ColumnLayout kGenreColumns[] = {
    {"No.", 600},
    {"ジャンル", 2000},
    {"総プレイ回数", 2000},
};
constexpr ColumnLayout kScoreColumns[] = {
    {"No.", 600},
    {"スコア", 2000},
    {"タイトル", 2000},
    {"作者", 2000},
    {"ジャンル", 2000},
    {"記録日", 2000},
};
constexpr ColumnLayout kMaxComboColumns[] = {
    {"No.", 600},
    {"MaxCombo", 2000},
    {"FullCombo?", 1500},
    {"タイトル", 2000},
    {"作者", 2000},
    {"ジャンル", 2000},
    {"記録日", 2000},
};

std::span<const ColumnLayout> columnLayouts(RankingKind kind)
{
    switch (kind) {
    case RankingKind::Title: return kTitleColumns;
    case RankingKind::Artist: return kArtistColumns;
    case RankingKind::Genre: return kGenreColumns;
    case RankingKind::Score: return kScoreColumns;
    case RankingKind::MaxCombo: return kMaxComboColumns;
    }
    return {};
}

// Decimal digits padded on the left with zeros to at least `digits`; the sign
// of a negative number goes in front of the padding.
std::string padded(std::int64_t value, std::size_t digits)
{
    std::string text = std::to_string(value < 0 ? -value : value);
    if (text.size() < digits)
        text.insert(0, digits - text.size(), '0');
    return value < 0 ? "-" + text : text;
}

struct PendingRow {
    std::int64_t sortValue;
    std::vector<std::string> cells; // cell 0 is filled once the order is known
    std::vector<RankingValue> values; // likewise
    const Rank* record;
};

PendingRow rowOf(RankingKind kind, const Rank& r)
{
    const double span = r.lastPlayed - r.firstPlayed;
    switch (kind) {
    case RankingKind::Title:
        return {r.plays,
            {"", r.key, padded(r.plays, 3), r.artist, r.genre, dateTimeText(r.firstPlayed), dateTimeText(r.lastPlayed),
                spanText(r.firstPlayed, r.lastPlayed)},
            {0.0, r.key, double(r.plays), r.artist, r.genre, r.firstPlayed, r.lastPlayed, span}, &r};
    case RankingKind::Artist:
        return {r.plays,
            {"", r.key, padded(r.plays, 3), dateTimeText(r.firstPlayed), dateTimeText(r.lastPlayed),
                spanText(r.firstPlayed, r.lastPlayed)},
            {0.0, r.key, double(r.plays), r.firstPlayed, r.lastPlayed, span}, &r};
    case RankingKind::Genre: return {r.plays, {"", r.key, padded(r.plays, 3)}, {0.0, r.key, double(r.plays)}, &r};
    case RankingKind::Score:
        return {r.score, {"", padded(r.score, 6), r.key, r.artist, r.genre, dateTimeText(r.scoreDate)},
            {0.0, double(r.score), r.key, r.artist, r.genre, r.scoreDate}, &r};
    case RankingKind::MaxCombo:
        return {r.maxCombo,
            {"", padded(r.maxCombo, 4), r.fullCombo ? "○" : "", r.key, r.artist, r.genre, dateTimeText(r.maxComboDate)},
            {0.0, double(r.maxCombo), r.fullCombo ? 1.0 : 0.0, r.key, r.artist, r.genre, r.maxComboDate}, &r};
    }
    return {};
}

const RankTable& tableOf(RankingKind kind, const RankingTables& tables)
{
    switch (kind) {
    case RankingKind::Artist: return tables.artists;
    case RankingKind::Genre: return tables.genres;
    default: return tables.songs;
    }
}

} // namespace

const std::array<std::string_view, 5>& rankingChooserEntries()
{
    static constexpr std::array<std::string_view, 5> kEntries = {"タイトル", "作者", "ジャンル", "スコア", "MaxCombo"};
    return kEntries;
}

std::optional<RankingKind> rankingKindOf(std::string_view chooserText)
{
    const auto& entries = rankingChooserEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == chooserText)
            return static_cast<RankingKind>(i);
    }
    return std::nullopt;
}

std::vector<RankingColumn> rankingColumns(RankingKind kind)
{
    std::vector<RankingColumn> columns;
    for (const ColumnLayout& layout : columnLayouts(kind))
        columns.push_back({std::string(layout.header), layout.width});
    return columns;
}

RankingView buildRankingView(RankingKind kind, const RankingTables& tables)
{
    const RankTable& table = tableOf(kind, tables);
    std::vector<PendingRow> pending;
    pending.reserve(table.size());
    for (const Rank& rank : table)
        pending.push_back(rowOf(kind, rank));

    // Ordered on the numbers, not on the padded texts, so that 1000 ranks above 999.
    std::stable_sort(pending.begin(), pending.end(),
        [](const PendingRow& a, const PendingRow& b) { return a.sortValue > b.sortValue; });

    RankingView view{rankingColumns(kind), {}, {}, {}, kind != RankingKind::Artist && kind != RankingKind::Genre};
    view.rows.reserve(pending.size());
    view.values.reserve(pending.size());
    view.keys.reserve(pending.size());
    for (std::size_t i = 0; i < pending.size(); ++i) {
        pending[i].cells[0] = std::to_string(i + 1);
        pending[i].values[0] = static_cast<double>(i + 1);
        view.rows.push_back(std::move(pending[i].cells));
        view.values.push_back(std::move(pending[i].values));
        view.keys.push_back(pending[i].record->key);
    }
    return view;
}

RankingView initialRankingView()
{
    return {{{"No.", 1000}}, {}, {}, {}, false};
}

} // namespace tolvane
