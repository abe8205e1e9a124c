#ifndef POLVANE_TEXTSINK_H
#define POLVANE_TEXTSINK_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

// Where text goes: messages, the generated files, a string in a test. Written with << as to a C++ stream, and with
// the same text: integers in decimal, characters as themselves, floating point with six significant digits (%g).
// The C++ streams are not used because of what they cost a small conversion: setting up their locales, and the
// buffers and facets of a first use, take more time than reading and converting a 1 000-triangle model.
class TextSink {
public:
    TextSink() = default;
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;
    virtual ~TextSink() = default;

    TextSink& operator<<(std::string_view text)
    {
        Write(text.data(), text.size());
        return *this;
    }
    TextSink& operator<<(const char* text) { return *this << std::string_view(text); }
    TextSink& operator<<(const std::string& text) { return *this << std::string_view(text); }
    TextSink& operator<<(char c)
    {
        Write(&c, 1);
        return *this;
    }
    // Single bytes are characters, as in a stream.
    TextSink& operator<<(signed char c) { return *this << char(c); }
    TextSink& operator<<(unsigned char c) { return *this << char(c); }
    template <typename Integer, std::enable_if_t<std::is_integral_v<Integer> && (sizeof(Integer) > 1), int> = 0>
    TextSink& operator<<(Integer value)
    {
        if constexpr (std::is_signed_v<Integer>) {
            return WriteSigned(int64_t(value));
        } else {
            return WriteUnsigned(uint64_t(value));
        }
    }
    TextSink& operator<<(bool value) { return WriteUnsigned(value ? 1 : 0); }
    TextSink& operator<<(double value);
    TextSink& operator<<(float value) { return *this << double(value); }

    // Hands on everything written; false when any of it could not be written.
    void Write(const char* bytes, size_t size);
    virtual bool Flush() { return !writeFailed; }
    bool Failed() const { return writeFailed; }

protected:
    // Takes bytes on; false when they could not be written.
    virtual bool Put(const char* bytes, size_t size) = 0;

private:
    TextSink& WriteSigned(int64_t value);
    TextSink& WriteUnsigned(uint64_t value);

    bool writeFailed = false;
};

// Text kept in a string.
class StringSink : public TextSink {
public:
    const std::string& str() const { return text; }
    void clear() { text.clear(); }

protected:
    bool Put(const char* bytes, size_t size) override
    {
        text.append(bytes, size);
        return true;
    }

private:
    std::string text;
};

// The program's standard output: a line at a time on a terminal, in blocks otherwise, and what is left as the
// program ends.
TextSink& StandardOutput();
// Hands standard output what it has been given so far.
bool FlushStandardOutput();
// Writes bytes to standard error at once, after what standard output holds; false when they could not all be
// written.
bool WriteStandardError(const char* bytes, size_t size);

#endif
