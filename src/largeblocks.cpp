#include "largeblocks.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

#if defined(__linux__) && defined(MADV_HUGEPAGE)
constexpr std::size_t largePage = std::size_t(1) << 21;

std::size_t Rounded(std::size_t bytes)
{
    return (bytes + largePage - 1) & ~(largePage - 1);
}

// At most a sixteenth more than the array needs is held once its last large page is touched.
bool OnLargePages(std::size_t bytes)
{
    return bytes >= largePage && bytes <= (SIZE_MAX >> 2) && Rounded(bytes) - bytes <= bytes / 16;
}
#endif

}

void* AllocateWrittenWhole(std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Mapped apart from the C library's heap, so that its release returns the memory at once and leaves the C
    // library's own thresholds as they were.
    if (OnLargePages(bytes)) {
        const std::size_t rounded = Rounded(bytes);
        void* const mapped =
            mmap(nullptr, rounded + largePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) {
            return nullptr;
        }
        const uintptr_t start = uintptr_t(mapped);
        const uintptr_t block = (start + largePage - 1) & ~uintptr_t(largePage - 1);
        if (block != start) {
            munmap(mapped, block - start);
        }
        if (block + rounded != start + rounded + largePage) {
            munmap(reinterpret_cast<void*>(block + rounded), start + largePage - block);
        }
        madvise(reinterpret_cast<void*>(block), rounded, MADV_HUGEPAGE);  // the system may still decline
        return reinterpret_cast<void*>(block);
    }
#endif
    return std::malloc(bytes != 0 ? bytes : 1);
}

void ReleaseWrittenWhole(void* block, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (block != nullptr && OnLargePages(bytes)) {
        munmap(block, Rounded(bytes));
        return;
    }
#else
    (void)bytes;
#endif
    std::free(block);
}
