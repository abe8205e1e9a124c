#ifndef POLVANE_DIAGNOSTICS_H
#define POLVANE_DIAGNOSTICS_H

#include <cstdint>
#include <string>

// The start of a warning line, in the form compilers use so that make, IDEs and editors can jump to it:
// "<path>:<line>: warning: " where a line is known, "<path>: warning: " where only a file is, and
// "polvane: warning: " otherwise. Every warning line starts with one of these, and each call counts one warning.
std::string WarningAt(const std::string& path, uint64_t line);
std::string WarningAt(const std::string& path);
std::string Warning();

// The warnings started so far in this run (--werror turns any of them into a failure).
uint64_t WarningCount();

#endif
