// The program's allocation functions: the C library's, and on Linux large blocks (a large model's arrays) are
// given large pages where the system allows them. Each first touch of a small page costs a trap into the
// system, about as much as reading a few kilobytes of the model; one large page holds 512 of them.

#if defined(__linux__)

#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

#if defined(MADV_HUGEPAGE)

namespace {

constexpr std::size_t largePage = std::size_t(1) << 21;
// Blocks this large start on a large page and take whole ones. (Smaller ones would make the process hold more
// memory than it uses: the spare end of a block is held as soon as its large page is touched.)
constexpr std::size_t largeFrom = std::size_t(6) << 20;

void* Allocate(std::size_t size)
{
    void* block = nullptr;
    if (size >= largeFrom && size <= (SIZE_MAX >> 2)) {
        const std::size_t rounded = (size + largePage - 1) & ~(largePage - 1);
        block = std::aligned_alloc(largePage, rounded);
        if (block != nullptr) {
            // The system may still decline.
            madvise(block, rounded, MADV_HUGEPAGE);
        }
    } else {
        block = std::malloc(size != 0 ? size : 1);
    }
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

}

void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}

#endif

#endif
