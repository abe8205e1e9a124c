#ifndef POLVANE_LARGEBLOCKS_H
#define POLVANE_LARGEBLOCKS_H

#include <cstddef>

// A block for an array that is written whole as soon as it is made. From 2 MiB on, when rounding it up to whole
// large pages (2 MiB each) wastes little, it starts on a large page and asks the system for large ones: one trap
// for 512 small pages, each of which would cost its own on first touch. Release it with std::free; nullptr when
// there is no memory.
void* AllocateWrittenWhole(std::size_t bytes);

#endif
