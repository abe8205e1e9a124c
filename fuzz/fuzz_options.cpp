// libFuzzer target: the option parser on arbitrary argument lists (the input split at NUL bytes).

#include <cstdio>
#include <cstdlib>

#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string failure = CheckOptions(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "options: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
