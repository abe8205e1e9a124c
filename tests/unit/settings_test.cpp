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
