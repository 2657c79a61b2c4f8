#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace tolvane {

// Memory for many small records in blocks of 2 MiB, aligned so that the
// system may back each block with one large page: the first touch of a block
// then costs one page fault instead of 512, which is most of the cost of
// filling a fresh block with records.
constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;

struct LargeBlockFree {
    void operator()(char* block) const noexcept;
};
using LargeBlock = std::unique_ptr<char[], LargeBlockFree>;

// A new block of kLargeBlockBytes, not zeroed; throws std::bad_alloc.
LargeBlock allocateLargeBlock();

// A list of plain records kept in large blocks: it grows without moving or
// copying what it holds, with one allocation per block of records.
template <typename T> class BlockList final {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
    static_assert(kLargeBlockBytes % alignof(T) == 0);
    static constexpr std::size_t kPerBlock = kLargeBlockBytes / sizeof(T);

public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;

        const_iterator() = default;
        const_iterator(const BlockList* list, std::size_t index)
            : list_(list)
            , index_(index)
        {
        }
        const T& operator*() const { return (*list_)[index_]; }
        const T* operator->() const { return &(*list_)[index_]; }
        const_iterator& operator++()
        {
            ++index_;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const BlockList* list_ = nullptr;
        std::size_t index_ = 0;
    };

    void push_back(const T& value)
    {
        if (size_ == blocks_.size() * kPerBlock)
            blocks_.push_back(allocateLargeBlock());
        new (blocks_[size_ / kPerBlock].get() + size_ % kPerBlock * sizeof(T)) T(value);
        ++size_;
    }
    T& operator[](std::size_t index)
    {
        return *std::launder(reinterpret_cast<T*>(blocks_[index / kPerBlock].get() + index % kPerBlock * sizeof(T)));
    }
    const T& operator[](std::size_t index) const
    {
        return *std::launder(
            reinterpret_cast<const T*>(blocks_[index / kPerBlock].get() + index % kPerBlock * sizeof(T)));
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size_}; }

    // Forgets the records but keeps the memory for the next ones.
    void clear() { size_ = 0; }
    // Forgets the records and gives the memory back.
    void release()
    {
        blocks_.clear();
        size_ = 0;
    }

private:
    std::vector<LargeBlock> blocks_;
    std::size_t size_ = 0;
};

} // namespace tolvane
