#ifndef POLVANE_DIAGNOSTICS_H
#define POLVANE_DIAGNOSTICS_H

#include <cstdint>
#include <string>

#include "textsink.h"

// The start of a warning line, in the form compilers use so that make, IDEs and editors can jump to it:
// "<path>:<line>: warning: " where a line is known, "<path>: warning: " where only a file is, and
// "polvane: warning: " otherwise.
std::string WarningAt(const std::string& path, uint64_t line);
std::string WarningAt(const std::string& path);
std::string Warning();

// Where messages go: standard error, a whole line at a time (one write a line keeps the messages of programs run
// side by side, make -j, from being mixed up within a line), after what standard output holds so far. The warning
// lines among them (those holding ": warning: ") are counted.
TextSink& ErrorOutput();
// The warning lines written to ErrorOutput so far (--werror turns any of them into a failure).
uint64_t WarningCount();
// From now on, ErrorOutput hands its lines to `to` instead of standard error; nullptr hands them to standard error
// again. For tests and fuzzing, which keep the messages.
void SendErrorsTo(TextSink* to);

#endif
