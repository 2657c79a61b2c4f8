#pragma once

#include "core/rankings/RankingTables.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tolvane {

// The five rankings, in the chooser's order.
enum class RankingKind { Title, Artist, Genre, Score, MaxCombo };

// The chooser's entry texts; entry i is RankingKind i.
const std::array<std::string_view, 5>& rankingChooserEntries();

// The ranking an entry text names, compared exactly; nullopt for any other text.
std::optional<RankingKind> rankingKindOf(std::string_view chooserText);

struct RankingColumn final {
    std::string header;
    int width = 0; // twips
    friend bool operator==(const RankingColumn&, const RankingColumn&) = default;
};

// A cell's raw value, for sorting: a number (counts, scores, dates, spans in
// days) or the text itself (names).
using RankingValue = std::variant<double, std::string>;

// A ranking list as shown: headers with their widths and rows of cell texts.
// Cell 0 of a row is its number ("No."). values and keys run parallel to
// rows: the raw value of every cell, and the key the row's record is filed
// under (a song title, an artist or a genre, see keysAreSongs).
struct RankingView final {
    std::vector<RankingColumn> columns;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::vector<RankingValue>> values;
    std::vector<std::string> keys;
    bool keysAreSongs = false; // the title, score and MaxCombo rankings
};

std::vector<RankingColumn> rankingColumns(RankingKind kind);

// One row per record of the kind's table, ordered by the number in the sort
// column, largest first; equal numbers keep the table's order. Counts and
// scores are zero-padded ("009", "085000"); a negative one keeps its sign in
// front of the padded digits ("-000005").
RankingView buildRankingView(RankingKind kind, const RankingTables& tables);

// The list before any ranking is chosen: one column "No.", 1000 wide, no rows.
RankingView initialRankingView();

} // namespace tolvane
