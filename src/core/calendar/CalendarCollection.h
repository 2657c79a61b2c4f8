#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvane {

// Calendar nodes keyed by a small number (a year, month, day or hour), kept
// in the order they first appeared. A fixed table from number to position
// makes lookups a single index, which matters when every play of a long log
// walks four levels.
template <class Node, int MinKey, int MaxKey> class CalendarCollection {
    static_assert(MinKey <= MaxKey);
    static_assert(MaxKey - MinKey + 1 < 0xFFFF, "positions are stored in 16 bits");

public:
    using iterator = typename std::vector<Node>::iterator;
    using const_iterator = typename std::vector<Node>::const_iterator;

    static constexpr bool inRange(int number) noexcept { return number >= MinKey && number <= MaxKey; }

    // nullptr when no node stands under number, in range or not.
    Node* find(int number) noexcept
    {
        const std::size_t position = positionOf(number);
        return position == 0 ? nullptr : &nodes_[position - 1];
    }

    const Node* find(int number) const noexcept
    {
        const std::size_t position = positionOf(number);
        return position == 0 ? nullptr : &nodes_[position - 1];
    }

    std::size_t size() const noexcept { return nodes_.size(); }

    void clear() noexcept
    {
        nodes_.clear();
        positions_.fill(0);
    }

    iterator begin() noexcept { return nodes_.begin(); }
    iterator end() noexcept { return nodes_.end(); }
    const_iterator begin() const noexcept { return nodes_.begin(); }
    const_iterator end() const noexcept { return nodes_.end(); }

protected:
    // Counts one under number. Returns the node if this created it (plays
    // 1, the rest default), or nullptr if the node was there already.
    // The pointer is good until the next node is created here.
    Node* countOne(int number)
    {
        if (!inRange(number))
            throw std::out_of_range("calendar number " + std::to_string(number) + " out of range");
        std::uint16_t& position = positions_[static_cast<std::size_t>(number - MinKey)];
        if (position != 0) {
            ++nodes_[position - 1].plays;
            return nullptr;
        }
        Node& node = nodes_.emplace_back();
        node.plays = 1;
        position = static_cast<std::uint16_t>(nodes_.size());
        return &node;
    }

private:
    std::size_t positionOf(int number) const noexcept
    {
        return inRange(number) ? positions_[static_cast<std::size_t>(number - MinKey)] : 0;
    }

    std::vector<Node> nodes_;
    // 1-based position in nodes_, 0 for none.
    std::array<std::uint16_t, static_cast<std::size_t>(MaxKey - MinKey + 1)> positions_{};
};

} // namespace tolvane
