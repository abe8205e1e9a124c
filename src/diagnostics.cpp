#include "diagnostics.h"

#include <streambuf>

namespace {

// Passes every character on to another buffer and counts the lines that are warnings. Only what is really
// written counts: a warning built and then dropped (a texture candidate that loses, say) does not.
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
        if (traits_type::to_char_type(c) == '\n') {
            count += line.find(": warning: ") != std::string::npos ? 1 : 0;
            line.clear();
        } else if (line.size() < 4096) {
            line += traits_type::to_char_type(c);
        }
        return target->sputc(traits_type::to_char_type(c));
    }

    int sync() override { return target->pubsync(); }

private:
    std::streambuf* target;
    std::string line;
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
}

uint64_t WarningCount()
{
    return counter ? counter->count : 0;
}
