#include "output/targetfile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "output/outputfiles.h"

namespace {
// Small blocks: each page of a large one costs a trap on first touch, more than the extra reads of a large file.
// The block lives with the run's other memory, not on the stack, whose pages are touched afresh.
constexpr std::size_t blockSize = 16384;
}

TargetFile::TargetFile(const std::string& path) : target(path)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(target, error)) {
        existing.open(target, std::ios::binary);
        comparing = existing.is_open();
        block.resize(blockSize);
    }
    if (!comparing) {
        failed = !StartTemporary();
    }
}

std::size_t TargetFile::Match(const char* bytes, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const std::size_t count = std::min(size - done, blockSize);
        existing.read(block.data(), std::streamsize(count));
        const std::size_t got = std::size_t(existing.gcount());
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
    existing.close();
    temporary.open(target + temporarySuffix, std::ios::binary | std::ios::trunc);
    if (!temporary.is_open()) {
        return false;
    }
    if (matched != 0) {
        std::ifstream earlier(target, std::ios::binary);
        for (unsigned long long left = matched; left != 0 && earlier && temporary;) {
            const std::size_t count = std::size_t(std::min<unsigned long long>(left, blockSize));
            earlier.read(block.data(), std::streamsize(count));
            if (std::size_t(earlier.gcount()) != count) {
                return false;
            }
            temporary.write(block.data(), std::streamsize(count));
            left -= count;
        }
    }
    return bool(temporary);
}

bool TargetFile::Put(const char* bytes, std::size_t size)
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
    temporary.write(bytes, std::streamsize(size));
    failed = !temporary;
    return !failed;
}

std::streamsize TargetFile::xsputn(const char* text, std::streamsize size)
{
#if defined(_WIN32)
    // Each line end becomes CR LF, as in a text file.
    std::string lines;
    lines.reserve(std::size_t(size) + std::size_t(size) / 16);
    for (std::streamsize k = 0; k < size; ++k) {
        if (text[k] == '\n') {
            lines += '\r';
        }
        lines += text[k];
    }
    return Put(lines.data(), lines.size()) ? size : 0;
#else
    return Put(text, std::size_t(size)) ? size : 0;
#endif
}

TargetFile::int_type TargetFile::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

bool TargetFile::Finish()
{
    if (failed) {
        return false;
    }
    if (comparing) {
        // Unchanged only when the target ends where the output does.
        if (existing.peek() == std::ifstream::traits_type::eof() && !existing.bad()) {
            existing.close();
            return true;
        }
        comparing = false;
        if (!StartTemporary()) {
            failed = true;
            return false;
        }
    }
    temporary.close();
    failed = !temporary;
    return !failed;
}
