#ifndef POLVANE_OUTPUTTEXT_H
#define POLVANE_OUTPUTTEXT_H

#include <cstdint>
#include <ostream>
#include <string>

// Collects generated text and hands it to the stream in large blocks. Numbers are written without sign
// padding, leading zeros or fill.
class OutputText {
public:
    explicit OutputText(std::ostream& stream);
    ~OutputText();
    OutputText(const OutputText&) = delete;
    OutputText& operator=(const OutputText&) = delete;

    OutputText& operator<<(const char* text);
    OutputText& operator<<(const std::string& text);
    OutputText& operator<<(char c);
    // Decimal, with a minus sign when negative.
    OutputText& operator<<(int64_t value);
    OutputText& Hex(uint32_t value);  // lowercase digits, without "0x"
    // Hands everything collected to the stream; false when the stream has failed.
    bool Flush();

private:
    void FlushWhenFull();

    std::ostream& stream;
    std::string buffer;
};

#endif
