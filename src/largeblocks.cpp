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
    // At most a sixteenth more than the array needs is held once its last large page is touched.
    if (bytes >= largePage && bytes <= (SIZE_MAX >> 2) && rounded - bytes <= bytes / 16) {
        if (void* block = std::aligned_alloc(largePage, rounded)) {
            madvise(block, rounded, MADV_HUGEPAGE);  // the system may still decline
            return block;
        }
        return nullptr;
    }
#endif
    return std::malloc(bytes != 0 ? bytes : 1);
}
