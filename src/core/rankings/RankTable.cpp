#include "core/rankings/RankTable.h"

#include <stdexcept>

namespace tolvane {

Rank& RankTable::append(std::string_view key)
{
    Rank& rank = records_.emplace_back();
    rank.number = ++created_;
    rank.key = key;
    return rank;
}

Rank* RankTable::insert(std::string_view key)
{
    if (key.empty())
        return &append(key);
    if (positions_.find(key) != positions_.end())
        return nullptr;
    positions_.emplace(std::string(key), records_.size());
    return &append(key);
}

Rank& RankTable::obtain(std::string_view key)
{
    if (const auto it = positions_.find(key); it != positions_.end())
        return records_[it->second];
    positions_.emplace(std::string(key), records_.size());
    return append(key);
}

Rank* RankTable::find(std::string_view key) noexcept
{
    const auto it = positions_.find(key);
    return it == positions_.end() ? nullptr : &records_[it->second];
}

const Rank* RankTable::find(std::string_view key) const noexcept
{
    const auto it = positions_.find(key);
    return it == positions_.end() ? nullptr : &records_[it->second];
}

Rank& RankTable::at(std::string_view key)
{
    if (Rank* rank = find(key))
        return *rank;
    throw std::out_of_range("RankTable: no record under key \"" + std::string(key) + '"');
}

const Rank& RankTable::at(std::string_view key) const
{
    if (const Rank* rank = find(key))
        return *rank;
    throw std::out_of_range("RankTable: no record under key \"" + std::string(key) + '"');
}

Rank& RankTable::at(std::size_t position)
{
    if (position < 1 || position > records_.size())
        throw std::out_of_range("RankTable: no record at position " + std::to_string(position));
    return records_[position - 1];
}

const Rank& RankTable::at(std::size_t position) const
{
    if (position < 1 || position > records_.size())
        throw std::out_of_range("RankTable: no record at position " + std::to_string(position));
    return records_[position - 1];
}

void RankTable::removeAt(std::size_t index)
{
    // Removal is rare, so one pass over the index to drop the entry and
    // close the gap is cheaper than keeping a reverse map.
    for (auto it = positions_.begin(); it != positions_.end();) {
        if (it->second == index) {
            it = positions_.erase(it);
            continue;
        }
        if (it->second > index)
            --it->second;
        ++it;
    }
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
}

void RankTable::remove(std::string_view key)
{
    const auto it = positions_.find(key);
    if (it == positions_.end())
        throw std::out_of_range("RankTable: no record under key \"" + std::string(key) + '"');
    removeAt(it->second);
}

void RankTable::remove(std::size_t position)
{
    if (position < 1 || position > records_.size())
        throw std::out_of_range("RankTable: no record at position " + std::to_string(position));
    removeAt(position - 1);
}

void RankTable::clear() noexcept
{
    records_.clear();
    positions_.clear();
}

} // namespace tolvane
