#include <cstdio>
#include <fstream>
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

std::string Usage()
{
    std::ostringstream usage;
    PrintUsage(usage);
    return usage.str();
}

TEST(MatchesOption, IsAPrefixTest)
{
    EXPECT_TRUE(MatchesOption("-s", "-s"));
    EXPECT_TRUE(MatchesOption("-scale", "-s"));
    EXPECT_FALSE(MatchesOption("-", "-s"));
    EXPECT_FALSE(MatchesOption("s", "-s"));
}

TEST(ParseOptions, ValuesFillTheSettings)
{
    const Parsed scales = Parse({"-scale", "2.5", "-verbose", "-2e1", "-u", "-0.5", "-s", "3", "m.obj"});
    EXPECT_EQ(scales.outcome, OptionsOutcome::Convert);
    EXPECT_EQ(scales.settings.scale, 3.0f);
    EXPECT_EQ(scales.settings.tScale, -20.0f);
    EXPECT_EQ(scales.settings.sScale, -0.5f);
    EXPECT_EQ(scales.errors, "");

    const Parsed colour = Parse({"-c", "0", "128", "255", "-a", "007", "m.obj"});
    EXPECT_EQ(colour.settings.red, 0);
    EXPECT_EQ(colour.settings.green, 128);
    EXPECT_EQ(colour.settings.blue, 255);
    EXPECT_EQ(colour.settings.alpha, 7);
    EXPECT_FALSE(colour.settings.useNormals);
    EXPECT_TRUE(Parse({"-a", "0", "m.obj"}).settings.useNormals);

    const Parsed output = Parse({"-o", "gen", "--name", "_ship2", "-q", "--full-braces", "m.obj"});
    EXPECT_EQ(output.settings.outputDir, "gen");
    EXPECT_EQ(output.settings.name, "_ship2");
    EXPECT_FALSE(output.settings.verbose);
    EXPECT_TRUE(output.settings.fullBraces);

    const Parsed later = Parse({"--materials", "--texture-format", "ci4", "--preview", "p.png", "--preview-size",
                                "16x4096", "--preview-batches", "m.obj"});
    EXPECT_TRUE(later.settings.materials);
    EXPECT_EQ(later.settings.textureFormat, TextureFormat::CI4);
    EXPECT_EQ(later.settings.previewPath, "p.png");
    EXPECT_EQ(later.settings.previewWidth, 16);
    EXPECT_EQ(later.settings.previewHeight, 4096);
    EXPECT_TRUE(later.settings.previewBatches);
    EXPECT_FALSE(Parse({"--texture-format", "i4", "--texture-format", "auto", "m.obj"}).settings.textureFormat);
}

TEST(ParseOptions, OnlyAFinalNegativeScaleWarns)
{
    EXPECT_EQ(Parse({"-s", "-1", "-s", "2", "m.obj"}).errors, "");
    EXPECT_EQ(Parse({"-u", "-1", "-v", "-1", "m.obj"}).errors, "");
    const Parsed mirrored = Parse({"-s", "-0.5", "m.obj"});
    EXPECT_EQ(mirrored.outcome, OptionsOutcome::Convert);
    EXPECT_EQ(mirrored.errors, "warning: a negative scale mirrors the model and reverses its triangles' winding; "
                               "the console will cull their front faces\n");
}

