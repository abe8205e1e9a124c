#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "run/settings.h"

namespace {

struct Parsed {
    OptionsOutcome outcome;
    ConversionSettings settings;
    std::string out;
    std::string errors;
};

Parsed Parse(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "polvane");
    Parsed parsed;
    StringSink out;
    StringSink errors;
    parsed.outcome = ParseOptions(int(arguments.size()), arguments.data(), parsed.settings, out, errors);
    parsed.out = out.str();
    parsed.errors = errors.str();
    return parsed;
}

TEST(ParseOptions, ValuesFillTheSettings)
{
    // Only a final negative -s warns (a golden case pins the warning).
    const Parsed scales = Parse({"-scale", "-2.5", "-verbose", "-2e1", "-u", "-0.5", "-s", "3", "m.obj"});
    EXPECT_EQ(scales.outcome, OptionsOutcome::Convert);
    EXPECT_EQ(scales.errors, "");
    EXPECT_EQ((std::vector<float>{scales.settings.scale, scales.settings.sScale, scales.settings.tScale}),
              (std::vector<float>{3.0f, -0.5f, -20.0f}));

    // -c, -a, -o, --name, -q and --full-braces: golden cases.
    EXPECT_EQ(Parse({"-a", "007", "m.obj"}).settings.alpha, 7);
    EXPECT_TRUE(Parse({"-a", "0", "m.obj"}).settings.useNormals);
    EXPECT_EQ(Parse({"--name", "_ship2", "m.obj"}).settings.name, "_ship2");

    const ConversionSettings later = Parse({"--materials", "--texture-format", "ci4", "--preview", "p.png",
                                            "--preview-size", "16x4096", "--preview-batches", "m.obj"}).settings;
    EXPECT_TRUE(later.materials && later.previewBatches);
    EXPECT_EQ(later.textureFormat, TextureFormat::CI4);
    EXPECT_EQ(later.previewPath + " " + std::to_string(later.previewWidth) + "x" + std::to_string(later.previewHeight),
              "p.png 16x4096");
    EXPECT_FALSE(Parse({"--texture-format", "i4", "--texture-format", "auto", "m.obj"}).settings.textureFormat);

    // Names of microcodes, formats, views and picture extensions in any case.
    const ConversionSettings named = Parse({"--ucode", "F3DEX2", "--texture-format", "RGBA16", "--preview",
                                            "shot.JPG", "--preview-view", "Back", "m.obj"}).settings;
    EXPECT_EQ(named.microcode, Microcode::F3DEX2);
    EXPECT_EQ(named.textureFormat, TextureFormat::RGBA16);
    EXPECT_EQ(named.previewFormat, PictureFormat::Jpg);
    EXPECT_EQ(named.previewView, PreviewView::Back);
    EXPECT_EQ(Parse({"--preview", "a.bmp", "m.obj"}).settings.previewFormat, PictureFormat::Bmp);
    EXPECT_EQ(Parse({"--preview", "a.tga", "m.obj"}).settings.previewFormat, PictureFormat::Tga);
    const Parsed fitted = Parse({"--fit", "1000", "--werror", "--depfile", "m.d", "m.obj"});
    EXPECT_EQ(fitted.settings.fit, 1000);
    EXPECT_TRUE(fitted.settings.werror);
    EXPECT_EQ(fitted.settings.depfilePath, "m.d");
}

TEST(ParseOptions, HelpAndVersionForms)
{
    StringSink usageText;
    PrintUsage(usageText);
    const std::string usage = usageText.str();
    struct Case {
        std::vector<const char*> arguments;
        OptionsOutcome outcome;
        std::string out;
    };
    const Case cases[] = {
        {{"--help"}, OptionsOutcome::Printed, usage},
        {{"--version"}, OptionsOutcome::Printed, "polvane 1.0.0\n"},
        {{"--help", "m.obj"}, OptionsOutcome::Printed, usage},
        {{"-s", "2", "--version"}, OptionsOutcome::Printed, "polvane 1.0.0\n"},
        // Before a model, -h (matched by its first two characters) prints the usage text and the run goes on
        // (no arguments, -h alone and -h before a path: golden cases).
        {{"-help", "-s", "4", "m.obj"}, OptionsOutcome::Convert, usage},
        {{"-h", "-h", "m.obj"}, OptionsOutcome::Convert, usage + usage},
        {{"-help"}, OptionsOutcome::NoModel, ""},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        const Parsed parsed = Parse(cases[k].arguments);
        EXPECT_EQ(parsed.outcome, cases[k].outcome) << "case " << k;
        EXPECT_EQ(parsed.out, cases[k].out) << "case " << k;
    }
    EXPECT_EQ(Parse({"-help", "-s", "4", "m.obj"}).settings.scale, 4.0f);
    // The original program's text comes first, to the byte; the options added since follow it.
    EXPECT_EQ(usage.rfind("Polvane: Tool to convert OBJ models to N64 usable c-files\n\n", 0), 0u);
    EXPECT_NE(usage.find("setting a color with the -c option\n\nMore options"), std::string::npos);
}

