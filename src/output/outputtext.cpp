#include "output/outputtext.h"

#include <algorithm>
#include <charconv>

namespace {
// Blocks start small, so that a small output does not take the memory of a large one, and double to their full
// size as they fill.
constexpr size_t firstBlockSize = size_t(64) << 10;
constexpr size_t blockSize = size_t(1) << 20;
constexpr size_t numberRoom = 24;
}

OutputText::OutputText(TextSink& out) : sink(out), capacity(firstBlockSize), buffer(new char[firstBlockSize])
{
}

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
    if (capacity < size || capacity < blockSize) {
        const size_t larger = std::max(size, std::min(capacity * 2, blockSize));
        buffer.reset(new char[larger]);
        capacity = larger;
    }
}

bool OutputText::Flush()
{
    if (used != 0) {
        sink.Write(buffer.get(), used);
        used = 0;
    }
    return !sink.Failed();
}
