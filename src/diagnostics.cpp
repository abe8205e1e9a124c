#include "diagnostics.h"

namespace {
uint64_t warningsStarted = 0;
}

std::string WarningAt(const std::string& path, uint64_t line)
{
    ++warningsStarted;
    return path + ":" + std::to_string(line) + ": warning: ";
}

std::string WarningAt(const std::string& path)
{
    ++warningsStarted;
    return path + ": warning: ";
}

std::string Warning()
{
    ++warningsStarted;
    return "polvane: warning: ";
}

uint64_t WarningCount()
{
    return warningsStarted;
}