TEST(ParseOptions, HelpAndVersionForms)
{
    const std::string usage = Usage();
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
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.arguments);
        const std::string first = c.arguments.empty() ? "(none)" : c.arguments[0];
        EXPECT_EQ(parsed.outcome, c.outcome) << first << ", " << c.arguments.size() << " arguments";
        EXPECT_EQ(parsed.out, c.out) << first << ", " << c.arguments.size() << " arguments";
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
        {{"-s", "2.5x", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -s: 2.5x"},
        {{"-s", " 2", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -s:  2"},
        {{"-s", "0x10", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -s: 0x10"},
        {{"-s", "nan", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -s: nan"},
        {{"-s", "1e39", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -s: 1e39"},
        {{"-u", "inf", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -u: inf"},
        {{"-v", "-0", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -v: -0"},
        {{"-c", "300", "-1", "256", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -c: 300"},
        {{"-c", "1", "2", "x", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -c: x"},
        {{"-a", "-1", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -a: -1"},
        {{"-a", "1.5", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option -a: 1.5"},
        {{"--name", "3d", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --name: 3d" + name},
        {{"--name", "my-ship", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --name: my-ship" + name},
        {{"--name", "_Ship", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --name: _Ship" + name},
        {{"--name", "__ship", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --name: __ship" + name},
        {{"--name", "_", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --name: _" + name},
        {{"--texture-format", "rgb565", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --texture-format: rgb565"},
        {{"--preview-size", "15x480", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --preview-size: 15x480"},
        {{"--preview-size", "640x4097", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid value for option --preview-size: 640x4097"},
        {{"--preview-size", "640", "m.obj"}, OptionsOutcome::BadValue, "Invalid value for option --preview-size: 640"},
        {{"--ucode", "F3DEX2", "m.obj"}, OptionsOutcome::BadValue,
         "Unknown microcode for option --ucode: F3DEX2 (expected f3d, f3dex, f3dex2 or f3dex3)"},
        {{"--cache", "16x", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid cache size for option --cache: 16x (expected 3 to 64)"},
        // The microcode's own cache is the limit, whichever option comes first.
        {{"--cache", "17", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid cache size for option --cache: 17 (f3d has 16 vertex slots)"},
        {{"--ucode", "f3dex2", "--cache", "33", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid cache size for option --cache: 33 (f3dex2 has 32 vertex slots)"},
        {{"--cache", "57", "--ucode", "f3dex3", "m.obj"}, OptionsOutcome::BadValue,
         "Invalid cache size for option --cache: 57 (f3dex3 has 56 vertex slots)"},
        // Values never take the model path.
        {{"-a", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option -a"},
        {{"-verbose", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option -verbose"},
        {{"-c", "1", "2", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option -c"},
        {{"--ucode", "m.obj"}, OptionsOutcome::MissingValue, "Missing value for option --ucode"},
        // Options added to the six of the original program are matched whole.
        {{"-x", "m.obj"}, OptionsOutcome::UnknownOption, "Unknown option: -x"},
        {{"--opt", "m.obj"}, OptionsOutcome::UnknownOption, "Unknown option: --opt"},
        {{"-quiet", "m.obj"}, OptionsOutcome::UnknownOption, "Unknown option: -quiet"},
        {{"a.obj", "b.obj"}, OptionsOutcome::UnexpectedArgument,
         "Unexpected argument a.obj: options come first, the model path last"},
        {{"m.obj", "-s", "100"}, OptionsOutcome::UnexpectedArgument,
         "Unexpected argument m.obj: options come first, the model path last"},
        {{"-s", "2", "-q"}, OptionsOutcome::NoModel, "No model file given (the model path comes last)"},
        {{"--cache"}, OptionsOutcome::NoModel, "No model file given (the model path comes last)"},
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
    const Parsed parsed = Parse({"-s", "2", path});
    std::remove(path);
    EXPECT_EQ(parsed.outcome, OptionsOutcome::Convert);
    EXPECT_EQ(parsed.errors, "");
}

TEST(ParseOptions, LongOptionsChooseTheMicrocodeAndCache)
{
    const Parsed defaults = Parse({"m.obj"});
    const CacheLayout fast3d = CacheLayoutOf(defaults.settings);
    EXPECT_EQ(fast3d.size, 16);
    EXPECT_EQ(fast3d.maxLoad, 16);
    EXPECT_FALSE(fast3d.pairs);

    const Parsed f3dex2 = Parse({"--ucode", "f3dex2", "--optimize", "--stats", "m.obj"});
    EXPECT_EQ(f3dex2.outcome, OptionsOutcome::Convert);
    EXPECT_TRUE(f3dex2.settings.optimize);
    EXPECT_TRUE(f3dex2.settings.stats);
    EXPECT_EQ(CacheLayoutOf(f3dex2.settings).size, 32);
    EXPECT_TRUE(CacheLayoutOf(f3dex2.settings).pairs);

    const Parsed f3dex3 = Parse({"--cache", "56", "--ucode", "f3dex3", "m.obj"});
    EXPECT_EQ(CacheLayoutOf(f3dex3.settings).size, 56);
    const Parsed small = Parse({"--ucode", "f3dex", "--cache", "3", "m.obj"});
    EXPECT_EQ(CacheLayoutOf(small.settings).maxLoad, 3);
}

}
