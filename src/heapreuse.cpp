#include "heapreuse.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

// Sanitizer builds keep their own allocator's ways.
#if defined(__SANITIZE_ADDRESS__)
#define POLVANE_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define POLVANE_OWN_ALLOCATOR 1
#endif
#endif

void ReuseFreedMemoryFor(const char* modelPath)
{
#if defined(__GLIBC__) && defined(M_MMAP_THRESHOLD) && defined(M_TRIM_THRESHOLD) && defined(M_TOP_PAD) && \
    !defined(POLVANE_OWN_ALLOCATOR)
    // Below this input size the memory the run holds at most stays small however little of it goes back.
    constexpr std::uintmax_t smallModel = std::uintmax_t(12) << 20;
    // From this input size on one large page (2 MiB, one trap, zeroed in about the time of twenty small pages'
    // traps) costs no more than the small pages the run touches (a 1k-triangle model, some 60 KiB, touches about
    // fifty); below it, zeroing a large page for a few kilobytes costs more than the traps it saves.
    constexpr std::uintmax_t largePagesFrom = std::uintmax_t(16) << 10;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(modelPath, error);
    if (error || size >= smallModel) {
        return;
    }
    // Blocks up to 32 MiB (the C library's largest threshold) come from the heap, and freed heap memory stays.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#if defined(MADV_HUGEPAGE)
    if (size < largePagesFrom) {
        return;
    }
    // The heap grows once, by more than the run will use (untouched memory costs nothing), and takes large pages
    // from its first large-page boundary on. The stretch below that boundary is held aside, so the run's blocks
    // all lie on large pages.
    constexpr uintptr_t largePage = uintptr_t(1) << 21;
    mallopt(M_TOP_PAD, 64 << 20);
    constexpr uintptr_t growBy = uintptr_t(1) << 20;
    void* const grown = std::malloc(growBy);
    const uintptr_t start = uintptr_t(grown);
    std::free(grown);
    const uintptr_t top = uintptr_t(sbrk(0));
    // Above the block's end, where the C library has already written its own record into a small page.
    const uintptr_t from = (start + growBy + 64 + largePage - 1) & ~(largePage - 1);
    if (start == 0 || top < from + largePage) {
        return;
    }
    madvise(reinterpret_cast<void*>(from), top - from, MADV_HUGEPAGE);
    // Never freed and never touched beyond its ends (kept where the compiler cannot drop it as unused). Its block
    // (its 16-byte header, then what it holds rounded to 16 bytes with 8 more) ends exactly at the boundary, so the
    // C library's record of what follows is written into the large page, not into a small page of its own.
    static void* volatile heldAside = nullptr;
    heldAside = std::malloc(from - start + 8);
    (void)heldAside;
#endif
#else
    (void)modelPath;
#endif
}
