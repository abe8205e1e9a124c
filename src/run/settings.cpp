#include "run/settings.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cidentifier.h"
#include "diagnostics.h"

#ifndef POLVANE_VERSION
#define POLVANE_VERSION "unknown"
#endif

void PrintUsage(TextSink& out)
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
           "setting a color with the -c option\n"
           "\n"
           "More options (written out in full):\n"
           "    --help                Prints this text and stops\n"
           "    --version             Prints the version and stops\n"
           "    -o folder             Writes the output files into this folder\n"
           "    --name identifier     Names the output files and starts the C names with this\n"
           "                          identifier instead of one made from the file name\n"
           "    -q                    Prints no progress lines\n"
           "    --full-braces         Writes vertex rows fully braced (quiet with gcc -Wall)\n"
           "    --ucode microcode     Writes for f3d (default), f3dex, f3dex2 or f3dex3\n"
           "    --cache size          Uses this many vertex cache slots, from 3 up to\n"
           "                          the microcode's own: 16, 32, 32 or 56\n"
           "    --optimize            Reorders triangles and vertices for fewer loads\n"
           "    --stats               Prints what the display list costs\n"
           "    --materials           Reads .mtl materials, textures, parts and vertex colours\n"
           "    --texture-format fmt  Converts textures to auto (default), rgba16, rgba32,\n"
           "                          ia16, ia8, ia4, i8, i4, ci8 or ci4\n"
           "    --texture-max N       Keeps up to N texels a side (32 to 1024, a power of\n"
           "                          two), drawing larger textures in tiles\n"
           "    --preview file.png    Draws a picture of the model as the console shows it\n"
           "                          (.png, .bmp, .tga or .jpg)\n"
           "    --preview-size WxH    Size of the picture [16-4096] (default 640x480)\n"
           "    --preview-batches     Colours the picture by vertex batch\n"
           "    --preview-view view   Looks from iso (default), front, back, left, right,\n"
           "                          top or bottom\n"
           "    --fit N               Scales the model so its largest coordinate is N [1-32767]\n"
           "    --depfile file        Writes a Make rule naming the outputs and every file read\n"
           "    --werror              Treats every warning as an error\n";
}

void PrintVersion(TextSink& out)
{
    out << "polvane " << POLVANE_VERSION << "\n";
}

bool MatchesOption(const char* argument, const char* option)
{
    return std::strncmp(argument, option, std::strlen(option)) == 0;
}

namespace {

struct MicrocodeName {
    const char* name;
    Microcode microcode;
    CacheLayout layout;
};

// F3D has 16 vertex slots and draws one triangle per command; F3DEX and F3DEX2 have 32 slots, F3DEX3 56, and
// all three draw two triangles per command; F3DEX3 also draws triangle snakes.
const MicrocodeName microcodes[] = {
    {"f3d", Microcode::F3D, {16, 16, false}},
    {"f3dex", Microcode::F3DEX, {32, 32, true}},
    {"f3dex2", Microcode::F3DEX2, {32, 32, true}},
    {"f3dex3", Microcode::F3DEX3, {56, 56, true, true}},
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

struct TextureFormatName {
    const char* name;
    std::optional<TextureFormat> format;
};

const TextureFormatName textureFormats[] = {
    {"auto", std::nullopt},         {"rgba16", TextureFormat::RGBA16}, {"rgba32", TextureFormat::RGBA32},
    {"ia16", TextureFormat::IA16}, {"ia8", TextureFormat::IA8},       {"ia4", TextureFormat::IA4},
    {"i8", TextureFormat::I8},     {"i4", TextureFormat::I4},         {"ci8", TextureFormat::CI8},
    {"ci4", TextureFormat::CI4},
};

// Names of microcodes, formats and views are matched whatever their letters' case.
bool SameName(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(uint8_t(*a)) != std::tolower(uint8_t(*b))) {
            return false;
        }
    }
    return *a == *b;
}

struct PreviewViewName {
    const char* name;
    PreviewView view;
};

