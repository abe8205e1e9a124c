#ifndef POLVANE_CFILE_H
#define POLVANE_CFILE_H

#include <cstddef>
#include <cstdio>
#include <limits>
#include <string>

// Files as the program reads and writes them: through the C library, unbuffered. Every read and write here moves
// blocks of 16 KiB and more, which the library's buffer would only split in two calls and copy.
std::FILE* OpenUnbuffered(const std::string& path, const char* mode);

enum class WholeRead { Read, Failed, TooLarge };

// Reads the rest of `file` onto the end of `bytes` (a std::string or a vector of bytes), in 64 KiB pieces. Stops
// with TooLarge as soon as `bytes` holds more than `limit`.
template <typename Bytes>
WholeRead ReadRest(std::FILE* file, Bytes& bytes, std::size_t limit = std::numeric_limits<std::size_t>::max())
{
    constexpr std::size_t piece = 65536;
    for (std::size_t got = piece; got == piece;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + piece);
        got = std::fread(&bytes[used], 1, piece, file);
        bytes.resize(used + got);
        if (bytes.size() > limit) {
            return WholeRead::TooLarge;
        }
    }
    return std::ferror(file) ? WholeRead::Failed : WholeRead::Read;
}

#endif
