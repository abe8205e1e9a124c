#include "outputtext.h"

#include <charconv>

namespace {
constexpr size_t flushThreshold = size_t(1) << 20;
}

OutputText::OutputText(std::ostream& out) : stream(out)
{
    buffer.reserve(flushThreshold + 4096);
}

OutputText::~OutputText()
{
    Flush();
}

OutputText& OutputText::operator<<(const char* text)
{
    buffer += text;
    FlushWhenFull();
    return *this;
}

OutputText& OutputText::operator<<(const std::string& text)
{
    buffer += text;
    FlushWhenFull();
    return *this;
}

OutputText& OutputText::operator<<(char c)
{
    buffer += c;
    FlushWhenFull();
    return *this;
}

OutputText& OutputText::operator<<(int64_t value)
{
    char digits[24];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
    buffer.append(digits, written.ptr);
    FlushWhenFull();
    return *this;
}

OutputText& OutputText::Hex(uint32_t value)
{
    char digits[16];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value, 16);
    buffer.append(digits, written.ptr);
    FlushWhenFull();
    return *this;
}

void OutputText::FlushWhenFull()
{
    if (buffer.size() >= flushThreshold) {
        Flush();
    }
}

bool OutputText::Flush()
{
    if (!buffer.empty()) {
        stream.write(buffer.data(), std::streamsize(buffer.size()));
        buffer.clear();
    }
    return !stream.fail();
}
