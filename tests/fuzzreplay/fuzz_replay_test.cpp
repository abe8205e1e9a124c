// Every file of the fuzz corpus goes through the checks of its fuzz target.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "harness.h"
#include "textureharness.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> CorpusFiles(const char* name)
{
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(FUZZ_CORPUS_DIR) / name)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <typename Check>
void ReplayCorpus(const char* name, Check check)
{
    const std::vector<fs::path> files = CorpusFiles(name);
    ASSERT_GE(files.size(), 10u) << "the corpus " << name << " is missing";
    for (const fs::path& file : files) {
        const std::vector<uint8_t> bytes = ReadBytes(file);
        EXPECT_EQ(check(bytes.data(), bytes.size()), "") << file.filename().string();
    }
}

}

TEST(FuzzCorpus, LoadedModelsAreWellFormed)
{
    ReplayCorpus("obj", CheckLoader);
}

TEST(FuzzCorpus, DisplayListsDrawExactlyTheModelsTriangles)
{
    const fs::path scratch = fs::path(FUZZ_SCRATCH_DIR) / "displaylist";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    ReplayCorpus("obj",
                 [&](const uint8_t* data, size_t size) { return CheckDisplayList(data, size, scratch.string()); });
    fs::remove_all(scratch);
}

TEST(FuzzCorpus, OptionParserStaysInsideTheArgumentList)
{
    ReplayCorpus("options", CheckOptions);
}

TEST(FuzzCorpus, MaterialLibrariesReadWholeOrReportOneLine)
{
    ReplayCorpus("mtl", CheckMaterialLibrary);
}

TEST(FuzzCorpus, ImagesDecodeWithinTheirLimitsAndConvert)
{
    const fs::path scratch = fs::path(FUZZ_SCRATCH_DIR) / "image";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    ReplayCorpus("image",
                 [&](const uint8_t* data, size_t size) { return CheckImageLoader(data, size, scratch.string()); });
    fs::remove_all(scratch);
}

TEST(FuzzCorpus, TexturesFitTextureMemoryAndDecodeToThemselves)
{
    ReplayCorpus("texture", CheckTexture);
}
