#pragma once

#include <cstddef>
#include <string_view>

namespace tolvane {

// Table keys ignore letter case, and only that: ASCII A-Z and the full-width
// Latin capitals U+FF21..FF3A fold to their small letters. Width and kana
// type still tell keys apart. Folding keeps the byte length, so two keys are
// the same exactly when their folded bytes match one for one.

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
