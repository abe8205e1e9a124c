#include "settings.h"

#include <cstdio>
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
        } else {
            errors << "Unknown option: " << argument << "\n";
            return OptionsOutcome::UnknownOption;
        }
        // A value may be the model path itself, but never lies beyond it.
        if (i + valueCount > last) {
            errors << "Missing value for option " << argument << "\n";
            return OptionsOutcome::MissingValue;
        }
        if (MatchesOption(argument, "-s")) {
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
    return OptionsOutcome::Convert;
}
