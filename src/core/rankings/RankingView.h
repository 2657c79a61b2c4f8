#pragma once

#include "core/rankings/RankingTables.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
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

// A ranking list as shown: headers with their widths and rows of cell texts.
// Cell 0 of a row is its number ("No.").
struct RankingView final {
    std::vector<RankingColumn> columns;
    std::vector<std::vector<std::string>> rows;
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
