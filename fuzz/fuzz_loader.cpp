// libFuzzer target: the OBJ loader on arbitrary bytes.

#include <cstdio>
#include <cstdlib>

#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string failure = CheckLoader(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "loader: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
