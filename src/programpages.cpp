// The program's code and constants (and, where it can, its data) are mapped in a few calls as it starts. Left to
// itself the system maps them as they are first reached: a trap for every 64 KiB of code reached, and one for every
// page of data written. A small conversion reaches most of the program, and those traps cost it more than the calls
// that map it all from the page cache.
//
// Linked statically for x86-64, the program starts at its own entry point, which maps everything before the C
// library's start-up (whose own code and data are a good part of the traps) and then goes on to it. Elsewhere the
// code is mapped from the program's pre-initialisation array, after the C library's start-up and before the C++
// runtime's. Only Linux with glibc, and not in sanitizer builds, whose runtimes start from the same array and must
// come first.

#include <cstdint>

#if defined(__linux__) && defined(__GLIBC__)

#include <elf.h>
#include <link.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>

namespace {

// Linux 5.14 and later; older kernels refuse the advice, and the pages are mapped as they are reached.
constexpr int populateRead = 22;   // MADV_POPULATE_READ
constexpr int populateWrite = 23;  // MADV_POPULATE_WRITE

// Only for a model (the last argument) under 12 MiB: a larger conversion reaches the code it needs anyway, in a
// time its start does not weigh on, and code it never reaches would count toward its peak memory.
constexpr off_t smallModel = off_t(12) << 20;

// Advises the pages of the loaded segments among `segments`, loaded `bias` bytes above their addresses: the
// read-only ones to be mapped, and with `data` the writable ones to be made the program's own.
template <typename Advise>
void MapSegments(const ElfW(Phdr)* segments, int count, uintptr_t bias, bool data, Advise advise)
{
    constexpr uintptr_t pageMask = 4095;
    for (int i = 0; i < count; ++i) {
        const ElfW(Phdr)& segment = segments[i];
        const bool writable = (segment.p_flags & PF_W) != 0;
        if (segment.p_type == PT_LOAD && segment.p_memsz != 0 && (data || !writable)) {
            const uintptr_t start = bias + uintptr_t(segment.p_vaddr);
            const uintptr_t first = start & ~pageMask;
            advise(first, start + uintptr_t(segment.p_memsz) - first, writable ? populateWrite : populateRead);
        }
    }
}

}

#if defined(POLVANE_OWN_ENTRY) && defined(__x86_64__)

// The program's own headers, where the linker put them (reached without the global offset table, which a
// position-independent program has not filled in yet when its entry runs).
extern "C" const ElfW(Ehdr) __ehdr_start __attribute__((visibility("hidden")));

namespace {

// Before the C library has started there is no errno to set and no thread pointer: system calls are made directly.
long SystemCall(long number, long a, long b, long c, long d)
{
    long result;
    register long fourth asm("r10") = d;
    asm volatile("syscall"
                 : "=a"(result)
                 : "a"(number), "D"(a), "S"(b), "d"(c), "r"(fourth)
                 : "rcx", "r11", "memory");
    return result;
}

}

#if defined(__has_attribute)
#if __has_attribute(no_stack_protector)
#define POLVANE_NO_STACK_PROTECTOR __attribute__((no_stack_protector))
#endif
#endif
#if !defined(POLVANE_NO_STACK_PROTECTOR)
#define POLVANE_NO_STACK_PROTECTOR
#endif

// Called by the entry point with the stack as the system left it: the argument count, then the arguments. Uses no
// stack guard, which reads the thread pointer.
extern "C" __attribute__((used)) POLVANE_NO_STACK_PROTECTOR void PolvaneMapProgram(const long* stack)
{
    const long argc = stack[0];
    const char* const* argv = reinterpret_cast<const char* const*>(stack + 1);
    struct stat model {};
    constexpr long currentFolder = -100;  // AT_FDCWD
    if (argc < 2 || argv[argc - 1] == nullptr ||
        SystemCall(SYS_newfstatat, currentFolder, long(argv[argc - 1]), long(&model), 0) != 0 ||
        model.st_size >= smallModel) {
        return;
    }
    const ElfW(Ehdr)& header = __ehdr_start;
    const auto* segments = reinterpret_cast<const ElfW(Phdr)*>(reinterpret_cast<const char*>(&header) + header.e_phoff);
    // Loaded where the segment holding the headers (the file's first bytes) is.
    uintptr_t bias = 0;
    for (int i = 0; i < header.e_phnum; ++i) {
        if (segments[i].p_type == PT_LOAD && segments[i].p_offset == 0) {
            bias = uintptr_t(&header) - uintptr_t(segments[i].p_vaddr);
        }
    }
    MapSegments(segments, header.e_phnum, bias, true, [](uintptr_t start, uintptr_t size, int advice) {
        SystemCall(SYS_madvise, long(start), long(size), advice, 0);
    });
}

// The entry point: maps the program, then starts the C library as the system would have (_start takes the stack
// pointer and, in %rdx, the function a dynamic loader would have the program call at exit).
asm(R"(
    .text
    .globl polvane_entry
    .type polvane_entry, @function
polvane_entry:
    mov %rdx, %r12
    mov %rsp, %rdi
    call PolvaneMapProgram
    mov %r12, %rdx
    jmp _start
    .size polvane_entry, . - polvane_entry
)");

#else

namespace {

int MapReadOnlySegments(dl_phdr_info* info, size_t, void*)
{
    MapSegments(info->dlpi_phdr, int(info->dlpi_phnum), uintptr_t(info->dlpi_addr), false,
                [](uintptr_t start, uintptr_t size, int advice) {
                    madvise(reinterpret_cast<void*>(start), size, advice);
                });
    return 1;  // the program itself comes first; the libraries it loads map their own pages
}

void MapProgramPages(int argc, char** argv, char**)
{
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

#endif
