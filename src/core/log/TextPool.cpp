#include "core/log/TextPool.h"

#include <cstring>

namespace tolvane {

std::string_view TextPool::keep(std::string_view text)
{
    if (text.empty())
        return {};
    if (text.size() > left_) {
        // A text larger than a quarter block gets memory of its own, so that
        // the rest of the current block is not wasted.
        if (text.size() > kLargeBlockBytes / 4) {
            largeTexts_.push_back(std::unique_ptr<char[]>(new char[text.size()]));
            blockBytes_ += text.size();
            std::memcpy(largeTexts_.back().get(), text.data(), text.size());
            return {largeTexts_.back().get(), text.size()};
        }
        blocks_.push_back(allocateLargeBlock());
        blockBytes_ += kLargeBlockBytes;
        free_ = blocks_.back().get();
        left_ = kLargeBlockBytes;
    }
    std::memcpy(free_, text.data(), text.size());
    const std::string_view kept(free_, text.size());
    free_ += text.size();
    left_ -= text.size();
    return kept;
}

std::string_view TextPool::intern(std::string_view text)
{
    if (const auto it = interned_.find(text); it != interned_.end())
        return *it;
    const std::string_view kept = keep(text);
    interned_.insert(kept);
    return kept;
}

void TextPool::adopt(TextPool&& other)
{
    // keep() goes on filling the current block, wherever it now stands.
    for (auto& block : other.blocks_)
        blocks_.push_back(std::move(block));
    for (auto& text : other.largeTexts_)
        largeTexts_.push_back(std::move(text));
    blockBytes_ += other.blockBytes_;
    other.blocks_.clear();
    other.largeTexts_.clear();
    other.interned_.clear();
    other.free_ = nullptr;
    other.left_ = 0;
    other.blockBytes_ = 0;
}

std::size_t TextPool::bytes() const
{
    // An unordered_set node holds the view and the next pointer and hash;
    // the bucket array holds a pointer per bucket.
    return blockBytes_ + interned_.size() * (sizeof(std::string_view) + 2 * sizeof(void*))
        + interned_.bucket_count() * sizeof(void*);
}

} // namespace tolvane
