#include "diagnostics.h"

#include <algorithm>
#include <cstring>

namespace {

// Hands what is written on a whole line at a time, and counts the lines that are warnings. Only what is really
// written counts: a warning built and then dropped (a texture candidate that loses, say) does not.
class WarningLines : public TextSink {
public:
    uint64_t count = 0;
    TextSink* target = nullptr;  // standard error when null

    ~WarningLines() override { Flush(); }

    // Hands on what there is of the line.
    bool Flush() override { return PassOn() && TextSink::Flush(); }

protected:
    bool Put(const char* bytes, size_t size) override
    {
        bool passed = true;
        while (size != 0) {
            const char* const lineEnd = static_cast<const char*>(std::memchr(bytes, '\n', size));
            const size_t upTo = lineEnd ? size_t(lineEnd - bytes) + 1 : size;
            // A very long line is handed on in parts; the warning mark is looked for in its first part only.
            const size_t taken = std::min(upTo, longLine - line.size());
            line.append(bytes, taken);
            bytes += taken;
            size -= taken;
            if (line.back() == '\n' || line.size() == longLine) {
                count += !warningSeen && line.find(": warning: ") != std::string::npos ? 1 : 0;
                warningSeen = line.back() != '\n';
                passed = PassOn() && passed;
            }
        }
        return passed;
    }

private:
    static constexpr size_t longLine = 4096;

    bool PassOn()
    {
        if (line.empty()) {
            return true;
        }
        bool passed;
        if (target) {
            target->Write(line.data(), line.size());
            passed = !target->Failed();
        } else {
            passed = WriteStandardError(line.data(), line.size());
        }
        line.clear();
        return passed;
    }

    std::string line;
    bool warningSeen = false;  // the line's first part has been counted already
};

WarningLines& Lines()
{
    static WarningLines lines;
    return lines;
}

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

TextSink& ErrorOutput()
{
    return Lines();
}

uint64_t WarningCount()
{
    return Lines().count;
}

void SendErrorsTo(TextSink* to)
{
    Lines().Flush();
    Lines().target = to;
}
