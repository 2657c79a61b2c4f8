#pragma once

#include "core/log/LargeBlock.h"
#include "core/log/PlayRecord.h"

#include <array>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>
#include <string>
#include <string_view>

namespace tolvane {

// The data list: one row per accepted play, in file order. Rows are kept as
// records and turned into the ten cell texts when asked, so a long log costs
// no more than its plays.
class PlayList final {
public:
    static constexpr int kColumns = 10;
    static constexpr std::array<std::string_view, kColumns> kHeaders
        = {"No.", "日時", "タイトル", "作者", "ジャンル", "レベル", "BPM", "TotalNote", "Score", "MaxCombo"};

    void clear()
    {
        blocks_.clear();
        size_ = 0;
        texts_.reset();
    }
    void append(PlayRecord&& play)
    {
        if (size_ % kBlockRows == 0)
            blocks_.push_back(allocateLargeBlock());
        new (blocks_.back().get() + size_ % kBlockRows * sizeof(PlayRecord)) PlayRecord(std::move(play));
        ++size_;
    }
    // The pool that holds the texts of the rows to come: the list keeps it
    // as long as it keeps them.
    const std::shared_ptr<TextPool>& texts()
    {
        if (!texts_)
            texts_ = std::make_shared<TextPool>();
        return texts_;
    }
    const TextPool* textPool() const { return texts_.get(); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const PlayRecord& row(std::size_t index) const
    {
        return *std::launder(
            reinterpret_cast<const PlayRecord*>(blocks_[index / kBlockRows].get() + index % kBlockRows * sizeof(PlayRecord)));
    }

    // The text of a cell; column 0 is "No.".
    std::string cell(std::size_t row, int column) const;
    std::array<std::string, kColumns> cells(std::size_t row) const;

private:
    // Rows live in blocks that never move, so the list grows without copying
    // the rows it has and with one allocation per block of rows.
    // Records need no destructor, so clearing frees the blocks as they are.
    static_assert(std::is_trivially_destructible_v<PlayRecord>);
    static_assert(kLargeBlockBytes % alignof(PlayRecord) == 0);
    static constexpr std::size_t kBlockRows = kLargeBlockBytes / sizeof(PlayRecord);
    std::vector<LargeBlock> blocks_;
    std::size_t size_ = 0;
    std::shared_ptr<TextPool> texts_;
};

} // namespace tolvane