const PreviewViewName previewViews[] = {
    {"iso", PreviewView::Iso},   {"front", PreviewView::Front}, {"back", PreviewView::Back},
    {"left", PreviewView::Left}, {"right", PreviewView::Right}, {"top", PreviewView::Top},
    {"bottom", PreviewView::Bottom},
};

struct PictureFormatName {
    const char* extension;
    PictureFormat format;
};

const PictureFormatName pictureFormats[] = {
    {".png", PictureFormat::Png}, {".bmp", PictureFormat::Bmp}, {".tga", PictureFormat::Tga},
    {".jpg", PictureFormat::Jpg}, {".jpeg", PictureFormat::Jpg},
};

// "a, b or c" of the names of a table.
template <typename Entry, size_t count>
std::string Alternatives(const Entry (&entries)[count])
{
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += (i == 0 ? "" : i + 1 == count ? " or " : ", ") + std::string(entries[i].name);
    }
    return text;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The whole text is a decimal integer (a sign allowed) from low to high.
bool ParseWhole(const char* text, long low, long high, int& value)
{
    const char* digits = (*text == '-' || *text == '+') ? text + 1 : text;
    if (!IsDigit(*digits)) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (*end != '\0' || errno == ERANGE || parsed < low || parsed > high) {
        return false;
    }
    value = int(parsed);
    return true;
}

