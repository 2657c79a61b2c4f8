#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvane {

// Table keys ignore letter case, and only that: every letter folds by
// Unicode's simple case folding (CaseFolding.txt, statuses C and S), so
// "Ñandú" and "ñandú", "CAFÉ" and "café", "Ⅳ" and "ⅳ" are one key. Width
// and kana type still tell keys apart. A folded letter may take another
// number of UTF-8 bytes than its capital ("Å", the angstrom sign, folds to
// "å"); two keys are the same exactly when their folded bytes match, and
// keys that are the same hash alike. Bytes that are not UTF-8 stay as they
// are. ASCII text folds without a table.

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
