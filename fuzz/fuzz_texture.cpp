// libFuzzer target: format and size choice, conversion and decoding of small images built from the bytes.

#include <cstdio>
#include <cstdlib>

#include "textureharness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string failure = CheckTexture(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "texture: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
