#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvane {

// Table keys ignore letter case, and only that. Every cased letter a code
// page 932 log can hold folds to its small letter: ASCII A-Z, the full-width
// Latin capitals U+FF21..FF3A, the Greek capitals U+0391..03A9 (and the final
// sigma to σ) and the Cyrillic capitals U+0410..042F and Ё. Width and kana
// type still tell keys apart. A small letter takes as many UTF-8 bytes as its
// capital, so folding keeps the byte length and two keys are the same exactly
// when their folded bytes match one for one. Bytes that are not UTF-8 stay
// as they are.

// The text with every cased letter folded to its small letter, as keys are
// compared; anything that looks for text "without regard to letter case"
// folds both sides with this.
std::string foldLetterCase(std::string_view utf8);

bool sameKey(std::string_view a, std::string_view b) noexcept;
std::size_t hashKey(std::string_view utf8) noexcept;

// Transparent functors, so a lookup by string_view neither folds into a new
// string nor copies the key.
struct KeyFoldHash final {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const noexcept { return hashKey(key); }
};

struct KeyFoldEqual final {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return sameKey(a, b); }
};

} // namespace tolvane
