#include "check.h"

#include <cstdio>
#include <cstdlib>

namespace polvane {

void CheckFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", condition, file, line);
    std::fflush(stderr);
    std::abort();
}

}
