#include "cfile.h"

std::FILE* OpenUnbuffered(const std::string& path, const char* mode)
{
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file) {
        std::setvbuf(file, nullptr, _IONBF, 0);
    }
    return file;
}