// The whole text is a finite, non-zero decimal number that a float can hold.
bool ParseScale(const char* text, float& value)
{
    const char* start = (*text == '-' || *text == '+') ? text + 1 : text;
    if (!IsDigit(*start) && !(*start == '.' && IsDigit(start[1]))) {
        return false;
    }
    if (std::strpbrk(text, "xXpP") != nullptr) {  // no hexadecimal numbers
        return false;
    }
    char* end = nullptr;
    const float parsed = std::strtof(text, &end);
    if (*end != '\0' || !std::isfinite(parsed) || parsed == 0.0f) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseByte(const char* text, uint8_t& value)
{
    int parsed = 0;
    if (!ParseWhole(text, 0, 255, parsed)) {
        return false;
    }
    value = uint8_t(parsed);
    return true;
}

// "<width>x<height>", each 16 to 4096.
bool ParsePictureSize(const char* text, int& width, int& height)
{
    const std::string size = text;
    const size_t x = size.find('x');
    return x != std::string::npos && ParseWhole(size.substr(0, x).c_str(), 16, 4096, width) &&
           ParseWhole(size.substr(x + 1).c_str(), 16, 4096, height);
}

bool InvalidValue(TextSink& errors, const char* option, const char* value, const std::string& expected = "")
{
    errors << "Invalid value for option " << option << ": " << value;
    if (!expected.empty()) {
        errors << " (expected " << expected << ")";
    }
    errors << "\n";
    return false;
}

// Stores the values of one option (values[0] is its first); false when one is bad, after reporting it.
using ApplyOption = bool (*)(const char* option, const char* const* values, ConversionSettings& settings,
                             TextSink& errors);

struct OptionRule {
    const char* name;
    bool prefix;  // the six options of the original program are matched by their first two characters
    int valueCount;
    ApplyOption apply;
};

bool ApplyScale(const char* option, const char* value, float& setting, TextSink& errors)
{
    return ParseScale(value, setting) || InvalidValue(errors, option, value);
}

// The text of a --cache value that is no size at all or below 3, reported once the microcode is known.
std::string badCacheSize;

const OptionRule optionRules[] = {
    {"-s", true, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         settings.scaleGiven = true;
         return ApplyScale(option, values[0], settings.scale, errors);
     }},
    {"-c", true, 3,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         uint8_t* const channels[3] = {&settings.red, &settings.green, &settings.blue};
         for (int k = 0; k < 3; ++k) {
             if (!ParseByte(values[k], *channels[k])) {
                 return InvalidValue(errors, option, values[k]);
             }
         }
         // The usage text promises it: a colour replaces the normals in the vertex rows.
         settings.useNormals = false;
         return true;
     }},
    {"-a", true, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         settings.alphaGiven = true;
         return ParseByte(values[0], settings.alpha) || InvalidValue(errors, option, values[0]);
     }},
    {"-u", true, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         return ApplyScale(option, values[0], settings.sScale, errors);
     }},
    {"-v", true, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         return ApplyScale(option, values[0], settings.tScale, errors);
     }},
    {"-o", false, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         settings.outputDir = values[0];
         return !settings.outputDir.empty() || InvalidValue(errors, option, values[0]);
     }},
    {"-q", false, 0,
     [](const char*, const char* const*, ConversionSettings& settings, TextSink&) {
         settings.verbose = false;
         return true;
     }},
    {"--name", false, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         settings.name = values[0];
         if (IsIdentifier(settings.name) && !MakesReservedNames(settings.name)) {
             return true;
         }
         errors << "Invalid value for option " << option << ": " << values[0]
                << " (expected a C identifier; names that begin with \"__\" or with \"_\" and a capital letter"
                   " are reserved)\n";
         return false;
     }},
    {"--full-braces", false, 0,
     [](const char*, const char* const*, ConversionSettings& settings, TextSink&) {
         settings.fullBraces = true;
         return true;
     }},
    {"--ucode", false, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         for (const MicrocodeName& entry : microcodes) {
             if (SameName(values[0], entry.name)) {
                 settings.microcode = entry.microcode;
                 return true;
             }
         }
         errors << "Unknown microcode for option " << option << ": " << values[0]
                << " (expected f3d, f3dex, f3dex2 or f3dex3)\n";
         return false;
     }},
    {"--cache", false, 1,
     [](const char*, const char* const* values, ConversionSettings& settings, TextSink&) {
         // The range depends on the microcode, which may come later: checked once the line is read.
         if (!ParseWhole(values[0], 3, 64, settings.cacheSize)) {
             settings.cacheSize = -1;
             badCacheSize = values[0];
         }
         return true;
     }},
    {"--optimize", false, 0,
     [](const char*, const char* const*, ConversionSettings& settings, TextSink&) {
         settings.optimize = true;
         return true;
     }},
    {"--stats", false, 0,
     [](const char*, const char* const*, ConversionSettings& settings, TextSink&) {
         settings.stats = true;
         return true;
     }},
    {"--materials", false, 0,
     [](const char*, const char* const*, ConversionSettings& settings, TextSink&) {
         settings.materials = true;
         return true;
     }},
    {"--texture-format", false, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         for (const TextureFormatName& entry : textureFormats) {
             if (SameName(values[0], entry.name)) {
                 settings.textureFormat = entry.format;
                 return true;
             }
         }
         return InvalidValue(errors, option, values[0], Alternatives(textureFormats));
     }},
    {"--texture-max", false, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         int side = 0;
         if (ParseWhole(values[0], 32, 1024, side) && (side & (side - 1)) == 0 && IsDigit(values[0][0])) {
             settings.textureMax = side;
             return true;
         }
         return InvalidValue(errors, option, values[0]);
     }},
    {"--preview", false, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         settings.previewPath = values[0];
         const std::string& path = settings.previewPath;
         for (const PictureFormatName& entry : pictureFormats) {
             const size_t length = std::strlen(entry.extension);
             if (path.size() > length && SameName(path.c_str() + path.size() - length, entry.extension)) {
                 settings.previewFormat = entry.format;
                 return true;
             }
         }
         return InvalidValue(errors, option, values[0], "a file name ending in .png, .bmp, .tga or .jpg");
     }},
    {"--preview-size", false, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         return ParsePictureSize(values[0], settings.previewWidth, settings.previewHeight) ||
                InvalidValue(errors, option, values[0], "WIDTHxHEIGHT, each 16 to 4096");
     }},
    {"--preview-batches", false, 0,
     [](const char*, const char* const*, ConversionSettings& settings, TextSink&) {
         settings.previewBatches = true;
         return true;
     }},
    {"--preview-view", false, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         for (const PreviewViewName& entry : previewViews) {
             if (SameName(values[0], entry.name)) {
                 settings.previewView = entry.view;
                 return true;
             }
         }
         return InvalidValue(errors, option, values[0], Alternatives(previewViews));
     }},
    {"--fit", false, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         return ParseWhole(values[0], 1, 32767, settings.fit) || InvalidValue(errors, option, values[0]);
     }},
    {"--depfile", false, 1,
     [](const char* option, const char* const* values, ConversionSettings& settings, TextSink& errors) {
         settings.depfilePath = values[0];
         return !settings.depfilePath.empty() || InvalidValue(errors, option, values[0]);
     }},
    {"--werror", false, 0,
     [](const char*, const char* const*, ConversionSettings& settings, TextSink&) {
         settings.werror = true;
         return true;
     }},
};

