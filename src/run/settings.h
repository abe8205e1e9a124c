#ifndef POLVANE_SETTINGS_H
#define POLVANE_SETTINGS_H

#include <cstdint>
#include <optional>
#include <string>

#include "console/cachelayout.h"
#include "console/textureformat.h"
#include "textsink.h"

// The graphics microcode the display list is written for.
enum class Microcode { F3D, F3DEX, F3DEX2, F3DEX3 };

// The picture file formats the preview can be written in.
enum class PictureFormat { Png, Bmp, Tga, Jpg };

// Where the preview's camera looks from: the three-quarter view, or straight along an axis.
enum class PreviewView { Iso, Front, Back, Left, Right, Top, Bottom };

// What the command line chose for one conversion.
struct ConversionSettings {
    float scale = 1.0f;
    bool scaleGiven = false;  // -s was on the command line
    int fit = 0;              // --fit: the largest absolute coordinate becomes this; 0: scale by scale
    float sScale = 1.0f;
    float tScale = 1.0f;
    uint8_t red = 255;
    uint8_t green = 255;
    uint8_t blue = 255;
    uint8_t alpha = 255;
    bool alphaGiven = false;  // -a was on the command line
    bool useNormals = true;  // false: the vertex rows carry the colour instead of the normal
    bool verbose = true;     // progress lines on standard output
    Microcode microcode = Microcode::F3D;
    int cacheSize = 0;      // vertex cache entries; 0 means the microcode's own size
    bool optimize = false;  // reorder triangles and vertices for fewer vertex loads
    bool stats = false;     // a summary of the display list after the conversion
    std::string outputDir;  // where the outputs go; empty: beside the model
    std::string name;       // prefix of the C names and the include guard; empty: made from the file name
    bool fullBraces = false;  // vertex rows with the braces of every member of the Vtx union
    bool materials = false;   // read .mtl materials, textures, parts and vertex colours
    std::optional<TextureFormat> textureFormat;  // empty: chosen for each texture
    int textureMax = 0;       // texels kept on a texture's longer side, drawn in tiles; 0: one load per texture
    std::string previewPath;  // empty: no preview
    int previewWidth = 640;
    int previewHeight = 480;
    bool previewBatches = false;
    PreviewView previewView = PreviewView::Iso;
    PictureFormat previewFormat = PictureFormat::Png;  // by the extension of previewPath
    std::string depfilePath;  // empty: no dependency file
    bool werror = false;      // any warning fails the run
};

CacheLayout CacheLayoutOf(const ConversionSettings& settings);

enum class OptionsOutcome {
    Convert,             // the settings are complete: convert the model
    Printed,             // the usage text or the version was asked for and printed: nothing more to do
    UnknownOption,       // the rest are errors, reported as one line
    MissingValue,
    BadValue,
    UnexpectedArgument,  // a second path before the model
    NoModel,             // the last argument is an option, not a model
};

void PrintUsage(TextSink& out);
void PrintVersion(TextSink& out);

// True when the first strlen(option) characters of argument equal option (a prefix test).
bool MatchesOption(const char* argument, const char* option);

// Reads the command line (argv[0] is the program) into settings; the last argument is the model path. Usage text
// and version go to out, errors and warnings to errors. Anything but Convert ends the run.
OptionsOutcome ParseOptions(int argc, const char* const* argv, ConversionSettings& settings, TextSink& out,
                            TextSink& errors);

#endif
