// The program's code and constants are mapped in one call as it starts. Left to itself the system maps them as they
// are first reached, a trap for every 64 KiB: a small conversion reaches most of the program, and those thirty-odd
// traps cost more than the one call that maps it all from the page cache.
//
// The call runs from the program's pre-initialisation array, before the C++ runtime sets up its streams and
// locales (themselves a good part of the code a run reaches). Only Linux with glibc, and not in sanitizer builds,
// whose runtimes start from the same array and must come first.

#include <cstdint>

#if defined(__linux__) && defined(__GLIBC__)

#include <elf.h>
#include <link.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace {

// Linux 5.14 and later; older kernels refuse the advice, and the pages are mapped as they are reached.
#if defined(MADV_POPULATE_READ)
constexpr int populateRead = MADV_POPULATE_READ;
#else
constexpr int populateRead = 22;
#endif

int MapReadOnlySegments(dl_phdr_info* info, size_t, void*)
{
    constexpr uintptr_t pageMask = 4095;
    for (int i = 0; i < int(info->dlpi_phnum); ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_W) == 0 && segment.p_memsz != 0) {
            const uintptr_t start = uintptr_t(info->dlpi_addr + segment.p_vaddr);
            const uintptr_t first = start & ~pageMask;
            madvise(reinterpret_cast<void*>(first), start + segment.p_memsz - first, populateRead);
        }
    }
    return 1;  // the program itself comes first; the libraries it loads map their own pages
}

// Only for a model (the last argument) under 12 MiB: a larger conversion reaches the code it needs anyway, in a
// time its start does not weigh on, and code it never reaches would count toward its peak memory.
void MapProgramPages(int argc, char** argv, char**)
{
    constexpr off_t smallModel = off_t(12) << 20;
    struct stat model {};
    if (argc >= 2 && argv != nullptr && argv[argc - 1] != nullptr && stat(argv[argc - 1], &model) == 0 &&
        model.st_size < smallModel) {
        dl_iterate_phdr(MapReadOnlySegments, nullptr);
    }
}

}

__attribute__((section(".preinit_array"), used)) static void (*const mapProgramPages)(int, char**, char**) =
    MapProgramPages;

#endif