const OptionRule* FindRule(const char* argument)
{
    for (const OptionRule& rule : optionRules) {
        if (rule.prefix ? MatchesOption(argument, rule.name) : std::strcmp(argument, rule.name) == 0) {
            return &rule;
        }
    }
    return nullptr;
}

bool IsExistingFile(const char* path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

}

OptionsOutcome ParseOptions(int argc, const char* const* argv, ConversionSettings& settings, TextSink& out,
                            TextSink& errors)
{
    // With no argument, or "-h" alone, the program only explains itself.
    if (argc < 2 || (argc == 2 && std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(out);
        return OptionsOutcome::Printed;
    }
    const int last = argc - 1;
    for (int i = 1; i <= last; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0) {
            PrintUsage(out);
            return OptionsOutcome::Printed;
        }
        if (std::strcmp(argument, "--version") == 0) {
            PrintVersion(out);
            return OptionsOutcome::Printed;
        }
        if (i == last) {
            break;
        }
        // "-h" before the model prints the usage text and the run goes on.
        if (MatchesOption(argument, "-h")) {
            PrintUsage(out);
            continue;
        }
        const OptionRule* rule = FindRule(argument);
        if (rule == nullptr) {
            if (argument[0] == '-') {
                errors << "Unknown option: " << argument << "\n";
                return OptionsOutcome::UnknownOption;
            }
            errors << "Unexpected argument " << argument << ": options come first, the model path last\n";
            return OptionsOutcome::UnexpectedArgument;
        }
        // Values never reach the model path, the last argument.
        if (i + rule->valueCount >= last) {
            errors << "Missing value for option " << argument << "\n";
            return OptionsOutcome::MissingValue;
        }
        if (!rule->apply(argument, argv + i + 1, settings, errors)) {
            return OptionsOutcome::BadValue;
        }
        i += rule->valueCount;
    }
    const char* modelPath = argv[last];
    if (modelPath[0] == '-' && !IsExistingFile(modelPath)) {
        errors << "No model file given (the model path comes last)\n";
        return OptionsOutcome::NoModel;
    }
    const MicrocodeName& microcode = Describe(settings.microcode);
    if (settings.cacheSize < 0) {
        errors << "Invalid cache size for option --cache: " << badCacheSize << " (expected 3 to "
               << microcode.layout.size << " for " << microcode.name << ")\n";
        return OptionsOutcome::BadValue;
    }
    if (settings.cacheSize > microcode.layout.size) {
        errors << "Invalid cache size for option --cache: " << settings.cacheSize << " (" << microcode.name
               << " has " << microcode.layout.size << " vertex slots)\n";
        return OptionsOutcome::BadValue;
    }
    if (settings.scaleGiven && settings.fit != 0) {
        errors << "Options -s and --fit cannot be used together\n";
        return OptionsOutcome::BadValue;
    }
    if (settings.alphaGiven && settings.materials) {
        errors << Warning() << "-a has no effect with --materials: each material's \"d\" sets its opacity\n";
    }
    if (settings.scale < 0.0f) {
        errors << Warning() << "a negative scale mirrors the model and reverses its triangles' winding; the console "
                  "will cull their front faces\n";
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
    // Snakes only where the triangles are reordered: the plain conversion's list stays as it always was.
    layout.snakes = layout.snakes && settings.optimize;
    return layout;
}
