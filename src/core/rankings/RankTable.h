#pragma once

#include "core/rankings/KeyFold.h"
#include "core/rankings/Rank.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tolvane {

// Rank records in insertion order, reachable by position (1-based) or by a
// key compared without regard to letter case (see KeyFold.h).
// Pointers and references stay valid while records are only added.
class RankTable final {
public:
    using iterator = std::deque<Rank>::iterator;
    using const_iterator = std::deque<Rank>::const_iterator;

    // A new record numbered by the creation counter. An empty key appends a
    // record reachable by position only. A key already present changes
    // nothing, uses up no number and gives nullptr.
    Rank* insert(std::string_view key);

    // The record under key, created as insert would if missing. Unlike
    // insert, the empty key is a key of its own here.
    Rank& obtain(std::string_view key);

    // Throw std::out_of_range when the key or position is not there.
    Rank& at(std::string_view key);
    const Rank& at(std::string_view key) const;
    Rank& at(std::size_t position);
    const Rank& at(std::size_t position) const;

    Rank* find(std::string_view key) noexcept;
    const Rank* find(std::string_view key) const noexcept;

    std::size_t size() const noexcept { return records_.size(); }

    // Throw std::out_of_range when the key or position is not there.
    void remove(std::string_view key);
    void remove(std::size_t position);

    // Empties the table; the creation counter goes on.
    void clear() noexcept;

    iterator begin() noexcept { return records_.begin(); }
    iterator end() noexcept { return records_.end(); }
    const_iterator begin() const noexcept { return records_.begin(); }
    const_iterator end() const noexcept { return records_.end(); }

private:
    Rank& append(std::string_view key);
    void removeAt(std::size_t index);

    std::deque<Rank> records_;
    // Key in its first spelling -> 0-based position in records_.
    std::unordered_map<std::string, std::size_t, KeyFoldHash, KeyFoldEqual> positions_;
    std::int32_t created_ = 0;
};

} // namespace tolvane
