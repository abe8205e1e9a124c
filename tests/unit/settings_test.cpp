#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings.h"

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
    std::ostringstream out;
    std::ostringstream errors;
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

    const ConversionSettings colour = Parse({"-c", "0", "128", "255", "-a", "007", "m.obj"}).settings;
    EXPECT_EQ((std::vector<int>{colour.red, colour.green, colour.blue, colour.alpha}),
              (std::vector<int>{0, 128, 255, 7}));
    EXPECT_FALSE(colour.useNormals);
    EXPECT_TRUE(Parse({"-a", "0", "m.obj"}).settings.useNormals);

    const ConversionSettings output = Parse({"-o", "gen", "--name", "_ship2", "-q", "--full-braces", "m.obj"}).settings;
    EXPECT_EQ(output.outputDir + " " + output.name, "gen _ship2");
    EXPECT_TRUE(!output.verbose && output.fullBraces);

    const ConversionSettings later = Parse({"--materials", "--texture-format", "ci4", "--preview", "p.png",
                                            "--preview-size", "16x4096", "--preview-batches", "m.obj"}).settings;
    EXPECT_TRUE(later.materials && later.previewBatches);
    EXPECT_EQ(later.textureFormat, TextureFormat::CI4);
    EXPECT_EQ(later.previewPath + " " + std::to_string(later.previewWidth) + "x" + std::to_string(later.previewHeight),
              "p.png 16x4096");
    EXPECT_FALSE(Parse({"--texture-format", "i4", "--texture-format", "auto", "m.obj"}).settings.textureFormat);
}

TEST(ParseOptions, HelpAndVersionForms)
{
    std::ostringstream usageText;
    PrintUsage(usageText);
    const std::string usage = usageText.str();
    struct Case {
        std::vector<const char*> arguments;
        OptionsOutcome outcome;
        std::string out;
    };
    const Case cases[] = {
        {{}, OptionsOutcome::Printed, usage},
        {{"-h"}, OptionsOutcome::Printed, usage},
        {{"--help"}, OptionsOutcome::Printed, usage},
        {{"--version"}, OptionsOutcome::Printed, "polvane 1.0.0\n"},
        {{"--help", "m.obj"}, OptionsOutcome::Printed, usage},
        {{"-s", "2", "--version"}, OptionsOutcome::Printed, "polvane 1.0.0\n"},
        // Before a model, -h (matched by its first two characters) prints the usage text and the run goes on.
        {{"-h", "m.obj"}, OptionsOutcome::Convert, usage},
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
         "Invalid value for option --texture-format: rgb565"},
        {{"--preview-size", "15x480", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --preview-size: 15x480"},
        {{"--preview-size", "640", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --preview-size: 640"},
        {{"--ucode", "F3DEX2", "m.obj"}, OptionsOutcome::BadValue,
         "Unknown microcode for option --ucode: F3DEX2 (expected f3d, f3dex, f3dex2 or f3dex3)"},
        {{"--cache", "16x", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid cache size for option --cache: 16x (expected 3 to 64)"},
        // The microcode's own cache is the limit, whichever option comes first.
        {{"--cache", "17", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid cache size for option --cache: 17 (f3d has 16 vertex slots)"},
        {{"--cache", "57", "--ucode", "f3dex3", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid cache size for option --cache: 57 (f3dex3 has 56 vertex slots)"},
        // Values never take the model path.
        {{"-a", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option -a"},
        {{"-verbose", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option -verbose"},
        {{"-c", "1", "2", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option -c"},
        // Options added to the six of the original program are matched whole.
        {{"-x", "m.obj"}, OptionsOutcome::UnknownOption, "Unknown option: -x"},
        {{"-quiet", "m.obj"}, OptionsOutcome::UnknownOption, "Unknown option: -quiet"},
        {{"a.obj", "b.obj"}, OptionsOutcome::UnexpectedArgument,
         "Unexpected argument a.obj: options come first, the model path last"},
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

TEST(ParseOptions, LongOptionsChooseTheMicrocodeAndCache)
{
    const CacheLayout fast3d = CacheLayoutOf(Parse({"m.obj"}).settings);
    EXPECT_EQ((std::vector<int>{fast3d.size, fast3d.maxLoad, fast3d.pairs}), (std::vector<int>{16, 16, false}));

    const ConversionSettings f3dex2 = Parse({"--ucode", "f3dex2", "--optimize", "--stats", "m.obj"}).settings;
    EXPECT_TRUE(f3dex2.optimize && f3dex2.stats);
    EXPECT_EQ(CacheLayoutOf(f3dex2).size, 32);
    EXPECT_TRUE(CacheLayoutOf(f3dex2).pairs);

    EXPECT_EQ(CacheLayoutOf(Parse({"--cache", "56", "--ucode", "f3dex3", "m.obj"}).settings).size, 56);
    EXPECT_EQ(CacheLayoutOf(Parse({"--ucode", "f3dex", "--cache", "3", "m.obj"}).settings).maxLoad, 3);
}

}
