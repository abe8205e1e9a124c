// libFuzzer target: the material library reader on arbitrary bytes.

#include <cstdio>
#include <cstdlib>

#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string failure = CheckMaterialLibrary(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "mtl: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
