#ifndef POLVANE_LARGEBLOCKS_H
#define POLVANE_LARGEBLOCKS_H

#include <cstddef>
#include <cstdlib>
#include <limits>
#include <new>
#include <utility>

// A block for an array that is written whole as soon as it is made. From 2 MiB on, when rounding it up to whole
// large pages (2 MiB each) wastes little, it starts on a large page and asks the system for large ones: one trap
// for 512 small pages, each of which would cost its own on first touch. Release it with std::free; nullptr when
// there is no memory.
void* AllocateWrittenWhole(std::size_t bytes);

// The allocator of a std::vector that the program fills before it reads: growing it does not zero its memory, and a
// large one comes from AllocateWrittenWhole.
template <typename T>
struct WrittenWholeAllocator {
    using value_type = T;

    WrittenWholeAllocator() = default;
    template <typename U>
    WrittenWholeAllocator(const WrittenWholeAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t count)
    {
        if (count > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        void* block = AllocateWrittenWhole(count * sizeof(T));
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t) noexcept { std::free(block); }

    template <typename U>
    void construct(U* place) noexcept
    {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Arguments>
    void construct(U* place, Arguments&&... arguments)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
    }

    template <typename U>
    bool operator==(const WrittenWholeAllocator<U>&) const noexcept
    {
        return true;
    }
    template <typename U>
    bool operator!=(const WrittenWholeAllocator<U>&) const noexcept
    {
        return false;
    }
};

#endif
