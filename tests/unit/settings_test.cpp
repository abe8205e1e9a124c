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

TEST(MatchesOption, IsAPrefixTest)
{
    EXPECT_TRUE(MatchesOption("-s", "-s"));
    EXPECT_TRUE(MatchesOption("-scale", "-s"));
    EXPECT_FALSE(MatchesOption("-", "-s"));
    EXPECT_FALSE(MatchesOption("s", "-s"));
}

TEST(ParseOptions, FloatValuesScanLikeTheCLibrary)
{
    EXPECT_EQ(Parse({"-s", "2", "m.obj"}).settings.scale, 2.0f);
    EXPECT_EQ(Parse({"-scale", "2.5x", "m.obj"}).settings.scale, 2.5f);
    EXPECT_EQ(Parse({"-verbose", "2", "m.obj"}).settings.tScale, 2.0f);
    EXPECT_EQ(Parse({"-u", "-0.5", "m.obj"}).settings.sScale, -0.5f);
    EXPECT_EQ(Parse({"-s", "2", "-s", "3", "m.obj"}).settings.scale, 3.0f);
    // The model path is read as the value; it holds no number, so the scale stays.
    const Parsed pathAsValue = Parse({"-s", "m.obj"});
    EXPECT_EQ(pathAsValue.outcome, OptionsOutcome::Convert);
    EXPECT_EQ(pathAsValue.settings.scale, 1.0f);
}

TEST(ParseOptions, IntegerValuesKeepTheirLowEightBits)
{
    const Parsed colour = Parse({"-c", "300", "-1", "x", "m.obj"});
    EXPECT_EQ(colour.settings.red, 44);
    EXPECT_EQ(colour.settings.green, 255);
    EXPECT_EQ(colour.settings.blue, 0);
    EXPECT_FALSE(colour.settings.useNormals);
    EXPECT_EQ(colour.settings.alpha, 255);

    const Parsed lastIsPath = Parse({"-c", "1", "2", "m.obj"});
    EXPECT_EQ(lastIsPath.outcome, OptionsOutcome::Convert);
    EXPECT_EQ(lastIsPath.settings.blue, 0);

    const Parsed alpha = Parse({"-a", "256", "m.obj"});
    EXPECT_EQ(alpha.settings.alpha, 0);
    EXPECT_TRUE(alpha.settings.useNormals);
}

TEST(ParseOptions, HelpPrintsTheUsageAndGoesOn)
{
    const Parsed parsed = Parse({"-help", "-s", "4", "m.obj"});
    EXPECT_EQ(parsed.outcome, OptionsOutcome::Convert);
    EXPECT_EQ(parsed.settings.scale, 4.0f);
    EXPECT_EQ(parsed.out.rfind("Polvane: Tool to convert OBJ models to N64 usable c-files\n\n", 0), 0u);
    EXPECT_NE(parsed.out.find("\n    -c red green blue     Specifies a color for all vertices [0-255]\n"
                              "                          Cannot be used with normals (see definition of Vtx)\n"),
              std::string::npos);
    EXPECT_EQ(parsed.out.substr(parsed.out.size() - 52), "Override this by\nsetting a color with the -c option\n");
    // A lone argument is the model path, whatever it looks like.
    EXPECT_EQ(Parse({"-h"}).out, "");
}

TEST(ParseOptions, UnknownOptionsAndMissingValuesStopTheRun)
{
    const Parsed twoPaths = Parse({"a.obj", "b.obj"});
    EXPECT_EQ(twoPaths.outcome, OptionsOutcome::UnknownOption);
    EXPECT_EQ(twoPaths.errors, "Unknown option: a.obj\n");

    const Parsed shortColour = Parse({"-c", "1", "m.obj"});
    EXPECT_EQ(shortColour.outcome, OptionsOutcome::MissingValue);
    EXPECT_EQ(shortColour.errors, "Missing value for option -c\n");

    const Parsed unknownAfterHelp = Parse({"-h", "-x", "m.obj"});
    EXPECT_EQ(unknownAfterHelp.outcome, OptionsOutcome::UnknownOption);
    EXPECT_EQ(unknownAfterHelp.errors, "Unknown option: -x\n");
}

}

namespace {

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

    // A cache larger than one load can fill takes several loads.
    const Parsed f3dex3 = Parse({"--cache", "64", "--ucode", "f3dex3", "m.obj"});
    EXPECT_EQ(CacheLayoutOf(f3dex3.settings).size, 64);
    EXPECT_EQ(CacheLayoutOf(f3dex3.settings).maxLoad, 56);
    const Parsed small = Parse({"--ucode", "f3dex", "--cache", "3", "m.obj"});
    EXPECT_EQ(CacheLayoutOf(small.settings).maxLoad, 3);
}

TEST(ParseOptions, BadLongOptionValuesStopTheRun)
{
    EXPECT_EQ(Parse({"--ucode", "F3DEX2", "m.obj"}).outcome, OptionsOutcome::BadValue);
    EXPECT_EQ(Parse({"--cache", "16x", "m.obj"}).outcome, OptionsOutcome::BadValue);
    EXPECT_EQ(Parse({"--cache", "65", "--ucode", "f3dex3", "m.obj"}).outcome, OptionsOutcome::BadValue);
    // The f3d limit holds whichever option comes first.
    EXPECT_EQ(Parse({"--cache", "32", "m.obj"}).outcome, OptionsOutcome::BadValue);
    EXPECT_EQ(Parse({"--cache", "32", "--ucode", "f3dex", "m.obj"}).outcome, OptionsOutcome::Convert);
    EXPECT_EQ(Parse({"--ucode", "m.obj"}).outcome, OptionsOutcome::BadValue);
    EXPECT_EQ(Parse({"--cache"}).outcome, OptionsOutcome::Convert);
    // Long options are whole words: no prefix matching.
    EXPECT_EQ(Parse({"--opt", "m.obj"}).outcome, OptionsOutcome::UnknownOption);
}

}
