#include "core/log/LargeBlock.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace tolvane {

void LargeBlockFree::operator()(char* block) const noexcept
{
    std::free(block);
}

LargeBlock allocateLargeBlock()
{
    void* block = std::aligned_alloc(kLargeBlockBytes, kLargeBlockBytes);
    if (!block)
        throw std::bad_alloc();
    // Only advice: without large pages the block works the same.
    (void)::madvise(block, kLargeBlockBytes, MADV_HUGEPAGE);
    return LargeBlock(static_cast<char*>(block));
}

} // namespace tolvane
