#include "output/outputtext.h"

#include <charconv>

namespace {
constexpr size_t blockSize = size_t(1) << 20;
constexpr size_t numberRoom = 24;
}

OutputText::OutputText(std::ostream& out) : stream(out), capacity(blockSize), buffer(new char[blockSize]) {}

OutputText::~OutputText()
{
    Flush();
}

OutputText& OutputText::WriteNumber(int64_t value)
{
    if (capacity - used < numberRoom) {
        MakeRoom(numberRoom);
    }
    char* const start = buffer.get() + used;
    used += size_t(std::to_chars(start, start + numberRoom, value).ptr - start);
    return *this;
}

OutputText& OutputText::Hex(uint32_t value)
{
    if (capacity - used < numberRoom) {
        MakeRoom(numberRoom);
    }
    char* const start = buffer.get() + used;
    used += size_t(std::to_chars(start, start + numberRoom, value, 16).ptr - start);
    return *this;
}

void OutputText::MakeRoom(size_t size)
{
    Flush();
    if (capacity < size) {
        buffer.reset(new char[size]);
        capacity = size;
    }
}

bool OutputText::Flush()
{
    if (used != 0) {
        stream.write(buffer.get(), std::streamsize(used));
        used = 0;
    }
    return !stream.fail();
}
