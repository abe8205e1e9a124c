#include "output/targetfile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cfile.h"
#include "output/outputfiles.h"

namespace {
// Small blocks: each page of a large one costs a trap on first touch, more than the extra reads of a large file.
// The block lives with the run's other memory, not on the stack, whose pages are touched afresh.
constexpr std::size_t blockSize = 16384;

void Close(std::FILE*& file)
{
    if (file) {
        std::fclose(file);
        file = nullptr;
    }
}
}

TargetFile::TargetFile(const std::string& path) : target(path)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(target, error)) {
        existing = OpenUnbuffered(target, "rb");
        comparing = existing != nullptr;
        block.resize(blockSize);
    }
    if (!comparing) {
        failed = !StartTemporary();
    }
}

TargetFile::~TargetFile()
{
    Close(existing);
    Close(temporary);
}

std::size_t TargetFile::Match(const char* bytes, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const std::size_t count = std::min(size - done, blockSize);
        const std::size_t got = std::fread(block.data(), 1, count, existing);
        if (got == count && std::memcmp(block.data(), bytes + done, count) == 0) {
            done += count;
            continue;
        }
        std::size_t same = 0;
        while (same < got && block[same] == bytes[done + same]) {
            ++same;
        }
        done += same;
        if (same < count) {
            break;
        }
    }
    return done;
}

bool TargetFile::StartTemporary()
{
    Close(existing);
    temporary = OpenUnbuffered(target + temporarySuffix, "wb");
    if (!temporary) {
        return false;
    }
    if (matched != 0) {
        std::FILE* earlier = OpenUnbuffered(target, "rb");
        if (!earlier) {
            return false;
        }
        bool copied = true;
        for (unsigned long long left = matched; left != 0 && copied;) {
            const std::size_t count = std::size_t(std::min<unsigned long long>(left, blockSize));
            copied = std::fread(block.data(), 1, count, earlier) == count &&
                     std::fwrite(block.data(), 1, count, temporary) == count;
            left -= count;
        }
        std::fclose(earlier);
        return copied;
    }
    return true;
}

bool TargetFile::PutBytes(const char* bytes, std::size_t size)
{
    if (failed) {
        return false;
    }
    if (comparing) {
        const std::size_t same = Match(bytes, size);
        matched += same;
        if (same == size) {
            return true;
        }
        comparing = false;
        if (!StartTemporary()) {
            failed = true;
            return false;
        }
        bytes += same;
        size -= same;
    }
    failed = std::fwrite(bytes, 1, size, temporary) != size;
    return !failed;
}

bool TargetFile::Put(const char* text, std::size_t size)
{
#if defined(_WIN32)
    // Each line end becomes CR LF, as in a text file.
    std::string lines;
    lines.reserve(size + size / 16);
    for (std::size_t k = 0; k < size; ++k) {
        if (text[k] == '\n') {
            lines += '\r';
        }
        lines += text[k];
    }
    return PutBytes(lines.data(), lines.size());
#else
    return PutBytes(text, size);
#endif
}

bool TargetFile::Finish()
{
    if (failed) {
        return false;
    }
    if (comparing) {
        // Unchanged only when the target ends where the output does.
        if (std::fgetc(existing) == EOF && !std::ferror(existing)) {
            Close(existing);
            return true;
        }
        comparing = false;
        if (!StartTemporary()) {
            failed = true;
            return false;
        }
    }
    const bool written = std::fflush(temporary) == 0 && !std::ferror(temporary);
    failed = std::fclose(temporary) != 0 || !written;
    temporary = nullptr;
    return !failed;
}
