#pragma once

#include "core/log/LargeBlock.h"
#include "core/log/PlayRecord.h"

#include <array>
#include <cstddef>
#include <memory>
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
        rows_.release();
        texts_.reset();
    }
    void append(PlayRecord&& play) { rows_.push_back(play); }
    // The pool that holds the texts of the rows to come: the list keeps it
    // as long as it keeps them.
    const std::shared_ptr<TextPool>& texts()
    {
        if (!texts_)
            texts_ = std::make_shared<TextPool>();
        return texts_;
    }
    const TextPool* textPool() const { return texts_.get(); }

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const PlayRecord& row(std::size_t index) const { return rows_[index]; }

    // The text of a cell; column 0 is "No.".
    std::string cell(std::size_t row, int column) const;
    std::array<std::string, kColumns> cells(std::size_t row) const;

private:
    BlockList<PlayRecord> rows_;
    std::shared_ptr<TextPool> texts_;
};

} // namespace tolvane
