#pragma once

#include "core/log/LargeBlock.h"

#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tolvane {

// Keeps the texts of the plays: titles, artists and genres once each however
// often a log repeats them, date-times one after another. The texts live in
// large blocks that never move, so a view of one stays valid as long as the
// pool does; a play record holds such views instead of strings of its own.
class TextPool final {
public:
    TextPool() = default;
    TextPool(const TextPool&) = delete;
    TextPool& operator=(const TextPool&) = delete;

    // The pool's copy of text; equal texts give the same view.
    std::string_view intern(std::string_view text);
    // A copy of text of its own, for texts that seldom repeat.
    std::string_view keep(std::string_view text);

    // Takes over the texts other holds, so that views of them stay valid as
    // long as this pool lives. They are not interned here.
    void adopt(TextPool&& other);

    // Bytes the pool holds, its blocks and its index of interned texts.
    std::size_t bytes() const;

private:
    std::vector<LargeBlock> blocks_;
    std::vector<std::unique_ptr<char[]>> largeTexts_;
    char* free_ = nullptr;
    std::size_t left_ = 0;
    std::size_t blockBytes_ = 0;
    std::unordered_set<std::string_view> interned_;
};

} // namespace tolvane
