#include "settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void PrintUsage(std::ostream& out)
{
    out << "Polvane: Tool to convert OBJ models to N64 usable c-files\n"
           "\n"
           "Usage: Polvane [options] objmodel\n"
           "\n"
           "Optional parameters:\n"
           "    -s scaleFactor        Scales all vertices by a scale factor\n"
           "    -c red green blue     Specifies a color for all vertices [0-255]\n"
           "                          Cannot be used with normals (see definition of Vtx)\n"
           "    -a alpha              Sets an alpha color for all vertices [0-255]\n"
           "    -u scaleFactor        Scales all s texture coordinates dimension by a factor\n"
           "    -v scaleFactor        Scales all t texture coordinates dimension by a factor\n"
           "    -h                    Prints this text\n"
           "\n"
           "By default, normals will be output instead of vertex colors.  Override this by\n"
           "setting a color with the -c option\n";
}

bool MatchesOption(const char* argument, const char* option)
{
    return std::strncmp(argument, option, std::strlen(option)) == 0;
}

namespace {

// The low 8 bits of the integer the C scan finds at the start of text; 0 when it finds none.
uint8_t ScanByte(const char* text)
{
    int value = 0;
    std::sscanf(text, "%d", &value);
    return uint8_t(unsigned(value) & 0xFFu);
}

struct MicrocodeName {
    const char* name;
    Microcode microcode;
    CacheLayout layout;
};

// F3D has 16 vertex slots and draws one triangle per command; F3DEX and F3DEX2 have 32 slots, F3DEX3 56, and
// all three draw two triangles per command.
const MicrocodeName microcodes[] = {
    {"f3d", Microcode::F3D, {16, 16, false}},
    {"f3dex", Microcode::F3DEX, {32, 32, true}},
    {"f3dex2", Microcode::F3DEX2, {32, 32, true}},
    {"f3dex3", Microcode::F3DEX3, {56, 56, true}},
};

const MicrocodeName& Describe(Microcode microcode)
{
    for (const MicrocodeName& entry : microcodes) {
        if (entry.microcode == microcode) {
            return entry;
        }
    }
    return microcodes[0];
}

bool ParseMicrocode(const char* text, Microcode& microcode)
{
    for (const MicrocodeName& entry : microcodes) {
        if (std::strcmp(text, entry.name) == 0) {
            microcode = entry.microcode;
            return true;
        }
    }
    return false;
}

bool ParseCacheSize(const char* text, int& size)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 3 || value > 64) {
        return false;
    }
    size = int(value);
    return true;
}

// A float setting keeps its value when text does not start with a number.
void ScanFloatSetting(const char* text, float& setting)
{
    std::sscanf(text, "%f", &setting);
}

}

OptionsOutcome ParseOptions(int argc, const char* const* argv, ConversionSettings& settings, std::ostream& out,
                            std::ostream& errors)
{
    const int last = argc - 1;
    for (int i = 1; i < last; ++i) {
        const char* argument = argv[i];
        int valueCount = 0;
        if (MatchesOption(argument, "-s") || MatchesOption(argument, "-a") || MatchesOption(argument, "-u") ||
            MatchesOption(argument, "-v")) {
            valueCount = 1;
        } else if (MatchesOption(argument, "-c")) {
            valueCount = 3;
        } else if (MatchesOption(argument, "-h")) {
            PrintUsage(out);
            continue;
        } else if (std::strcmp(argument, "--optimize") == 0) {
            settings.optimize = true;
            continue;
        } else if (std::strcmp(argument, "--stats") == 0) {
            settings.stats = true;
            continue;
        } else if (std::strcmp(argument, "--ucode") == 0 || std::strcmp(argument, "--cache") == 0) {
            valueCount = 1;
        } else {
            errors << "Unknown option: " << argument << "\n";
            return OptionsOutcome::UnknownOption;
        }
        // A value may be the model path itself, but never lies beyond it.
        if (i + valueCount > last) {
            errors << "Missing value for option " << argument << "\n";
            return OptionsOutcome::MissingValue;
        }
        if (std::strcmp(argument, "--ucode") == 0) {
            if (!ParseMicrocode(argv[i + 1], settings.microcode)) {
                errors << "Unknown microcode for option --ucode: " << argv[i + 1]
                       << " (expected f3d, f3dex, f3dex2 or f3dex3)\n";
                return OptionsOutcome::BadValue;
            }
        } else if (std::strcmp(argument, "--cache") == 0) {
            if (!ParseCacheSize(argv[i + 1], settings.cacheSize)) {
                errors << "Invalid cache size for option --cache: " << argv[i + 1] << " (expected 3 to 64)\n";
                return OptionsOutcome::BadValue;
            }
        } else if (MatchesOption(argument, "-s")) {
            ScanFloatSetting(argv[i + 1], settings.scale);
        } else if (MatchesOption(argument, "-c")) {
            settings.red = ScanByte(argv[i + 1]);
            settings.green = ScanByte(argv[i + 2]);
            settings.blue = ScanByte(argv[i + 3]);
            // The usage text promises it: a colour replaces the normals in the vertex rows.
            settings.useNormals = false;
        } else if (MatchesOption(argument, "-a")) {
            settings.alpha = ScanByte(argv[i + 1]);
        } else if (MatchesOption(argument, "-u")) {
            ScanFloatSetting(argv[i + 1], settings.sScale);
        } else {
            ScanFloatSetting(argv[i + 1], settings.tScale);
        }
        i += valueCount;
    }
    if (settings.microcode == Microcode::F3D && settings.cacheSize > 16) {
        errors << "Invalid cache size for option --cache: " << settings.cacheSize
               << " (f3d has 16 vertex slots)\n";
        return OptionsOutcome::BadValue;
    }
    return OptionsOutcome::Convert;
}

CacheLayout CacheLayoutOf(const ConversionSettings& settings)
{
    CacheLayout layout = Describe(settings.microcode).layout;
    if (settings.cacheSize != 0) {
        layout.size = settings.cacheSize;
    }
    if (layout.maxLoad > layout.size) {
        layout.maxLoad = layout.size;
    }
    return layout;
}