TEST(ParseOptions, BadArgumentsStopTheRunWithOneLine)
{
    const std::string name = " (expected a C identifier; names that begin with \"__\" or with \"_\" and a capital "
                             "letter are reserved)";
    struct Case {
        std::vector<const char*> arguments;
        OptionsOutcome outcome;
        std::string error;
    };
    const Case cases[] = {
        {{"-s", "abc", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -s: abc"},
        {{"-s", "1,5", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -s: 1,5"},
        {{"-s", " 2", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -s:  2"},
        {{"-s", "nan", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -s: nan"},
        {{"-s", "1e39", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -s: 1e39"},
        {{"-u", "inf", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -u: inf"},
        {{"-v", "-0", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -v: -0"},
        {{"-c", "300", "-1", "256", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -c: 300"},
        {{"-a", "-1", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -a: -1"},
        {{"--name", "3d", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --name: 3d" + name},
        {{"--name", "_Ship", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --name: _Ship" + name},
        {{"--name", "_", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --name: _" + name},
        {{"--texture-format", "rgb565", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --texture-format: rgb565 (expected auto, rgba16, rgba32, ia16, ia8, ia4, i8, i4, "
         "ci8 or ci4)"},
        // Powers of two from 32 to 1024, written plainly.
        {{"--texture-max", "48", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --texture-max: 48"},
        {{"--texture-max", "16", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --texture-max: 16"},
        {{"--texture-max", "2048", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --texture-max: 2048"},
        {{"--texture-max", "+64", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --texture-max: +64"},
        {{"--preview-size", "15x480", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --preview-size: 15x480 (expected WIDTHxHEIGHT, each 16 to 4096)"},
        {{"--preview", "ship.gif", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --preview: ship.gif (expected a file name ending in .png, .bmp, .tga or .jpg)"},
        {{"--preview-view", "under", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --preview-view: under (expected iso, front, back, left, right, top or bottom)"},
        {{"--fit", "0", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --fit: 0"},
        {{"--fit", "32768", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --fit: 32768"},
        {{"--fit", "100", "-s", "2", "m.obj"}, OptionsOutcome::BadValue,
         "Options -s and --fit cannot be used together"},
        {{"--depfile", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option --depfile"},
        // The range named is the microcode's own, whichever option comes first.
        {{"--cache", "16x", "--ucode", "F3DEX2", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid cache size for option --cache: 16x (expected 3 to 32 for f3dex2)"},
        // The microcode's own cache is the limit, whichever option comes first (f3d's 16: a golden case).
        {{"--cache", "57", "--ucode", "f3dex3", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid cache size for option --cache: 57 (f3dex3 has 56 vertex slots)"},
        // Values never take the model path.
        {{"-a", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option -a"},
        {{"-verbose", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option -verbose"},
        {{"-c", "1", "2", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option -c"},
        // Options added to the six of the original program are matched whole (-x, two paths: golden cases).
        {{"-quiet", "m.obj"}, OptionsOutcome::UnknownOption, "Unknown option: -quiet"},
        {{"m.obj", "-s", "100"}, OptionsOutcome::UnexpectedArgument,
         "Unexpected argument m.obj: options come first, the model path last"},
        {{"-s", "2", "-q"}, OptionsOutcome::NoModel, "No model file given (the model path comes last)"},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.arguments);
        EXPECT_EQ(parsed.outcome, c.outcome) << c.error;
        EXPECT_EQ(parsed.errors, c.error + "\n");
    }
}

TEST(ParseOptions, ALastArgumentLikeAnOptionIsAModelWhenTheFileExists)
{
    const char* path = "-polvane-settings-test.obj";
    std::ofstream(path) << "\n";
    const OptionsOutcome outcome = Parse({"-s", "2", path}).outcome;
    std::remove(path);
    EXPECT_EQ(outcome, OptionsOutcome::Convert);
}

}
