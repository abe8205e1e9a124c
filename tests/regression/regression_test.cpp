// Holds the converter's fast path to the slow, literal reference conversion: every benchmark shape, full and
// plain, at a moderate size and with several option sets, and every real model of the shared corpus that the
// reference can read, converted by the real program in a scratch folder and compared byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include "model_generator.h"
#include "reference_converter.h"

namespace fs = std::filesystem;
using polvane::bench::Attributes;
using polvane::bench::Shape;

namespace {

const long moderateTriangles = 20000;

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Describes the first line where two texts differ, or returns an empty string when they are equal.
std::string FirstDifference(const std::string& expected, const std::string& actual)
{
    if (expected == actual) {
        return "";
    }
    std::istringstream expectedLines(expected);
    std::istringstream actualLines(actual);
    std::string expectedLine;
    std::string actualLine;
    for (long line = 1;; ++line) {
        bool haveExpected = static_cast<bool>(std::getline(expectedLines, expectedLine));
        bool haveActual = static_cast<bool>(std::getline(actualLines, actualLine));
        if (!haveExpected && !haveActual) {
            return "texts differ only in their final line ending";
        }
        if (!haveExpected || !haveActual || expectedLine != actualLine) {
            return "line " + std::to_string(line) + ": expected \"" + (haveExpected ? expectedLine : "<end>") +
                   "\", got \"" + (haveActual ? actualLine : "<end>") + "\"";
        }
    }
}

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the converter in `folder` with the arguments, already quoted for the shell; its output streams are
// captured in files beside the folder.
RunResult RunConverter(const fs::path& folder, const std::string& arguments)
{
    const fs::path outPath = folder.parent_path() / (folder.filename().string() + ".stdout");
    const fs::path errPath = folder.parent_path() / (folder.filename().string() + ".stderr");
#if defined(_WIN32)
    const std::string changeFolder = "cd /d \"";
#else
    const std::string changeFolder = "cd \"";
#endif
    const std::string command = changeFolder + folder.string() + "\" && \"" POLVANE_EXE "\" " + arguments +
                                " > \"" + outPath.string() + "\" 2> \"" + errPath.string() + "\"";
    int status = std::system(command.c_str());
    RunResult result;
#if defined(_WIN32)
    result.status = status;
#else
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

// The number of failed checks of the running test so far.
int FailedChecks()
{
    const ::testing::TestResult* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
    int failed = 0;
    for (int part = 0; part < result->total_part_count(); ++part) {
        failed += result->GetTestPartResult(part).failed() ? 1 : 0;
    }
    return failed;
}

// A fresh folder for one conversion: the program runs in `path`, and its captured output streams lie beside
// it in `root`. Kept, for a look at what the program wrote, when a check failed during its life.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : root(fs::temp_directory_path() /
               ("polvane-regression-" + std::to_string(std::random_device()()) + "-" + name)),
          path(root / "run"), failedBefore(FailedChecks())
    {
        fs::remove_all(root);
        fs::create_directories(path);
    }
    ~ScratchFolder()
    {
        if (FailedChecks() > failedBefore) {
            std::cout << "kept " << root.string() << "\n";
        } else {
            std::error_code ignored;
            fs::remove_all(root, ignored);
        }
    }
    const fs::path root;
    const fs::path path;

private:
    const int failedBefore;
};

