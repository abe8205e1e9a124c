#ifndef POLVANE_DIAGNOSTICS_H
#define POLVANE_DIAGNOSTICS_H

#include <cstdint>
#include <ostream>
#include <string>

// The start of a warning line, in the form compilers use so that make, IDEs and editors can jump to it:
// "<path>:<line>: warning: " where a line is known, "<path>: warning: " where only a file is, and
// "polvane: warning: " otherwise.
std::string WarningAt(const std::string& path, uint64_t line);
std::string WarningAt(const std::string& path);
std::string Warning();

// From now on, counts the warning lines (those holding ": warning: ") written to stream, passing all on.
void CountWarningsOn(std::ostream& stream);
// The warning lines counted so far (--werror turns any of them into a failure).
uint64_t WarningCount();

#endif
