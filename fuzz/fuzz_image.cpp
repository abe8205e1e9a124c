// libFuzzer target: the image loader on arbitrary bytes, in memory and, for some inputs, from a file in a
// scratch folder of this process; small images go on through the texture conversion.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "textureharness.h"

namespace {

std::string scratchFolder;

void RemoveScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolder, ignored);
}

}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::error_code error;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path(error) / ("polvane-fuzz-image-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder, error);
    if (!error) {
        scratchFolder = folder.string();
        std::atexit(RemoveScratchFolder);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string failure = CheckImageLoader(data, size, scratchFolder);
    if (!failure.empty()) {
        std::fprintf(stderr, "image: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
