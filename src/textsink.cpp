#include "textsink.h"

#include <charconv>
#include <cstdio>

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
    // What a stream writes with its default precision and format.
    char digits[32];
    const int length = std::snprintf(digits, sizeof digits, "%.6g", value);
    Write(digits, length > 0 ? size_t(length) : 0);
    return *this;
}

namespace {

class StandardOutputSink : public TextSink {
public:
    bool Flush() override { return std::fflush(stdout) == 0 && TextSink::Flush(); }

protected:
    bool Put(const char* bytes, size_t size) override { return std::fwrite(bytes, 1, size, stdout) == size; }
};

}

TextSink& StandardOutput()
{
    static StandardOutputSink sink;
    return sink;
}
