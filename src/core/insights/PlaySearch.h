#pragma once

#include "core/analysis/PlayList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// A text folded for search: full-width ASCII forms (U+FF01..FF5E) become
// ASCII and the ideographic space a space; half-width katakana become
// full-width, a half-width voiced or semi-voiced mark joining the letter
// before it where the two combine ("ﾊﾟ" is "パ") and becoming "゛" or "゜"
// where it does not; then letter case folds as ranking keys fold it (see
// KeyFold.h). Bytes that are not UTF-8 pass unchanged.
std::string foldForSearch(std::string_view utf8);

// The data list's title, artist and genre folded once, so each search is a
// plain substring scan: built after an analysis, asked on every keystroke.
class PlaySearch final {
public:
    PlaySearch() = default;
    explicit PlaySearch(const PlayList& plays) { rebuild(plays); }

    // Folds every row of plays, replacing what was there.
    void rebuild(const PlayList& plays);
    std::size_t size() const noexcept { return rowStart_.empty() ? 0 : rowStart_.size() - 1; }

    // One flag per data-list row: 1 where its title, artist or genre contains
    // text once both sides are folded. An empty text matches every row.
    std::vector<std::uint8_t> matchFlags(std::string_view text) const;
    // The matching rows' 0-based indices, in file order.
    std::vector<std::size_t> matchingRows(std::string_view text) const;

private:
    template <class Hit> void scan(std::string_view text, Hit&& hit) const;

    // Every row's three fields folded, each field followed by a NUL, so no
    // match runs from one field into the next.
    std::string folded_;
    // Where row r's fields begin in folded_; one more entry for the end.
    std::vector<std::size_t> rowStart_;
};

} // namespace tolvane
