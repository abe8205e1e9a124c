#ifndef POLVANE_CHECK_H
#define POLVANE_CHECK_H

// Internal consistency checks. They stay live in every build type: a failed check reports the condition text
// and the source file on the error stream and stops the program. No accepted input reaches them.
#define POLVANE_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::polvane::CheckFailed(#condition, __FILE__, __LINE__))

namespace polvane {
[[noreturn]] void CheckFailed(const char* condition, const char* file, int line);
}

#endif
