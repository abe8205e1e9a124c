#ifndef POLVANE_SETTINGS_H
#define POLVANE_SETTINGS_H

#include <cstdint>
#include <ostream>

#include "plan/cachelayout.h"

// The graphics microcode the display list is written for.
enum class Microcode { F3D, F3DEX, F3DEX2, F3DEX3 };

// What the command line chose for one conversion.
struct ConversionSettings {
    float scale = 1.0f;
    float sScale = 1.0f;
    float tScale = 1.0f;
    uint8_t red = 255;
    uint8_t green = 255;
    uint8_t blue = 255;
    uint8_t alpha = 255;
    bool useNormals = true;  // false: the vertex rows carry the colour instead of the normal
    bool verbose = true;     // progress lines on standard output
    Microcode microcode = Microcode::F3D;
    int cacheSize = 0;      // vertex cache entries; 0 means the microcode's own size
    bool optimize = false;  // reorder triangles and vertices for fewer vertex loads
    bool stats = false;     // a summary of the display list after the conversion
};

CacheLayout CacheLayoutOf(const ConversionSettings& settings);

enum class OptionsOutcome { Convert, UnknownOption, MissingValue, BadValue };

void PrintUsage(std::ostream& out);

// True when the first strlen(option) characters of argument equal option (a prefix test).
bool MatchesOption(const char* argument, const char* option);

// Reads every argument but the last (the model path) into settings. "-h" prints the usage text to out and
// scanning goes on. An unknown option, or one whose values would run past the argument list, is reported on
// errors and ends the scan.
OptionsOutcome ParseOptions(int argc, const char* const* argv, ConversionSettings& settings, std::ostream& out,
                            std::ostream& errors);

#endif
