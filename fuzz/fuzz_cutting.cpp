// libFuzzer target: the tile grid of an image and a triangle cut along a grid's lines, from the bytes.

#include <cstdio>
#include <cstdlib>

#include "textureharness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string failure = CheckCutting(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "cutting: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
