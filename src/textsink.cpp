#include "textsink.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

void TextSink::Write(const char* bytes, size_t size)
{
    if (size != 0 && !Put(bytes, size)) {
        writeFailed = true;
    }
}

TextSink& TextSink::WriteSigned(int64_t value)
{
    char digits[24];
    Write(digits, size_t(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
    return *this;
}

TextSink& TextSink::WriteUnsigned(uint64_t value)
{
    char digits[24];
    Write(digits, size_t(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
    return *this;
}

TextSink& TextSink::operator<<(double value)
{
    // What a stream writes with its default precision and format: printf's "%.6g". The library's own conversion
    // where it has one: printf's, run once in a small conversion, costs it some 50 us of first-run code.
    char digits[32];
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    const char* const end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 6).ptr;
    Write(digits, size_t(end - digits));
#else
    const int length = std::snprintf(digits, sizeof digits, "%.6g", value);
    Write(digits, length > 0 ? size_t(length) : 0);
#endif
    return *this;
}

namespace {

#if defined(_WIN32)
using ByteCount = int;
ByteCount WriteSome(int file, const char* bytes, size_t size)
{
    return _write(file, bytes, unsigned(std::min<size_t>(size, 1u << 30)));
}
bool IsTerminal(int file)
{
    return _isatty(file) != 0;
}
#else
using ByteCount = ssize_t;
ByteCount WriteSome(int file, const char* bytes, size_t size)
{
    return write(file, bytes, std::min<size_t>(size, size_t(1) << 30));
}
bool IsTerminal(int file)
{
    return isatty(file) != 0;
}
#endif

bool WriteAll(int file, const char* bytes, size_t size)
{
    while (size != 0) {
        const ByteCount written = WriteSome(file, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        size -= size_t(written);
    }
    return true;
}

// Standard output's bytes not yet written. Plain data, never destroyed: standard error's lines flush it up to the
// program's very end.
struct PendingOutput {
    char bytes[4096];
    size_t used;
    bool toTerminal;
    bool failed;
} pendingOutput;

// Writes standard output straight to its file: the C library's streams would cost a small conversion the first-use
// set-up of their buffers.
class StandardOutputSink : public TextSink {
public:
    StandardOutputSink() { pendingOutput.toTerminal = IsTerminal(1); }
    ~StandardOutputSink() override { FlushStandardOutput(); }
    bool Flush() override { return FlushStandardOutput() && TextSink::Flush(); }

protected:
    bool Put(const char* bytes, size_t size) override
    {
        PendingOutput& pending = pendingOutput;
        if (size > sizeof pending.bytes - pending.used && !FlushStandardOutput()) {
            return false;
        }
        if (size >= sizeof pending.bytes) {
            return WriteAll(1, bytes, size);
        }
        std::memcpy(pending.bytes + pending.used, bytes, size);
        pending.used += size;
        // On a terminal each line shows as it is written.
        return !pending.toTerminal || std::memchr(bytes, '\n', size) == nullptr || FlushStandardOutput();
    }
};

}

TextSink& StandardOutput()
{
    static StandardOutputSink sink;
    return sink;
}

bool FlushStandardOutput()
{
    PendingOutput& pending = pendingOutput;
    if (pending.used != 0) {
        pending.failed = !WriteAll(1, pending.bytes, pending.used) || pending.failed;
        pending.used = 0;
    }
    return !pending.failed;
}

bool WriteStandardError(const char* bytes, size_t size)
{
    FlushStandardOutput();
    return WriteAll(2, bytes, size);
}
