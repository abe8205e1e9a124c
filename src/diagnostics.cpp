#include "diagnostics.h"

#include <streambuf>

namespace {

// Passes what is written on to another buffer a whole line at a time, and counts the lines that are warnings. One
// write a line keeps the messages of programs run side by side (make -j) from being mixed up within a line. Only
// what is really written counts: a warning built and then dropped (a texture candidate that loses, say) does not.
class WarningCounter : public std::streambuf {
public:
    explicit WarningCounter(std::streambuf* passOn) : target(passOn) {}

    uint64_t count = 0;

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        line += traits_type::to_char_type(c);
        if (traits_type::to_char_type(c) == '\n') {
            CountLine();
            warningSeen = false;
            return PassOn() ? c : traits_type::eof();
        }
        // A very long line is passed on in parts; the warning mark is looked for in its first part only.
        if (line.size() >= longLine) {
            CountLine();
            warningSeen = true;
            return PassOn() ? c : traits_type::eof();
        }
        return c;
    }

    // The end of a line passes it on; a flush passes on what there is of it.
    int sync() override { return PassOn() ? target->pubsync() : -1; }

private:
    static constexpr size_t longLine = 4096;

    void CountLine()
    {
        count += !warningSeen && line.find(": warning: ") != std::string::npos ? 1 : 0;
    }

    bool PassOn()
    {
        const std::streamsize size = std::streamsize(line.size());
        const bool passed = target->sputn(line.data(), size) == size;
        line.clear();
        return passed;
    }

    std::streambuf* target;
    std::string line;
    bool warningSeen = false;  // the line's first part has been counted already
};

// Never destroyed: the stream it serves may still be flushed while the program ends.
WarningCounter* counter = nullptr;

}

std::string WarningAt(const std::string& path, uint64_t line)
{
    return path + ":" + std::to_string(line) + ": warning: ";
}

std::string WarningAt(const std::string& path)
{
    return path + ": warning: ";
}

std::string Warning()
{
    return "polvane: warning: ";
}

void CountWarningsOn(std::ostream& stream)
{
    counter = new WarningCounter(stream.rdbuf());
    stream.rdbuf(counter);
    // Lines are passed on whole, so the stream is no longer flushed after every piece of one (the standard error
    // stream is, by default); the program's end flushes what is left.
    stream.unsetf(std::ios_base::unitbuf);
}

uint64_t WarningCount()
{
    return counter ? counter->count : 0;
}
