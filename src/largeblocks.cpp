#include "largeblocks.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void* AllocateWrittenWhole(std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t largePage = std::size_t(1) << 21;
    const std::size_t rounded = (bytes + largePage - 1) & ~(largePage - 1);
    // At most a sixteenth more than the array needs is held once its last large page is touched. The block comes
    // from the C library, which reuses memory the run has freed where it can.
    if (bytes >= largePage && bytes <= (SIZE_MAX >> 2) && rounded - bytes <= bytes / 16) {
        void* const block = std::aligned_alloc(largePage, rounded);
        if (block != nullptr) {
            madvise(block, rounded, MADV_HUGEPAGE);  // the system may still decline
        }
        return block;
    }
#endif
    return std::malloc(bytes != 0 ? bytes : 1);
}
