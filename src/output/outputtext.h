#ifndef POLVANE_OUTPUTTEXT_H
#define POLVANE_OUTPUTTEXT_H

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "textsink.h"

// Collects generated text and hands it to a sink in large blocks. Numbers are written without sign
// padding, leading zeros or fill.
class OutputText {
public:
    explicit OutputText(TextSink& sink);
    ~OutputText();
    OutputText(const OutputText&) = delete;
    OutputText& operator=(const OutputText&) = delete;

    // The appends are inlined wherever they are used, also in large functions: most of the output is made of them.
    [[gnu::always_inline]] OutputText& operator<<(std::string_view text)
    {
        if (text.size() > capacity - used) {
            MakeRoom(text.size());
        }
        std::memcpy(buffer.get() + used, text.data(), text.size());
        used += text.size();
        return *this;
    }
    [[gnu::always_inline]] OutputText& operator<<(const char* text) { return *this << std::string_view(text); }
    OutputText& operator<<(const std::string& text) { return *this << std::string_view(text); }
    // Decimal, with a minus sign when negative.
    [[gnu::always_inline]] OutputText& operator<<(int64_t value)
    {
        // Most numbers of a display list are cache slots and counts below 100.
        if (value >= 0 && value < 100 && capacity - used >= 2) {
            char* const start = buffer.get() + used;
            if (value < 10) {
                start[0] = char('0' + value);
                used += 1;
            } else {
                start[0] = char('0' + value / 10);
                start[1] = char('0' + value % 10);
                used += 2;
            }
            return *this;
        }
        return WriteNumber(value);
    }
    OutputText& Hex(uint32_t value);  // lowercase digits, without "0x"
    // For text written directly: Room gives where at least size more bytes may go, Used takes where they end.
    char* Room(size_t size)
    {
        if (size > capacity - used) {
            MakeRoom(size);
        }
        return buffer.get() + used;
    }
    void Used(const char* end) { used = size_t(end - buffer.get()); }
    // Hands everything collected to the sink; false when the sink has failed.
    bool Flush();

private:
    OutputText& WriteNumber(int64_t value);
    void MakeRoom(size_t size);

    TextSink& sink;
    size_t capacity;
    std::unique_ptr<char[]> buffer;  // uninitialised: only what is written into it is touched
    size_t used = 0;
};

#endif
