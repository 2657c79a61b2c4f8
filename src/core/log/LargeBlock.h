#pragma once

#include <cstddef>
#include <memory>

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

} // namespace tolvane