// Converts the model at `folder`/`typedPath` with the program and with the reference, and compares the
// standard output, standard error, exit status and both output files. The folder must hold nothing else.
void ExpectSameConversion(const fs::path& folder, const std::string& options, const std::string& typedPath,
                          const reference::Settings& settings)
{
    reference::Output expected;
    std::string problem;
    ASSERT_TRUE(reference::Convert((folder / typedPath).string(), typedPath, settings, &expected, &problem))
        << problem;

    const RunResult run = RunConverter(folder, options + " \"" + typedPath + "\"");
    EXPECT_EQ(run.status, 0);
    // Standard error may carry warnings about the fixed-point range (pinned by their own golden cases); nothing
    // else.
    std::istringstream errLines(run.err);
    for (std::string line; std::getline(errLines, line);) {
        EXPECT_EQ(line.rfind("warning: ", 0), 0u) << "unexpected standard error line: " << line;
    }
    EXPECT_EQ(run.out, expected.progress);

    const fs::path input = folder / typedPath;
    const fs::path stem = input.parent_path() / input.stem();
    EXPECT_EQ(FirstDifference(expected.header, ReadFile(stem.string() + ".h")), "") << "in " << stem << ".h";
    EXPECT_EQ(FirstDifference(expected.source, ReadFile(stem.string() + ".c")), "") << "in " << stem << ".c";

    // Nothing else appears beside the input: no temporary file is left behind.
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(input.parent_path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expectedNames = {input.stem().string() + ".c", input.stem().string() + ".h",
                                                    input.filename().string()};
    EXPECT_EQ(names, expectedNames);
}

struct OptionSet {
    const char* label;
    const char* arguments;
    reference::Settings settings;
    const char* modelFolder; // where the model lies, relative to the folder the program runs in
    const char* nameSuffix;  // makes the file name's stem need cleaning before it is an identifier
};

reference::Settings Defaults() { return reference::Settings(); }

reference::Settings ScaledAndAlpha()
{
    reference::Settings settings;
    settings.scale = 40000.0f; // coordinates beyond about 0.82 are clamped, the others kept
    settings.sScale = 2.0f;
    settings.tScale = 0.5f;
    settings.alpha = 128;
    return settings;
}

reference::Settings Coloured()
{
    reference::Settings settings;
    settings.red = 200;
    settings.green = 100;
    settings.blue = 10;
    settings.useNormals = false;
    return settings;
}

const OptionSet optionSets[] = {
    {"defaults", "", Defaults(), "", ""},
    {"scaled_and_alpha", "-s 40000 -u 2 -v 0.5 -a 128", ScaledAndAlpha(), "models", "-v2.0"},
    {"coloured", "-c 200 100 10", Coloured(), "", ""},
};

// Converts one benchmark model with every option set, each in a fresh folder.
void ExpectBenchModelConvertsAsTheReference(Shape shape, Attributes attributes)
{
    const std::string name = std::string(ShapeName(shape)) + "_" + AttributesName(attributes);
    for (const OptionSet& options : optionSets) {
        SCOPED_TRACE(std::string("options: ") + options.label);
        ScratchFolder scratch(name + "-" + options.label);
        const fs::path modelFolder = scratch.path / options.modelFolder;
        fs::create_directories(modelFolder);
        const std::string fileName = name + options.nameSuffix + ".obj";
        polvane::bench::ModelInfo info;
        ASSERT_TRUE(polvane::bench::WriteModelFile((modelFolder / fileName).string(), shape, attributes,
                                                   moderateTriangles, &info));
        ASSERT_GT(info.triangles, moderateTriangles / 2);

        const std::string typedPath =
            *options.modelFolder ? std::string(options.modelFolder) + "/" + fileName : fileName;
        ExpectSameConversion(scratch.path, options.arguments, typedPath, options.settings);
    }
}

TEST(BenchModels, SphereFullConvertsAsTheReference)
{
    ExpectBenchModelConvertsAsTheReference(Shape::Sphere, Attributes::Full);
}

TEST(BenchModels, SpherePlainConvertsAsTheReference)
{
    ExpectBenchModelConvertsAsTheReference(Shape::Sphere, Attributes::Plain);
}

TEST(BenchModels, TorusFullConvertsAsTheReference)
{
    ExpectBenchModelConvertsAsTheReference(Shape::Torus, Attributes::Full);
}

TEST(BenchModels, TorusPlainConvertsAsTheReference)
{
    ExpectBenchModelConvertsAsTheReference(Shape::Torus, Attributes::Plain);
}

TEST(BenchModels, GridFullConvertsAsTheReference)
{
    ExpectBenchModelConvertsAsTheReference(Shape::Grid, Attributes::Full);
}

TEST(BenchModels, GridPlainConvertsAsTheReference)
{
    ExpectBenchModelConvertsAsTheReference(Shape::Grid, Attributes::Plain);
}

// Every real model that the reference can read must convert to the same bytes. Models it refuses (broken
// references, malformed records, no faces) are the loader's own tests' business and are skipped here.
TEST(Corpus, ReadableModelsConvertExactlyAsTheReference)
{
    const fs::path corpus = POLVANE_CORPUS_DIR;
    if (!fs::is_directory(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    std::vector<fs::path> models;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        if (entry.path().extension() == ".obj") {
            models.push_back(entry.path());
        }
    }
    std::sort(models.begin(), models.end());
    int compared = 0;
    for (const fs::path& model : models) {
        reference::Output unused;
        std::string problem;
        if (!reference::Convert(model.string(), model.filename().string(), reference::Settings(), &unused,
                                &problem)) {
            continue;
        }
        SCOPED_TRACE(model.filename().string());
        ScratchFolder scratch(model.stem().string());
        fs::copy_file(model, scratch.path / model.filename());
        ExpectSameConversion(scratch.path, "", model.filename().string(), reference::Settings());
        ++compared;
    }
    std::cout << "compared " << compared << " of " << models.size() << " corpus models\n";
    EXPECT_GT(compared, 0);
}

} // namespace
